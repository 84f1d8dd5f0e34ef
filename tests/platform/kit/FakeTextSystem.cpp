#include "FakeTextSystem.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace zelto::kit::testing {
namespace {

constexpr double lineHeightFactor = 1.2;
constexpr double baselineFactor = 0.95;
const std::string ellipsis = "\u2026";

// Characters as UTF-8 sequences (code points stand in for grapheme clusters).
std::vector<std::string> characters(std::string_view text) {
  std::vector<std::string> result;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    result.emplace_back(text.substr(i, length));
    i += length;
  }
  return result;
}

struct Metrics {
  double size;
  double tracking;
  bool tabular;

  double advance(const std::string& character) const {
    const bool narrow = character == "1" && !tabular;
    return (narrow ? 0.4 : 0.6) * size + tracking;
  }
  double width(const std::vector<std::string>& line) const {
    double total = 0;
    for (const std::string& c : line) total += advance(c);
    return total;
  }
};

using Line = std::vector<std::string>;

struct WrappedLine {
  Line characters;
  std::size_t paragraph = 0;
  bool breaksInsideWord = false;  // the next line continues the same word
};

std::string joined(const Line& line) {
  std::string text;
  for (const std::string& c : line) text += c;
  return text;
}

// Greedy word wrapping of one paragraph.
std::vector<WrappedLine> wrap(const Line& paragraph, std::size_t index, const Metrics& metrics,
                              std::optional<double> width) {
  if (!width) return {{paragraph, index, false}};
  std::vector<WrappedLine> lines;
  Line current;
  Line word;
  const auto fits = [&](const Line& line) { return metrics.width(line) <= *width + 1e-9; };
  const auto flushWord = [&]() {
    if (word.empty()) return;
    Line candidate = current;
    if (!candidate.empty()) candidate.push_back(" ");
    candidate.insert(candidate.end(), word.begin(), word.end());
    if (fits(candidate)) {
      current = std::move(candidate);
    } else {
      if (!current.empty()) lines.push_back({current, index, false});
      current.clear();
      // A word wider than the line breaks between characters.
      for (const std::string& c : word) {
        Line longer = current;
        longer.push_back(c);
        if (!current.empty() && !fits(longer)) {
          lines.push_back({current, index, true});
          current = {c};
        } else {
          current = std::move(longer);
        }
      }
    }
    word.clear();
  };
  for (const std::string& c : paragraph) {
    if (c == " ") {
      flushWord();
    } else {
      word.push_back(c);
    }
  }
  flushWord();
  lines.push_back({current, index, false});
  return lines;
}

struct Layout {
  std::vector<Line> lines;
  bool truncated = false;
  std::string displayed;
};

Layout layoutText(const std::string& text, const Metrics& metrics, std::optional<double> width, int maxLines) {
  std::vector<Line> paragraphs{{}};
  for (const std::string& c : characters(text)) {
    if (c == "\n") {
      paragraphs.emplace_back();
    } else {
      paragraphs.back().push_back(c);
    }
  }
  std::vector<WrappedLine> all;
  for (std::size_t p = 0; p < paragraphs.size(); ++p) {
    const std::vector<WrappedLine> wrapped = wrap(paragraphs[p], p, metrics, width);
    all.insert(all.end(), wrapped.begin(), wrapped.end());
  }
  Layout layout;
  bool tooWide = false;
  for (const WrappedLine& line : all) tooWide = tooWide || (width && metrics.width(line.characters) > *width + 1e-9);
  if (static_cast<int>(all.size()) <= maxLines && !tooWide) {
    for (const WrappedLine& line : all) layout.lines.push_back(line.characters);
    layout.displayed = text;
    return layout;
  }
  layout.truncated = true;
  const std::size_t shown = std::min<std::size_t>(static_cast<std::size_t>(maxLines), all.size());
  std::string displayed;
  for (std::size_t l = 0; l + 1 < shown; ++l) {
    layout.lines.push_back(all[l].characters);
    displayed += joined(all[l].characters);
    displayed += all[l].paragraph != all[l + 1].paragraph ? "\n" : all[l].breaksInsideWord ? "" : " ";
  }
  // The last shown line takes the rest of its paragraph, cut to fit with "…".
  Line last = all[shown - 1].characters;
  for (std::size_t k = shown; k < all.size() && all[k].paragraph == all[shown - 1].paragraph; ++k) {
    if (!all[k - 1].breaksInsideWord) last.push_back(" ");
    last.insert(last.end(), all[k].characters.begin(), all[k].characters.end());
  }
  last.push_back(ellipsis);
  while (width && last.size() > 1 && metrics.width(last) > *width + 1e-9) {
    last.erase(last.end() - 2);
    while (last.size() > 1 && last[last.size() - 2] == " ") last.erase(last.end() - 2);
  }
  layout.lines.push_back(last);
  layout.displayed = displayed + joined(last);
  return layout;
}

}  // namespace

