#pragma once

#include <concepts>
#include <functional>
#include <limits>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/kit/Alignment.hpp"
#include "platform/kit/Color.hpp"
#include "platform/kit/EdgeInsets.hpp"
#include "platform/kit/Environment.hpp"
#include "platform/kit/Font.hpp"
#include "platform/kit/Geometry.hpp"
#include "platform/kit/RecyclingAllocator.hpp"

namespace zelto::kit {

class View;
class Text;

namespace detail {
struct ViewNode;
struct ViewAccess;
}  // namespace detail

// A component is a plain struct whose fields are its inputs and whose `body`
// builds its content from those fields (and, optionally, the environment):
//
//   struct SignalDot {
//     Color color;
//     View body() const { return Circle().fill(color).frame(5, 5); }
//   };
//
// It holds no state; any component converts to a View.
template <class T>
concept ComponentWithEnvironment = requires(const T& component, const Environment& environment) {
  { component.body(environment) } -> std::convertible_to<View>;
};
template <class T>
concept ComponentWithoutEnvironment = requires(const T& component) {
  { component.body() } -> std::convertible_to<View>;
};
template <class T>
concept Component = std::copy_constructible<T> && !std::derived_from<T, View> &&
                    (ComponentWithEnvironment<T> || ComponentWithoutEnvironment<T>);

// A spring that the host animates a change with; the kit only records it.
struct SpringAnimation {
  double response = 0.55;          // seconds for one oscillation period of the undamped spring
  double dampingFraction = 0.825;  // 1 is critically damped (no overshoot)
  double blendDuration = 0;        // seconds over which a new spring takes over a running one
  bool operator==(const SpringAnimation&) const = default;
};

// How accessibility treats a view's descendants: each stays an element of its
// own (contain), they merge into one element whose label joins theirs
// (combine), or they are dropped and the view is one element with only its
// own label (ignore).
enum class AccessibilityChildren { contain, combine, ignore };

// How aspectRatio fits the proposal: the largest size of the ratio inside it
// (fit) or the smallest that covers it (fill).
enum class ContentMode { fit, fill };

// Bounds of a flexible frame; absent bounds do not constrain. An ideal size
// answers a proposal that leaves the dimension unspecified.
struct FlexibleFrame {
  std::optional<double> minWidth = std::nullopt;
  std::optional<double> idealWidth = std::nullopt;
  std::optional<double> maxWidth = std::nullopt;
  std::optional<double> minHeight = std::nullopt;
  std::optional<double> idealHeight = std::nullopt;
  std::optional<double> maxHeight = std::nullopt;
  Alignment alignment = Alignment::center();
};

// Unbounded, for flexible frames: maxWidth = infinity takes the whole offer.
inline constexpr double infinity = std::numeric_limits<double>::infinity();

// Padding left to the toolkit.
inline constexpr double defaultPadding = 16;

constexpr double radiansFromDegrees(double degrees) { return degrees * std::numbers::pi / 180; }

// An immutable view value: any primitive, component or modified view. Copies
// are cheap and share the same immutable node. A default-constructed View is
// the empty view, which takes no space and draws nothing.
class View {
 public:
  View() = default;

  template <Component C>
  View(C component);  // NOLINT(google-explicit-constructor): components convert like primitives

  bool isEmpty() const { return node_ == nullptr; }

  // --- Layout ---------------------------------------------------------------

  // Fixed frame: a given dimension is proposed to the content and is the
  // frame's size whatever the content takes; a missing one passes through.
  View frame(std::optional<double> width, std::optional<double> height,
             Alignment alignment = Alignment::center()) const;
  View frame(const FlexibleFrame& bounds) const;
  // The toolkit's default padding (16 pt) on every edge.
  View padding() const;
  View padding(double length) const;
  // `length` on the given edges; absent means the default padding.
  View padding(Edges edges, std::optional<double> length = std::nullopt) const;
  View padding(const EdgeInsets& insets) const;
  // The secondary view is proposed exactly this view's size and drawn behind
  // (background) or in front (overlay); this view's size is kept.
  View background(const View& view, Alignment alignment = Alignment::center()) const;
  View background(const Paint& paint) const;
  View overlay(const View& view, Alignment alignment = Alignment::center()) const;
  View overlay(const Paint& paint) const;
  View aspectRatio(double ratio, ContentMode mode = ContentMode::fit) const;
  // Stacks size higher priorities first.
  View layoutPriority(double priority) const;
  // Where this view's frame touches the edge of the safe area (the widget's
  // content margins), it extends to the widget's edge.
  View ignoresSafeArea(Edges edges = Edges::all()) const;
  // Drawn by the host behind everything, filling the whole widget regardless
  // of the content margins. Only the first one found in the tree counts.
  View containerBackground(const View& background) const;

