#include "platform/kit/DisplayListPainter.hpp"

#include "platform/kit/Button.hpp"

namespace zelto::kit {
namespace {

class Painter {
 public:
  Painter(const LaidOutTree& tree, DisplayList& list) : tree_(tree), commands_(list.commands) {}

  void paintNode(NodeIndex index) {
    const LaidOutNode& node = tree_.node(index);
    if (node.hidden) return;
    switch (node.kind) {
      case NodeKind::text:
        paintText(node);
        return;
      case NodeKind::image:
        paintSymbol(node);
        return;
      case NodeKind::shape:
        paintShape(node);
        return;
      case NodeKind::background: {
        // The background (second child) goes behind the main view.
        const auto children = tree_.children(node);
        if (children.size() > 1) paintNode(children[1]);
        if (!children.empty()) paintNode(children[0]);
        return;
      }
      case NodeKind::opacity:
        // Opacity reaches each drawn leaf through its effective opacity; a
        // fully transparent subtree draws nothing.
        if (node.opacity <= 0) return;
        break;
      case NodeKind::compositingGroup: {
        if (node.opacity <= 0) return;
        // The content is drawn at its opacity relative to the group, and
        // the group's own opacity fades the composed layer.
        const double enclosing = groupOpacity_;
        const double faded = node.opacity / enclosing;
        groupOpacity_ = node.opacity;
        if (faded < 1) {
          withLayer(PushLayer{faded, std::nullopt}, node);
        } else {
          paintChildren(node);
        }
        groupOpacity_ = enclosing;
        return;
      }
      case NodeKind::shadow:
        withLayer(PushLayer{1, node.as<ShadowContent>()->shadow}, node);
        return;
      case NodeKind::rotation: {
        const RotationContent& rotation = *node.as<RotationContent>();
        if (rotation.radians == 0) break;
        commands_.push_back(PushTransform{AffineTransform::rotation(rotation.radians, rotation.anchor.in(node.frame))});
        paintChildren(node);
        commands_.push_back(PopTransform{});
        return;
      }
      default:
        break;
    }
    paintChildren(node);
  }

 private:
  void paintChildren(const LaidOutNode& node) {
    for (NodeIndex child : tree_.children(node)) paintNode(child);
  }

  void withLayer(PushLayer layer, const LaidOutNode& node) {
    commands_.push_back(std::move(layer));
    paintChildren(node);
    commands_.push_back(PopLayer{});
  }

  // A leaf's paint faded by the opacities between it and the nearest
  // compositing group (a disabled button's dimming included).
  Paint leafPaint(const LaidOutNode& node, const Paint& paint) const {
    return withOpacity(paint, node.opacity / groupOpacity_);
  }

  void paintText(const LaidOutNode& node) {
    const TextContent& text = *node.as<TextContent>();
    if (text.request.text.empty() || node.frame.width <= 0 || node.frame.height <= 0) return;
    commands_.push_back(DrawText{text.request, node.frame, leafPaint(node, text.paint)});
  }

  void paintSymbol(const LaidOutNode& node) {
    const SymbolContent& symbol = *node.as<SymbolContent>();
    if (!symbol.measurement.known) return;
    commands_.push_back(DrawSymbol{symbol.request, node.frame, leafPaint(node, symbol.paint)});
  }

  void paintShape(const LaidOutNode& node) {
    const ShapeContent& shape = *node.as<ShapeContent>();
    Path path = shapePath(shape.geometry, node.frame);
    if (path.empty()) return;
    if (shape.mode == ShapeContent::Mode::fill) {
      commands_.push_back(FillPath{std::move(path), leafPaint(node, shape.paint), node.frame});
    } else if (shape.stroke.lineWidth > 0) {
      commands_.push_back(StrokePath{std::move(path), leafPaint(node, shape.paint), node.frame, shape.stroke});
    }
  }

  const LaidOutTree& tree_;
  std::vector<DisplayCommand>& commands_;
  // Effective opacity of the nearest enclosing compositing group.
  double groupOpacity_ = 1;
};

}  // namespace

DisplayList paint(const LaidOutTree& tree) {
  DisplayList list;
  list.size = tree.size;
  if (tree.nodes.empty()) return list;
  Painter(tree, list).paintNode(tree.rootIndex);
  return list;
}

}  // namespace zelto::kit
