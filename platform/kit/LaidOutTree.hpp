#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "platform/kit/Alignment.hpp"
#include "platform/kit/Button.hpp"
#include "platform/kit/Color.hpp"
#include "platform/kit/DisplayList.hpp"
#include "platform/kit/EdgeInsets.hpp"
#include "platform/kit/Geometry.hpp"
#include "platform/kit/RecyclingAllocator.hpp"
#include "platform/kit/Shapes.hpp"
#include "platform/kit/TextSystem.hpp"
#include "platform/kit/View.hpp"
#include "platform/locale/Date.hpp"

namespace zelto::kit {

using NodeIndex = std::uint32_t;
inline constexpr NodeIndex noNode = std::numeric_limits<NodeIndex>::max();

enum class NodeKind {
  root,  // the canvas: the widget, or whatever a view was laid out in
  text,
  image,  // a named symbol
  shape,
  hstack,
  vstack,
  zstack,
  spacer,
  frame,  // fixed or flexible
  padding,
  background,  // children: the main view, then the background
  overlay,     // children: the main view, then the overlay
  geometryReader,
  aspectRatio,
  button,
  opacity,
  shadow,
  rotation,
  ignoresSafeArea,
  compositingGroup,  // draws its content as one layer, so opacity above it fades the layer
};

// "Text", "HStack", ...: the kind's name in identities and inspection.
std::string_view nodeKindName(NodeKind kind);
std::string_view shapeKindName(ShapeKind kind);

// Resolved style and measurement of each kind of node.
struct TextContent {
  TextRequest request;          // the text as resolved (localized, dates formatted) and its style
  TextMeasurement measurement;  // for the size the text was finally given
  Paint paint;
  std::string resolvedFamily;              // what the text system resolves the font to
  std::optional<Date> nextRelativeChange;  // when a relative date in it next changes its text
};
struct SymbolContent {
  SymbolRequest request;
  SymbolMeasurement measurement;
  Paint paint;
  std::string resolvedFamily;
};
struct ShapeContent {
  enum class Mode { fill, stroke };
  ShapeGeometry geometry;
  Mode mode = Mode::fill;
  Paint paint;
  StrokeStyle stroke;
};
struct StackContent {
  Alignment alignment;
  std::optional<double> spacing;  // absent: the toolkit's default spacing
};
struct SpacerContent {
  double minLength = 0;
  bool horizontal = false;  // the axis of the stack it is in
};
struct FixedFrameContent {
  std::optional<double> width;
  std::optional<double> height;
  Alignment alignment;
};
struct FlexibleFrameContent {
  FlexibleFrame bounds;
};
struct PaddingContent {
  EdgeInsets insets;
};
struct LayerContent {
  Alignment alignment;
};
struct AspectRatioContent {
  double ratio = 0;  // 0: leaves the proposal as it is
  ContentMode mode = ContentMode::fit;
};
struct ButtonContent {
  IntentReference intent;
  bool enabled = true;
};
struct OpacityContent {
  double opacity = 1;
};
struct ShadowContent {
  Shadow shadow;
};
struct RotationContent {
  double radians = 0;
  UnitPoint anchor;
};
struct SafeAreaContent {
  Edges edges;
};
struct GeometryReaderContent {
  std::uint32_t pendingContent = 0;  // layout's handle on the content builder
};

// A payload kept out of line so that nodes stay small (most nodes are stacks,
// frames and paddings); copies copy the payload.
template <class T>
class Boxed {
 public:
  Boxed(T value) : value_(detail::makeRecycled<T>(std::move(value))) {}  // NOLINT: implicit, like the payload itself
  Boxed(const Boxed& other) : value_(detail::makeRecycled<T>(*other.value_)) {}
  Boxed(Boxed&&) noexcept = default;
  Boxed& operator=(const Boxed& other) {
    if (this != &other) value_.reset(detail::makeRecycled<T>(*other.value_));
    return *this;
  }
  Boxed& operator=(Boxed&&) noexcept = default;

  T& get() { return *value_; }
  const T& get() const { return *value_; }