TextMeasurement FakeTextSystem::measure(const TextRequest& request, std::optional<double> width,
                                        std::optional<double> height) const {
  ++measureCalls;
  calls.push_back({request, width, height});
  const double baseSize = request.font.scaledSize(request.textScale);
  const auto linesAllowed = [&](double size) {
    int lines = request.lineLimit.value_or(1 << 20);
    if (height)
      lines = std::min(lines, std::max(1, static_cast<int>(std::floor(*height / (lineHeightFactor * size) + 1e-9))));
    return lines;
  };
  const auto layoutAt = [&](double scale) {
    const Metrics metrics{baseSize * scale, request.tracking, request.monospacedDigits};
    return layoutText(request.text, metrics, width, linesAllowed(baseSize * scale));
  };

  double scale = 1;
  Layout layout = layoutAt(1);
  if (layout.truncated && request.minimumScaleFactor < 1) {
    // Largest scale in [factor, 1] at which the text fits.
    double low = request.minimumScaleFactor, high = 1;
    Layout atLow = layoutAt(low);
    if (!atLow.truncated) {
      for (int i = 0; i < 40; ++i) {
        const double middle = (low + high) / 2;
        (layoutAt(middle).truncated ? high : low) = middle;
      }
      scale = low;
    } else {
      scale = request.minimumScaleFactor;
    }
    layout = layoutAt(scale);
  }

  const Metrics metrics{baseSize * scale, request.tracking, request.monospacedDigits};
  double widest = 0;
  for (const Line& line : layout.lines) widest = std::max(widest, metrics.width(line));
  if (width) widest = std::min(widest, *width);
  const double lineHeight = lineHeightFactor * metrics.size;
  const auto lineCount = static_cast<int>(layout.lines.size());

  TextMeasurement result;
  result.size = {widest, lineHeight * lineCount};
  result.firstBaseline = baselineFactor * metrics.size;
  result.lastBaseline = lineHeight * (lineCount - 1) + baselineFactor * metrics.size;
  result.appliedScale = scale;
  result.lineCount = lineCount;
  result.truncated = layout.truncated;
  result.displayedText = layout.displayed;
  return result;
}

SymbolMeasurement FakeTextSystem::measureSymbol(const SymbolRequest& request) const {
  if (!knownSymbols.contains(request.name)) return {{0, 0}, 0, false};
  const double size = request.font.scaledSize(request.textScale);
  return {{size, size}, 0.9 * size, true};
}

std::string FakeTextSystem::resolvedFamily(const Font& font) const {
  if (font.family && isFamilyInstalled(*font.family)) return *font.family;
  return font.design == FontDesign::rounded ? "Fake Rounded" : "Fake Sans";
}

bool FakeTextSystem::isFamilyInstalled(const std::string& family) const { return family == "Fake Sans"; }

}  // namespace zelto::kit::testing
