#include "platform/render/GaussianBlur.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace zelto::render {
namespace {

TEST(GaussianKernel, IsNormalisedSymmetricAndReachesThreeSigma) {
  for (double sigma : {0.5, 1.0, 2.5, 7.3}) {
    const auto k = gaussianKernel(sigma);
    EXPECT_EQ(k.size(), 2 * static_cast<std::size_t>(std::ceil(3 * sigma)) + 1);
    EXPECT_NEAR(std::accumulate(k.begin(), k.end(), 0.0), 1, 1e-12);
    for (std::size_t i = 0; i < k.size() / 2; ++i) EXPECT_DOUBLE_EQ(k[i], k[k.size() - 1 - i]);
    EXPECT_EQ(std::max_element(k.begin(), k.end()) - k.begin(), static_cast<long>(k.size() / 2));
  }
  EXPECT_EQ(gaussianKernel(0), std::vector<double>{1});
  EXPECT_EQ(gaussianKernel(NAN), std::vector<double>{1});
}

unsigned char valueAt(cairo_surface_t* s, int x, int y) {
  return cairo_image_surface_get_data(s)[y * cairo_image_surface_get_stride(s) + x];
}

TEST(GaussianBlur, SpreadsAnEdgeLikeTheErrorFunction) {
  // A half plane: the blurred edge follows the Gaussian's integral.
  const int size = 96;
  const double sigma = 4;
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, size, size);
  cairo_t* cr = cairo_create(mask);
  cairo_rectangle(cr, 0, 0, 48, size);
  cairo_fill(cr);
  cairo_destroy(cr);
  cairo_surface_t* blurred = gaussianBlurredAlpha(mask, sigma);
  for (int x = 36; x < 60; ++x) {
    // Pixel x covers [x, x + 1); its centre is x + 0.5, the edge is at 48.
    const double expected = 255 * 0.5 * std::erfc((x + 0.5 - 48) / (sigma * std::sqrt(2.0)));
    EXPECT_NEAR(valueAt(blurred, x, 32), expected, 2.5) << "x " << x;
  }
  // Far from the edge the value is kept: the weights sum to one.
  EXPECT_EQ(valueAt(blurred, 20, 32), 255);
  EXPECT_EQ(valueAt(blurred, 76, 32), 0);
  cairo_surface_destroy(blurred);
  cairo_surface_destroy(mask);
}

TEST(GaussianBlur, TreatsOutsideTheImageAsTransparent) {
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, 16, 16);
  cairo_t* cr = cairo_create(mask);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_t* blurred = gaussianBlurredAlpha(mask, 2);
  EXPECT_LT(valueAt(blurred, 0, 0), 128);
  EXPECT_EQ(valueAt(blurred, 8, 8), 255);
  cairo_surface_destroy(blurred);
  cairo_surface_destroy(mask);
}

}  // namespace
}  // namespace zelto::render
