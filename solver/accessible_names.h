// What each control of the input panel and the pause dialog says about
// itself: its tooltip, and what assistive technology reads: the caption a
// sighted user reads beside it as its name, and what it is for as its
// description. The input panel's texts are one table; the f(x) tooltip lists
// the functions of the operator table.
#pragma once

#include "engine/operators.h"

namespace quorel {

class FrmFx;
class FrmWait;

void nameControls(FrmFx& panel, OperatorTable operators = kOperators);
void nameControls(FrmWait& pause);

}  // namespace quorel
