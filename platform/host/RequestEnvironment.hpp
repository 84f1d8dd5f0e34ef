#pragma once

#include "platform/locale/Calendar.hpp"
#include "platform/locale/Date.hpp"
#include "platform/locale/Locale.hpp"

namespace zelto::host {

// What the host reads once per request at the program's edge and hands down:
// the clock and the user's calendar and locale. Nothing below reads these
// from a global.
struct RequestEnvironment {
  Date now = 0;
  locale::Calendar calendar;
  locale::Locale locale;
};

}  // namespace zelto::host
