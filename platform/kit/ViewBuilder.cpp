#include "platform/kit/ViewBuilder.hpp"

#include <string_view>
#include <unordered_map>

#include "platform/kit/Spacer.hpp"
#include "platform/kit/Stacks.hpp"
#include "platform/kit/TextResolution.hpp"
#include "platform/kit/ViewNode.hpp"

namespace zelto::kit::detail {
namespace {

std::string joined(const std::string& prefix, std::string_view segment) {
  std::string path;
  path.reserve(prefix.size() + 1 + segment.size());
  path += prefix;
  if (!prefix.empty()) path += '/';
  path += segment;
  return path;
}

// The identity of the k-th node a wrapping modifier makes around content that
// turned into several nodes (a group): the first keeps the plain path.
std::string numbered(const std::string& identity, std::size_t k) {
  return k == 0 ? identity : identity + "#" + std::to_string(k);
}

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
  LaidOutNode node;
  node.kind = kind;
  node.identity = std::move(identity);
  node.content = std::move(content);
  node.firstChild = static_cast<std::uint32_t>(tree_.childIndices.size());
  node.childCount = static_cast<std::uint32_t>(children.size());
  tree_.childIndices.insert(tree_.childIndices.end(), children.begin(), children.end());
  for (NodeIndex child : children) tree_.nodes[child].parent = index;
  tree_.nodes.push_back(std::move(node));
  return index;
}

void ViewBuilder::noteRelativeChange(std::optional<Date> change) {
  if (!change) return;
  nextRelativeChange_ = nextRelativeChange_ ? std::min(*nextRelativeChange_, *change) : *change;
}

NodeIndex ViewBuilder::buildSingle(const View& view, const Environment& environment, const std::string& prefix) {
  NodeList nodes;
  build(view, environment, prefix, false, nodes);
  if (nodes.empty()) return noNode;
  if (nodes.size() == 1) return nodes.front();
  return addNode(NodeKind::vstack, joined(prefix, "VStack"), StackContent{Alignment::center(), defaultSpacing}, nodes);
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

void ViewBuilder::build(const View& view, const Environment& environment, const std::string& prefix,
                        bool inHorizontalStack, NodeList& out) {
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
          out.push_back(addNode(NodeKind::text, joined(prefix, "Text"), std::move(text), {}));
        } else if constexpr (std::is_same_v<N, SymbolNode>) {
          SymbolContent symbol;
          symbol.request = {content.name, environment.effectiveFont(), environment.textScale};
          symbol.paint = environment.foregroundStyle;
          out.push_back(addNode(NodeKind::image, joined(prefix, "Image"), std::move(symbol), {}));
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
          out.push_back(
              addNode(NodeKind::shape, joined(prefix, shapeKindName(content.geometry.kind)), std::move(shape), {}));
        } else if constexpr (std::is_same_v<N, StackNode>) {
          const NodeKind kind = stackKind(content.axis);
          std::string identity = joined(prefix, nodeKindName(kind));
          NodeList children;
          for (std::size_t i = 0; i < content.children.size(); ++i) {
            build(content.children[i], environment, joined(identity, std::to_string(i)),
                  content.axis == StackAxis::horizontal, children);
          }
          out.push_back(addNode(kind, std::move(identity), StackContent{content.alignment, content.spacing}, children));
        } else if constexpr (std::is_same_v<N, SpacerNode>) {
          out.push_back(addNode(NodeKind::spacer, joined(prefix, "Spacer"),
                                SpacerContent{content.minLength.value_or(defaultSpacerMinLength), inHorizontalStack},
                                {}));
        } else if constexpr (std::is_same_v<N, GroupNode>) {
          const std::string groupPrefix = joined(prefix, "Group");
          for (std::size_t i = 0; i < content.children.size(); ++i) {
            build(content.children[i], environment, joined(groupPrefix, std::to_string(i)), inHorizontalStack, out);
          }
        } else if constexpr (std::is_same_v<N, ForEachNode>) {
          std::unordered_map<std::string, int> seen;
          for (const ForEachElement& element : content.elements) {
            const int occurrence = seen[element.id]++;
            std::string id = escapedId(element.id);
            if (occurrence > 0) id += "#" + std::to_string(occurrence + 1);
            build(element.content, environment, joined(joined(prefix, "ForEach:" + id), "0"), inHorizontalStack, out);
          }
        } else if constexpr (std::is_same_v<N, ConditionalNode>) {
          build(content.content, environment, joined(prefix, content.branch ? "if" : "else"), inHorizontalStack, out);
        } else if constexpr (std::is_same_v<N, GeometryReaderNode>) {
          std::string identity = joined(prefix, "GeometryReader");
          const auto pending = static_cast<std::uint32_t>(pendingReaders_.size());
          pendingReaders_.push_back({content.content, environment, identity});
          out.push_back(addNode(NodeKind::geometryReader, std::move(identity), GeometryReaderContent{pending}, {}));
        } else if constexpr (std::is_same_v<N, ButtonNode>) {
          std::string identity = joined(prefix, "Button");
          const NodeIndex label = buildSingle(content.label, environment, identity);
          NodeList children;
          if (label != noNode) children.push_back(label);
          const NodeIndex button = addNode(NodeKind::button, std::move(identity),
                                           ButtonContent{content.intent, environment.isEnabled}, children);
          out.push_back(button);
        } else if constexpr (std::is_same_v<N, ComponentNode>) {
          build(content.component->body(environment), environment, prefix, inHorizontalStack, out);
        } else if constexpr (std::is_same_v<N, ModifiedNode>) {
          buildModified(content, environment, prefix, inHorizontalStack, out);
        }
      },
      node->content);
}

