#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graph/drawing_record.h"
#include "graph/surface_mapping.h"

namespace quorel {
namespace {

// The plot frame of the start-up size: 39 x 90 units over 507 x 564 pixels.
SurfaceMapping plotMapping(double dpr) {
    SurfaceMapping m;
    m.setFrame({0, 90, 39, -90, QSizeF(507, 564)});
    m.setDevice(QSize(qRound(507 * dpr), qRound(564 * dpr)), dpr);
    return m;
}

void expectNear(QPointF a, QPointF b, double tol) {
    EXPECT_NEAR(a.x(), b.x(), tol);
    EXPECT_NEAR(a.y(), b.y(), tol);
}

TEST(SurfaceMapping, RoundTripsThroughTheViewAndBackHome) {
    for (double dpr : {1.0, 2.0}) {
        SurfaceMapping m = plotMapping(dpr);
        const std::vector<QPointF> points = {{0, 0}, {19, 45}, {39, 90}, {2.61, 44.9}, {-5, 120}};
        // At home the frame fills the area: plot (19, 45) is the middle, y grows upwards.
        expectNear(m.toInner(19.5, 45), QPointF(253.5, 282), 1e-9);
        expectNear(m.toDevice(0, 0), QPointF(0, 564 * dpr), 1e-9);
        for (QPointF p : points) {
            expectNear(m.toUser(m.toInner(p.x(), p.y())), p, 1e-9);
            expectNear(m.toDevice(p.x(), p.y()), m.toInner(p.x(), p.y()) * dpr, 1e-9);
        }
        const QPointF at(123.25, 400.5);
        const QPointF under = m.toUser(at);
        m.zoomAbout(at, 8, 8);
        expectNear(m.toUser(at), under, 1e-9);
        // Distances from the fixed point shrink eightfold in user units.
        EXPECT_NEAR(m.toUser(at + QPointF(80, 0)).x() - under.x(), 80.0 / 8 * 39 / 507, 1e-9);
        m.zoomAbout(at, 1, 2);  // y alone
        EXPECT_NEAR(m.toUser(at + QPointF(80, 0)).x() - under.x(), 80.0 / 8 * 39 / 507, 1e-9);
        EXPECT_NEAR(m.toUser(at + QPointF(0, 40)).y() - under.y(), -40.0 / 16 * 90 / 564, 1e-9);
        m.pan(-30, 12);
        expectNear(m.toUser(at + QPointF(-30, 12)), under, 1e-9);
        for (QPointF p : points) {
            expectNear(m.toUser(m.toInner(p.x(), p.y())), p, 1e-9);
            expectNear(m.toDevice(p.x(), p.y()), m.toInner(p.x(), p.y()) * dpr, 1e-6);
        }
        EXPECT_FALSE(m.atHome());
        m.home();
        const SurfaceMapping fresh = plotMapping(dpr);
        for (QPointF p : points) EXPECT_EQ(m.toDevice(p.x(), p.y()), fresh.toDevice(p.x(), p.y()));

        // Zooming in and out by the same steps returns home exactly.
        for (int i = 0; i < 5; ++i) m.zoomAbout(at, 1.25, 1.25);
        for (int i = 0; i < 5; ++i) m.zoomAbout(at, 1 / 1.25, 1 / 1.25);
        EXPECT_TRUE(m.atHome());
        // The zoom stops at its limit and still keeps the point fixed.
        m.zoomAbout(at, 1e9, 1e9);
        EXPECT_EQ(m.zoomX(), SurfaceMapping::kMaxZoom);
        expectNear(m.toUser(at), under, 1e-9);
    }
}

TEST(SurfaceMapping, ClipsAtTheEdges) {
    const SurfaceMapping m = plotMapping(1);
    QLine px;
    // Inside: the pixels under the ends.
    ASSERT_TRUE(m.clipToDevice(19, 45, 20, 45, px));
    EXPECT_EQ(px, QLine(247, 282, 260, 282));
    // Across the left and right edges: the first and last columns.
    ASSERT_TRUE(m.clipToDevice(-1e30, 30, 1e30, 30, px));
    EXPECT_EQ(px, QLine(0, 376, 506, 376));
    // A diagonal through the plot's corners, cut where it leaves.
    ASSERT_TRUE(m.clipToDevice(-39, -90, 78, 180, px));
    EXPECT_EQ(px.p1(), QPoint(0, 563));
    EXPECT_EQ(px.p2(), QPoint(506, 0));
    // On the bottom edge exactly and past it.
    ASSERT_TRUE(m.clipToDevice(5, 0, 10, 0, px));
    EXPECT_EQ(px.y1(), 563);
    EXPECT_FALSE(m.clipToDevice(5, -0.5, 10, -0.5, px));
    EXPECT_FALSE(m.clipToDevice(40, 10, 50, 80, px));
    EXPECT_FALSE(m.clipToDevice(10, 10, NAN, 80, px));
    // A far end does not swamp the near one.
    ASSERT_TRUE(m.clipToDevice(19, 45, 19 + 1e15, 45 + 1e15, px));
    EXPECT_EQ(px.p1(), QPoint(247, 282));

    // Zoomed eightfold about the middle: one unit spans 104 pixels, and the
    // x axis runs from edge to edge.
    SurfaceMapping z = m;
    z.zoomAbout(QPointF(253.5, 282), 8, 8);
    ASSERT_TRUE(z.clipToDevice(19, 45, 20, 45, px));
    EXPECT_EQ(px, QLine(201, 282, 305, 282));
    ASSERT_TRUE(z.clipToDevice(-100, 45, 200, 45, px));
    EXPECT_EQ(px, QLine(0, 282, 506, 282));

    SurfaceMapping none = m;
    none.setDevice(QSize(0, 0), 1);
    EXPECT_FALSE(none.clipToDevice(19, 45, 20, 45, px));
}

// Collects a replay.
struct Trace {
    void frame(const UserFrame& f) { frames.push_back(f.left); }
    void line(const DrawingRecord::Line& l, QRgb rgb, std::size_t i) {
        kinds += 'L';
        rgbs.push_back(rgb);
        xs.push_back(l.x2);
        indices.push_back(i);
    }
    void circle(const DrawingRecord::Circle& c, QRgb rgb, std::size_t i) {
        kinds += 'C';
        rgbs.push_back(rgb);
        xs.push_back(c.radius);
        centres.push_back(QPointF(c.x, c.y));
        indices.push_back(i);
    }
    void text(const DrawingRecord::Text& t) { kinds += 'T' + t.text.toStdString(); }
    std::vector<double> frames, xs;
    std::vector<QPointF> centres;
    std::vector<QRgb> rgbs;
    std::vector<std::size_t> indices;
    std::string kinds;
};

TEST(DrawingRecord, ReplaysInDrawingOrderAndStaysCompact) {
    DrawingRecord r;
    const UserFrame a{0, 90, 39, -90, QSizeF(507, 564)}, b{0, 0, 7605, 8475, QSizeF(507, 564)};
    r.addLine(a, {0, 0, 1, 1}, qRgb(0, 0, 0));
    r.addText(a, {QPointF(3, 4), "label", QFont(), qRgb(0, 255, 0)});
    r.addCircle(a, {1, 1, 0.5f}, qRgb(0, 255, 8));
    r.addLine(b, {0, 0, 2, 2}, qRgb(255, 0, 0));
    r.addLine(b, {0, 0, 3, 3}, qRgb(255, 0, 0));
    r.addCircle(b, {1, 1, 0.25f}, qRgb(0, 0, 255));
    Trace t;
    DrawingRecord::Cursor c;
    r.replay(c, t);
    EXPECT_EQ(t.kinds, "LTlabelCLLC");
    EXPECT_EQ(t.frames, (std::vector<double>{0, 0}));
    EXPECT_EQ(t.rgbs, (std::vector<QRgb>{qRgb(0, 0, 0), qRgb(0, 255, 8), qRgb(255, 0, 0),
                                         qRgb(255, 0, 0), qRgb(0, 0, 255)}));
    EXPECT_EQ(t.xs, (std::vector<double>{1, 0.5, 2, 3, 0.25}));
    EXPECT_EQ(t.centres, (std::vector<QPointF>{QPointF(1, 1), QPointF(1, 1)}));
    EXPECT_EQ(t.indices, (std::vector<std::size_t>{0, 2, 3, 4, 5}));

    // Going on from the cursor hands over only what came since, in its frame.
    r.addLine(b, {0, 0, 4, 4}, qRgb(255, 0, 0));
    Trace more;
    r.replay(c, more);
    EXPECT_EQ(more.kinds, "L");
    EXPECT_EQ(more.frames.size(), 1u);
    EXPECT_EQ(more.rgbs, std::vector<QRgb>{qRgb(255, 0, 0)});

    // A long run, one tangent a pass from the point on the curve to the axis
    // where the next pass starts, and a marker on the tangent's start, needs
    // at most 12 bytes a pass (10 as kept) and replays exactly as drawn.
    DrawingRecord run;
    constexpr int kPasses = 200000;
    auto pass = [&](int i) {
        run.addLine(a, {float(i), float(i) / 7, float(i + 1), -0.0f}, qRgb(255, 0, 0));
        run.addCircle(a, {float(i), float(i) / 7, 0.1f}, qRgb(0, 255, 8));
    };
    for (int i = 0; i < kPasses - 2; ++i) pass(i);
    Trace all;
    DrawingRecord::Cursor end;
    run.replay(end, all);
    ASSERT_EQ(all.centres.size(), std::size_t(kPasses - 2));
    for (int i = 0; i < kPasses - 2; i += 997) {
        EXPECT_EQ(all.xs[2 * i], float(i + 1));
        EXPECT_EQ(all.centres[i], QPointF(float(i), float(i) / 7));
    }
    // Going on after the long run.
    pass(kPasses - 2);
    pass(kPasses - 1);
    EXPECT_EQ(run.size(), 2u * kPasses);
    EXPECT_LE(run.bytes(), 12u * kPasses);
    EXPECT_GE(run.bytes(), 8u * kPasses);
    Trace last;
    run.replay(end, last);
    EXPECT_EQ(last.kinds, "LCLC");
    EXPECT_EQ(last.xs, (std::vector<double>{kPasses - 1, 0.1f, kPasses, 0.1f}));
    EXPECT_EQ(last.centres, (std::vector<QPointF>{QPointF(kPasses - 2, float(kPasses - 2) / 7),
                                                  QPointF(kPasses - 1, float(kPasses - 1) / 7)}));

    // A line that starts where the last one ended but not at its height, or
    // ends at a zero of the other sign, comes back as it was drawn.
    struct Lines {
        void frame(const UserFrame&) {}
        void line(const DrawingRecord::Line& l, QRgb, std::size_t) { got.push_back(l); }
        void circle(const DrawingRecord::Circle&, QRgb, std::size_t) {}
        void text(const DrawingRecord::Text&) {}
        std::vector<DrawingRecord::Line> got;
    } lines;
    DrawingRecord mixed;
    const DrawingRecord::Line drawn[] = {
        {0, 1, 2, -0.0f}, {2, 3, 4, 0.0f}, {4, 5, 6, 0.0f}, {6, 7, 8, 1}, {8, 9, 10, 1}};
    for (const auto& l : drawn) mixed.addLine(a, l, qRgb(255, 0, 0));
    DrawingRecord::Cursor from;
    mixed.replay(from, lines);
    ASSERT_EQ(lines.got.size(), std::size(drawn));
    for (std::size_t i = 0; i < std::size(drawn); ++i) {
        EXPECT_EQ(lines.got[i].x1, drawn[i].x1) << i;
        EXPECT_EQ(lines.got[i].y1, drawn[i].y1) << i;
        EXPECT_EQ(lines.got[i].x2, drawn[i].x2) << i;
        EXPECT_EQ(lines.got[i].y2, drawn[i].y2) << i;
        EXPECT_EQ(std::signbit(lines.got[i].y2), std::signbit(drawn[i].y2)) << i;
    }
    run.clear();
    EXPECT_TRUE(run.empty());
    EXPECT_LT(run.bytes(), 1024u);
}

}  // namespace
}  // namespace quorel
