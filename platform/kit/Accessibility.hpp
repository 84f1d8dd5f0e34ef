#pragma once

#include <string>
#include <vector>

#include "platform/kit/Geometry.hpp"
#include "platform/kit/LaidOutTree.hpp"

namespace zelto::kit {

// One thing a screen reader stops at.
struct AccessibilityElement {
  std::string identity;  // of the node that makes the element
  Rect frame;
  std::string label;
  bool isButton = false;
  bool isEnabled = true;
  bool operator==(const AccessibilityElement&) const = default;
};

// The tree's accessibility elements in reading order (the order of the views:
// a stack's children in turn, a view before its background and overlay):
// - hidden views (from accessibility or altogether) and their subtrees are left out;
// - texts are elements labelled with their full text (not the truncated one);
//   symbols with their name, words separated by spaces ("chevron left");
// - a view whose children are ignored is one element with its own label;
// - a view whose children are combined, and a button, is one element whose
//   label is its own or else its descendants' labels joined by ", ";
// - an explicit label on any other view makes it one element with that label
//   (its descendants are read as part of it);
// - shapes, spacers and containers are no elements of their own.
std::vector<AccessibilityElement> accessibilityElements(const LaidOutTree& tree);

}  // namespace zelto::kit
