#pragma once

#include <cstdint>
#include <string>

#include "platform/kit/Text.hpp"

namespace zelto::layouts {

// "%lld": an integer in decimal, without grouping separators.
inline kit::Text integerText(std::int64_t value) { return kit::Text::verbatim(std::to_string(value)); }

// A count before a localizable word: "2 CREDITS", "0 RESET".
inline kit::Text countedText(std::int64_t count, const std::string& word) {
  return integerText(count) + kit::Text::verbatim(" ") + kit::Text::localized(word);
}

// A localizable label before a date in the relative style: "RESET 2 hr, 18 min".
inline kit::Text labelledRelativeDate(const std::string& label, Date date) {
  return kit::Text::localized(label) + kit::Text::verbatim(" ") + kit::Text(date, kit::Text::DateStyle::relative);
}

}  // namespace zelto::layouts
