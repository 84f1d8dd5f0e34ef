#pragma once

#include <gio/gio.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "platform/desktop/GObjectPointer.hpp"

namespace zelto::desktop {

// Watches a folder (the shared suites live there) and calls `onChange` on the
// main loop once a burst of changes has been quiet for `quietPeriod`: a
// write that touches the database and its journal several times is one
// change. The folder need not exist yet.
class FolderMonitor {
 public:
  static constexpr std::chrono::milliseconds defaultQuietPeriod{50};

  FolderMonitor(const std::filesystem::path& folder, std::function<void()> onChange,
                std::chrono::milliseconds quietPeriod = defaultQuietPeriod);
  FolderMonitor(const FolderMonitor&) = delete;
  FolderMonitor& operator=(const FolderMonitor&) = delete;
  ~FolderMonitor();

  // Whether the folder is being watched (false when GIO could not watch it).
  bool isWatching() const { return monitor_ != nullptr; }

 private:
  static void changed(GFileMonitor*, GFile*, GFile*, GFileMonitorEvent event, gpointer self);
  static gboolean quiet(gpointer self);

  std::function<void()> onChange_;
  std::chrono::milliseconds quietPeriod_;
  GObjectPointer<GFileMonitor> monitor_;
  SourceId pending_;
};

}  // namespace zelto::desktop
