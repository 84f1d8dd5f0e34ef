#include "widget/layouts/MultiAccountMediumView.hpp"

#include "platform/kit/Kit.hpp"
#include "platform/locale/Text.hpp"
#include "widget/layouts/LayoutText.hpp"
#include "widget/runtime/AccountPrioritization.hpp"
#include "widget/visuals/AccountWidgetHeader.hpp"
#include "widget/visuals/SignalDot.hpp"
#include "widget/visuals/ZeltoLimitTrack.hpp"
#include "widget/visuals/ZeltoGlassCard.hpp"
#include "widget/visuals/ZeltoFont.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

using namespace kit;

View CompactAccountCard::body(const Environment& environment) const {
  const Font label = ZeltoFont::label(environment);
  std::vector<View> content{AccountWidgetHeader{account, true}};
  if (const auto& limits = account.limits) {
    // 1. The first window, by position, when there is one.
    if (!limits->windows.empty()) {
      const ZeltoLimitWindow& window = limits->windows.front();
      const std::int64_t remaining = window.remainingPercent();
      std::vector<View> block{
          HStack(VerticalAlignment::lastTextBaseline, std::nullopt,
                 {Text::verbatim(locale::uppercasedRoot(window.title))
                      .font(label)
                      .tracking(0.8)
                      .foregroundStyle(ZeltoPalette::secondaryText),
                  Spacer(),
                  (layouts::integerText(remaining) + Text::verbatim("%"))
                      .font(ZeltoFont::make(25, FontWeight::semibold, TextStyle::title2, environment))
                      .monospacedDigit()
                      .foregroundStyle(ZeltoPalette::limitTone(remaining))}),
          ZeltoLimitTrack{remaining, 5},
      };
      if (window.resetsAt) {
        block.push_back(layouts::labelledRelativeDate("RESET", *window.resetsAt)
                            .font(label)
                            .tracking(0.45)
                            .monospacedDigit()
                            .foregroundStyle(ZeltoPalette::secondaryText));
      }
      const std::span<const ZeltoLimitWindow> first(limits->windows.data(), 1);
      content.push_back(ForEach(first, [](const ZeltoLimitWindow& w) { return w.id; },
                                [&](const ZeltoLimitWindow&) {
                                  return VStack(HorizontalAlignment::leading, 5, block);
                                }));
    }
    // 2. The footer at the bottom of the card: every credit counted, the
    //    first one, by position, dated.
    const auto& credits = limits->resetCredits;
    std::vector<View> footer{SignalDot{ZeltoPalette::periwinkle}, layouts::countedText(std::ssize(credits), "RESET"),
                             Spacer()};
    if (!credits.empty() && credits.front().expiresAt) {
      footer.push_back(Text(*credits.front().expiresAt, Text::DateStyle::monthDay).monospacedDigit().lineLimit(1));
    }
    content.push_back(Spacer(0));
    content.push_back(HStack(VerticalAlignment::center, 5, std::move(footer))
                          .font(label)
                          .tracking(0.35)
                          .foregroundStyle(ZeltoPalette::secondaryText));
  }
  return View(ZeltoGlassCard{16, VStack(HorizontalAlignment::leading, 9, std::move(content)).padding(12)})
      .viewName("CompactAccountCard");
}

View MultiAccountMediumView::body(const Environment&) const {
  return HStack(VerticalAlignment::center, 12,
                {ForEach(prioritizedAccounts(dashboard, 2), [](const ZeltoAccountSnapshot& a) { return a.id; },
                         [](const ZeltoAccountSnapshot& a) {
                           return View(CompactAccountCard{a}).frame(FlexibleFrame{.maxWidth = infinity});
                         })})
      .viewName("MultiAccountMediumView");
}

}  // namespace zelto
