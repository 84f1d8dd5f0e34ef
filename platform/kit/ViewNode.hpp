#pragma once

// The immutable nodes behind View values. Only the kit's own sources include
// this header: callers build views through the primitives and modifiers.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/kit/Alignment.hpp"
#include "platform/kit/Button.hpp"
#include "platform/kit/DisplayList.hpp"
#include "platform/kit/EdgeInsets.hpp"
#include "platform/kit/Environment.hpp"
#include "platform/kit/ForEach.hpp"
#include "platform/kit/RecyclingAllocator.hpp"
#include "platform/kit/Shapes.hpp"
#include "platform/kit/Text.hpp"
#include "platform/kit/View.hpp"

namespace zelto::kit::detail {

enum class StackAxis { horizontal, vertical, layered };

struct TextNode {
  std::vector<TextPiece> pieces;
};
struct SymbolNode {
  std::string name;
};
// `drawing` absent: filled with the foreground style.
struct ShapeDrawing {
  enum class Mode { fill, stroke };
  Mode mode = Mode::fill;
  Paint paint;
  StrokeStyle stroke;
};
struct ShapeNode {
  ShapeGeometry geometry;
  std::optional<ShapeDrawing> drawing;
};
struct StackNode {
  StackAxis axis = StackAxis::vertical;
  Alignment alignment;  // horizontal part for VStack, vertical part for HStack, both for ZStack
  std::optional<double> spacing;
  std::vector<View> children;
};
struct SpacerNode {
  std::optional<double> minLength;
};
struct GroupNode {
  std::vector<View> children;
};
struct ForEachNode {
  std::vector<ForEachElement> elements;
};
struct ConditionalNode {
  bool branch = true;
  View content;
};
struct GeometryReaderNode {
  std::function<View(Size)> content;
};
struct ButtonNode {
  IntentReference intent;
  View label;
};
struct ComponentNode {
  std::shared_ptr<const ComponentConcept> component;
};

// --- Modifiers -------------------------------------------------------------

struct FixedFrameModifier {
  std::optional<double> width;
  std::optional<double> height;
  Alignment alignment;
};
struct FlexibleFrameModifier {
  FlexibleFrame bounds;
};
struct PaddingModifier {
  EdgeInsets insets;
};
struct BackgroundModifier {
  View view;
  Alignment alignment;
};
struct OverlayModifier {
  View view;
  Alignment alignment;
};
struct AspectRatioModifier {
  double ratio = 1;
  ContentMode mode = ContentMode::fit;
};
struct LayoutPriorityModifier {
  double priority = 0;
};
struct IgnoresSafeAreaModifier {
  Edges edges;
};
struct ContainerBackgroundModifier {
  View view;
};
struct EnvironmentModifier {
  std::function<void(Environment&)> change;
};
struct ShadowModifier {
  Shadow shadow;
};
struct OpacityModifier {
  double opacity = 1;
};
struct RotationModifier {
  double radians = 0;
  UnitPoint anchor;
};
struct HiddenModifier {};
struct CompositingGroupModifier {};
struct AccessibilityLabelModifier {
  std::vector<TextPiece> label;
};
struct AccessibilityHiddenModifier {
  bool hidden = true;
};
struct AccessibilityElementModifier {
  AccessibilityChildren children = AccessibilityChildren::contain;
};
struct AnimationModifier {
  SpringAnimation animation;
  std::string valueKey;
};
struct ViewNameModifier {
  std::string name;
};

using Modifier = std::variant<FixedFrameModifier, FlexibleFrameModifier, PaddingModifier, BackgroundModifier,
                              OverlayModifier, AspectRatioModifier, LayoutPriorityModifier, IgnoresSafeAreaModifier,
                              ContainerBackgroundModifier, EnvironmentModifier, ShadowModifier, OpacityModifier,
                              RotationModifier, HiddenModifier, AccessibilityLabelModifier, AccessibilityHiddenModifier,
                              AccessibilityElementModifier, AnimationModifier, CompositingGroupModifier,
                              ViewNameModifier>;

struct ModifiedNode {
  View content;
  Modifier modifier;
};

struct ViewNode {
  std::variant<TextNode, SymbolNode, ShapeNode, StackNode, SpacerNode, GroupNode, ForEachNode, ConditionalNode,
               GeometryReaderNode, ButtonNode, ComponentNode, ModifiedNode>
      content;
};

template <class T>
std::shared_ptr<const ViewNode> makeNode(T content) {
  return std::allocate_shared<const ViewNode>(RecyclingAllocator<ViewNode>{}, ViewNode{std::move(content)});
}

// Lets the kit's primitives build a View around a node.
struct ViewAccess {
  static View make(std::shared_ptr<const ViewNode> node);
};

}  // namespace zelto::kit::detail
