#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <algorithm>

#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>
#include "common/numtext.h"

#include "allocation_failure.h"
#include "common/text_fit.h"

#include "common/failure.h"
#include "table/frm_dspdta.h"
#include "table/scroll_range.h"
#include "table/table_accessible.h"

namespace quorel {
namespace {

// A calculation as the driver runs it: clear, then one row per pass.
struct Table {
    Table() { form.Dta_Clr(); }
    template <typename V>
    void row(V x, V fx, V dfx) {
        form.DspDta(next++, x, fx, dfx);
    }
    void rows(long long count) {
        for (long long i = 0; i < count; ++i) row(1.0 + static_cast<double>(i), 0.5, 2.0);
    }

    long long next = 0;  // the number of the next row
    FrmDSPDTA form;
};

TEST(FrmDSPDTA, CellTextsKeepElevenDigitsAndRoundTiesToEven) {
    Table t;
    t.row(1.23456789012345, 0.0, 2.5e11);
    t.row(12345678900.5, 12345678901.5, 250000000000.5);  // ties at 0 decimals
    t.row(0.00048828125, -0.00146484375, 0.5);            // ties at 10 decimals
    t.row(1000.123456789012, -1.5e13, 5000.123456789012);
    // Beyond 1E+11 (1E+12 for a slope) the digits the rule keeps just below.
    t.row(350209322070123456789.0, -123456789012345.0, 1234567890123456.0);
    t.row(-1.0142320547489e304, 98765432109876.5, -98765432109876.5);
    // Next to the largest double, where the rounded digits leave the double range.
    constexpr double kMax = 1.7976931348623157e308;
    t.row(kMax, -kMax, -kMax);

    const char* want[][4] = {
        {"0.", "1.2345678901", "0", "250000000000"},
        {"1.", "12345678900", "12345678902", "250000000000"},
        {"2.", "0.0004882812", "-0.0014648438", "0.5"},
        {"3.", "1000.1234568", "-15000000000000", "5000.12345679"},
        {"4.", "3.5020932207E+20", "-123456789010000", "1.23456789012E+15"},
        {"5.", "-1.0142320547E+304", "98765432110000", "-98765432109900"},
        {"6.", "1.7976931349E+308", "-1.7976931349E+308", "-1.79769313486E+308"},
    };
    ASSERT_EQ(t.form.rowCount(), 7);
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_EQ(t.form.cellText(c, r), want[r][c]) << r << "," << c;
    }
}

TEST(FrmDSPDTA, RowsStackUpTheBarFollowsTheNewestWellPastSixteenBitsAndClearEmpties) {
    Table t;
    QScrollBar* bar = t.form.vsbScroll();
    t.rows(13);
    EXPECT_FALSE(bar->isEnabled());
    EXPECT_EQ(t.form.contentHeight(), 4690);
    EXPECT_EQ(t.form.cellTop(12), 335.0 * 12);

    for (int rows = 14; rows <= 400; ++rows) {
        t.rows(1);
        ASSERT_TRUE(bar->isEnabled()) << rows;
        const int maximum = 335 * (rows + 1) - 4695;
        ASSERT_EQ(bar->maximum(), maximum) << rows;
        ASSERT_EQ(bar->value(), maximum) << rows;
        ASSERT_EQ(t.form.contentTop(), -maximum) << rows;
    }
    // The content's bottom, one pitch below the newest row, meets the viewport's bottom.
    EXPECT_EQ(t.form.contentTop() + t.form.cellTop(399) + 335 + 335, 4695);

    // Clear, also when repeated, leaves one empty row and no bar.
    for (int i = 0; i < 2; ++i) {
        t.form.Dta_Clr();
        EXPECT_EQ(t.form.rowCount(), 1);
        EXPECT_EQ(t.form.contentHeight(), 335);
        EXPECT_EQ(t.form.contentTop(), 0);
        EXPECT_FALSE(bar->isEnabled());
        EXPECT_EQ(t.form.cellText(1, 0), "");
    }
    t.next = 0;
    t.rows(2);
    EXPECT_EQ(t.form.cellText(1, 1), "2");
}

TEST(FrmDSPDTA, HeldUpdatesCatchUpAtRefreshAndRelease) {
    Table t;
    QScrollBar* bar = t.form.vsbScroll();
    t.form.holdUpdates(true);
    t.rows(20);
    // The content moves at once; the bar follows at the refresh.
    EXPECT_EQ(t.form.contentTop(), -(335 * 21 - 4695));
    t.form.Refresh();
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_EQ(bar->maximum(), 335 * 21 - 4695);
    EXPECT_EQ(bar->value(), bar->maximum());
    t.rows(30);
    t.form.holdUpdates(false);
    EXPECT_EQ(bar->maximum(), 335 * 51 - 4695);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(t.form.contentTop(), -bar->maximum());
    // Released, every row moves the bar again.
    t.rows(1);
    EXPECT_EQ(bar->maximum(), 335 * 52 - 4695);
}

TEST(FrmDSPDTA, RowsStayInNumberOrderWhenTheTableWasNotCleared) {
    Table t;
    t.rows(5);
    // A calculation whose Clear failed numbers its rows from 0 again.
    t.next = 0;
    t.row(10, 11, 12);
    t.row(20, 21, 22);
    ASSERT_EQ(t.form.rowCount(), 5);
    EXPECT_EQ(t.form.contentHeight(), 335 * 6);
    for (int r = 0; r < 5; ++r) EXPECT_EQ(t.form.cellText(0, r), std::to_string(r) + ".");
    EXPECT_EQ(t.form.cellText(1, 0), "10");
    EXPECT_EQ(t.form.cellText(3, 1), "22");
    EXPECT_EQ(t.form.cellText(1, 2), "3");

    // A row beyond the next number: the rows between are whole, their values missing.
    t.next = 7;
    t.row(70, 71, 72);
    ASSERT_EQ(t.form.rowCount(), 8);
    for (int c = 1; c < 4; ++c) EXPECT_EQ(t.form.cellText(c, 5), "missing");
    EXPECT_EQ(t.form.cellText(0, 6), "6.");
    EXPECT_EQ(t.form.cellText(2, 7), "71");
}

TEST(FrmDSPDTA, OutOfMemoryLeavesEveryRowWholeAndPaintable) {
    Table t;
    t.rows(1024);
    {
        const testing::AllocationFailure refuseBlocks(4096);
        EXPECT_THROW(t.form.DspDta(1024, 5000, 1, 2), std::bad_alloc);
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

TEST(FrmDSPDTA, TheThumbScrollsTheRowsAndStandsApartFromItsTrack) {
    Table t;
    t.rows(60);
    t.form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&t.form));
    QScrollBar* bar = t.form.vsbScroll();
    ASSERT_EQ(bar->value(), bar->maximum());
    // While the thumb is dragged from the newest rows the content follows it.
    bar->setSliderDown(true);
    bar->setSliderPosition(bar->maximum() / 3);
    EXPECT_EQ(t.form.contentTop(), -(bar->maximum() / 3));
    bar->setSliderDown(false);
    EXPECT_EQ(bar->value(), -t.form.contentTop());
    EXPECT_LT(bar->value(), bar->maximum());

    // Down the middle of the bar, the thumb stands clearly apart from its track.
    bar->setValue(bar->maximum() / 2);
    const QImage shot = bar->grab().toImage();
    int lo = 255, hi = 0;
    for (int y = shot.height() / 4; y < shot.height() * 3 / 4; ++y) {
        const int g = qGray(shot.pixel(shot.width() / 2, y));
        lo = std::min(lo, g), hi = std::max(hi, g);
    }
    EXPECT_GE(hi - lo, 120) << lo << " " << hi;
}

TEST(FrmDSPDTA, AMillionRowsKeepTheirNumbersWholeAndTheirValuesAsToolTips) {
    Table t;
    t.row(-2.745799115512345, 1.23456789e-5, -3.5e20);
    for (long long i = 1; i <= 1'000'000; ++i) t.row(0.5, 0.25, 2.0);
    ASSERT_EQ(t.form.rowCount(), 1'000'001);
    auto* rows = t.form.findChild<QWidget*>("picOne");
    for (long long r :
         {0LL, 9LL, 10LL, 999LL, 1000LL, 32767LL, 99999LL, 100000LL, 999999LL, 1000000LL}) {
        const QString text = QString::fromStdString(t.form.cellText(0, r));
        const QFont font = t.form.cellFont(0, r);
        EXPECT_EQ(text.toStdString(), std::to_string(r) + ".");
        EXPECT_EQ(t.form.cellShownText(0, r), text);
        EXPECT_EQ(t.form.cellToolTip(0, r), text);
        EXPECT_GE(font.pointSizeF(), 7.0) << r;
        EXPECT_LE(textAdvance(font, text, rows), FrmDSPDTA::cellTextWidth(0)) << r;
        // The column's size while it fits, a smaller one only where needed.
        if (r < 100 || r >= 1000) {
            EXPECT_EQ(font.pointSizeF() < 12, r >= 1000) << r;
        }
    }
    // The full value of a rounded cell: the shortest text that reads back as it.
    EXPECT_EQ(t.form.cellText(1, 0), "-2.7457991155");
    const std::string full = t.form.cellToolTip(1, 0).toStdString();
    EXPECT_EQ(textToNumber(full), t.form.cellValue(1, 0).value);
    EXPECT_NE(textToNumber(full.substr(0, full.size() - 1)), t.form.cellValue(1, 0).value);
    EXPECT_EQ(t.form.cellToolTip(3, 0).toStdString(), "-3.5E+20");
    EXPECT_EQ(t.form.cellToolTip(1, 1'000'001).toStdString(), "");
    // Resting the pointer on a cell of the top row shows its full value.
    t.form.vsbScroll()->setValue(0);
    t.form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&t.form));
    const QPoint onXi(600 / 15 + 20, 8);
    QHelpEvent help(QEvent::ToolTip, onXi, rows->mapToGlobal(onXi));
    QApplication::sendEvent(rows, &help);
    EXPECT_EQ(QToolTip::text().toStdString(), full);
    QToolTip::hideText();
}

