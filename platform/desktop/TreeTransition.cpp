#include "platform/desktop/TreeTransition.hpp"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

namespace zelto::desktop {

namespace {

using kit::LaidOutNode;
using kit::LaidOutTree;
using kit::NodeIndex;

std::unordered_map<std::string_view, NodeIndex> nodesByIdentity(const LaidOutTree& tree) {
  std::unordered_map<std::string_view, NodeIndex> byIdentity;
  byIdentity.reserve(tree.nodes.size());
  for (NodeIndex index = 0; index < tree.nodes.size(); ++index) byIdentity.emplace(tree.nodes[index].identity, index);
  return byIdentity;
}

// Whether `node` carries an animation whose value differs from that of the
// node with its identity in the other render.
bool animatedValueChanged(const LaidOutNode& node, const LaidOutTree& other,
                          const std::unordered_map<std::string_view, NodeIndex>& otherByIdentity) {
  if (!node.animation) return false;
  const auto match = otherByIdentity.find(node.identity);
  if (match == otherByIdentity.end()) return false;
  const auto& previous = other.nodes[match->second].animation;
  return previous && previous->valueKey != node.animation->valueKey;
}

double mix(double from, double to, double progress) { return from + (to - from) * progress; }

}  // namespace

std::optional<kit::SpringAnimation> changedAnimation(const LaidOutTree& from, const LaidOutTree& to) {
  const auto fromByIdentity = nodesByIdentity(from);
  for (const auto& node : to.nodes) {
    if (animatedValueChanged(node, from, fromByIdentity)) return node.animation->spring;
  }
  return std::nullopt;
}

LaidOutTree interpolatedTree(const LaidOutTree& from, const LaidOutTree& to, double progress) {
  LaidOutTree result = to;
  if (to.nodes.empty()) return result;
  const auto fromByIdentity = nodesByIdentity(from);
  // Depth first from the root, remembering whether an animated change lies
  // above; nodes are visited once each.
  std::vector<std::pair<NodeIndex, bool>> pending{{to.rootIndex, false}};
  while (!pending.empty()) {
    const auto [index, insideChange] = pending.back();
    pending.pop_back();
    auto& node = result.nodes[index];
    const bool animated = insideChange || animatedValueChanged(node, from, fromByIdentity);
    if (animated) {
      const auto match = fromByIdentity.find(node.identity);
      if (match != fromByIdentity.end()) {
        const auto& old = from.nodes[match->second].frame;
        if (node.as<kit::TextContent>() != nullptr) {
          // A text moves at the size it was laid out at: laid out again at
          // every in-between width it would reflow, and be shaped anew, on
          // every frame.
          node.frame.x = mix(old.x, node.frame.x, progress);
          node.frame.y = mix(old.y, node.frame.y, progress);
        } else {
          node.frame = {mix(old.x, node.frame.x, progress), mix(old.y, node.frame.y, progress),
                        mix(old.width, node.frame.width, progress), mix(old.height, node.frame.height, progress)};
        }
      }
    }
    for (const NodeIndex child : to.children(index)) pending.emplace_back(child, animated);
  }
  return result;
}

}  // namespace zelto::desktop

namespace zelto::desktop {

namespace {

bool isPush(const kit::DisplayCommand& command) {
  return std::holds_alternative<kit::PushLayer>(command) || std::holds_alternative<kit::PushClip>(command) ||
         std::holds_alternative<kit::PushTransform>(command);
}
bool isPop(const kit::DisplayCommand& command) {
  return std::holds_alternative<kit::PopLayer>(command) || std::holds_alternative<kit::PopClip>(command) ||
         std::holds_alternative<kit::PopTransform>(command);
}

// For every push, the index of its pop (the list's end when unmatched); and
// the pushes open before each index.
struct Nesting {
  std::vector<std::size_t> pop;
  std::vector<std::vector<std::size_t>> open;  // open[i]: pushes open before command i, outermost first

  explicit Nesting(const kit::DisplayList& list) : pop(list.commands.size(), list.commands.size()) {
    std::vector<std::size_t> stack;
    open.reserve(list.commands.size() + 1);
    for (std::size_t index = 0; index < list.commands.size(); ++index) {
      open.push_back(stack);
      if (isPush(list.commands[index])) {
        stack.push_back(index);
      } else if (isPop(list.commands[index]) && !stack.empty()) {
        pop[stack.back()] = index;
        stack.pop_back();
      }
    }
    open.push_back(stack);
  }
};

kit::DisplayCommand popFor(const kit::DisplayCommand& push) {
  if (std::holds_alternative<kit::PushLayer>(push)) return kit::PopLayer{};
  if (std::holds_alternative<kit::PushClip>(push)) return kit::PopClip{};
  return kit::PopTransform{};
}

}  // namespace

std::optional<MovingCommands> movingCommands(const kit::DisplayList& start, const kit::DisplayList& end) {
  const auto& a = start.commands;
  const auto& b = end.commands;
  if (a.size() != b.size()) return std::nullopt;
  std::size_t first = 0;
  while (first < a.size() && a[first] == b[first]) ++first;
  if (first == a.size()) return std::nullopt;
  std::size_t last = a.size();
  while (last > first && a[last - 1] == b[last - 1]) --last;
  const Nesting nesting(end);
  for (bool widened = true; widened;) {
    widened = false;
    // A layer composites its contents as one: it cannot be cut.
    for (const std::size_t push : nesting.open[first]) {
      if (std::holds_alternative<kit::PushLayer>(b[push]) && push < first) {
        first = push;
        widened = true;
        break;
      }
    }
    // Whatever opens inside the range closes inside it.
    for (const std::size_t push : nesting.open[last]) {
      if (push >= first && nesting.pop[push] >= last) {
        last = std::min(nesting.pop[push] + 1, b.size());
        widened = true;
      }
    }
  }
  return MovingCommands{first, last};
}

SplitDisplayList splitDisplayList(const kit::DisplayList& list, MovingCommands moving) {
  const Nesting nesting(list);
  SplitDisplayList parts;
  parts.below.size = parts.moving.size = parts.above.size = list.size;
  const auto copy = [&](kit::DisplayList& part, std::size_t from, std::size_t to) {
    part.commands.insert(part.commands.end(), list.commands.begin() + static_cast<std::ptrdiff_t>(from),
                         list.commands.begin() + static_cast<std::ptrdiff_t>(to));
  };
  const auto reopen = [&](kit::DisplayList& part, std::size_t at) {
    for (const std::size_t push : nesting.open[at]) part.commands.push_back(list.commands[push]);
  };
  const auto close = [&](kit::DisplayList& part, std::size_t at) {
    const auto& open = nesting.open[at];
    for (auto push = open.rbegin(); push != open.rend(); ++push) part.commands.push_back(popFor(list.commands[*push]));
  };
  copy(parts.below, 0, moving.first);
  close(parts.below, moving.first);
  reopen(parts.moving, moving.first);
  copy(parts.moving, moving.first, moving.last);
  close(parts.moving, moving.last);
  reopen(parts.above, moving.last);
  copy(parts.above, moving.last, list.commands.size());
  return parts;
}

}  // namespace zelto::desktop
