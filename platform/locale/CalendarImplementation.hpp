#pragma once

// The ICU side of zelto::locale::Calendar, shared by the adapter's sources
// (the date formatters of Locale need the calendar's time zone).

#include "platform/locale/Calendar.hpp"

#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <memory>
#include <string>

namespace zelto::locale {

// A Gregorian calendar without the switch from the Julian calendar in 1582:
// its rules run back through every earlier year, as they do for day keys
// and ISO-8601 texts. Every calendar and date format of the adapter is one
// of these; nullptr when ICU fails.
std::unique_ptr<icu::GregorianCalendar> prolepticGregorianCalendar(const icu::TimeZone& timeZone,
                                                                   const icu::Locale& locale);

struct Calendar::Implementation {
  std::string timeZoneId;
  int firstWeekday = 1;
  std::unique_ptr<const icu::TimeZone> timeZone;
  // Never mutated after construction: ICU calendars are not safe to mutate
  // from several threads, so every operation works on its own copy.
  std::unique_ptr<const icu::GregorianCalendar> prototype;

  // A private, mutable copy of the prototype for one operation; nullptr when
  // ICU runs out of memory.
  std::unique_ptr<icu::Calendar> workingCopy() const { return std::unique_ptr<icu::Calendar>(prototype->clone()); }
};

}  // namespace zelto::locale
