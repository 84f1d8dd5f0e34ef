// Constructors of the small primitives: spacer, group, conditional content,
// lists, geometry reader, button and symbol image.

#include <cmath>

#include "platform/kit/Button.hpp"
#include "platform/kit/ForEach.hpp"
#include "platform/kit/GeometryReader.hpp"
#include "platform/kit/Group.hpp"
#include "platform/kit/Image.hpp"
#include "platform/kit/Spacer.hpp"
#include "platform/kit/ViewNode.hpp"

namespace zelto::kit {

Spacer::Spacer(std::optional<double> minLength)
    : View(detail::makeNode(detail::SpacerNode{
          minLength ? std::optional<double>(std::isfinite(*minLength) ? std::max(0.0, *minLength) : 0)
                    : std::nullopt})) {}

Group::Group(std::vector<View> children) : View(detail::makeNode(detail::GroupNode{std::move(children)})) {}

View when(bool condition, View content) {
  if (!condition) return detail::ViewAccess::make(detail::makeNode(detail::ConditionalNode{false, View()}));
  return detail::ViewAccess::make(detail::makeNode(detail::ConditionalNode{true, std::move(content)}));
}

View when(bool condition, View content, View otherwise) {
  return detail::ViewAccess::make(
      detail::makeNode(detail::ConditionalNode{condition, condition ? std::move(content) : std::move(otherwise)}));
}

View detail::makeForEach(std::vector<ForEachElement> elements) {
  return ViewAccess::make(makeNode(ForEachNode{std::move(elements)}));
}

GeometryReader::GeometryReader(std::function<View(Size)> content)
    : View(detail::makeNode(detail::GeometryReaderNode{std::move(content)})) {}

Button::Button(IntentReference intent, View label)
    : View(detail::makeNode(detail::ButtonNode{std::move(intent), std::move(label)})) {}

Image::Image(std::string systemName) : View(detail::makeNode(detail::SymbolNode{std::move(systemName)})) {}

}  // namespace zelto::kit
