#include "platform/render/GaussianBlur.hpp"

#include <pixman.h>

#include <cmath>
#include <cstdint>
#include <numeric>

namespace zelto::render {

namespace {

// Fixed-point weights that sum to exactly one, so a flat area keeps its
// value: the rounding remainder goes to the centre tap.
std::vector<pixman_fixed_t> fixedWeights(const std::vector<double>& weights) {
  std::vector<pixman_fixed_t> fixed;
  fixed.reserve(weights.size());
  for (double w : weights) fixed.push_back(pixman_double_to_fixed(w));
  const pixman_fixed_t sum = std::accumulate(fixed.begin(), fixed.end(), pixman_fixed_t{0});
  fixed[fixed.size() / 2] += pixman_fixed_1 - sum;
  return fixed;
}

// One pass of the convolution along x (`horizontal`) or y, from `from` into
// `to` (same size).
void convolve(pixman_image_t* from, pixman_image_t* to, const std::vector<pixman_fixed_t>& weights, bool horizontal,
              int width, int height) {
  const int taps = static_cast<int>(weights.size());
  // Kernel width and height, zero subsample bits on both axes, then the x
  // weights and the y weights.
  std::vector<pixman_fixed_t> parameters = {pixman_int_to_fixed(horizontal ? taps : 1),
                                            pixman_int_to_fixed(horizontal ? 1 : taps), 0, 0};
  if (horizontal) {
    parameters.insert(parameters.end(), weights.begin(), weights.end());
    parameters.push_back(pixman_fixed_1);
  } else {
    parameters.push_back(pixman_fixed_1);
    parameters.insert(parameters.end(), weights.begin(), weights.end());
  }
  pixman_image_set_filter(from, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, parameters.data(),
                          static_cast<int>(parameters.size()));
  pixman_image_composite32(PIXMAN_OP_SRC, from, nullptr, to, 0, 0, 0, 0, 0, 0, width, height);
}

pixman_image_t* pixmanImage(cairo_surface_t* surface) {
  return pixman_image_create_bits(
      PIXMAN_a8, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface),
      reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface)), cairo_image_surface_get_stride(surface));
}

}  // namespace

std::vector<double> gaussianKernel(double sigma) {
  if (!std::isfinite(sigma) || sigma <= 0) return {1};
  const int reach = static_cast<int>(std::ceil(3 * sigma));
  std::vector<double> weights(2 * reach + 1);
  for (int i = -reach; i <= reach; ++i) weights[i + reach] = std::exp(-(i * i) / (2 * sigma * sigma));
  const double sum = std::accumulate(weights.begin(), weights.end(), 0.0);
  for (double& w : weights) w /= sum;
  return weights;
}

cairo_surface_t* gaussianBlurredAlpha(cairo_surface_t* source, double sigma) {
  cairo_surface_flush(source);
  const int width = cairo_image_surface_get_width(source), height = cairo_image_surface_get_height(source);
  cairo_surface_t* result = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
  if (cairo_surface_status(result) != CAIRO_STATUS_SUCCESS || width == 0 || height == 0) return result;
  cairo_surface_t* middle = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
  if (cairo_surface_status(middle) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(middle);
    return result;
  }
  cairo_surface_flush(result);
  cairo_surface_flush(middle);
  pixman_image_t* from = pixmanImage(source);
  pixman_image_t* between = pixmanImage(middle);
  pixman_image_t* to = pixmanImage(result);
  const auto weights = fixedWeights(gaussianKernel(sigma));
  convolve(from, between, weights, true, width, height);
  convolve(between, to, weights, false, width, height);
  pixman_image_unref(from);
  pixman_image_unref(between);
  pixman_image_unref(to);
  cairo_surface_destroy(middle);
  cairo_surface_mark_dirty(result);
  return result;
}

}  // namespace zelto::render
