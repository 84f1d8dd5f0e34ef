#include "platform/desktop/FolderMonitor.hpp"

#include <system_error>
#include <utility>

namespace zelto::desktop {

FolderMonitor::FolderMonitor(const std::filesystem::path& folder, std::function<void()> onChange,
                             std::chrono::milliseconds quietPeriod)
    : onChange_(std::move(onChange)), quietPeriod_(quietPeriod) {
  // A folder made now can be watched; one that cannot be made is watched
  // for its appearance all the same (GIO then reports nothing until it exists).
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  GObjectPointer<GFile> file(g_file_new_for_path(folder.c_str()));
  monitor_.reset(g_file_monitor_directory(file.get(), G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr));
  if (!monitor_) return;
  // GIO's own rate limit would hold back a second change for a whole second.
  g_file_monitor_set_rate_limit(monitor_.get(), 0);
  g_signal_connect(monitor_.get(), "changed", G_CALLBACK(changed), this);
}

FolderMonitor::~FolderMonitor() {
  if (monitor_) {
    g_signal_handlers_disconnect_by_data(monitor_.get(), this);
    g_file_monitor_cancel(monitor_.get());
  }
}

void FolderMonitor::changed(GFileMonitor*, GFile*, GFile*, GFileMonitorEvent event, gpointer data) {
  if (event == G_FILE_MONITOR_EVENT_ATTRIBUTE_CHANGED || event == G_FILE_MONITOR_EVENT_PRE_UNMOUNT ||
      event == G_FILE_MONITOR_EVENT_UNMOUNTED) {
    return;
  }
  auto* self = static_cast<FolderMonitor*>(data);
  // Each change restarts the quiet period.
  self->pending_ = SourceId(g_timeout_add(static_cast<guint>(self->quietPeriod_.count()), quiet, self));
}

gboolean FolderMonitor::quiet(gpointer data) {
  auto* self = static_cast<FolderMonitor*>(data);
  self->pending_.release();
  self->onChange_();
  return G_SOURCE_REMOVE;
}

}  // namespace zelto::desktop
