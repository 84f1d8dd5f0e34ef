#pragma once

#include <optional>

#include "platform/kit/Alignment.hpp"
#include "platform/kit/EdgeInsets.hpp"
#include "platform/kit/Geometry.hpp"
#include "platform/kit/LaidOutTree.hpp"
#include "platform/kit/ProposedSize.hpp"

namespace zelto::kit::detail {

// What a view answers for a proposal: its size and its text baselines
// (measured from its top; without text both are the height).
struct Measured {
  Size size;
  double firstBaseline = 0;
  double lastBaseline = 0;
  bool hasTextBaseline = false;

  static Measured withoutText(Size size) { return {size, size.height, size.height, false}; }
  // The same baselines seen from a container that puts this view `dy` below its top.
  Measured shiftedInto(Size container, double dy) const {
    if (!hasTextBaseline) return withoutText(container);
    return {container, firstBaseline + dy, lastBaseline + dy, true};
  }
};

// Alignment guides: where a child of this size lines up with its siblings,
// measured from its leading or top edge.
double horizontalGuide(HorizontalAlignment alignment, double width);
double verticalGuide(VerticalAlignment alignment, const Measured& measured);

// Offset that aligns a child inside a frame. A frame has no text of its own,
// so the baseline alignments place the child as top (first) and bottom (last).
double horizontalOffset(HorizontalAlignment alignment, double containerWidth, double childWidth);
double verticalOffset(VerticalAlignment alignment, double containerHeight, double childHeight);
Point alignedOffset(Alignment alignment, Size container, Size child);

// Fixed frame: a given dimension replaces the proposal and is the size.
ProposedSize fixedFrameChildProposal(const FixedFrameContent& frame, ProposedSize proposal);
Size fixedFrameSize(const FixedFrameContent& frame, Size child);

// Flexible frame: the child gets the proposal clamped to the bounds; the
// frame's size follows from the proposal, the child and the bounds.
ProposedSize flexibleFrameChildProposal(const FlexibleFrame& bounds, ProposedSize proposal);
Size flexibleFrameSize(const FlexibleFrame& bounds, ProposedSize proposal, Size child);

// Padding: the proposal less the insets (never below zero).
ProposedSize paddedProposal(const EdgeInsets& insets, ProposedSize proposal);

// Aspect ratio: the largest (fit) or smallest covering (fill) size of
// `ratio` = width / height for the proposal; unspecified dimensions follow the
// specified one.
ProposedSize aspectRatioProposal(double ratio, ContentMode mode, ProposedSize proposal);

}  // namespace zelto::kit::detail