// Assistive technology reads the painted rows as a table whose cells say
// what the cells show, a failure by its name, and stand where they are drawn.
TEST(FrmDSPDTA, AssistiveTechnologyReadsEveryCellAsShown) {
    installTableAccessibility();
    Table t;
    t.row(CellValue{3, 0}, CellValue{8, 0}, CellValue{0, kErrDivZero});
    t.rows(40);
    t.form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&t.form));
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(t.form.rowsView());
    ASSERT_TRUE(table && table->tableInterface());
    QAccessibleTableInterface* cells = table->tableInterface();
    EXPECT_EQ(table->role(), QAccessible::Table);
    ASSERT_EQ(cells->rowCount(), 41);
    ASSERT_EQ(cells->columnCount(), 4);
    const char* heads[] = {"times i", "Xi", "f(Xi)", "f'(Xi)"};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(cells->columnDescription(c), heads[c]);
    EXPECT_FALSE(t.form.cellText(3, 0).empty());
    const QRect rowsOnScreen(t.form.rowsView()->mapToGlobal(QPoint()), t.form.rowsView()->size());
    for (int r : {0, 1, 40}) {
        for (int c = 0; c < 4; ++c) {
            QAccessibleInterface* cell = cells->cellAt(r, c);
            ASSERT_TRUE(cell);
            EXPECT_EQ(cell->text(QAccessible::Name).toStdString(), t.form.cellText(c, r));
            EXPECT_EQ(cell->text(QAccessible::Description), t.form.cellToolTip(c, r));
            EXPECT_EQ(cell->tableCellInterface()->rowIndex(), r);
            EXPECT_EQ(table->child(table->indexOfChild(cell)), cell);
            // The newest rows are in view: a point of such a cell finds it.
            if (r == 40) {
                EXPECT_TRUE(rowsOnScreen.contains(cell->rect())) << c;
                EXPECT_EQ(table->childAt(cell->rect().center().x(), cell->rect().center().y()),
                          cell);
            }
        }
    }
    // After a clear nothing of the old rows is read.
    QAccessibleInterface* old = cells->cellAt(40, 1);
    t.form.Dta_Clr();
    EXPECT_EQ(cells->rowCount(), 1);
    EXPECT_EQ(old->text(QAccessible::Name), "");
    EXPECT_EQ(cells->cellAt(0, 1)->text(QAccessible::Name), "");
}

