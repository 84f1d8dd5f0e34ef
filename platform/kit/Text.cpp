#include "platform/kit/Text.hpp"

#include "platform/kit/ViewNode.hpp"

namespace zelto::kit {

Text::Text(std::vector<TextPiece> pieces) : View(detail::makeNode(detail::TextNode{std::move(pieces)})) {}

Text Text::verbatim(std::string text) { return Text({TextPiece{TextPiece::Kind::verbatim, std::move(text), 0}}); }

Text Text::localized(std::string key) { return Text({TextPiece{TextPiece::Kind::localized, std::move(key), 0}}); }

Text::Text(Date date, DateStyle style)
    : Text({TextPiece{
          style == DateStyle::relative ? TextPiece::Kind::relativeDate : TextPiece::Kind::monthDayDate, {}, date}}) {}

const std::vector<TextPiece>& Text::pieces() const {
  // A Text is always built around a text node.
  return std::get<detail::TextNode>(node()->content).pieces;
}

Text operator+(const Text& first, const Text& second) {
  std::vector<TextPiece> pieces = first.pieces();
  pieces.insert(pieces.end(), second.pieces().begin(), second.pieces().end());
  return Text(std::move(pieces));
}

}  // namespace zelto::kit
