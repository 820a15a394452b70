#include <gtest/gtest.h>

#include <cmath>

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

}  // namespace
}  // namespace quorel
