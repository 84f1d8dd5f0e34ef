#include <gtest/gtest.h>

#include "apps/zelto-limits-defaults/ValueText.hpp"

namespace zelto::defaults {
namespace {

TEST(DefaultsValueText, IntegersPrintInDecimal) {
  EXPECT_EQ(displayValue(SuiteValue{std::int64_t{-3}}), "-3");
  EXPECT_EQ(displayValue(SuiteValue{std::int64_t{INT64_MIN}}), "-9223372036854775808");
}

TEST(DefaultsValueText, PrintableUtf8IsShownAsTextEverythingElseAsHex) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"{\"accounts\": []}", "{\"accounts\": []}"},
      {"tab\tand\r\nbreaks", "tab\tand\r\nbreaks"},
      {"caf\xc3\xa9 \xf0\x9f\x93\x88", "caf\xc3\xa9 \xf0\x9f\x93\x88"},
      {std::string("a\0b", 3), "<hex:610062>"},  // NUL
      {"\x1b[2J", "<hex:1b5b324a>"},             // terminal escape
      {"\x7f", "<hex:7f>"},                      // DEL
      {"\xc2\x9b", "<hex:c29b>"},                // C1 control (CSI)
      {"\xff\xfe", "<hex:fffe>"},                // not UTF-8
      {"\xc0\xaf", "<hex:c0af>"},                // overlong "/"
      {"\xed\xa0\x80", "<hex:eda080>"},          // encoded surrogate
      {"caf\xc3", "<hex:636166c3>"},             // truncated sequence
      {"\xf4\x90\x80\x80", "<hex:f4908080>"},    // above U+10FFFF
  };
  for (const auto& [bytes, shown] : cases) {
    EXPECT_EQ(displayValue(SuiteValue{bytes}), shown) << shown;
    EXPECT_EQ(isPrintableText(bytes), bytes == shown) << shown;
  }
}

}  // namespace
}  // namespace zelto::defaults
