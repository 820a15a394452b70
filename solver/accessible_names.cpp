#include "solver/accessible_names.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

#include "solver/frm_fx.h"
#include "solver/frm_wait.h"

namespace quorel {
namespace {

// "%1" stands for the list of functions.
const char* const kFxTip =
    "f(x) to solve. x is the variable; numbers like 2.5 or 1E-3; + - * / and ^ "
    "(read left to right: 2^3^2 is 64); 3x and 2(x+1) are products. Functions: %1. F1: help.";
const char* const kFxDescription =
    "The function whose root is sought: type it with x as the variable, or pick one of the "
    "examples";
const char* const kInitialTip =
    "Where the iteration starts. A click on the graph puts the clicked x here and calculates.";
const char* const kInitialDescription = "Where the iteration starts; Clear centres the graph on it";
const char* const kErrorTip = "The calculation stops when |f(X)| is at most this.";
const char* const kErrorDescription = "The tolerance: the iteration stops when |f(X)| is within it";
const char* const kLoopsTip = "The most passes the iteration makes before it gives up.";
const char* const kLoopsDescription = "The most passes the iteration makes";
const char* const kStepTip = "Pause after every pass (the pause dialog sets how long).";
const char* const kStepDescription = "When ticked, the calculation pauses after every pass";

// One control of the input panel. A box is named by the label before it, which
// points at it; a label or a button by its own text.
struct PanelText {
    QWidget& (*control)(FrmFx&);
    QLabel& (FrmFx::*label)();  // nullptr: named by its own text
    const char* toolTip;
    const char* description;
};

const PanelText kPanelTexts[] = {
    {[](FrmFx& p) -> QWidget& { return p.Label1(); }, nullptr,
     "F1: help on f(x), the inputs, the keys and the mouse.", "How a function is typed"},
    {[](FrmFx& p) -> QWidget& { return p.LabFx(); }, &FrmFx::LabFx, kFxTip, kFxDescription},
    {[](FrmFx& p) -> QWidget& { return p.CmbFx(); }, &FrmFx::LabFx, kFxTip, kFxDescription},
    {[](FrmFx& p) -> QWidget& { return p.LabDFT(); }, &FrmFx::LabDFT,
     "Click: the translated f(x), and f and f' at the initial value.",
     "Click it, or press Ctrl+I, to see the translated function and f, f' at the initial value"},
    {[](FrmFx& p) -> QWidget& { return p.TexDFT(); }, &FrmFx::LabDFT, kInitialTip,
     kInitialDescription},
    {[](FrmFx& p) -> QWidget& { return p.Label3(); }, &FrmFx::Label3, kLoopsTip, kLoopsDescription},
    {[](FrmFx& p) -> QWidget& { return p.TexLoops(); }, &FrmFx::Label3, kLoopsTip,
     kLoopsDescription},
    {[](FrmFx& p) -> QWidget& { return p.Label2(); }, &FrmFx::Label2, kErrorTip, kErrorDescription},
    {[](FrmFx& p) -> QWidget& { return p.TexError(); }, &FrmFx::Label2, kErrorTip,
     kErrorDescription},
    {[](FrmFx& p) -> QWidget& { return p.CmdClr(); }, nullptr,
     "Centre the graph on the initial value and empty the table.",
     "Centres the graph on the initial value and empties the table"},
    {[](FrmFx& p) -> QWidget& { return p.CmdCal(); }, nullptr,
     "Find a root from the initial value (Enter, Space).",
     "Finds a root from the initial value, drawing every tangent and listing every pass"},
    // The box's own text is hidden; the caption beside it names it.
    {[](FrmFx& p) -> QWidget& { return p.LabSel1(); }, &FrmFx::LabSel1, kStepTip, kStepDescription},
    {[](FrmFx& p) -> QWidget& { return p.ChkStep(); }, &FrmFx::LabSel1, kStepTip, kStepDescription},
    {[](FrmFx& p) -> QWidget& { return p.Command1(); }, nullptr, "End the program.",
     "Ends the program"},
};

QString ownText(QWidget& w) {
    if (auto* label = qobject_cast<QLabel*>(&w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(&w)) return button->text();
    return {};
}

void describe(QWidget& w, const QString& name, const char* description) {
    w.setAccessibleName(name);
    w.setAccessibleDescription(QString::fromUtf8(description));
}

}  // namespace

void nameControls(FrmFx& p, OperatorTable operators) {
    const QString functions =
        QString::fromStdString(listFunctions(operators, ", ", ", ", [](const OperatorRow& row) {
            return std::string(row.name) + ": " + std::string(row.meaning);
        }));
    for (const PanelText& t : kPanelTexts) {
        QWidget& control = t.control(p);
        QString tip = QString::fromUtf8(t.toolTip);
        if (tip.contains("%1")) tip = tip.arg(functions);
        control.setToolTip(tip);
        if (t.label == nullptr) {
            describe(control, ownText(control), t.description);
            continue;
        }
        QLabel& label = (p.*t.label)();
        if (&label != &control) label.setBuddy(&control);
        describe(control, label.text(), t.description);
    }
    if (QLineEdit* edit = p.CmbFx().lineEdit())
        describe(*edit, p.LabFx().text(), "The function whose root is sought");
}

void nameControls(FrmWait& w) {
    describe(w.CmdGo(), w.CmdGo().text(), "Ends this pause; the calculation goes on");
    w.Label1().setBuddy(&w.TexSec());
    const char* const seconds =
        "The length of every pause in seconds, 0 to 32; Enter sets it, 0 waits for Continue";
    describe(w.Label1(), w.Label1().text(), seconds);
    describe(w.TexSec(), w.Label1().text(), seconds);
}

}  // namespace quorel
