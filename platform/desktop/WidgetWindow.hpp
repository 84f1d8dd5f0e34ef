#pragma once

#include <gtk/gtk.h>

#include <optional>
#include <string>

namespace zelto::desktop {

// How a widget window sits on the desktop.
enum class Placement {
  // The compositor's bottom layer (wlr layer-shell), anchored top-left.
  layerShell,
  // An undecorated X11 window below all others, on every workspace, out of
  // the taskbar and pager.
  desktopHints,
  // A plain undecorated window where neither is available.
  plain,
};

// Where a widget window is, in the coordinates of its monitor.
struct WindowPosition {
  int x = 0;
  int y = 0;
  std::optional<std::string> monitor;  // the monitor's model name, when known
  bool operator==(const WindowPosition&) const = default;
};

// Makes `window` a desktop widget window: placed as the display allows,
// without decorations, with an RGBA visual where a compositor blends it (the
// desktop shows through outside the drawn canvas); on an X11 desktop
// without one, the window is shaped to the rounded outline instead (hard
// edges rather than a black box). Call before the window is shown.
Placement makeWidgetWindow(GtkWindow* window, int width, int height, double cornerRadius);

// Moves the window to `position` (relative to its monitor; the first
// monitor when that one is gone), clamped onto the monitor's work area.
void placeWidgetWindow(GtkWindow* window, Placement placement, const WindowPosition& position);

// Where the window is now.
WindowPosition widgetWindowPosition(GtkWindow* window, Placement placement);

std::string_view placementName(Placement placement);

// Starts moving the widget window with the pointer from a primary-button
// press: the window manager's move on X11 and plain windows; on the layer
// shell, where windows have no position of their own, the margins follow
// the pointer until the button is released.
void beginWidgetMove(GtkWindow* window, const GdkEventButton& press);

}  // namespace zelto::desktop
