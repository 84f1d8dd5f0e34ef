#pragma once

#include <string>

#include "platform/defaults/SuiteLocation.hpp"
#include "platform/locale/Calendar.hpp"
#include "platform/locale/Date.hpp"
#include "platform/locale/Locale.hpp"

namespace zelto::host {

// The shared container the widget and its companion application both reach:
// the folder of the suites and the app-group suite name.
struct SharedContainer {
  defaults::SuiteLocation location;
  std::string suiteName;
};

// What the host reads once per request at the program's edge and hands down:
// the clock, the user's calendar and locale, and the shared container. Nothing
// below reads these from a global.
struct RequestEnvironment {
  Date now = 0;
  locale::Calendar calendar;
  locale::Locale locale;
  SharedContainer container;
};

}  // namespace zelto::host
