#pragma once

#include <gtk/gtk.h>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop/AccessibilityBridge.hpp"
#include "platform/desktop/Spring.hpp"
#include "platform/desktop/TreeTransition.hpp"
#include "platform/kit/Accessibility.hpp"
#include "platform/kit/DisplayList.hpp"
#include "platform/kit/HitRegions.hpp"
#include "platform/kit/LaidOutTree.hpp"
#include "platform/render/PangoTextSystem.hpp"

namespace zelto::desktop {

// One frame the canvas drew.
struct DrawnFrame {
  // Making the frame's display list (moving the views of a transition),
  // playing it and copying the result to the window.
  std::chrono::steady_clock::duration drawing;
  bool animating = false;  // an in-between frame of a transition
};

// Draws a laid-out widget into a GTK drawing area at the window's scale
// factor (crisp on every monitor, redrawn when the factor changes), clipped
// to the widget's rounded outline, and makes its buttons work: a pointer
// cursor and the button's accessibility label as tooltip on hover, a click
// (press and release on the same enabled button) or Space/Enter on the
// focused button runs `onPress`; Tab moves the keyboard focus across the
// buttons. A press anywhere else starts moving the window; a secondary click
// runs `onContextMenu`. Changes of animated values play as a spring, one
// frame per display refresh while it moves and none otherwise.
class WidgetCanvas final : private AccessibleContent {
 public:
  struct Handlers {
    std::function<void(const kit::IntentReference&)> onPress;
    std::function<void(const GdkEvent*)> onContextMenu;
    std::function<void(const DrawnFrame&)> onFrame;
  };

  // The widget is clipped to a rounded rectangle with continuous corners of
  // `cornerRadius`; outside it the desktop shows through.
  WidgetCanvas(const render::PangoTextSystem& text, double cornerRadius, Handlers handlers);
  ~WidgetCanvas() override;
  WidgetCanvas(const WidgetCanvas&) = delete;
  WidgetCanvas& operator=(const WidgetCanvas&) = delete;

  // The drawing area; the caller adds it to a window (which then holds it).
  GtkWidget* widget() const { return widget_; }

  enum class Motion { animate, reduce };
  // Shows `tree`. With Motion::animate and a changed animated value, the
  // views move from where they are drawn with the change's spring; a new
  // tree without such a change lets a running motion carry on towards it.
  // Motion::reduce shows `tree` at once.
  void show(kit::LaidOutTree tree, Motion motion);

  const kit::LaidOutTree& tree() const { return target_; }
  bool isAnimating() const { return transition_.has_value(); }

 private:
  struct Transition {
    kit::LaidOutTree from;
    SpringCurve curve;
    gint64 startMicroseconds = -1;  // of the frame clock; -1 until the first tick
    double progress = 0;            // of the frame on screen
  };

  const std::vector<kit::AccessibilityElement>& accessibilityElements() const override { return elements_; }
  bool pressButton(const std::string& identity) override;

  struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
  };
  using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
  // While a transition runs, what lies below and above its moving views is
  // the same in every frame: it is drawn once into these images (on threads
  // from the moment the transition starts; frames before they are ready are
  // drawn whole), and each frame after that draws only what moves between
  // them, the last frame of the transition included.
  struct MotionLayers {
    MovingCommands moving;
    kit::DisplayList end;  // the transition's last frame
    SplitDisplayList parts;  // of `end`
    // Each image on a thread of its own.
    std::future<Surface> drawingBelow;
    std::future<Surface> drawingAbove;
    int width = 0, height = 0, scale = 0;  // of the images; set before they are drawn
    Surface below;
    Surface above;
    bool drawn = false;
  };

  // The frame on screen is out of date: make and draw a new one.
  void invalidate();
  void prepareMotionLayers();
  bool drawWithMotionLayers(cairo_t* frame, int width, int height, int scale);
  Surface drawnLayer(const kit::DisplayList& list, int width, int height, int scale) const;
  void draw(cairo_t* cr);
  void tick(gint64 frameMicroseconds);
  const kit::HitRegion* enabledRegionAt(double x, double y) const;
  void updateHover(double x, double y);
  bool moveFocus(GtkDirectionType direction);
  bool onKey(const GdkEventKey& event);
  bool onButtonPress(const GdkEventButton& event);
  bool onButtonRelease(const GdkEventButton& event);
  std::optional<std::string> tooltipAt(double x, double y) const;

  const render::PangoTextSystem& text_;
  double cornerRadius_;
  Handlers handlers_;
  GtkWidget* widget_ = nullptr;
  kit::LaidOutTree target_;       // what the canvas shows once any motion ends
  kit::DisplayList displayList_;  // of the frame on screen
  bool displayListStale_ = true;
  Surface frame_;  // the frame on screen, at device resolution
  std::vector<kit::HitRegion> regions_;
  std::vector<kit::AccessibilityElement> elements_;
  std::optional<Transition> transition_;
  std::optional<MotionLayers> motionLayers_;
  guint tickId_ = 0;
  std::optional<std::string> pressedIdentity_;
  std::optional<std::string> focusedIdentity_;
  bool hoveringButton_ = false;

  friend struct CanvasSignals;
};

}  // namespace zelto::desktop
