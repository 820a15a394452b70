#include "solver/frm_fx.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStyleFactory>
#include <cmath>

#include "common/device_scale_text.h"
#include "common/failure.h"
#include "common/fitting_line_edit.h"
#include "common/form_geometry.h"
#include "common/numtext.h"
#include "common/text_fit.h"
#include "common/whole_text.h"
#include "engine/engine.h"
#include "solver/accessible_names.h"
#include "solver/driver.h"
#include "solver/enter_keys.h"
#include "solver/failure_messages.h"
#include "solver/input_guard.h"

namespace quorel {
namespace {

std::string failureText(const Failure& f) {
    return failureDescription(f.number());
}

}  // namespace

FrmFx::FrmFx(Engine& engine, UserDialogs& dialogs, IterationDriver& driver, QWidget* parent)
    : QWidget(parent), engine_(engine), dialogs_(dialogs), driver_(driver) {
    setWindowTitle("Input initial value and express");
    setWindowIcon(programIcon());
    resize(twipsRect(0, 0, 5145, 2895).size());
    buildControls();
}

FrmFx::~FrmFx() = default;

void FrmFx::buildControls() {
    auto label = [this](const char* text, QRect r, QFont f) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setGeometry(r);
        fitLabelText(l, f);
        return l;
    };
    const QFont tnrBold = formFont(kFaceTimes, 12, true);
    const QFont kai = formFont(kFaceKai, 12, false);
    const QFont kaiBold = formFont(kFaceKai, 12, true);

    label1_ = label("Example: f(x)=3X^2-2X+1", twipsRect(240, 120, 2895, 495), tnrBold);
    labFx_ = label("Input f(x)=", twipsRect(120, 600, 1455, 375), kai);

    cmbFx_ = new QComboBox(this);
    cmbFx_->setEditable(true);
    auto* fxEdit = new FittingLineEdit(cmbFx_);
    cmbFx_->setLineEdit(fxEdit);
    // What is typed stays as typed: no completion to an example.
    cmbFx_->setCompleter(nullptr);
    cmbFx_->setInsertPolicy(QComboBox::NoInsert);
    for (const char* f : kExampleFunctions) cmbFx_->addItem(f);
    cmbFx_->setEditText(kInitialFunction);
    cmbFx_->setGeometry(twipsRect(1680, 570, 3255, 405));
    cmbFx_->setFont(tnrBold);
    fxEdit->setDesignFont(tnrBold);

    labDFT_ = label("initial value=", twipsRect(120, 1080, 1695, 375), kai);
    labDFT_->installEventFilter(this);

    // The box is narrow: out of editing it shows its whole text, sign first.
    auto* texDFT = new FittingLineEdit(this);
    texDFT->setGeometry(twipsRect(2040, 1080, 615, 375));
    texDFT->setDesignFont(tnrBold);
    texDFT_ = texDFT;

    label3_ = label("Loops =", twipsRect(2640, 1080, 975, 375), kai);
    texLoops_ = new QLineEdit("55", this);
    texLoops_->setMaxLength(kWholeText);
    texLoops_->setGeometry(twipsRect(3720, 1080, 1215, 375));
    texLoops_->setFont(tnrBold);

    label2_ = label("error=", twipsRect(120, 1680, 975, 375), kai);
    texError_ = new QLineEdit("0.000001", this);
    texError_->setMaxLength(kWholeText);
    texError_->setGeometry(twipsRect(1200, 1680, 1335, 375));
    texError_->setFont(tnrBold);

    // The Kai face has no bold weight; its synthetic bold is drawn at device
    // scale so that it stays bold at every device pixel ratio.
    auto* boldCaptions = new DeviceScaleTextStyle(QStyleFactory::create(style()->name()));
    boldCaptions->setParent(this);
    auto button = [this, boldCaptions](const char* text, QRect r, QFont f) {
        auto* b = new QPushButton(text, this);
        b->setGeometry(r);
        b->setFont(f);
        b->setStyle(boldCaptions);
        return b;
    };
    cmdClr_ = button("Clear", twipsRect(3720, 1680, 1215, 375), kaiBold);
    cmdCal_ = button("Calculate", twipsRect(120, 2280, 1455, 495), kaiBold);

    // Only the box of the check box shows (it is 255 twips wide); its visible
    // caption is the label beside it, which does not tick it.
    chkStep_ = new QCheckBox("Check1", this);
    chkStep_->setGeometry(twipsRect(1800, 2400, 255, 255));
    labSel1_ =
        label("step by step", twipsRect(2160, 2355, 1215, 375), formFont(kFaceTimes, 12, false));

