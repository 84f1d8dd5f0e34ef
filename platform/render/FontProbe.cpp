#include "platform/render/FontProbe.hpp"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <array>
#include <stdexcept>
#include <unordered_set>

namespace zelto::render {

namespace {

// Rounded companions of neutral sans faces, in order of preference. None of
// them ships with the kit; each is used when the machine happens to have it.
constexpr std::array<const char*, 4> roundedFamilies = {"SF Pro Rounded", "Nunito", "Varela Round",
                                                        "M PLUS Rounded 1c"};

// `text` in fontconfig's case folding.
std::string folded(const char* text) {
  FcChar8* lower = FcStrDowncase(reinterpret_cast<const FcChar8*>(text));
  if (lower == nullptr) return text;
  std::string result(reinterpret_cast<const char*>(lower));
  FcStrFree(lower);
  return result;
}

// Every family name that a font of the configuration carries, folded.
std::unordered_set<std::string> installedFamilies(FcConfig* config) {
  std::unordered_set<std::string> families;
  for (FcSetName set : {FcSetSystem, FcSetApplication}) {
    const FcFontSet* fonts = FcConfigGetFonts(config, set);
    for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
      FcChar8* name = nullptr;
      for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &name) == FcResultMatch; ++n) {
        families.insert(folded(reinterpret_cast<const char*>(name)));
      }
    }
  }
  return families;
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
  if (fontMap_ != nullptr) g_object_unref(fontMap_);
  if (config_ != nullptr) FcConfigDestroy(config_);
}

PangoFontMap* FontProbe::fontMap() const {
  // The caller holds fontMapMutex_.
  if (fontMap_ == nullptr) {
    fontMap_ = pango_cairo_font_map_new();
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap_), config_);
  }
  return fontMap_;
}

std::shared_ptr<const FontProbe> FontProbe::process() {
  static const auto probe = std::make_shared<const FontProbe>();
  return probe;
}

bool FontProbe::isFamilyInstalled(const std::string& family) const {
  if (family.empty()) return false;
  std::lock_guard lock(mutex_);
  // Layout asks about the same few names again and again: answer those from
  // memory, without folding the name each time.
  if (const auto known = answers_.find(family); known != answers_.end()) return known->second;
  // One pass over the configuration's fonts answers every later question.
  if (!families_) families_ = installedFamilies(config_);
  const bool installed = families_->contains(folded(family.c_str()));
  answers_.emplace(family, installed);
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
