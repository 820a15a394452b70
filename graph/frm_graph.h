// The graph window: the drawing surface picThree with the axes, ticks and
// centre label (INZGraph), the curve (Line_C) and tangents (Line_A), the
// layout on resize and the click that starts a calculation.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "common/program_state.h"
#include "graph/plot_surface.h"

class QLabel;

namespace quorel {
class BasinStrip;
class OutcomeLine;
class RunModel;
}  // namespace quorel

namespace quorel {

inline constexpr const char* kGraphCaptionLoad = "draw area";
inline constexpr const char* kCenterLabelHead = "coordinate center\uFF1A (";

class FrmGraph : public QWidget {
    Q_OBJECT
  public:
    explicit FrmGraph(ProgramState& state, QWidget* parent = nullptr);

    // The run the graph shows: whenever the picture is painted again (a new
    // view, size or replay) its curve and rows are painted from it.
    void setRun(const RunModel* run);

    // One curve sample: starts a piece of the curve at it, or draws a blue
    // segment from the sample before. A sample that cannot be drawn is left
    // out silently and ends the piece: the next one starts a new piece.
    void Line_C(double x, double y);
    // Ends the piece of the curve drawn so far (a sample f has no value at).
    void endCurvePiece() { curvePenDown_ = false; }
    // One red tangent segment; a failure goes to `report` and the call returns.
    void Line_A(double x1, double y1, double x2, double y2, const std::function<void(int)>& report);
    // Clears the surface and draws axes, ticks, the underlay and the centre
    // label; the outcome line goes.
    void INZGraph(double center);
    // What is drawn under every calculation, right after the axes (the
    // previous run kept for comparison); drawn again with each frame.
    void setUnderlay(std::function<void()> draw) { underlay_ = std::move(draw); }
    // The frame drawn afresh, as it is, with what was drawn after it.
    void redrawAsIs() { replayForSize(true); }
    // States how the calculation ended, on the surface; "" hides it.
    void showOutcome(const std::string& text);
    QString outcomeText() const;
    // The centre label as shown: once the view is zoomed or moved it names
    // the world point in the middle of the view.
    QString centerText() const;
    // Frames the run: the view shows every iterate (Xi, f(Xi)) with a margin,
    // and the curve is drawn across it. Points beyond the drawing are left out.
    void frameRun();
    // Lays the window out after a size change and recomputes GraphW, GraphH,
    // OrgX and OrgY from the outer size.
    void Form_Resize();
    // Mouse press on the surface: the world x under the pointer, rounded to 3
    // decimals (ties to even), goes out as calculationRequested.
    void picThree_MouseDown(int button, int shift, double x, double y);

    // The world point a click at a user point of the surface stands for.
    // Before the first frame it is read in the frame centred on 0 that a
    // Clear would draw for the present size.
    QPointF worldAt(double x, double y) const;
    // The pointer's world coordinates as shown over the surface; empty while
    // the pointer is elsewhere.
    QString pointerText() const;

    const ProgramState& state() const { return state_; }

    void setCaption(const std::string& caption);
    std::string caption() const;
    void Refresh();

    PlotSurface& picThree();
    BasinStrip& basins() { return *basins_; }
    // Shows or hides the basin strip; the centre label and the outcome line
    // stand above it while it shows (the frame is drawn again for that).
    void showBasins(bool on);
    bool basinsShown() const;
    // Hides the strip and keeps its room (a calculation runs: it shows after).
    void holdBasins();
    QLabel& LabX();
    QLabel& LabY();

    // GraphW, GraphH, OrgX and OrgY from the window's outer size (at least one
    // unit each way).
    void computeGraphState();

  signals:
    // A click asks for a calculation from this initial-value text.
    void calculationRequested(const QString& initialValueText);
    // "[" or "]": a replay step back (-1) or forward (+1).
    void replayStepRequested(int step);
    // A new size or view wants the curve drawn afresh (Line_C) across the
    // world x from `from` to `to`, what the view shows; answered at once or
    // not at all, in which case the old curve is moved along with the rest.
    void curveWanted(double from, double to);

  protected:
    void resizeEvent(QResizeEvent* e) override;
    bool event(QEvent* e) override;

  private:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void watchOuterWindow();
    void placeLabel(QLabel* label, double left, double top);
    void onSurfaceMouseDown(double x, double y, Qt::MouseButton button);
    void startFrom(double worldX);
    void showPointer(QPointF widgetPos);
    void placeCenterLabel(const std::string& text);
    void placeOutcome();
    // The frame drawn afresh for the present size, the view set by `setView`
    // (at home when empty), the curve sampled across it and the run painted
    // again, moved along with the axes. `force` redraws even when the size
    // has not changed.
    void replayForSize(bool force = false);
    void redrawFrame(const std::function<void()>& setView);
    // The whole picture again: the frame as drawn, then the run, its rows in
    // batches until timeUp(); true when done.
    bool paintScene(bool restart, const std::function<bool()>& timeUp);
    void drawAxes(double w, double h, double orgX, double orgY);
    void showViewCenter();
    // The room kept at the bottom of the surface for the basin strip (DIP).
    void reserveBottom(int dip);
    void placeAxisLabels();

    ProgramState& state_;
    PlotSurface* pic_;
    QLabel* labX_;
    QLabel* labY_;
    // The pointer's world coordinates, in the top left corner of the surface.
    QLabel* pointer_;
    // The centre label of a zoomed or moved view, over the drawn one.
    QLabel* viewCenter_;
    // Where the centre label was printed: the pen (widget pixels and user
    // coordinates), the font and the text.
    QPointF centerPen_;
    QPointF centerPenUser_;
    QFont centerFont_;
    std::string centerText_;
    const RunModel* run_ = nullptr;
    // The rows a picture painted in slices has painted so far.
    long long sceneRows_ = 0;
    // Where the centre label stands (surface widget pixels).
    QRectF centerLabelRect_;
    // The outer window whose size changes run Form_Resize (none when standalone).
    QPointer<QWidget> watched_;
    // Set by the first INZGraph: from then on the surface holds a plot.
    bool framed_ = false;
    // The next curve sample continues the piece drawn so far, whose last
    // sample and the one before it (NaN: none) stand at these plot y.
    bool curvePenDown_ = false;
    double curveLast_ = 0, curveBefore_ = 0;
    OutcomeLine* outcome_;
    BasinStrip* basins_;
    int bottomReserve_ = 0;
    std::function<void()> underlay_;
    // What the last INZGraph drew: its centre, plot size and axes and the
    // surface size it filled.
    struct Frame {
        double center = 0, w = 0, h = 0, orgX = 0, orgY = 0;
        QSize surface;
    } frame_;
};

}  // namespace quorel
