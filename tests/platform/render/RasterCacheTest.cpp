#include "platform/render/GradientRasterCache.hpp"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>

#include "RenderTestSupport.hpp"
#include "platform/render/CairoOutput.hpp"

namespace zelto::render {
namespace {

// The pixels of an image surface, which is released.
std::vector<unsigned char> takeBytes(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  std::vector<unsigned char> bytes(
      data, data + cairo_image_surface_get_stride(surface) * cairo_image_surface_get_height(surface));
  cairo_surface_destroy(surface);
  return bytes;
}

// Draws `list` at `scale` into a fresh image and returns its bytes.
std::vector<unsigned char> rendered(const kit::DisplayList& list, double scale) {
  const int width = static_cast<int>(list.size.width * scale), height = static_cast<int>(list.size.height * scale);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  play(list, cr, scale, test::testTextSystem());
  cairo_destroy(cr);
  return takeBytes(surface);
}

// The same shapes drawn with Cairo's own gradient patterns, no cache.
std::vector<unsigned char> drawnDirectly(const kit::DisplayList& list, double scale) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(list.size.width * scale),
                                                        static_cast<int>(list.size.height * scale));
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, scale, scale);
  for (const auto& command : list.commands) {
    const auto& [path, paint, r] = std::get<kit::FillPath>(command);
    cairo_pattern_t* pattern = nullptr;
    const std::vector<kit::GradientStop>* stops = nullptr;
    if (const auto* linear = std::get_if<kit::LinearGradient>(&paint)) {
      const auto start = linear->startPoint.in(r), end = linear->endPoint.in(r);
      pattern = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
      stops = &linear->stops;
    } else {
      const auto& radial = std::get<kit::RadialGradient>(paint);
      const auto c = radial.center.in(r);
      pattern = cairo_pattern_create_radial(c.x, c.y, radial.startRadius, c.x, c.y, radial.endRadius);
      stops = &radial.stops;
    }
    for (const auto& [color, location] : *stops) {
      cairo_pattern_add_color_stop_rgba(pattern, location, color.red, color.green, color.blue, color.opacity);
    }
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, r.x, r.y, r.width, r.height);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
  }
  cairo_destroy(cr);
  return takeBytes(surface);
}

int largestDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
  EXPECT_EQ(a.size(), b.size());
  int largest = 0;
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) largest = std::max(largest, std::abs(a[i] - b[i]));
  return largest;
}

// A backdrop like the widget's: a diagonal gradient over a whole large
// widget and a clear-ending radial glow from beyond a corner.
kit::DisplayList backdrop() {
  const kit::Rect canvas{0, 0, 364, 382};
  const kit::LinearGradient diagonal{
      kit::evenlySpaced(
          {kit::Color::srgb8(7, 11, 35), kit::Color::srgb8(19, 27, 70, 0.94), kit::Color::srgb8(30, 38, 99)}),
      kit::UnitPoint::topLeading(), kit::UnitPoint::bottomTrailing()};
  const kit::RadialGradient glow{
      kit::evenlySpaced({kit::Color::srgb8(104, 118, 242, 0.62), kit::Color::clear()}), {1.05, -0.08}, 0, 260};
  return kit::DisplayList{canvas.size(),
                          {kit::FillPath{kit::Path::rectangle(canvas), diagonal, canvas},
                           kit::FillPath{kit::Path::rectangle(canvas), glow, canvas}}};
}

TEST(GradientRasterCache, LargeGradientsAreWithinThreeLevelsOfDrawingThemDirectly) {
  clearGradientRasterCache();
  auto list = backdrop();
  const auto first = rendered(list, 2);  // rasterises and caches
  EXPECT_LE(largestDifference(first, drawnDirectly(list, 2)), 3)
      << "dithering moves a pixel by a level, one colour per 2 x 2 block by another";
  EXPECT_EQ(rendered(list, 2), first) << "drawn again from the cache";
  // Another scale, or the same paint over other bounds, is not served stale pixels.
  EXPECT_LE(largestDifference(rendered(list, 3), drawnDirectly(list, 3)), 3);
  auto& fill = std::get<kit::FillPath>(list.commands[0]);
  fill.paintBounds = {0, 0, 364, 200};
  fill.path = kit::Path::rectangle(fill.paintBounds);
  list.commands.pop_back();
  EXPECT_LE(largestDifference(rendered(list, 2), drawnDirectly(list, 2)), 2);
}

