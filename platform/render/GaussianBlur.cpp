#include "platform/render/GaussianBlur.hpp"

#include <pixman.h>

#include <cmath>
#include <algorithm>
#include <cstddef>
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

// Pixels [x, x + width) x [y, y + height).
struct Area {
  int x = 0, y = 0, width = 0, height = 0;
};

// The rows and the columns of an A8 image that hold any ink.
struct Inked {
  int firstRow = 0, rows = 0, firstColumn = 0, columns = 0;
};

Inked inkedExtent(cairo_surface_t* surface, int width, int height) {
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  int top = height, bottom = -1, left = width, right = -1;
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = data + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      if (row[x] == 0) continue;
      top = std::min(top, y), bottom = std::max(bottom, y);
      left = std::min(left, x), right = std::max(right, x);
    }
  }
  if (bottom < 0) return {};
  return {top, bottom - top + 1, left, right - left + 1};
}

// One pass of the convolution along x (`horizontal`) or y, from `from` into
// `to` (same size), over `area`.
void convolve(pixman_image_t* from, pixman_image_t* to, const std::vector<pixman_fixed_t>& weights, bool horizontal,
              const Area& area) {
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
  pixman_image_composite32(PIXMAN_OP_SRC, from, nullptr, to, area.x, area.y, 0, 0, area.x, area.y, area.width,
                           area.height);
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
  // The first pass only needs the rows (or columns) that hold ink; the
  // others stay clear. It runs along the axis that spares the most.
  const Inked ink = inkedExtent(source, width, height);
  const bool horizontalFirst = static_cast<double>(ink.rows) / height <= static_cast<double>(ink.columns) / width;
  const Area band = horizontalFirst ? Area{0, ink.firstRow, width, ink.rows} : Area{ink.firstColumn, 0, ink.columns, height};
  if (band.width > 0 && band.height > 0) {
    convolve(from, between, weights, horizontalFirst, band);
    convolve(between, to, weights, !horizontalFirst, {0, 0, width, height});
  }
  pixman_image_unref(from);
  pixman_image_unref(between);
  pixman_image_unref(to);
  cairo_surface_destroy(middle);
  cairo_surface_mark_dirty(result);
  return result;
}

}  // namespace zelto::render
