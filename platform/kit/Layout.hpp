#pragma once

#include "platform/kit/Environment.hpp"
#include "platform/kit/LaidOutTree.hpp"
#include "platform/kit/ProposedSize.hpp"
#include "platform/kit/TextSystem.hpp"
#include "platform/kit/View.hpp"

namespace zelto::kit {

// The desktop host's content margins on every edge of a widget: content is
// laid out inside them, the container background fills the whole widget.
inline constexpr double widgetContentMargin = 16;

// Builds `view` in `environment` and lays it out for `proposal`, its
// top-leading corner at the origin. The root node's frame is the union of
// what the view takes; a container background is not drawn here.
LaidOutTree layout(const View& view, ProposedSize proposal, const Environment& environment,
                   const TextSystem& textSystem);

// Lays out a widget's content the way the host shows it: inside the content
// margins (centred there when it takes less), with the container background
// (if the content declares one) proposed the whole widget and drawn behind.
LaidOutTree layoutWidget(const View& content, Size widgetSize, const Environment& environment,
                         const TextSystem& textSystem);

}  // namespace zelto::kit
