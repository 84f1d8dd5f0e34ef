#include "platform/render/TextLayoutPlanner.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "platform/locale/Text.hpp"

namespace zelto::render {

namespace {

// A text drawn in exactly its own measured width must break into the same
// lines; this much extra line width absorbs rounding to Pango units.
constexpr double widthSlack = 1.0 / 64;
// Lines whose bottom lies within this much below a height limit still fit.
constexpr double heightSlack = 1.0 / 64;
// Halvings of the interval [minimum scale factor, 1] when shrinking a text:
// a step below 1% of the point size.
constexpr int scaleSearchSteps = 7;
constexpr double largestPointSize = 4096;
constexpr const char* ellipsis = "\u2026";

struct LayoutDeleter {
  void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using LayoutPointer = std::unique_ptr<PangoLayout, LayoutDeleter>;

int pangoUnits(double points) { return static_cast<int>(std::lround(points * PANGO_SCALE)); }
double points(int units) { return static_cast<double>(units) / PANGO_SCALE; }

PangoWeight pangoWeight(kit::FontWeight weight) {
  switch (weight) {
    case kit::FontWeight::ultraLight:
      return PANGO_WEIGHT_ULTRALIGHT;
    case kit::FontWeight::thin:
      return PANGO_WEIGHT_THIN;
    case kit::FontWeight::light:
      return PANGO_WEIGHT_LIGHT;
    case kit::FontWeight::regular:
      return PANGO_WEIGHT_NORMAL;
    case kit::FontWeight::medium:
      return PANGO_WEIGHT_MEDIUM;
    case kit::FontWeight::semibold:
      return PANGO_WEIGHT_SEMIBOLD;
    case kit::FontWeight::bold:
      return PANGO_WEIGHT_BOLD;
    case kit::FontWeight::heavy:
      return PANGO_WEIGHT_ULTRABOLD;
    case kit::FontWeight::black:
      return PANGO_WEIGHT_HEAVY;
  }
  return PANGO_WEIGHT_NORMAL;
}

PangoAlignment pangoAlignment(kit::TextAlignment alignment) {
  switch (alignment) {
    case kit::TextAlignment::leading:
      return PANGO_ALIGN_LEFT;
    case kit::TextAlignment::center:
      return PANGO_ALIGN_CENTER;
    case kit::TextAlignment::trailing:
      return PANGO_ALIGN_RIGHT;
  }
  return PANGO_ALIGN_LEFT;
}

// Valid UTF-8 without NUL characters: invalid bytes and NULs become U+FFFD.
std::string sanitizedText(const std::string& text) {
  const std::string valid = locale::wellFormedUtf8(text);
  std::string result;
  result.reserve(valid.size());
  for (char c : valid) {
    if (c == '\0') {
      result += "\uFFFD";
    } else {
      result += c;
    }
  }
  return result;
}

// Pango ends a paragraph at "\n", "\r", "\r\n" and U+2029.
std::size_t paragraphSeparatorLength(const std::string& text, std::size_t index) {
  if (index >= text.size()) return 0;
  if (text[index] == '\n' || text[index] == '\r') return 1;
  if (text.compare(index, 3, "\u2029") == 0) return 3;
  return 0;
}

std::size_t nextParagraphEnd(const std::string& text, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (paragraphSeparatorLength(text, i) > 0) return i;
  }
  return text.size();
}

// The request with every number made usable.
struct Plan {
  std::string text;
  std::string family;
  kit::FontWeight weight = kit::FontWeight::regular;
  double pointSize = 0;
  double tracking = 0;
  bool tabularDigits = false;
  std::optional<double> width;
  std::optional<double> height;
  int lineLimit = INT_MAX;
  double minimumScale = 1;
  PangoAlignment alignment = PANGO_ALIGN_LEFT;
};

Plan makePlan(const kit::TextRequest& request, std::optional<double> width, std::optional<double> height,
              const FontProbe& probe) {
  Plan plan;
  plan.text = sanitizedText(request.text);
  plan.family = probe.resolvedFamily(request.font);
  plan.weight = request.font.weight;
  const double textScale = std::isfinite(request.textScale) && request.textScale > 0 ? request.textScale : 1;
  const double size = request.font.scaledSize(textScale);
  plan.pointSize = std::isfinite(size) && size > 0 ? std::min(size, largestPointSize) : 0;
  plan.tracking = std::isfinite(request.tracking) ? request.tracking : 0;
  plan.tabularDigits = request.monospacedDigits;
  plan.width = width;
  plan.height = height;
  if (request.lineLimit) plan.lineLimit = std::max(1, *request.lineLimit);
  const double factor = request.minimumScaleFactor;
  plan.minimumScale = std::isfinite(factor) ? std::clamp(factor, 0.01, 1.0) : 1;
  plan.alignment = pangoAlignment(request.multilineAlignment);
  return plan;
}

// The text without the white space at its end.
std::string withoutTrailingSpace(std::string text) {
  while (!text.empty()) {
    const char* previous = g_utf8_find_prev_char(text.data(), text.data() + text.size());
    if (previous == nullptr || !g_unichar_isspace(g_utf8_get_char(previous))) break;
    text.resize(static_cast<std::size_t>(previous - text.data()));
  }
  return text;
}

// The byte range of the text that Pango elided on this line, if any.
std::optional<std::pair<int, int>> elidedRange(const PangoLayoutLine* line) {
  for (GSList* run = line->runs; run != nullptr; run = run->next) {
    const PangoItem* item = static_cast<PangoGlyphItem*>(run->data)->item;
    if (item->analysis.flags & PANGO_ANALYSIS_FLAG_IS_ELLIPSIS) {
      return std::pair{item->offset, item->offset + item->length};
    }
  }
  return std::nullopt;
}

// Plain layouts kept per planner; past this many they start over.
constexpr std::size_t largestBuiltCache = 512;

class Builder {
 public:
  Builder(PangoContext* context, const Plan& plan, std::map<TextLayoutPlanner::BuildKey, PangoLayout*>& built)
      : context_(context), plan_(plan), built_(built) {}

