#include "apps/zelto-limits-widget/RenderCommand.hpp"

#include <CLI/CLI.hpp>
#include <boost/json/serialize.hpp>

#include <charconv>
#include <cmath>
#include <iostream>

#include "apps/zelto-limits-widget/RequestOptions.hpp"
#include "platform/host/HostDriver.hpp"
#include "platform/kit/Accessibility.hpp"
#include "platform/kit/Inspection.hpp"
#include "platform/render/RenderOutput.hpp"
#include "widget/runtime/LimitTimelineProvider.hpp"
#include "widget/runtime/ZeltoLimitsWidget.hpp"

namespace zelto::cli {
namespace {

constexpr std::string_view formatExtension(RenderFormat format) {
  switch (format) {
    case RenderFormat::png:
      return "png";
    case RenderFormat::svg:
      return "svg";
    case RenderFormat::pdf:
      return "pdf";
    case RenderFormat::tree:
      return "json";
    case RenderFormat::a11y:
      return "json";
  }
  return "png";
}

std::optional<double> parsePositive(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value <= 0) {
    return std::nullopt;
  }
  return value;
}

boost::json::object frameJson(const kit::Rect& frame) {
  return {{"x", frame.x}, {"y", frame.y}, {"width", frame.width}, {"height", frame.height}};
}

std::string_view roleOf(const kit::LaidOutTree& tree, const kit::AccessibilityElement& element) {
  if (element.isButton) return "button";
  const auto* node = kit::findByIdentity(tree, element.identity);
  if (node == nullptr) return "group";
  switch (node->kind) {
    case kit::NodeKind::text:
      return "text";
    case kit::NodeKind::image:
      return "image";
    default:
      return "group";
  }
}

}  // namespace

kit::Size parseCanvasSize(std::string_view text) {
  const auto separator = text.find('x');
  if (separator != std::string_view::npos) {
    const auto width = parsePositive(text.substr(0, separator));
    const auto height = parsePositive(text.substr(separator + 1));
    if (width && height) return {*width, *height};
  }
  throw UsageError("--size wants WIDTHxHEIGHT in points, both positive (e.g. 364x170), not \"" + std::string(text) +
                   "\"");
}

std::string scaleName(double scale) {
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, scale);
  return error == std::errc() ? std::string(buffer, end) : std::string("1");
}

std::string defaultOutputName(kit::WidgetFamily family, double scale, RenderFormat format) {
  return "zelto-limits-" + std::string(kit::widgetFamilyName(family)) + "@" + scaleName(scale) + "x." +
         std::string(formatExtension(format));
}

LimitEntry requestedEntry(const host::RequestEnvironment& environment, kit::WidgetFamily family, bool preview) {
  const LimitTimelineProvider provider;
  host::WidgetCenter center;
  const host::HostDriver<LimitEntry> driver(provider, center, std::string(ZeltoLimitsWidget::kind));
  if (preview) return driver.requestSnapshot(host::TimelineProviderContext{family, true, environment});
  return driver.requestTimeline(host::TimelineProviderContext{family, false, environment}).entries.front();
}

std::string accessibilityJson(const kit::LaidOutTree& tree) {
  boost::json::array elements;
  for (const auto& element : kit::accessibilityElements(tree)) {
    boost::json::object object{
        {"label", element.label}, {"role", roleOf(tree, element)}, {"frame", frameJson(element.frame)}};
    if (element.isButton) object["enabled"] = element.isEnabled;
    elements.push_back(std::move(object));
  }
  return boost::json::serialize(elements);
}

int runRender(const host::RequestEnvironment& environment, const RenderRequest& request,
              const render::PangoTextSystem& textSystem, std::ostream& out) {
  if (!(request.scale >= render::smallestPngScale && request.scale <= render::largestPngScale)) {
    throw UsageError("--scale must lie between 1 and 4, not " + scaleName(request.scale));
  }
  if (!(request.scene.textScale > 0 && std::isfinite(request.scene.textScale))) {
    throw UsageError("--text-scale must be a positive number");
  }
  const LimitEntry entry = requestedEntry(environment, request.scene.family, request.preview);
  const kit::LaidOutTree tree = scene::layoutScene(entry, environment, request.scene, textSystem);

  if (request.format == RenderFormat::tree || request.format == RenderFormat::a11y) {
    out << (request.format == RenderFormat::tree ? kit::inspectJson(tree) : accessibilityJson(tree)) << '\n';
    return out ? 0 : 1;
  }

  const std::filesystem::path path =
      request.output.value_or(defaultOutputName(request.scene.family, request.scale, request.format));
  const render::Renderer renderer(textSystem);
  const kit::DisplayList list = scene::paintScene(tree);
  const render::RenderResult result = request.format == RenderFormat::png ? renderer.renderPng(list, request.scale, path)
                                      : request.format == RenderFormat::svg ? renderer.renderSvg(list, path)
                                                                            : renderer.renderPdf(list, path);
  if (!result.ok()) {
    std::cerr << "zelto-limits-widget: " << result.error << '\n';
    return 1;
  }
  out << path.string() << '\n';
  return out ? 0 : 1;
}

RenderCommand::RenderCommand(CLI::App& app)
    : command_(app.add_subcommand("render", "Draw the widget of one family into an image, or print its tree")) {
  command_->add_option("--family", family_, "Widget family")
      ->required()
      ->check(CLI::IsMember({"small", "medium", "large"}));
  command_->add_option("--scale", scale_, "PNG pixels per point (default 2)")
      ->type_name("1..4")
      ->check(CLI::Range(1.0, 4.0).description(""));
  command_->add_option("--format", format_, "png (default), svg, pdf, tree (laid-out tree JSON), a11y")
      ->check(CLI::IsMember({"png", "svg", "pdf", "tree", "a11y"}));
  command_->add_option("-o,--output", output_, "Output file (default: zelto-limits-<family>@<scale>x.<ext>)")
      ->type_name("FILE");
  command_->add_flag("--preview", preview_, "Draw the widget gallery's snapshot (the sample dashboard)");
  command_->add_option("--size", size_, "Canvas in points instead of the family's, e.g. 300x200")->type_name("WxH");
  command_->add_option("--text-scale", textScale_, "The user's text size factor (default 1)")->type_name("F");
  command_->add_flag("--reduce-motion", reduceMotion_, "Render with reduce motion on");
}

int RenderCommand::run(const host::RequestEnvironment& environment, std::ostream& out) const {
  RenderRequest request;
  request.scene.family = *kit::widgetFamilyNamed(family_);
  if (size_) request.scene.canvas = parseCanvasSize(*size_);
  request.scene.textScale = textScale_;
  request.scene.reduceMotion = reduceMotion_;
  request.scale = scale_;
  request.format = format_ == "svg"    ? RenderFormat::svg
                   : format_ == "pdf"  ? RenderFormat::pdf
                   : format_ == "tree" ? RenderFormat::tree
                   : format_ == "a11y" ? RenderFormat::a11y
                                       : RenderFormat::png;
  if (output_) request.output = *output_;
  request.preview = preview_;
  const render::PangoTextSystem textSystem;
  return runRender(environment, request, textSystem, out);
}

}  // namespace zelto::cli
