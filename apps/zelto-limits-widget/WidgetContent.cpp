#include "apps/zelto-limits-widget/WidgetContent.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/kit/Kit.hpp"
#include "widget/browsing/UsageWeekIntents.hpp"
#include "widget/model/UsageHistoryBounds.hpp"
#include "widget/model/UsageWeek.hpp"
#include "widget/model/ValueFormatting.hpp"

namespace zelto::cli {

// FIXME: a plain composition of the entry (accounts, their first window, the
// week navigator and daily bars) until the widget's own dispatch view takes
// its place here.

namespace {

using namespace kit;

const Color primaryText = Color::white(0.96);
const Color secondaryText = Color::srgb8(218, 226, 255, 0.72);

View background() {
  return Rectangle().fill(LinearGradient{{{Color::srgb8(19, 27, 70), 0}, {Color::srgb8(7, 11, 35), 1}}});
}

View accountRow(const ZeltoAccountSnapshot& account) {
  std::vector<View> lines{Text::verbatim(account.displayName()).font(Font::system(13, FontWeight::semibold))};
  if (account.limits && !account.limits->windows.empty()) {
    const auto& window = account.limits->windows.front();
    lines.push_back(Text::verbatim(std::to_string(window.remainingPercent()) + "% left · " + window.title)
                        .font(Font::system(11, FontWeight::medium)));
    if (window.resetsAt) {
      lines.push_back((Text::verbatim("resets in ") + Text(*window.resetsAt, Text::DateStyle::relative))
                          .font(Font::system(9, FontWeight::semibold))
                          .foregroundStyle(secondaryText));
    }
  }
  return VStack(HorizontalAlignment::leading, 2, std::move(lines));
}

View weekButton(const host::AppIntent& intent, const char* symbol, const char* label, bool disabled) {
  return Button(IntentReference{intent.identifier(), intent.title()},
                Image(symbol).frame(16, 16).background(Circle().fill(Color::white(0.08))))
      .disabled(disabled)
      .accessibilityLabel(Text::localized(label));
}

View weekPanel(const ZeltoDashboardSnapshot& dashboard, std::int64_t offset, const Environment& environment) {
  const auto& calendar = environment.effectiveCalendar();
  const auto shown = usageWeek(dashboard, offset, calendar, environment.now);
  if (!shown) return View();
  const auto floor = earliestUsageWeekOffset(dashboard, calendar, environment.now);
  const auto peak = std::max<std::int64_t>(shown->peakTokens, 1);
  std::vector<View> bars;
  for (const auto& day : shown->days) {
    const double height = 4 + 60 * static_cast<double>(day.tokens) / static_cast<double>(peak);
    bars.push_back(Capsule().fill(Color::srgb8(174, 190, 255)).frame(14, height));
  }
  return VStack(HorizontalAlignment::leading, 8,
                {HStack(VerticalAlignment::center, 4,
                        {weekButton(PreviousUsageWeekIntent(), "chevron.left", "Previous usage week", floor >= offset),
                         Text::verbatim(rangeLabel(*shown, environment.effectiveLocale(), calendar))
                             .font(Font::system(9, FontWeight::semibold))
                             .tracking(0.25)
                             .monospacedDigit(),
                         weekButton(NextUsageWeekIntent(), "chevron.right", "Next usage week", offset >= 0)}),
                 HStack(VerticalAlignment::bottom, 8, std::move(bars))
                     .animation(environment.reduceMotion ? std::nullopt : std::optional(SpringAnimation{0.34, 1, 0}),
                                shown->offset)});
}

struct InterimWidgetView {
  LimitEntry entry;

  View body(const Environment& environment) const {
    if (!entry.dashboard) {
      return Text::localized("Waiting for Zelto").font(Font::system(13, FontWeight::medium));
    }
    const auto family = environment.widgetFamily;
    const std::size_t shownAccounts = family == WidgetFamily::systemSmall ? 1 : 2;
    std::vector<View> rows;
    for (std::size_t index = 0; index < std::min(shownAccounts, entry.dashboard->accounts.size()); ++index) {
      rows.push_back(accountRow(entry.dashboard->accounts[index]));
    }
    if (family == WidgetFamily::systemLarge)
      rows.push_back(weekPanel(*entry.dashboard, entry.usageWeekOffset, environment));
    rows.push_back(Spacer());
    return VStack(HorizontalAlignment::leading, 10, std::move(rows))
        .frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()});
  }
};

}  // namespace

kit::View widgetContent(const LimitEntry& entry) {
  return View(InterimWidgetView{entry}).foregroundStyle(primaryText).containerBackground(background());
}

}  // namespace zelto::cli