  // --- Environment ----------------------------------------------------------

  View foregroundStyle(const Paint& paint) const;
  View tint(const Color& color) const;
  View font(const Font& font) const;
  // Extra points after every character of the texts below, the last included.
  View tracking(double points) const;
  // Tabular figures: every digit the same width.
  View monospacedDigit() const;
  View lineLimit(std::optional<int> lines) const;
  // Texts that do not fit shrink down to this fraction before they truncate.
  View minimumScaleFactor(double factor) const;
  // Texts that do not fit may draw their letters slightly closer first.
  View allowsTightening(bool allows) const;
  View multilineTextAlignment(TextAlignment alignment) const;
  View disabled(bool disabled) const;
  // Any other change to the environment below this view.
  View transformEnvironment(std::function<void(Environment&)> change) const;

  // --- Drawing --------------------------------------------------------------

  // The view's coverage tinted with `color`, blurred (Gaussian, standard
  // deviation about `radius`), offset by (x, y) and drawn behind it.
  View shadow(const Color& color, double radius, double x = 0, double y = 0) const;
  // Multiplies the alpha of every drawn leaf below: overlapping leaves of a
  // faded container show through each other.
  View opacity(double opacity) const;
  // Draws the view as one layer, so that an opacity applied outside it fades
  // the composed result instead of each leaf.
  View compositingGroup() const;
  // Rotates the drawing (positive is clockwise on screen) about `anchor`; the
  // frame used by layout is unchanged.
  View rotationEffect(double radians, UnitPoint anchor = UnitPoint::center()) const;
  // Keeps the view's space but draws nothing and hides it from accessibility
  // and clicks.
  View hidden() const;

  // --- Accessibility --------------------------------------------------------

  View accessibilityLabel(const Text& label) const;
  View accessibilityLabel(std::string verbatimLabel) const;
  View accessibilityHidden(bool hidden = true) const;
  View accessibilityElement(AccessibilityChildren children) const;

  // --- Motion ---------------------------------------------------------------

  // Changes of this view are animated with `animation` whenever `valueKey`
  // differs between two renders; absent means no animation is attached.
  View animation(std::optional<SpringAnimation> animation, std::string valueKey) const;
  template <std::integral T>
  View animation(std::optional<SpringAnimation> spring, T value) const {
    return animation(spring, std::to_string(value));
  }

  // --- Inspection -----------------------------------------------------------

  // Names the component that begins at this view ("LimitRing"), so that a
  // reader of the inspection tree can tell which components were chosen.
  View viewName(std::string typeName) const;

  const detail::ViewNode* node() const { return node_.get(); }

 protected:
  explicit View(std::shared_ptr<const detail::ViewNode> node) : node_(std::move(node)) {}

 private:
  friend struct detail::ViewAccess;
  View modified(auto modifier) const;

  std::shared_ptr<const detail::ViewNode> node_;
};

namespace detail {

// Type erasure of components (the only virtual call in the view layer).
class ComponentConcept {
 public:
  virtual ~ComponentConcept() = default;
  virtual View body(const Environment& environment) const = 0;
};

template <class T>
class ComponentModel final : public ComponentConcept {
 public:
  explicit ComponentModel(T component) : component_(std::move(component)) {}
  View body(const Environment& environment) const override {
    if constexpr (ComponentWithEnvironment<T>) {
      return component_.body(environment);
    } else {
      return component_.body();
    }
  }

 private:
  T component_;
};

std::shared_ptr<const ViewNode> makeComponentNode(std::shared_ptr<const ComponentConcept> component);

}  // namespace detail

template <Component C>
View::View(C component)
    : node_(detail::makeComponentNode(std::allocate_shared<const detail::ComponentModel<C>>(
          detail::RecyclingAllocator<detail::ComponentModel<C>>{}, std::move(component)))) {}

}  // namespace zelto::kit
