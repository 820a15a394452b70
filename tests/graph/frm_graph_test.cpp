#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QSet>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <tuple>

#include "app/mdi_form.h"
#include "common/failure.h"
#include "common/form_geometry.h"
#include "common/numtext.h"
#include "engine/engine.h"
#include "graph/frm_graph.h"
#include "graph/run_drawing.h"
#include "graph/surface_painter.h"
#include "run/run_model.h"
#include "solver/driver.h"
#include "table/frm_dspdta.h"
#include "tests/support/recording_dialogs.h"

namespace quorel {
namespace {

const QColor kBlack(0, 0, 0), kWhite(255, 255, 255), kBlue(0, 0, 255), kRed(255, 0, 0),
    kGreen(0, 255, 8);

// The graph window as the main window holds it: an MDI child at the start-up place.
class GraphWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        state.OrgFracX = state.OrgFracY = 0.5;
        state.NewLine = "\r\n";
        area.resize(1400, 900);
        form = new FrmGraph(state);
        sub = area.addSubWindow(form);
        form->setMinimumSize(0, 0);
        sub->setMinimumSize(0, 0);
        area.show();
        setOuterGeometryTwips(form, 5300, 0, 7845, 9000);
        sub->show();
        QObject::connect(form, &FrmGraph::calculationRequested,
                         [this](const QString& t) { started.push_back(t.toStdString()); });
    }
    auto shared() const { return std::tuple(state.GraphW, state.GraphH, state.OrgX, state.OrgY); }
    // The Clear action: x0 on the y axis, then the frame.
    void clear(double x0) {
        state.OffX = state.OrgX - x0;
        form->INZGraph(x0);
    }
    double clickAt(QPoint pos, Qt::MouseButton button) {
        QTest::mouseClick(&form->picThree(), button, {}, pos);
        return textToNumber(started.back());
    }
    QColor at(double worldX, double worldY) {
        return form->picThree().pixelAt(worldX + state.OffX, worldY + state.OrgY);
    }
    PlotSurface& pic() { return form->picThree(); }
    double dpr() { return pic().devicePixelRatioF(); }
    // Where a world point shows, in widget pixels, through the view.
    QPointF shown(double x, double y) { return pic().toWidget(x + state.OffX, y + state.OrgY); }
    QPointF worldUnder(QPointF widgetPos) {
        return pic().shownUserAt(widgetPos) - QPointF(state.OffX, state.OrgY);
    }
    // Whether a pixel of colour c lies within `reach` widget pixels of a widget point.
    bool colourNear(QPointF widgetPos, QColor c, int reach = 1) {
        const QImage img = pic().image();
        const QPointF d = (widgetPos - QPointF(2, 2)) * dpr();
        const int r = reach * int(std::ceil(dpr()));
        for (int i = -r; i <= r; ++i)
            for (int j = -r; j <= r; ++j) {
                const QPoint p(int(std::floor(d.x())) + i, int(std::floor(d.y())) + j);
                if (img.rect().contains(p) && img.pixelColor(p) == c) return true;
            }
        return false;
    }
    bool nearShown(double x, double y, QColor c, int reach = 1) {
        return colourNear(shown(x, y), c, reach);
    }

    ProgramState state;
    testing::RecordingDialogs dialogs;
    QMdiArea area;
    QMdiSubWindow* sub = nullptr;
    FrmGraph* form = nullptr;
    std::vector<std::string> started;
};

TEST_F(GraphWindow, SharedStateFollowsTheOuterSize) {
    EXPECT_EQ(form->caption(), "draw area");
    EXPECT_EQ(shared(), std::tuple(39, 90, 19.0, 45.0));
    const PlotSurface& pic = form->picThree();
    EXPECT_EQ(pic.size(), form->size() - QSize(4, 4));

    clear(2);
    sub->resize(400, 500);  // 6000 x 7500 twips
    EXPECT_EQ(shared(), std::tuple(30, 75, 15.0, 37.0));
    EXPECT_EQ(state.OffX, 15 - 2);  // drawn afresh, the centre on the new y axis
    EXPECT_EQ(pic.size(), form->size() - QSize(4, 4));

    sub->resize(3, 3);
    EXPECT_GE(state.GraphW, 1);
    EXPECT_GE(state.GraphH, 1);
    clear(0);
}

