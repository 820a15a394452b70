#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>

#include "common/failure.h"
#include "graph/plot_surface.h"

namespace quorel {
namespace {

// Bounding box of the pixels that are not white.
QRect inkBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(PlotSurface, CoordinatesPrintAndCls) {
    PlotSurface s;
    s.resize(204, 104);  // 200 x 100 pixels inside the border
    EXPECT_EQ(QRectF(s.ScaleLeft(), s.ScaleTop(), s.ScaleWidth(), s.ScaleHeight()),
              QRectF(0, 0, 3000, 1500));
    s.Scale(-10, 50, 10, 0);
    s.setScaleWidth(40);
    s.resize(304, 204);
    EXPECT_EQ(QRectF(s.ScaleLeft(), s.ScaleTop(), s.ScaleWidth(), s.ScaleHeight()),
              QRectF(-10, 50, 40, -50));

    s.CurrentX = 0;
    s.CurrentY = 40;
    s.Print("Wm");  // the pen is the text's top left, then the next line's start
    EXPECT_EQ(s.CurrentX, -10);
    EXPECT_NEAR(s.CurrentY, 40 - QFontMetricsF(s.PrintFont, &s).lineSpacing() / 4, 1e-9);
    EXPECT_GE(inkBox(s.image()).top(), 40);
    EXPECT_NEAR(inkBox(s.image()).left(), 77.5, 2.5);
    s.Cls();
    EXPECT_TRUE(inkBox(s.image()).isEmpty());
}

TEST(PlotSurface, CircleIsRoundOnScreenWithUnequalUnits) {
    PlotSurface s;
    s.resize(204, 104);
    s.Scale(0, 10, 20, 0);
    s.setScaleHeight(-40);  // an x unit spans 10 pixels, a y unit 2.5
    s.Circle(10, -15, 3, Qt::black);
    const QRect box = inkBox(s.image());
    EXPECT_NEAR(box.width(), 61, 1);
    EXPECT_NEAR(box.height(), box.width(), 1);
    EXPECT_EQ(QPointF(s.CurrentX, s.CurrentY), QPointF(10, -15));

    EXPECT_THROW(s.Circle(1e39, 1, 1, Qt::black), Failure);
    EXPECT_EQ(QPointF(s.CurrentX, s.CurrentY), QPointF(10, -15));
}

}  // namespace
}  // namespace quorel
