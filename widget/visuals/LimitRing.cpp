#include "widget/visuals/LimitRing.hpp"

#include <numbers>
#include <string>

#include "platform/kit/Shapes.hpp"
#include "platform/kit/Stacks.hpp"
#include "platform/kit/Text.hpp"
#include "platform/locale/Text.hpp"
#include "widget/visuals/ZeltoFont.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

using kit::Color;
using kit::Text;

namespace {

// Sweeps once around, starting at 12 o'clock in the arc's own frame; the
// arc is then turned by -90 degrees, so the gradient's ends meet at the top.
kit::AngularGradient ringGradient(std::int64_t remaining) {
  using P = ZeltoPalette;
  const Color tone = P::limitTone(remaining);
  const std::vector<Color> colors = remaining > 25
                                        ? std::vector<Color>{P::indigo, P::periwinkle, P::indigo}
                                        : std::vector<Color>{tone.withOpacity(0.66), tone, tone.withOpacity(0.66)};
  return {kit::evenlySpaced(colors), kit::UnitPoint::center(), -std::numbers::pi / 2, 3 * std::numbers::pi / 2};
}

kit::StrokeStyle lineOf(double width, kit::LineCap cap) {
  kit::StrokeStyle style;
  style.lineWidth = width;
  style.cap = cap;
  return style;
}

}  // namespace

kit::View LimitRing::body(const kit::Environment& environment) const {
  using P = ZeltoPalette;
  const std::int64_t remaining = window.remainingPercent();
  const Color tone = P::limitTone(remaining);
  const double lineWidth = compact ? 7 : 9;
  const kit::Font percentFont =
      compact ? ZeltoFont::make(22, kit::FontWeight::semibold, kit::TextStyle::title3, environment)
              : ZeltoFont::hero(environment);
  const std::string percent = std::to_string(remaining);

  const kit::View centreLabel = kit::VStack(
      kit::HorizontalAlignment::center, -1,
      {
          Text::verbatim(percent + "%").font(percentFont).monospacedDigit().minimumScaleFactor(0.72).lineLimit(1),
          Text::localized("LEFT").font(ZeltoFont::label(environment)).tracking(0.9).foregroundStyle(P::secondaryText),
      });
  const kit::View dial =
      kit::ZStack({
                      kit::Circle().fill(Color::white(0.035)),
                      kit::Circle().stroke(Color::white(0.11), lineOf(lineWidth, kit::LineCap::butt)),
                      kit::Circle()
                          .trim(0, static_cast<double>(remaining) / 100)
                          .stroke(ringGradient(remaining), lineOf(lineWidth, kit::LineCap::round))
                          .rotationEffect(kit::radiansFromDegrees(-90))
                          .shadow(tone.withOpacity(0.58), 7),
                      centreLabel,
                  })
          .aspectRatio(1, kit::ContentMode::fit);

  kit::View resetTime;
  if (window.resetsAt) {
    resetTime = Text(*window.resetsAt, Text::DateStyle::relative)
                    .font(ZeltoFont::caption(environment))
                    .monospacedDigit()
                    .foregroundStyle(P::secondaryText)
                    .lineLimit(1);
  }
  // The spoken label keeps the title as stored; only the visible one is
  // upper-cased.
  const Text spoken = Text::verbatim(window.title + ", " + percent + " ") + Text::localized("percent remaining");
  return kit::VStack(kit::HorizontalAlignment::center, compact ? 4 : 7,
                     {
                         dial,
                         Text::verbatim(locale::uppercasedRoot(window.title))
                             .font(ZeltoFont::label(environment))
                             .tracking(1.1)
                             .foregroundStyle(P::primaryText)
                             .lineLimit(1),
                         resetTime,
                     })
      .foregroundStyle(P::primaryText)
      .accessibilityElement(kit::AccessibilityChildren::ignore)
      .accessibilityLabel(spoken)
      .viewName("LimitRing");
}

}  // namespace zelto
