#pragma once

#include "platform/kit/Color.hpp"
#include "platform/kit/View.hpp"

namespace zelto {

// A 5-point glowing dot used as a bullet; decorative, so hidden from
// accessibility.
struct SignalDot {
  kit::Color color;

  kit::View body() const;
};

}  // namespace zelto
