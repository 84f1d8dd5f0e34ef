#include "platform/render/DitheredGradient.hpp"

#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "platform/render/AngularGradientMesh.hpp"

namespace zelto::render {

namespace {

struct ImageDeleter {
  void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};
using ImagePointer = std::unique_ptr<pixman_image_t, ImageDeleter>;

std::uint16_t channel(double value) {
  return static_cast<std::uint16_t>(std::lround((std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0) * 65535));
}

std::vector<pixman_gradient_stop_t> pixmanStops(const std::vector<kit::GradientStop>& stops) {
  std::vector<pixman_gradient_stop_t> result;
  for (const kit::GradientStop& stop : normalizedStops(stops)) {
    const kit::Color& c = stop.color;
    result.push_back({pixman_double_to_fixed(stop.location),
                      {channel(c.red), channel(c.green), channel(c.blue), channel(c.opacity)}});
  }
  return result;
}

pixman_point_fixed_t fixedPoint(kit::Point p) { return {pixman_double_to_fixed(p.x), pixman_double_to_fixed(p.y)}; }

// The gradient in user space, padded beyond its ends.
ImagePointer gradientImage(const kit::Paint& paint, const kit::Rect& bounds) {
  ImagePointer image;
  if (const auto* linear = std::get_if<kit::LinearGradient>(&paint)) {
    const auto stops = pixmanStops(linear->stops);
    const pixman_point_fixed_t start = fixedPoint(linear->startPoint.in(bounds));
    const pixman_point_fixed_t end = fixedPoint(linear->endPoint.in(bounds));
    image.reset(pixman_image_create_linear_gradient(&start, &end, stops.data(), static_cast<int>(stops.size())));
  } else if (const auto* radial = std::get_if<kit::RadialGradient>(&paint)) {
    const auto stops = pixmanStops(radial->stops);
    const pixman_point_fixed_t center = fixedPoint(radial->center.in(bounds));
    image.reset(pixman_image_create_radial_gradient(
        &center, &center, pixman_double_to_fixed(std::max(0.0, radial->startRadius)),
        pixman_double_to_fixed(std::max(0.0, radial->endRadius)), stops.data(), static_cast<int>(stops.size())));
  }
  if (image) pixman_image_set_repeat(image.get(), PIXMAN_REPEAT_PAD);
  return image;
}

}  // namespace

bool rasterizeDitheredGradient(cairo_surface_t* raster, const kit::Paint& paint, const kit::Rect& bounds,
                               const cairo_matrix_t& userToRaster) {
  cairo_matrix_t rasterToUser = userToRaster;
  if (cairo_matrix_invert(&rasterToUser) != CAIRO_STATUS_SUCCESS) return false;
  const ImagePointer gradient = gradientImage(paint, bounds);
  if (!gradient) return false;

  // pixman samples the source at each raster pixel's centre mapped to user
  // space, as Cairo does when it draws the gradient itself.
  pixman_f_transform_t inverse;
  pixman_f_transform_init_identity(&inverse);
  inverse.m[0][0] = rasterToUser.xx, inverse.m[0][1] = rasterToUser.xy, inverse.m[0][2] = rasterToUser.x0;
  inverse.m[1][0] = rasterToUser.yx, inverse.m[1][1] = rasterToUser.yy, inverse.m[1][2] = rasterToUser.y0;
  pixman_transform_t transform;
  if (!pixman_transform_from_pixman_f_transform(&transform, &inverse)) return false;
  pixman_image_set_transform(gradient.get(), &transform);

  cairo_surface_flush(raster);
  const int width = cairo_image_surface_get_width(raster), height = cairo_image_surface_get_height(raster);
  const ImagePointer target(pixman_image_create_bits(
      PIXMAN_a8r8g8b8, width, height, reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(raster)),
      cairo_image_surface_get_stride(raster)));
  if (!target) return false;
  static_assert(ditherPeriod == 8, "the ordered 8 x 8 pattern");
  pixman_image_set_dither(target.get(), PIXMAN_DITHER_ORDERED_BAYER_8);
  pixman_image_composite32(PIXMAN_OP_SRC, gradient.get(), nullptr, target.get(), 0, 0, 0, 0, 0, 0, width, height);
  cairo_surface_mark_dirty(raster);
  return true;
}

}  // namespace zelto::render