TEST(GradientRasterCache, DarkGradientsShowNoBands) {
  // From night to midnight over the large widget's height at 2x: red rises
  // 12 levels over 764 pixels, a plain band every 64 pixels.
  const kit::Rect canvas{0, 0, 364, 382};
  const kit::LinearGradient dark{kit::evenlySpaced({kit::Color::srgb8(7, 11, 35), kit::Color::srgb8(19, 27, 70)})};
  const kit::DisplayList list{canvas.size(), {kit::FillPath{kit::Path::rectangle(canvas), dark, canvas}}};
  EXPECT_LE(largestDifference(rendered(list, 2), drawnDirectly(list, 2)), 2) << "one row repeated is the whole";
  test::RenderedImage image(list, 2);
  for (int channel = 0; channel < 3; ++channel) {
    int longest = 0, run = 0;
    double previous = -1;
    for (int y = 0; y < image.height(); ++y) {
      const test::Pixel p = image.pixel(100, y);
      const double value = channel == 0 ? p.red : channel == 1 ? p.green : p.blue;
      run = value == previous ? run + 1 : 1;
      longest = std::max(longest, run);
      previous = value;
    }
    EXPECT_LE(longest, 32) << "half a plain band; channel " << channel << " stays one value for " << longest
                           << " pixels";
  }
}

TEST(GradientRasterCache, SmallOrAngularGradientsAreLeftToCairo) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 800, 800);
  cairo_t* cr = cairo_create(surface);
  const kit::Rect large{0, 0, 700, 700}, small{0, 0, 40, 40};
  const auto stops = kit::evenlySpaced({kit::Color::white(), kit::Color::black()});
  cairo_rectangle(cr, 0, 0, 700, 700);
  EXPECT_TRUE(setCachedGradientSource(cr, kit::LinearGradient{stops}, large, false));
  EXPECT_FALSE(setCachedGradientSource(cr, kit::AngularGradient{stops}, large, false));
  cairo_new_path(cr);
  cairo_rectangle(cr, 0, 0, 40, 40);
  EXPECT_FALSE(setCachedGradientSource(cr, kit::LinearGradient{stops}, small, false));
  cairo_new_path(cr);
  cairo_rotate(cr, 0.3);  // a rotation would misplace device pixels
  cairo_rectangle(cr, 0, 0, 700, 700);
  EXPECT_FALSE(setCachedGradientSource(cr, kit::LinearGradient{stops}, large, false));
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

// A glowing dot whose colour and place can vary.
kit::DisplayList glowingDot(kit::Color color, double x) {
  const kit::Rect dot{x, 20, 10, 10};
  return kit::DisplayList{{80, 50},
                          {kit::PushLayer{1, kit::Shadow{color.withOpacity(0.8), 4, 0, 0}},
                           kit::FillPath{kit::Path::circle(dot), color, dot}, kit::PopLayer{}}};
}

TEST(GlowCache, RepeatedGlowIsTheSameAndChangedGlowIsNew) {
  const auto periwinkle = kit::Color::srgb8(174, 190, 255), coral = kit::Color::srgb8(255, 91, 111);
  const auto first = rendered(glowingDot(periwinkle, 20), 2);
  EXPECT_EQ(rendered(glowingDot(periwinkle, 20), 2), first);
  // Another colour or place must not reuse the cached glow.
  const auto recoloured = rendered(glowingDot(coral, 20), 2);
  const auto moved = rendered(glowingDot(periwinkle, 40), 2);
  EXPECT_GT(largestDifference(recoloured, first), 50);
  EXPECT_GT(largestDifference(moved, first), 50);
  // A glow just beside the dot, beyond its own fill, is lit in both.
  auto alphaAt = [](const std::vector<unsigned char>& image, int x, int y) { return image[(y * 160 + x) * 4 + 3]; };
  EXPECT_GT(alphaAt(first, 2 * 33, 2 * 25), 20);
  EXPECT_GT(alphaAt(moved, 2 * 53, 2 * 25), 20);
  EXPECT_EQ(alphaAt(moved, 2 * 33 - 20, 2 * 25), 0);
}

}  // namespace
}  // namespace zelto::render
