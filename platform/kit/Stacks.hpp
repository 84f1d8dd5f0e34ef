#pragma once

#include <optional>
#include <vector>

#include "platform/kit/Alignment.hpp"
#include "platform/kit/View.hpp"

namespace zelto::kit {

// Spacing left to the toolkit: 8 pt between views, none next to a Spacer
// (whose minimum length is the gap).
inline constexpr std::nullopt_t defaultSpacing = std::nullopt;
inline constexpr double defaultStackSpacing = 8;

// Children top to bottom. The height on offer is shared out by layout
// priority and flexibility (least flexible first), spacers last.
class VStack : public View {
 public:
  VStack(HorizontalAlignment alignment, std::optional<double> spacing, std::vector<View> children);
  explicit VStack(std::vector<View> children);
};

// Children left to right, sharing the width the same way.
class HStack : public View {
 public:
  HStack(VerticalAlignment alignment, std::optional<double> spacing, std::vector<View> children);
  explicit HStack(std::vector<View> children);
};

// Children back to front, each offered the whole proposal, aligned on one
// point; the stack takes the union of their frames.
class ZStack : public View {
 public:
  ZStack(Alignment alignment, std::vector<View> children);
  explicit ZStack(std::vector<View> children);
};

}  // namespace zelto::kit
