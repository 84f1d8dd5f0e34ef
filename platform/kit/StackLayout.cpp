#include "platform/kit/StackLayout.hpp"

#include <algorithm>
#include <boost/container/small_vector.hpp>
#include <cmath>
#include <limits>

#include "platform/kit/Stacks.hpp"

namespace zelto::kit::detail {
namespace {

// Scratch lists sized for typical stacks, without heap allocation.
template <class T>
using Scratch = boost::container::small_vector<T, 12>;

constexpr double lowestPriority = -std::numeric_limits<double>::infinity();

// A child's claim in the division of space along the axis.
struct Claim {
  std::size_t position;  // in the stack
  double priority;
  double minimum;
  double flexibility = 0;
};

// Baselines of a container: those of the first child that carries text (for
// the first baseline) and of the last one (for the last baseline).
// `measuredOf(k)` and `offsetOf(k)` give child k's answer and position.
template <class MeasuredOf, class OffsetOf>
Measured withChildBaselines(Size size, std::size_t count, MeasuredOf measuredOf, OffsetOf offsetOf) {
  Measured result = Measured::withoutText(size);
  bool found = false;
  for (std::size_t k = 0; k < count; ++k) {
    const Measured& measured = measuredOf(k);
    if (!measured.hasTextBaseline) continue;
    const double dy = offsetOf(k).y;
    if (!found) result.firstBaseline = measured.firstBaseline + dy;
    result.lastBaseline = measured.lastBaseline + dy;
    found = true;
  }
  result.hasTextBaseline = found;
  return result;
}

// What a linear stack works out for one child, kept together so a stack
// needs one scratch list rather than one per quantity.
struct LinearChild {
  double gap = 0;  // after the child
  std::optional<double> offer;
  Measured measured;
  double guide = 0;
  Point offset;
};

// Stable insertion sort: the lists are a stack's children, a handful, and
// this needs no buffer of its own.
template <class Iterator, class Less>
void stableSortSmall(Iterator begin, Iterator end, Less less) {
  if (begin == end) return;
  for (Iterator next = begin + 1; next != end; ++next) {
    auto value = *next;
    Iterator hole = next;
    for (; hole != begin && less(value, *(hole - 1)); --hole) *hole = *(hole - 1);
    *hole = value;
  }
}

}  // namespace

ContainerPlan planLinearStack(LayoutEngine& engine, NodeIndex stackIndex, ProposedSize proposal, PlanUse use) {
  const LaidOutTree& tree = engine.tree();
  const LaidOutNode& stack = tree.node(stackIndex);
  const bool horizontal = stack.kind == NodeKind::hstack;
  const StackContent& content = *stack.as<StackContent>();
  const auto children = tree.children(stack);
  const std::size_t count = children.size();

  ContainerPlan plan;
  if (count == 0) {
    plan.measured = Measured::withoutText({0, 0});
    return plan;
  }

  const std::optional<double> along = horizontal ? proposal.width : proposal.height;
  const std::optional<double> across = horizontal ? proposal.height : proposal.width;
  const auto proposalAlong = [&](std::optional<double> length) {
    return horizontal ? ProposedSize{length, across} : ProposedSize{across, length};
  };
  const auto lengthAlong = [&](Size size) { return horizontal ? size.width : size.height; };
  const auto isSpacer = [&](std::size_t k) { return tree.node(children[k]).kind == NodeKind::spacer; };

  // 1. Gaps: the given spacing everywhere, or the default one between views
  //    and none next to a spacer.
  Scratch<LinearChild> items(count);
  double totalGaps = 0;
  for (std::size_t k = 0; k + 1 < count; ++k) {
    items[k].gap = content.spacing ? *content.spacing : (isSpacer(k) || isSpacer(k + 1) ? 0 : defaultStackSpacing);
    totalGaps += items[k].gap;
  }

  // 2. Offers along the axis. Unspecified and infinite proposals go to every
  //    child as they are (the ideal and the maximum of the stack).
  for (LinearChild& item : items) item.offer = along;
  const bool sharing = along && std::isfinite(*along);
  if (sharing) {
    Scratch<Claim> claims;
    claims.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
      const double priority = isSpacer(k) ? lowestPriority : tree.node(children[k]).layoutPriority;
      claims.push_back({k, priority, 0.0});
    }
    stableSortSmall(claims.begin(), claims.end(), [](const Claim& a, const Claim& b) { return a.priority > b.priority; });

    // A minimum is needed to hold it back for a lower group, or to tell the
    // flexibility of a child sharing its group: a lone child of the highest
    // group is not asked for one.
    const auto findMinimum = [&](Claim& claim) {
      // A text never takes more width than it is offered: its minimum width
      // is zero without breaking it at every character to find out.
      const NodeIndex child = children[claim.position];
      const bool textAcross = horizontal && tree.node(child).kind == NodeKind::text;
      claim.minimum = textAcross ? 0.0 : lengthAlong(engine.measure(child, proposalAlong(0.0)).size);
    };

    // Priority groups, highest first; within one, least flexible first.
    Scratch<std::pair<std::size_t, std::size_t>> groups;  // [begin, end) into claims
    for (std::size_t begin = 0; begin < claims.size();) {
      std::size_t end = begin + 1;
      while (end < claims.size() && claims[end].priority == claims[begin].priority) ++end;
      const bool ranked = end - begin > 1 && claims[begin].priority != lowestPriority;
      if (begin > 0 || ranked) {
        for (std::size_t c = begin; c < end; ++c) findMinimum(claims[c]);
      }
      if (ranked) {
        for (std::size_t c = begin; c < end; ++c) {
          const double maximum =
              lengthAlong(engine.measure(children[claims[c].position], proposalAlong(ProposedSize::infinity)).size);
          claims[c].flexibility = maximum - claims[c].minimum;
        }
        stableSortSmall(claims.begin() + static_cast<std::ptrdiff_t>(begin),
                        claims.begin() + static_cast<std::ptrdiff_t>(end),
                        [](const Claim& a, const Claim& b) { return a.flexibility < b.flexibility; });
      }
      groups.emplace_back(begin, end);
      begin = end;
    }

    // 3. Hold back the minimums of all lower groups, then walk the groups,
    //    offering each child an equal share of what remains.
    double remaining = *along - totalGaps;
    for (std::size_t c = groups.front().second; c < claims.size(); ++c) remaining -= claims[c].minimum;
    for (std::size_t g = 0; g < groups.size(); ++g) {
      const auto [begin, end] = groups[g];
      if (g > 0) {
        for (std::size_t c = begin; c < end; ++c) remaining += claims[c].minimum;
      }
      for (std::size_t c = begin; c < end; ++c) {
        const double offer = std::max(0.0, remaining / static_cast<double>(end - c));
        const std::size_t k = claims[c].position;
        items[k].offer = offer;
        items[k].measured = engine.measure(children[k], proposalAlong(offer));
        remaining -= lengthAlong(items[k].measured.size);
      }
    }
  } else {
    for (std::size_t k = 0; k < count; ++k) items[k].measured = engine.measure(children[k], proposalAlong(along));
  }

