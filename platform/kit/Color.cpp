#include "platform/kit/Color.hpp"

#include <type_traits>

namespace zelto::kit {

std::vector<GradientStop> evenlySpaced(const std::vector<Color>& colors) {
  std::vector<GradientStop> stops;
  stops.reserve(colors.size());
  // A single colour sits at the start; the renderer extends it over the whole gradient.
  const double last = colors.size() > 1 ? static_cast<double>(colors.size() - 1) : 1;
  for (std::size_t i = 0; i < colors.size(); ++i) {
    stops.push_back({colors[i], static_cast<double>(i) / last});
  }
  return stops;
}

Paint withOpacity(Paint paint, double factor) {
  if (factor == 1) return paint;
  std::visit(
      [factor](auto& p) {
        if constexpr (std::is_same_v<std::decay_t<decltype(p)>, Color>) {
          p = p.withOpacity(factor);
        } else {
          for (GradientStop& stop : p.stops) stop.color = stop.color.withOpacity(factor);
        }
      },
      paint);
  return paint;
}

}  // namespace zelto::kit
