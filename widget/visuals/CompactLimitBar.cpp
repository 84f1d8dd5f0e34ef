#include "widget/visuals/CompactLimitBar.hpp"

#include <string>

#include "platform/kit/Spacer.hpp"
#include "platform/kit/Stacks.hpp"
#include "platform/kit/Text.hpp"
#include "platform/locale/Text.hpp"
#include "widget/visuals/ZeltoFont.hpp"
#include "widget/visuals/ZeltoLimitTrack.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

using kit::Text;

kit::View CompactLimitBar::body(const kit::Environment& environment) const {
  using P = ZeltoPalette;
  const std::int64_t remaining = window.remainingPercent();
  const kit::View titleRow =
      kit::HStack(
          kit::VerticalAlignment::lastTextBaseline, kit::defaultSpacing,
          {
              Text::verbatim(locale::uppercasedRoot(window.title)).tracking(0.65).foregroundStyle(P::secondaryText),
              kit::Spacer(),
              Text::verbatim(std::to_string(remaining) + "%")
                  .monospacedDigit()
                  .foregroundStyle(P::limitTone(remaining)),
          })
          .font(ZeltoFont::label(environment));
  kit::View resetLine;
  if (showsReset && window.resetsAt) {
    resetLine = (Text::localized("RESET") + Text::verbatim(" ") + Text(*window.resetsAt, Text::DateStyle::relative))
                    .font(ZeltoFont::label(environment))
                    .tracking(0.35)
                    .monospacedDigit()
                    .foregroundStyle(P::secondaryText);
  }
  return kit::VStack(kit::HorizontalAlignment::leading, 4, {titleRow, ZeltoLimitTrack{remaining, 5}, resetLine})
      .viewName("CompactLimitBar");
}

}  // namespace zelto
