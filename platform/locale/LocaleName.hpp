#pragma once

// Turns the locale names found on a Linux desktop into ICU locales.
// Internal to the locale adapter.

#include <unicode/locid.h>

#include <optional>
#include <string_view>

namespace zelto::locale {

// Accepts BCP 47 tags ("de-DE", "ar-EG-u-nu-arab") and POSIX names
// ("de_DE.UTF-8", "sr_RS@latin", "C", "POSIX"). The C and POSIX locales,
// empty names, malformed names and languages ICU has no data for all give
// en_US, so that formatting always has real locale data behind it.
icu::Locale icuLocaleFromName(std::string_view name);

// The same reading without the fallback: nullopt for a malformed name or a
// language ICU has no data for (the C and POSIX locales still give en_US).
std::optional<icu::Locale> knownIcuLocaleFromName(std::string_view name);

}  // namespace zelto::locale