// Every row reads back bit for bit as it was written, with each failure
// number as given; writing a row again changes that row alone.
TEST(FrmDSPDTA, RowsReadBackAsWrittenAndARewriteTouchesOnlyItsRow) {
    Table t;
    constexpr int kRows = 3000;
    std::vector<std::array<CellValue, 3>> want(kRows);
    auto write = [&](int row, double x, int failure) {
        want[row] = {CellValue{x, 0}, CellValue{x * x + 1, failure}, CellValue{2 * x, 0}};
        t.form.DspDta(row, want[row][0], want[row][1], want[row][2]);
    };
    constexpr int kFailures[] = {0, kErrDomain, 7, 28, 1004, 65535, INT_MAX};
    double x = 0.5;
    for (int r = 0; r < kRows; ++r) {
        write(r, r == 2100 ? -0.0 : r == 2500 ? std::nan("") : x, r < 1024 ? 0 : kFailures[r % 7]);
        x = x - (x * x + 1) / (2 * x);
    }
    auto check = [&](const char* when) {
        ASSERT_EQ(t.form.rowCount(), kRows) << when;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < 3; ++c) {
                const CellValue v = t.form.cellValue(c + 1, r), w = want[r][c];
                ASSERT_EQ(std::pair(std::bit_cast<std::uint64_t>(v.value), v.failure),
                          std::pair(std::bit_cast<std::uint64_t>(w.value), w.failure))
                    << when << ": row " << r << ", column " << c + 1;
            }
    };
    check("written once");
    EXPECT_EQ(t.form.cellText(1, 2100), "0");
    EXPECT_EQ(t.form.cellToolTip(1, 1).toStdString(), "-0.75");

    for (int r : {1300, 1023, 1024, 0, 2999}) write(r, 3.25 + r, r == 1023 ? 28 : 0);
    check("written again");
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
