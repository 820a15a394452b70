// The line near the bottom right of the graph surface, above the centre
// label, that states how the last calculation ended. It wraps rather than
// cuts its text; the pointer coordinates stay at the top.
#pragma once

#include <QLabel>
#include <QRectF>

namespace quorel {

class OutcomeLine : public QLabel {
    Q_OBJECT
  public:
    explicit OutcomeLine(QWidget* surface);

    // Shows `text`; hides the line when it is empty.
    void setOutcome(const QString& text);
    // Places the line inside the surface's inner area `inner`, clear of `avoid`
    // (the centre label), widget pixels.
    void place(const QRectF& inner, const QRectF& avoid);

  private:
    QRectF inner_;
    QRectF avoid_;
};

}  // namespace quorel
