#include "platform/desktop/WidgetCanvas.hpp"

#include <gdk/gdkkeysyms.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#include "platform/desktop/TreeTransition.hpp"
#include "platform/desktop/WidgetWindow.hpp"
#include "platform/kit/DisplayListPainter.hpp"
#include "platform/kit/Shapes.hpp"
#include "platform/render/CairoOutput.hpp"
#include "platform/render/CairoPaint.hpp"

namespace zelto::desktop {

// ---- The drawing area type: a GtkDrawingArea whose accessible lists the
// widget's accessibility elements.

namespace {

struct Canvas {
  GtkDrawingArea parent;
};
struct CanvasClass {
  GtkDrawingAreaClass parentClass;
};

G_DEFINE_TYPE(Canvas, zelto_canvas, GTK_TYPE_DRAWING_AREA)

void zelto_canvas_init(Canvas*) {}
void zelto_canvas_class_init(CanvasClass* klass) {
  gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), canvasAccessibleType());
}

// The outline the widget is clipped to.
kit::Path widgetOutline(double width, double height, double cornerRadius) {
  return kit::shapePath(
      kit::ShapeGeometry{kit::ShapeKind::roundedRectangle, cornerRadius, kit::RoundedCornerStyle::continuous},
      kit::Rect{0, 0, width, height});
}

struct ContextRelease {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

// An image for a whole frame at device resolution. It has no device scale of
// its own: lists are played into it at the window's scale, so that the
// player's cached rasters (shadowed cards, glows) apply on every monitor.
cairo_surface_t* frameImage(int width, int height, int scale) {
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * scale, height * scale);
}

void clearImage(cairo_t* cr) {
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_paint(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

// Clips `cr` (in device pixels) to the widget's outline at `scale`.
void clipToOutline(cairo_t* cr, int width, int height, int scale, double cornerRadius) {
  cairo_save(cr);
  cairo_scale(cr, scale, scale);
  const bool drawn = render::setPath(cr, widgetOutline(width, height, cornerRadius));
  cairo_restore(cr);  // the path stays, in device pixels
  if (drawn) cairo_clip(cr);
}

// The pixels of an ARGB image that are not fully transparent, as the
// smallest rectangle holding them (empty when there are none).
cairo_rectangle_int_t inkedPixels(cairo_surface_t* image) {
  cairo_surface_flush(image);
  const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
  const int stride = cairo_image_surface_get_stride(image);
  const unsigned char* data = cairo_image_surface_get_data(image);
  if (data == nullptr) return {0, 0, width, height};
  int left = width, right = 0, top = height, bottom = 0;
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    int first = 0;
    while (first < width && row[first] == 0) ++first;
    if (first == width) continue;
    int last = width;
    while (row[last - 1] == 0) --last;
    left = std::min(left, first);
    right = std::max(right, last);
    top = std::min(top, y);
    bottom = y + 1;
  }
  if (left >= right) return {0, 0, 0, 0};
  return {left, top, right - left, bottom - top};
}

// A layer image's inked pixels, when known.
cairo_user_data_key_t inkedPixelsKey;

// `image` with its inked pixels attached: frames composite only that part.
template <class Image>
Image withInkedPixels(Image image) {
  if (!image) return image;
  auto ink = std::make_unique<cairo_rectangle_int_t>(inkedPixels(image.get()));
  if (cairo_surface_set_user_data(image.get(), &inkedPixelsKey, ink.get(),
                                  [](void* data) { delete static_cast<cairo_rectangle_int_t*>(data); }) ==
      CAIRO_STATUS_SUCCESS) {
    ink.release();
  }
  return image;
}

// Ring drawn around the button that has the keyboard focus.
constexpr double focusRingWidth = 1.5;
constexpr double focusRingOutset = 2;

}  // namespace

