#include "apps/zelto-limits-widget/HostSettings.hpp"

#include <glib.h>

#include <memory>
#include <system_error>
#include <vector>

namespace zelto::cli {

namespace {

struct KeyFileRelease {
  void operator()(GKeyFile* file) const { g_key_file_unref(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileRelease>;

std::string groupOf(const std::string& instance) { return "widget " + instance; }

KeyFile readKeyFile(const std::filesystem::path& path) {
  KeyFile file(g_key_file_new());
  // A missing or damaged file reads as empty: the defaults apply.
  g_key_file_load_from_file(file.get(), path.c_str(), G_KEY_FILE_KEEP_COMMENTS, nullptr);
  return file;
}

std::optional<int> integerKey(GKeyFile* file, const std::string& group, const char* key) {
  GError* error = nullptr;
  const gint value = g_key_file_get_integer(file, group.c_str(), key, &error);
  if (error != nullptr) {
    g_error_free(error);
    return std::nullopt;
  }
  return value;
}

constexpr const char* notificationsGroup = "notifications";

}  // namespace

std::filesystem::path HostSettings::defaultFile(const locale::EnvironmentLookup& environment) {
  std::filesystem::path base;
  if (auto config = environment("XDG_CONFIG_HOME"); config && !config->empty()) {
    base = *config;
  } else if (auto home = environment("HOME"); home && !home->empty()) {
    base = std::filesystem::path(*home) / ".config";
  } else {
    base = g_get_user_config_dir();
  }
  return base / "zelto-limits" / "host.ini";
}

InstanceSettings HostSettings::load(const std::string& instance) const {
  InstanceSettings settings;
  const auto file = readKeyFile(file_);
  const auto group = groupOf(instance);
  if (gchar* family = g_key_file_get_string(file.get(), group.c_str(), "family", nullptr)) {
    if (auto named = kit::widgetFamilyNamed(family)) settings.family = *named;
    g_free(family);
  }
  const auto x = integerKey(file.get(), group, "x");
  const auto y = integerKey(file.get(), group, "y");
  if (x && y) {
    settings.position = desktop::WindowPosition{*x, *y, std::nullopt};
    if (gchar* monitor = g_key_file_get_string(file.get(), group.c_str(), "monitor", nullptr)) {
      settings.position->monitor = monitor;
      g_free(monitor);
    }
  }
  return settings;
}

bool HostSettings::notificationsEnabled() const {
  const auto file = readKeyFile(file_);
  GError* error = nullptr;
  const gboolean enabled = g_key_file_get_boolean(file.get(), notificationsGroup, "enabled", &error);
  if (error != nullptr) g_error_free(error);
  return enabled == TRUE;
}

bool HostSettings::setNotificationsEnabled(bool enabled) const {
  const auto file = readKeyFile(file_);
  g_key_file_set_boolean(file.get(), notificationsGroup, "enabled", enabled ? TRUE : FALSE);
  return write(file.get());
}

std::set<std::string> HostSettings::sentNotifications() const {
  const auto file = readKeyFile(file_);
  std::set<std::string> marks;
  if (gchar** list = g_key_file_get_string_list(file.get(), notificationsGroup, "sent", nullptr, nullptr)) {
    for (gchar** mark = list; *mark != nullptr; ++mark) marks.insert(*mark);
    g_strfreev(list);
  }
  return marks;
}

bool HostSettings::saveSentNotifications(const std::set<std::string>& marks) const {
  const auto file = readKeyFile(file_);
  std::vector<const gchar*> list;
  for (const std::string& mark : marks) list.push_back(mark.c_str());
  g_key_file_set_string_list(file.get(), notificationsGroup, "sent", list.data(), list.size());
  return write(file.get());
}

bool HostSettings::write(GKeyFile* file) const {
  std::error_code ignored;
  std::filesystem::create_directories(file_.parent_path(), ignored);
  // g_key_file_save_to_file writes a temporary file and renames it over.
  return g_key_file_save_to_file(file, file_.c_str(), nullptr) == TRUE;
}

bool HostSettings::save(const std::string& instance, const InstanceSettings& settings) const {
  const auto file = readKeyFile(file_);
  const auto group = groupOf(instance);
  g_key_file_set_string(file.get(), group.c_str(), "family",
                        std::string(kit::widgetFamilyName(settings.family)).c_str());
  if (settings.position) {
    g_key_file_set_integer(file.get(), group.c_str(), "x", settings.position->x);
    g_key_file_set_integer(file.get(), group.c_str(), "y", settings.position->y);
    if (settings.position->monitor) {
      g_key_file_set_string(file.get(), group.c_str(), "monitor", settings.position->monitor->c_str());
    } else {
      g_key_file_remove_key(file.get(), group.c_str(), "monitor", nullptr);
    }
  }
  return write(file.get());
}

}  // namespace zelto::cli
