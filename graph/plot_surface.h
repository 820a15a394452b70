// A drawing surface with a retained image and a user coordinate system:
// ScaleLeft/ScaleTop are the user coordinates of the inner top-left corner,
// ScaleWidth/ScaleHeight the inner extent (negative height: y grows upwards).
// Lines are clipped to the visible area in double precision before they reach
// the painter. A coordinate beyond single precision throws Failure 6.
// Drawing goes into the retained image at once and shows on the next repaint.
// The owner paints its whole picture again through the scene whenever the
// view (wheel, + and -, arrows, Home), the size, the replay or the print
// resolution asks for it; between those the image is kept.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/millisecond_clock.h"
#include "graph/part_chunk.h"
#include "graph/surface_mapping.h"

namespace quorel {

class SurfacePainter;

class PlotSurface : public QWidget {
    Q_OBJECT
  public:
    // The border takes 30 twips on each side (60 of the width and of the height).
    static constexpr double kBorderTwips = 30.0;

    explicit PlotSurface(QWidget* parent = nullptr);
    ~PlotSurface() override;

    // User coordinate system.
    double ScaleLeft() const;
    double ScaleTop() const;
    double ScaleWidth() const;
    double ScaleHeight() const;
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
    // The box (DIP, in the inner area) of the pixels that Print would colour
    // with the pen at penDip; empty when the text leaves no ink.
    QRectF printedInk(const std::string& text, QPointF penDip) const;
    // Erases the retained image to the background colour.
    void Cls();

    QColor ForeColor = Qt::black;
    QColor BackColor = Qt::white;
    // Font used by Print (the widget font is left alone).
    QFont PrintFont;

    // The retained image, with everything drawn so far (device pixels).
    QImage image();
    // The drawing as shown, painted afresh at `dpr` device pixels per DIP
    // (for print).
    QImage imageAt(double dpr) const;
    // Pixel colour at a user coordinate point, from the retained image.
    QColor pixelAt(double x, double y);

    // Maps between user coordinates and widget (device-independent) pixels
    // through the current frame and the view.
    QPointF toWidget(double x, double y) const;
    QPointF toUser(QPointF widgetPos) const;
    // Where the current frame puts a user point when the view is at home (the
    // place of child controls).
    QPointF toWidgetAtHome(double x, double y) const;
    // The user point of the drawing shown at a widget position: the frame of
    // the latest drawing (the current one when nothing is drawn) through the
    // view. Clicks and the pointer read this.
    QPointF shownUserAt(QPointF widgetPos) const;

    // The view: zoom and pan of what is shown, never of the drawing. zoomAt
    // scales it about a point of the widget (fx across, fy upwards), panBy
    // moves it by DIP, homeView returns to the frame as drawn.
    void zoomAt(QPointF widgetPos, double fx, double fy);
    void panBy(double dx, double dy);
    void homeView();
    // Shows the user rectangle spanned by two corners with `margin` DIP of
    // the inner area around it, each way on its own scale.
    void fitView(double x1, double y1, double x2, double y2, double margin);
    bool viewAtHome() const { return mapping_.atHome(); }
    // The view's zoom across and upwards (1 at home).
    double viewZoomX() const { return mapping_.zoomX(); }
    double viewZoomY() const { return mapping_.zoomY(); }
    // What paints the whole picture again, in the frame it was drawn in,
    // through the drawing calls above; it reads replayPass(). Called when the
    // image is next needed after a change of view, size or replay: from the
    // start (`restart`), or on from where it stopped. It stops when timeUp()
    // says so and returns whether it is done. A repaint gives it a slice of
    // kSliceMs and has the rest painted in later slices, so that input is
    // seen in between; image(), pixelAt and imageAt have it finish.
    using Scene = std::function<bool(bool restart, const std::function<bool()>& timeUp)>;
    void setScene(Scene scene) { scene_ = std::move(scene); }
    // The picture is painted again from the scene before it is next shown.
    void repaintScene();
    // Whether the scene has yet to be painted (again, or on).
    bool scenePending() const { return sceneStale_ || sceneUnfinished_; }
    static constexpr int kSliceMs = 12;
    // The clock (milliseconds) that times the slices.
    void setClock(MillisecondClock clock) { clock_ = std::move(clock); }
    // Lines drawn from now on are this many pixels wide (1 by default).
    void setLineWidth(int width);
    // Replay of a finished calculation: the scene up to the end of pass k,
    // pass k's lines over it in kReplayColour, kReplayWidth pixels wide.
    // The owner tells how many passes are drawn; stepReplay moves k by
    // `step` from the end (the last pass), and past the last pass leaves the
    // replay. Any drawing, Cls, a change of view or a click leaves it too.
    // replayPass() is -1 outside a replay.
    void setPassCount(long long passes) { passes_ = passes; }
    long long passCount() const { return passes_; }
    void stepReplay(int step);
    void leaveReplay();
    long long replayPass() const { return replay_; }
    static const QColor kReplayColour;
    static constexpr int kReplayWidth = 3;

