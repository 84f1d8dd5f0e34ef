#include "platform/kit/ViewBuilder.hpp"

#include <charconv>
#include <string_view>
#include <unordered_map>

#include "platform/kit/Spacer.hpp"
#include "platform/kit/Stacks.hpp"
#include "platform/kit/TextResolution.hpp"
#include "platform/kit/ViewNode.hpp"

namespace zelto::kit::detail {
namespace {

// A list id as a path segment: "/" would read as a separator, so it (and the
// escape character itself) is percent-encoded.
std::string escapedId(const std::string& id) {
  std::string escaped;
  escaped.reserve(id.size());
  for (char c : id) {
    if (c == '/') {
      escaped += "%2F";
    } else if (c == '%') {
      escaped += "%25";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

NodeKind stackKind(StackAxis axis) {
  switch (axis) {
    case StackAxis::horizontal:
      return NodeKind::hstack;
    case StackAxis::vertical:
      return NodeKind::vstack;
    case StackAxis::layered:
      return NodeKind::zstack;
  }
  return NodeKind::vstack;
}

TextRequest textRequest(std::string text, const Environment& environment) {
  TextRequest request;
  request.text = std::move(text);
  request.font = environment.effectiveFont();
  request.textScale = environment.textScale;
  request.tracking = environment.tracking;
  request.monospacedDigits = environment.monospacedDigit;
  request.lineLimit = environment.lineLimit;
  request.minimumScaleFactor = environment.minimumScaleFactor;
  request.allowsTightening = environment.allowsTightening;
  request.multilineAlignment = environment.multilineTextAlignment;
  return request;
}

// Modifiers that wrap their content in a node of their own.
struct WrapperNode {
  NodeKind kind;
  NodeContent content;
};

std::optional<WrapperNode> wrapperFor(const Modifier& modifier) {
  return std::visit(
      [](const auto& m) -> std::optional<WrapperNode> {
        using M = std::decay_t<decltype(m)>;
        if constexpr (std::is_same_v<M, FixedFrameModifier>) {
          return WrapperNode{NodeKind::frame, FixedFrameContent{m.width, m.height, m.alignment}};
        } else if constexpr (std::is_same_v<M, FlexibleFrameModifier>) {
          return WrapperNode{NodeKind::frame, FlexibleFrameContent{m.bounds}};
        } else if constexpr (std::is_same_v<M, PaddingModifier>) {
          return WrapperNode{NodeKind::padding, PaddingContent{m.insets}};
        } else if constexpr (std::is_same_v<M, AspectRatioModifier>) {
          return WrapperNode{NodeKind::aspectRatio, AspectRatioContent{m.ratio, m.mode}};
        } else if constexpr (std::is_same_v<M, IgnoresSafeAreaModifier>) {
          return WrapperNode{NodeKind::ignoresSafeArea, SafeAreaContent{m.edges}};
        } else if constexpr (std::is_same_v<M, ShadowModifier>) {
          return WrapperNode{NodeKind::shadow, ShadowContent{m.shadow}};
        } else if constexpr (std::is_same_v<M, OpacityModifier>) {
          return WrapperNode{NodeKind::opacity, OpacityContent{m.opacity}};
        } else if constexpr (std::is_same_v<M, RotationModifier>) {
          return WrapperNode{NodeKind::rotation, RotationContent{m.radians, m.anchor}};
        } else if constexpr (std::is_same_v<M, CompositingGroupModifier>) {
          return WrapperNode{NodeKind::compositingGroup, std::monostate{}};
        } else {
          return std::nullopt;
        }
      },
      modifier);
}

}  // namespace

NodeIndex ViewBuilder::addNode(NodeKind kind, std::string identity, NodeContent content,
                               std::span<const NodeIndex> children) {
  const auto index = static_cast<NodeIndex>(tree_.nodes.size());
  for (NodeIndex child : children) tree_.nodes[child].parent = index;
  LaidOutNode& node = tree_.nodes.emplace_back();
  node.kind = kind;
  node.identity = std::move(identity);
  node.content = std::move(content);
  node.firstChild = static_cast<std::uint32_t>(tree_.childIndices.size());
  node.childCount = static_cast<std::uint32_t>(children.size());
  tree_.childIndices.insert(tree_.childIndices.end(), children.begin(), children.end());
  return index;
}

std::size_t ViewBuilder::enter(std::string_view segment) {
  const std::size_t mark = path_.size();
  if (!path_.empty()) path_ += '/';
  path_ += segment;
  return mark;
}

std::size_t ViewBuilder::enter(std::size_t position) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, position).ptr;
  return enter(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

std::size_t ViewBuilder::number(std::size_t k) {
  const std::size_t mark = path_.size();
  if (k > 0) {
    path_ += '#';
    char digits[24];
    path_.append(digits, std::to_chars(digits, digits + sizeof digits, k).ptr);
  }
  return mark;
}

// A layout priority belongs to the stack's child whatever modifiers wrap the
// view it was set on, so a wrapper carries its content's priority.
void ViewBuilder::inheritLayoutPriority(NodeIndex wrapper, NodeIndex content) {
  tree_.nodes[wrapper].layoutPriority = tree_.nodes[content].layoutPriority;
}

void ViewBuilder::noteRelativeChange(std::optional<Date> change) {
  if (!change) return;
  nextRelativeChange_ = nextRelativeChange_ ? std::min(*nextRelativeChange_, *change) : *change;
}

void ViewBuilder::build(const View& view, const Environment& environment, const std::string& prefix,
                        bool inHorizontalStack, NodeList& out) {
  const std::string outer = std::exchange(path_, prefix);
  buildHere(view, environment, inHorizontalStack, out);
  path_ = outer;
}

NodeIndex ViewBuilder::buildSingle(const View& view, const Environment& environment, const std::string& prefix) {
  const std::string outer = std::exchange(path_, prefix);
  const NodeIndex single = buildSingleHere(view, environment);
  path_ = outer;
  return single;
}

NodeIndex ViewBuilder::buildSingleHere(const View& view, const Environment& environment) {
  NodeList nodes;
  buildHere(view, environment, false, nodes);
  if (nodes.empty()) return noNode;
  if (nodes.size() == 1) return nodes.front();
  const std::size_t mark = enter("VStack");
  const NodeIndex stack = addNode(NodeKind::vstack, path_, StackContent{Alignment::center(), defaultSpacing}, nodes);
  path_.resize(mark);
  return stack;
}

NodeIndex ViewBuilder::buildReaderContent(const GeometryReaderContent& reader, Size size) {
  if (reader.pendingContent >= pendingReaders_.size()) return noNode;
  const PendingReader& pending = pendingReaders_[reader.pendingContent];
  if (!pending.content) return noNode;
  // Copies: building may add readers and move the pending list.
  const View content = pending.content(size);
  const Environment environment = pending.environment;
  const std::string identity = pending.identity;
  return buildSingle(content, environment, identity);
}

void ViewBuilder::buildHere(const View& view, const Environment& environment, bool inHorizontalStack,
                            NodeList& out) {
  const ViewNode* node = view.node();
  if (node == nullptr) return;
  std::visit(
      [&](const auto& content) {
        using N = std::decay_t<decltype(content)>;
        if constexpr (std::is_same_v<N, TextNode>) {
          ResolvedText resolved = resolveText(content.pieces, environment);
          noteRelativeChange(resolved.nextChange);
          TextContent text;
          text.request = textRequest(std::move(resolved.text), environment);
          text.paint = environment.foregroundStyle;
          text.nextRelativeChange = resolved.nextChange;
          const std::size_t mark = enter("Text");
          out.push_back(addNode(NodeKind::text, path_, std::move(text), {}));
          path_.resize(mark);
        } else if constexpr (std::is_same_v<N, SymbolNode>) {
          SymbolContent symbol;
          symbol.request = {content.name, environment.effectiveFont(), environment.textScale};
          symbol.paint = environment.foregroundStyle;
          const std::size_t mark = enter("Image");
          out.push_back(addNode(NodeKind::image, path_, std::move(symbol), {}));
          path_.resize(mark);
        } else if constexpr (std::is_same_v<N, ShapeNode>) {
          ShapeContent shape;
          shape.geometry = content.geometry;
          if (content.drawing) {
            shape.mode = content.drawing->mode == ShapeDrawing::Mode::fill ? ShapeContent::Mode::fill
                                                                           : ShapeContent::Mode::stroke;
            shape.paint = content.drawing->paint;
            shape.stroke = content.drawing->stroke;
          } else {
            shape.paint = environment.foregroundStyle;
          }
          const std::size_t mark = enter(shapeKindName(content.geometry.kind));
          out.push_back(addNode(NodeKind::shape, path_, std::move(shape), {}));
          path_.resize(mark);
        } else if constexpr (std::is_same_v<N, StackNode>) {
          const NodeKind kind = stackKind(content.axis);
          const std::size_t mark = enter(nodeKindName(kind));
          NodeList children;
          for (std::size_t i = 0; i < content.children.size(); ++i) {
            const std::size_t position = enter(i);
            buildHere(content.children[i], environment, content.axis == StackAxis::horizontal, children);
            path_.resize(position);
          }
          out.push_back(addNode(kind, path_, StackContent{content.alignment, content.spacing}, children));
          path_.resize(mark);
        } else if constexpr (std::is_same_v<N, SpacerNode>) {
          const std::size_t mark = enter("Spacer");
          out.push_back(addNode(NodeKind::spacer, path_,
                                SpacerContent{content.minLength.value_or(defaultSpacerMinLength), inHorizontalStack},
                                {}));
          path_.resize(mark);
        } else if constexpr (std::is_same_v<N, GroupNode>) {
          const std::size_t mark = enter("Group");
          for (std::size_t i = 0; i < content.children.size(); ++i) {
            const std::size_t position = enter(i);
            buildHere(content.children[i], environment, inHorizontalStack, out);
            path_.resize(position);
          }
          path_.resize(mark);
        } else if constexpr (std::is_same_v<N, ForEachNode>) {
          std::unordered_map<std::string, int> seen;
          for (const ForEachElement& element : content.elements) {
            const int occurrence = seen[element.id]++;
            std::string id = escapedId(element.id);
            if (occurrence > 0) id += "#" + std::to_string(occurrence + 1);
            const std::size_t mark = enter("ForEach:" + id);
            enter("0");
            buildHere(element.content, environment, inHorizontalStack, out);
            path_.resize(mark);
          }
        } else if constexpr (std::is_same_v<N, ConditionalNode>) {
          const std::size_t mark = enter(content.branch ? "if" : "else");
          buildHere(content.content, environment, inHorizontalStack, out);
          path_.resize(mark);
        } else if constexpr (std::is_same_v<N, GeometryReaderNode>) {
          const std::size_t mark = enter("GeometryReader");
          const auto pending = static_cast<std::uint32_t>(pendingReaders_.size());
          pendingReaders_.push_back({content.content, environment, path_});
          out.push_back(addNode(NodeKind::geometryReader, path_, GeometryReaderContent{pending}, {}));
          path_.resize(mark);
        } else if constexpr (std::is_same_v<N, ButtonNode>) {
          const std::size_t mark = enter("Button");
          const NodeIndex label = buildSingleHere(content.label, environment);
          NodeList children;
          if (label != noNode) children.push_back(label);
          const NodeIndex button =
              addNode(NodeKind::button, path_, ButtonContent{content.intent, environment.isEnabled}, children);
          out.push_back(button);
          path_.resize(mark);
        } else if constexpr (std::is_same_v<N, ComponentNode>) {
          buildHere(content.component->body(environment), environment, inHorizontalStack, out);
        } else if constexpr (std::is_same_v<N, ModifiedNode>) {
          buildModified(content, environment, inHorizontalStack, out);
        }
      },
      node->content);
}

void ViewBuilder::buildModified(const ModifiedNode& modified, const Environment& environment, bool inHorizontalStack,
                                NodeList& out) {
  const Modifier& modifier = modified.modifier;

  if (const auto* change = std::get_if<EnvironmentModifier>(&modifier)) {
    Environment changed = environment;
    change->change(changed);
    buildHere(modified.content, changed, inHorizontalStack, out);
    return;
  }
  if (const auto* background = std::get_if<ContainerBackgroundModifier>(&modifier)) {
    if (!containerBackground_) containerBackground_ = ContainerBackground{background->view, environment};
    buildHere(modified.content, environment, inHorizontalStack, out);
    return;
  }

  // Background and overlay: the main view, then the secondary one built for
  // each node of the main view.
  const auto* background = std::get_if<BackgroundModifier>(&modifier);
  const auto* overlay = std::get_if<OverlayModifier>(&modifier);
  if (background != nullptr || overlay != nullptr) {
    const NodeKind kind = background != nullptr ? NodeKind::background : NodeKind::overlay;
    const std::size_t mark = enter(nodeKindName(kind));
    NodeList mains;
    buildHere(modified.content, environment, inHorizontalStack, mains);
    for (std::size_t k = 0; k < mains.size(); ++k) {
      const std::size_t numbered = number(k);
      const View& secondary = background != nullptr ? background->view : overlay->view;
      const std::size_t layerMark = enter(background != nullptr ? "background" : "overlay");
      const NodeIndex layer = buildSingleHere(secondary, environment);
      path_.resize(layerMark);
      NodeList children{mains[k]};
      if (layer != noNode) children.push_back(layer);
      const Alignment alignment = background != nullptr ? background->alignment : overlay->alignment;
      out.push_back(addNode(kind, path_, LayerContent{alignment}, children));
      inheritLayoutPriority(out.back(), mains[k]);
      path_.resize(numbered);
    }
    path_.resize(mark);
    return;
  }

  if (std::optional<WrapperNode> wrapper = wrapperFor(modifier)) {
    const std::size_t mark = enter(nodeKindName(wrapper->kind));
    NodeList contents;
    buildHere(modified.content, environment, inHorizontalStack, contents);
    // A frame around nothing still takes its space.
    if (contents.empty() && wrapper->kind == NodeKind::frame) {
      out.push_back(addNode(wrapper->kind, path_, wrapper->content, {}));
    }
    for (std::size_t k = 0; k < contents.size(); ++k) {
      const NodeIndex child = contents[k];
      const std::size_t numbered = number(k);
      out.push_back(addNode(wrapper->kind, path_, wrapper->content, std::span(&child, 1)));
      inheritLayoutPriority(out.back(), child);
      path_.resize(numbered);
    }
    path_.resize(mark);
    return;
  }

  // Attributes of the nodes the content turns into; an outer modifier
  // overrides an inner one of the same kind.
  const std::size_t first = out.size();
  buildHere(modified.content, environment, inHorizontalStack, out);
  std::optional<std::string> label;
  if (const auto* labelModifier = std::get_if<AccessibilityLabelModifier>(&modifier)) {
    ResolvedText resolved = resolveText(labelModifier->label, environment);
    noteRelativeChange(resolved.nextChange);
    label = std::move(resolved.text);
  }
  for (std::size_t k = first; k < out.size(); ++k) {
    LaidOutNode& node = tree_.nodes[out[k]];
    std::visit(
        [&](const auto& m) {
          using M = std::decay_t<decltype(m)>;
          if constexpr (std::is_same_v<M, LayoutPriorityModifier>) {
            node.layoutPriority = m.priority;
          } else if constexpr (std::is_same_v<M, HiddenModifier>) {
            node.hidden = true;
          } else if constexpr (std::is_same_v<M, AccessibilityLabelModifier>) {
            node.accessibility.label = label;
          } else if constexpr (std::is_same_v<M, AccessibilityHiddenModifier>) {
            node.accessibility.hidden = m.hidden;
          } else if constexpr (std::is_same_v<M, AccessibilityElementModifier>) {
            node.accessibility.children = m.children;
          } else if constexpr (std::is_same_v<M, AnimationModifier>) {
            node.animation = AnimationRecord{m.animation, m.valueKey};
          } else if constexpr (std::is_same_v<M, ViewNameModifier>) {
            node.viewNames.insert(node.viewNames.begin(), m.name);  // outermost first
          }
        },
        modifier);
  }
}

}  // namespace zelto::kit::detail
