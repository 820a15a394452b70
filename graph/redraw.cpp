#include "graph/redraw.h"

#include "common/failure.h"
#include "graph/plot_surface.h"

namespace quorel {
namespace {

class Shifted {
  public:
    Shifted(PlotSurface& s, double dx, double dy) : s_(s), dx_(dx), dy_(dy) {}

    void frame(const UserFrame&) {}
    void line(const DrawingRecord::Line& l, QRgb rgb) {
        drawn([&] { s_.Line(l.x1 + dx_, l.y1 + dy_, l.x2 + dx_, l.y2 + dy_, QColor(rgb)); });
    }
    void circle(const DrawingRecord::Circle& c, QRgb rgb) {
        drawn([&] { s_.Circle(c.x + dx_, c.y + dy_, c.radius, QColor(rgb)); });
    }
    // The only text, the centre label, comes with the new frame.
    void text(const DrawingRecord::Text&) {}
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
};

}  // namespace

void redrawShifted(PlotSurface& surface, const DrawingRecord& drawing, DrawingRecord::Cursor from,
                   double dx, double dy) {
    Shifted shifted(surface, dx, dy);
    drawing.replay(from, shifted);
}

}  // namespace quorel
