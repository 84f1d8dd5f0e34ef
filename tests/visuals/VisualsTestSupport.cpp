#include "VisualsTestSupport.hpp"

#include <filesystem>

namespace zelto::visuals::test {

const render::PangoTextSystem& textSystem(Fonts fonts) {
  static const render::PangoTextSystem system(
      std::make_shared<const render::FontProbe>(std::filesystem::path(ZELTO_RENDER_FONTS_CONF)));
  static const render::PangoTextSystem custom(
      std::make_shared<const render::FontProbe>(std::filesystem::path(ZELTO_CUSTOM_FONTS_CONF)));
  return fonts == Fonts::system ? system : custom;
}

kit::Environment environment(Fonts fonts, const std::string& locale, double textScale) {
  kit::Environment environment;
  environment.now = now;
  environment.calendar = *locale::Calendar::make("UTC", 2);
  environment.locale = locale::Locale::make(locale);
  environment.textScale = textScale;
  const render::PangoTextSystem* system = &textSystem(fonts);
  environment.isFontFamilyInstalled = [system](const std::string& family) { return system->isFamilyInstalled(family); };
  return environment;
}

kit::LaidOutTree layOut(const kit::View& view, kit::Size size, const kit::Environment& environment, Fonts fonts) {
  return kit::layout(view, kit::ProposedSize::exactly(size), environment, textSystem(fonts));
}

std::vector<std::string> textsOf(const kit::LaidOutTree& tree) {
  std::vector<std::string> texts;
  for (const kit::LaidOutNode* node : kit::findAll(tree, kit::NodeKind::text)) {
    texts.push_back(node->as<kit::TextContent>()->measurement.displayedText);
  }
  return texts;
}

std::vector<kit::Color> colorsOf(const kit::Paint& paint) {
  if (const auto* color = std::get_if<kit::Color>(&paint)) return {*color};
  std::vector<kit::Color> colors;
  std::visit(
      [&](const auto& gradient) {
        if constexpr (!std::is_same_v<std::decay_t<decltype(gradient)>, kit::Color>) {
          for (const kit::GradientStop& stop : gradient.stops) colors.push_back(stop.color);
        }
      },
      paint);
  return colors;
}

}  // namespace zelto::visuals::test
