// While a calculation runs it lets the event loop paint and tick, but only the
// "End" button and modal dialogs take user input; closing the main window
// still works.
#pragma once

#include <QObject>

namespace quorel {

class InputGuard : public QObject {
    Q_OBJECT
  public:
    // Installs itself on the application for its lifetime.
    explicit InputGuard(QObject* allowed);
    ~InputGuard() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QObject* allowed_;
};

}  // namespace quorel
