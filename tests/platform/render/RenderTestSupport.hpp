#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/kit/DisplayList.hpp"
#include "platform/render/FontProbe.hpp"
#include "platform/render/PangoTextSystem.hpp"

namespace zelto::render::test {

// Fonts pinned by tests/platform/render/fonts.conf: Inter and DejaVu only.
std::shared_ptr<const FontProbe> testFontProbe();
const PangoTextSystem& testTextSystem();

// Premultiplied RGBA components, 0...255.
struct Pixel {
  double red = 0, green = 0, blue = 0, alpha = 0;
};

// The pixel a colour makes where it covers fully.
Pixel pixelOf(const kit::Color& color);

// A display list drawn into an image at a scale, for checks of single
// pixels. Points are layout points: the pixel that contains the point at
// the image's scale is read. When a check fails, the image and a copy with
// the failing pixels marked in magenta are written to $ZELTO_TEST_OUTPUT_DIR
// (or /tmp) under the test's name.
class RenderedImage {
 public:
  RenderedImage(const kit::DisplayList& list, double scale);
  ~RenderedImage();
  RenderedImage(const RenderedImage&) = delete;
  RenderedImage& operator=(const RenderedImage&) = delete;

  int width() const;
  int height() const;
  double scale() const { return scale_; }
  Pixel pixel(int x, int y) const;
  Pixel at(double x, double y) const;
  double alphaAt(double x, double y) const { return at(x, y).alpha / 255; }
  // The centre, in points, of the pixel that holds coordinate `v`.
  double pixelCenter(double v) const { return (std::floor(v * scale_) + 0.5) / scale_; }

  // Whether the pixel at (x, y) points is within `tolerance` (per channel,
  // of 255) of `expected`; marks it for the diff image when not.
  ::testing::AssertionResult matches(double x, double y, const Pixel& expected, double tolerance);
  // Whether the pixel's coverage lies within [low, high] (0...1).
  ::testing::AssertionResult alphaWithin(double x, double y, double low, double high);

 private:
  void markFailure(double x, double y);

  cairo_surface_t* surface_ = nullptr;
  double scale_ = 1;
  std::vector<std::pair<int, int>> failures_;
};

// Where tests write images that explain a failure.
std::string testOutputDirectory();

// A stroke of `width` with the given cap and otherwise default style.
kit::StrokeStyle lineStyle(double width, kit::LineCap cap = kit::LineCap::butt);

kit::TextRequest interRequest(std::string text, double size, kit::FontWeight weight = kit::FontWeight::regular);

}  // namespace zelto::render::test
