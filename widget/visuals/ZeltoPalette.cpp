#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

const kit::LinearGradient& ZeltoPalette::accentGradient() {
  static const kit::LinearGradient gradient{kit::evenlySpaced({periwinkle, indigo}), kit::UnitPoint::leading(),
                                            kit::UnitPoint::trailing()};
  return gradient;
}

kit::Color ZeltoPalette::limitTone(std::int64_t remaining) {
  if (remaining > 25) return periwinkle;
  if (remaining >= 10) return amber;
  return coral;
}

}  // namespace zelto
