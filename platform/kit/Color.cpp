#include "platform/kit/Color.hpp"

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

}  // namespace zelto::kit
