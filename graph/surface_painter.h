// The one painter of a drawing surface: lines, circles and texts in user
// coordinates, through the surface mapping, into an image, with QPainter
// only: one-pixel (one device-pixel-ratio) cosmetic lines, circle outlines,
// texts at device size.
//
// Lines and circles go to QPainter in chunks that leave out repeated parts.
// Circle centres and radii are set to quarter pixels for this, so a circle's
// pixels follow from its geometry alone.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRgb>
#include <vector>

#include "graph/part_chunk.h"
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

    // Lines are `lineWidth` pixels (times the pixel ratio) wide; `chunk`
    // holds the parts until they are painted.
    SurfacePainter(QImage& image, const SurfaceMapping& mapping, PartChunk& chunk,
                   int lineWidth = 1);
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
    PartChunk& chunk_;
    std::vector<QLine> lines_;
    QRgb penRgb_ = 0;
    bool penSet_ = false;
};

}  // namespace quorel