struct CanvasSignals {
  static gboolean draw(GtkWidget*, cairo_t* cr, gpointer self) {
    static_cast<WidgetCanvas*>(self)->draw(cr);
    return TRUE;
  }
  static gboolean tick(GtkWidget*, GdkFrameClock* clock, gpointer self) {
    auto* canvas = static_cast<WidgetCanvas*>(self);
    canvas->tick(gdk_frame_clock_get_frame_time(clock));
    if (canvas->transition_) return G_SOURCE_CONTINUE;
    canvas->tickId_ = 0;
    return G_SOURCE_REMOVE;
  }
  static gboolean motion(GtkWidget*, GdkEventMotion* event, gpointer self) {
    static_cast<WidgetCanvas*>(self)->updateHover(event->x, event->y);
    return FALSE;
  }
  static gboolean leave(GtkWidget*, GdkEventCrossing*, gpointer self) {
    static_cast<WidgetCanvas*>(self)->updateHover(-1, -1);
    return FALSE;
  }
  static gboolean press(GtkWidget*, GdkEventButton* event, gpointer self) {
    return static_cast<WidgetCanvas*>(self)->onButtonPress(*event) ? TRUE : FALSE;
  }
  static gboolean release(GtkWidget*, GdkEventButton* event, gpointer self) {
    return static_cast<WidgetCanvas*>(self)->onButtonRelease(*event) ? TRUE : FALSE;
  }
  static gboolean key(GtkWidget*, GdkEventKey* event, gpointer self) {
    return static_cast<WidgetCanvas*>(self)->onKey(*event) ? TRUE : FALSE;
  }
  static gboolean focus(GtkWidget*, GtkDirectionType direction, gpointer self) {
    return static_cast<WidgetCanvas*>(self)->moveFocus(direction) ? TRUE : FALSE;
  }
  static gboolean focusOut(GtkWidget* widget, GdkEventFocus*, gpointer self) {
    static_cast<WidgetCanvas*>(self)->focusedIdentity_.reset();
    gtk_widget_queue_draw(widget);
    return FALSE;
  }
  static gboolean tooltip(GtkWidget*, gint x, gint y, gboolean keyboard, GtkTooltip* tooltip, gpointer self) {
    auto* canvas = static_cast<WidgetCanvas*>(self);
    std::optional<std::string> text;
    if (keyboard && canvas->focusedIdentity_) {
      for (const auto& region : canvas->regions_) {
        if (region.identity == *canvas->focusedIdentity_)
          text = canvas->tooltipAt(region.frame.midX(), region.frame.midY());
      }
    } else {
      text = canvas->tooltipAt(x, y);
    }
    if (!text) return FALSE;
    gtk_tooltip_set_text(tooltip, text->c_str());
    return TRUE;
  }
  static void scaleChanged(GObject* widget, GParamSpec*, gpointer) { gtk_widget_queue_draw(GTK_WIDGET(widget)); }
};

WidgetCanvas::WidgetCanvas(const render::PangoTextSystem& text, double cornerRadius, Handlers handlers)
    : text_(text), cornerRadius_(cornerRadius), handlers_(std::move(handlers)) {
  widget_ = GTK_WIDGET(g_object_new(zelto_canvas_get_type(), nullptr));
  g_object_ref_sink(widget_);
  attachAccessibleContent(widget_, this);
  gtk_widget_set_can_focus(widget_, TRUE);
  gtk_widget_set_has_tooltip(widget_, TRUE);
  gtk_widget_add_events(widget_, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                     GDK_LEAVE_NOTIFY_MASK | GDK_KEY_PRESS_MASK | GDK_FOCUS_CHANGE_MASK);
  g_signal_connect(widget_, "draw", G_CALLBACK(CanvasSignals::draw), this);
  g_signal_connect(widget_, "motion-notify-event", G_CALLBACK(CanvasSignals::motion), this);
  g_signal_connect(widget_, "leave-notify-event", G_CALLBACK(CanvasSignals::leave), this);
  g_signal_connect(widget_, "button-press-event", G_CALLBACK(CanvasSignals::press), this);
  g_signal_connect(widget_, "button-release-event", G_CALLBACK(CanvasSignals::release), this);
  g_signal_connect(widget_, "key-press-event", G_CALLBACK(CanvasSignals::key), this);
  g_signal_connect(widget_, "focus", G_CALLBACK(CanvasSignals::focus), this);
  g_signal_connect(widget_, "focus-out-event", G_CALLBACK(CanvasSignals::focusOut), this);
  g_signal_connect(widget_, "query-tooltip", G_CALLBACK(CanvasSignals::tooltip), this);
  g_signal_connect(widget_, "notify::scale-factor", G_CALLBACK(CanvasSignals::scaleChanged), this);
}