TEST_F(GraphWindow, CurveSamplesAndTangents) {
    clear(0);
    const QImage blank = pic().image();
    form->Line_C(1, 2);  // starts a piece: nothing drawn
    EXPECT_EQ(pic().image(), blank);
    form->Line_C(4, 2);
    EXPECT_EQ(at(2.5, 2), kBlue);
    const QImage drawn = pic().image();
    form->Line_C(5, 3.5e38);  // beyond single precision: skipped silently
    EXPECT_EQ(pic().image(), drawn);
    form->Line_C(6, -30);  // starts a new piece: no bridge over the skipped sample
    form->Line_C(7, -30);
    EXPECT_FALSE(nearShown(5, -14, kBlue));
    EXPECT_EQ(at(6.5, -30), kBlue);
    form->endCurvePiece();
    form->Line_C(8, 0);
    EXPECT_FALSE(nearShown(7.5, -15, kBlue));

    std::vector<int> reported;
    const auto report = [&](int number) { reported.push_back(number); };
    form->Line_A(0, 0, 1e9, 2e9, report);  // ends far off the surface
    for (double x : {1.0, 20.0}) EXPECT_TRUE(nearShown(x, 2 * x, kRed)) << x;
    form->Line_A(-1e30, 30, 1e30, 30, report);
    for (double x = -state.OrgX; x <= state.GraphW - state.OrgX; x += 0.5)
        EXPECT_EQ(at(x, 30), kRed) << x;
    EXPECT_TRUE(reported.empty());

    const QImage before = pic().image();
    form->Line_A(1, 2, 1e39, 0, report);
    EXPECT_EQ(reported, std::vector<int>{kErrOverflow});
    EXPECT_EQ(pic().image(), before);
}

TEST_F(GraphWindow, ClickStartsFromTheWorldXUnderThePointer) {
    const double unitPx = (pic().width() - 4.0) / state.GraphW;
    // Before any frame: read as the frame centred on 0 that a Clear would draw.
    const int threeQuarters = 2 + (pic().width() - 4) * 3 / 4;
    EXPECT_NEAR(clickAt(QPoint(threeQuarters, 40), Qt::RightButton),
                0.75 * state.GraphW - state.OrgX, 1 / unitPx);

    clear(5);
    EXPECT_NEAR(clickAt(shown(3.25, 0).toPoint(), Qt::LeftButton), 3.25, 1 / unitPx);

    sub->resize(400, 500);  // drawn afresh for the size: the x moves with its drawing
    EXPECT_NEAR(clickAt(shown(3.25, 0).toPoint(), Qt::MiddleButton), 3.25,
                state.GraphW / (pic().width() - 4.0));
    EXPECT_EQ(started.size(), 3u);
    form->picThree_MouseDown(1, 0, 2.0625 + state.OffX, 0);
    EXPECT_EQ(started.back(), "2.062");
}

// A new view of a long run is painted in slices of a frame, input seen in
// between, and comes out as painted at once.
TEST_F(GraphWindow, ALongRunIsPaintedAgainInSlicesOfAFrame) {
    RunModel run;
    run.clear(0);
    form->setRun(&run);
    clear(0);
    double x = 0.5;
    for (int r = 0; r < 100000; ++r) {
        const double fx = x * x + 1, dfx = 2 * x;
        run.setRow(r, {CellValue{x, 0}, CellValue{fx, 0}, CellValue{dfx, 0}});
        x -= fx / dfx;
    }
    run.publish();
    drawRows(*form, run, 0, run.rows().size() - 1);
    // Each read of the clock is 1 ms later.
    long long now = 0;
    pic().setClock([&now] { return now++; });
    QTest::keyClick(&pic(), Qt::Key_Minus);
    ASSERT_TRUE(pic().scenePending());
    pic().grab();
    EXPECT_TRUE(pic().scenePending());
    EXPECT_LE(now, PlotSurface::kSliceMs + 2);
    int slices = 1;
    for (; pic().scenePending() && slices < 100; ++slices) {
        now = 0;
        pic().grab();
        EXPECT_LE(now, PlotSurface::kSliceMs + 2);
    }
    EXPECT_FALSE(pic().scenePending());
    EXPECT_GT(slices, 2);
    const QImage sliced = pic().image();
    pic().repaintScene();
    EXPECT_EQ(pic().image(), sliced);
    form->setRun(nullptr);
}

