#pragma once

#include <glib.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "platform/desktop/WidgetWindow.hpp"
#include "platform/kit/WidgetFamily.hpp"
#include "platform/locale/UserSettings.hpp"

namespace zelto::cli {

// What the desktop host remembers of one widget instance between starts.
struct InstanceSettings {
  kit::WidgetFamily family = kit::WidgetFamily::systemMedium;
  std::optional<desktop::WindowPosition> position;
  bool operator==(const InstanceSettings&) const = default;
};

// host.ini: one group per instance ("[widget NAME]") with the keys family
// (small, medium, large), x, y and monitor. Unknown groups and keys are kept;
// a value that does not read leaves the default.
class HostSettings {
 public:
  explicit HostSettings(std::filesystem::path file) : file_(std::move(file)) {}

  // $XDG_CONFIG_HOME/zelto-limits/host.ini, else ~/.config/zelto-limits/host.ini.
  static std::filesystem::path defaultFile(const locale::EnvironmentLookup& environment);

  // The instance's settings; defaults when the file or the group is missing
  // or unreadable.
  InstanceSettings load(const std::string& instance) const;

  // Rewrites the instance's group, keeping everything else in the file; the
  // file is replaced whole (never left half-written). False when it could
  // not be written.
  bool save(const std::string& instance, const InstanceSettings& settings) const;

  // [notifications] enabled: desktop notifications are sent only when true
  // (off by default).
  bool notificationsEnabled() const;
  bool setNotificationsEnabled(bool enabled) const;

  // [notifications] sent: the marks of notifications already sent, kept
  // across starts so that each is sent once.
  std::set<std::string> sentNotifications() const;
  bool saveSentNotifications(const std::set<std::string>& marks) const;

  const std::filesystem::path& file() const { return file_; }

 private:
  bool write(GKeyFile* file) const;

  std::filesystem::path file_;
};

}  // namespace zelto::cli
