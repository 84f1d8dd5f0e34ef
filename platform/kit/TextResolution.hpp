#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/kit/Environment.hpp"
#include "platform/kit/Text.hpp"

namespace zelto::kit {

struct ResolvedText {
  std::string text;  // well-formed UTF-8
  // When a relative date piece next changes its wording; absent without one.
  std::optional<Date> nextChange;
};

// Turns a text's pieces into the string to draw in `environment`: localizable
// keys looked up in the widget's catalogue (the key itself when there is no
// translation), relative dates against the environment's `now`, month-day
// dates in its calendar and locale.
ResolvedText resolveText(const std::vector<TextPiece>& pieces, const Environment& environment);

// `text` with every byte that is not part of well-formed UTF-8 replaced by
// U+FFFD, so that a bad string from outside draws visibly instead of failing.
std::string wellFormedUtf8(std::string text);

}  // namespace zelto::kit
