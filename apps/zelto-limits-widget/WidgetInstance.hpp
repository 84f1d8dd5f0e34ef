#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <optional>
#include <string>

#include "apps/zelto-limits-widget/DesktopHost.hpp"
#include "platform/desktop/FolderMonitor.hpp"
#include "platform/desktop/GObjectPointer.hpp"
#include "platform/desktop/WidgetCanvas.hpp"
#include "platform/desktop/WidgetWindow.hpp"
#include "platform/host/HostDriver.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/runtime/LimitTimelineProvider.hpp"

namespace zelto::cli {

// One widget on the desktop: its window, and the timeline loop that keeps it
// current. It shows the placeholder at once, then the timeline; it asks for
// a new timeline at the reload date, when the suite's folder changes, and
// when reloads of its kind are requested; between entries it redraws exactly
// when a relative text it shows would change.
class WidgetInstance {
 public:
  WidgetInstance(DesktopHost& host, const ShowRequest& request, host::WidgetCenter& widgetCenter);
  ~WidgetInstance();
  WidgetInstance(const WidgetInstance&) = delete;
  WidgetInstance& operator=(const WidgetInstance&) = delete;

  const std::string& name() const { return name_; }
  // Asks the provider for a new timeline now and shows its entry.
  void reload();
  void setFamily(kit::WidgetFamily family);
  // Draws the shown entry again (the text scale or motion setting changed).
  void redraw();
  GtkWindow* window() const { return GTK_WINDOW(window_); }

 private:
  Date now() const;
  host::TimelineProviderContext context() const;
  void buildWindow(const std::optional<desktop::WindowPosition>& position);
  void show(const LimitEntry& entry);
  void scheduleReload(Date date);
  // The reload timer's callback: idle at start (after the placeholder's first
  // frame), then at each timeline's reload date.
  static gboolean onReloadDue(gpointer self);
  void scheduleRelativeRedraw(std::optional<Date> change);
  void requestFamily(kit::WidgetFamily family);
  void rememberSettings();
  void openContextMenu(const GdkEvent* event);

  DesktopHost& host_;
  std::string name_;
  kit::WidgetFamily family_;
  bool reduceMotion_;
  host::RequestEnvironment environment_;  // `now` is where the clock started
  SharedContainer container_;             // the suite this widget shows
  RequestOptions options_;                // as asked, for the gallery its notifications open
  gint64 startMicroseconds_;              // monotonic time at that start
  LimitTimelineProvider provider_;
  host::HostDriver<LimitEntry> driver_;
  std::optional<LimitEntry> entry_;
  std::string suiteFingerprint_;  // the suite's files as the last timeline read them
  GtkWidget* window_ = nullptr;
  desktop::Placement placement_ = desktop::Placement::plain;
  std::unique_ptr<desktop::WidgetCanvas> canvas_;
  std::unique_ptr<desktop::FolderMonitor> monitor_;
  desktop::SourceId reloadTimer_;
  desktop::SourceId relativeTimer_;
  desktop::SourceId saveTimer_;
  desktop::SourceId familyTimer_;
  // Memory freed while a new entry was laid out and drawn goes back to the
  // system once its first frame is on screen.
  bool trimAfterFrame_ = true;
  desktop::SourceId trimTimer_;
  kit::WidgetFamily pendingFamily_ = kit::WidgetFamily::systemMedium;
  desktop::GObjectPointer<GtkWidget> menu_;
};

}  // namespace zelto::cli
