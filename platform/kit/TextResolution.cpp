#include "platform/kit/TextResolution.hpp"

#include <algorithm>

#include "platform/locale/Text.hpp"
#include "platform/locale/Translation.hpp"

namespace zelto::kit {

std::string wellFormedUtf8(std::string text) { return locale::wellFormedUtf8(text); }

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