    command1_ = button("End", twipsRect(3720, 2280, 1215, 495), kaiBold);

    // Tab order: Calculate, initial value, Clear, f(x), step box, End, error, Loops.
    QWidget* order[] = {cmdCal_,  texDFT_,   cmdClr_,   cmbFx_,
                        chkStep_, command1_, texError_, texLoops_};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    // The keyboard starts on Calculate, the first control of the order.
    cmdCal_->setFocus();

    connect(cmdCal_, &QPushButton::clicked, this, &FrmFx::CmdCal_Click);
    connect(cmdClr_, &QPushButton::clicked, this, &FrmFx::clearPressed);
    connect(command1_, &QPushButton::clicked, this, &FrmFx::Command1_Click);

    // The keyboard's way to the click on "initial value=".
    auto* diagnostic = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_I), this);
    diagnostic->setContext(Qt::WidgetWithChildrenShortcut);
    connect(diagnostic, &QShortcut::activated, this, &FrmFx::LabDFT_Click);
    nameControls(*this);
    connectEnterKeys(*cmdCal_, {cmbFx_->lineEdit(), texDFT_, texLoops_, texError_},
                     {cmdCal_, cmdClr_, command1_});
}

bool FrmFx::eventFilter(QObject* watched, QEvent* event) {
    if (watched == labDFT_ && event->type() == QEvent::MouseButtonPress) {
        LabDFT_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

CalculationInputs FrmFx::inputs() const {
    return {cmbFx_->currentText().toStdString(), texDFT_->text().toStdString(),
            texError_->text().toStdString(), texLoops_->text().toStdString(),
            chkStep_->isChecked()};
}

void FrmFx::setInputsEnabled(bool enabled) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{cmdCal_, cmdClr_, chkStep_, cmbFx_, texDFT_, texError_})
        w->setEnabled(enabled);
}

void FrmFx::CmdCal_Click() {
    if (driver_.running()) return;
    // Locking the focused control moves the focus on; it comes back after.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    const CalculationInputs in = inputs();
    {
        const InputGuard guard(command1_, [this] { driver_.stop(); });
        driver_.calculate(in);
    }
    if (focus && focus->isEnabled() && !driver_.abandoned()) focus->setFocus();
}

bool FrmFx::calculating() const {
    return driver_.running();
}

void FrmFx::CmdClr_Click() {
    driver_.Clear(texDFT_->text().toStdString());
}

void FrmFx::clearPressed() {
    const std::string typed = texDFT_->text().toStdString();
    try {
        CmdClr_Click();
    } catch (const Failure&) {
        // Clear reads nothing else that can fail.
        dialogs_.message(numberTextMessage(kBoxInitialValue, typed) +
                             " Clear was not done: the graph and the table were left as they were.",
                         kAppTitle);
    }
}

void FrmFx::abandonCalculation() {
    driver_.abandon();
}

void FrmFx::Command1_Click() {
    driver_.abandon();
    emit endRequested();
}

void FrmFx::setInitialValueText(const std::string& text) {
    texDFT_->setText(QString::fromStdString(text));
}

void FrmFx::LabDFT_Click() {
    engine_.Fx_Postfix(cmbFx_->currentText().toStdString());
    // The diagnostic view: the engine's own listings of its token queue and
    // operator stack, which is why these two reach the dialogs.
    engine_.FxQueue.test(dialogs_);
    engine_.OpStack.test(dialogs_);
    engine_.FxQueue.SetValue();
    // An f(x) that can give no value is told instead of evaluated.
    if (toldMalformed(cmbFx_->currentText().toStdString(), engine_, dialogs_)) return;
    const std::string typed = texDFT_->text().toStdString();
    double curX = 0.0;
    try {
        curX = textToNumber(typed);
    } catch (const Failure&) {
        dialogs_.message(numberTextMessage(kBoxInitialValue, typed), kAppTitle);
        return;
    }
    const std::string x = numberToText(curX);
    double f = 0.0;
    double d = 0.0;
    try {
        f = engine_.Fx_Eval(curX);
    } catch (const Failure& e) {
        dialogs_.message("F(" + x + ") cannot be computed (" + failureText(e) + ").", kAppTitle);
        return;
    }
    try {
        d = engine_.Fx_Diff(curX);
    } catch (const Failure& e) {
        dialogs_.message("F(" + x + ")=" + numberToText(f) + " , but F'(" + x +
                             ") cannot be computed (" + failureText(e) + ").",
                         kAppTitle);
        return;
    }
    dialogs_.message("F(" + x + ")=" + numberToText(f) + " , F'(" + x + ")=" + numberToText(d),
                     kAppTitle);
}

}  // namespace quorel
