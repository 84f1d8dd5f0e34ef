#include "platform/desktop/WidgetWindow.hpp"

#include <gdk/gdkx.h>
#include <gtk-layer-shell/gtk-layer-shell.h>

#include <algorithm>
#include <memory>

#include "platform/kit/Shapes.hpp"
#include "platform/render/CairoPaint.hpp"

namespace zelto::desktop {

namespace {

struct RegionRelease {
  void operator()(cairo_region_t* region) const { cairo_region_destroy(region); }
};
struct SurfaceRelease {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

// The rounded outline as a pixel region, for shaping a window that cannot
// be transparent.
std::unique_ptr<cairo_region_t, RegionRelease> outlineRegion(int width, int height, double cornerRadius) {
  std::unique_ptr<cairo_surface_t, SurfaceRelease> mask(cairo_image_surface_create(CAIRO_FORMAT_A1, width, height));
  std::unique_ptr<cairo_t, ContextRelease> cr(cairo_create(mask.get()));
  cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
  render::setPath(cr.get(), kit::shapePath(kit::ShapeGeometry{kit::ShapeKind::roundedRectangle, cornerRadius,
                                                              kit::RoundedCornerStyle::continuous},
                                           kit::Rect{0, 0, static_cast<double>(width), static_cast<double>(height)}));
  cairo_fill(cr.get());
  cairo_surface_flush(mask.get());
  return std::unique_ptr<cairo_region_t, RegionRelease>(gdk_cairo_region_create_from_surface(mask.get()));
}

// Clears the window to transparent before its child draws the canvas.
gboolean clearBackground(GtkWidget*, cairo_t* cr, gpointer) {
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_paint(cr);
  cairo_restore(cr);
  return FALSE;
}

GdkMonitor* monitorNamed(GdkDisplay* display, const std::optional<std::string>& name) {
  const int count = gdk_display_get_n_monitors(display);
  for (int index = 0; name && index < count; ++index) {
    GdkMonitor* monitor = gdk_display_get_monitor(display, index);
    const char* model = gdk_monitor_get_model(monitor);
    if (model != nullptr && *name == model) return monitor;
  }
  GdkMonitor* primary = gdk_display_get_primary_monitor(display);
  return primary != nullptr ? primary : gdk_display_get_monitor(display, 0);
}

}  // namespace

std::string_view placementName(Placement placement) {
  switch (placement) {
    case Placement::layerShell:
      return "layer-shell";
    case Placement::desktopHints:
      return "desktop-hints";
    case Placement::plain:
      return "plain";
  }
  return "plain";
}

namespace {

// Where the pointer grabbed a layer-shell window, in its own coordinates.
struct LayerMove {
  double x = 0;
  double y = 0;
};
constexpr const char* layerMoveKey = "zelto-layer-move";
constexpr const char* placementKey = "zelto-placement";

gboolean followPointer(GtkWidget* widget, GdkEventMotion* event, gpointer) {
  const auto* move = static_cast<const LayerMove*>(g_object_get_data(G_OBJECT(widget), layerMoveKey));
  if (move == nullptr) return FALSE;
  auto* window = GTK_WINDOW(widget);
  // The window follows the pointer, so the grab point stays under it.
  const int left = gtk_layer_get_margin(window, GTK_LAYER_SHELL_EDGE_LEFT) + static_cast<int>(event->x - move->x);
  const int top = gtk_layer_get_margin(window, GTK_LAYER_SHELL_EDGE_TOP) + static_cast<int>(event->y - move->y);
  gtk_layer_set_margin(window, GTK_LAYER_SHELL_EDGE_LEFT, std::max(0, left));
  gtk_layer_set_margin(window, GTK_LAYER_SHELL_EDGE_TOP, std::max(0, top));
  return TRUE;
}

gboolean endLayerMove(GtkWidget* widget, GdkEventButton*, gpointer) {
  g_object_set_data(G_OBJECT(widget), layerMoveKey, nullptr);
  g_signal_handlers_disconnect_by_func(widget, reinterpret_cast<gpointer>(followPointer), nullptr);
  g_signal_handlers_disconnect_by_func(widget, reinterpret_cast<gpointer>(endLayerMove), nullptr);
  return FALSE;
}

}  // namespace

void beginWidgetMove(GtkWindow* window, const GdkEventButton& press) {
  const auto placement = static_cast<Placement>(GPOINTER_TO_INT(g_object_get_data(G_OBJECT(window), placementKey)));
  if (placement != Placement::layerShell) {
    gtk_window_begin_move_drag(window, static_cast<gint>(press.button), static_cast<gint>(press.x_root),
                               static_cast<gint>(press.y_root), press.time);
    return;
  }
  // The press came to the canvas, which fills the window from its origin.
  g_object_set_data_full(G_OBJECT(window), layerMoveKey, new LayerMove{press.x, press.y},
                         [](gpointer move) { delete static_cast<LayerMove*>(move); });
  g_signal_handlers_disconnect_by_func(window, reinterpret_cast<gpointer>(followPointer), nullptr);
  g_signal_handlers_disconnect_by_func(window, reinterpret_cast<gpointer>(endLayerMove), nullptr);
  gtk_widget_add_events(GTK_WIDGET(window), GDK_POINTER_MOTION_MASK | GDK_BUTTON_RELEASE_MASK);
  g_signal_connect(window, "motion-notify-event", G_CALLBACK(followPointer), nullptr);
  g_signal_connect(window, "button-release-event", G_CALLBACK(endLayerMove), nullptr);
}

Placement makeWidgetWindow(GtkWindow* window, int width, int height, double cornerRadius) {
  GtkWidget* widget = GTK_WIDGET(window);
  GdkScreen* screen = gtk_widget_get_screen(widget);
  GdkDisplay* display = gdk_screen_get_display(screen);
  gtk_window_set_decorated(window, FALSE);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_default_size(window, width, height);
  gtk_widget_set_app_paintable(widget, TRUE);
  g_signal_connect(widget, "draw", G_CALLBACK(clearBackground), nullptr);
  if (GdkVisual* rgba = gdk_screen_get_rgba_visual(screen); rgba != nullptr && gdk_screen_is_composited(screen)) {
    gtk_widget_set_visual(widget, rgba);
  } else if (GDK_IS_X11_DISPLAY(display)) {
    // No compositor blends the window: cut it to the canvas instead.
    auto region = outlineRegion(width, height, cornerRadius);
    gtk_widget_shape_combine_region(widget, region.get());
  }

  Placement placement = Placement::plain;
  if (gtk_layer_is_supported()) {
    placement = Placement::layerShell;
    gtk_layer_init_for_window(window);
    gtk_layer_set_layer(window, GTK_LAYER_SHELL_LAYER_BOTTOM);
    gtk_layer_set_namespace(window, "zelto-limits");
    gtk_layer_set_anchor(window, GTK_LAYER_SHELL_EDGE_TOP, TRUE);
    gtk_layer_set_anchor(window, GTK_LAYER_SHELL_EDGE_LEFT, TRUE);
    gtk_layer_set_keyboard_mode(window, GTK_LAYER_SHELL_KEYBOARD_MODE_ON_DEMAND);
  } else if (GDK_IS_X11_DISPLAY(display)) {
    placement = Placement::desktopHints;
    gtk_window_set_keep_below(window, TRUE);
    gtk_window_stick(window);
    gtk_window_set_skip_taskbar_hint(window, TRUE);
    gtk_window_set_skip_pager_hint(window, TRUE);
    gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_UTILITY);
  }
  g_object_set_data(G_OBJECT(window), placementKey, GINT_TO_POINTER(static_cast<int>(placement)));
  return placement;
}

void placeWidgetWindow(GtkWindow* window, Placement placement, const WindowPosition& position) {
  GdkMonitor* monitor = monitorNamed(gtk_widget_get_display(GTK_WIDGET(window)), position.monitor);
  if (monitor == nullptr) return;
  GdkRectangle area;
  gdk_monitor_get_workarea(monitor, &area);
  gint width = 0;
  gint height = 0;
  gtk_window_get_default_size(window, &width, &height);
  const int x = std::clamp(position.x, 0, std::max(0, area.width - width));
  const int y = std::clamp(position.y, 0, std::max(0, area.height - height));
  if (placement == Placement::layerShell) {
    gtk_layer_set_monitor(window, monitor);
    gtk_layer_set_margin(window, GTK_LAYER_SHELL_EDGE_LEFT, x);
    gtk_layer_set_margin(window, GTK_LAYER_SHELL_EDGE_TOP, y);
  } else {
    gtk_window_move(window, area.x + x, area.y + y);
  }
}

WindowPosition widgetWindowPosition(GtkWindow* window, Placement placement) {
  WindowPosition position;
  GdkDisplay* display = gtk_widget_get_display(GTK_WIDGET(window));
  GdkWindow* surface = gtk_widget_get_window(GTK_WIDGET(window));
  GdkMonitor* monitor =
      surface != nullptr ? gdk_display_get_monitor_at_window(display, surface) : gdk_display_get_monitor(display, 0);
  if (monitor == nullptr) return position;
  if (const char* model = gdk_monitor_get_model(monitor)) position.monitor = model;
  if (placement == Placement::layerShell) {
    position.x = gtk_layer_get_margin(window, GTK_LAYER_SHELL_EDGE_LEFT);
    position.y = gtk_layer_get_margin(window, GTK_LAYER_SHELL_EDGE_TOP);
    return position;
  }
  GdkRectangle area;
  gdk_monitor_get_workarea(monitor, &area);
  gint x = 0;
  gint y = 0;
  gtk_window_get_position(window, &x, &y);
  position.x = x - area.x;
  position.y = y - area.y;
  return position;
}

}  // namespace zelto::desktop
