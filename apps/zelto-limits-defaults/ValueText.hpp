#pragma once

#include <string>
#include <string_view>

#include "platform/defaults/Suite.hpp"

namespace zelto::defaults {

// Whether bytes can be shown as they are: well-formed UTF-8 without control
// characters other than tab, line feed and carriage return, so that neither
// binary data nor terminal escape sequences reach a terminal raw.
bool isPrintableText(std::string_view bytes);

// A stored value as the tool prints it: an integer in decimal, a byte
// string as its text when printable, otherwise as "<hex:0a1b...>".
std::string displayValue(const SuiteValue& value);

}  // namespace zelto::defaults
