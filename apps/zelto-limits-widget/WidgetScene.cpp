#include "apps/zelto-limits-widget/WidgetScene.hpp"

#include "platform/kit/DisplayListPainter.hpp"
#include "platform/kit/Layout.hpp"
#include "platform/kit/Path.hpp"
#include "widget/runtime/ZeltoLimitsWidgetView.hpp"

namespace zelto::scene {

kit::Size canvasSize(const SceneSettings& settings) {
  if (settings.canvas) return *settings.canvas;
  const auto size = kit::widgetFamilySize(settings.family);
  return {size.width, size.height};
}

kit::Environment sceneEnvironment(const host::RequestEnvironment& request, const SceneSettings& settings,
                                  const kit::TextSystem& textSystem) {
  kit::Environment environment;
  environment.now = request.now;
  environment.calendar = request.calendar;
  environment.locale = request.locale;
  environment.widgetFamily = settings.family;
  environment.textScale = settings.textScale;
  environment.reduceMotion = settings.reduceMotion;
  environment.isFontFamilyInstalled = [&textSystem](const std::string& family) {
    return textSystem.isFamilyInstalled(family);
  };
  return environment;
}

kit::LaidOutTree layoutScene(const LimitEntry& entry, const host::RequestEnvironment& request,
                             const SceneSettings& settings, const kit::TextSystem& textSystem) {
  return kit::layoutWidget(widgetConfigurationContent(entry), canvasSize(settings),
                           sceneEnvironment(request, settings, textSystem), textSystem);
}

kit::DisplayList paintScene(const kit::LaidOutTree& tree) {
  kit::DisplayList painted = kit::paint(tree);
  kit::DisplayList clipped;
  clipped.size = painted.size;
  clipped.commands.reserve(painted.commands.size() + 2);
  clipped.commands.emplace_back(kit::PushClip{kit::Path::continuousRoundedRectangle(
      kit::Rect{0, 0, tree.size.width, tree.size.height}, widgetCornerRadius)});
  for (auto& command : painted.commands) clipped.commands.push_back(std::move(command));
  clipped.commands.emplace_back(kit::PopClip{});
  return clipped;
}

}  // namespace zelto::scene