WidgetCanvas::~WidgetCanvas() {
  if (tickId_ != 0) gtk_widget_remove_tick_callback(widget_, tickId_);
  g_signal_handlers_disconnect_by_data(widget_, this);
  attachAccessibleContent(widget_, nullptr);
  accessibleContentChanged(widget_);
  g_object_unref(widget_);
}

void WidgetCanvas::show(kit::LaidOutTree tree, Motion motion) {
  std::optional<kit::SpringAnimation> spring;
  if (motion == Motion::animate && !target_.nodes.empty()) spring = changedAnimation(target_, tree);
  if (spring) {
    // A change during a motion starts from where the views are drawn now.
    kit::LaidOutTree from =
        transition_ ? interpolatedTree(transition_->from, target_, transition_->progress) : std::move(target_);
    transition_ = Transition{std::move(from), SpringCurve(*spring)};
    if (transition_->curve.settlingTime() <= 0) transition_.reset();
  } else if (motion == Motion::reduce) {
    transition_.reset();
  }
  // Otherwise a running motion carries on towards the new tree.
  target_ = std::move(tree);
  regions_ = kit::hitRegions(target_);
  elements_ = kit::accessibilityElements(target_);
  if (focusedIdentity_ && std::none_of(regions_.begin(), regions_.end(), [&](const kit::HitRegion& region) {
        return region.enabled && region.identity == *focusedIdentity_;
      })) {
    focusedIdentity_.reset();
  }
  gtk_widget_set_size_request(widget_, static_cast<gint>(target_.size.width + 0.5),
                              static_cast<gint>(target_.size.height + 0.5));
  accessibleContentChanged(widget_);
  prepareMotionLayers();
  if (transition_) {
    invalidate();
    if (tickId_ == 0) tickId_ = gtk_widget_add_tick_callback(widget_, CanvasSignals::tick, this, nullptr);
  } else {
    if (tickId_ != 0) gtk_widget_remove_tick_callback(widget_, std::exchange(tickId_, 0));
    invalidate();
  }
}

void WidgetCanvas::invalidate() {
  displayListStale_ = true;
  gtk_widget_queue_draw(widget_);
}

void WidgetCanvas::tick(gint64 frameMicroseconds) {
  if (!transition_) return;
  if (transition_->startMicroseconds < 0) transition_->startMicroseconds = frameMicroseconds;
  const double seconds = static_cast<double>(frameMicroseconds - transition_->startMicroseconds) / 1e6;
  if (seconds >= transition_->curve.settlingTime()) {
    transition_.reset();
    invalidate();
    return;
  }
  transition_->progress = transition_->curve.progress(seconds);
  invalidate();
}

