#pragma once

#include <CLI/App.hpp>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "apps/zelto-limits-widget/WidgetScene.hpp"
#include "platform/host/RequestEnvironment.hpp"
#include "platform/render/PangoTextSystem.hpp"

namespace zelto::cli {

enum class RenderFormat { png, svg, pdf, tree, a11y };

// One `render` run: which family, on what canvas, into which format.
struct RenderRequest {
  scene::SceneSettings scene;
  double scale = 2;  // PNG pixels per point, 1 to 4
  RenderFormat format = RenderFormat::png;
  std::optional<std::filesystem::path> output;
  // Draw the snapshot the widget gallery gets (the sample dashboard) instead
  // of the timeline's entry.
  bool preview = false;
};

// "WxH" in points, both positive ("364x170", "300.5x200"); throws UsageError.
kit::Size parseCanvasSize(std::string_view text);

// "1", "2", "1.5": a scale as it appears in file names.
std::string scaleName(double scale);

// zelto-limits-<family>@<scale>x.<ext>
std::string defaultOutputName(kit::WidgetFamily family, double scale, RenderFormat format);

// The entry a host would draw: the timeline's one entry, or with `preview`
// the snapshot in the gallery context.
LimitEntry requestedEntry(const host::RequestEnvironment& environment, kit::WidgetFamily family, bool preview);

// Renders the requested entry. PNG, SVG and PDF go to the output file (the
// default name in the current folder without one) and its path is printed;
// tree and a11y JSON go to `out`. Returns the exit status; throws UsageError
// for bad values.
int runRender(const host::RequestEnvironment& environment, const RenderRequest& request,
              const render::PangoTextSystem& textSystem, std::ostream& out);

// The accessibility elements of a laid-out tree in reading order, as JSON:
// [{"label", "role", "frame": {x, y, width, height}, "enabled" (buttons)}].
std::string accessibilityJson(const kit::LaidOutTree& tree);

// `zelto-limits-widget render`: registers itself with `app`; run() once
// the command line is parsed and the request resolved.
class RenderCommand {
 public:
  explicit RenderCommand(CLI::App& app);
  RenderCommand(const RenderCommand&) = delete;
  RenderCommand& operator=(const RenderCommand&) = delete;

  bool parsed() const { return command_->parsed(); }
  int run(const host::RequestEnvironment& environment, std::ostream& out) const;

 private:
  CLI::App* command_;
  std::string family_;
  double scale_ = 2;
  std::string format_ = "png";
  std::optional<std::string> output_;
  bool preview_ = false;
  std::optional<std::string> size_;
  double textScale_ = 1;
  bool reduceMotion_ = false;
};

}  // namespace zelto::cli
