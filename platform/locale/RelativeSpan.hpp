#pragma once

#include "platform/locale/Date.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace zelto::locale {

// Units of a relative span, largest first.
enum class RelativeUnit { day, hour, minute, second };

struct RelativeComponent {
  RelativeUnit unit = RelativeUnit::second;
  std::int64_t value = 0;
  bool operator==(const RelativeComponent&) const = default;
};

// The span between `now` and `date` as it is shown: the absolute span, cut to
// whole seconds, in its largest non-zero unit among days, hours, minutes and
// seconds, followed by the next smaller unit unless that one is zero
// (2 hr, 18 min; 4 days; 0 sec for spans under a second). Past and future
// spans of the same length give the same components.
struct RelativeSpan {
  std::vector<RelativeComponent> components;  // one or two, largest first
  bool operator==(const RelativeSpan&) const = default;
};

// Longest span shown, in seconds (about 31.7 million years); longer spans,
// NaN and infinity have no relative span.
inline constexpr double maximumRelativeSpanSeconds = 1.0e15;

std::optional<RelativeSpan> relativeSpan(Date date, Date now);

// The earliest instant after `now` at which relativeSpan(date, t) differs
// from relativeSpan(date, now): for a future date the span shrinks and the
// shown smallest unit ticks down just after date - boundary; for a past date
// it grows and ticks up exactly at date + boundary. std::nullopt when there
// is no span (see above) or the next one would have none.
std::optional<Date> nextRelativeSpanChange(Date date, Date now);

}  // namespace zelto::locale
