#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <climits>
#include <new>

#include "allocation_failure.h"
#include "common/failure.h"

#include "table/frm_dspdta.h"
#include "table/scroll_range.h"

namespace quorel {
namespace {

// A calculation as the driver runs it: clear, then one row per pass.
struct Table {
    ProgramState state;
    FrmDSPDTA form{state};

    void row(double x, double fx, double dfx) {
        form.DspDta(x, fx, dfx);
        ++state.IterCount;
    }
    void rows(long long count) {
        for (long long i = 0; i < count; ++i) row(1.0 + static_cast<double>(i), 0.5, 2.0);
    }
};

TEST(FrmDSPDTA, CellTextsKeepElevenDigitsAndRoundTiesToEven) {
    Table t;
    t.form.Dta_Clr();
    t.row(1.23456789012345, 0.0, 2.5e11);
    t.row(12345678900.5, 12345678901.5, 250000000000.5);  // ties at 0 decimals
    t.row(0.00048828125, -0.00146484375, 0.5);            // ties at 10 decimals
    t.row(1000.123456789012, 123.456, 5000.123456789012);
    t.row(1e12, -1.5e13, 1e13);  // negative counts

    const char* want[][4] = {
        {"0.", "1.2345678901", "0", "250000000000"},
        {"1.", "12345678900", "12345678902", "250000000000"},
        {"2.", "0.0004882812", "-0.0014648438", "0.5"},
        {"3.", "1000.1234568", "123.456", "5000.12345679"},
        {"4.", "1000000000000", "-15000000000000", "10000000000000"},
    };
    ASSERT_EQ(t.form.rowCount(), 5);
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_EQ(t.form.cellText(c, r), want[r][c]) << r << "," << c;
    }
}

TEST(FrmDSPDTA, RowsStackUpAndTheBarFollowsTheNewestWellPastSixteenBits) {
    Table t;
    t.form.Dta_Clr();
    QScrollBar* bar = t.form.vsbScroll();
    t.rows(1);
    EXPECT_EQ(t.form.contentHeight(), 670);
    t.rows(12);
    EXPECT_FALSE(bar->isEnabled());
    EXPECT_EQ(t.form.contentHeight(), 4690);
    for (int r = 0; r <= 12; ++r) {
        EXPECT_EQ(t.form.cellText(0, r), std::to_string(r) + ".");
        EXPECT_EQ(t.form.cellTop(r), 335.0 * r);
    }

    t.rows(1);
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_EQ(bar->maximum(), 330);
    EXPECT_EQ(bar->pageStep(), 33);
    EXPECT_EQ(bar->singleStep(), 13);
    EXPECT_EQ(bar->value(), 330);
    EXPECT_EQ(t.form.contentTop(), -330);

    for (int rows = 15; rows <= 400; ++rows) {
        t.rows(1);
        const int maximum = 335 * (rows + 1) - 4695;
        ASSERT_EQ(bar->maximum(), maximum) << rows;
        ASSERT_EQ(bar->value(), maximum) << rows;
        ASSERT_EQ(t.form.contentTop(), -maximum) << rows;
    }
    EXPECT_EQ(bar->pageStep(), bar->maximum() / 10);
    EXPECT_EQ(bar->singleStep(), bar->maximum() / 25);
    // The content's bottom, one pitch below the newest row, meets the viewport's bottom.
    EXPECT_EQ(t.form.contentTop() + t.form.cellTop(399) + 335 + 335, 4695);
}

TEST(FrmDSPDTA, ClearEmptiesTheTableAndMayBeRepeated) {
    Table t;
    t.form.Dta_Clr();
    t.rows(20);
    for (int i = 0; i < 2; ++i) {
        t.form.Dta_Clr();
        EXPECT_EQ(t.state.IterCount, 0);
        EXPECT_EQ(t.form.rowCount(), 1);
        EXPECT_EQ(t.form.contentHeight(), 335);
        EXPECT_EQ(t.form.contentTop(), 0);
        EXPECT_EQ(t.form.vsbScroll()->value(), 0);
        EXPECT_FALSE(t.form.vsbScroll()->isEnabled());
        for (int c = 0; c < 4; ++c) EXPECT_EQ(t.form.cellText(c, 0), "");
        EXPECT_EQ(t.form.cellText(1, 5), "");
    }
    t.rows(2);
    EXPECT_EQ(t.form.cellText(0, 1), "1.");
    EXPECT_EQ(t.form.cellText(1, 1), "2");
}

TEST(FrmDSPDTA, DraggingTheThumbMovesTheContentAlongTheWay) {
    Table t;
    t.form.Dta_Clr();
    t.rows(60);
    t.form.show();
    QScrollBar* bar = t.form.vsbScroll();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&t.form));

    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.orientation = Qt::Vertical;
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = opt.sliderValue = bar->value();
    opt.pageStep = bar->pageStep();
    opt.singleStep = bar->singleStep();
    opt.subControls = QStyle::SC_All;
    const QPoint thumb =
        bar->style()
            ->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, bar)
            .center();

    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    double lastTop = t.form.contentTop();
    for (int dy = 20; dy <= 120; dy += 20) {
        QTest::mouseMove(bar, thumb - QPoint(0, dy));
        EXPECT_GT(t.form.contentTop(), lastTop) << dy;
        EXPECT_EQ(t.form.contentTop(), -bar->sliderPosition());
        lastTop = t.form.contentTop();
    }
    QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb - QPoint(0, 120));
    EXPECT_EQ(bar->value(), -t.form.contentTop());
    EXPECT_LT(bar->value(), bar->maximum());
}

