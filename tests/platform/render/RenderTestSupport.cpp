#include "RenderTestSupport.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/render/CairoOutput.hpp"

namespace zelto::render::test {

std::shared_ptr<const FontProbe> testFontProbe() {
  static const auto probe = std::make_shared<const FontProbe>(std::filesystem::path(ZELTO_RENDER_FONTS_CONF));
  return probe;
}

const PangoTextSystem& testTextSystem() {
  static const PangoTextSystem system(testFontProbe());
  return system;
}

Pixel pixelOf(const kit::Color& c) {
  return {c.red * c.opacity * 255, c.green * c.opacity * 255, c.blue * c.opacity * 255, c.opacity * 255};
}

std::string testOutputDirectory() {
  const char* configured = std::getenv("ZELTO_TEST_OUTPUT_DIR");
  std::filesystem::path directory = configured != nullptr && *configured != '\0' ? configured : "/tmp";
  std::error_code ignored;
  std::filesystem::create_directories(directory, ignored);
  return directory.string();
}

RenderedImage::RenderedImage(const kit::DisplayList& list, double scale) : scale_(scale) {
  const int w = static_cast<int>(std::lround(list.size.width * scale));
  const int h = static_cast<int>(std::lround(list.size.height * scale));
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(surface_);
  play(list, cr, scale, testTextSystem());
  cairo_destroy(cr);
  cairo_surface_flush(surface_);
}

RenderedImage::~RenderedImage() {
  if (!failures_.empty()) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info != nullptr ? std::string(info->test_suite_name()) + "." + info->name() : "render-test";
    std::replace(name.begin(), name.end(), '/', '_');
    const std::string base = testOutputDirectory() + "/" + name;
    cairo_surface_write_to_png(surface_, (base + "-actual.png").c_str());
    // The diff: the image on grey, failing pixels and their neighbours magenta.
    cairo_surface_t* diff = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width(), height());
    cairo_t* cr = cairo_create(diff);
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    cairo_paint(cr);
    cairo_set_source_surface(cr, surface_, 0, 0);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 1, 0, 1);
    for (const auto& [x, y] : failures_) cairo_rectangle(cr, x - 1, y - 1, 3, 3);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_write_to_png(diff, (base + "-diff.png").c_str());
    cairo_surface_destroy(diff);
    std::fprintf(stderr, "render test images: %s-actual.png, %s-diff.png\n", base.c_str(), base.c_str());
  }
  cairo_surface_destroy(surface_);
}

int RenderedImage::width() const { return cairo_image_surface_get_width(surface_); }
int RenderedImage::height() const { return cairo_image_surface_get_height(surface_); }

Pixel RenderedImage::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width() || y >= height()) return {};
  const unsigned char* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
  uint32_t value = 0;
  std::memcpy(&value, row + 4 * x, 4);
  return {static_cast<double>((value >> 16) & 0xff), static_cast<double>((value >> 8) & 0xff),
          static_cast<double>(value & 0xff), static_cast<double>(value >> 24)};
}

Pixel RenderedImage::at(double x, double y) const {
  return pixel(static_cast<int>(std::floor(x * scale_)), static_cast<int>(std::floor(y * scale_)));
}

void RenderedImage::markFailure(double x, double y) {
  failures_.emplace_back(static_cast<int>(std::floor(x * scale_)), static_cast<int>(std::floor(y * scale_)));
}

::testing::AssertionResult RenderedImage::matches(double x, double y, const Pixel& expected, double tolerance) {
  const Pixel actual = at(x, y);
  const double difference = std::max({std::abs(actual.red - expected.red), std::abs(actual.green - expected.green),
                                      std::abs(actual.blue - expected.blue), std::abs(actual.alpha - expected.alpha)});
  if (difference <= tolerance) return ::testing::AssertionSuccess();
  markFailure(x, y);
  return ::testing::AssertionFailure() << "pixel at (" << x << ", " << y << ") pt is (" << actual.red << ", "
                                       << actual.green << ", " << actual.blue << ", " << actual.alpha << "), expected ("
                                       << expected.red << ", " << expected.green << ", " << expected.blue << ", "
                                       << expected.alpha << ") within " << tolerance << "; largest difference "
                                       << difference;
}

::testing::AssertionResult RenderedImage::alphaWithin(double x, double y, double low, double high) {
  const double alpha = alphaAt(x, y);
  if (alpha >= low && alpha <= high) return ::testing::AssertionSuccess();
  markFailure(x, y);
  return ::testing::AssertionFailure() << "coverage at (" << x << ", " << y << ") pt is " << alpha << ", expected "
                                       << low << "..." << high;
}

kit::StrokeStyle lineStyle(double width, kit::LineCap cap) {
  kit::StrokeStyle style;
  style.lineWidth = width;
  style.cap = cap;
  return style;
}

kit::TextRequest interRequest(std::string text, double size, kit::FontWeight weight) {
  kit::TextRequest request;
  request.text = std::move(text);
  request.font = kit::Font::system(size, weight);
  return request;
}

}  // namespace zelto::render::test
