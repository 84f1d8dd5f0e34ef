#include "apps/zelto-limits-defaults/ValueText.hpp"

#include <boost/algorithm/hex.hpp>
#include <iterator>

#include "platform/locale/Text.hpp"

namespace zelto::defaults {

bool isPrintableText(std::string_view bytes) {
  return locale::isValidUtf8(bytes) && !locale::containsControlCharacter(bytes, "\t\n\r");
}

namespace {

std::string hex(std::string_view bytes) {
  std::string shown;
  boost::algorithm::hex_lower(bytes.begin(), bytes.end(), std::back_inserter(shown));
  return shown;
}

// Whether bytes would print exactly like an integer: an optional sign and
// digits only.
bool readsLikeInteger(std::string_view bytes) {
  if (!bytes.empty() && (bytes.front() == '-' || bytes.front() == '+')) bytes.remove_prefix(1);
  return !bytes.empty() && std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string displayValue(const SuiteValue& value) {
  if (const auto* integer = std::get_if<std::int64_t>(&value)) return std::to_string(*integer);
  if (const auto* foreign = std::get_if<ForeignValue>(&value)) {
    switch (foreign->type) {
      case ForeignValue::Type::text:
        return isPrintableText(foreign->text) ? "<text:" + foreign->text + ">" : "<text:hex:" + hex(foreign->text) + ">";
      case ForeignValue::Type::real:
        return "<real:" + foreign->text + ">";
      case ForeignValue::Type::null:
        return "<null>";
    }
  }
  const std::string& bytes = std::get<std::string>(value);
  if (readsLikeInteger(bytes)) return "<bytes:" + bytes + ">";
  if (isPrintableText(bytes)) return bytes;
  return "<hex:" + hex(bytes) + ">";
}

}  // namespace zelto::defaults
