#pragma once

#include "platform/kit/LayoutEngine.hpp"

namespace zelto::kit::detail {

// Horizontal and vertical stacks: the space along the axis (less the gaps) is
// shared out by layout priority, then flexibility (least flexible first),
// spacers last; every child gets the whole proposal across the axis and is
// aligned on the stack's alignment line.
ContainerPlan planLinearStack(LayoutEngine& engine, NodeIndex stack, ProposedSize proposal, PlanUse use);

// Layered stacks: every child gets the whole proposal; they line up on the
// alignment point and the stack takes the union of their frames.
ContainerPlan planLayeredStack(LayoutEngine& engine, NodeIndex stack, ProposedSize proposal, PlanUse use);

}  // namespace zelto::kit::detail
