#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/kit/DisplayList.hpp"
#include "platform/render/PangoTextSystem.hpp"

namespace zelto::render {

// What an output produced: the file's bytes, or why there are none.
struct RenderResult {
  std::vector<std::uint8_t> bytes;
  std::string error;  // empty on success
  bool ok() const { return error.empty(); }
};

// The lowest and highest raster scale of PNG output.
inline constexpr double smallestPngScale = 1;
inline constexpr double largestPngScale = 4;

// Renders display lists to image files: PNG at 1x to 4x, SVG and PDF with
// one point per layout point. Backgrounds are transparent where the list
// draws nothing. Bad input (a canvas that is empty or not finite, a scale
// out of range) gives an error and no output; a file is replaced only once
// its new content is complete.
class Renderer {
 public:
  explicit Renderer(const PangoTextSystem& text) : text_(text) {}

  // PNG bytes of `list` at `scale`: round(size × scale) pixels.
  RenderResult png(const kit::DisplayList& list, double scale) const;
  RenderResult svg(const kit::DisplayList& list) const;
  RenderResult pdf(const kit::DisplayList& list) const;

  // The same, written to `path`. The result carries no bytes.
  RenderResult renderPng(const kit::DisplayList& list, double scale, const std::filesystem::path& path) const;
  RenderResult renderSvg(const kit::DisplayList& list, const std::filesystem::path& path) const;
  RenderResult renderPdf(const kit::DisplayList& list, const std::filesystem::path& path) const;

 private:
  const PangoTextSystem& text_;
};

}  // namespace zelto::render
