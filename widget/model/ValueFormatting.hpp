#pragma once

#include <cstdint>
#include <string>

#include "platform/locale/Calendar.hpp"
#include "platform/locale/Locale.hpp"
#include "widget/model/UsageWeek.hpp"

namespace zelto {

// Compact token count: 999, 1K, 1.2M, 2,400B (locale digits and separators).
std::string abbreviatedTokens(std::int64_t count, const locale::Locale& locale);

// "MAR 10–16" or "MAR 31–APR 6", upper-cased with the locale's rules.
std::string rangeLabel(const ZeltoUsageWeek& week, const locale::Locale& locale, const locale::Calendar& calendar);

}  // namespace zelto