  // The plain layout of the whole text at `scale`, built once per planner:
  // callers must not modify it.
  LayoutPointer shared(double scale) const {
    TextLayoutPlanner::BuildKey key{plan_.text,
                                    plan_.family,
                                    static_cast<int>(plan_.weight),
                                    plan_.pointSize * scale,
                                    plan_.tracking * scale,
                                    plan_.tabularDigits,
                                    static_cast<int>(plan_.alignment),
                                    plan_.width.value_or(-1)};
    auto found = built_.find(key);
    if (found == built_.end()) {
      if (built_.size() >= largestBuiltCache) {
        for (auto& entry : built_) g_object_unref(entry.second);
        built_.clear();
      }
      found = built_.emplace(std::move(key), build(scale, plan_.text).release()).first;
    }
    return LayoutPointer(static_cast<PangoLayout*>(g_object_ref(found->second)));
  }

  // The text at `scale` times the point size, wrapped to the proposed
  // width, with nothing cut.
  LayoutPointer build(double scale, const std::string& text) const {
    LayoutPointer layout(pango_layout_new(context_));
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, plan_.family.c_str());
    pango_font_description_set_weight(description, pangoWeight(plan_.weight));
    pango_font_description_set_absolute_size(description, plan_.pointSize * scale * PANGO_SCALE);
    pango_layout_set_font_description(layout.get(), description);
    pango_font_description_free(description);

    PangoAttrList* attributes = pango_attr_list_new();
    if (plan_.tracking != 0) {
      // Pango spaces characters apart but adds nothing after the last one;
      // the trailing amount is added to the measured width instead.
      pango_attr_list_insert(attributes, pango_attr_letter_spacing_new(pangoUnits(plan_.tracking * scale)));
    }
    if (plan_.tabularDigits) pango_attr_list_insert(attributes, pango_attr_font_features_new("tnum"));
    pango_layout_set_attributes(layout.get(), attributes);
    pango_attr_list_unref(attributes);

    pango_layout_set_alignment(layout.get(), plan_.alignment);
    if (plan_.width) {
      // Pango fits a line with the letter spacing after its last character
      // counted, which is the width the text reports.
      pango_layout_set_width(layout.get(), pangoUnits(std::max(0.0, *plan_.width) + widthSlack));
      pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    }
    pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
    return layout;
  }

