#include "widget/runtime/ZeltoLimitsWidgetView.hpp"

#include <algorithm>

#include "platform/kit/Kit.hpp"
#include "widget/layouts/MultiAccountLargeView.hpp"
#include "widget/layouts/MultiAccountMediumView.hpp"
#include "widget/layouts/SingleAccountMediumView.hpp"
#include "widget/layouts/SmallAccountView.hpp"
#include "widget/runtime/AccountPrioritization.hpp"
#include "widget/visuals/ZeltoPalette.hpp"
#include "widget/visuals/EmptyLimitView.hpp"
#include "widget/visuals/ZeltoAuroraBackground.hpp"

namespace zelto {

WidgetLayout widgetLayout(const LimitEntry& entry, kit::WidgetFamily family) {
  // 1. Nothing to show without a dashboard or without accounts.
  if (!entry.dashboard || entry.dashboard->accounts.empty()) return WidgetLayout::waiting;
  switch (family) {
    // 2. Medium: two cards exactly when the two accounts that prioritization
    //    puts first both have limits (accounts with limits come first).
    case kit::WidgetFamily::systemMedium: {
      const auto pair = prioritizedAccounts(*entry.dashboard, 2);
      const auto limited = std::count_if(pair.begin(), pair.end(), [](const auto& a) { return a.limits.has_value(); });
      return limited == 2 ? WidgetLayout::multiAccountMedium : WidgetLayout::singleAccountMedium;
    }
    // 3. Large: one layout whatever the number of accounts.
    case kit::WidgetFamily::systemLarge:
      return WidgetLayout::multiAccountLarge;
    // 4. Small, and any family the widget does not know.
    default:
      return WidgetLayout::smallAccount;
  }
}

kit::View ZeltoLimitsWidgetView::body(const kit::Environment& environment) const {
  const kit::WidgetFamily family = previewFamily.value_or(environment.widgetFamily);
  const auto primary = [&] { return prioritizedAccounts(*entry.dashboard, 1).front(); };
  kit::View layout;
  switch (widgetLayout(entry, family)) {
    case WidgetLayout::waiting:
      layout = EmptyLimitView{"Waiting for Zelto"};
      break;
    case WidgetLayout::smallAccount:
      layout = SmallAccountView{primary()};
      break;
    case WidgetLayout::singleAccountMedium:
      layout = SingleAccountMediumView{primary()};
      break;
    case WidgetLayout::multiAccountMedium:
      layout = MultiAccountMediumView{*entry.dashboard};
      break;
    case WidgetLayout::multiAccountLarge:
      layout = MultiAccountLargeView{*entry.dashboard, entry.usageWeekOffset};
      break;
  }
  return kit::Group({layout})
      .foregroundStyle(ZeltoPalette::primaryText)
      .tint(ZeltoPalette::periwinkle)
      .frame(kit::FlexibleFrame{.maxWidth = kit::infinity, .maxHeight = kit::infinity,
                                .alignment = kit::Alignment::topLeading()})
      .viewName("ZeltoLimitsWidgetView");
}

kit::View widgetConfigurationContent(const LimitEntry& entry) {
  return kit::View(ZeltoLimitsWidgetView{entry, std::nullopt}).containerBackground(ZeltoAuroraBackground{});
}

}  // namespace zelto