// What must hold at any device pixel ratio: these run once more at ratio 2.
class GraphView : public GraphWindow {
  protected:
    static double f(double x) { return x * x * x - 3 * x - 10; }

    // "X^3-3X-10" from 3 as a calculation draws it; the iterates, the root last.
    std::vector<double> typicalRun() {
        driver().calculate({"X^3-3X-10", "3", "0.000001", "55", false});
        std::vector<double> xs;
        for (long long r = 0; r < table.rowCount(); ++r) xs.push_back(table.cellValue(1, r).value);
        return xs;
    }
    void wheel(QPointF pos, int delta, Qt::KeyboardModifiers mods = {}) {
        QWheelEvent e(pos, pic().mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(&pic(), &e);
    }
    // The centre label's green pixels: their bounding box, and their ink mass.
    static QRect greenBox(const QImage& img, double* mass = nullptr) {
        QRect box;
        double m = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c.red() == c.blue() && c.green() > c.red()) {
                    box |= QRect(x, y, 1, 1);
                    m += (255 - c.red()) / 255.0;
                }
            }
        if (mass) *mass = m;
        return box;
    }
    // The ink of a text printed on a bare surface, far from its edges.
    static QRect bareInk(const std::string& text, const QFont& font, double* mass = nullptr) {
        PlotSurface bare;
        bare.resize(900, 120);
        bare.PrintFont = font;
        bare.ForeColor = QColor(0, 255, 0);
        bare.CurrentX = bare.CurrentY = 300;
        bare.Print(text);
        return greenBox(bare.image(), mass);
    }

    // A calculation of `f` from `x0`.
    void run(const char* f, const char* x0) {
        driver().calculate({f, x0, "0.000001", "55", false});
    }
    // A driver writing the run the graph and the table show.
    IterationDriver& driver() {
        if (!driver_) {
            driver_ = std::make_unique<IterationDriver>(state, engine, dialogs, runModel);
            connectRun(runModel, *driver_, {*form, table});
        }
        return *driver_;
    }

    Engine engine;
    RunModel runModel;
    FrmDSPDTA table{&runModel};
    std::unique_ptr<IterationDriver> driver_;
};

// The pixels of one colour connected (8 ways) to the first such pixel of the
// image, and all pixels of that colour.
std::pair<int, int> connectedOf(const QImage& img, QRgb rgb, const QSet<QRgb>& through) {
    std::vector<char> seen(std::size_t(img.width()) * img.height(), 0);
    std::vector<QPoint> todo;
    int all = 0, reached = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == rgb && all++ == 0) todo.emplace_back(x, y);
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (!img.rect().contains(p) || !through.contains(img.pixel(p))) continue;
        char& s = seen[std::size_t(p.y()) * img.width() + p.x()];
        if (s) continue;
        s = 1;
        reached += img.pixel(p) == rgb;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) todo.emplace_back(p.x() + dx, p.y() + dy);
    }
    return {reached, all};
}

