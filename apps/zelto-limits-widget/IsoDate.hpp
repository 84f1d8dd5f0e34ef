#pragma once

#include <optional>
#include <string>

#include "platform/locale/Calendar.hpp"
#include "platform/locale/Date.hpp"

namespace zelto::cli {

// Reads an ISO-8601 instant: "2025-03-12T10:00:00+01:00", "...Z", with
// fractional seconds, or without a zone ("2025-03-12T10:00:00",
// "2025-03-12"), which is then wall-clock time in `calendar`'s zone.
std::optional<Date> parseIso8601(const std::string& text, const locale::Calendar& calendar);

// The current instant of the system clock, in whole seconds.
Date systemNow();

}  // namespace zelto::cli
