#include "platform/kit/Font.hpp"

namespace zelto::kit {

double defaultPointSize(TextStyle style) {
  switch (style) {
    case TextStyle::largeTitle:
      return 26;
    case TextStyle::title:
      return 22;
    case TextStyle::title2:
      return 17;
    case TextStyle::title3:
      return 15;
    case TextStyle::headline:
    case TextStyle::body:
      return 13;
    case TextStyle::callout:
      return 12;
    case TextStyle::subheadline:
      return 11;
    case TextStyle::footnote:
    case TextStyle::caption:
    case TextStyle::caption2:
      return 10;
  }
  return 13;
}

FontWeight defaultWeight(TextStyle style) {
  return style == TextStyle::headline ? FontWeight::bold : FontWeight::regular;
}

}  // namespace zelto::kit
