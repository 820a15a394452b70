// What assistive technology reads for each control of the input panel and the
// pause dialog: the caption a sighted user reads beside it as its name, and
// what it is for as its description.
#pragma once

namespace quorel {

class FrmFx;
class FrmWait;

void nameControls(FrmFx& panel);
void nameControls(FrmWait& pause);

}  // namespace quorel
