#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "platform/kit/Font.hpp"

struct _FcConfig;
typedef struct _PangoFontMap PangoFontMap;

namespace zelto::render {

// Answers which font families this machine has installed, through
// fontconfig, and which family a kit font resolves to.
//
// fontconfig always returns some font for a request, so a family counts as
// installed only when one of the configuration's fonts really carries that
// family name.
class FontProbe {
 public:
  // Uses the process's fontconfig configuration.
  FontProbe();
  // Uses only the configuration file `configFile` (tests pin their fonts so).
  // Throws std::runtime_error when the file cannot be loaded.
  explicit FontProbe(const std::filesystem::path& configFile);
  ~FontProbe();
  FontProbe(const FontProbe&) = delete;
  FontProbe& operator=(const FontProbe&) = delete;

  // Whether the family itself is installed (case-insensitive), not a
  // substitute fontconfig would pick for it.
  bool isFamilyInstalled(const std::string& family) const;

  // The family the renderer draws `font` with: the requested family when it
  // is installed; for the rounded design a rounded sans when one is
  // installed; otherwise the system face ("Inter"), or whatever fontconfig
  // offers for sans-serif on a machine without it.
  std::string resolvedFamily(const kit::Font& font) const;

  // The configuration the renderer's font map uses (never null).
  _FcConfig* config() const { return config_; }

  // The Pango font map over this configuration, made on first use and shared
  // by every text system of this probe, so fonts are loaded once. Use it, and
  // anything made from it, only while holding fontMapMutex().
  PangoFontMap* fontMap() const;
  std::mutex& fontMapMutex() const { return fontMapMutex_; }

  // The probe of the process's own fontconfig configuration, made on first
  // use and kept for the life of the process.
  static std::shared_ptr<const FontProbe> process();

 private:
  std::string fallbackFamily() const;

  _FcConfig* config_ = nullptr;
  mutable std::mutex mutex_;
  mutable std::optional<std::unordered_set<std::string>> families_;  // folded names
  mutable std::unordered_map<std::string, bool> answers_;  // by the name as asked
  mutable std::optional<std::string> fallback_;
  mutable std::mutex fontMapMutex_;
  mutable PangoFontMap* fontMap_ = nullptr;  // owned; guarded by fontMapMutex_
};

// The system face of the kit.
inline constexpr const char* systemFontFamily = "Inter";

}  // namespace zelto::render
