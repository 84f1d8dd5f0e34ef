#include "platform/kit/Stacks.hpp"

#include <cmath>

#include "platform/kit/ViewNode.hpp"

namespace zelto::kit {
namespace {

std::optional<double> cleanSpacing(std::optional<double> spacing) {
  // Negative spacing overlaps children on purpose; only non-finite amounts
  // are refused (they fall back to the default spacing).
  if (spacing && !std::isfinite(*spacing)) return std::nullopt;
  return spacing;
}

}  // namespace

VStack::VStack(HorizontalAlignment alignment, std::optional<double> spacing, std::vector<View> children)
    : View(detail::makeNode(detail::StackNode{detail::StackAxis::vertical,
                                              {alignment, VerticalAlignment::center},
                                              cleanSpacing(spacing),
                                              std::move(children)})) {}

VStack::VStack(std::vector<View> children) : VStack(HorizontalAlignment::center, defaultSpacing, std::move(children)) {}

HStack::HStack(VerticalAlignment alignment, std::optional<double> spacing, std::vector<View> children)
    : View(detail::makeNode(detail::StackNode{detail::StackAxis::horizontal,
                                              {HorizontalAlignment::center, alignment},
                                              cleanSpacing(spacing),
                                              std::move(children)})) {}

HStack::HStack(std::vector<View> children) : HStack(VerticalAlignment::center, defaultSpacing, std::move(children)) {}

ZStack::ZStack(Alignment alignment, std::vector<View> children)
    : View(detail::makeNode(
          detail::StackNode{detail::StackAxis::layered, alignment, std::nullopt, std::move(children)})) {}

ZStack::ZStack(std::vector<View> children) : ZStack(Alignment::center(), std::move(children)) {}

}  // namespace zelto::kit
