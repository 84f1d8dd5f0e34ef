#include "platform/kit/Layout.hpp"

#include <cmath>

#include "platform/kit/LayoutEngine.hpp"
#include "platform/kit/ViewBuilder.hpp"

namespace zelto::kit {
namespace {

Size usableSize(Size size) {
  return {std::isfinite(size.width) ? std::max(0.0, size.width) : 0,
          std::isfinite(size.height) ? std::max(0.0, size.height) : 0};
}

// Sets the root's children; the root is node 0, created first.
template <class Children>
void adoptChildren(LaidOutTree& tree, const Children& children) {
  LaidOutNode& root = tree.nodes[tree.rootIndex];
  root.firstChild = static_cast<std::uint32_t>(tree.childIndices.size());
  root.childCount = static_cast<std::uint32_t>(children.size());
  tree.childIndices.insert(tree.childIndices.end(), children.begin(), children.end());
  for (NodeIndex child : children) tree.nodes[child].parent = tree.rootIndex;
}

LaidOutTree emptyTree() {
  LaidOutTree tree;
  // Room for a large widget's nodes without growing the arrays on the way.
  tree.nodes.reserve(256);
  tree.childIndices.reserve(256);
  tree.rootIndex = 0;
  LaidOutNode root;
  root.kind = NodeKind::root;
  root.identity = "root";
  tree.nodes.push_back(std::move(root));
  return tree;
}

}  // namespace

LaidOutTree layout(const View& view, ProposedSize proposal, const Environment& environment,
                   const TextSystem& textSystem) {
  LaidOutTree tree = emptyTree();
  detail::ViewBuilder builder(tree);
  detail::NodeList content;
  builder.build(view, environment, "0", false, content);
  adoptChildren(tree, content);
  tree.nextRelativeChange = builder.nextRelativeChange();

  // An infinite (or meaningless) dimension asks for the ideal size.
  const auto placeable = [](std::optional<double> length) {
    return length && std::isfinite(*length) ? length : std::nullopt;
  };
  const ProposedSize placement{placeable(proposal.width), placeable(proposal.height)};
  detail::LayoutEngine engine(tree, builder, textSystem);
  const Size size = usableSize(engine.measure(tree.rootIndex, placement).size);
  tree.size = size;
  tree.safeArea = {0, 0, size.width, size.height};
  engine.place(tree.rootIndex, placement, {0, 0}, 1);
  tree.nextRelativeChange = builder.nextRelativeChange();
  return tree;
}

LaidOutTree layoutWidget(const View& content, Size widgetSize, const Environment& environment,
                         const TextSystem& textSystem) {
  widgetSize = usableSize(widgetSize);
  LaidOutTree tree = emptyTree();
  tree.size = widgetSize;
  const double margin = std::min(widgetContentMargin, std::min(widgetSize.width, widgetSize.height) / 2);
  tree.safeArea = Rect{0, 0, widgetSize.width, widgetSize.height}.insetBy(margin, margin);

  detail::ViewBuilder builder(tree);
  detail::NodeList contentNodes;
  builder.build(content, environment, "0", false, contentNodes);
  NodeIndex background = noNode;
  if (const auto& declared = builder.containerBackground()) {
    background = builder.buildSingle(declared->view, declared->environment, "containerBackground");
  }
  detail::NodeList children;
  if (background != noNode) children.push_back(background);
  children.insert(children.end(), contentNodes.begin(), contentNodes.end());
  adoptChildren(tree, children);

  detail::LayoutEngine engine(tree, builder, textSystem);
  const Rect widgetBounds{0, 0, widgetSize.width, widgetSize.height};
  tree.nodes[tree.rootIndex].frame = widgetBounds;

  // The host centres its content in the area it offers, like a layered stack.
  const auto placeCentred = [&](NodeIndex node, const Rect& area) {
    const ProposedSize proposal = ProposedSize::exactly(area.size());
    const Size size = usableSize(engine.measure(node, proposal).size);
    engine.place(node, proposal, {area.x + (area.width - size.width) / 2, area.y + (area.height - size.height) / 2}, 1);
  };
  if (background != noNode) placeCentred(background, widgetBounds);
  const Rect safeArea = tree.safeArea;
  for (NodeIndex node : contentNodes) placeCentred(node, safeArea);
  tree.nextRelativeChange = builder.nextRelativeChange();
  return tree;
}

}  // namespace zelto::kit
