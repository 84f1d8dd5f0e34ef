#include "widget/visuals/EmptyLimitView.hpp"

#include "platform/kit/Image.hpp"
#include "platform/kit/Shapes.hpp"
#include "platform/kit/Stacks.hpp"
#include "platform/kit/Text.hpp"
#include "widget/visuals/ZeltoFont.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

using kit::HorizontalAlignment;

kit::View EmptyLimitView::body(const kit::Environment& environment) const {
  const kit::View icon =
      kit::ZStack({
                      kit::Circle().fill(ZeltoPalette::indigo.withOpacity(0.16)).frame(48, 48),
                      kit::Image("waveform.path.ecg")
                          .font(kit::Font::system(kit::TextStyle::title3).withWeight(kit::FontWeight::medium))
                          .foregroundStyle(ZeltoPalette::periwinkle),
                  })
          .accessibilityHidden();
  return kit::VStack(HorizontalAlignment::center, 10,
                     {
                         icon,
                         kit::Text::verbatim(message)
                             .font(ZeltoFont::body(environment))
                             .multilineTextAlignment(kit::TextAlignment::center),
                         kit::Text::localized("OPEN ZELTO LIMITS TO SYNC")
                             .font(ZeltoFont::label(environment))
                             .tracking(0.7)
                             .foregroundStyle(ZeltoPalette::secondaryText),
                     })
      .foregroundStyle(ZeltoPalette::primaryText)
      .frame(kit::FlexibleFrame{.maxWidth = kit::infinity, .maxHeight = kit::infinity})
      .viewName("EmptyLimitView");
}

}  // namespace zelto
