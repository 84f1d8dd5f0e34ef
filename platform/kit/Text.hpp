#pragma once

#include <string>
#include <vector>

#include "platform/kit/View.hpp"
#include "platform/locale/Date.hpp"

namespace zelto::kit {

// One part of a text, resolved when the view is built for a render: verbatim
// text, a localizable key looked up in the widget's message catalogue (the
// English key is its own text), or a date written in the environment's locale
// and calendar.
struct TextPiece {
  enum class Kind { verbatim, localized, relativeDate, monthDayDate };
  Kind kind = Kind::verbatim;
  std::string string;  // the text or the key
  Date date = 0;       // for the date kinds
  bool operator==(const TextPiece&) const = default;
};

// The gettext domain of the widget's message catalogue.
inline constexpr const char* textDomain = "zelto-limits";

// A text view. All its pieces share one font and colour (those of the
// environment where it is drawn); `+` joins pieces into one text.
class Text : public View {
 public:
  enum class DateStyle {
    // The live span between now and the date ("2 hr, 18 min"); it changes as
    // time passes, and the laid-out tree tells when.
    relative,
    // Abbreviated month and day in the user's locale ("Mar 7").
    monthDay,
  };

  static Text verbatim(std::string text);
  static Text localized(std::string key);
  Text(Date date, DateStyle style);

  const std::vector<TextPiece>& pieces() const;

  friend Text operator+(const Text& first, const Text& second);

 private:
  explicit Text(std::vector<TextPiece> pieces);
};

}  // namespace zelto::kit
