// The step pause dialog: holds a calculation between two passes until its
// timer ticks or "Continue" is pressed; Enter in the seconds box sets a new
// pause length. The timer runs from start-up, shown or hidden. Closing the
// dialog or pressing Escape in it ends the whole calculation.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "common/program_state.h"
#include "common/user_dialogs.h"
#include "solver/pause_timer.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorel {

inline constexpr const char* kPauseRangeMessage =
    "The pause length must be a whole number of seconds from 0 to 32 "
    "(0: pause until \"Continue\" is pressed). The previous length stays.";

class FrmWait : public QDialog {
    Q_OBJECT
  public:
    // timer: the dialog's own on a QTimer when none is given.
    FrmWait(ProgramState& state, UserDialogs& dialogs, QWidget* parent = nullptr,
            std::unique_ptr<PauseTimer> timer = nullptr);

    // Shows the pause length, selects it, starts the timer.
    void Form_Load();
    // Enter (code 13) takes the typed length; other codes are left alone.
    void TexSec_KeyPress(int keyAscii);
    void Timer1_Timer();
    void CmdGo_Click();
    // Shows the dialog application-modally; returns when it hides itself:
    // false when it was closed or Escape was pressed.
    bool showModal();

    QPushButton& CmdGo() { return *cmdGo_; }
    QLabel& Label1() { return *label1_; }
    QLineEdit& TexSec() { return *texSec_; }
    PauseTimer& Timer1() { return *timer1_; }

  protected:
    void closeEvent(QCloseEvent* e) override;
    // Escape.
    void reject() override;

  private:
    // Shows why a typed length was refused; the pause goes on meanwhile.
    void refuse(const std::string& message);
    void restartTimer();

    ProgramState& state_;
    UserDialogs& dialogs_;
    QPushButton* cmdGo_;
    QLabel* label1_;
    QLineEdit* texSec_;
    std::unique_ptr<PauseTimer> timer1_;
    bool closed_ = false;
};

}  // namespace quorel
