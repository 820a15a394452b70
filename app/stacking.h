// Keeps one child window of the frame above another where they overlap: the
// table above the graph, whose digits the graph would otherwise hide once a
// click, wheel turn or key activates it. A maximised lower window is left on
// top, as it fills the frame.
#pragma once

#include <QObject>
#include <QPointer>

class QMdiSubWindow;

namespace quorel {

class KeepAbove : public QObject {
    Q_OBJECT
  public:
    KeepAbove(QMdiSubWindow* upper, QMdiSubWindow* lower);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QMdiSubWindow> upper_;
    QPointer<QMdiSubWindow> lower_;
};

}  // namespace quorel
