#pragma once

#include <string>
#include <string_view>

#include "platform/defaults/Suite.hpp"

namespace zelto::defaults {

// Whether bytes can be shown as they are: well-formed UTF-8 without control
// characters other than tab, line feed and carriage return, so that neither
// binary data nor terminal escape sequences reach a terminal raw.
bool isPrintableText(std::string_view bytes);

// A stored value as the tool prints it: an integer in decimal; a byte
// string as its text when printable, as "<bytes:-3>" when it reads like an
// integer (so that it is not taken for one), otherwise as "<hex:0a1b...>";
// values of types the widget never reads as "<text:...>" (its text, or
// "<text:hex:...>"), "<real:2.5>" or "<null>".
std::string displayValue(const SuiteValue& value);

}  // namespace zelto::defaults
