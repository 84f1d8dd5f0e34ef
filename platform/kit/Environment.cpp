#include "platform/kit/Environment.hpp"

namespace zelto::kit {

const locale::Calendar& Environment::effectiveCalendar() const {
  if (calendar) return *calendar;
  // "UTC" with Sunday first always exists in ICU's data.
  static const locale::Calendar fallback = *locale::Calendar::make("UTC", 1);
  return fallback;
}

const locale::Locale& Environment::effectiveLocale() const {
  if (locale) return *locale;
  static const locale::Locale fallback = locale::Locale::make("en_US");
  return fallback;
}

}  // namespace zelto::kit
