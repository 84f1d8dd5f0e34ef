#include "widget/visuals/ZeltoFont.hpp"

namespace zelto {

using kit::Font;
using kit::FontWeight;
using kit::TextStyle;

Font ZeltoFont::make(double size, FontWeight weight, TextStyle style, const kit::Environment& environment) {
  if (environment.hasFontFamily(customFamily)) return Font::custom(customFamily, size, style).withWeight(weight);
  return Font::system(size, weight, kit::FontDesign::rounded);
}

Font ZeltoFont::hero(const kit::Environment& environment) {
  return make(28, FontWeight::semibold, TextStyle::title, environment);
}
Font ZeltoFont::headline(const kit::Environment& environment) {
  return make(16, FontWeight::semibold, TextStyle::headline, environment);
}
Font ZeltoFont::body(const kit::Environment& environment) {
  return make(13, FontWeight::medium, TextStyle::body, environment);
}
Font ZeltoFont::caption(const kit::Environment& environment) {
  return make(11, FontWeight::medium, TextStyle::caption, environment);
}
Font ZeltoFont::label(const kit::Environment& environment) {
  return make(9, FontWeight::semibold, TextStyle::caption2, environment);
}

}  // namespace zelto
