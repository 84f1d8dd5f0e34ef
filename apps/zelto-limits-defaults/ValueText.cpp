#include "apps/zelto-limits-defaults/ValueText.hpp"

#include <boost/algorithm/hex.hpp>
#include <iterator>

#include "platform/locale/Text.hpp"

namespace zelto::defaults {

bool isPrintableText(std::string_view bytes) {
  return locale::isValidUtf8(bytes) && !locale::containsControlCharacter(bytes, "\t\n\r");
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
