#include "platform/kit/Inspection.hpp"

#include <algorithm>
#include <boost/json.hpp>

namespace zelto::kit {
namespace {

namespace json = boost::json;

std::string_view weightName(FontWeight weight) {
  switch (weight) {
    case FontWeight::ultraLight:
      return "ultraLight";
    case FontWeight::thin:
      return "thin";
    case FontWeight::light:
      return "light";
    case FontWeight::regular:
      return "regular";
    case FontWeight::medium:
      return "medium";
    case FontWeight::semibold:
      return "semibold";
    case FontWeight::bold:
      return "bold";
    case FontWeight::heavy:
      return "heavy";
    case FontWeight::black:
      return "black";
  }
  return "regular";
}

std::string_view horizontalName(HorizontalAlignment alignment) {
  switch (alignment) {
    case HorizontalAlignment::leading:
      return "leading";
    case HorizontalAlignment::center:
      return "center";
    case HorizontalAlignment::trailing:
      return "trailing";
  }
  return "center";
}

std::string_view verticalName(VerticalAlignment alignment) {
  switch (alignment) {
    case VerticalAlignment::top:
      return "top";
    case VerticalAlignment::center:
      return "center";
    case VerticalAlignment::bottom:
      return "bottom";
    case VerticalAlignment::firstTextBaseline:
      return "firstTextBaseline";
    case VerticalAlignment::lastTextBaseline:
      return "lastTextBaseline";
  }
  return "center";
}

std::string_view childrenName(AccessibilityChildren children) {
  switch (children) {
    case AccessibilityChildren::contain:
      return "contain";
    case AccessibilityChildren::combine:
      return "combine";
    case AccessibilityChildren::ignore:
      return "ignore";
  }
  return "contain";
}

json::object rect(const Rect& r) { return {{"x", r.x}, {"y", r.y}, {"width", r.width}, {"height", r.height}}; }

json::array point(UnitPoint p) { return {p.x, p.y}; }

json::object color(const Color& c) {
  return {{"red", c.red}, {"green", c.green}, {"blue", c.blue}, {"opacity", c.opacity}};
}

json::array stops(const std::vector<GradientStop>& gradientStops) {
  json::array result;
  for (const GradientStop& stop : gradientStops)
    result.push_back(json::object{{"color", color(stop.color)}, {"location", stop.location}});
  return result;
}

json::object font(const Font& f, const std::string& resolvedFamily, double size) {
  return {{"family", resolvedFamily},
          {"size", size},
          {"weight", weightName(f.weight)},
          {"design", f.design == FontDesign::rounded ? "rounded" : "standard"}};
}

void addContent(json::object& out, const LaidOutNode& node) {
  std::visit(
      [&](const auto& stored) {
        const auto& content = unboxed(stored);
        using C = std::decay_t<decltype(content)>;
        if constexpr (std::is_same_v<C, TextContent>) {
          const TextRequest& request = content.request;
          out["text"] = request.text;
          out["displayedText"] = content.measurement.displayedText;
          out["truncated"] = content.measurement.truncated;
          out["lineCount"] = content.measurement.lineCount;
          out["font"] = font(request.font, content.resolvedFamily,
                             request.font.scaledSize(request.textScale) * content.measurement.appliedScale);
          out["tracking"] = request.tracking;
          out["monospacedDigits"] = request.monospacedDigits;
          out["minimumScaleFactor"] = request.minimumScaleFactor;
          out["allowsTightening"] = request.allowsTightening;
          if (request.lineLimit) out["lineLimit"] = *request.lineLimit;
          out["foreground"] = inspectPaint(content.paint);
          if (content.nextRelativeChange) out["nextRelativeChange"] = *content.nextRelativeChange;
        } else if constexpr (std::is_same_v<C, SymbolContent>) {
          out["symbol"] = content.request.name;
          out["known"] = content.measurement.known;
          out["font"] = font(content.request.font, content.resolvedFamily,
                             content.request.font.scaledSize(content.request.textScale));
          out["foreground"] = inspectPaint(content.paint);
        } else if constexpr (std::is_same_v<C, ShapeContent>) {
          out["shape"] = json::object{{"kind", shapeKindName(content.geometry.kind)},
                                      {"cornerRadius", content.geometry.cornerRadius},
                                      {"continuous", content.geometry.cornerStyle == RoundedCornerStyle::continuous},
                                      {"trimFrom", content.geometry.trimFrom},
                                      {"trimTo", content.geometry.trimTo}};
          if (content.mode == ShapeContent::Mode::fill) {
            out["fill"] = inspectPaint(content.paint);
          } else {
            out["stroke"] = inspectPaint(content.paint);
            out["lineWidth"] = content.stroke.lineWidth;
          }
        } else if constexpr (std::is_same_v<C, StackContent>) {
          if (content.spacing) out["spacing"] = *content.spacing;
          out["alignment"] = node.kind == NodeKind::vstack ? json::value(horizontalName(content.alignment.horizontal))
                             : node.kind == NodeKind::hstack
                                 ? json::value(verticalName(content.alignment.vertical))
                                 : json::value(json::array{horizontalName(content.alignment.horizontal),
                                                           verticalName(content.alignment.vertical)});
        } else if constexpr (std::is_same_v<C, SpacerContent>) {
          out["minLength"] = content.minLength;
        } else if constexpr (std::is_same_v<C, PaddingContent>) {
          out["insets"] =
              json::array{content.insets.top, content.insets.leading, content.insets.bottom, content.insets.trailing};
        } else if constexpr (std::is_same_v<C, ButtonContent>) {
          out["button"] = json::object{
              {"intent", content.intent.identifier}, {"title", content.intent.title}, {"enabled", content.enabled}};
        } else if constexpr (std::is_same_v<C, ShadowContent>) {
          out["shadow"] = json::object{{"color", color(content.shadow.color)},
                                       {"radius", content.shadow.radius},
                                       {"x", content.shadow.x},
                                       {"y", content.shadow.y}};
        } else if constexpr (std::is_same_v<C, OpacityContent>) {
          out["ownOpacity"] = content.opacity;
        } else if constexpr (std::is_same_v<C, RotationContent>) {
          out["rotation"] = content.radians;
        } else if constexpr (std::is_same_v<C, AspectRatioContent>) {
          out["ratio"] = content.ratio;
        }
      },
      node.content);
}

json::object inspectNode(const LaidOutTree& tree, const LaidOutNode& node) {
  json::object out;
  out["kind"] = nodeKindName(node.kind);
  out["identity"] = node.identity;
  out["frame"] = rect(node.frame);
  out["opacity"] = node.opacity;
  out["hidden"] = node.hidden;
  if (!node.viewNames.empty()) {
    out["view"] = node.viewNames.front();
    if (node.viewNames.size() > 1) out["views"] = json::array(node.viewNames.begin(), node.viewNames.end());
  }
  addContent(out, node);
  if (node.accessibility.label) out["accessibilityLabel"] = *node.accessibility.label;
  if (node.accessibility.hidden) out["accessibilityHidden"] = true;
  if (node.accessibility.children != AccessibilityChildren::contain) {
    out["accessibilityChildren"] = childrenName(node.accessibility.children);
  }
  if (node.animation) {
    out["animation"] = json::object{{"response", node.animation->spring.response},
                                    {"dampingFraction", node.animation->spring.dampingFraction},
                                    {"blendDuration", node.animation->spring.blendDuration},
                                    {"value", node.animation->valueKey}};
  }
  const auto children = tree.children(node);
  if (!children.empty()) {
    json::array list;
    for (NodeIndex child : children) list.push_back(inspectNode(tree, tree.node(child)));
    out["children"] = std::move(list);
  }
  return out;
}

void collectInOrder(const LaidOutTree& tree, NodeIndex index, std::vector<const LaidOutNode*>& out) {
  out.push_back(&tree.node(index));
  for (NodeIndex child : tree.children(index)) collectInOrder(tree, child, out);
}

bool textMatches(const LaidOutNode& node, std::string_view text) {
  const auto* content = node.as<TextContent>();
  return content != nullptr && (content->request.text == text || content->measurement.displayedText == text);
}

}  // namespace

json::value inspectPaint(const Paint& paint) {
  return std::visit(
      [](const auto& p) -> json::value {
        using P = std::decay_t<decltype(p)>;
        if constexpr (std::is_same_v<P, Color>) {
          return color(p);
        } else if constexpr (std::is_same_v<P, LinearGradient>) {
          return json::object{{"type", "linear"},
                              {"stops", stops(p.stops)},
                              {"start", point(p.startPoint)},
                              {"end", point(p.endPoint)}};
        } else if constexpr (std::is_same_v<P, RadialGradient>) {
          return json::object{{"type", "radial"},
                              {"stops", stops(p.stops)},
                              {"center", point(p.center)},
                              {"startRadius", p.startRadius},
                              {"endRadius", p.endRadius}};
        } else {
          return json::object{{"type", "angular"},
                              {"stops", stops(p.stops)},
                              {"center", point(p.center)},
                              {"startAngle", p.startAngle},
                              {"endAngle", p.endAngle}};
        }
      },
      paint);
}

json::value inspect(const LaidOutTree& tree) {
  json::object document;
  document["size"] = json::object{{"width", tree.size.width}, {"height", tree.size.height}};
  document["safeArea"] = rect(tree.safeArea);
  if (tree.nextRelativeChange) {
    document["nextRelativeChange"] = *tree.nextRelativeChange;
  } else {
    document["nextRelativeChange"] = nullptr;
  }
  if (!tree.nodes.empty()) document["root"] = inspectNode(tree, tree.root());
  return document;
}

std::string inspectJson(const LaidOutTree& tree) { return json::serialize(inspect(tree)); }

std::vector<const LaidOutNode*> nodesInOrder(const LaidOutTree& tree) {
  std::vector<const LaidOutNode*> nodes;
  if (!tree.nodes.empty()) collectInOrder(tree, tree.rootIndex, nodes);
  return nodes;
}

const LaidOutNode* findText(const LaidOutTree& tree, std::string_view text) {
  for (const LaidOutNode* node : nodesInOrder(tree)) {
    if (textMatches(*node, text)) return node;
  }
  return nullptr;
}

std::vector<const LaidOutNode*> findAllTexts(const LaidOutTree& tree, std::string_view text) {
  std::vector<const LaidOutNode*> found;
  for (const LaidOutNode* node : nodesInOrder(tree)) {
    if (textMatches(*node, text)) found.push_back(node);
  }
  return found;
}

std::vector<const LaidOutNode*> findAll(const LaidOutTree& tree, NodeKind kind) {
  std::vector<const LaidOutNode*> found;
  for (const LaidOutNode* node : nodesInOrder(tree)) {
    if (node->kind == kind) found.push_back(node);
  }
  return found;
}

const LaidOutNode* findByAccessibilityLabel(const LaidOutTree& tree, std::string_view label) {
  for (const LaidOutNode* node : nodesInOrder(tree)) {
    if (node->accessibility.label && *node->accessibility.label == label) return node;
  }
  return nullptr;
}

const LaidOutNode* findByIdentity(const LaidOutTree& tree, std::string_view identity) {
  for (const LaidOutNode* node : nodesInOrder(tree)) {
    if (node->identity == identity) return node;
  }
  return nullptr;
}

std::vector<const LaidOutNode*> findViews(const LaidOutTree& tree, std::string_view typeName) {
  std::vector<const LaidOutNode*> found;
  for (const LaidOutNode* node : nodesInOrder(tree)) {
    if (std::find(node->viewNames.begin(), node->viewNames.end(), typeName) != node->viewNames.end()) {
      found.push_back(node);
    }
  }
  return found;
}

}  // namespace zelto::kit