TEST(FrmDSPDTA, CellsArePaintedWhereTheirRowsStand) {
    Table t;
    t.form.Dta_Clr();
    t.rows(30);
    const QImage shot = t.form.grab().toImage();
    // Twips in the viewport to a pixel of the window, clear of the texts.
    auto at = [&](double left, double topInContent) {
        const double y = 480 + t.form.contentTop() + topInContent;
        return shot.pixelColor(static_cast<int>((left + 60) / 15 * shot.devicePixelRatio()),
                               static_cast<int>(y / 15 * shot.devicePixelRatio()));
    };
    const double newest = t.form.cellTop(29);
    EXPECT_EQ(at(600, newest + 128), QColor(192, 255, 192));   // LabRoot
    EXPECT_EQ(at(3720, newest + 128), QColor(192, 192, 255));  // LabError
    EXPECT_EQ(at(600, newest + 295), QColor(0, 0, 192));       // gap between rows
    EXPECT_EQ(at(600, newest - 40), QColor(0, 0, 192));
    EXPECT_EQ(at(600, newest - 335 + 128), QColor(192, 255, 192));
}

TEST(FrmDSPDTA, ValuesNotComputedShowTheirFailureInTheirOwnCell) {
    Table t;
    t.form.Dta_Clr();
    EXPECT_EQ(t.form.cellValue(1, 0).failure, FrmDSPDTA::kBlank);
    t.form.DspDta({3, 0}, {1.2309e-05, kErrDivZero}, {1000000, 0});
    ++t.state.IterCount;
    t.form.DspDta({-4, 0}, {0, kErrDomain}, {0, kErrDomain});
    ++t.state.IterCount;
    t.form.DspDta({7, kErrOverflow}, {2, 0}, {0, kErrMissing});
    ++t.state.IterCount;

    const char* want[][4] = {
        {"0.", "3", "division", "1000000"},
        {"1.", "-4", "domain", "domain"},
        {"2.", "overflow", "2", "missing"},
    };
    ASSERT_EQ(t.form.rowCount(), 3);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_EQ(t.form.cellText(c, r), want[r][c]) << r << "," << c;
    }
    // The held value stays readable beside its failure.
    const CellValue stale = t.form.cellValue(2, 0);
    EXPECT_EQ(stale.value, 1.2309e-05);
    EXPECT_EQ(stale.failure, kErrDivZero);
    EXPECT_EQ(t.form.cellValue(3, 0).failure, 0);
    EXPECT_EQ(t.form.cellValue(1, 2).failure, kErrOverflow);
    EXPECT_EQ(t.form.cellValue(0, 2).value, 2);
    EXPECT_EQ(t.form.cellValue(1, 3).failure, FrmDSPDTA::kBlank);
}

TEST(FrmDSPDTA, RowsStayInNumberOrderWhenTheTableWasNotCleared) {
    Table t;
    t.form.Dta_Clr();
    t.rows(5);
    // A calculation whose Clear failed numbers its rows from 0 again.
    t.state.IterCount = 0;
    t.row(10, 11, 12);
    t.row(20, 21, 22);
    ASSERT_EQ(t.form.rowCount(), 5);
    EXPECT_EQ(t.form.contentHeight(), 335 * 6);
    for (int r = 0; r < 5; ++r) EXPECT_EQ(t.form.cellText(0, r), std::to_string(r) + ".");
    EXPECT_EQ(t.form.cellText(1, 0), "10");
    EXPECT_EQ(t.form.cellText(3, 1), "22");
    EXPECT_EQ(t.form.cellText(1, 2), "3");

    // A row beyond the next number: the rows between are whole, their values missing.
    t.state.IterCount = 7;
    t.row(70, 71, 72);
    ASSERT_EQ(t.form.rowCount(), 8);
    for (int c = 1; c < 4; ++c) EXPECT_EQ(t.form.cellText(c, 5), "missing");
    EXPECT_EQ(t.form.cellText(0, 6), "6.");
    EXPECT_EQ(t.form.cellText(2, 7), "71");
}

TEST(FrmDSPDTA, OutOfMemoryLeavesEveryRowWholeAndPaintable) {
    Table t;
    t.form.Dta_Clr();
    t.rows(1024);
    {
        const testing::AllocationFailure refuseBlocks(4096);
        EXPECT_THROW(t.form.DspDta(5000, 1, 2), std::bad_alloc);
        EXPECT_GE(testing::refusedAllocations(), 1);
    }
    ASSERT_EQ(t.form.rowCount(), 1024);
    EXPECT_EQ(t.form.cellText(0, 1023), "1023.");
    EXPECT_EQ(t.form.cellText(1, 1023), "1024");
    EXPECT_EQ(t.form.cellText(1, 1024), "");
    EXPECT_EQ(t.form.contentHeight(), 335.0 * 1025);
    EXPECT_FALSE(t.form.grab().isNull());
    t.row(5000, 1, 2);
    EXPECT_EQ(t.form.cellText(1, 1024), "5000");
}

TEST(ScrollRange, HugeTablesStayReachable) {
    const ScrollRange small = ScrollRange::forMaximum(330);
    EXPECT_EQ(small.barMaximum(), 330);
    EXPECT_EQ(small.toTwips(123), 123);

    const long long maximum = 335LL * 20'000'001 - 4695;  // beyond the bar's int range
    const ScrollRange big = ScrollRange::forMaximum(maximum);
    EXPECT_LE(big.barMaximum(), INT_MAX);
    EXPECT_EQ(big.toTwips(big.barMaximum()), maximum);
    EXPECT_LE(big.toTwips(big.barMaximum()) - big.toTwips(big.barMaximum() - 1), 335);
    EXPECT_EQ(big.toTwips(0), 0);
}

}  // namespace
}  // namespace quorel
