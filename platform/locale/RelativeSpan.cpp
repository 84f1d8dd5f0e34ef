#include "platform/locale/RelativeSpan.hpp"

#include <array>
#include <cmath>
#include <limits>

namespace zelto::locale {
namespace {

constexpr std::array<std::int64_t, 4> unitSeconds{86400, 3600, 60, 1};

// The span cut to whole seconds, or nullopt when it cannot be shown.
std::optional<std::int64_t> wholeSeconds(Date date, Date now) {
  const double span = std::fabs(date - now);
  if (!(span <= maximumRelativeSpanSeconds)) return std::nullopt;  // also NaN
  return static_cast<std::int64_t>(std::floor(span));
}

// Index into unitSeconds of the largest unit with a non-zero value; seconds
// for a zero span.
std::size_t largestUnitIndex(std::int64_t seconds) {
  for (std::size_t index = 0; index + 1 < unitSeconds.size(); ++index) {
    if (seconds >= unitSeconds[index]) return index;
  }
  return unitSeconds.size() - 1;
}

// Length in seconds of the smallest unit the text can show for this span:
// the text stays the same while the span stays within one multiple of it.
std::int64_t smallestShownUnitSeconds(std::int64_t seconds) {
  const std::size_t largest = largestUnitIndex(seconds);
  return unitSeconds[std::min(largest + 1, unitSeconds.size() - 1)];
}

}  // namespace

std::optional<RelativeSpan> relativeSpan(Date date, Date now) {
  const auto seconds = wholeSeconds(date, now);
  if (!seconds) return std::nullopt;
  const std::size_t largest = largestUnitIndex(*seconds);
  RelativeSpan span;
  span.components.push_back({static_cast<RelativeUnit>(largest), *seconds / unitSeconds[largest]});
  if (largest + 1 < unitSeconds.size()) {
    const std::int64_t next = *seconds % unitSeconds[largest] / unitSeconds[largest + 1];
    if (next != 0) span.components.push_back({static_cast<RelativeUnit>(largest + 1), next});
  }
  return span;
}

std::optional<Date> nextRelativeSpanChange(Date date, Date now) {
  const auto seconds = wholeSeconds(date, now);
  if (!seconds) return std::nullopt;
  const std::int64_t unit = smallestShownUnitSeconds(*seconds);
  // The text shows floor(span / unit) in some form; it holds while the span
  // stays within [boundary, boundary + unit).
  const std::int64_t boundary = *seconds / unit * unit;
  constexpr double infinity = std::numeric_limits<double>::infinity();
  const auto current = relativeSpan(date, now);

  Date change = 0;
  if (date > now && boundary > 0) {
    // Counting down: the span drops below the boundary just after this.
    change = std::nextafter(date - static_cast<double>(boundary), infinity);
  } else {
    // Counting up (past dates, and future ones within their last second,
    // which read "0 sec" until a second has passed the date).
    change = date + static_cast<double>(boundary + unit);
  }
  // Rounding of the subtraction above can land a hair early; step forward
  // to the first representable instant that really shows another text.
  for (int step = 0; step < 64 && (change <= now || relativeSpan(date, change) == current); ++step) {
    change = std::nextafter(change, infinity);
  }
  if (!relativeSpan(date, change)) return std::nullopt;
  return change;
}

}  // namespace zelto::locale
