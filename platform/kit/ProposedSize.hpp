#pragma once

#include <limits>
#include <optional>

#include "platform/kit/Geometry.hpp"

namespace zelto::kit {

// What a parent offers a child. Each dimension is a number of points or
// unspecified (std::nullopt). Zero asks for the child's minimum, infinity for
// its maximum, unspecified for its ideal size.
struct ProposedSize {
  std::optional<double> width;
  std::optional<double> height;

  static constexpr double infinity = std::numeric_limits<double>::infinity();

  static ProposedSize unspecified() { return {}; }
  static ProposedSize zero() { return {0.0, 0.0}; }
  static ProposedSize infinite() { return {infinity, infinity}; }
  static ProposedSize exactly(Size size) { return {size.width, size.height}; }

  bool operator==(const ProposedSize&) const = default;
};

}  // namespace zelto::kit
