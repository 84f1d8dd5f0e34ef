#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/kit/Color.hpp"
#include "platform/kit/Font.hpp"
#include "platform/kit/TextSystem.hpp"
#include "platform/kit/WidgetFamily.hpp"
#include "platform/locale/Calendar.hpp"
#include "platform/locale/Date.hpp"
#include "platform/locale/Locale.hpp"

namespace zelto::kit {

// The values passed down the view tree. A view reads them in its body; the
// environment modifiers change them for everything below. The program fills
// `now`, `calendar`, `locale`, `widgetFamily`, `reduceMotion` and `textScale`
// once per render; nothing below reads the clock or the user's settings.
struct Environment {
  // Paint of texts, symbols and shapes that have none of their own.
  Paint foregroundStyle = Color::black();
  // Accent colour of controls.
  Color tint = Color::srgb8(0, 122, 255);
  // Font of texts and symbols; absent means the body text style's system font.
  std::optional<Font> font;

  Date now = 0;
  // Absent means a Gregorian calendar in UTC starting weeks on Sunday, and
  // US English; see effectiveCalendar() and effectiveLocale().
  std::optional<locale::Calendar> calendar;
  std::optional<locale::Locale> locale;

  WidgetFamily widgetFamily = WidgetFamily::systemSmall;
  bool reduceMotion = false;
  // The user's text size setting; fonts relative to a text style grow with it.
  double textScale = 1;
  // Whether this machine has a font family itself installed (not a
  // substitute that fontconfig would pick for it). The program answers it
  // with the renderer's font probe, which asks fontconfig once per family for
  // the whole process; absent, no family counts as installed.
  std::function<bool(const std::string& family)> isFontFamilyInstalled;

  // Text modifiers, inherited by every text below the view they are set on.
  double tracking = 0;
  bool monospacedDigit = false;
  std::optional<int> lineLimit;
  double minimumScaleFactor = 1;
  bool allowsTightening = false;
  TextAlignment multilineTextAlignment = TextAlignment::leading;

  // False below a disabled view: buttons there do not run their intents.
  bool isEnabled = true;

  bool hasFontFamily(const std::string& family) const { return isFontFamilyInstalled && isFontFamilyInstalled(family); }
  Font effectiveFont() const { return font ? *font : Font::system(TextStyle::body); }
  const locale::Calendar& effectiveCalendar() const;
  const locale::Locale& effectiveLocale() const;
};

}  // namespace zelto::kit
