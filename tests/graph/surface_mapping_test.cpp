#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
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

TEST(SurfaceMapping, ZoomStopsAtItsLimitsWithThePointFixed) {
    for (double dpr : {1.0, 2.0}) {
        SurfaceMapping m = plotMapping(dpr);
        const QPointF at(123.25, 400.5);
        const QPointF under = m.toUser(at);
        m.zoomAbout(at, 1e9, 1e9);
        EXPECT_EQ(m.zoomX(), SurfaceMapping::kMaxZoom);
        expectNear(m.toUser(at), under, 1e-9);
        expectNear(m.toDevice(under.x(), under.y()), at * dpr, 1e-6);
        m.zoomAbout(at, 1e-18, 1e-18);
        EXPECT_EQ(m.zoomY(), SurfaceMapping::kMinZoom);
        expectNear(m.toUser(at), under, 1e-9);
    }
}

TEST(SurfaceMapping, ClipsAtTheEdges) {
    SurfaceMapping m = plotMapping(1);
    QLine px;
    // Inside: the pixels under the ends.
    ASSERT_TRUE(m.clipToDevice(19, 45, 20, 45, px));
    EXPECT_EQ(px, QLine(247, 282, 260, 282));
    // A diagonal through the plot's corners, cut where it leaves.
    ASSERT_TRUE(m.clipToDevice(-39, -90, 78, 180, px));
    EXPECT_EQ(px, QLine(0, 563, 506, 0));
    // On the bottom edge exactly and past it, beside the plot, not a number.
    ASSERT_TRUE(m.clipToDevice(5, 0, 10, 0, px));
    EXPECT_EQ(px.y1(), 563);
    EXPECT_FALSE(m.clipToDevice(5, -0.5, 10, -0.5, px));
    EXPECT_FALSE(m.clipToDevice(40, 10, 50, 80, px));
    EXPECT_FALSE(m.clipToDevice(10, 10, NAN, 80, px));
    // A far end does not swamp the near one.
    ASSERT_TRUE(m.clipToDevice(19, 45, 19 + 1e15, 45 + 1e15, px));
    EXPECT_EQ(px.p1(), QPoint(247, 282));
    // Zoomed eightfold about the middle: one unit spans 104 pixels.
    m.zoomAbout(QPointF(253.5, 282), 8, 8);
    ASSERT_TRUE(m.clipToDevice(19, 45, 20, 45, px));
    EXPECT_EQ(px, QLine(201, 282, 305, 282));
    m.setDevice(QSize(0, 0), 1);
    EXPECT_FALSE(m.clipToDevice(19, 45, 20, 45, px));
}

using Values = std::array<float, 4>;  // a line's ends, or a circle's centre and radius

// Collects a replay; the values bit for bit, so that the sign of a zero counts.
struct Trace {
    void frame(const UserFrame& f) { frames.push_back(f.left); }
    void line(const DrawingRecord::Line& l, QRgb rgb) { add('L', {l.x1, l.y1, l.x2, l.y2}, rgb); }
    void circle(const DrawingRecord::Circle& c, QRgb rgb) {
        add('C', {c.x, c.y, c.radius, 0}, rgb);
    }
    void text(const DrawingRecord::Text& t) { kinds += 'T' + t.text.toStdString(); }
    void passMark() { kinds += '|'; }
    void add(char kind, Values v, QRgb rgb) {
        kinds += kind;
        bits.push_back(std::bit_cast<std::array<std::uint32_t, 4>>(v));
        rgbs.push_back(rgb);
    }
    std::vector<double> frames;
    std::string kinds;
    std::vector<std::array<std::uint32_t, 4>> bits;
    std::vector<QRgb> rgbs;
};

