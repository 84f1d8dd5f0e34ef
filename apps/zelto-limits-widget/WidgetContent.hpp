#pragma once

#include "platform/kit/View.hpp"
#include "widget/runtime/LimitEntry.hpp"

namespace zelto::cli {

// The view the desktop host draws for `entry` in the environment's widget
// family, with its container background.
kit::View widgetContent(const LimitEntry& entry);

}  // namespace zelto::cli
