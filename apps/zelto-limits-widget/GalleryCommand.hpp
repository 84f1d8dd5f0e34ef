#pragma once

#include <CLI/App.hpp>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "platform/host/RequestEnvironment.hpp"
#include "platform/kit/DisplayList.hpp"
#include "platform/kit/TextSystem.hpp"
#include "platform/render/PangoTextSystem.hpp"

namespace zelto::cli {

// The widget gallery's contact sheet on a neutral desktop-like backdrop: the
// widget's display name and description, then its families side by side
// (in the order the widget declares them), each drawn from the gallery's
// snapshot (the sample dashboard).
kit::DisplayList galleryDisplayList(const host::RequestEnvironment& environment, const kit::TextSystem& textSystem);

struct GalleryRequest {
  std::optional<std::filesystem::path> output;  // default: zelto-limits-gallery@<scale>x.png
  double scale = 2;
};

// Writes the sheet as PNG and prints its path; returns the exit status.
// Throws UsageError for a scale outside 1 to 4.
int runGallery(const host::RequestEnvironment& environment, const GalleryRequest& request,
               const render::PangoTextSystem& textSystem, std::ostream& out);

// `zelto-limits-widget gallery`: registers itself with `app`.
class GalleryCommand {
 public:
  explicit GalleryCommand(CLI::App& app);
  GalleryCommand(const GalleryCommand&) = delete;
  GalleryCommand& operator=(const GalleryCommand&) = delete;

  bool parsed() const { return command_->parsed(); }
  int run(const host::RequestEnvironment& environment, std::ostream& out) const;

 private:
  CLI::App* command_;
  std::optional<std::string> output_;
  double scale_ = 2;
};

}  // namespace zelto::cli