  // How many lines may be shown: the line limit, and the lines that fit in
  // the proposed height (at least one).
  int allowedLines(PangoLayout* layout) const {
    int allowed = plan_.lineLimit;
    if (plan_.height) {
      const int limit = pangoUnits(*plan_.height + heightSlack);
      int fitting = 0;
      PangoLayoutIter* iter = pango_layout_get_iter(layout);
      do {
        int top = 0, bottom = 0;
        pango_layout_iter_get_line_yrange(iter, &top, &bottom);
        if (bottom > limit) break;
        ++fitting;
      } while (pango_layout_iter_next_line(iter));
      pango_layout_iter_free(iter);
      allowed = std::min(allowed, std::max(1, fitting));
    }
    return allowed;
  }

  bool fits(PangoLayout* layout) const { return pango_layout_get_line_count(layout) <= allowedLines(layout); }

  // The layout to draw, and the logical width to report when it is not the
  // layout's own.
  struct Cut {
    LayoutPointer layout;
    std::optional<int> logicalWidth;
  };

  // The layout cut after `lines` lines, its last shown line ending in an
  // ellipsis. `full` is the uncut layout at the same scale.
  Cut truncated(double scale, PangoLayout* full, int lines) const {
    const std::string& text = plan_.text;
    PangoLayoutLine* last = pango_layout_get_line_readonly(full, lines - 1);
    const auto lastEnd = static_cast<std::size_t>(last->start_index + last->length);
    // 1. Keep the text up to the end of the paragraph that holds the last
    //    shown line; later paragraphs are dropped.
    std::string kept;
    if (lastEnd >= text.size() || paragraphSeparatorLength(text, lastEnd) > 0) {
      // The last shown line ends its paragraph: only whole paragraphs were
      // dropped, so the ellipsis follows the line's last word.
      kept = withoutTrailingSpace(text.substr(0, lastEnd)) + ellipsis;
    } else {
      kept = text.substr(0, nextParagraphEnd(text, lastEnd));
    }
    if (!plan_.width) return {build(scale, kept), std::nullopt};
    // 2. Let Pango end the last shown line with an ellipsis where the kept
    //    text runs past it.
    int height = -lines;
    if (nextParagraphEnd(kept, 0) != kept.size()) {
      // Pango's line count limit holds per paragraph; a height limit a
      // quarter line past the last shown line holds for the whole text.
      int top = 0, bottom = 0;
      PangoLayoutIter* iter = pango_layout_get_iter(full);
      for (int i = 0; i < lines - 1; ++i) pango_layout_iter_next_line(iter);
      pango_layout_iter_get_line_yrange(iter, &top, &bottom);
      pango_layout_iter_free(iter);
      height = bottom + (bottom - top) / 4;
    }
    const auto ellipsized = [&](const std::string& shown) {
      LayoutPointer layout = build(scale, shown);
      pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
      pango_layout_set_height(layout.get(), height);
      return layout;
    };
    LayoutPointer layout = ellipsized(kept);
    // 3. Pango keeps the white space before the range it elides; the cut
    //    ends at the last word instead ("brown…", not "brown …"). The width
    //    reported is Pango's less that white space: the width at which Pango
    //    itself cuts after the word, so that measuring again in the reported
    //    width gives the same text.
    std::optional<std::string> trimmed;  // the shown text when white space is cut
    int width = 0;
    for (GSList* node = pango_layout_get_lines_readonly(layout.get()); node != nullptr; node = node->next) {
      auto* line = static_cast<PangoLayoutLine*>(node->data);
      PangoRectangle logical{};
      pango_layout_line_get_extents(line, nullptr, &logical);
      if (const auto elided = elidedRange(line)) {
        const std::string before = kept.substr(0, static_cast<std::size_t>(elided->first));
        const std::string shown = withoutTrailingSpace(before);
        if (shown.size() < before.size()) {
          PangoRectangle firstSpace{}, lastSpace{};
          pango_layout_index_to_pos(layout.get(), static_cast<int>(shown.size()), &firstSpace);
          const char* lastSpaceAt = g_utf8_find_prev_char(before.data(), before.data() + before.size());
          pango_layout_index_to_pos(layout.get(), static_cast<int>(lastSpaceAt - before.data()), &lastSpace);
          logical.width -= std::abs(lastSpace.x + lastSpace.width - firstSpace.x);
          trimmed = shown;
        }
      }
      width = std::max(width, logical.width);
    }
    if (!trimmed) return {std::move(layout), std::nullopt};
    return {ellipsized(*trimmed + ellipsis), width};
  }

