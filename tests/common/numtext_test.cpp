#include <gtest/gtest.h>

#include <clocale>
#include <limits>

#include "common/checked_math.h"
#include "common/failure.h"
#include "common/numtext.h"
#include "failure_number.h"

namespace quorel {
namespace {

TEST(TextToNumber, LeadingNumberRule) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},          {"abc", 0},     {"12abc", 12},  {"-2.5", -2.5},
        {"  3 4 ", 34},   {"\t-\n7", -7}, {"1.2.3", 1.2}, {".5", 0.5},
        {"-.25x", -0.25}, {"1e3", 1000},  {"2D2", 200},   {"1e", 1},
        {"1e+", 1},       {"5E-1", 0.5},  {"+4", 4},      {"0.000001", 1e-6},
        {"1e-400", 0},    {"3 e 2", 300}, {"--1", 0},     {"x1", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(textToNumber(c.text), c.value) << c.text;
}

TEST(TextToNumber, DecimalPointIgnoresLocaleAndRangeOverflows) {
    const char* old = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_DOUBLE_EQ(textToNumber("1.5"), 1.5);
    if (old) std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(testing::failureNumber([] { textToNumber("1e999"); }), kErrOverflow);
    EXPECT_EQ(testing::failureNumber([] { textToNumber(std::string(400, '9')); }), kErrOverflow);
}

TEST(NumberToText, GeneralForm) {
    struct Case {
        double v;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {12, "12"},
        {-3, "-3"},
        {2.5, "2.5"},
        {1e-7, "1E-07"},
        {1e15, "1E+15"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {-1.5e300, "-1.5E+300"},
        {250000000000, "250000000000"},
        {123456789012345, "123456789012345"},
    };
    for (const auto& c : cases) EXPECT_EQ(numberToText(c.v), c.text) << c.v;
}

TEST(Rounding, HalfToEvenAndWholeNumbers) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-1.0005, 3), -1.0);  // stored just below the tie
    EXPECT_EQ(floorWhole(-2.5), -3);
    EXPECT_EQ(wholeDiv(-7, 2), -3);
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(32767), 32767);
    EXPECT_THROW(toInt16(32768), Failure);
    EXPECT_THROW(toInt16(std::numeric_limits<double>::quiet_NaN()), Failure);
}

TEST(CheckedMath, FailureNumbers) {
    using testing::failureNumber;
    EXPECT_EQ(failureNumber([] { checkedDiv(0, 0); }), kErrOverflow);
    EXPECT_EQ(failureNumber([] { checkedDiv(1, 0); }), kErrDivZero);
    EXPECT_EQ(failureNumber([] { checkedMul(1e200, 1e200); }), kErrOverflow);
    EXPECT_EQ(failureNumber([] { checkedSub(-1.7e308, 1.7e308); }), kErrOverflow);
    EXPECT_EQ(checkedDiv(1, 4), 0.25);
}

}  // namespace
}  // namespace quorel
