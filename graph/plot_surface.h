// A drawing surface with a retained image and a user coordinate system:
// ScaleLeft/ScaleTop are the user coordinates of the inner top-left corner,
// ScaleWidth/ScaleHeight the inner extent (negative height: y grows upwards).
// Lines are clipped to the visible area in double precision before they reach
// the painter. A coordinate beyond single precision throws Failure 6.
// Drawing is retained until Cls and shows on the next repaint.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quorel {

class PlotSurface : public QWidget {
    Q_OBJECT
  public:
    // The border takes 30 twips on each side (60 of the width and of the height).
    static constexpr double kBorderTwips = 30.0;

    explicit PlotSurface(QWidget* parent = nullptr);

    // User coordinate system.
    double ScaleLeft() const;
    double ScaleTop() const;
    double ScaleWidth() const;
    double ScaleHeight() const;
    void setScaleLeft(double v);
    void setScaleTop(double v);
    void setScaleWidth(double v);
    void setScaleHeight(double v);
    void Scale(double x1, double y1, double x2, double y2);

    // Pen position in user coordinates.
    double CurrentX = 0.0;
    double CurrentY = 0.0;

    // A one-pixel solid line; leaves the pen at (x2, y2).
    void Line(double x1, double y1, double x2, double y2, QColor color);
    // A line from the pen to (x, y); leaves the pen there.
    void LineTo(double x, double y, QColor color);
    // A circle outline, round on screen, radius measured along x in user units.
    void Circle(double cx, double cy, double radius, QColor color);
    // One line of text at the pen in the surface font and ForeColor, transparent
    // background; then the pen goes to x = ScaleLeft, one text line lower.
    void Print(const std::string& text);
    // Erases the retained image to the background colour.
    void Cls();

    QColor ForeColor = Qt::black;
    QColor BackColor = Qt::white;
    // Font used by Print (the widget font is left alone).
    QFont PrintFont;

    // The retained image, with everything drawn so far (device pixels).
    QImage image();
    // Pixel colour at a user coordinate point, from the retained image.
    QColor pixelAt(double x, double y);

    // Maps between user coordinates and widget (device-independent) pixels.
    QPointF toWidget(double x, double y) const;
    QPointF toUser(QPointF widgetPos) const;

  signals:
    // A mouse press, with the position in user coordinates.
    void mouseDown(double x, double y, Qt::MouseButton button);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

  private:
    // A user coordinate system laid over an inner area of a given size.
    struct Mapping {
        double left, top, width, height;
        QSizeF innerDip;
    };
    // User coordinates to image pixels: u = (x - left) * kx, pixel floor(u).
    struct DeviceMap {
        double left, top, kx, ky;
        int w, h;
        bool drawable;
    };
    struct LineOp {
        QPoint a, b;
        QRgb rgb;
    };
    struct EllipseOp {
        QPointF centre;
        double radius;
        QRgb rgb;
    };
    struct TextOp {
        QPointF baselineDip;
        QString text;
        QFont font;
        QRgb rgb;
    };
    using Op = std::variant<LineOp, EllipseOp, TextOp>;

    QSizeF innerDip() const;
    Mapping currentMapping() const;
    DeviceMap deviceMap() const;
    void leaveTwipMode();
    void ensureImage();
    void record(Op op);
    void addLine(double x1, double y1, double x2, double y2, QRgb rgb);
    void addSegmentPx(double u1, double v1, double u2, double v2, const DeviceMap& m, QRgb rgb);
    void flushPending();

    // Until the coordinate system is set, one unit per twip follows the size.
    bool twipMode_ = true;
    double scaleLeft_ = 0.0;
    double scaleTop_ = 0.0;
    double scaleWidth_ = 0.0;
    double scaleHeight_ = 0.0;

    QImage image_;  // the inner area in device pixels
    double imageDpr_ = 1.0;
    std::vector<Op> pending_;
    bool updateRequested_ = false;
    // The coordinates the retained drawing was made in; clicks map through them.
    std::optional<Mapping> drawn_;
};

}  // namespace quorel