 private:
  PangoContext* context_;
  const Plan& plan_;
  std::map<TextLayoutPlanner::BuildKey, PangoLayout*>& built_;
};

// The text of the layout's lines as drawn: the layout's own text, with an
// ellipsis in place of the range that Pango elided.
std::string displayedText(PangoLayout* layout) {
  const char* text = pango_layout_get_text(layout);
  std::string result;
  int previousEnd = -1;
  for (GSList* node = pango_layout_get_lines_readonly(layout); node != nullptr; node = node->next) {
    const auto* line = static_cast<PangoLayoutLine*>(node->data);
    const int start = line->start_index, end = line->start_index + line->length;
    if (previousEnd >= 0 && start > previousEnd) result.append(text + previousEnd, start - previousEnd);
    if (const auto elided = elidedRange(line)) {
      const auto [elidedStart, elidedEnd] = *elided;
      result.append(text + start, std::max(0, elidedStart - start));
      result += ellipsis;
      if (end > elidedEnd) result.append(text + elidedEnd, end - elidedEnd);
    } else {
      result.append(text + start, end - start);
    }
    previousEnd = end;
  }
  return result;
}

kit::TextMeasurement measure(PangoLayout* layout, const Plan& plan, double scale,
                             std::optional<int> logicalWidth = std::nullopt) {
  kit::TextMeasurement measurement;
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  double width = std::max(0.0, points(logicalWidth.value_or(logical.width)) + plan.tracking * scale);
  if (plan.width) width = std::min(width, *plan.width);
  measurement.size = {width, points(logical.height)};
  measurement.firstBaseline = points(pango_layout_get_baseline(layout));
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  while (pango_layout_iter_next_line(iter)) {
  }
  measurement.lastBaseline = points(pango_layout_iter_get_baseline(iter));
  pango_layout_iter_free(iter);
  measurement.appliedScale = scale;
  measurement.lineCount = pango_layout_get_line_count(layout);
  measurement.displayedText = displayedText(layout);
  return measurement;
}

}  // namespace

TextLayoutPlanner::~TextLayoutPlanner() {
  for (auto& entry : built_) g_object_unref(entry.second);
}

LaidOutText::~LaidOutText() {
  if (layout != nullptr) g_object_unref(layout);
}

PangoFontDescription* TextLayoutPlanner::fontDescription(const kit::Font& font, double pointSize) const {
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, probe_.resolvedFamily(font).c_str());
  pango_font_description_set_weight(description, pangoWeight(font.weight));
  pango_font_description_set_absolute_size(description, pointSize * PANGO_SCALE);
  return description;
}

std::shared_ptr<const LaidOutText> TextLayoutPlanner::layOut(const kit::TextRequest& request,
                                                             std::optional<double> width,
                                                             std::optional<double> height) const {
  auto result = std::make_shared<LaidOutText>();
  const Plan plan = makePlan(request, width, height, probe_);
  // An empty text, or one in a font of no size, takes no space.
  if (plan.text.empty() || plan.pointSize <= 0) return result;

  const Builder builder(context_, plan, built_);
  double scale = 1;
  LayoutPointer layout = builder.shared(1);
  // 1. A text that does not fit first shrinks, down to the minimum scale
  //    factor: the largest scale that fits, found by halving the interval.
  if (!builder.fits(layout.get()) && plan.minimumScale < 1) {
    LayoutPointer smallest = builder.shared(plan.minimumScale);
    scale = plan.minimumScale;
    if (builder.fits(smallest.get())) {
      double low = plan.minimumScale, high = 1;
      for (int step = 0; step < scaleSearchSteps; ++step) {
        const double middle = (low + high) / 2;
        LayoutPointer candidate = builder.shared(middle);
        if (builder.fits(candidate.get())) {
          low = middle;
          smallest = std::move(candidate);
        } else {
          high = middle;
        }
      }
      scale = low;
    }
    layout = std::move(smallest);
  }
  // 2. Then it is cut at the tail.
  const int allowed = builder.allowedLines(layout.get());
  const bool truncated = pango_layout_get_line_count(layout.get()) > allowed;
  std::optional<int> logicalWidth;
  if (truncated) {
    auto cut = builder.truncated(scale, layout.get(), allowed);
    layout = std::move(cut.layout);
    logicalWidth = cut.logicalWidth;
  }

  result->measurement = measure(layout.get(), plan, scale, logicalWidth);
  result->measurement.truncated = truncated;
  result->layout = layout.release();
  return result;
}

}  // namespace zelto::render