void WidgetCanvas::draw(cairo_t* cr) {
  const auto start = std::chrono::steady_clock::now();
  const int width = gtk_widget_get_allocated_width(widget_);
  const int height = gtk_widget_get_allocated_height(widget_);
  const int scale = gtk_widget_get_scale_factor(widget_);
  // The frame is drawn into an image at device resolution, then copied to the
  // window in one step: groups, masks and blurs on a window's own (X server)
  // surface are many times slower. Exposes without a change copy it again.
  const bool sizeChanged = !frame_ || cairo_image_surface_get_width(frame_.get()) != width * scale ||
                           cairo_image_surface_get_height(frame_.get()) != height * scale;
  if (displayListStale_ || sizeChanged) {
    // The frame's display list is made here, so that its cost counts in the frame.
    kit::DisplayList list =
        kit::paint(transition_ ? interpolatedTree(transition_->from, target_, transition_->progress) : target_);
    displayListStale_ = false;
    // A frame that would draw what the image shows already (a motion whose
    // views end where they start, as when only texts change) is not drawn
    // again.
    const bool unchanged =
        !sizeChanged && list.size == displayList_.size && list.commands == displayList_.commands;
    displayList_ = std::move(list);
    if (sizeChanged) {
      frame_.reset(frameImage(width, height, scale));
    }
    if (!unchanged) {
      std::unique_ptr<cairo_t, ContextRelease> frame(cairo_create(frame_.get()));
      if (!drawWithMotionLayers(frame.get(), width, height, scale)) {
        clearImage(frame.get());
        clipToOutline(frame.get(), width, height, scale, cornerRadius_);
        render::play(displayList_, frame.get(), scale, text_);
      }
    }
    // The last frame of a motion is drawn with its layers too; then they go.
    if (!transition_) motionLayers_.reset();
  }
  cairo_save(cr);
  cairo_scale(cr, 1.0 / scale, 1.0 / scale);  // one pixel of the image per device pixel
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, frame_.get(), 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
  if (focusedIdentity_ && gtk_widget_has_visible_focus(widget_)) {
    for (const auto& region : regions_) {
      if (region.identity != *focusedIdentity_) continue;
      const kit::Rect ring{region.frame.x - focusRingOutset, region.frame.y - focusRingOutset,
                           region.frame.width + 2 * focusRingOutset, region.frame.height + 2 * focusRingOutset};
      render::setPath(cr, kit::shapePath(kit::ShapeGeometry{kit::ShapeKind::capsule}, ring));
      cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
      cairo_set_line_width(cr, focusRingWidth);
      cairo_stroke(cr);
    }
  }
  if (handlers_.onFrame) handlers_.onFrame(DrawnFrame{std::chrono::steady_clock::now() - start, isAnimating()});
}

void WidgetCanvas::prepareMotionLayers() {
  motionLayers_.reset();
  if (!transition_) return;
  kit::DisplayList end = kit::paint(target_);
  const auto moving = movingCommands(kit::paint(interpolatedTree(transition_->from, target_, 0)), end);
  if (!moving) return;
  motionLayers_.emplace();
  motionLayers_->moving = *moving;
  motionLayers_->end = std::move(end);
  motionLayers_->parts = splitDisplayList(motionLayers_->end, *moving);

  // With the canvas already at its size, the layers are drawn on threads
  // from now on, while the rest of the change is made and the first frame
  // waits for the display.
  const int width = gtk_widget_get_allocated_width(widget_);
  const int height = gtk_widget_get_allocated_height(widget_);
  if (gtk_widget_get_realized(widget_) && width == static_cast<int>(target_.size.width + 0.5) &&
      height == static_cast<int>(target_.size.height + 0.5)) {
    auto& layers = *motionLayers_;
    layers.width = width;
    layers.height = height;
    layers.scale = gtk_widget_get_scale_factor(widget_);
    layers.drawingBelow = std::async(std::launch::async, [this, &layers] {
      return drawnLayer(layers.parts.below, layers.width, layers.height, layers.scale);
    });
    layers.drawingAbove = std::async(std::launch::async, [this, &layers] {
      return withInkedPixels(drawnLayer(layers.parts.above, layers.width, layers.height, layers.scale));
    });
  }
}

