// The one mapping between a drawing surface's user coordinates and what it
// shows: a user frame laid over the inner area, seen through a view (zoom and
// pan, in device-independent pixels), onto the image's device pixels. The
// painting, the clipping, the pointer and the zoom all go through it.
#pragma once

#include <QLine>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>

namespace quorel {

// A user coordinate system over an inner area of a given size: left and top
// are the user coordinates of the area's top-left corner, width and height
// its extent in user units (a negative height makes y grow upwards).
struct UserFrame {
    double left = 0.0;
    double top = 0.0;
    double width = 1.0;
    double height = 1.0;
    QSizeF inner;  // device-independent pixels
    bool operator==(const UserFrame&) const = default;
};

// Liang-Barsky against [0, w] x [0, h]; an end moved onto an edge lies on it
// exactly. False when nothing of the segment is left.
bool clipSegment(double& u1, double& v1, double& u2, double& v2, double w, double h);

// A segment in continuous device coordinates clipped to an image of the
// given size, as pixel indices (the floor of each end); false when nothing
// of it shows.
bool clipToPixels(double u1, double v1, double u2, double v2, QSize size, QLine& out);

class SurfaceMapping {
  public:
    static constexpr double kMinZoom = 1.0 / 16;
    static constexpr double kMaxZoom = 65536;

    void setFrame(const UserFrame& frame) {
        if (sameFrame(frame, frame_)) return;
        frame_ = frame;
        rescale();
    }
    const UserFrame& frame() const { return frame_; }
    // The image: its size in device pixels and device pixels per DIP.
    void setDevice(QSize pixels, double dpr);
    QSize deviceSize() const { return device_; }
    double dpr() const { return dpr_; }
    // Whether user points can be placed on the image at all.
    bool drawable() const { return drawable_; }

    // User point to continuous device coordinates (the pixel is the floor).
    QPointF toDevice(double x, double y) const;
    // A length along x in user units, in device pixels.
    double lengthToDevice(double length) const;
    // The segment between two user points, clipped to the image, as pixel
    // indices; false when nothing of it shows or it cannot be placed.
    bool clipToDevice(double x1, double y1, double x2, double y2, QLine& out) const;
    // A position in the inner area (DIP, as shown) to user coordinates, and back.
    QPointF toUser(QPointF innerDip) const;
    QPointF toInner(double x, double y) const;
    // The same in the unzoomed view: where the frame itself puts a user point.
    QPointF toInnerAtHome(double x, double y) const;

    // The view. At home the frame fills the inner area as it was laid.
    bool atHome() const { return zoomX_ == 1.0 && zoomY_ == 1.0 && panX_ == 0.0 && panY_ == 0.0; }
    void home();
    // Scales the view by fx across and fy upwards about a point of the inner
    // area (DIP), which keeps showing the same user point.
    void zoomAbout(QPointF innerDip, double fx, double fy);
    // Moves what is shown by (dx, dy) DIP.
    void pan(double dx, double dy);
    // Shows the user rectangle spanned by (x1, y1) and (x2, y2) on the area
    // `target` of the inner area (DIP), each way on its own scale; a way the
    // rectangle has no extent keeps its scale and is centred. This may go
    // beyond the zoom limits, which then only hold against going farther.
    void fit(double x1, double y1, double x2, double y2, const QRectF& target);
    double zoomX() const { return zoomX_; }
    double zoomY() const { return zoomY_; }

  private:
    // Exactly equal (QSizeF's == is fuzzy).
    static bool sameFrame(const UserFrame& a, const UserFrame& b) {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height &&
               a.inner.width() == b.inner.width() && a.inner.height() == b.inner.height();
    }
    // Device pixels per user unit at home, worked out once per frame and device.
    void rescale();
    double kx() const { return kx_; }
    double ky() const { return ky_; }

    UserFrame frame_;
    QSize device_;
    double dpr_ = 1.0;
    double kx_ = 0.0, ky_ = 0.0;
    bool drawable_ = false;
    double zoomX_ = 1.0, zoomY_ = 1.0;
    double panX_ = 0.0, panY_ = 0.0;  // DIP
};

}  // namespace quorel
