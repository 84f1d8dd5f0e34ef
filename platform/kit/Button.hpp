#pragma once

#include <string>

#include "platform/kit/View.hpp"

namespace zelto::kit {

// An intent as the kit knows it: an opaque handle that the host resolves to
// the action it runs.
struct IntentReference {
  std::string identifier;
  std::string title;
  bool operator==(const IntentReference&) const = default;
};

// Opacity at which a disabled button draws its label: the half-transparent
// "insensitive" look of GNOME's toolkit.
inline constexpr double disabledButtonOpacity = 0.5;

// A button that runs an intent in the widget process, in the plain style: the
// label as it is, no bezel and no background. It is enabled unless a
// `disabled(true)` above it says otherwise; a disabled button draws its label
// at disabledButtonOpacity and does not run its intent.
class Button : public View {
 public:
  Button(IntentReference intent, View label);
};

}  // namespace zelto::kit
