// Plain pixel painting straight into an RGB32 image: solid lines between
// pixel centres and small circle outlines, a square pen of whole pixels.
// Much cheaper per call than the painter, for drawings of very many parts.
#pragma once

#include <QImage>
#include <QLine>
#include <QPointF>
#include <QRgb>

namespace quorel {

// A line through both end pixels, which lie inside the image.
void rasterLine(QImage& image, QLine line, QRgb rgb, int penWidth);
// A circle outline about a centre in continuous pixel coordinates, clipped
// to the image; at least one pixel of radius.
void rasterCircle(QImage& image, QPointF centre, double radius, QRgb rgb, int penWidth);

}  // namespace quorel
