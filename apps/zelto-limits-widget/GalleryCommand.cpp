#include "apps/zelto-limits-widget/GalleryCommand.hpp"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>

#include "apps/zelto-limits-widget/RenderCommand.hpp"
#include "apps/zelto-limits-widget/RequestOptions.hpp"
#include "apps/zelto-limits-widget/WidgetScene.hpp"
#include "platform/kit/Kit.hpp"
#include "platform/render/RenderOutput.hpp"
#include "widget/runtime/ZeltoLimitsWidget.hpp"

namespace zelto::cli {
namespace {

// The sheet's geometry in points.
constexpr double sheetMargin = 40;
constexpr double widgetGap = 32;
constexpr double headerGap = 28;

// A neutral slate, like a desktop wallpaper, so the widgets' own dark
// surfaces and rounded corners stand out.
kit::Paint backdropPaint() {
  return kit::LinearGradient{kit::evenlySpaced({kit::Color::srgb8(92, 99, 118), kit::Color::srgb8(52, 57, 71)}),
                             kit::UnitPoint::topLeading(), kit::UnitPoint::bottomTrailing()};
}

kit::View galleryHeader() {
  using namespace kit;
  return VStack(HorizontalAlignment::leading, 6,
                {Text::localized(std::string(ZeltoLimitsWidget::displayName))
                     .font(Font::system(22, FontWeight::semibold))
                     .foregroundStyle(Color::white(0.96)),
                 Text::localized(std::string(ZeltoLimitsWidget::description))
                     .font(Font::system(13))
                     .foregroundStyle(Color::white(0.72))});
}

void append(kit::DisplayList& sheet, kit::DisplayList part, kit::Point origin) {
  sheet.commands.emplace_back(kit::PushTransform{kit::AffineTransform::translation(origin.x, origin.y)});
  for (auto& command : part.commands) sheet.commands.push_back(std::move(command));
  sheet.commands.emplace_back(kit::PopTransform{});
}

}  // namespace

kit::DisplayList galleryDisplayList(const host::RequestEnvironment& environment, const kit::TextSystem& textSystem) {
  // 1. Lay out each family from the gallery's snapshot.
  std::vector<kit::LaidOutTree> widgets;
  double widgetsWidth = 0;
  double widgetsHeight = 0;
  for (const kit::WidgetFamily family : ZeltoLimitsWidget::supportedFamilies) {
    const LimitEntry entry = requestedEntry(environment, family, true);
    widgets.push_back(scene::layoutScene(entry, environment, scene::settingsFor(family), textSystem));
    widgetsWidth += widgets.back().size.width + (widgets.size() > 1 ? widgetGap : 0);
    widgetsHeight = std::max(widgetsHeight, widgets.back().size.height);
  }

  // 2. The header, as wide as the row of widgets.
  kit::Environment headerEnvironment = scene::sceneEnvironment(environment, {}, textSystem);
  const kit::LaidOutTree header =
      kit::layout(galleryHeader(), kit::ProposedSize{widgetsWidth, std::nullopt}, headerEnvironment, textSystem);

  // 3. Backdrop, header, then the widgets top-aligned in one row, each on a
  //    soft drop shadow as a desktop draws them.
  kit::DisplayList sheet;
  sheet.size = {widgetsWidth + 2 * sheetMargin,
                header.size.height + headerGap + widgetsHeight + 2 * sheetMargin};
  const kit::Rect bounds{0, 0, sheet.size.width, sheet.size.height};
  sheet.commands.emplace_back(kit::FillPath{kit::Path::rectangle(bounds), backdropPaint(), bounds});
  append(sheet, kit::paint(header), {sheetMargin, sheetMargin});
  double x = sheetMargin;
  const double y = sheetMargin + header.size.height + headerGap;
  for (const auto& widget : widgets) {
    const kit::Rect outline{x, y, widget.size.width, widget.size.height};
    sheet.commands.emplace_back(kit::PushLayer{1, kit::Shadow{kit::Color::black(0.35), 10, 0, 6}});
    sheet.commands.emplace_back(kit::FillPath{
        kit::Path::continuousRoundedRectangle(outline, scene::widgetCornerRadius), kit::Color::black(), outline});
    sheet.commands.emplace_back(kit::PopLayer{});
    append(sheet, scene::paintScene(widget), {x, y});
    x += widget.size.width + widgetGap;
  }
  return sheet;
}

int runGallery(const host::RequestEnvironment& environment, const GalleryRequest& request,
               const render::PangoTextSystem& textSystem, std::ostream& out) {
  if (!(request.scale >= render::smallestPngScale && request.scale <= render::largestPngScale)) {
    throw UsageError("--scale must lie between 1 and 4, not " + scaleName(request.scale));
  }
  const std::filesystem::path path =
      request.output.value_or("zelto-limits-gallery@" + scaleName(request.scale) + "x.png");
  const render::Renderer renderer(textSystem);
  const auto result = renderer.renderPng(galleryDisplayList(environment, textSystem), request.scale, path);
  if (!result.ok()) {
    std::cerr << "zelto-limits-widget: " << result.error << '\n';
    return 1;
  }
  out << path.string() << '\n';
  return out ? 0 : 1;
}

GalleryCommand::GalleryCommand(CLI::App& app)
    : command_(app.add_subcommand("gallery", "Draw the widget gallery's contact sheet (every family) as PNG")) {
  command_->add_option("-o,--output", output_, "Output file (default: zelto-limits-gallery@<scale>x.png)")
      ->type_name("FILE");
  command_->add_option("--scale", scale_, "Pixels per point (default 2)")
      ->type_name("1..4")
      ->check(CLI::Range(1.0, 4.0).description(""));
}

int GalleryCommand::run(const host::RequestEnvironment& environment, std::ostream& out) const {
  GalleryRequest request;
  if (output_) request.output = *output_;
  request.scale = scale_;
  const render::PangoTextSystem textSystem;
  return runGallery(environment, request, textSystem, out);
}

}  // namespace zelto::cli
