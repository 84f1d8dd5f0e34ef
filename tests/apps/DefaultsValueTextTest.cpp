#include <gtest/gtest.h>

#include "apps/zelto-limits-defaults/ValueText.hpp"

namespace zelto::defaults {
namespace {

TEST(DefaultsValueText, PrintableUtf8IsShownAsTextEverythingElseMarked) {
  const std::pair<SuiteValue, std::string> cases[] = {
      {std::int64_t{-3}, "-3"},
      {INT64_MIN, "-9223372036854775808"},
      {std::string(""), ""},
      {std::string("{\"accounts\": []}"), "{\"accounts\": []}"},
      {std::string("tab\tand\r\nbreaks"), "tab\tand\r\nbreaks"},
      {std::string("caf\xc3\xa9 \xf0\x9f\x93\x88"), "caf\xc3\xa9 \xf0\x9f\x93\x88"},
      {std::string("-3"), "<bytes:-3>"},  // not to be taken for the integer
      {std::string("+12"), "<bytes:+12>"},
      {std::string("-"), "-"},
      {std::string("a\0b", 3), "<hex:610062>"},  // NUL
      {std::string("\x1b[2J"), "<hex:1b5b324a>"},  // terminal escape
      {std::string("\x7f"), "<hex:7f>"},           // DEL
      {std::string("\xc2\x9b"), "<hex:c29b>"},     // C1 control (CSI)
      {std::string("\xff\xfe"), "<hex:fffe>"},     // not UTF-8
      {std::string("\xc0\xaf"), "<hex:c0af>"},     // overlong "/"
      {std::string("\xed\xa0\x80"), "<hex:eda080>"},  // encoded surrogate
      {std::string("caf\xc3"), "<hex:636166c3>"},     // truncated sequence
      {std::string("\xf4\x90\x80\x80"), "<hex:f4908080>"},  // above U+10FFFF
      {ForeignValue{ForeignValue::Type::text, "-3"}, "<text:-3>"},
      {ForeignValue{ForeignValue::Type::text, "\x1b"}, "<text:hex:1b>"},
      {ForeignValue{ForeignValue::Type::real, "2.5"}, "<real:2.5>"},
      {ForeignValue{}, "<null>"},
  };
  for (const auto& [value, shown] : cases) EXPECT_EQ(displayValue(value), shown) << shown;
}

}  // namespace
}  // namespace zelto::defaults
