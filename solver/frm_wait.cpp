#include "solver/frm_wait.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "common/failure.h"
#include "common/form_geometry.h"
#include "common/numtext.h"
#include "common/text_fit.h"
#include "common/whole_text.h"
#include "solver/accessible_names.h"
#include "solver/failure_messages.h"

namespace quorel {

FrmWait::FrmWait(ProgramState& state, UserDialogs& dialogs, QWidget* parent,
                 std::unique_ptr<PauseTimer> timer)
    : QDialog(parent),
      state_(state),
      dialogs_(dialogs),
      timer1_(timer ? std::move(timer) : std::make_unique<QtPauseTimer>()) {
    setWindowTitle("Waiting");
    // A narrow dialog: without minimise and maximise buttons its title stays
    // readable.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(twipsRect(0, 0, 2160, 1080).size());

    cmdGo_ = new QPushButton("Continue", this);
    cmdGo_->setGeometry(twipsRect(360, 600, 1095, 375));
    cmdGo_->setFont(formFont(kFaceKai, 9.75, false));
    // Enter belongs to the seconds box, never to the button.
    cmdGo_->setAutoDefault(false);
    cmdGo_->setDefault(false);

    label1_ = new QLabel("pause second:", this);
    label1_->setGeometry(twipsRect(120, 120, 1455, 375));
    fitLabelText(label1_, formFont(kFaceKai, 9.75, false));

    texSec_ = new QLineEdit("5", this);
    texSec_->setMaxLength(kWholeText);
    texSec_->setGeometry(twipsRect(1560, 120, 495, 315));
    texSec_->setFont(formFont(kFaceKai, 11.25, false));

    setTabOrder(cmdGo_, texSec_);

    connect(cmdGo_, &QPushButton::clicked, this, &FrmWait::CmdGo_Click);
    connect(texSec_, &QLineEdit::returnPressed, this, [this] { TexSec_KeyPress(13); });
    timer1_->onTick = [this] { Timer1_Timer(); };
    nameControls(*this);
}

void FrmWait::Form_Load() {
    texSec_->setText(QString::number(state_.PauseSeconds));
    texSec_->selectAll();
    restartTimer();
}

void FrmWait::TexSec_KeyPress(int keyAscii) {
    if (keyAscii != 13) return;
    // Valid lengths are whole numbers of seconds from 0 to 32: the interval in
    // milliseconds must fit a 16-bit whole number. Anything else, a text that
    // is not only a number among them, is refused and the old length kept.
    const std::string typed = texSec_->text().toStdString();
    NumberRead read;
    try {
        read = readNumber(typed);
    } catch (const Failure&) {
        refuse(numberTextMessage(kBoxPauseSeconds, typed) + " The previous length stays.");
        return;
    }
    const bool onlyNumber = read.used > 0 && restAfter(typed, read).empty();
    const double seconds = read.value;
    if (!onlyNumber || seconds != std::floor(seconds) || !(seconds >= 0 && seconds <= 32)) {
        refuse(kPauseRangeMessage);
        return;
    }
    state_.PauseSeconds = static_cast<std::int16_t>(seconds);
    restartTimer();
}

void FrmWait::refuse(const std::string& message) {
    // The timer would end the pause behind the message: it waits until the
    // message is closed and then counts the kept length afresh.
    timer1_->stop();
    dialogs_.message(message, kAppTitle);
    texSec_->setText(QString::number(state_.PauseSeconds));
    texSec_->selectAll();
    restartTimer();
}

void FrmWait::restartTimer() {
    // Counts the pause length afresh from now; a length of 0 stops the timer.
    if (state_.PauseSeconds > 0) {
        timer1_->start(state_.PauseSeconds * 1000);
    } else {
        timer1_->stop();
    }
}

void FrmWait::Timer1_Timer() {
    hide();
}

void FrmWait::CmdGo_Click() {
    hide();
}

bool FrmWait::showModal() {
    closed_ = false;
    setWindowModality(Qt::ApplicationModal);
    exec();
    return !closed_;
}

void FrmWait::closeEvent(QCloseEvent* e) {
    // The dialog is kept for the next pause; only this calculation ends.
    e->ignore();
    reject();
}

void FrmWait::reject() {
    closed_ = true;
    hide();
}

}  // namespace quorel
