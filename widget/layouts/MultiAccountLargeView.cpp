#include "widget/layouts/MultiAccountLargeView.hpp"

#include <algorithm>

#include "platform/kit/Kit.hpp"
#include "platform/locale/Text.hpp"
#include "widget/browsing/WidgetTokenActivityPanel.hpp"
#include "widget/layouts/LayoutText.hpp"
#include "widget/runtime/AccountPrioritization.hpp"
#include "widget/visuals/AccountWidgetHeader.hpp"
#include "widget/visuals/CompactLimitBar.hpp"
#include "widget/visuals/ZeltoGlassCard.hpp"
#include "widget/visuals/ZeltoAccountGlyph.hpp"
#include "widget/visuals/ZeltoFont.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

using namespace kit;

namespace {

bool hasDailyUsage(const ZeltoAccountSnapshot& account) {
  return account.usage && !account.usage->dailyUsageBuckets.empty();
}

View planBadge(const std::string& plan, const Font& label) {
  return Text::verbatim(locale::uppercasedRoot(plan))
      .font(label)
      .tracking(0.7)
      .foregroundStyle(ZeltoPalette::periwinkle)
      .padding(Edges::horizontal(), 7)
      .padding(Edges::vertical(), 3)
      .background(View(Capsule().fill(ZeltoPalette::indigo.withOpacity(0.16))));
}

}  // namespace

View LimitOnlyAccountRow::body(const Environment& environment) const {
  const Font label = ZeltoFont::label(environment);
  const auto& limits = account.limits;

  // 1. The row header: account, credit count and plan badge.
  std::vector<View> header{AccountWidgetHeader{account, true}, Spacer()};
  if (limits && !limits->resetCredits.empty()) {
    header.push_back(layouts::countedText(std::ssize(limits->resetCredits), dense ? "CR" : "CREDITS")
                         .font(label)
                         .tracking(0.35)
                         .foregroundStyle(ZeltoPalette::secondaryText));
  }
  if (limits) {
    if (const auto plan = limits->planDisplayName()) header.push_back(planBadge(*plan, label));
  }

  // 2. Up to two bars, the first windows by position, or why there are none.
  View body;
  if (limits) {
    const std::span<const ZeltoLimitWindow> windows(limits->windows.data(),
                                                    std::min<std::size_t>(2, limits->windows.size()));
    body = HStack(VerticalAlignment::center, 18,
                  {ForEach(windows, [](const ZeltoLimitWindow& w) { return w.id; },
                           [&](const ZeltoLimitWindow& w) {
                             return View(CompactLimitBar{w, !dense}).frame(FlexibleFrame{.maxWidth = infinity});
                           })});
  } else {
    body = HStack({Image("exclamationmark.triangle"), Text::verbatim(account.errorMessage.value_or("No limit data"))})
               .font(ZeltoFont::caption(environment))
               .foregroundStyle(ZeltoPalette::amber);
  }

  return View(ZeltoGlassCard{15, VStack(HorizontalAlignment::leading, dense ? 4 : 6,
                                        {HStack(VerticalAlignment::center, std::nullopt, std::move(header)), body})
                                     .padding(dense ? 7 : 9)})
      .viewName("LimitOnlyAccountRow");
}

View MultiAccountLargeView::body(const Environment& environment) const {
  const std::size_t accountCount = dashboard.accounts.size();
  const bool crowded = accountCount >= crowdedFrom;
  const auto shown = prioritizedAccounts(dashboard, shownAccounts);
  const Font label = ZeltoFont::label(environment);

  // 1. The header: glyph, title pair, and how many accounts and how fresh.
  const Text count = accountCount >= 4 ? Text::localized("TOP") + Text::verbatim(" 3 / " + std::to_string(accountCount))
                                       : layouts::countedText(static_cast<std::int64_t>(accountCount), "CONNECTED");
  const View header =
      HStack(VerticalAlignment::center, 9,
             {ZeltoAccountGlyph{30},
              VStack(HorizontalAlignment::leading, 0,
                     {Text::localized("ZELTO / LIMITS").font(label).tracking(1.25).foregroundStyle(ZeltoPalette::periwinkle),
                      Text::localized("Account signals").font(ZeltoFont::headline(environment))}),
              Spacer(),
              VStack(HorizontalAlignment::trailing, 1,
                     {count.font(label).tracking(0.65),
                      Text(dashboard.updatedAt, Text::DateStyle::relative)
                          .font(ZeltoFont::caption(environment))
                          .monospacedDigit()})
                  .foregroundStyle(ZeltoPalette::secondaryText)})
          .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()});

  // 2. One row per shown account.
  std::vector<View> children{
      header,
      VStack(HorizontalAlignment::center, crowded ? 5 : 6,
             {ForEach(shown, [](const ZeltoAccountSnapshot& a) { return a.id; },
                      [&](const ZeltoAccountSnapshot& a) { return LimitOnlyAccountRow{a, crowded}; })}),
  };

  // 3. The token activity panel, when a shown account has daily usage.
  if (std::any_of(shown.begin(), shown.end(), hasDailyUsage)) {
    children.push_back(WidgetTokenActivityPanel{dashboard, shown, usageWeekOffset, crowded});
  }
  return VStack(HorizontalAlignment::leading, crowded ? 6 : 8, std::move(children))
      .frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()})
      .viewName("MultiAccountLargeView");
}

}  // namespace zelto
