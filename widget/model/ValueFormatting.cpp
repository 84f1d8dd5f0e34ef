#include "widget/model/ValueFormatting.hpp"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <optional>

namespace zelto {

namespace {

struct TokenScale {
  std::int64_t divisor;
  const char* suffix;
};

// Largest first; each threshold is inclusive (1,000 already takes "K").
constexpr TokenScale tokenScales[] = {
    {1'000'000'000, "B"},
    {1'000'000, "M"},
    {1'000, "K"},
};

// One decimal with a point, whatever the process's C locale says.
std::string fixedOneDecimal(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
  return std::string(buffer, result.ptr);
}

// abbreviatedTokens, formatted afresh.
std::string formattedTokens(std::int64_t tokens, const locale::Locale& locale) {
  for (const TokenScale& scale : tokenScales) {
    if (tokens < scale.divisor) continue;
    // The scale is never promoted: 999,999 stays in thousands as 1,000K.
    const double quotient = static_cast<double>(tokens) / static_cast<double>(scale.divisor);
    const int maximumFractionDigits = quotient < 10 ? 1 : 0;
    std::optional<std::string> formatted = locale.formatDecimal(quotient, 0, maximumFractionDigits);
    std::string text = formatted ? std::move(*formatted) : fixedOneDecimal(quotient);
    text += scale.suffix;
    return text;
  }
  return locale.formatInteger(tokens, true);
}

}  // namespace

std::string abbreviatedTokens(std::int64_t count, const locale::Locale& locale) {
  const std::int64_t tokens = count < 0 ? 0 : count;
  // A widget shows a handful of counts and formats them again on every
  // build: the last few of this thread are kept with their locale.
  struct Figure {
    std::int64_t tokens = 0;
    std::string localeId;
    std::string text;
  };
  static thread_local std::array<std::optional<Figure>, 8> figures;
  static thread_local std::size_t nextFigure = 0;
  for (const std::optional<Figure>& figure : figures) {
    if (figure && figure->tokens == tokens && figure->localeId == locale.id()) return figure->text;
  }
  std::string text = formattedTokens(tokens, locale);
  figures[nextFigure] = Figure{tokens, locale.id(), text};
  nextFigure = (nextFigure + 1) % figures.size();
  return text;
}

namespace {

// rangeLabel, formatted afresh.
std::string formattedRangeLabel(const ZeltoUsageWeek& week, const locale::Locale& locale,
                                const locale::Calendar& calendar) {
  const std::string startMonth = locale.formatDate(week.startDate, "MMM", calendar);
  const std::string endMonth = locale.formatDate(week.endDate, "MMM", calendar);
  const std::string startDay = locale.formatDate(week.startDate, "d", calendar);
  const std::string endDay = locale.formatDate(week.endDate, "d", calendar);
  constexpr const char* enDash = "\u2013";
  std::string label = startMonth + " " + startDay + enDash;
  if (startMonth != endMonth) label += endMonth + " ";
  label += endDay;
  return locale.uppercased(label);
}

}  // namespace

std::string rangeLabel(const ZeltoUsageWeek& week, const locale::Locale& locale, const locale::Calendar& calendar) {
  // Every build of a widget labels the same week again: the last label of
  // this thread is reused for the same days, locale and calendar.
  struct Label {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    std::string localeId;
    std::string timeZoneId;
    int firstWeekday = 0;
    std::string text;
  };
  static thread_local std::optional<Label> last;
  const auto start = std::bit_cast<std::uint64_t>(week.startDate);
  const auto end = std::bit_cast<std::uint64_t>(week.endDate);
  if (last && last->start == start && last->end == end && last->localeId == locale.id() &&
      last->timeZoneId == calendar.timeZoneId() && last->firstWeekday == calendar.firstWeekday()) {
    return last->text;
  }
  std::string label = formattedRangeLabel(week, locale, calendar);
  last = Label{start, end, locale.id(), calendar.timeZoneId(), calendar.firstWeekday(), label};
  return label;
}

}  // namespace zelto
