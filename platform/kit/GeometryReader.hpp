#pragma once

#include <functional>

#include "platform/kit/Geometry.hpp"
#include "platform/kit/View.hpp"

namespace zelto::kit {

// Takes the whole size offered (an unspecified dimension counts as zero) and
// builds its content for that size, placed at its top-leading corner.
class GeometryReader : public View {
 public:
  explicit GeometryReader(std::function<View(Size)> content);
};

}  // namespace zelto::kit
