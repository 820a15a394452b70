// Twips geometry and fonts for the program's Qt windows.
//
// A "form" is the widget holding a window's controls. Inside the main window it
// lives in a QMdiSubWindow, whose frame is the form's outer window; standing
// alone (in tests) the form is its own window. Left, Top, Width and Height of a
// form always mean that outer window's frame, in twips.
#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>

class QWidget;

namespace quorel {

// Face names as the windows ask for them; installFontFallbacks maps them to
// installed faces (Liberation Serif, AR PL UKai) where the originals are absent.
inline constexpr const char* kFaceTimes = "Times New Roman";
inline constexpr const char* kFaceKai = "\u6A19\u6977\u9AD4";  // the Kai-style script face
// The iteration table's cells: a condensed sans face with a real bold weight.
inline constexpr const char* kFaceCells = "Liberation Sans Narrow";

void installFontFallbacks();
QFont formFont(const char* face, double points, bool bold);

// A rectangle given in twips, as device-independent pixels.
QRect twipsRect(double left, double top, double width, double height);

QWidget* outerWindow(QWidget* form);
// Outer frame of the form in twips (x = Left, y = Top, width, height).
QRect outerGeometryTwips(QWidget* form);
void setOuterGeometryTwips(QWidget* form, double left, double top, double width, double height);
// Sets the caption of the form's outer window.
void setFormCaption(QWidget* form, const QString& caption);
QString formCaption(QWidget* form);

// The program's 16 x 16 icon: a curve, its tangent and the x axis.
QIcon programIcon();

}  // namespace quorel
