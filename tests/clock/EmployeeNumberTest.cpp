#include <gtest/gtest.h>

#include "clock/EmployeeNumber.h"

namespace orvan::timeclock {
namespace {

TEST(EmployeeNumberText, WholeNumbersAndSurroundingBlanks) {
    EXPECT_EQ(ReadEmployeeNumber("1001"), 1001);
    EXPECT_EQ(ReadEmployeeNumber("0042"), 42);
    EXPECT_EQ(ReadEmployeeNumber("  7 "), 7);
    EXPECT_EQ(ReadEmployeeNumber("+15"), 15);
    EXPECT_EQ(ReadEmployeeNumber("-3"), -3);
    EXPECT_EQ(ReadEmployeeNumber("0"), 0);
}

TEST(EmployeeNumberText, DecimalsRoundHalfToEven) {
    EXPECT_EQ(ReadEmployeeNumber("12.5"), 12);
    EXPECT_EQ(ReadEmployeeNumber("13.5"), 14);
    EXPECT_EQ(ReadEmployeeNumber("12.51"), 13);
    EXPECT_EQ(ReadEmployeeNumber("12.49999"), 12);
    EXPECT_EQ(ReadEmployeeNumber("-2.5"), -2);
    EXPECT_EQ(ReadEmployeeNumber(".6"), 1);
    EXPECT_EQ(ReadEmployeeNumber("7."), 7);
}

TEST(EmployeeNumberText, ThirtyTwoBitLimits) {
    EXPECT_EQ(ReadEmployeeNumber("2147483647"), 2147483647);
    EXPECT_EQ(ReadEmployeeNumber("-2147483648"), INT32_MIN);
    EXPECT_EQ(ReadEmployeeNumber("2147483648"), std::nullopt);
    EXPECT_EQ(ReadEmployeeNumber("2147483647.5"), std::nullopt);
    EXPECT_EQ(ReadEmployeeNumber("-2147483649"), std::nullopt);
    EXPECT_EQ(ReadEmployeeNumber("99999999999999999999999"), std::nullopt);
    EXPECT_EQ(ReadEmployeeNumber("00000000000000000000042"), 42);
}

TEST(EmployeeNumberText, TextThatIsNoNumber) {
    for (const char* text : {"", " ", "   ", "abc", "12a", "a12", "1 2", "--1", "+-1", "1.2.3", ".",
                             "-", "1e3", "0x10", "12,000"}) {
        EXPECT_EQ(ReadEmployeeNumber(text), std::nullopt) << '"' << text << '"';
    }
}

} // namespace
} // namespace orvan::timeclock
