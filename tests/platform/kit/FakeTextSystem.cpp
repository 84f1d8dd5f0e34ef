#include "FakeTextSystem.hpp"

#include <algorithm>
#include <cmath>

namespace zelto::kit::testing {
namespace {

using Line = std::vector<std::string>;  // characters as UTF-8 sequences

Line characters(const std::string& text) {
  Line result;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    result.push_back(text.substr(i, length));
    i += length;
  }
  return result;
}

std::string joined(const Line& line) {
  std::string text;
  for (const std::string& c : line) text += c;
  return text;
}

}  // namespace

TextMeasurement FakeTextSystem::measure(const TextRequest& request, std::optional<double> width,
                                        std::optional<double> height) const {
  calls.push_back({request, width, height});
  const double size = request.font.scaledSize(request.textScale);
  const auto widthOf = [&](const Line& line) {
    double total = 0;
    for (const std::string& c : line) total += (c == "1" && !request.monospacedDigits ? 0.4 : 0.6) * size;
    return total + request.tracking * static_cast<double>(line.size());
  };
  const auto fits = [&](const Line& line) { return !width || widthOf(line) <= *width + 1e-9; };

  // 1. Greedy wrapping: words joined while they fit, long words broken.
  std::vector<Line> lines{{}};
  Line word;
  const auto flushWord = [&] {
    if (word.empty()) return;
    Line candidate = lines.back();
    if (!candidate.empty()) candidate.push_back(" ");
    candidate.insert(candidate.end(), word.begin(), word.end());
    if (fits(candidate)) {
      lines.back() = std::move(candidate);
    } else {
      if (!lines.back().empty()) lines.emplace_back();
      for (const std::string& c : word) {
        Line longer = lines.back();
        longer.push_back(c);
        if (!lines.back().empty() && !fits(longer))
          lines.push_back({c});
        else
          lines.back() = std::move(longer);
      }
    }
    word.clear();
  };
  for (const std::string& c : characters(request.text)) {
    if (c == " " || c == "\n") flushWord();
    if (c == "\n") lines.emplace_back();
    if (c != " " && c != "\n") word.push_back(c);
  }
  flushWord();

  // 2. Lines past the limit or the height are dropped.
  const double lineHeight = 1.2 * size;
  int allowed = request.lineLimit.value_or(1 << 20);
  if (height) allowed = std::min(allowed, std::max(1, static_cast<int>(std::floor(*height / lineHeight + 1e-9))));
  TextMeasurement result;
  result.truncated = static_cast<int>(lines.size()) > allowed;
  if (result.truncated) {
    lines.resize(static_cast<std::size_t>(allowed));
    lines.back().push_back("\u2026");
  }
  double widest = 0;
  for (const Line& line : lines) {
    widest = std::max(widest, widthOf(line));
    result.displayedText += (result.displayedText.empty() ? "" : " ") + joined(line);
  }
  if (!result.truncated) result.displayedText = request.text;
  const auto count = static_cast<int>(lines.size());
  result.size = {width ? std::min(widest, *width) : widest, lineHeight * count};
  result.firstBaseline = 0.95 * size;
  result.lastBaseline = lineHeight * (count - 1) + 0.95 * size;
  result.lineCount = count;
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

}  // namespace zelto::kit::testing
