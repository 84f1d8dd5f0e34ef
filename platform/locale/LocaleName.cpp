#include "platform/locale/LocaleName.hpp"

#include <unicode/ures.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <utility>

namespace zelto::locale {
namespace {

const icu::Locale& fallbackLocale() {
  static const icu::Locale locale("en_US");
  return locale;
}

bool isPosixDefault(std::string_view name) {
  // "C", "POSIX" and their codeset forms ("C.UTF-8", "C.utf8").
  const std::string_view base = name.substr(0, name.find_first_of(".@"));
  return base.empty() || base == "C" || base == "POSIX";
}

// The script that a glibc locale modifier stands for ("sr_RS@latin").
std::string_view scriptForModifier(std::string_view modifier) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> scripts{{
      {"latin", "Latn"},
      {"cyrillic", "Cyrl"},
      {"devanagari", "Deva"},
      {"iqtelif", "Latn"},
  }};
  for (const auto& [name, script] : scripts) {
    if (modifier == name) return script;
  }
  return {};
}

icu::Locale localeFromPosixName(std::string_view name) {
  // language[_territory][.codeset][@modifier]: the codeset says nothing about
  // formatting; a modifier is kept only where it names a script.
  const std::size_t at = name.find('@');
  const std::string_view modifier = at == std::string_view::npos ? std::string_view{} : name.substr(at + 1);
  std::string_view base = name.substr(0, std::min(name.find('.'), at));
  const std::size_t underscore = base.find('_');
  const std::string_view language = base.substr(0, underscore);
  const std::string_view territory =
      underscore == std::string_view::npos ? std::string_view{} : base.substr(underscore + 1);
  const std::string_view script = scriptForModifier(modifier);

  std::string composed(language);
  if (!script.empty()) composed.append("_").append(script);
  if (!territory.empty()) composed.append("_").append(territory);
  return icu::Locale::createCanonical(composed.c_str());
}

bool isWellFormedName(std::string_view name) {
  return std::all_of(name.begin(), name.end(), [](unsigned char c) {
    return std::isalnum(c) || c == '_' || c == '-' || c == '.' || c == '@' || c == '=' || c == ';';
  });
}

// Whether ICU has locale data for the language, rather than falling back
// to its root data (which would format "Mar 7" as "M03 7").
bool hasLocaleData(const icu::Locale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  UResourceBundle* bundle = ures_open(nullptr, locale.getBaseName(), &status);
  const bool found = U_SUCCESS(status) && status != U_USING_DEFAULT_WARNING;
  ures_close(bundle);
  return found;
}

}  // namespace

std::optional<icu::Locale> knownIcuLocaleFromName(std::string_view name) {
  if (isPosixDefault(name)) return fallbackLocale();
  if (name.size() > 200 || !isWellFormedName(name)) return std::nullopt;

  icu::Locale locale;
  const bool posixForm = name.find('_') != std::string_view::npos || name.find('.') != std::string_view::npos ||
                         name.find('@') != std::string_view::npos;
  if (posixForm) {
    locale = localeFromPosixName(name);
  } else {
    UErrorCode status = U_ZERO_ERROR;
    locale = icu::Locale::forLanguageTag(icu::StringPiece(name.data(), static_cast<int32_t>(name.size())), status);
    if (U_FAILURE(status)) return std::nullopt;
  }
  if (locale.isBogus() || std::string_view(locale.getLanguage()).empty() || !hasLocaleData(locale)) {
    return std::nullopt;
  }
  return locale;
}

icu::Locale icuLocaleFromName(std::string_view name) { return knownIcuLocaleFromName(name).value_or(fallbackLocale()); }

}  // namespace zelto::locale
