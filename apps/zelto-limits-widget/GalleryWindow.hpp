#pragma once

#include <gtk/gtk.h>

#include "apps/zelto-limits-widget/DesktopHost.hpp"

namespace zelto::cli {

// The widget gallery as a window: the widget's display name and description,
// and each supported family drawn from the sample as the gallery previews
// it. Choosing a family opens a widget of that family (instance named after
// it). The window is shown; the caller owns it.
GtkWidget* openGalleryWindow(DesktopHost& host, const RequestOptions& options);

}  // namespace zelto::cli
