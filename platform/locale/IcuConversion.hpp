#pragma once

// Conversions between this project's values and ICU's: UTF-8 text and
// UnicodeString, instants and UDate milliseconds. Internal to the locale
// adapter; nothing outside platform/locale includes ICU.

#include "platform/locale/Date.hpp"

#include <unicode/unistr.h>
#include <unicode/utypes.h>

#include <optional>
#include <string>
#include <string_view>

namespace zelto::locale {

// The instants the adapter accepts: about 3.17 million years either side of
// 1970, well inside the range on which ICU's calendars compute fields
// exactly. Anything outside (and NaN or infinity) is refused.
inline constexpr double supportedUnixMillisMagnitude = 1.0e17;

// ICU milliseconds for `date`, or nullopt when the instant is not finite or
// lies outside the supported range.
std::optional<UDate> icuMillisFromDate(Date date);

// The instant for ICU milliseconds, or nullopt outside the supported range.
std::optional<Date> dateFromIcuMillis(UDate millis);

// UTF-8 to UTF-16; each ill-formed byte sequence becomes U+FFFD.
icu::UnicodeString unicodeFromUtf8(std::string_view text);

std::string utf8FromUnicode(const icu::UnicodeString& text);

}  // namespace zelto::locale
