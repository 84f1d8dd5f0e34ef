#pragma once

// The widget drawn end to end, in one place for every host: the command
// line's `render` and `gallery`, and the desktop host's window.
//
//   entry + family + canvas + environment
//     -> ZeltoLimitsWidgetView (with its container background)
//     -> laid-out tree (layoutScene: content inside the 16 pt margins,
//        the background under the whole canvas)
//     -> display list (paintScene: clipped to the widget's rounded outline,
//        transparent outside)
//     -> pixels (render::Renderer for files, render::play for a cairo_t)
//
// A desktop host keeps one PangoTextSystem for the life of the process, lays
// the entry out with layoutScene at the family's size, keeps the tree for
// hit testing and accessibility, and plays paintScene(tree) into its
// window's cairo_t at the window's scale.

#include <optional>

#include "platform/host/RequestEnvironment.hpp"
#include "platform/kit/DisplayList.hpp"
#include "platform/kit/Environment.hpp"
#include "platform/kit/LaidOutTree.hpp"
#include "platform/kit/TextSystem.hpp"
#include "platform/kit/WidgetFamily.hpp"
#include "widget/runtime/LimitEntry.hpp"

namespace zelto::scene {

// Desktop widgets have rounded corners: the canvas is clipped to a
// continuous-corner rounded rectangle of this radius.
inline constexpr double widgetCornerRadius = 22;

// How one render of the widget is asked for.
struct SceneSettings {
  kit::WidgetFamily family = kit::WidgetFamily::systemSmall;
  // The canvas in points; absent means the family's own size. Hosts that
  // offer other sizes pass theirs.
  std::optional<kit::Size> canvas;
  // The user's text size; fonts of the custom family grow with it.
  double textScale = 1;
  bool reduceMotion = false;
};

// The family on its own canvas, at the default text size, with motion.
inline SceneSettings settingsFor(kit::WidgetFamily family) {
  SceneSettings settings;
  settings.family = family;
  return settings;
}

// The family's canvas unless the settings give another.
kit::Size canvasSize(const SceneSettings& settings);

// What the views read: the request's clock, calendar and locale, the render's
// family, text scale and motion preference, and which font families
// `textSystem` really has (it must outlive the environment's use).
kit::Environment sceneEnvironment(const host::RequestEnvironment& request, const SceneSettings& settings,
                                  const kit::TextSystem& textSystem);

// The entry's widget laid out on its canvas.
kit::LaidOutTree layoutScene(const LimitEntry& entry, const host::RequestEnvironment& request,
                             const SceneSettings& settings, const kit::TextSystem& textSystem);

// The tree's drawing inside the widget's rounded outline; nothing outside.
kit::DisplayList paintScene(const kit::LaidOutTree& tree);

}  // namespace zelto::scene
