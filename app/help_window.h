// The help window: a page of its own beside the main window, opened by F1.
#pragma once

#include <QTextBrowser>

namespace quorel {

inline constexpr const char* kHelpCaption = "Help";

class HelpWindow : public QTextBrowser {
    Q_OBJECT
  public:
    HelpWindow(const QString& version, QWidget* parent = nullptr);
    // Shows the window, or brings it to the front.
    void open();
};

}  // namespace quorel
