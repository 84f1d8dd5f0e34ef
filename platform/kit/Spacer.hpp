#pragma once

#include <optional>

#include "platform/kit/View.hpp"

namespace zelto::kit {

// Minimum length of a spacer that is given none.
inline constexpr double defaultSpacerMinLength = 8;

// Shrinks to its minimum length, grows without bound along its stack's axis
// (a vertical one outside any stack), and is zero across it. A stack gives
// spacers only their minimum until every other child is sized.
class Spacer : public View {
 public:
  explicit Spacer(std::optional<double> minLength = std::nullopt);
};

}  // namespace zelto::kit
