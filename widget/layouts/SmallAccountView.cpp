#include "widget/layouts/SmallAccountView.hpp"

#include "platform/kit/Kit.hpp"
#include "platform/locale/Text.hpp"
#include "widget/layouts/LayoutText.hpp"
#include "widget/visuals/AccountWidgetHeader.hpp"
#include "widget/visuals/SignalDot.hpp"
#include "widget/visuals/ZeltoLimitTrack.hpp"
#include "widget/visuals/EmptyLimitView.hpp"
#include "widget/visuals/ZeltoFont.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

using namespace kit;

View SmallAccountView::body(const Environment& environment) const {
  const Font label = ZeltoFont::label(environment);
  const AccountWidgetHeader header{account, true};
  const auto& limits = account.limits;
  if (!limits || limits->windows.empty()) {
    return VStack(HorizontalAlignment::leading, 8, {header, EmptyLimitView{account.errorMessage.value_or("No limits")}})
        .viewName("SmallAccountView");
  }

  // Only the first window, by position, is shown.
  const ZeltoLimitWindow& window = limits->windows.front();
  const std::int64_t remaining = window.remainingPercent();
  const Color tone = ZeltoPalette::limitTone(remaining);

  const View valueRow = HStack(
      VerticalAlignment::lastTextBaseline, 5,
      {(layouts::integerText(remaining) + Text::verbatim("%"))
           .font(ZeltoFont::make(37, FontWeight::semibold, TextStyle::largeTitle, environment))
           .monospacedDigit()
           .minimumScaleFactor(0.8)
           .lineLimit(1)
           .foregroundStyle(tone),
       Text::localized("LEFT").font(label).tracking(0.8).foregroundStyle(ZeltoPalette::secondaryText), Spacer(0)});
  std::vector<View> block{
      valueRow,
      Text::verbatim(locale::uppercasedRoot(window.title))
          .font(label)
          .tracking(1.0)
          .foregroundStyle(ZeltoPalette::secondaryText),
      ZeltoLimitTrack{remaining, 6},
  };
  if (window.resetsAt) {
    block.push_back(layouts::labelledRelativeDate("RESET", *window.resetsAt)
                        .font(label)
                        .tracking(0.35)
                        .monospacedDigit()
                        .foregroundStyle(ZeltoPalette::secondaryText));
  }

  // The footer counts every credit and dates the first one, by position.
  const auto& credits = limits->resetCredits;
  std::vector<View> footer{
      SignalDot{tone},
      credits.empty() ? Text::localized("SYNCED") : layouts::countedText(std::ssize(credits), "CREDITS"),
      Spacer(2),
  };
  if (!credits.empty() && credits.front().expiresAt) {
    footer.push_back(Text(*credits.front().expiresAt, Text::DateStyle::monthDay).monospacedDigit().lineLimit(1));
  }

  return VStack(HorizontalAlignment::leading, 8,
                {header, Spacer(0), VStack(HorizontalAlignment::leading, 5, std::move(block)), Spacer(0),
                 HStack(VerticalAlignment::center, 6, std::move(footer))
                     .font(label)
                     .tracking(0.45)
                     .foregroundStyle(ZeltoPalette::secondaryText)})
      .viewName("SmallAccountView");
}

}  // namespace zelto
