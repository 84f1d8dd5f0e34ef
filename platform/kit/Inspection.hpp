#pragma once

#include <boost/json/value.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kit/LaidOutTree.hpp"

namespace zelto::kit {

// The laid-out tree as JSON, for tests and for looking at a render without
// pixels. Each node: "kind", "identity", "frame" {x, y, width, height},
// "opacity" (effective), "hidden", and where they apply: "text" (as
// resolved), "displayedText" (as drawn, with "…" where cut), "truncated",
// "lineCount", "font" {family (resolved), size (as drawn), weight, design},
// "tracking", "monospacedDigits", "foreground" (a paint), "symbol", "shape"
// {kind, cornerRadius, trimFrom, trimTo}, "fill"/"stroke" (+"lineWidth"),
// "spacing", "alignment", "shadow", "rotation", "button" {intent, title,
// enabled}, "accessibilityLabel", "accessibilityHidden",
// "accessibilityChildren", "animation", "children". The document also
// carries the canvas "size" and "nextRelativeChange". A node where named
// components begin carries "view" (the outermost one's type name) and, when
// several begin there, "views" (all of them, outermost first).
boost::json::value inspect(const LaidOutTree& tree);
std::string inspectJson(const LaidOutTree& tree);

// A paint as JSON: a colour {red, green, blue, opacity}, or a gradient
// {type, stops: [{color, location}], ...}.
boost::json::value inspectPaint(const Paint& paint);

// Queries for tests. Texts match their resolved text or the text as drawn.
const LaidOutNode* findText(const LaidOutTree& tree, std::string_view text);
std::vector<const LaidOutNode*> findAllTexts(const LaidOutTree& tree, std::string_view text);
std::vector<const LaidOutNode*> findAll(const LaidOutTree& tree, NodeKind kind);
const LaidOutNode* findByAccessibilityLabel(const LaidOutTree& tree, std::string_view label);
const LaidOutNode* findByIdentity(const LaidOutTree& tree, std::string_view identity);
// Nodes where a component of the type name begins, in tree order.
std::vector<const LaidOutNode*> findViews(const LaidOutTree& tree, std::string_view typeName);

// All nodes in tree order (depth first, children in order).
std::vector<const LaidOutNode*> nodesInOrder(const LaidOutTree& tree);

}  // namespace zelto::kit
