#pragma once

#include <optional>
#include <string>

namespace zelto::kit {

enum class FontWeight { ultraLight, thin, light, regular, medium, semibold, bold, heavy, black };
enum class FontDesign { standard, rounded };

// The system text styles a font may scale with, and their default sizes on
// the desktop: large title 26, title 22, title 2 17, title 3 15, headline 13
// (bold), body 13, callout 12, subheadline 11, footnote 10, caption 10,
// caption 2 10.
enum class TextStyle { largeTitle, title, title2, title3, headline, body, callout, subheadline, footnote, caption, caption2 };

double defaultPointSize(TextStyle style);
FontWeight defaultWeight(TextStyle style);

// A font request. `family` absent means the system font (with `design`).
// When `relativeTo` is set the size grows with the user's text scale.
struct Font {
  std::optional<std::string> family;
  double size = 13;
  FontWeight weight = FontWeight::regular;
  FontDesign design = FontDesign::standard;
  std::optional<TextStyle> relativeTo;

  static Font system(double size, FontWeight weight = FontWeight::regular, FontDesign design = FontDesign::standard) {
    return {std::nullopt, size, weight, design, std::nullopt};
  }
  // The system font of a text style at its default size and weight; scales.
  static Font system(TextStyle style) { return {std::nullopt, defaultPointSize(style), defaultWeight(style), FontDesign::standard, style}; }
  static Font custom(std::string family, double size, std::optional<TextStyle> relativeTo = std::nullopt) {
    return {std::move(family), size, FontWeight::regular, FontDesign::standard, relativeTo};
  }
  Font withWeight(FontWeight w) const {
    Font f = *this;
    f.weight = w;
    return f;
  }
  // The point size to use at the given user text scale (1 is the default).
  double scaledSize(double textScale) const { return relativeTo ? size * textScale : size; }

  bool operator==(const Font&) const = default;
};

}  // namespace zelto::kit