TEST_F(GraphView, NoLineThroughAPoleWhileSteepCurvesStayJoined) {
    run("1/(x-3.5)", "3");
    const QImage img = pic().image();
    // The columns either side of the pole: no blue run the plot's height.
    const int pole = int((shown(3.5, 0).x() - 2) * dpr());
    for (int x = pole - 3 * int(dpr()); x <= pole + 3 * int(dpr()); ++x) {
        int blue = 0;
        for (int y = 0; y < img.height(); ++y) blue += img.pixel(x, y) == kBlue.rgb();
        EXPECT_LT(blue, img.height() / 2) << x - pole;
    }
    // Both branches drawn right up to the plot's edges.
    EXPECT_TRUE(nearShown(3.5 - 1 / 40.0, -40, kBlue, 2));
    EXPECT_TRUE(nearShown(3.5 + 1 / 40.0, 40, kBlue, 2));

    for (const char* f : {"x^9", "exp(x)", "100000(x-1.005)"}) {
        run(f, "1");
        // One line: every blue pixel reached from the first through the
        // curve and what is drawn over it.
        const auto [reached, all] =
            connectedOf(pic().image(), kBlue.rgb(), {kBlue.rgb(), kRed.rgb(), kGreen.rgb()});
        EXPECT_GT(all, 100) << f;
        EXPECT_EQ(reached, all) << f;
    }
}

TEST_F(GraphView, CentreLabelNamesTheMiddleOnceTheViewMoves) {
    run("X^3-3X-10", "3");
    EXPECT_EQ(form->centerText().toStdString(), std::string(kCenterLabelHead) + "3,0)");
    const QPointF middle(pic().width() / 2.0, pic().height() / 2.0);
    auto named = [&] {
        const QString text = form->centerText();
        EXPECT_TRUE(text.startsWith(kCenterLabelHead)) << text.toStdString();
        const QStringList xy = text.mid(QString(kCenterLabelHead).size()).chopped(1).split(',');
        EXPECT_EQ(xy.size(), 2);
        return xy.size() == 2
                   ? QPointF(textToNumber(xy[0].toStdString()), textToNumber(xy[1].toStdString()))
                   : QPointF();
    };
    auto expectMiddleNamed = [&](const char* after) {
        const QPointF at = named(), mid = worldUnder(middle);
        const QPointF pixel = worldUnder(middle + QPointF(1, 1)) - mid;
        EXPECT_NEAR(at.x(), mid.x(), std::fabs(pixel.x())) << after;
        EXPECT_NEAR(at.y(), mid.y(), std::fabs(pixel.y())) << after;
        // Shown in the label's colour, the drawn label gone from the picture.
        const QImage shot = pic().grab().toImage();
        EXPECT_FALSE(greenBox(shot).isEmpty()) << after;
        EXPECT_TRUE(greenBox(pic().image()).isEmpty()) << after;
    };
    pic().setFocus();
    QTest::keyClick(&pic(), Qt::Key_Right);
    QTest::keyClick(&pic(), Qt::Key_Up);
    expectMiddleNamed("a pan");
    EXPECT_GT(named().x(), 5);
    wheel(shown(10, 20), 3 * 120);
    expectMiddleNamed("a wheel zoom");
    QTest::keyClick(&pic(), Qt::Key_Home);
    EXPECT_EQ(form->centerText().toStdString(), std::string(kCenterLabelHead) + "3,0)");
    EXPECT_FALSE(greenBox(pic().image()).isEmpty());
}

TEST_F(GraphView, TypicalRunDrawnAtTheSpecifiedScale) {
    const std::vector<double> xs = typicalRun();
    ASSERT_EQ(xs.size(), 5u);
    // Axes through (3, 0), a tick, the curve, the first tangent, markers, white elsewhere.
    EXPECT_TRUE(nearShown(3, 30, kBlack, 0));
    for (int k = -16; k <= 22; ++k) EXPECT_TRUE(nearShown(k, 0.2, kBlack, 0)) << k;
    EXPECT_FALSE(nearShown(-10.5, 0.2, kBlack, 0));
    for (double x : {-2.0, 0.0, 1.0, 2.0}) EXPECT_TRUE(nearShown(x, f(x), kBlue)) << x;
    EXPECT_TRUE(nearShown((3 + xs[1]) / 2, 4, kRed));
    EXPECT_TRUE(nearShown(xs.back() + 0.3, 0, kGreen));
    EXPECT_TRUE(nearShown(3, 8 + 0.1 * 90 / 39 * 564 / 507, kGreen));
    EXPECT_TRUE(nearShown(10, 40, kWhite, 0));
}

