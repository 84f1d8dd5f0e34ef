#pragma once

#include <cstdint>

namespace zelto {

// An instant: seconds since 2001-01-01T00:00:00Z, exactly as the snapshot JSON
// carries it. Negative values lie before that reference date.
using Date = double;

// Seconds between 1970-01-01T00:00:00Z and the reference date.
inline constexpr double referenceDateUnixSeconds = 978307200.0;

inline constexpr double unixMillisFromDate(Date date) { return (date + referenceDateUnixSeconds) * 1000.0; }
inline constexpr Date dateFromUnixMillis(double millis) { return millis / 1000.0 - referenceDateUnixSeconds; }

// A half-open span of time [start, start + duration).
struct DateInterval {
  Date start = 0;
  double duration = 0;

  Date end() const { return start + duration; }
  bool operator==(const DateInterval&) const = default;
};

}  // namespace zelto
