#pragma once

#include "platform/kit/Environment.hpp"
#include "platform/kit/Font.hpp"

namespace zelto {

// The kit's text styles. Each is built on the custom family "Halden Sans"
// when this machine has that family itself installed, at the style's size
// and weight and growing with the user's text size as its text style does;
// otherwise on the rounded system face at the same size and weight, which
// keeps that size whatever the user's text size.
//
// How the two machine facts reach a view, since views never see the
// renderer: both travel in the environment that the program fills for every
// render. `Environment::isFontFamilyInstalled` is answered by the renderer's
// font probe, which compares the family fontconfig really matches with the
// one asked for and remembers the answer for the rest of the process (so a
// family installed while the process runs is not seen until it restarts).
// `Environment::textScale` is the user's text size factor; a font relative
// to a text style is drawn at its size times that factor.
struct ZeltoFont {
  static constexpr const char* customFamily = "Halden Sans";

  // The font of `size` points and `weight` that scales with `style`.
  static kit::Font make(double size, kit::FontWeight weight, kit::TextStyle style, const kit::Environment& environment);

  // 28 pt semibold, scales with title: the percentage in the full ring.
  static kit::Font hero(const kit::Environment& environment);
  // 16 pt semibold, scales with headline: the account name in the full header.
  static kit::Font headline(const kit::Environment& environment);
  // 13 pt medium, scales with body: the compact header's name, messages.
  static kit::Font body(const kit::Environment& environment);
  // 11 pt medium, scales with caption: relative reset times, summary values.
  static kit::Font caption(const kit::Environment& environment);
  // 9 pt semibold, scales with caption 2: small uppercase labels, e-mails.
  static kit::Font label(const kit::Environment& environment);
};

}  // namespace zelto