TEST_F(GraphView, ZoomAboutThePointerAndHomeAgain) {
    const std::vector<double> xs = typicalRun();
    const double root = xs.back();
    const QImage home = pic().image();
    const QPointF p = shown(root, 0);
    const QPointF under = worldUnder(p);
    const double unitX = worldUnder(p + QPointF(40, 0)).x() - under.x();
    const double unitY = worldUnder(p + QPointF(0, 40)).y() - under.y();

    wheel(p, 4 * 120);  // four notches in
    const double f4 = std::pow(PlotSurface::kZoomStep, 4);
    EXPECT_NEAR(worldUnder(p).x(), under.x(), 1e-9);
    EXPECT_NEAR(worldUnder(p + QPointF(40, 0)).x() - under.x(), unitX / f4, 1e-9);
    // Redrawn at the new scale: the curve and the axis where they now show.
    for (double x : {root - 0.5, root + 0.6}) EXPECT_TRUE(nearShown(x, f(x), kBlue)) << x;
    EXPECT_TRUE(nearShown(root - 1, 0, kBlack));

    wheel(p, 120, Qt::ControlModifier);  // y alone
    EXPECT_NEAR(worldUnder(p + QPointF(40, 0)).x() - under.x(), unitX / f4, 1e-9);
    EXPECT_NEAR(worldUnder(p + QPointF(0, 40)).y() - under.y(),
                unitY / (f4 * PlotSurface::kZoomStep), 1e-9);
    EXPECT_NEAR(worldUnder(p).y(), under.y(), 1e-9);

    // + and - about the middle, the arrows move the view.
    const QPointF middle(pic().width() / 2.0, pic().height() / 2.0);
    const QPointF atMiddle = worldUnder(middle);
    for (auto key : {Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Minus}) {
        QTest::keyClick(&pic(), key);
        EXPECT_NEAR(QLineF(worldUnder(middle), atMiddle).length(), 0, 1e-9) << key;
    }
    QTest::keyClick(&pic(), Qt::Key_Right);
    QTest::keyClick(&pic(), Qt::Key_Up);
    EXPECT_GT(worldUnder(middle).x(), atMiddle.x());
    EXPECT_GT(worldUnder(middle).y(), atMiddle.y());

    QTest::keyClick(&pic(), Qt::Key_Home);
    EXPECT_EQ(pic().image(), home);
    EXPECT_EQ(worldUnder(p), under);
    // A Clear returns to the frame at scale one too.
    wheel(p, 3 * 120);
    typicalRun();
    EXPECT_EQ(pic().image(), home);
}

TEST_F(GraphView, ZoomedInOnTheRootTheTangentsSeparateAndMarkersStayVisible) {
    const std::vector<double> xs = typicalRun();
    const double root = xs.back();
    // 40 notches: a pixel spans about 0.0001 x units.
    for (int i = 0; i < 10; ++i) wheel(shown(root, 0), 4 * 120);
    const double perPixel = worldUnder(shown(root, 0) + QPointF(1, 0)).x() - root;
    ASSERT_LT(perPixel, 2e-4);
    // The third tangent now shows apart from the root marker, near its foot.
    const double footX = xs[3] + 0.1 * (xs[2] - xs[3]);
    EXPECT_TRUE(nearShown(footX, 0.1 * f(xs[2]), kRed));
    EXPECT_FALSE(nearShown(footX + 3 * perPixel, 0.1 * f(xs[2]), kRed, 0));
    // The root marker (0.3 units, 3.9 pixels at home) grows threefold, not with the zoom.
    const QPointF rootAt = shown(root, 0) + QPointF(3 * 0.3 * 507 / 39, 0);
    EXPECT_TRUE(colourNear(rootAt, kGreen));
    EXPECT_FALSE(colourNear(rootAt + QPointF(4, 0), kGreen));
    // Three steps out, where 0.1 units is under a pixel, markers keep a few pixels.
    QTest::keyClick(&pic(), Qt::Key_Home);
    for (int i = 0; i < 3; ++i) QTest::keyClick(&pic(), Qt::Key_Minus);
    ASSERT_LT(0.1 / (worldUnder(shown(3, 0) + QPointF(1, 0)).x() - 3), 1.0);
    for (double dx : {SurfacePainter::kMinMarkerRadius, -SurfacePainter::kMinMarkerRadius})
        EXPECT_TRUE(colourNear(shown(3, 8) + QPointF(dx, 0), kGreen)) << dx;
}