    // Zoom factor of one wheel notch or one key press.
    static constexpr double kZoomStep = 1.25;

  signals:
    // A mouse press, with the position in user coordinates.
    void mouseDown(double x, double y, Qt::MouseButton button);
    // The pointer over the surface, as a widget position (again after a
    // change of view under a still pointer); pointerLeft when it leaves.
    void pointerMoved(QPointF widgetPos);
    void pointerLeft();
    void viewChanged();
    // The pass a replay shows; -1 when it is left.
    void replayPassChanged(long long pass);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    // The sunken border, in device-independent pixels on each side.
    static constexpr int kBorderDip = 2;

    QSizeF innerDip() const;
    UserFrame currentFrame() const;
    // The mapping of the current image through the frame of the latest
    // drawing (the current frame when nothing is drawn).
    SurfaceMapping shownMapping() const;
    SurfaceMapping mappingWith(const UserFrame& frame) const;
    void blankImage();
    void leaveTwipMode();
    void ensureImage();
    void afterDrawing();
    // The painter of the image (or of the print image while imageAt works),
    // opened on first use; closePainter ends it before the image is read.
    SurfacePainter* painter();
    void closePainter();
    // Paints the scene again when a change asked for it, in one slice of
    // time when `sliced`, else to its end.
    void bringUpToDate(bool sliced = false);
    void invalidateImage();
    void notePointer(QPointF widgetPos);

    // Until the coordinate system is set, one unit per twip follows the size.
    bool twipMode_ = true;
    double scaleLeft_ = 0.0;
    double scaleTop_ = 0.0;
    double scaleWidth_ = 0.0;
    double scaleHeight_ = 0.0;

    SurfaceMapping mapping_;  // the view and the image; frames come per drawing
    QImage image_;            // the inner area in device pixels, as shown
    double imageDpr_ = 1.0;
    // Where drawing goes: the image and its mapping, or a print image.
    QImage* target_ = &image_;
    const SurfaceMapping* targetMapping_ = &mapping_;
    PartChunk chunk_;  // the painter's parts, kept between painters
    std::unique_ptr<SurfacePainter> painter_;
    int lineWidth_ = 1;
    // The frame of the latest drawing since Cls.
    std::optional<UserFrame> drawnFrame_;
    // While the scene paints: the frame it was drawn in.
    std::optional<UserFrame> sceneFrame_;
    Scene scene_;
    MillisecondClock clock_ = elapsedClock();
    bool sceneStale_ = false;
    bool sceneUnfinished_ = false;
    bool inScene_ = false;
    bool updateRequested_ = false;
    std::optional<QPointF> pointer_;  // last pointer position over the surface
    long long passes_ = 0;
    long long replay_ = -1;
};

}  // namespace quorel