TEST(DrawingRecord, ReplaysExactlyInDrawingOrder) {
    const UserFrame a{0, 90, 39, -90, QSizeF(507, 564)}, b{0, 0, 7605, 8475, QSizeF(507, 564)};
    DrawingRecord r;
    Trace drawn;  // what went in, as a replay should hand it back
    auto line = [&](const UserFrame& f, Values v, QRgb rgb) {
        drawn.add('L', v, rgb);
        r.addLine(f, {v[0], v[1], v[2], v[3]}, rgb);
    };
    auto circle = [&](const UserFrame& f, Values v, QRgb rgb) {
        drawn.add('C', v, rgb);
        r.addCircle(f, {v[0], v[1], v[2]}, rgb);
    };
    auto mark = [&] {
        drawn.kinds += '|';
        r.markPass();
    };
    // Lines from the last one's end, with or without its height, ending at zeros of
    // either sign; circles, and pass marks before anything and between parts.
    mark();
    line(a, {0, 0, 1, 1}, qRgb(0, 0, 0));
    r.addText(a, {QPointF(3, 4), "label", QFont(), qRgb(0, 255, 0)});
    drawn.kinds += "Tlabel";
    circle(a, {0, 0, 0.5f, 0}, qRgb(0, 255, 8));
    circle(a, {1, 1, 0.5f, 0}, qRgb(0, 255, 8));
    mark();
    line(b, {0, 1, 2, -0.0f}, qRgb(255, 0, 0));
    line(b, {2, 3, 4, 0.0f}, qRgb(255, 0, 0));
    line(b, {4, 5, 6, 0.0f}, qRgb(255, 0, 0));
    circle(b, {4, 5, 0.25f, 0}, qRgb(0, 0, 255));
    circle(b, {7, 7, 0.3f, 0}, qRgb(0, 0, 255));
    line(b, {6, 7, 8, 1}, qRgb(255, 0, 0));
    line(b, {8, 9, 10, 1}, qRgb(255, 0, 0));
    mark();
    Trace t;
    DrawingRecord::Cursor c;
    r.replay(c, t);
    EXPECT_EQ(t.kinds, drawn.kinds);
    EXPECT_EQ(t.frames, (std::vector<double>{0, 0}));
    EXPECT_EQ(t.bits, drawn.bits);
    EXPECT_EQ(t.rgbs, drawn.rgbs);
    // Each pass from its start to its end mark, in the frame it was drawn in.
    ASSERT_EQ(r.passCount(), 2u);
    for (std::size_t k : {0u, 1u}) {
        Trace pass;
        DrawingRecord::Cursor from = r.passStart(k);
        r.replay(from, pass, r.passEnd(k).part());
        EXPECT_EQ(pass.kinds, k == 0 ? "LTlabelCC|" : "LLLCCLL|");
        EXPECT_EQ(pass.frames, (std::vector<double>{0}));
        EXPECT_EQ(from.part(), r.passEnd(k).part());
    }
    // Going on from the cursor hands over only what came since, in its frame.
    line(a, {0, 0, 4, 4}, qRgb(255, 0, 0));
    Trace more;
    r.replay(c, more);
    EXPECT_EQ(more.kinds, "L");
    EXPECT_EQ(more.frames.size(), 1u);
    EXPECT_EQ(more.bits.back(), drawn.bits.back());
}

// A long run's passes, each a tangent, a marker and its end mark, cost the
// record little more than the single-precision values drawn (24 bytes).
TEST(DrawingRecord, APassCostsLittleMoreThanItsValues) {
    const UserFrame f{0, 90, 39, -90, QSizeF(507, 564)};
    constexpr int kPasses = 1 << 18;
    DrawingRecord r;
    r.markPass();
    for (int i = 0; i < kPasses; ++i) {
        r.addLine(f, {float(i), 1, float(i + 1), 0}, qRgb(255, 0, 0));
        r.addCircle(f, {float(i), 1, 0.3f}, qRgb(0, 255, 8));
        r.markPass();
    }
    ASSERT_EQ(r.passCount(), std::size_t(kPasses));
    EXPECT_LT(double(r.bytes()) / kPasses, 30.0);
}

}  // namespace
}  // namespace quorel
