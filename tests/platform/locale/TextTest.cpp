#include "platform/locale/Text.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zelto::locale {
namespace {

// Man, woman and girl joined by zero-width joiners: one user-perceived
// character of 18 bytes.
const std::string family = "\U0001F468\u200D\U0001F469\u200D\U0001F467";
const std::string germanFlag = "\U0001F1E9\U0001F1EA";
const std::string eAcute = "e\u0301";  // e + combining acute accent

TEST(Utf8Validation, FindsTheFirstIllFormedByteAndRepairsEachOne) {
  struct Case {
    std::string text;
    std::optional<std::size_t> firstInvalid;
    std::string repaired;
  };
  const std::string r = "\uFFFD";
  const Case cases[] = {
      {"", std::nullopt, ""},
      {"\u00E4\u20AC" + family, std::nullopt, "\u00E4\u20AC" + family},
      {"\U0010FFFF", std::nullopt, "\U0010FFFF"},
      {std::string("a\0b", 3), std::nullopt, std::string("a\0b", 3)},
      {"ab\xC3", 2, "ab" + r},  // cut two-byte sequence
      {"a\xFF"
       "b",
       1, "a" + r + "b"},                                 // never a lead byte
      {"\xC0\xAF", 0, r + r},                             // overlong "/"
      {"x\xE0\x80\xAF", 1, "x" + r + r + r},              // overlong three-byte form
      {"\xED\xA0\x80", 0, r + r + r},                     // a surrogate
      {"\xF4\x90\x80\x80", 0, r + r + r + r},             // past U+10FFFF
      {"\x80", 0, r},                                     // a lone continuation byte
      {"ok \xE2\x80", 3, "ok " + r + r},                  // each lost byte shows
      {"\xF0\x9F\x98!\u00E4", 0, r + r + r + "!\u00E4"},  // text after the damage is kept
  };
  for (const Case& c : cases) {
    EXPECT_EQ(firstInvalidUtf8Byte(c.text), c.firstInvalid) << c.text;
    EXPECT_EQ(isValidUtf8(c.text), !c.firstInvalid) << c.text;
    EXPECT_EQ(wellFormedUtf8(c.text), c.repaired) << c.text;
  }
}

TEST(Utf8Validation, FindsControlCharactersOutsideTheAllowedOnes) {
  EXPECT_FALSE(containsControlCharacter("tab\tand\r\nbreaks \u00E4", "\t\n\r"));
  for (const std::string text : {"\x1B[31m", "\x7F", "a\u0085", "\u009B", "a\tb"}) {
    EXPECT_TRUE(containsControlCharacter(text, "\n")) << text;
  }
  EXPECT_FALSE(containsControlCharacter("\xFF\u200B\u2028", ""));  // ill-formed bytes and format characters
}

TEST(Graphemes, CountUserPerceivedCharacters) {
  struct Case {
    std::string text;
    std::size_t firstLength;
    std::size_t count;
  };
  const std::vector<Case> cases{
      {"", 0, 0},
      {"abc", 1, 3},
      {eAcute + "x", 3, 2},
      {family, 18, 1},
      {germanFlag + "\U0001F1EB\U0001F1F7", 8, 2},
      {"\r\n", 2, 1},
      {"\U0001F44D\U0001F3FD!", 8, 2},  // thumbs up with a skin tone
  };
  for (const auto& c : cases) {
    EXPECT_EQ(firstGraphemeClusterLength(c.text), c.firstLength) << c.text;
    EXPECT_EQ(graphemeClusterCount(c.text), c.count) << c.text;
  }
}

TEST(Graphemes, ReadIllFormedBytesAsReplacementCharacters) {
  EXPECT_EQ(firstGraphemeClusterLength("\xFF"
                                       "abc"),
            1u);
  EXPECT_EQ(graphemeClusterCount("\xFF\xFE"), 2u);
  EXPECT_EQ(graphemeClusterCount("a\xC3"), 2u);
  EXPECT_EQ(firstGraphemeClusterLength("\xE2\x82"), 2u);  // a truncated sequence is one character
}

TEST(UppercasedRoot, UsesFullLocaleIndependentMappings) {
  EXPECT_EQ(uppercasedRoot("stra\u00DFe"), "STRASSE");
  EXPECT_EQ(uppercasedRoot("istanbul"), "ISTANBUL");
  EXPECT_EQ(uppercasedRoot("\uFB01"), "FI");
  EXPECT_EQ(uppercasedRoot("mar 10\u201316"), "MAR 10\u201316");
  EXPECT_EQ(uppercasedRoot("a\xFF"), "A\uFFFD");
}

TEST(Trimming, RemovesUnicodeWhiteSpaceAtBothEnds) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"  a b  ", "a b"},
      {"\ta\n", "a"},
      {"\u00A0a\u00A0", "a"},
      {"\u2028a\u2029", "a"},
      {"\u0085a\u1680", "a"},
      {"\u2000\u200Aa\u202F\u205F", "a"},
      {"\u200Ba\u200B", "\u200Ba\u200B"},  // zero-width space is not white space
      {"a \u00A0 b", "a \u00A0 b"},
      {"", ""}};
  for (const auto& [text, trimmed] : cases) EXPECT_EQ(trimmingWhitespaceAndNewlines(text), trimmed) << text;
}

TEST(Trimming, KeepsIllFormedBytes) {
  EXPECT_EQ(trimmingWhitespaceAndNewlines(" \xFF a "), "\xFF a");
  EXPECT_EQ(trimmingWhitespaceAndNewlines(" a\xC3"), "a\xC3");
  EXPECT_EQ(trimmingWhitespaceAndNewlines("\xC2 "), "\xC2");  // a lead byte swallowing no space
}

}  // namespace
}  // namespace zelto::locale
