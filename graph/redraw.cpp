#include "graph/redraw.h"

#include <QFontMetricsF>

#include "common/failure.h"
#include "graph/plot_surface.h"

namespace quorel {
namespace {

class Shifted {
  public:
    Shifted(PlotSurface& s, double dx, double dy) : s_(s), dx_(dx), dy_(dy) {}

    void frame(const UserFrame& f) { frame_ = f; }
    void line(const DrawingRecord::Line& l, QRgb rgb) {
        drawn([&] { s_.Line(l.x1 + dx_, l.y1 + dy_, l.x2 + dx_, l.y2 + dy_, QColor(rgb)); });
    }
    void circle(const DrawingRecord::Circle& c, QRgb rgb) {
        drawn([&] { s_.Circle(c.x + dx_, c.y + dy_, c.radius, QColor(rgb)); });
    }
    // Texts were kept where they were printed; their pen goes back to user
    // coordinates through the frame they were printed in.
    void text(const DrawingRecord::Text& t) {
        if (frame_.inner.width() <= 0 || frame_.inner.height() <= 0) return;
        const double penY = t.baselineDip.y() - QFontMetricsF(t.font, &s_).ascent();
        s_.CurrentX = frame_.left + t.baselineDip.x() / frame_.inner.width() * frame_.width + dx_;
        s_.CurrentY = frame_.top + penY / frame_.inner.height() * frame_.height + dy_;
        s_.ForeColor = QColor(t.rgb);
        s_.PrintFont = t.font;
        drawn([&] { s_.Print(t.text.toStdString()); });
    }
    void passMark() { s_.markPass(); }

  private:
    template <class Draw>
    static void drawn(Draw draw) {
        try {
            draw();
        } catch (const Failure&) {
        }
    }

    PlotSurface& s_;
    double dx_, dy_;
    UserFrame frame_;
};

}  // namespace

void redrawShifted(PlotSurface& surface, const DrawingRecord& drawing, DrawingRecord::Cursor from,
                   double dx, double dy) {
    const double penX = surface.CurrentX, penY = surface.CurrentY;
    const QColor fore = surface.ForeColor;
    const QFont font = surface.PrintFont;
    Shifted shifted(surface, dx, dy);
    drawing.replay(from, shifted);
    surface.CurrentX = penX;
    surface.CurrentY = penY;
    surface.ForeColor = fore;
    surface.PrintFont = font;
}

}  // namespace quorel
