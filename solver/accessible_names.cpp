#include "solver/accessible_names.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "solver/frm_fx.h"
#include "solver/frm_wait.h"

namespace quorel {
namespace {

void describe(QWidget& w, const QString& name, const char* description) {
    w.setAccessibleName(name);
    w.setAccessibleDescription(QString::fromUtf8(description));
}

// A box named by the label before it; the label points at the box.
void describeField(QLabel& label, QWidget& field, const char* description) {
    label.setBuddy(&field);
    describe(label, label.text(), description);
    describe(field, label.text(), description);
}

}  // namespace

void nameControls(FrmFx& p) {
    describe(p.Label1(), p.Label1().text(), "How a function is typed");
    describeField(p.LabFx(), p.CmbFx(),
                  "The function whose root is sought: type it with x as the variable, or pick "
                  "one of the examples");
    if (QLineEdit* edit = p.CmbFx().lineEdit())
        describe(*edit, p.LabFx().text(), "The function whose root is sought");
    describeField(p.LabDFT(), p.TexDFT(),
                  "Where the iteration starts; Clear centres the graph on it");
    p.LabDFT().setAccessibleDescription(
        "Click it, or press Ctrl+I, to see the translated function and f, f' at the initial "
        "value");
    describeField(p.Label3(), p.TexLoops(), "The most passes the iteration makes");
    describeField(p.Label2(), p.TexError(),
                  "The tolerance: the iteration stops when |f(X)| is within it");
    describe(p.CmdClr(), p.CmdClr().text(),
             "Centres the graph on the initial value and empties the table");
    describe(p.CmdCal(), p.CmdCal().text(),
             "Finds a root from the initial value, drawing every tangent and listing every pass");
    // The box's own text is hidden; the caption beside it names it.
    describeField(p.LabSel1(), p.ChkStep(), "When ticked, the calculation pauses after every pass");
    describe(p.Command1(), p.Command1().text(), "Ends the program");
}

void nameControls(FrmWait& w) {
    describe(w.CmdGo(), w.CmdGo().text(), "Ends this pause; the calculation goes on");
    describeField(w.Label1(), w.TexSec(),
                  "The length of every pause in seconds, 0 to 32; Enter sets it, 0 waits for "
                  "Continue");
}

}  // namespace quorel
