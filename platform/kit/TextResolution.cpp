#include "platform/kit/TextResolution.hpp"

#include <libintl.h>

#include <algorithm>

#include "platform/locale/Text.hpp"

namespace zelto::kit {
namespace {

std::string localizedString(const std::string& key) {
  // gettext answers the catalogue header for the empty key.
  if (key.empty()) return {};
  return dgettext(textDomain, key.c_str());
}

}  // namespace

std::string wellFormedUtf8(std::string text) { return locale::wellFormedUtf8(text); }

ResolvedText resolveText(const std::vector<TextPiece>& pieces, const Environment& environment) {
  ResolvedText resolved;
  for (const TextPiece& piece : pieces) {
    switch (piece.kind) {
      case TextPiece::Kind::verbatim:
        resolved.text += piece.string;
        break;
      case TextPiece::Kind::localized:
        resolved.text += localizedString(piece.string);
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