void ViewBuilder::buildModified(const ModifiedNode& modified, const Environment& environment, const std::string& prefix,
                                bool inHorizontalStack, NodeList& out) {
  const Modifier& modifier = modified.modifier;

  if (const auto* change = std::get_if<EnvironmentModifier>(&modifier)) {
    Environment changed = environment;
    change->change(changed);
    build(modified.content, changed, prefix, inHorizontalStack, out);
    return;
  }
  if (const auto* background = std::get_if<ContainerBackgroundModifier>(&modifier)) {
    if (!containerBackground_) containerBackground_ = ContainerBackground{background->view, environment};
    build(modified.content, environment, prefix, inHorizontalStack, out);
    return;
  }

  // Background and overlay: the main view, then the secondary one built for
  // each node of the main view.
  const auto* background = std::get_if<BackgroundModifier>(&modifier);
  const auto* overlay = std::get_if<OverlayModifier>(&modifier);
  if (background != nullptr || overlay != nullptr) {
    const NodeKind kind = background != nullptr ? NodeKind::background : NodeKind::overlay;
    const std::string identity = joined(prefix, nodeKindName(kind));
    NodeList mains;
    build(modified.content, environment, identity, inHorizontalStack, mains);
    for (std::size_t k = 0; k < mains.size(); ++k) {
      std::string layerIdentity = numbered(identity, k);
      const View& secondary = background != nullptr ? background->view : overlay->view;
      const NodeIndex layer =
          buildSingle(secondary, environment, joined(layerIdentity, background != nullptr ? "background" : "overlay"));
      NodeList children{mains[k]};
      if (layer != noNode) children.push_back(layer);
      const Alignment alignment = background != nullptr ? background->alignment : overlay->alignment;
      out.push_back(addNode(kind, std::move(layerIdentity), LayerContent{alignment}, children));
    }
    return;
  }

  if (std::optional<WrapperNode> wrapper = wrapperFor(modifier)) {
    const std::string identity = joined(prefix, nodeKindName(wrapper->kind));
    NodeList contents;
    build(modified.content, environment, identity, inHorizontalStack, contents);
    // A frame around nothing still takes its space.
    if (contents.empty() && wrapper->kind == NodeKind::frame) {
      out.push_back(addNode(wrapper->kind, identity, wrapper->content, {}));
      return;
    }
    for (std::size_t k = 0; k < contents.size(); ++k) {
      const NodeIndex child = contents[k];
      out.push_back(addNode(wrapper->kind, numbered(identity, k), wrapper->content, std::span(&child, 1)));
    }
    return;
  }

  // Attributes of the nodes the content turns into; an outer modifier
  // overrides an inner one of the same kind.
  const std::size_t first = out.size();
  build(modified.content, environment, prefix, inHorizontalStack, out);
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
