#pragma once

#include "platform/locale/Calendar.hpp"
#include "platform/locale/Date.hpp"

#include <string_view>
#include <variant>

namespace zelto::locale {

// Why a text is not an instant.
enum class Iso8601Failure {
  malformed,             // not one of the accepted forms, or no such date (2025-02-30)
  nonexistentLocalTime,  // a local time the zone skips (a daylight-saving gap)
};

// Reads an ISO-8601 instant in `calendar`'s proleptic Gregorian calendar:
// "2025-03-12T10:00:00+01:00", "...Z", with fractional seconds, or without a
// zone ("2025-03-12T10:00:00", "2025-03-12"), which is then wall-clock time
// in `calendar`'s zone. The whole text must be one of these forms.
std::variant<Date, Iso8601Failure> parseIso8601(std::string_view text, const Calendar& calendar);

}  // namespace zelto::locale
