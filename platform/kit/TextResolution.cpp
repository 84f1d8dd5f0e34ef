#include "platform/kit/TextResolution.hpp"

#include <algorithm>

#include "platform/locale/Text.hpp"
#include "platform/locale/Translation.hpp"

namespace zelto::kit {
namespace {

// Length of the well-formed UTF-8 sequence starting at `i`, or 0.
std::size_t sequenceLength(const std::string& s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

std::string wellFormedUtf8(std::string text) {
  if (locale::isValidUtf8(text)) return text;
  std::string repaired;
  repaired.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = sequenceLength(text, i);
    if (length == 0) {
      repaired += "\xEF\xBF\xBD";
      ++i;
    } else {
      repaired.append(text, i, length);
      i += length;
    }
  }
  return repaired;
}

ResolvedText resolveText(const std::vector<TextPiece>& pieces, const Environment& environment) {
  ResolvedText resolved;
  for (const TextPiece& piece : pieces) {
    switch (piece.kind) {
      case TextPiece::Kind::verbatim:
        resolved.text += piece.string;
        break;
      case TextPiece::Kind::localized:
        resolved.text += locale::translate(piece.string, environment.effectiveLocale());
        break;
      case TextPiece::Kind::relativeDate: {
        const locale::Locale& locale = environment.effectiveLocale();
        resolved.text += locale.formatRelative(piece.date, environment.now);
        const Date change = locale.nextRelativeChange(piece.date, environment.now);
        resolved.nextChange = resolved.nextChange ? std::min(*resolved.nextChange, change) : change;
        break;
      }
      case TextPiece::Kind::monthDayDate:
        resolved.text += environment.effectiveLocale().formatDate(piece.date, "MMMd", environment.effectiveCalendar());
        break;
    }
  }
  resolved.text = wellFormedUtf8(std::move(resolved.text));
  return resolved;
}

}  // namespace zelto::kit
