// The one painter of a drawing surface: lines, circles and texts in user
// coordinates, through the surface mapping, into an image, with QPainter
// only: one-pixel (one device-pixel-ratio) cosmetic lines, circle outlines,
// texts at device size.
//
// A long run draws many parts on the same pixels. Parts go to QPainter in
// chunks, and a part that a later part of the same chunk repeats exactly
// (same kind, colour and pixel geometry) is left out: the later one paints
// the same pixels over everything drawn between them, so the image is the
// one that painting every part gives. Circle centres and radii are set to
// quarter pixels for this, so a circle's pixels follow from its geometry
// alone.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRgb>
#include <QSet>
#include <vector>

#include "graph/surface_mapping.h"

namespace quorel {

// Text at device size without a scaling transform: glyphs of a face without a
// bold style are emboldened for the size they are rendered at, so under a
// scale they would come out thinner at a higher pixel ratio.
void drawTextAt(QPainter& p, QPointF baselineDip, const QFont& font, QRgb rgb, double dpr,
                const QString& text);

class SurfacePainter {
  public:
    // Circles (the point markers) shown in a zoomed view keep at least this
    // radius (DIP) and grow at most this many times their size at home.
    static constexpr double kMinMarkerRadius = 3.0;
    static constexpr double kMaxMarkerGrowth = 3.0;

    // Lines are `lineWidth` pixels (times the pixel ratio) wide.
    SurfacePainter(QImage& image, const SurfaceMapping& mapping, int lineWidth = 1);
    ~SurfacePainter();
    SurfacePainter(const SurfacePainter&) = delete;
    SurfacePainter& operator=(const SurfacePainter&) = delete;

    // The user frame of the parts that follow.
    void frame(const UserFrame& f) { m_.setFrame(f); }
    // A line and a circle in user coordinates (single precision, as drawn).
    void line(float x1, float y1, float x2, float y2, QRgb rgb);
    void circle(float x, float y, float radius, QRgb rgb);
    // A text at its baseline in the inner area (DIP); shown while the view is
    // at home only.
    void text(QPointF baselineDip, const QString& text, const QFont& font, QRgb rgb);
    int lineWidth() const { return lineWidth_; }

    // A part in device pixels: a line between two pixels, or a circle about
    // (a, b) with radius c, in quarter pixels.
    struct Part {
        enum Kind : int { kLine, kCircle } kind;
        QRgb rgb;
        int a, b, c, d;
        bool operator==(const Part&) const = default;
    };

  private:
    void add(const Part& part);
    void flush();
    void drawArc(double u, double v, double rpx, QRgb rgb);
    void usePen(QRgb rgb);

    QPainter p_;
    SurfaceMapping m_;
    int lineWidth_ = 1;
    int penWidth_ = 1;
    bool zoomed_ = false;
    std::vector<Part> chunk_;
    std::vector<char> kept_;
    QSet<Part> later_;
    std::vector<QLine> lines_;
    QRgb penRgb_ = 0;
    bool penSet_ = false;
};

size_t qHash(const SurfacePainter::Part& p, size_t seed = 0) noexcept;

}  // namespace quorel
