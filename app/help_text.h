// What the program says about itself: the help page and the input panel's
// tooltips, in one place so that the two say the same.
#pragma once

#include <QString>

namespace quorel {

class FrmFx;

// The help page (HTML), with the program's version.
QString helpHtml(const QString& version);
// A short tooltip on each control of the input panel.
void setPanelToolTips(FrmFx& panel);

}  // namespace quorel
