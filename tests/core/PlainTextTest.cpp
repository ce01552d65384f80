#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "core/PlainText.h"

namespace orvan::test {
namespace {

TEST(PlainText, RefusesControlsAndDirectionOverrides) {
    for (const std::string& text : std::initializer_list<std::string>{
             "Ann", "", "Zo\u00EB M\u00FCller", "O'Brien-Smith, Jr.", "caf\u00E9 \u20AC5",
             "em \u2014 dash", "\u200Fmark", "\u00A0nbsp"}) {
        EXPECT_TRUE(IsPlainText(text)) << text;
    }
    for (const std::string& text : std::initializer_list<std::string>{
             "e\x1bvil", "bell\a", "tab\tbed", "line\nfeed", "cr\r", std::string("nul\0", 4),
             "del\x7f", "c1 \u0085", "c1 \u009F", "\u202Eevil", "\u202Aembed", "\u2066iso\u2069",
             "\u2068first"}) {
        EXPECT_FALSE(IsPlainText(text)) << text;
    }
}

TEST(PlainText, ShowsEachHiddenCharacterAsOneQuestionMark) {
    EXPECT_EQ(WithHiddenCharactersShown("\u202Eevil\x1b[31m\a"), "?evil?[31m?");
    EXPECT_EQ(WithHiddenCharactersShown("\u2066a\u2069 \u0085 \x7f"), "?a? ? ?");
    // The report layout's tabs and line ends stay; a lone CR or LF does not.
    EXPECT_EQ(WithHiddenCharactersShown("Name: \tAnn\r\n\r\nx"), "Name: \tAnn\r\n\r\nx");
    EXPECT_EQ(WithHiddenCharactersShown("a\nb\rc\r"), "a?b?c?");
    // Ordinary multi-byte characters, and the start of a cut-off sequence,
    // are left alone.
    EXPECT_EQ(WithHiddenCharactersShown("Zo\u00EB \u20AC \u2014"), "Zo\u00EB \u20AC \u2014");
    EXPECT_EQ(WithHiddenCharactersShown("end\xE2\x80"), "end\xE2\x80");
}

} // namespace
} // namespace orvan::test
