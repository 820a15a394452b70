#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/power.h"

namespace quorel {
namespace {

#if defined(__SIZEOF_FLOAT128__)
using Quad = __float128;

// a^b in quadruple precision: within 15 quad roundings of the exact power,
// far closer than the double's half ulp.
Quad quadPower(double a, int b) {
    Quad r = a;
    for (int i = 1; i < b; ++i) r *= a;
    return r;
}

TEST(Power, WholePowersAreCorrectlyRounded) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> nearOne(0.5, 2.0);
    std::uniform_real_distribution<double> wide(-40.0, 40.0);
    std::uniform_int_distribution<int> exponent(-60, 60);
    for (int i = 0; i < 40000; ++i) {
        double a = i % 2 == 0 ? nearOne(random) : wide(random);
        if (i % 5 == 0) a = std::ldexp(nearOne(random), exponent(random));
        for (int b = 2; b <= 16; ++b) {
            const double correct = static_cast<double>(quadPower(a, b));
            const double got = power(a, b);
            ASSERT_EQ(got, correct) << a << "^" << b;
        }
    }
}
#endif

TEST(Power, OtherExponentsAndRangesAreTheLibrarys) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> base(-30.0, 30.0);
    for (int i = 0; i < 2000; ++i) {
        const double a = base(random);
        EXPECT_EQ(power(a, 2), a * a);
        for (double b : {0.0, 1.0, 17.0, 2.5, -2.0, 0.5, 1e6}) {
            const double expected = std::pow(a, b);
            const double got = power(a, b);
            EXPECT_EQ(std::isnan(got), std::isnan(expected)) << a << "^" << b;
            if (!std::isnan(expected)) {
                EXPECT_EQ(got, expected) << a << "^" << b;
            }
        }
    }
    // Results beyond the range where the error term is exact.
    for (double a : {1e-100, -1e-100, 1e-40, 1e30, -1e30, 1e100, 1e200, 0.0, -0.0}) {
        for (int b : {3, 10, 16}) {
            const double expected = std::pow(a, b);
            EXPECT_EQ(power(a, b), expected) << a << "^" << b;
            EXPECT_EQ(std::signbit(power(a, b)), std::signbit(expected)) << a << "^" << b;
        }
    }
}

}  // namespace
}  // namespace quorel
