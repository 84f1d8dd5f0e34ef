#pragma once

#include "platform/locale/Date.hpp"

namespace zelto::cli {

// The current instant of the system clock, in whole seconds.
Date systemNow();

}  // namespace zelto::cli
