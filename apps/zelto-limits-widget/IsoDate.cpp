#include "apps/zelto-limits-widget/IsoDate.hpp"

#include <chrono>

namespace zelto::cli {

Date systemNow() {
  using namespace std::chrono;
  // Whole seconds: nothing the widget shows is finer, and entries then
  // print as plain integers.
  const auto unixSeconds = duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
  return static_cast<double>(unixSeconds) - referenceDateUnixSeconds;
}

}  // namespace zelto::cli
