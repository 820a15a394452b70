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

// A surface of `size` over 50 x 40 units, y upwards.
void frame(PlotSurface& s, QSize size) {
    s.resize(size);
    s.Scale(0, 40, 50, 0);
}

// One painter for every part: a part's pixels follow from what it is, not
// from how many parts came before it or how much was painted at once.
TEST(PlotSurface, PartsPaintAlikeWhateverCameBeforeAndHoweverPainted) {
    // Red lines across, blue down and green circles, each with its own period, so
    // the colour of a crossing follows the latest of its parts.
    auto draw = [](PlotSurface& s, int from, int to) {
        for (int i = from; i < to; ++i) {
            const int r = i % 4, b = i % 3, c = i % 5;
            s.Line(0, 5 + 8 * r, 50, 7 + 8 * r, QColor(255, 0, 0));
            s.Line(5 + 12 * b, 0, 8 + 12 * b, 40, QColor(0, 0, 255));
            s.Circle(10 + 9 * c, 10 + 6 * c, 3, QColor(0, 255, 8));
        }
    };
    // Repeated parts over other colours, painted at once and part by part.
    PlotSurface once, stepwise;
    frame(once, {304, 204});
    frame(stepwise, {304, 204});
    draw(once, 0, 60);
    for (int i = 0; i < 60; ++i) {
        draw(stepwise, i, i + 1);
        stepwise.image();
    }
    EXPECT_EQ(once.image(), stepwise.image());

    // The same parts first in a drawing and after thirty thousand off the surface.
    PlotSurface first, late;
    frame(first, {304, 204});
    frame(late, {304, 204});
    for (int i = 0; i < 30000; ++i) late.Line(-10, i, -5, i, Qt::black);
    for (PlotSurface* s : {&first, &late}) {
        s->Line(3.3, 1.1, 47.9, 37.3, QColor(255, 0, 0));
        s->Circle(25.2, 20.1, 4.3, QColor(0, 255, 8));
    }
    EXPECT_EQ(first.image(), late.image());
}

// Past the first 65,536 parts a picture skips parts it has painted already:
// what it shows follows from the parts in their order, not from when it was
// painted, every part shows, and a cleared picture starts over.
TEST(PlotSurface, ALongPictureIsTheSameHoweverOftenItIsPainted) {
    // Short red lines on a grid, then green circles over them, again and again.
    auto draw = [](PlotSurface& s, int from, int to) {
        for (int i = from; i < to; ++i) {
            const int k = i % 1000;
            const double x = 1 + (k % 40) * 1.2, y = 1 + (k / 40) * 1.5;
            s.Line(x, y, x + 1, y + 1, QColor(255, 0, 0));
            if (i % 7 == 0) s.Circle(x + 0.5, y + 0.5, 0.4, QColor(0, 255, 8));
        }
    };
    PlotSurface once, often;
    frame(once, {404, 304});
    frame(often, {404, 304});
    // Early on a repeated part comes back over what was painted since.
    once.Line(0, 20, 50, 20, QColor(255, 0, 0));
    once.Line(25, 0, 25, 40, QColor(0, 0, 255));
    const QPoint crossing = QPoint(200, 150);
    ASSERT_EQ(once.image().pixel(crossing), qRgb(0, 0, 255)) << "the crossing moved";
    once.Line(0, 20, 50, 20, QColor(255, 0, 0));
    EXPECT_EQ(once.image().pixel(crossing), qRgb(255, 0, 0));
    once.Cls();
    draw(once, 0, 120000);
    for (int i = 0; i < 120000; i += 997) {
        draw(often, i, std::min(i + 997, 120000));
        often.image();
    }
    const QImage picture = once.image();
    EXPECT_EQ(picture, often.image());
    // Both colours show: the skipped repeats were painted before.
    auto count = [](const QImage& img, QRgb c) {
        long n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == c;
        return n;
    };
    EXPECT_GT(count(picture, qRgb(255, 0, 0)), 1000);
    EXPECT_GT(count(picture, qRgb(0, 255, 8)), 1000);
    // A new part after them all shows.
    once.Line(0, 39.5, 50, 39.5, QColor(0, 0, 255));
    EXPECT_GT(count(once.image(), qRgb(0, 0, 255)), 300);
    // Cleared, the same parts paint the same picture again.
    once.Cls();
    draw(once, 0, 120000);
    EXPECT_EQ(once.image(), picture);
}

}  // namespace
}  // namespace quorel
