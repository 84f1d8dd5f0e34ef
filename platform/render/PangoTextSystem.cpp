#include "platform/render/PangoTextSystem.hpp"

#include <cairo.h>
#include <hb-ot.h>
#include <pango/pangocairo.h>

#include <bit>
#include <cmath>
#include <functional>
#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/render/Symbols.hpp"
#include "platform/render/TextLayoutPlanner.hpp"

namespace zelto::render {

namespace {

// Texts measured in one process are few; past this many cached layouts the
// cache starts over rather than grow without bound.
constexpr std::size_t largestCache = 8192;
constexpr double fallbackCapHeight = 0.7;  // em

struct CacheKey {
  kit::TextRequest request;
  std::optional<double> width;
  std::optional<double> height;
  bool operator==(const CacheKey&) const = default;
};

// A lookup that borrows the request instead of copying it into a key.
struct CacheProbe {
  const kit::TextRequest& request;
  std::optional<double> width;
  std::optional<double> height;
};

void combine(std::size_t& seed, std::size_t value) {
  seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

// Equal numbers hash alike (0 and -0 included) without hashing their bytes.
std::size_t numberHash(double value) { return value == 0 ? 0 : std::bit_cast<std::size_t>(value); }

struct CacheKeyHash {
  using is_transparent = void;
  std::size_t operator()(const CacheKey& key) const { return hash(key.request, key.width, key.height); }
  std::size_t operator()(const CacheProbe& probe) const { return hash(probe.request, probe.width, probe.height); }
  // The text, its size and weight and the proposal tell the texts of a
  // widget apart; equality settles the rarer differences (family, tracking,
  // limits), so they are not hashed on every lookup.
  static std::size_t hash(const kit::TextRequest& r, std::optional<double> width, std::optional<double> height) {
    std::size_t seed = std::hash<std::string>{}(r.text);
    combine(seed, numberHash(r.font.size));
    combine(seed, static_cast<std::size_t>(r.font.weight));
    combine(seed, width ? numberHash(*width) : 1);
    combine(seed, height ? numberHash(*height) : 1);
    return seed;
  }
};

struct CacheKeyEqual {
  using is_transparent = void;
  bool operator()(const CacheKey& a, const CacheKey& b) const { return a == b; }
  bool operator()(const CacheProbe& a, const CacheKey& b) const {
    return a.width == b.width && a.height == b.height && a.request == b.request;
  }
  bool operator()(const CacheKey& a, const CacheProbe& b) const { return (*this)(b, a); }
};

// An unspecified or unbounded proposal asks for the ideal size; a negative
// one counts as zero.
bool isOneLeadingLine(const kit::TextRequest& request, const LaidOutText& laid) {
  if (request.multilineAlignment != kit::TextAlignment::leading || laid.layout == nullptr) return false;
  const kit::TextMeasurement& m = laid.measurement;
  if (m.lineCount != 1 || m.truncated || m.appliedScale != 1) return false;
  const PangoLayoutLine* line = pango_layout_get_line_readonly(laid.layout, 0);
  return line != nullptr && line->resolved_dir == PANGO_DIRECTION_LTR;
}

std::optional<double> normalizedProposal(std::optional<double> value) {
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return std::max(0.0, *value);
}

double usablePointSize(const kit::Font& font, double textScale) {
  const double scale = std::isfinite(textScale) && textScale > 0 ? textScale : 1;
  const double size = font.scaledSize(scale);
  return std::isfinite(size) && size > 0 ? size : 0;
}

}  // namespace

struct PangoTextSystem::Impl {
  std::shared_ptr<const FontProbe> probe;
  // Serialises every use of the probe's font map, shared with the other
  // text systems of the probe.
  std::mutex& mutex;
  PangoFontMap* fontMap = nullptr;
  PangoContext* context = nullptr;
  std::unique_ptr<TextLayoutPlanner> planner;
  std::unordered_map<CacheKey, std::shared_ptr<const LaidOutText>, CacheKeyHash, CacheKeyEqual> cache;
  std::map<std::pair<std::string, kit::FontWeight>, double> capHeights;  // em, by family and weight

  explicit Impl(std::shared_ptr<const FontProbe> fontProbe)
      : probe(std::move(fontProbe)), mutex(probe->fontMapMutex()) {
    std::lock_guard lock(mutex);
    fontMap = probe->fontMap();
    context = pango_font_map_create_context(fontMap);
    // Unhinted metrics and unrounded glyph positions: fractional sizes that
    // are the same at every output scale. Grey antialiasing, since images
    // may be composited onto any background.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
    // One point is one unit of the layout space.
    pango_cairo_context_set_resolution(context, 72);
    planner = std::make_unique<TextLayoutPlanner>(context, *probe);
  }

