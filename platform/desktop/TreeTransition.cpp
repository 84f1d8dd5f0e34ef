#include "platform/desktop/TreeTransition.hpp"

#include <string_view>
#include <unordered_map>
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
        node.frame = {mix(old.x, node.frame.x, progress), mix(old.y, node.frame.y, progress),
                      mix(old.width, node.frame.width, progress), mix(old.height, node.frame.height, progress)};
      }
    }
    for (const NodeIndex child : to.children(index)) pending.emplace_back(child, animated);
  }
  return result;
}

}  // namespace zelto::desktop
