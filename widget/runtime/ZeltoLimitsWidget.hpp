#pragma once

#include <array>
#include <string_view>

#include "platform/kit/WidgetFamily.hpp"
#include "widget/model/WidgetKind.hpp"

namespace zelto {

// The one widget the extension declares: static (no user-editable options),
// driven by LimitTimelineProvider.
struct ZeltoLimitsWidget {
  // The kind the host knows the widget by; the week intents reload this same
  // kind, so the two must stay equal.
  static constexpr std::string_view kind = zeltoLimitsWidgetKind;
  // Localizable keys; their English text is the key itself.
  static constexpr std::string_view displayName = "Zelto Limits";
  static constexpr std::string_view description =
      "See Zelto limits and reset-credit expirations across your configured accounts.";
  // In the order the gallery offers them.
  static constexpr std::array<kit::WidgetFamily, 3> supportedFamilies = {
      kit::WidgetFamily::systemSmall, kit::WidgetFamily::systemMedium, kit::WidgetFamily::systemLarge};
};

// The bundle the extension's entry point runs: it lists the one widget.
struct ZeltoLimitsWidgetBundle {
  static constexpr std::array<std::string_view, 1> widgetKinds = {ZeltoLimitsWidget::kind};
};

}  // namespace zelto
