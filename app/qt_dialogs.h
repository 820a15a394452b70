// The real program's modal dialogs: Qt message boxes and the step pause.
#pragma once

#include "common/user_dialogs.h"

namespace quorel {

class FrmWait;

class QtDialogs : public UserDialogs {
  public:
    void message(const std::string& text, const std::string& title) override;
    bool pause() override;
    std::string saveFileName(const std::string& caption, const std::string& suggested,
                             const std::string& filter) override;
    bool choosePrinter(QPrinter& printer) override;
    void setPauseDialog(FrmWait* wait) { wait_ = wait; }

  private:
    FrmWait* wait_ = nullptr;
};

}  // namespace quorel
