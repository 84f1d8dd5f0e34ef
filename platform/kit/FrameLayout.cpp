#include "platform/kit/FrameLayout.hpp"

#include <algorithm>
#include <cmath>

namespace zelto::kit::detail {
namespace {

std::optional<double> clampedProposal(std::optional<double> proposal, std::optional<double> minimum,
                                      std::optional<double> ideal, std::optional<double> maximum) {
  if (!proposal) return ideal;
  double value = *proposal;
  if (minimum) value = std::max(value, *minimum);
  if (maximum) value = std::min(value, *maximum);
  return value;
}

double flexibleDimension(std::optional<double> proposal, double child, std::optional<double> minimum,
                         std::optional<double> ideal, std::optional<double> maximum) {
  // An unspecified proposal asks for the ideal: the given ideal, else the child's.
  const double offered = proposal ? *proposal : ideal.value_or(child);
  if (minimum && maximum) return std::clamp(offered, *minimum, std::max(*minimum, *maximum));
  if (maximum) return proposal ? std::min(std::max(offered, child), *maximum) : std::min(offered, *maximum);
  if (minimum) return proposal ? std::max(std::min(offered, child), *minimum) : std::max(offered, *minimum);
  return proposal ? child : offered;
}

std::optional<double> lessInsets(std::optional<double> proposal, double insets) {
  if (!proposal || std::isinf(*proposal)) return proposal;
  return std::max(0.0, *proposal - insets);
}

}  // namespace

double horizontalGuide(HorizontalAlignment alignment, double width) {
  switch (alignment) {
    case HorizontalAlignment::leading:
      return 0;
    case HorizontalAlignment::center:
      return width / 2;
    case HorizontalAlignment::trailing:
      return width;
  }
  return 0;
}

double verticalGuide(VerticalAlignment alignment, const Measured& measured) {
  switch (alignment) {
    case VerticalAlignment::top:
      return 0;
    case VerticalAlignment::center:
      return measured.size.height / 2;
    case VerticalAlignment::bottom:
      return measured.size.height;
    case VerticalAlignment::firstTextBaseline:
      return measured.firstBaseline;
    case VerticalAlignment::lastTextBaseline:
      return measured.lastBaseline;
  }
  return 0;
}

double horizontalOffset(HorizontalAlignment alignment, double containerWidth, double childWidth) {
  return horizontalGuide(alignment, containerWidth) - horizontalGuide(alignment, childWidth);
}

double verticalOffset(VerticalAlignment alignment, double containerHeight, double childHeight) {
  switch (alignment) {
    case VerticalAlignment::top:
    case VerticalAlignment::firstTextBaseline:
      return 0;
    case VerticalAlignment::center:
      return (containerHeight - childHeight) / 2;
    case VerticalAlignment::bottom:
    case VerticalAlignment::lastTextBaseline:
      return containerHeight - childHeight;
  }
  return 0;
}

Point alignedOffset(Alignment alignment, Size container, Size child) {
  return {horizontalOffset(alignment.horizontal, container.width, child.width),
          verticalOffset(alignment.vertical, container.height, child.height)};
}

ProposedSize fixedFrameChildProposal(const FixedFrameContent& frame, ProposedSize proposal) {
  return {frame.width ? frame.width : proposal.width, frame.height ? frame.height : proposal.height};
}

Size fixedFrameSize(const FixedFrameContent& frame, Size child) {
  return {frame.width.value_or(child.width), frame.height.value_or(child.height)};
}

ProposedSize flexibleFrameChildProposal(const FlexibleFrame& bounds, ProposedSize proposal) {
  return {clampedProposal(proposal.width, bounds.minWidth, bounds.idealWidth, bounds.maxWidth),
          clampedProposal(proposal.height, bounds.minHeight, bounds.idealHeight, bounds.maxHeight)};
}

Size flexibleFrameSize(const FlexibleFrame& bounds, ProposedSize proposal, Size child) {
  return {flexibleDimension(proposal.width, child.width, bounds.minWidth, bounds.idealWidth, bounds.maxWidth),
          flexibleDimension(proposal.height, child.height, bounds.minHeight, bounds.idealHeight, bounds.maxHeight)};
}

ProposedSize paddedProposal(const EdgeInsets& insets, ProposedSize proposal) {
  return {lessInsets(proposal.width, insets.horizontal()), lessInsets(proposal.height, insets.vertical())};
}

ProposedSize aspectRatioProposal(double ratio, ContentMode mode, ProposedSize proposal) {
  if (!(ratio > 0) || !std::isfinite(ratio)) return proposal;
  const auto& width = proposal.width;
  const auto& height = proposal.height;
  if (!width && !height) return proposal;
  if (!height) return {*width, *width / ratio};
  if (!width) return {*height * ratio, *height};
  // Both given. An infinite dimension cannot bound a fitting size: the other
  // decides (and both infinite stay infinite).
  if (std::isinf(*width) && std::isinf(*height)) return proposal;
  if (std::isinf(*width)) {
    return mode == ContentMode::fit ? ProposedSize{*height * ratio, *height} : proposal;
  }
  if (std::isinf(*height)) {
    return mode == ContentMode::fit ? ProposedSize{*width, *width / ratio} : proposal;
  }
  const bool widerThanRatio = *height > 0 ? *width / *height > ratio : true;
  if ((mode == ContentMode::fit) == widerThanRatio) return {*height * ratio, *height};
  return {*width, *width / ratio};
}

}  // namespace zelto::kit::detail
