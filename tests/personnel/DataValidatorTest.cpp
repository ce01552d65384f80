#include <gtest/gtest.h>

#include <string>

#include "core/DateTime.h"
#include "personnel/CDataValidator.h"
#include "support/TestSupport.h"

using orvan::CDataValidator;

TEST(DataValidator, IntegerValues) {
    for (const std::string ok : {"", "0", "007", "123456", "99999999999999999999"}) {
        EXPECT_TRUE(CDataValidator::CheckIntegerValues(ok)) << ok;
    }
    for (const std::string bad : {"7 ", " 7", "-3", "+3", "1.5", "1,000", "12a", "&H10", "1e3"}) {
        EXPECT_FALSE(CDataValidator::CheckIntegerValues(bad)) << bad;
    }
    std::string text = "42";
    CDataValidator validator;
    EXPECT_TRUE(validator.CheckIntegerValues(text));
    EXPECT_EQ(text, "42");
}

TEST(DataValidator, SingleValues) {
    for (const std::string ok : {"0.5", "12.5", "12.", ".5", "12", "007.250", "0",
                                 "340282346638528859811704183484516925440"}) {
        EXPECT_TRUE(CDataValidator::CheckSingleValues(ok)) << ok;
    }
    // A value too small for a float reads as zero.
    EXPECT_TRUE(CDataValidator::CheckSingleValues("0." + std::string(400, '0') + "1"));
    for (const std::string bad : {"", ".", "..", "1.2.3", "-3", "+3", "1,5", " 1", "1 ", "1e5",
                                  "abc", "1000000000000000000000000000000000000000"}) {
        EXPECT_FALSE(CDataValidator::CheckSingleValues(bad)) << bad;
    }
    EXPECT_FALSE(CDataValidator::CheckSingleValues(std::string(400, '9')));
}

TEST(DataValidator, TempixValues) {
    orvan::test::ScopedClock clock(orvan::DateTime::FromParts(2006, 6, 1, 9));
    for (const std::string ok : {"12/31/2006", "8:30 AM", "12/31/2006 8:30 AM", "14:05"}) {
        EXPECT_TRUE(CDataValidator::CheckTempixValues(ok)) << ok;
    }
    for (const std::string& bad :
         std::initializer_list<std::string>{"", "13/45/2003", "2/30/2004", "99:99", "hello",
                                            "12/31/2006 x", std::string(10000, '1')}) {
        EXPECT_FALSE(CDataValidator::CheckTempixValues(bad)) << bad;
    }
}
