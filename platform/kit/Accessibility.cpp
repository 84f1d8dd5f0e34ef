#include "platform/kit/Accessibility.hpp"

#include <algorithm>

namespace zelto::kit {
namespace {

class Collector {
 public:
  explicit Collector(const LaidOutTree& tree) : tree_(tree) {}

  void visit(NodeIndex index, std::vector<AccessibilityElement>& out) const {
    const LaidOutNode& node = tree_.node(index);
    if (node.hidden || node.accessibility.hidden) return;

    const bool isButton = node.kind == NodeKind::button;
    const AccessibilityChildren mode = node.accessibility.children;
    const bool hasChildren = node.childCount > 0;
    const bool merges = isButton || mode == AccessibilityChildren::combine ||
                        (hasChildren && node.accessibility.label && mode == AccessibilityChildren::contain);

    if (mode == AccessibilityChildren::ignore) {
      out.push_back(element(node, node.accessibility.label.value_or("")));
      return;
    }
    if (merges) {
      std::string label;
      if (node.accessibility.label) {
        label = *node.accessibility.label;
      } else {
        std::vector<AccessibilityElement> inner;
        visitChildren(node, inner);
        for (const AccessibilityElement& part : inner) {
          if (part.label.empty()) continue;
          if (!label.empty()) label += ", ";
          label += part.label;
        }
      }
      if (!label.empty() || isButton) out.push_back(element(node, std::move(label)));
      return;
    }
    if (node.accessibility.label) {
      out.push_back(element(node, *node.accessibility.label));
      return;
    }
    if (const auto* text = node.as<TextContent>()) {
      if (!text->request.text.empty()) out.push_back(element(node, text->request.text));
      return;
    }
    if (const auto* symbol = node.as<SymbolContent>()) {
      if (symbol->measurement.known) out.push_back(element(node, spokenSymbolName(symbol->request.name)));
      return;
    }
    visitChildren(node, out);
  }

 private:
  void visitChildren(const LaidOutNode& node, std::vector<AccessibilityElement>& out) const {
    for (NodeIndex child : tree_.children(node)) visit(child, out);
  }

  AccessibilityElement element(const LaidOutNode& node, std::string label) const {
    AccessibilityElement result;
    result.identity = node.identity;
    result.frame = node.frame;
    result.label = std::move(label);
    if (const auto* button = node.as<ButtonContent>()) {
      result.isButton = true;
      result.isEnabled = button->enabled;
    }
    return result;
  }

  static std::string spokenSymbolName(std::string name) {
    std::replace(name.begin(), name.end(), '.', ' ');
    return name;
  }

  const LaidOutTree& tree_;
};

}  // namespace

std::vector<AccessibilityElement> accessibilityElements(const LaidOutTree& tree) {
  std::vector<AccessibilityElement> elements;
  if (tree.nodes.empty()) return elements;
  Collector(tree).visit(tree.rootIndex, elements);
  return elements;
}

}  // namespace zelto::kit
