// While a calculation runs it lets the event loop paint and tick, but only the
// "End" button and modal dialogs take user input; closing the main window
// still works, and Escape in any window stops the calculation.
#pragma once

#include <QObject>
#include <functional>

namespace quorel {

class InputGuard : public QObject {
    Q_OBJECT
  public:
    // Installs itself on the application for its lifetime.
    InputGuard(QObject* allowed, std::function<void()> onEscape);
    ~InputGuard() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QObject* allowed_;
    std::function<void()> onEscape_;
};

}  // namespace quorel
