#include "platform/kit/View.hpp"

#include <cmath>

#include "platform/kit/Shapes.hpp"
#include "platform/kit/ViewNode.hpp"

namespace zelto::kit {
namespace detail {

std::shared_ptr<const ViewNode> makeComponentNode(std::shared_ptr<const ComponentConcept> component) {
  return makeNode(ComponentNode{std::move(component)});
}

View ViewAccess::make(std::shared_ptr<const ViewNode> node) { return View(std::move(node)); }

}  // namespace detail

namespace {

// Lengths from callers are sanitised where they enter: a negative or
// non-finite length would make frames meaningless, so it counts as zero
// (infinity stays where it is meaningful, in flexible maxima).
double nonNegative(double length) { return std::isfinite(length) && length > 0 ? length : 0; }

std::optional<double> nonNegative(std::optional<double> length) {
  if (!length) return std::nullopt;
  return nonNegative(*length);
}

std::optional<double> nonNegativeOrInfinite(std::optional<double> length) {
  if (!length) return std::nullopt;
  if (*length == infinity) return infinity;
  return nonNegative(*length);
}

double unitInterval(double value) { return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0; }

}  // namespace

View View::modified(auto modifier) const {
  return View(detail::makeNode(detail::ModifiedNode{*this, detail::Modifier(std::move(modifier))}));
}

View View::frame(std::optional<double> width, std::optional<double> height, Alignment alignment) const {
  return modified(detail::FixedFrameModifier{nonNegative(width), nonNegative(height), alignment});
}

View View::frame(const FlexibleFrame& bounds) const {
  FlexibleFrame clean = bounds;
  clean.minWidth = nonNegative(bounds.minWidth);
  clean.idealWidth = nonNegative(bounds.idealWidth);
  clean.maxWidth = nonNegativeOrInfinite(bounds.maxWidth);
  clean.minHeight = nonNegative(bounds.minHeight);
  clean.idealHeight = nonNegative(bounds.idealHeight);
  clean.maxHeight = nonNegativeOrInfinite(bounds.maxHeight);
  // A maximum below the minimum is raised to it, as the toolkit does.
  if (clean.minWidth && clean.maxWidth && *clean.maxWidth < *clean.minWidth) clean.maxWidth = clean.minWidth;
  if (clean.minHeight && clean.maxHeight && *clean.maxHeight < *clean.minHeight) clean.maxHeight = clean.minHeight;
  return modified(detail::FlexibleFrameModifier{clean});
}

View View::padding() const { return padding(Edges::all(), std::nullopt); }

View View::padding(double length) const { return padding(Edges::all(), length); }

View View::padding(Edges edges, std::optional<double> length) const {
  return padding(EdgeInsets::on(edges, length ? *length : defaultPadding));
}

View View::padding(const EdgeInsets& insets) const {
  // Negative padding is legitimate (it pulls the content out); only
  // non-finite amounts are refused.
  const auto finite = [](double v) { return std::isfinite(v) ? v : 0; };
  return modified(detail::PaddingModifier{
      {finite(insets.top), finite(insets.leading), finite(insets.bottom), finite(insets.trailing)}});
}

View View::background(const View& view, Alignment alignment) const {
  return modified(detail::BackgroundModifier{view, alignment});
}

View View::background(const Paint& paint) const { return background(Rectangle().fill(paint)); }

View View::overlay(const View& view, Alignment alignment) const {
  return modified(detail::OverlayModifier{view, alignment});
}

View View::overlay(const Paint& paint) const { return overlay(Rectangle().fill(paint)); }

View View::aspectRatio(double ratio, ContentMode mode) const {
  // A ratio that is not a positive number cannot shape a size: the modifier
  // then leaves the proposal as it is.
  return modified(detail::AspectRatioModifier{std::isfinite(ratio) && ratio > 0 ? ratio : 0, mode});
}

View View::layoutPriority(double priority) const {
  return modified(detail::LayoutPriorityModifier{std::isfinite(priority) ? priority : 0});
}

View View::ignoresSafeArea(Edges edges) const { return modified(detail::IgnoresSafeAreaModifier{edges}); }

View View::containerBackground(const View& background) const {
  return modified(detail::ContainerBackgroundModifier{background});
}

View View::foregroundStyle(const Paint& paint) const {
  return transformEnvironment([paint](Environment& environment) { environment.foregroundStyle = paint; });
}

View View::tint(const Color& color) const {
  return transformEnvironment([color](Environment& environment) { environment.tint = color; });
}

View View::font(const Font& font) const {
  return transformEnvironment([font](Environment& environment) { environment.font = font; });
}

View View::tracking(double points) const {
  const double clean = std::isfinite(points) ? points : 0;
  return transformEnvironment([clean](Environment& environment) { environment.tracking = clean; });
}

View View::monospacedDigit() const {
  return transformEnvironment([](Environment& environment) { environment.monospacedDigit = true; });
}

View View::lineLimit(std::optional<int> lines) const {
  // A text always shows at least one line.
  if (lines && *lines < 1) lines = 1;
  return transformEnvironment([lines](Environment& environment) { environment.lineLimit = lines; });
}

View View::minimumScaleFactor(double factor) const {
  // Shrinking to nothing would hide the text: the factor stays in (0, 1].
  const double clean = std::isfinite(factor) ? std::clamp(factor, 0.01, 1.0) : 1.0;
  return transformEnvironment([clean](Environment& environment) { environment.minimumScaleFactor = clean; });
}

View View::allowsTightening(bool allows) const {
  return transformEnvironment([allows](Environment& environment) { environment.allowsTightening = allows; });
}

View View::multilineTextAlignment(TextAlignment alignment) const {
  return transformEnvironment(
      [alignment](Environment& environment) { environment.multilineTextAlignment = alignment; });
}

View View::disabled(bool disabled) const {
  if (!disabled) return *this;
  return transformEnvironment([](Environment& environment) { environment.isEnabled = false; });
}

View View::transformEnvironment(std::function<void(Environment&)> change) const {
  if (!change) return *this;
  return modified(detail::EnvironmentModifier{std::move(change)});
}

View View::shadow(const Color& color, double radius, double x, double y) const {
  const auto finite = [](double v) { return std::isfinite(v) ? v : 0; };
  return modified(detail::ShadowModifier{Shadow{color, nonNegative(radius), finite(x), finite(y)}});
}

View View::opacity(double opacity) const { return modified(detail::OpacityModifier{unitInterval(opacity)}); }

View View::rotationEffect(double radians, UnitPoint anchor) const {
  return modified(detail::RotationModifier{std::isfinite(radians) ? radians : 0, anchor});
}

View View::hidden() const { return modified(detail::HiddenModifier{}); }

View View::accessibilityLabel(const Text& label) const {
  return modified(detail::AccessibilityLabelModifier{label.pieces()});
}

View View::accessibilityLabel(std::string verbatimLabel) const {
  return accessibilityLabel(Text::verbatim(std::move(verbatimLabel)));
}

View View::accessibilityHidden(bool hidden) const { return modified(detail::AccessibilityHiddenModifier{hidden}); }

View View::accessibilityElement(AccessibilityChildren children) const {
  return modified(detail::AccessibilityElementModifier{children});
}

View View::viewName(std::string typeName) const { return modified(detail::ViewNameModifier{std::move(typeName)}); }

View View::animation(std::optional<SpringAnimation> animation, std::string valueKey) const {
  if (!animation) return *this;
  return modified(detail::AnimationModifier{*animation, std::move(valueKey)});
}

}  // namespace zelto::kit
