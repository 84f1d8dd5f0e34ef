#include "platform/render/FontProbe.hpp"

#include <fontconfig/fontconfig.h>

#include <array>
#include <stdexcept>

namespace zelto::render {

namespace {

// Rounded companions of neutral sans faces, in order of preference. None of
// them ships with the kit; each is used when the machine happens to have it.
constexpr std::array<const char*, 4> roundedFamilies = {"SF Pro Rounded", "Nunito", "Varela Round",
                                                        "M PLUS Rounded 1c"};

// The family name of fontconfig's best match for `family`, compared with
// every family name the matched font carries.
bool bestMatchCarriesFamily(FcConfig* config, const std::string& family) {
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return false;
  bool found = false;
  FcChar8* name = nullptr;
  for (int i = 0; !found && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    found = FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family.c_str())) == 0;
  }
  FcPatternDestroy(match);
  return found;
}

}  // namespace

FontProbe::FontProbe() {
  config_ = FcInitLoadConfigAndFonts();
  if (config_ == nullptr) throw std::runtime_error("fontconfig: cannot load the default configuration");
}

FontProbe::FontProbe(const std::filesystem::path& configFile) {
  if (!std::filesystem::is_regular_file(configFile)) {
    throw std::runtime_error("fontconfig: configuration file not found: " + configFile.string());
  }
  config_ = FcConfigCreate();
  if (config_ == nullptr) throw std::runtime_error("fontconfig: cannot create a configuration");
  const std::string file = configFile.string();
  if (!FcConfigParseAndLoad(config_, reinterpret_cast<const FcChar8*>(file.c_str()), FcTrue) ||
      !FcConfigBuildFonts(config_)) {
    FcConfigDestroy(config_);
    config_ = nullptr;
    throw std::runtime_error("fontconfig: cannot load configuration file " + file);
  }
}

FontProbe::~FontProbe() {
  if (config_ != nullptr) FcConfigDestroy(config_);
}

bool FontProbe::isFamilyInstalled(const std::string& family) const {
  if (family.empty()) return false;
  std::lock_guard lock(mutex_);
  auto found = installed_.find(family);
  if (found != installed_.end()) return found->second;
  const bool installed = bestMatchCarriesFamily(config_, family);
  installed_.emplace(family, installed);
  return installed;
}

std::string FontProbe::resolvedFamily(const kit::Font& font) const {
  if (font.family && isFamilyInstalled(*font.family)) return *font.family;
  if (font.design == kit::FontDesign::rounded) {
    for (const char* family : roundedFamilies) {
      if (isFamilyInstalled(family)) return family;
    }
  }
  if (isFamilyInstalled(systemFontFamily)) return systemFontFamily;
  return fallbackFamily();
}

std::string FontProbe::fallbackFamily() const {
  std::lock_guard lock(mutex_);
  if (fallback_) return *fallback_;
  std::string family = "sans-serif";
  if (FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"))) {
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(config_, pattern, &result)) {
      FcChar8* name = nullptr;
      if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch) {
        family = reinterpret_cast<const char*>(name);
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  fallback_ = family;
  return family;
}

}  // namespace zelto::render