  // 4. Sizes, positions along the axis, and alignment across it.

  double minimumStart = std::numeric_limits<double>::infinity();
  double maximumEnd = -std::numeric_limits<double>::infinity();
  for (LinearChild& item : items) {
    const Size size = item.measured.size;
    item.guide = horizontal ? verticalGuide(content.alignment.vertical, item.measured)
                            : horizontalGuide(content.alignment.horizontal, size.width);
    const double extent = horizontal ? size.height : size.width;
    minimumStart = std::min(minimumStart, -item.guide);
    maximumEnd = std::max(maximumEnd, extent - item.guide);
  }

  double cursor = 0;
  for (LinearChild& item : items) {
    const double acrossOffset = -item.guide - minimumStart;
    item.offset = horizontal ? Point{cursor, acrossOffset} : Point{acrossOffset, cursor};
    cursor += lengthAlong(item.measured.size) + item.gap;  // the last child has no gap after it
  }
  const double acrossLength = maximumEnd - minimumStart;
  const Size size = horizontal ? Size{cursor, acrossLength} : Size{acrossLength, cursor};
  plan.measured = withChildBaselines(
      size, count, [&](std::size_t k) -> const Measured& { return items[k].measured; },
      [&](std::size_t k) { return items[k].offset; });
  if (use == PlanUse::placing) {
    plan.children.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
      plan.children.push_back({children[k], proposalAlong(items[k].offer), items[k].offset});
    }
  }
  return plan;
}

ContainerPlan planLayeredStack(LayoutEngine& engine, NodeIndex stackIndex, ProposedSize proposal, PlanUse use) {
  const LaidOutTree& tree = engine.tree();
  const LaidOutNode& stack = tree.node(stackIndex);
  const Alignment alignment =
      stack.kind == NodeKind::zstack ? stack.as<StackContent>()->alignment : Alignment::topLeading();
  const auto children = tree.children(stack);
  ContainerPlan plan;
  if (children.empty()) {
    plan.measured = Measured::withoutText({0, 0});
    return plan;
  }
  Scratch<Measured> measured(children.size());
  Scratch<Point> guides(children.size());
  double minX = std::numeric_limits<double>::infinity(), minY = minX;
  double maxX = -minX, maxY = -minX;
  for (std::size_t k = 0; k < children.size(); ++k) {
    measured[k] = engine.measure(children[k], proposal);
    guides[k] = {horizontalGuide(alignment.horizontal, measured[k].size.width),
                 verticalGuide(alignment.vertical, measured[k])};
    minX = std::min(minX, -guides[k].x);
    minY = std::min(minY, -guides[k].y);
    maxX = std::max(maxX, measured[k].size.width - guides[k].x);
    maxY = std::max(maxY, measured[k].size.height - guides[k].y);
  }
  Scratch<Point> offsets(children.size());
  for (std::size_t k = 0; k < children.size(); ++k) offsets[k] = {-guides[k].x - minX, -guides[k].y - minY};
  plan.measured = withChildBaselines(
      {maxX - minX, maxY - minY}, children.size(), [&](std::size_t k) -> const Measured& { return measured[k]; },
      [&](std::size_t k) { return offsets[k]; });
  if (use == PlanUse::placing) {
    plan.children.reserve(children.size());
    for (std::size_t k = 0; k < children.size(); ++k) plan.children.push_back({children[k], proposal, offsets[k]});
  }
  return plan;
}

}  // namespace zelto::kit::detail
