#include "apps/zelto-limits-widget/GalleryWindow.hpp"
#include "apps/zelto-limits-widget/SuiteOptions.hpp"

#include <memory>
#include <string>

#include "apps/zelto-limits-widget/WidgetScene.hpp"
#include "platform/host/HostDriver.hpp"
#include "platform/render/CairoOutput.hpp"
#include "widget/runtime/LimitTimelineProvider.hpp"
#include "widget/runtime/ZeltoLimitsWidget.hpp"

namespace zelto::cli {

namespace {

// One family's preview: what the gallery draws and what choosing it opens.
struct Preview {
  DesktopHost* host;
  ShowRequest request;
  kit::DisplayList list;
};

gboolean drawPreview(GtkWidget*, cairo_t* cr, gpointer data) {
  // The list is already clipped to the widget's rounded outline.
  const auto* preview = static_cast<const Preview*>(data);
  render::play(preview->list, cr, 1, preview->host->textSystem());
  return TRUE;
}

}  // namespace

GtkWidget* openGalleryWindow(DesktopHost& host, const RequestOptions& options) {
  const auto environment = resolveRequest(options, locale::processEnvironment());
  const LimitTimelineProvider provider(resolveContainer(options, locale::processEnvironment(), defaults::SuiteAccess::read));
  host::WidgetCenter center;
  const host::HostDriver<LimitEntry> driver(provider, center, std::string(ZeltoLimitsWidget::kind));

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Zelto Limits Gallery");
  gtk_window_set_application(GTK_WINDOW(window), host.application());
  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
  gtk_container_set_border_width(GTK_CONTAINER(column), 16);
  GtkWidget* name = gtk_label_new(nullptr);
  gtk_label_set_markup(GTK_LABEL(name), ("<b>" + std::string(ZeltoLimitsWidget::displayName) + "</b>").c_str());
  gtk_label_set_xalign(GTK_LABEL(name), 0);
  GtkWidget* description = gtk_label_new(std::string(ZeltoLimitsWidget::description).c_str());
  gtk_label_set_xalign(GTK_LABEL(description), 0);
  gtk_label_set_line_wrap(GTK_LABEL(description), TRUE);
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 16);
  gtk_container_add(GTK_CONTAINER(column), name);
  gtk_container_add(GTK_CONTAINER(column), description);
  gtk_container_add(GTK_CONTAINER(column), row);

  for (const auto family : ZeltoLimitsWidget::supportedFamilies) {
    host::TimelineProviderContext context{family, true, environment};
    const auto entry = driver.requestSnapshot(context);
    scene::SceneSettings settings = scene::settingsFor(family);
    settings.textScale = host.textScale();
    const auto size = scene::canvasSize(settings);
    const auto tree = scene::layoutScene(entry, environment, settings, host.textSystem());
    auto* preview = new Preview{&host, ShowRequest{options, std::string(kit::widgetFamilyName(family)), family, false},
                                scene::paintScene(tree)};
    GtkWidget* area = gtk_drawing_area_new();
    gtk_widget_set_size_request(area, static_cast<int>(size.width), static_cast<int>(size.height));
    g_signal_connect(area, "draw", G_CALLBACK(drawPreview), preview);
    GtkWidget* button = gtk_button_new();
    gtk_button_set_relief(GTK_BUTTON(button), GTK_RELIEF_NONE);
    gtk_widget_set_valign(button, GTK_ALIGN_START);
    gtk_widget_set_tooltip_text(button, std::string(kit::widgetFamilyName(family)).c_str());
    gtk_container_add(GTK_CONTAINER(button), area);
    // The button owns its preview.
    g_object_set_data_full(G_OBJECT(button), "zelto-preview", preview,
                           [](gpointer data) { delete static_cast<Preview*>(data); });
    g_signal_connect(button, "clicked", G_CALLBACK(+[](GtkButton*, gpointer data) {
                       const auto* chosen = static_cast<const Preview*>(data);
                       chosen->host->openWidget(chosen->request);
                     }),
                     preview);
    gtk_container_add(GTK_CONTAINER(row), button);
  }
  gtk_container_add(GTK_CONTAINER(window), column);
  gtk_widget_show_all(window);
  return window;
}

}  // namespace zelto::cli
