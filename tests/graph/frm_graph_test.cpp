#include <gtest/gtest.h>

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <tuple>

#include "common/form_geometry.h"
#include "common/numtext.h"
#include "graph/frm_graph.h"
#include "tests/support/recording_dialogs.h"

namespace quorel {
namespace {

const QColor kBlack(0, 0, 0), kWhite(255, 255, 255), kBlue(0, 0, 255), kRed(255, 0, 0);

// The graph window as the main window holds it: an MDI child at the start-up place.
class GraphWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        state.OrgFracX = state.OrgFracY = 0.5;
        state.NewLine = "\r\n";
        area.resize(1400, 900);
        form = new FrmGraph(state, dialogs);
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
    // Whether a pixel of colour c lies within one pixel of a world point.
    bool near(double x, double y, QColor c) {
        const PlotSurface& pic = form->picThree();
        const double px = state.GraphW / (pic.width() - 4.0);
        const double py = state.GraphH / (pic.height() - 4.0);
        for (int i = -1; i <= 1; ++i)
            for (int j = -1; j <= 1; ++j)
                if (at(x + i * px, y + j * py) == c) return true;
        return false;
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
    // LabY stands 530 twips left of the y axis.
    EXPECT_NEAR(form->LabY().x(), 2 + (pic.width() - 4) / 2.0 - 530 / 15.0, 1);

    clear(2);
    const QPoint axis = (pic.toWidget(state.OrgX, 30) - QPointF(2, 2)).toPoint();
    sub->resize(400, 500);  // 6000 x 7500 twips
    EXPECT_EQ(shared(), std::tuple(30, 75, 15.0, 37.0));
    EXPECT_EQ(state.OffX, 17);
    EXPECT_EQ(pic.size(), form->size() - QSize(4, 4));
    EXPECT_EQ(form->picThree().image().pixelColor(axis), kBlack);  // neither erased nor moved

    sub->resize(3, 3);
    EXPECT_GE(state.GraphW, 1);
    EXPECT_GE(state.GraphH, 1);
    clear(0);
}

TEST_F(GraphWindow, FrameHasTicksAtEveryUnitAndTheCentreLabel) {
    clear(-3);
    PlotSurface& pic = form->picThree();
    for (int k = 0; k <= state.GraphW; ++k) {
        EXPECT_EQ(pic.pixelAt(k, state.OrgY + 0.2), kBlack) << k;
        EXPECT_TRUE(k == state.GraphW || pic.pixelAt(k + 0.5, state.OrgY + 0.2) == kWhite) << k;
    }
    for (int k = 0; k <= state.GraphH; ++k) {
        EXPECT_EQ(pic.pixelAt(state.OrgX + 0.2, k), kBlack) << k;
        EXPECT_TRUE(k == state.GraphH || pic.pixelAt(state.OrgX + 0.2, k + 0.5) == kWhite) << k;
    }

    // The label against the same text printed on a bare surface.
    const QPoint corner = (pic.toWidget(state.GraphW - 12, 2.6) - QPointF(2, 2)).toPoint();
    auto labelArea = [&](const QImage& img) {
        return img.copy(QRect(corner, img.rect().bottomRight()));
    };
    auto printed = [&](const std::string& text) {
        PlotSurface bare;
        bare.resize(pic.size());
        bare.Scale(0, state.GraphH, state.GraphW, 0);
        bare.PrintFont = formFont(kFaceKai, 9, true);
        bare.ForeColor = QColor(0, 255, 0);
        bare.CurrentX = state.GraphW - 12;
        bare.CurrentY = 2.5;
        bare.Print(text);
        return labelArea(bare.image());
    };
    const QImage shown = labelArea(pic.image());
    EXPECT_EQ(shown, printed("coordinate center\uFF1A (-3,0)"));
    EXPECT_NE(shown, printed("coordinate center\uFF1A (-3.0,0)"));
}

TEST_F(GraphWindow, CurveSamplesAndTangents) {
    clear(0);
    state.IterCount = 0;
    const QImage blank = form->picThree().image();
    form->Line_C(1, 2);
    EXPECT_EQ(form->picThree().image(), blank);
    state.IterCount = 1;
    form->Line_C(4, 2);
    EXPECT_EQ(at(2.5, 2), kBlue);
    const QImage drawn = form->picThree().image();
    form->Line_C(5, 3.5e38);  // beyond single precision: skipped silently
    EXPECT_EQ(form->picThree().image(), drawn);
    EXPECT_EQ(form->picThree().CurrentX, 4 + state.OffX);
    form->Line_C(6, -30);  // bridges the skipped sample
    EXPECT_TRUE(near(5, -14, kBlue));
    state.IterCount = 0;
    form->Line_C(7, 3.5e38);  // fails after the pen's x is set
    EXPECT_EQ(form->picThree().CurrentX, 7 + state.OffX);
    EXPECT_EQ(form->picThree().CurrentY, -30 + state.OrgY);

    form->Line_A(-2, 5, 3, -5);
    for (double x : {-1.5, 0.0, 2.5}) EXPECT_TRUE(near(x, 1 - 2 * x, kRed)) << x;
    form->Line_A(0, 0, 1e9, 2e9);  // ends far off the surface
    for (double x : {1.0, 5.0, 10.0, 20.0}) EXPECT_TRUE(near(x, 2 * x, kRed)) << x;
    form->Line_A(-1e30, 30, 1e30, 30);
    for (double x = -state.OrgX; x <= state.GraphW - state.OrgX; x += 0.5)
        EXPECT_EQ(at(x, 30), kRed) << x;
    EXPECT_TRUE(dialogs.messages.empty());

    const QImage before = form->picThree().image();
    form->Line_A(1, 2, 1e39, 0);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Error message!");
    EXPECT_EQ(form->picThree().image(), before);
}

TEST_F(GraphWindow, ConstantFunctionDrawsOneHorizontalLine) {
    clear(4);
    state.IterCount = 0;
    const double lo = 4 - (state.OrgX - 3), hi = 4 + (state.OrgX - 3);
    for (double t = lo; t <= hi; t += 0.01) {
        form->Line_C(t, 7);
        if (state.IterCount == 0) state.IterCount = 1;
    }
    EXPECT_EQ(at(lo, 7), kBlue);
    for (double x = lo + 0.25; x < hi; x += 0.5) {
        EXPECT_EQ(at(x, 7), kBlue) << x;
        EXPECT_EQ(at(x, 6.7), kWhite) << x;
        EXPECT_EQ(at(x, 7.3), kWhite) << x;
    }
    EXPECT_EQ(at(lo - 0.5, 7), kWhite);
    EXPECT_EQ(at(hi + 0.5, 7), kWhite);
}

TEST_F(GraphWindow, ClickStartsFromTheWorldXUnderThePointer) {
    PlotSurface& pic = form->picThree();
    const double unitPx = (pic.width() - 4.0) / state.GraphW;
    // Before any frame: read as the frame centred on 0 that a Clear would draw.
    const int threeQuarters = 2 + (pic.width() - 4) * 3 / 4;
    EXPECT_NEAR(clickAt(QPoint(threeQuarters, 40), Qt::RightButton),
                0.75 * state.GraphW - state.OrgX, 1 / unitPx);

    clear(5);
    const QPoint pos = pic.toWidget(state.OrgX + 3.25, state.OrgY).toPoint();
    const double afterClear = clickAt(pos, Qt::LeftButton);
    EXPECT_NEAR(afterClear, 8.25, 1 / unitPx);
    EXPECT_EQ(roundHalfEven(afterClear, 3), afterClear);

    sub->resize(400, 500);  // the drawing stays as it was, so does the x under the pointer
    EXPECT_EQ(clickAt(pos, Qt::MiddleButton), afterClear);
    EXPECT_EQ(started.size(), 3u);

    form->picThree_MouseDown(1, 0, 2.0625 + state.OffX, 0);
    EXPECT_EQ(started.back(), "2.062");
    form->picThree_MouseDown(2, 1, -7 + state.OffX, 0);
    EXPECT_EQ(started.back(), "-7");
}

}  // namespace
}  // namespace quorel
