// Everything the program shows modally goes through this interface: the real
// program shows Qt dialogs, tests record what would have been shown.
#pragma once

#include <string>

class QPrinter;

namespace quorel {

// Title of every message box that names no title of its own.
inline constexpr const char* kAppTitle = "Tangent Root Finder";

class UserDialogs {
  public:
    virtual ~UserDialogs() = default;
    // A modal message box with an OK button only.
    virtual void message(const std::string& text, const std::string& title) = 0;
    // The step pause: returns when the pause dialog hides itself; false when
    // the user closed it (or pressed Escape), which ends the calculation.
    virtual bool pause() = 0;
    // A file dialog for saving: the chosen file name, empty when cancelled
    // (as it is where no one can answer).
    virtual std::string saveFileName(const std::string& /*caption*/,
                                     const std::string& /*suggested*/,
                                     const std::string& /*filter*/) {
        return {};
    }
    // The print dialog for `printer`: true when the user chose to print.
    virtual bool choosePrinter(QPrinter& /*printer*/) { return false; }
};

}  // namespace quorel
