#pragma once

#include <vector>

#include "platform/kit/View.hpp"

namespace zelto::kit {

// Takes no space, draws nothing, and is left out of stacks (no gap either).
class EmptyView : public View {
 public:
  EmptyView() = default;
};

// Several views that take part in the enclosing container as if listed there
// one by one; modifiers on the group apply to each of them.
class Group : public View {
 public:
  explicit Group(std::vector<View> children);
};

// Conditional content: `content` only when `condition` holds (else nothing),
// or one of two views. Each branch has an identity of its own, so a host can
// tell a switch of branches from a change within one.
View when(bool condition, View content);
View when(bool condition, View content, View otherwise);

}  // namespace zelto::kit
