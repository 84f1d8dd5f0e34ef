#include "platform/kit/LaidOutTree.hpp"

namespace zelto::kit {

std::string_view nodeKindName(NodeKind kind) {
  switch (kind) {
    case NodeKind::root:
      return "Root";
    case NodeKind::text:
      return "Text";
    case NodeKind::image:
      return "Image";
    case NodeKind::shape:
      return "Shape";
    case NodeKind::hstack:
      return "HStack";
    case NodeKind::vstack:
      return "VStack";
    case NodeKind::zstack:
      return "ZStack";
    case NodeKind::spacer:
      return "Spacer";
    case NodeKind::frame:
      return "Frame";
    case NodeKind::padding:
      return "Padding";
    case NodeKind::background:
      return "Background";
    case NodeKind::overlay:
      return "Overlay";
    case NodeKind::geometryReader:
      return "GeometryReader";
    case NodeKind::aspectRatio:
      return "AspectRatio";
    case NodeKind::button:
      return "Button";
    case NodeKind::opacity:
      return "Opacity";
    case NodeKind::shadow:
      return "Shadow";
    case NodeKind::rotation:
      return "Rotation";
    case NodeKind::ignoresSafeArea:
      return "IgnoresSafeArea";
    case NodeKind::compositingGroup:
      return "CompositingGroup";
  }
  return "Unknown";
}

std::string_view shapeKindName(ShapeKind kind) {
  switch (kind) {
    case ShapeKind::rectangle:
      return "Rectangle";
    case ShapeKind::roundedRectangle:
      return "RoundedRectangle";
    case ShapeKind::capsule:
      return "Capsule";
    case ShapeKind::circle:
      return "Circle";
  }
  return "Shape";
}

}  // namespace zelto::kit