TEST_F(GraphView, ClickAndPointerAfterZoomingReadTheXUnderThePointer) {
    clear(5);
    const QPointF a(150, 200), b(301, 421);
    const QPointF worldA = worldUnder(a), worldB = worldUnder(b);
    wheel(a, 3 * 120);
    const double f3 = std::pow(PlotSurface::kZoomStep, 3);
    const double clicked = clickAt(b.toPoint(), Qt::LeftButton);
    EXPECT_NEAR(clicked, worldA.x() + (worldB.x() - worldA.x()) / f3,
                0.0005 + (1.0 / f3) * 39 / 507);
    EXPECT_EQ(roundHalfEven(clicked, 3), clicked);

    // The pointer's coordinates, shown while it is over the surface.
    EXPECT_TRUE(form->pointerText().isEmpty());
    QMouseEvent move(QEvent::MouseMove, b, pic().mapToGlobal(b), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&pic(), &move);
    const QString text = form->pointerText();
    const QStringList parts = text.mid(2).split("  y=");
    ASSERT_TRUE(text.startsWith("x=") && parts.size() == 2) << text.toStdString();
    EXPECT_EQ(textToNumber(parts[0].toStdString()), clicked);
    EXPECT_NEAR(textToNumber(parts[1].toStdString()), worldA.y() + (worldB.y() - worldA.y()) / f3,
                0.0005 + 90.0 / 564 / f3);
    // Deeper in, more decimals; the coordinates never cover the centre label.
    for (int i = 0; i < 8; ++i) wheel(b, 4 * 120);
    const QString deeper = form->pointerText();
    EXPECT_GT(deeper.indexOf("  y=") - deeper.indexOf('.'), 4) << deeper.toStdString();
    const QLabel* overlay = form->findChild<QLabel*>("pointerCoordinates");
    ASSERT_NE(overlay, nullptr);
    const QRect label = greenBox(pic().image());
    EXPECT_FALSE(overlay->geometry().intersects(
        QRect(label.topLeft() / dpr(), label.size() / dpr()).translated(2, 2)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&pic(), &leave);
    EXPECT_TRUE(form->pointerText().isEmpty());
}

TEST_F(GraphView, CentreLabelStaysWholeBoldAndInsideTheSurface) {
    auto check = [&](double centre, double points) {
        clear(centre);
        const std::string text = "coordinate center\uFF1A (" + numberToText(centre) + ",0)";
        const QImage img = pic().image();
        double mass = 0, regularMass = 0;
        const QRect ink = greenBox(img, &mass);
        // Inside, with at least one pixel of white on every side.
        EXPECT_GE(ink.left(), 1) << centre;
        EXPECT_LE(ink.right(), img.width() - 2) << centre;
        EXPECT_LE(ink.bottom(), img.height() - 2) << centre;
        // Whole: as wide as the whole text printed where nothing cuts it.
        EXPECT_NEAR(ink.width(), bareInk(text, formFont(kFaceKai, points, true)).width(), 1)
            << centre;
        // Bold: clearly more ink than the regular face gives.
        bareInk(text, formFont(kFaceKai, points, false), &regularMass);
        EXPECT_GT(mass, 1.5 * regularMass) << centre;
    };
    for (double centre : {3.0, -3.0, -123456.0, 700.0, 1e15}) check(centre, 9);
    // Where even the left edge is too near, the label gets smaller.
    sub->resize(150, 300);
    clear(1e15);
    const double points = pic().PrintFont.pointSizeF();
    EXPECT_LT(points, 9);
    check(1e15, points);
}

}  // namespace
}  // namespace quorel
