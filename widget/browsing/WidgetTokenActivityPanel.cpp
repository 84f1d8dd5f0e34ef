#include "widget/browsing/WidgetTokenActivityPanel.hpp"

#include <algorithm>
#include <cstddef>

#include "platform/kit/ForEach.hpp"
#include "platform/kit/Image.hpp"
#include "platform/kit/Shapes.hpp"
#include "platform/kit/Spacer.hpp"
#include "platform/kit/Stacks.hpp"
#include "platform/kit/Text.hpp"
#include "widget/browsing/WidgetUsageWeekNavigator.hpp"
#include "widget/visuals/ZeltoFont.hpp"
#include "widget/visuals/ZeltoPalette.hpp"
#include "widget/visuals/ZeltoUsageInlineSummary.hpp"
#include "widget/visuals/ZeltoUsagePulse.hpp"

namespace zelto {
namespace {

using P = ZeltoPalette;
using kit::Text;

// Roomy mode has room for this many chart columns side by side.
constexpr std::size_t roomyColumns = 2;

const std::string& idOf(const ZeltoAccountSnapshot& account) { return account.id; }

kit::View denseRow(const ZeltoAccountSnapshot& account, std::int64_t weekOffset, const kit::Environment& environment) {
  return kit::HStack(kit::VerticalAlignment::center, 6,
                     {
                         Text::verbatim(account.displayName())
                             .font(ZeltoFont::label(environment))
                             .lineLimit(1)
                             .frame(72, std::nullopt, kit::Alignment::leading()),
                         kit::Rectangle().fill(P::hairline).frame(1, 10),
                         ZeltoUsageInlineSummary{*account.usage, weekOffset},
                         kit::Spacer(0),
                     });
}

kit::View roomyColumn(const ZeltoAccountSnapshot& account, std::int64_t weekOffset,
                      const kit::Environment& environment) {
  const kit::View title = kit::HStack(
      kit::VerticalAlignment::center, kit::defaultSpacing,
      {
          Text::verbatim(account.displayName()).font(ZeltoFont::label(environment)).tracking(0.25).lineLimit(1),
          kit::Spacer(),
          Text::localized("7D").font(ZeltoFont::label(environment)).foregroundStyle(P::secondaryText),
      });
  const ZeltoUsagePulse pulse{*account.usage, weekOffset, /*showsChart=*/true, /*compact=*/true,
                              /*horizontal=*/false};
  return kit::VStack(kit::HorizontalAlignment::leading, 4, {title, pulse})
      .frame(kit::FlexibleFrame{.maxWidth = kit::infinity});
}

}  // namespace

kit::View WidgetTokenActivityPanel::body(const kit::Environment& environment) const {
  // The accounts with at least one usage bucket, in the order offered.
  std::vector<ZeltoAccountSnapshot> usageAccounts;
  std::copy_if(accounts.begin(), accounts.end(), std::back_inserter(usageAccounts),
               [](const auto& account) { return account.usage && !account.usage->dailyUsageBuckets.empty(); });

  const kit::View header = kit::HStack(kit::VerticalAlignment::center, 6,
                                       {
                                           kit::Image("waveform.path.ecg")
                                               .font(kit::Font::system(10, kit::FontWeight::semibold))
                                               .foregroundStyle(P::periwinkle)
                                               .accessibilityHidden(),  // decoration beside the title
                                           Text::localized("TOKEN ACTIVITY")
                                               .font(ZeltoFont::label(environment))
                                               .tracking(0.75)
                                               .foregroundStyle(P::periwinkle),
                                           kit::Spacer(),
                                           WidgetUsageWeekNavigator{dashboard, weekOffset},
                                       });

  kit::View content;
  if (dense) {
    content = kit::VStack(kit::HorizontalAlignment::center, 3,
                          {kit::ForEach(usageAccounts, idOf, [&](const ZeltoAccountSnapshot& account) {
                            return denseRow(account, weekOffset, environment);
                          })});
  } else {
    usageAccounts.resize(std::min(usageAccounts.size(), roomyColumns));
    content = kit::HStack(kit::VerticalAlignment::top, 6,
                          {kit::ForEach(usageAccounts, idOf, [&](const ZeltoAccountSnapshot& account) {
                            return roomyColumn(account, weekOffset, environment);
                          })});
  }

  const kit::RoundedRectangle card(15);
  const kit::LinearGradient wash{kit::evenlySpaced({kit::Color::black(0.2), P::indigo.withOpacity(0.1)}),
                                 kit::UnitPoint::leading(), kit::UnitPoint::trailing()};
  return kit::VStack(kit::HorizontalAlignment::leading, dense ? 5 : 7, {header, content})
      .padding(dense ? 7 : 8)
      .background(card.fill(wash))
      .overlay(card.stroke(P::periwinkle.withOpacity(0.2), 0.8))
      .viewName("WidgetTokenActivityPanel");
}

}  // namespace zelto
