// PIN hashes: which PINs are taken, and hashes that verify, are salted and
// refuse anything that is not one of theirs. Each hash and each verify of a
// well-formed hash costs a deliberate tenth of a second or so, so the cases
// hash as little as they can.

#include <gtest/gtest.h>

#include <string>

#include "security/PinHash.h"

namespace orvan {
namespace {

TEST(PinHash, TakesFourToEightDigitsOnly) {
    for (const char* pin : {"0000", "4711", "12345", "00000000", "98765432"}) {
        EXPECT_TRUE(pin::IsValidPin(pin)) << pin;
    }
    for (const char* pin :
         {"", "123", "123456789", "12a4", " 1234", "1234 ", "12 34", "-123", "+1234", "12.4",
          "\xd9\xa1\xd9\xa2\xd9\xa3\xd9\xa4" /* Arabic digits */}) {
        EXPECT_FALSE(pin::IsValidPin(pin)) << pin;
    }
    EXPECT_FALSE(pin::IsValidPin(std::string_view("12\0"
                                                  "34",
                                                  5)));
}

TEST(PinHash, HashesVerifyTheirPinAlone) {
    const std::string first = pin::HashPin("4711");
    const std::string second = pin::HashPin("4711");
    ASSERT_FALSE(first.empty());
    // Argon2id in libsodium's text form, which names its own parameters.
    EXPECT_EQ(first.rfind("$argon2id$", 0), 0u) << first;
    // A fresh salt each time: equal PINs do not give equal hashes.
    EXPECT_NE(first, second);

    EXPECT_TRUE(pin::VerifyPin(first, "4711"));
    EXPECT_TRUE(pin::VerifyPin(second, "4711"));
    EXPECT_FALSE(pin::VerifyPin(first, "4712"));
    EXPECT_FALSE(pin::VerifyPin(first, "47110"));
    EXPECT_FALSE(pin::VerifyPin(first, ""));
}

TEST(PinHash, RefusesMalformedHashes) {
    const std::string good = pin::HashPin("2580");
    ASSERT_FALSE(good.empty());
    std::string altered = good;
    altered.back() = altered.back() == 'A' ? 'B' : 'A';
    for (const std::string& hash :
         {std::string(), std::string("2580"), good.substr(0, good.size() - 6),
          good.substr(0, good.find('$', 10)), std::string("$argon2id$v=19$m=65536,t=2,p=1$$"),
          good + std::string(1, '\0'), good + std::string(200, 'A'), altered}) {
        EXPECT_FALSE(pin::VerifyPin(hash, "2580")) << hash;
    }
}

} // namespace
} // namespace orvan
