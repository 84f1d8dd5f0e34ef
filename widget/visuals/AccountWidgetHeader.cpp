#include "widget/visuals/AccountWidgetHeader.hpp"

#include "platform/kit/Group.hpp"
#include "platform/kit/Image.hpp"
#include "platform/kit/Stacks.hpp"
#include "platform/kit/Text.hpp"
#include "widget/visuals/ZeltoAccountGlyph.hpp"
#include "widget/visuals/ZeltoFont.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

using kit::Text;

namespace {

// The full glyph (27) plus the row's spacing (7): the e-mail starts under
// the name.
constexpr double emailIndent = 34;

}  // namespace

kit::View AccountWidgetHeader::body(const kit::Environment& environment) const {
  const std::string name = account.displayName();
  const kit::View identity =
      kit::HStack(kit::VerticalAlignment::center, 7,
                  {
                      ZeltoAccountGlyph{compact ? 22.0 : 27.0},
                      Text::verbatim(name)
                          .font(compact ? ZeltoFont::body(environment) : ZeltoFont::headline(environment))
                          .lineLimit(1),
                      kit::when(account.errorMessage.has_value(), kit::Image("exclamationmark.triangle.fill")
                                                                      .font(kit::Font::system(kit::TextStyle::caption2))
                                                                      .foregroundStyle(ZeltoPalette::amber)),
                  });
  const bool showsEmail = !compact && account.email && *account.email != name;
  return kit::VStack(kit::HorizontalAlignment::leading, 2,
                     {
                         identity,
                         kit::when(showsEmail, Text::verbatim(account.email.value_or(""))
                                                   .font(ZeltoFont::label(environment))
                                                   .foregroundStyle(ZeltoPalette::secondaryText)
                                                   .lineLimit(1)
                                                   .padding(kit::Edges::leading(), emailIndent)),
                     })
      .viewName("AccountWidgetHeader");
}

}  // namespace zelto
