// Records every message box and step pause instead of showing them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/user_dialogs.h"

namespace quorel::testing {

struct ShownMessage {
    std::string text;
    std::string title;
};

class RecordingDialogs : public UserDialogs {
  public:
    void message(const std::string& text, const std::string& title) override {
        messages.push_back({text, title});
        if (onMessage) onMessage(messages.back());
    }
    bool pause() override {
        ++pauses;
        if (onPause) onPause();
        return !closePause;
    }

    std::string saveFileName(const std::string& caption, const std::string&,
                             const std::string&) override {
        saveDialogs.push_back(caption);
        return saveAnswer;
    }

    bool choosePrinter(QPrinter& printer) override {
        ++printDialogs;
        return onPrint && onPrint(printer);
    }

    std::vector<ShownMessage> messages;
    int printDialogs = 0;
    // Answers the print dialog (set the printer up, true to print); none cancels.
    std::function<bool(QPrinter&)> onPrint;
    // Captions of the file dialogs asked for, and the name each one answers.
    std::vector<std::string> saveDialogs;
    std::string saveAnswer;
    int pauses = 0;
    std::function<void()> onPause;
    // The pause dialog is closed instead of continued.
    bool closePause = false;
    // Runs while the box would be shown.
    std::function<void(const ShownMessage&)> onMessage;
};

}  // namespace quorel::testing
