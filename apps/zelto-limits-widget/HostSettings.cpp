#include "apps/zelto-limits-widget/HostSettings.hpp"

#include <glib.h>

#include <memory>
#include <system_error>

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
  std::error_code ignored;
  std::filesystem::create_directories(file_.parent_path(), ignored);
  // g_key_file_save_to_file writes a temporary file and renames it over.
  return g_key_file_save_to_file(file.get(), file_.c_str(), nullptr) == TRUE;
}

}  // namespace zelto::cli
