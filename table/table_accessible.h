// The iteration table as assistive technology reads it: the painted rows
// become a table of cells (row number, Xi, f(Xi), f'(Xi)) whose texts are
// exactly what the cells show, a failure by its name.
#pragma once

namespace quorel {

// Registers the table's accessibility interfaces with Qt (once; later calls do nothing).
void installTableAccessibility();

}  // namespace quorel
