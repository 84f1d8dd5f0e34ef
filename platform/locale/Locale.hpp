#pragma once

#include "platform/locale/Calendar.hpp"
#include "platform/locale/Date.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zelto::locale {

// The user's locale and the formatting services built on it (ICU). A cheap,
// immutable value; copies share the underlying ICU objects' prototypes, and
// every method is safe to call from several threads.
class Locale {
 public:
  // Accepts BCP 47 ("de-DE", "ar-EG-u-nu-arab") and POSIX ("de_DE.UTF-8",
  // "sr_RS@latin", "C", "POSIX") forms. The C and POSIX locales, an empty or
  // malformed name and a language without ICU data all give en_US. Locales
  // of the same id share one implementation for the whole process, so
  // making one again is cheap.
  static Locale make(const std::string& name);

  // Whether make(name) finds locale data for the name itself rather than
  // falling back to en_US (the C and POSIX locales count as known).
  static bool isKnown(const std::string& name);

  // Canonical ICU id, for example "de_DE".
  const std::string& id() const;

  // The region's first weekday by ICU's data, 1 (Sunday) to 7 (Saturday).
  int defaultFirstWeekday() const;

  // Whole number in the locale's digits. grouping: whether to insert the
  // locale's grouping separators (1,234 or 1234).
  std::string formatInteger(std::int64_t value, bool grouping) const;

  // Decimal number in the locale's style, with grouping, between
  // minimumFractionDigits and maximumFractionDigits fraction digits, rounded
  // half to even. Answers nullopt when ICU yields no text.
  std::optional<std::string> formatDecimal(double value, int minimumFractionDigits, int maximumFractionDigits) const;

  // The localized pattern for the skeleton ("MMM", "d", "MMMd") applied to
  // `date` in `calendar`'s time zone, always in the Gregorian calendar. Empty
  // for an instant the calendar cannot represent (NaN, infinity, millions of
  // years away) or a skeleton ICU cannot use.
  std::string formatDate(Date date, std::string_view skeleton, const Calendar& calendar) const;

  // The full date style without time ("Wednesday, March 12, 2025"); empty
  // for an instant the calendar cannot represent.
  std::string formatFullDate(Date date, const Calendar& calendar) const;

  // The span between `now` and `date` (absolute; same text for past and
  // future) in at most the two largest non-zero units among days, hours,
  // minutes and seconds, ICU measure format, short width: "2 hr, 18 min".
  // The span is cut to whole seconds; a span under one second is "0 sec".
  // The second unit is left out when it is zero ("4 days"). Empty when
  // either instant is not finite or the span exceeds about 31.7 million
  // years.
  std::string formatRelative(Date date, Date now) const;

  // The instant at which formatRelative(date, now) next changes its text
  // (strictly after `now`), so that a host can redraw exactly then. Positive
  // infinity when the text never changes (see formatRelative's empty cases).
  Date nextRelativeChange(Date date, Date now) const;

  // Upper-cases with this locale's case rules (Turkish dotted I, German sharp s).
  std::string uppercased(std::string_view text) const;

  bool operator==(const Locale& other) const { return id() == other.id(); }

  struct Implementation;
  const Implementation& implementation() const { return *implementation_; }

 private:
  explicit Locale(std::shared_ptr<const Implementation> implementation);
  std::shared_ptr<const Implementation> implementation_;
};

}  // namespace zelto::locale
