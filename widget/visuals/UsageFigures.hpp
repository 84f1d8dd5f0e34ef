#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/locale/Locale.hpp"

namespace zelto {

// The figures the usage summaries show, shared so that the panel tile and
// the one-line summary always agree.

// "1.2M TOKENS": the abbreviated count in the locale's digits, then " TOKENS".
std::string tokensFigure(std::int64_t tokens, const locale::Locale& locale);

// The streak as the summary tile writes it: "—" when unknown, else
// "1 DAY", "0 DAYS", "12 DAYS".
std::string streakFigure(std::optional<std::int64_t> days);

// The streak as the one-line summary writes it: "12D", and "0D" when unknown.
std::string compactStreakFigure(std::optional<std::int64_t> days);

}  // namespace zelto
