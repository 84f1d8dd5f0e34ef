#include "platform/kit/HitRegions.hpp"

namespace zelto::kit {
namespace {

void collect(const LaidOutTree& tree, NodeIndex index, std::vector<HitRegion>& out) {
  const LaidOutNode& node = tree.node(index);
  if (node.hidden) return;
  if (const auto* button = node.as<ButtonContent>()) {
    out.push_back({node.identity, node.frame, button->intent, button->enabled});
  }
  const auto children = tree.children(node);
  if (node.kind == NodeKind::background && children.size() > 1) {
    // Drawing order: the background below the view it belongs to.
    collect(tree, children[1], out);
    collect(tree, children[0], out);
    return;
  }
  for (NodeIndex child : children) collect(tree, child, out);
}

}  // namespace

std::vector<HitRegion> hitRegions(const LaidOutTree& tree) {
  std::vector<HitRegion> regions;
  if (!tree.nodes.empty()) collect(tree, tree.rootIndex, regions);
  return regions;
}

const HitRegion* regionAt(const std::vector<HitRegion>& regions, Point point) {
  for (auto it = regions.rbegin(); it != regions.rend(); ++it) {
    if (it->frame.contains(point)) return &*it;
  }
  return nullptr;
}

}  // namespace zelto::kit
