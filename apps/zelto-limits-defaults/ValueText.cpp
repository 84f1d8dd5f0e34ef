#include "apps/zelto-limits-defaults/ValueText.hpp"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <boost/algorithm/hex.hpp>
#include <iterator>

namespace zelto::defaults {

bool isPrintableText(std::string_view bytes) {
  const auto* text = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const auto length = static_cast<std::int32_t>(bytes.size());
  if (bytes.size() != static_cast<std::size_t>(length)) return false;
  for (std::int32_t offset = 0; offset < length;) {
    UChar32 character = 0;
    // Strict decoding: overlong forms, surrogates and truncated sequences
    // come back negative.
    U8_NEXT(text, offset, length, character);
    if (character < 0) return false;
    if (u_charType(character) == U_CONTROL_CHAR && character != '\t' && character != '\n' && character != '\r') {
      return false;
    }
  }
  return true;
}

std::string displayValue(const SuiteValue& value) {
  if (const auto* integer = std::get_if<std::int64_t>(&value)) return std::to_string(*integer);
  const std::string& bytes = std::get<std::string>(value);
  if (isPrintableText(bytes)) return bytes;
  std::string shown = "<hex:";
  boost::algorithm::hex_lower(bytes.begin(), bytes.end(), std::back_inserter(shown));
  shown += '>';
  return shown;
}

}  // namespace zelto::defaults
