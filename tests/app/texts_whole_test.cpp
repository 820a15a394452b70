// Every text the program shows is whole: table cells, headers, labels, buttons
// and text boxes fit their fixed boxes. Runs at the screen's device pixel
// ratio; CTest runs it once more at ratio 2.

#include <cmath>
#include <cstring>

#include "calculation_fixture.h"
#include "common/fitting_line_edit.h"
#include "common/numtext.h"
#include "common/text_fit.h"
#include "table/cell_format.h"

namespace quorel {
namespace {

// Digits of a number text from its first to its last non-zero digit.
int significantDigits(const std::string& text) {
    std::string digits;
    for (char ch : text.substr(0, text.find('E'))) {
        if (ch >= '0' && ch <= '9') digits += ch;
    }
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) return 0;
    return static_cast<int>(digits.find_last_not_of('0') - first + 1);
}

class TextsWholeTest : public testing::CalculationTest {
  protected:
    QWidget& viewport() { return *table().findChild<QWidget*>("picOne"); }

    // One cell fits in its font and shows the stored value rounded by the rule.
    void checkCell(int column, long long row, const std::string& what) {
        const std::string text = table().cellText(column, row);
        const CellValue v = table().cellValue(column, row);
        ASSERT_FALSE(text.empty()) << what;
        const qreal advance =
            textAdvance(table().cellFont(column, row), QString::fromStdString(text), &viewport());
        EXPECT_LE(advance, FrmDSPDTA::cellTextWidth(column)) << what << " " << text;
        if (column == 0 || v.failure != 0) return;  // row numbers and failure names
        const int d = decimalCount(v.value, column == 3 ? CellKind::Slope : CellKind::Value);
        const double shown = textToNumber(text);
        // The general number form of what it shows: nothing cut off or added.
        EXPECT_EQ(text, numberToText(shown)) << what;
        if (d >= 0) {
            EXPECT_EQ(text, numberToText(roundHalfEven(v.value, d))) << what;
        } else {
            // Rounded to a multiple of 10^-d: 11 (12) significant digits.
            const double unit = std::pow(10.0, -d);
            EXPECT_LE(std::fabs(shown - v.value), 0.5 * unit * (1 + 1e-12)) << what << " " << text;
            EXPECT_LE(significantDigits(text), column == 3 ? 12 : 11) << what << " " << text;
        }
    }
};

TEST_F(TextsWholeTest, EveryCellFitsAndShowsTheRoundedValue) {
    struct Run {
        const char* f;
        const char* x0;
        const char* loops = "55";
    };
    // The last run numbers its rows from 1000 on.
    std::vector<Run> runs = {
        {"atn(x)", "2"},    {"exp(x)", "700"},        {"x^2+1", "0.5"},         {"exp(x)", "-30"},
        {"1/x-1E+12", "3"}, {"-x^3+2E+20", "-0.001"}, {"x^2+1", "0.5", "1200"},
    };
    const char* starts[] = {"-3", "4", "0.001", "-123456.789", "1E+15", "0.5"};
    std::vector<const char*> examples(std::begin(kExampleFunctions), std::end(kExampleFunctions));
    examples.push_back(kInitialFunction);
    for (const char* f : examples)
        for (const char* x0 : starts) runs.push_back({f, x0});

    long long cells = 0;
    for (const Run& run : runs) {
        calculate(run.f, run.x0, run.loops);
        const std::string what = std::string(run.f) + " from " + run.x0;
        ASSERT_GE(table().rowCount(), 1) << what;
        for (long long r = 0; r < table().rowCount(); ++r) {
            for (int c = 0; c < 4; ++c) {
                if (table().cellValue(c, r).failure == FrmDSPDTA::kBlank) continue;
                checkCell(c, r,
                          what + ", row " + std::to_string(r) + ", column " + std::to_string(c));
                ++cells;
            }
        }
    }
    EXPECT_GT(cells, 1000);
}

TEST_F(TextsWholeTest, ANegativeCellShowsItsMinusSignWithinAPixelOfBackground) {
    calculate("sin(3)*X^2-2*cos(X+8)", "-3");
    ASSERT_LT(table().cellValue(3, 0).value, 0);
    const QImage shot = viewport().grab().toImage();
    const qreal dpr = shot.devicePixelRatio();
    // The whole device pixels of the first slope cell: 3720 twips on, 1695 wide, 255 high.
    const double top = table().contentTop();
    const QRect cell(
        QPoint(std::ceil(3720 / 15.0 * dpr), std::ceil(top / 15 * dpr)),
        QPoint(std::floor(5415 / 15.0 * dpr) - 1, std::floor((top + 255) / 15 * dpr) - 1));
    std::vector<std::pair<int, int>> dark(cell.width(), {cell.bottom() + 1, cell.top() - 1});
    int first = cell.width(), textTop = cell.bottom(), textFoot = cell.top();
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        EXPECT_EQ(shot.pixelColor(cell.left(), y), QColor(192, 192, 255)) << y;
        EXPECT_EQ(shot.pixelColor(cell.right(), y), QColor(192, 192, 255)) << y;
        for (int x = 0; x < cell.width(); ++x) {
            if (qGray(shot.pixel(cell.left() + x, y)) >= 150) continue;
            dark[x] = {std::min(dark[x].first, y), std::max(dark[x].second, y)};
            first = std::min(first, x), textTop = std::min(textTop, y),
            textFoot = std::max(textFoot, y);
        }
    }
    // The leftmost mark: a short bar, 2 pixels wide or more, clear of the digits.
    ASSERT_LT(first, cell.width() - 2 * dpr);
    for (int x = first; x < first + std::ceil(2 * dpr); ++x) {
        EXPECT_GT(dark[x].first, textTop + 1) << table().cellText(3, 0);
        EXPECT_LT(dark[x].second, textFoot - 1) << table().cellText(3, 0);
        EXPECT_LE(dark[x].second - dark[x].first + 1, (textFoot - textTop + 1) / 3);
    }
}

