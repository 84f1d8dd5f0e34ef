#include "widget/visuals/UsageFigures.hpp"

#include "widget/model/ValueFormatting.hpp"

namespace zelto {

std::string tokensFigure(std::int64_t tokens, const locale::Locale& locale) {
  return abbreviatedTokens(tokens, locale) + " TOKENS";
}

std::string streakFigure(std::optional<std::int64_t> days) {
  if (!days) return "\u2014";
  return std::to_string(*days) + (*days == 1 ? " DAY" : " DAYS");
}

std::string compactStreakFigure(std::optional<std::int64_t> days) { return std::to_string(days.value_or(0)) + "D"; }

}  // namespace zelto
