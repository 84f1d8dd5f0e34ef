#include "platform/locale/IcuConversion.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zelto::locale {

std::optional<UDate> icuMillisFromDate(Date date) {
  if (!std::isfinite(date)) return std::nullopt;
  const double millis = unixMillisFromDate(date);
  if (!(std::fabs(millis) <= supportedUnixMillisMagnitude)) return std::nullopt;
  return millis;
}

std::optional<Date> dateFromIcuMillis(UDate millis) {
  if (!(std::fabs(millis) <= supportedUnixMillisMagnitude)) return std::nullopt;
  return dateFromUnixMillis(millis);
}

icu::UnicodeString unicodeFromUtf8(std::string_view text) {
  // ICU strings hold at most INT32_MAX units; longer input is cut there.
  const auto length = static_cast<int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
  return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), length));
}

std::string utf8FromUnicode(const icu::UnicodeString& text) {
  std::string result;
  text.toUTF8String(result);
  return result;
}

}  // namespace zelto::locale