TEST_F(TextsWholeTest, FixedTextsFitTheirBoxes) {
    FrmWait& wait = main->frmWait();
    std::vector<QWidget*> forms = {&panel(), &table(), &wait};
    int checked = 0;
    for (QWidget* form : forms) {
        for (QLabel* label : form->findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;
            EXPECT_LE(textAdvance(label->font(), label->text(), label),
                      label->width() - 2 * kTextMargin)
                << label->text().toStdString();
            ++checked;
        }
        for (QPushButton* button : form->findChildren<QPushButton*>()) {
            EXPECT_LE(textAdvance(button->font(), button->text(), button), button->width() - 8)
                << button->text().toStdString();
            ++checked;
        }
    }
    EXPECT_GE(checked, 15);

    // The initial-value box written by a graph click, and while it is edited.
    auto* box = dynamic_cast<FittingLineEdit*>(&panel().TexDFT());
    ASSERT_NE(box, nullptr);
    for (const char* text : {"-3.615", "-123456.789", "3"}) {
        panel().setInitialValueText(text);
        EXPECT_EQ(box->cursorPosition(), 0) << text;
        EXPECT_LE(textAdvance(box->font(), box->text(), box), box->textWidth()) << text;
    }
    box->setFocus();
    QApplication::processEvents();
    panel().CmdCal().setFocus();
    QApplication::processEvents();
    EXPECT_LE(textAdvance(box->font(), box->text(), box), box->textWidth());
    EXPECT_EQ(box->cursorPosition(), 0);
    // Every example fits the f(x) box.
    auto* fx = dynamic_cast<FittingLineEdit*>(panel().CmbFx().lineEdit());
    ASSERT_NE(fx, nullptr);
    for (int i = 0; i < panel().CmbFx().count(); ++i) {
        panel().CmbFx().setCurrentIndex(i);
        EXPECT_LE(textAdvance(fx->font(), fx->text(), fx), fx->textWidth())
            << fx->text().toStdString();
    }
}

// Ink added by the caption of a button, at a device pixel ratio.
double captionInk(QPushButton& button, qreal dpr) {
    auto render = [&] {
        QImage img((button.size() * dpr), QImage::Format_RGB32);
        img.setDevicePixelRatio(dpr);
        img.fill(Qt::white);
        button.render(&img);
        return img;
    };
    const QImage with = render();
    const QString text = button.text();
    button.setText(QString());
    const QImage without = render();
    button.setText(text);
    double ink = 0;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            ink += std::abs(qGray(without.pixel(x, y)) - qGray(with.pixel(x, y)));
    return ink / (dpr * dpr);
}

// A short outcome stands on one line, its last word not wrapped alone.
TEST_F(TextsWholeTest, AShortOutcomeStaysOnOneLine) {
    panel().CmbFx().setEditText("x");
    panel().TexDFT().setText("0");
    panel().CmdCal_Click();
    auto* line = graph().picThree().findChild<QLabel*>("outcomeLine");
    ASSERT_TRUE(line && line->isVisible());
    EXPECT_LT(line->height(), 2 * line->fontMetrics().lineSpacing()) << line->text().toStdString();
}

TEST_F(TextsWholeTest, KaiBoldCaptionsStayBoldAtEveryRatio) {
    for (QPushButton* button : {&panel().CmdCal(), &panel().CmdClr(), &panel().Command1()}) {
        ASSERT_TRUE(button->font().bold());
        QPushButton regular(button->text(), button->parentWidget());
        regular.setGeometry(button->geometry());
        regular.setStyle(button->style());
        QFont f = button->font();
        f.setBold(false);
        regular.setFont(f);
        for (qreal dpr : {1.0, 1.5, 2.0, 3.0})
            EXPECT_GT(captionInk(*button, dpr) / captionInk(regular, dpr), 1.4)
                << button->text().toStdString() << " at " << dpr;
    }
}

TEST_F(TextsWholeTest, KeyboardStartsOnCalculate) {
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    EXPECT_EQ(QApplication::focusWidget(), &panel().CmdCal());
    QTest::keyClicks(QApplication::focusWidget(), "7");
    EXPECT_EQ(panel().TexLoops().text(), "55");
    EXPECT_EQ(panel().TexDFT().text(), "");
}

}  // namespace
}  // namespace quorel