  ~Impl() {
    std::lock_guard lock(mutex);
    cache.clear();
    planner.reset();
    g_object_unref(context);
  }

  // The caller holds `mutex`; the answer stays valid until the cache next
  // changes.
  const std::shared_ptr<const LaidOutText>& laidOut(const kit::TextRequest& request, std::optional<double> width,
                                                    std::optional<double> height) {
    const CacheProbe wanted{request, normalizedProposal(width), normalizedProposal(height)};
    auto found = cache.find(wanted);
    if (found != cache.end()) return found->second;
    std::shared_ptr<const LaidOutText> laid;
    if (wanted.width || wanted.height) {
      // A leading, left-to-right text that fits on one line at its ideal
      // size is laid out the same in any proposal at least as wide: no
      // line breaks, nothing cut or shrunk, the line at the left.
      auto ideal = laidOut(request, std::nullopt, std::nullopt);
      if (isOneLeadingLine(request, *ideal) && (!wanted.width || ideal->measurement.size.width <= *wanted.width)) {
        laid = std::move(ideal);
      }
    }
    if (!laid) laid = planner->layOut(request, wanted.width, wanted.height);
    if (cache.size() >= largestCache) cache.clear();
    return cache.emplace(CacheKey{request, wanted.width, wanted.height}, std::move(laid)).first->second;
  }

  // The caller holds `mutex`.
  double capHeightEm(const kit::Font& font) {
    const std::pair key{probe->resolvedFamily(font), font.weight};
    auto found = capHeights.find(key);
    if (found != capHeights.end()) return found->second;
    double em = fallbackCapHeight;
    PangoFontDescription* description = planner->fontDescription(font, 100);
    if (PangoFont* loaded = pango_font_map_load_font(fontMap, context, description)) {
      hb_font_t* hbFont = pango_font_get_hb_font(loaded);
      hb_position_t capHeight = 0;
      int xScale = 0, yScale = 0;
      if (hbFont != nullptr) hb_font_get_scale(hbFont, &xScale, &yScale);
      if (hbFont != nullptr && yScale != 0 &&
          hb_ot_metrics_get_position(hbFont, HB_OT_METRICS_TAG_CAP_HEIGHT, &capHeight) && capHeight > 0) {
        em = static_cast<double>(capHeight) / std::abs(yScale);
      }
      g_object_unref(loaded);
    }
    pango_font_description_free(description);
    capHeights.emplace(key, em);
    return em;
  }
};

PangoTextSystem::PangoTextSystem() : PangoTextSystem(FontProbe::process()) {}

PangoTextSystem::PangoTextSystem(std::shared_ptr<const FontProbe> probe)
    : impl_(std::make_unique<Impl>(std::move(probe))) {}

PangoTextSystem::~PangoTextSystem() = default;

kit::TextMeasurement PangoTextSystem::measure(const kit::TextRequest& request, std::optional<double> width,
                                              std::optional<double> height) const {
  std::lock_guard lock(impl_->mutex);
  return impl_->laidOut(request, width, height)->measurement;
}

kit::SymbolMeasurement PangoTextSystem::measureSymbol(const kit::SymbolRequest& request) const {
  const double pointSize = usablePointSize(request.font, request.textScale);
  const auto size = symbolSize(request.name, pointSize, request.font.weight);
  if (!size) return {{0, 0}, 0, false};
  double capHeightPoints = 0;
  {
    std::lock_guard lock(impl_->mutex);
    capHeightPoints = impl_->capHeightEm(request.font) * pointSize;
  }
  // The symbol's middle sits on the middle of the cap height.
  return {*size, size->height / 2 + capHeightPoints / 2, true};
}

std::string PangoTextSystem::resolvedFamily(const kit::Font& font) const { return impl_->probe->resolvedFamily(font); }

bool PangoTextSystem::isFamilyInstalled(const std::string& family) const {
  return impl_->probe->isFamilyInstalled(family);
}

void PangoTextSystem::drawText(cairo_t* cr, const kit::TextRequest& request, const kit::Rect& frame) const {
  std::lock_guard lock(impl_->mutex);
  const auto laid = impl_->laidOut(request, frame.width, frame.height);
  if (laid->layout == nullptr) return;
  cairo_move_to(cr, frame.x, frame.y);
  pango_cairo_show_layout(cr, laid->layout);
  cairo_new_path(cr);
}

double PangoTextSystem::capHeight(const kit::Font& font, double pointSize) const {
  std::lock_guard lock(impl_->mutex);
  return impl_->capHeightEm(font) * pointSize;
}

const FontProbe& PangoTextSystem::probe() const { return *impl_->probe; }

}  // namespace zelto::render
