#pragma once

#include <string_view>

namespace zelto {

// The kind the widget host knows the widget by. The widget declares it, and
// the week intents reload timelines of this same kind, so both read it here.
inline constexpr std::string_view zeltoLimitsWidgetKind = "ZeltoLimitsWidget";

}  // namespace zelto