WidgetCanvas::Surface WidgetCanvas::drawnLayer(const kit::DisplayList& list, int width, int height, int scale) const {
  if (list.commands.empty()) return nullptr;
  Surface layer(frameImage(width, height, scale));
  std::unique_ptr<cairo_t, ContextRelease> cr(cairo_create(layer.get()));
  clipToOutline(cr.get(), width, height, scale, cornerRadius_);
  render::play(list, cr.get(), scale, text_);
  return layer;
}

bool WidgetCanvas::drawWithMotionLayers(cairo_t* frame, int width, int height, int scale) {
  if (!motionLayers_) return false;
  auto& layers = *motionLayers_;
  // Only when everything around the moving commands is that of the last frame.
  const auto& now = displayList_.commands;
  const auto& end = layers.end.commands;
  const auto first = static_cast<std::ptrdiff_t>(layers.moving.first);
  const auto last = static_cast<std::ptrdiff_t>(layers.moving.last);
  if (now.size() != end.size() || !std::equal(now.begin(), now.begin() + first, end.begin()) ||
      !std::equal(now.begin() + last, now.end(), end.begin() + last)) {
    return false;
  }
  if (layers.drawingBelow.valid()) {
    const auto ready = [](const std::future<Surface>& drawing) {
      return drawing.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    };
    if (!ready(layers.drawingBelow) || !ready(layers.drawingAbove)) return false;
    layers.below = layers.drawingBelow.get();
    layers.above = layers.drawingAbove.get();
    layers.drawn = true;
  }
  if (!layers.drawn || layers.width != width || layers.height != height || layers.scale != scale) {
    // Drawn here: as much as drawing this frame whole, and the frames after
    // it draw only what moves.
    layers.width = width;
    layers.height = height;
    layers.scale = scale;
    layers.below = drawnLayer(layers.parts.below, width, height, scale);
    layers.above = withInkedPixels(drawnLayer(layers.parts.above, width, height, scale));
    layers.drawn = true;
  }
  // The layer below replaces the whole image (it is transparent outside the
  // outline), so the image needs no clearing first.
  if (layers.below) {
    cairo_set_operator(frame, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(frame, layers.below.get(), 0, 0);
    cairo_paint(frame);
    cairo_set_operator(frame, CAIRO_OPERATOR_OVER);
  } else {
    clearImage(frame);
  }
  clipToOutline(frame, width, height, scale, cornerRadius_);
  render::play(splitDisplayList(displayList_, layers.moving).moving, frame, scale, text_);
  if (layers.above) {
    // The layer is clipped to the outline already.
    cairo_reset_clip(frame);
    cairo_set_source_surface(frame, layers.above.get(), 0, 0);
    if (const auto* ink = static_cast<const cairo_rectangle_int_t*>(
            cairo_surface_get_user_data(layers.above.get(), &inkedPixelsKey))) {
      cairo_rectangle(frame, ink->x, ink->y, ink->width, ink->height);
      cairo_fill(frame);
    } else {
      cairo_paint(frame);
    }
  }
  return true;
}

const kit::HitRegion* WidgetCanvas::enabledRegionAt(double x, double y) const {
  const auto* region = kit::regionAt(regions_, kit::Point{x, y});
  return region != nullptr && region->enabled ? region : nullptr;
}

std::optional<std::string> WidgetCanvas::tooltipAt(double x, double y) const {
  const auto* region = kit::regionAt(regions_, kit::Point{x, y});
  if (region == nullptr) return std::nullopt;
  for (const auto& element : elements_) {
    if (element.identity == region->identity && !element.label.empty()) return element.label;
  }
  return std::nullopt;
}

void WidgetCanvas::updateHover(double x, double y) {
  const bool overButton = enabledRegionAt(x, y) != nullptr;
  if (overButton == hoveringButton_ || !gtk_widget_get_realized(widget_)) return;
  hoveringButton_ = overButton;
  GdkWindow* window = gtk_widget_get_window(widget_);
  if (overButton) {
    GdkCursor* cursor = gdk_cursor_new_from_name(gdk_window_get_display(window), "pointer");
    gdk_window_set_cursor(window, cursor);
    if (cursor != nullptr) g_object_unref(cursor);
  } else {
    gdk_window_set_cursor(window, nullptr);
  }
}

bool WidgetCanvas::pressButton(const std::string& identity) {
  for (const auto& region : regions_) {
    if (region.identity == identity && region.enabled) {
      if (handlers_.onPress) handlers_.onPress(region.intent);
      return true;
    }
  }
  return false;
}

bool WidgetCanvas::onButtonPress(const GdkEventButton& event) {
  if (event.type != GDK_BUTTON_PRESS) return true;  // double and triple clicks add nothing
  if (event.button == GDK_BUTTON_SECONDARY) {
    if (handlers_.onContextMenu) handlers_.onContextMenu(reinterpret_cast<const GdkEvent*>(&event));
    return true;
  }
  if (event.button != GDK_BUTTON_PRIMARY) return false;
  // A disabled button takes the click too, and nothing runs.
  if (const auto* region = kit::regionAt(regions_, kit::Point{event.x, event.y})) {
    pressedIdentity_ = region->identity;
    return true;
  }
  pressedIdentity_.reset();
  if (GtkWidget* window = gtk_widget_get_toplevel(widget_); GTK_IS_WINDOW(window)) {
    beginWidgetMove(GTK_WINDOW(window), event);
  }
  return true;
}

bool WidgetCanvas::onButtonRelease(const GdkEventButton& event) {
  if (event.button != GDK_BUTTON_PRIMARY || !pressedIdentity_) return false;
  const auto pressed = std::exchange(pressedIdentity_, std::nullopt);
  const auto* region = enabledRegionAt(event.x, event.y);
  if (region != nullptr && region->identity == *pressed) pressButton(region->identity);
  return true;
}

bool WidgetCanvas::moveFocus(GtkDirectionType direction) {
  std::vector<const kit::HitRegion*> buttons;
  for (const auto& region : regions_) {
    if (region.enabled) buttons.push_back(&region);
  }
  if (buttons.empty()) return false;
  const bool forward = direction == GTK_DIR_TAB_FORWARD || direction == GTK_DIR_RIGHT || direction == GTK_DIR_DOWN;
  auto current = std::find_if(buttons.begin(), buttons.end(), [&](const kit::HitRegion* region) {
    return focusedIdentity_ && gtk_widget_has_focus(widget_) && region->identity == *focusedIdentity_;
  });
  std::ptrdiff_t next = 0;
  if (current == buttons.end()) {
    next = forward ? 0 : static_cast<std::ptrdiff_t>(buttons.size()) - 1;
  } else {
    next = (current - buttons.begin()) + (forward ? 1 : -1);
    if (next < 0 || next >= static_cast<std::ptrdiff_t>(buttons.size())) {
      // Past the last button the focus leaves the widget.
      focusedIdentity_.reset();
      gtk_widget_queue_draw(widget_);
      return false;
    }
  }
  focusedIdentity_ = buttons[static_cast<std::size_t>(next)]->identity;
  if (!gtk_widget_has_focus(widget_)) gtk_widget_grab_focus(widget_);
  gtk_widget_queue_draw(widget_);
  return true;
}

bool WidgetCanvas::onKey(const GdkEventKey& event) {
  switch (event.keyval) {
    case GDK_KEY_space:
    case GDK_KEY_KP_Space:
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
      return focusedIdentity_ && pressButton(*focusedIdentity_);
    case GDK_KEY_Left:
    case GDK_KEY_Right:
      return moveFocus(event.keyval == GDK_KEY_Left ? GTK_DIR_LEFT : GTK_DIR_RIGHT);
    default:
      return false;
  }
}

}  // namespace zelto::desktop
