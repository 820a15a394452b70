// What the program sets on the application before its main window is made:
// version, font fallbacks, icon. The program, the start-up probe and the
// screenshot tool start alike through it.
#pragma once

namespace quorel {

void setUpApplication();

}  // namespace quorel
