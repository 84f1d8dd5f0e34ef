#include "platform/render/RenderOutput.hpp"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>

#include "platform/render/CairoOutput.hpp"
#include "platform/render/CairoPlayer.hpp"

namespace zelto::render {

namespace {

// Larger images than this many pixels a side are refused.
constexpr double largestPixelSide = 16384;

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* bytes = static_cast<std::vector<std::uint8_t>*>(closure);
  bytes->insert(bytes->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

std::string canvasError(const kit::Size& size) {
  if (!std::isfinite(size.width) || !std::isfinite(size.height)) return "canvas size is not a finite number";
  if (size.width <= 0 || size.height <= 0) return "canvas is empty";
  return {};
}

RenderResult failure(std::string message) { return {{}, std::move(message)}; }

// Draws the list on a vector surface made by `create` (which streams into
// the given byte vector) with one point per layout point.
RenderResult renderVector(const kit::DisplayList& list, const PangoTextSystem& text,
                          const std::function<cairo_surface_t*(cairo_write_func_t, void*, double, double)>& create) {
  if (auto error = canvasError(list.size); !error.empty()) return failure(error);
  RenderResult result;
  cairo_surface_t* surface = create(appendBytes, &result.bytes, list.size.width, list.size.height);
  cairo_t* cr = cairo_create(surface);
  CairoPlayer(text).play(list, cr, 1);
  cairo_show_page(cr);
  const cairo_status_t drawStatus = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const cairo_status_t surfaceStatus = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (drawStatus != CAIRO_STATUS_SUCCESS) return failure(cairo_status_to_string(drawStatus));
  if (surfaceStatus != CAIRO_STATUS_SUCCESS) return failure(cairo_status_to_string(surfaceStatus));
  return result;
}

// Writes `bytes` to `path` through a temporary file beside it, so that an
// existing file is replaced only by complete content.
RenderResult writeFile(const RenderResult& rendered, const std::filesystem::path& path) {
  if (!rendered.ok()) return failure(rendered.error);
  std::filesystem::path partial = path;
  partial += ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return failure("cannot write " + partial.string() + ": " + std::strerror(errno));
    out.write(reinterpret_cast<const char*>(rendered.bytes.data()),
              static_cast<std::streamsize>(rendered.bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(partial, ignored);
      return failure("cannot write " + partial.string());
    }
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) {
    std::filesystem::remove(partial, error);
    return failure("cannot replace " + path.string() + ": " + error.message());
  }
  return {};
}

}  // namespace

void play(const kit::DisplayList& list, cairo_t* cr, double scale, const PangoTextSystem& text) {
  CairoPlayer(text).play(list, cr, scale);
}

RenderResult Renderer::png(const kit::DisplayList& list, double scale) const {
  if (auto error = canvasError(list.size); !error.empty()) return failure(error);
  if (!std::isfinite(scale) || scale < smallestPngScale || scale > largestPngScale) {
    return failure("scale must be between 1 and 4");
  }
  const double width = std::round(list.size.width * scale), height = std::round(list.size.height * scale);
  if (width < 1 || height < 1) return failure("canvas is smaller than a pixel");
  if (width > largestPixelSide || height > largestPixelSide)
    return failure("image would be larger than 16384 pixels a side");
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    const std::string message = cairo_status_to_string(cairo_surface_status(surface));
    cairo_surface_destroy(surface);
    return failure(message);
  }
  cairo_t* cr = cairo_create(surface);
  CairoPlayer(text_).play(list, cr, scale);
  const cairo_status_t drawStatus = cairo_status(cr);
  cairo_destroy(cr);
  RenderResult result;
  const cairo_status_t writeStatus = cairo_surface_write_to_png_stream(surface, appendBytes, &result.bytes);
  cairo_surface_destroy(surface);
  if (drawStatus != CAIRO_STATUS_SUCCESS) return failure(cairo_status_to_string(drawStatus));
  if (writeStatus != CAIRO_STATUS_SUCCESS) return failure(cairo_status_to_string(writeStatus));
  return result;
}

RenderResult Renderer::svg(const kit::DisplayList& list) const {
  return renderVector(list, text_, [](cairo_write_func_t write, void* closure, double width, double height) {
    cairo_surface_t* surface = cairo_svg_surface_create_for_stream(write, closure, width, height);
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PT);
    return surface;
  });
}

RenderResult Renderer::pdf(const kit::DisplayList& list) const {
  return renderVector(list, text_, [](cairo_write_func_t write, void* closure, double width, double height) {
    return cairo_pdf_surface_create_for_stream(write, closure, width, height);
  });
}

RenderResult Renderer::renderPng(const kit::DisplayList& list, double scale, const std::filesystem::path& path) const {
  return writeFile(png(list, scale), path);
}

RenderResult Renderer::renderSvg(const kit::DisplayList& list, const std::filesystem::path& path) const {
  return writeFile(svg(list), path);
}

RenderResult Renderer::renderPdf(const kit::DisplayList& list, const std::filesystem::path& path) const {
  return writeFile(pdf(list), path);
}

}  // namespace zelto::render
