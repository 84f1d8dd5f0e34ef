#pragma once

#include <optional>
#include <string>

#include "platform/kit/Font.hpp"
#include "platform/kit/Geometry.hpp"

namespace zelto::kit {

enum class TextAlignment { leading, center, trailing };

// Everything that decides how a text is shaped and broken into lines.
struct TextRequest {
  std::string text;            // UTF-8, already localized and formatted
  Font font;
  double textScale = 1;        // the user's text scale (1 = default)
  double tracking = 0;         // extra points after every grapheme cluster, the last included
  bool monospacedDigits = false;  // OpenType tnum
  std::optional<int> lineLimit;   // at most this many lines
  double minimumScaleFactor = 1;  // shrink down to this fraction before truncating
  bool allowsTightening = false;  // may draw letters slightly closer before shrinking or truncating
  TextAlignment multilineAlignment = TextAlignment::leading;
  bool operator==(const TextRequest&) const = default;
};

// The answer for one proposal. `width` absent means the ideal size: one
// line per paragraph, unwrapped.
struct TextMeasurement {
  Size size;
  double firstBaseline = 0;  // from the top of the text's frame
  double lastBaseline = 0;
  double appliedScale = 1;   // font size factor chosen within [minimumScaleFactor, 1]
  int lineCount = 0;
  bool truncated = false;
  std::string displayedText;  // the text as drawn, with "…" where it was cut
  bool operator==(const TextMeasurement&) const = default;
};

// Named symbols ("chevron.left", "waveform.path.ecg", ...) are drawn by the
// renderer as vector paths sized by the font, centred on the text line.
struct SymbolRequest {
  std::string name;
  Font font;
  double textScale = 1;
  bool operator==(const SymbolRequest&) const = default;
};

struct SymbolMeasurement {
  Size size;
  double baseline = 0;  // from the top of the symbol's frame
  bool known = true;    // false for a name the renderer has no path for (drawn as nothing)
  bool operator==(const SymbolMeasurement&) const = default;
};

// Measures texts and symbols for layout. The renderer implements it with
// Pango and fontconfig; the same request and width must give the same lines
// when drawn, so layout and paint agree exactly.
class TextSystem {
 public:
  virtual ~TextSystem() = default;
  virtual TextMeasurement measure(const TextRequest& request, std::optional<double> width,
                                  std::optional<double> height) const = 0;
  virtual SymbolMeasurement measureSymbol(const SymbolRequest& request) const = 0;
  // The family that a font resolves to on this machine ("Inter").
  virtual std::string resolvedFamily(const Font& font) const = 0;
  // Whether fontconfig has the family itself installed (not a substitute).
  virtual bool isFamilyInstalled(const std::string& family) const = 0;
};

}  // namespace zelto::kit
