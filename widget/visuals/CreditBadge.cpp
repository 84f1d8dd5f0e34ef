#include "widget/visuals/CreditBadge.hpp"

#include <string>

#include "platform/kit/Shapes.hpp"
#include "platform/kit/Stacks.hpp"
#include "platform/kit/Text.hpp"
#include "widget/visuals/SignalDot.hpp"
#include "widget/visuals/ZeltoFont.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

using kit::Edges;
using kit::Text;

kit::View CreditBadge::body(const kit::Environment& environment) const {
  // The number stays verbatim; only the word is translated.
  const Text text = Text::verbatim(std::to_string(count) + " ") + Text::localized(count == 1 ? "RESET" : "RESETS");
  return kit::HStack(kit::VerticalAlignment::center, 6,
                     {
                         SignalDot{ZeltoPalette::periwinkle},
                         text.font(ZeltoFont::label(environment)).tracking(0.5),
                     })
      .foregroundStyle(ZeltoPalette::secondaryText)
      .padding(Edges::horizontal(), 8)
      .padding(Edges::vertical(), 5)
      .background(kit::Capsule().fill(kit::Color::white(0.075)))
      .overlay(kit::Capsule().stroke(ZeltoPalette::hairline, 0.7))
      .viewName("CreditBadge");
}

}  // namespace zelto
