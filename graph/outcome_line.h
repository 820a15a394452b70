// The line near the bottom right of the graph surface, above the centre
// label, that states how the last calculation ended. It wraps rather than
// cuts its text; the pointer coordinates stay at the top.
#pragma once

#include <QLabel>
#include <QRectF>

namespace quorel {

// The look of a small text over the graph: 8 pt on a veil of white, in
// `colour`, letting the mouse through to the surface.
void styleOverlayLabel(QLabel& label, const char* colour);

class OutcomeLine : public QLabel {
    Q_OBJECT
  public:
    explicit OutcomeLine(QWidget* surface);

    // Shows `text`; hides the line when it is empty.
    void setOutcome(const QString& text);
    // Places the line, as its text needs, inside the surface's inner area
    // `inner`, clear of `avoid` (the centre label), widget pixels.
    void place(const QRectF& inner, const QRectF& avoid);
};

}  // namespace quorel
