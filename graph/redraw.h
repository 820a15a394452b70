// Drawing a recorded drawing again in the surface's present frame: what a
// resize does with the curve and tangents once the frame is drawn afresh.
#pragma once

#include "graph/drawing_record.h"

namespace quorel {

class PlotSurface;

// Draws the lines and circles of `drawing` from `from` on again on `surface`,
// each user point moved by (dx, dy), through the surface's current frame. A
// part that no longer fits single precision is left out; the pass marks are
// kept; texts are not drawn again. The pen is left where the last part ended.
void redrawShifted(PlotSurface& surface, const DrawingRecord& drawing, DrawingRecord::Cursor from,
                   double dx, double dy);

}  // namespace quorel