 private:
  std::unique_ptr<T, detail::RecycledDelete<T>> value_;
};

// The payload itself, boxed or not (for visiting a node's content).
template <class T>
const T& unboxed(const Boxed<T>& boxed) {
  return boxed.get();
}
template <class T>
const T& unboxed(const T& value) {
  return value;
}

using NodeContent = std::variant<std::monostate, Boxed<TextContent>, Boxed<SymbolContent>, Boxed<ShapeContent>,
                                 StackContent, SpacerContent, FixedFrameContent, Boxed<FlexibleFrameContent>,
                                 PaddingContent, LayerContent, AspectRatioContent, Boxed<ButtonContent>, OpacityContent,
                                 Boxed<ShadowContent>, RotationContent, SafeAreaContent, GeometryReaderContent>;

template <class T, class... Alternatives>
constexpr bool isAlternative(std::variant<Alternatives...>*) {
  return (std::is_same_v<T, Alternatives> || ...);
}

struct AccessibilityTraits {
  std::optional<std::string> label;
  bool hidden = false;
  AccessibilityChildren children = AccessibilityChildren::contain;
};

struct AnimationRecord {
  SpringAnimation spring;
  std::string valueKey;
  bool operator==(const AnimationRecord&) const = default;
};

struct LaidOutNode {
  NodeKind kind = NodeKind::root;
  // Path of positions, kinds and list ids from the root
  // ("0/VStack/1/ForEach:personal/0/Text"); the same across renders of the
  // same structure, so a host can match nodes of two renders.
  std::string identity;
  Rect frame;  // absolute, in points of the canvas
  NodeIndex parent = noNode;
  std::uint32_t firstChild = 0;  // into LaidOutTree::childIndices
  std::uint32_t childCount = 0;
  NodeContent content;
  AccessibilityTraits accessibility;
  bool hidden = false;  // keeps its space, draws nothing
  double layoutPriority = 0;
  std::optional<AnimationRecord> animation;
  // The components that begin at this node, outermost first (a component
  // whose body is another named component begins at the same node).
  std::vector<std::string> viewNames;
  // Product of the opacities above and at this node (a disabled button's
  // label counts its dimming too).
  double opacity = 1;
  // Text baselines from the frame's top; without text, both are the height.
  bool hasTextBaseline = false;
  double firstBaseline = 0;
  double lastBaseline = 0;

  // The node's payload of type T, or nullptr when it is another kind.
  template <class T>
  const T* as() const {
    if constexpr (isAlternative<Boxed<T>>(static_cast<NodeContent*>(nullptr))) {
      const auto* boxed = std::get_if<Boxed<T>>(&content);
      return boxed != nullptr ? &boxed->get() : nullptr;
    } else {
      return std::get_if<T>(&content);
    }
  }
  template <class T>
  T* as() {
    return const_cast<T*>(std::as_const(*this).template as<T>());
  }
};

// The result of layout: every node with its absolute frame, resolved style
// and identity. Plain data; paint, accessibility, hit regions and inspection
// read it.
struct LaidOutTree {
  Size size;      // the canvas
  Rect safeArea;  // where content is laid out (inside the widget's content margins)
  std::vector<LaidOutNode> nodes;
  std::vector<NodeIndex> childIndices;
  NodeIndex rootIndex = 0;
  // The earliest instant at which a relative date text (or label) of the tree
  // changes; a host redraws then.
  std::optional<Date> nextRelativeChange;

  const LaidOutNode& root() const { return nodes[rootIndex]; }
  const LaidOutNode& node(NodeIndex index) const { return nodes[index]; }
  std::span<const NodeIndex> children(const LaidOutNode& node) const {
    return {childIndices.data() + node.firstChild, node.childCount};
  }
  std::span<const NodeIndex> children(NodeIndex index) const { return children(nodes[index]); }
  NodeIndex indexOf(const LaidOutNode& node) const { return static_cast<NodeIndex>(&node - nodes.data()); }
};

}  // namespace zelto::kit
