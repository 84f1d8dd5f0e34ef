#pragma once

#include <optional>
#include <string_view>

namespace zelto::kit {

// The sizes a widget host draws a widget at.
enum class WidgetFamily { systemSmall, systemMedium, systemLarge };

// Content size of each family in points on the desktop host.
struct WidgetFamilySize {
  double width;
  double height;
};

constexpr WidgetFamilySize widgetFamilySize(WidgetFamily family) {
  switch (family) {
    case WidgetFamily::systemSmall:
      return {170, 170};
    case WidgetFamily::systemMedium:
      return {364, 170};
    case WidgetFamily::systemLarge:
      return {364, 382};
  }
  return {170, 170};
}

constexpr std::string_view widgetFamilyName(WidgetFamily family) {
  switch (family) {
    case WidgetFamily::systemSmall:
      return "small";
    case WidgetFamily::systemMedium:
      return "medium";
    case WidgetFamily::systemLarge:
      return "large";
  }
  return "small";
}

constexpr std::optional<WidgetFamily> widgetFamilyNamed(std::string_view name) {
  if (name == "small") return WidgetFamily::systemSmall;
  if (name == "medium") return WidgetFamily::systemMedium;
  if (name == "large") return WidgetFamily::systemLarge;
  return std::nullopt;
}

}  // namespace zelto::kit
