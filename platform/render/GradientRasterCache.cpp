#include "platform/render/GradientRasterCache.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <variant>

#include "platform/render/DitheredGradient.hpp"
#include "platform/render/RasterCache.hpp"

namespace zelto::render {

namespace {

// Below this many device pixels drawing the gradient directly is cheap.
constexpr double smallestCachedArea = 256.0 * 256.0;
// Budget of all rasters together; one raster may take a third of it.
constexpr std::size_t cacheBudgetBytes = 24u << 20;

struct DeviceRegion {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const DeviceRegion&) const = default;
};

struct GradientKey {
  kit::Paint paint;
  kit::Rect bounds;
  MatrixKey matrix;
  DeviceRegion region;
  bool operator==(const GradientKey&) const = default;
};

RasterCache<GradientKey>& cache() {
  static RasterCache<GradientKey> instance(cacheBudgetBytes);
  return instance;
}

// Linear and radial gradients are rasterised here; angular ones are meshes.
bool isRasterizedGradient(const kit::Paint& paint) {
  return std::holds_alternative<kit::LinearGradient>(paint) || std::holds_alternative<kit::RadialGradient>(paint);
}

// A linear gradient along a device axis is the same in every row (or
// column); its dithered raster repeats with the dither pattern, so one
// period's width (or height) of it, repeated, is the whole. Returns the
// raster's size for `region` and how many device pixels one raster pixel
// covers along each axis.
struct RasterShape {
  int width = 0, height = 0;
  int pixelSize = 1;
};

// A smooth gradient changes by about one 8-bit level or less across a few
// device pixels, so at two or more device pixels per unit it is evaluated
// once per 4 x 4 block: a sixteenth of the work for a first frame, the same
// colours within a level or two.
constexpr int coarsePixelSize = 4;
constexpr double coarseFromScale = 2;

RasterShape rasterShape(const kit::Paint& paint, const kit::Rect& bounds, const cairo_matrix_t& matrix,
                        const DeviceRegion& region) {
  if (const auto* linear = std::get_if<kit::LinearGradient>(&paint)) {
    const kit::Point start = linear->startPoint.in(bounds), end = linear->endPoint.in(bounds);
    const double dx = end.x - start.x, dy = end.y - start.y;
    if (std::abs(matrix.xx * dx) < 1e-9) return {std::min(region.width, ditherPeriod), region.height, 1};
    if (std::abs(matrix.yy * dy) < 1e-9) return {region.width, std::min(region.height, ditherPeriod), 1};
  }
  if (std::min(std::abs(matrix.xx), std::abs(matrix.yy)) >= coarseFromScale) {
    return {(region.width + coarsePixelSize - 1) / coarsePixelSize,
            (region.height + coarsePixelSize - 1) / coarsePixelSize, coarsePixelSize};
  }
  return {region.width, region.height, 1};
}

// The dithered raster of `shape` for `paint` over `region`. Null on failure.
cairo_surface_t* rasterized(const kit::Paint& paint, const kit::Rect& bounds, const cairo_matrix_t& matrix,
                            const DeviceRegion& region, const RasterShape& shape) {
  // User to raster: to device, to the region's corner, then shrunk by the
  // raster's pixel size.
  cairo_matrix_t deviceToRaster;
  cairo_matrix_init_scale(&deviceToRaster, 1.0 / shape.pixelSize, 1.0 / shape.pixelSize);
  cairo_matrix_translate(&deviceToRaster, -region.x, -region.y);
  cairo_matrix_t toRaster;
  cairo_matrix_multiply(&toRaster, &matrix, &deviceToRaster);
  cairo_surface_t* raster = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, shape.width, shape.height);
  if (cairo_surface_status(raster) != CAIRO_STATUS_SUCCESS ||
      !rasterizeDitheredGradient(raster, paint, bounds, toRaster)) {
    cairo_surface_destroy(raster);
    return nullptr;
  }
  return raster;
}

}  // namespace

bool setCachedGradientSource(cairo_t* cr, const kit::Paint& paint, const kit::Rect& bounds, bool stroke) {
  // Vector outputs keep their gradients as gradients; a surface with a
  // device scale has pixels that the user-to-device matrix does not count.
  cairo_surface_t* target = cairo_get_target(cr);
  if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return false;
  double deviceScaleX = 1, deviceScaleY = 1;
  cairo_surface_get_device_scale(target, &deviceScaleX, &deviceScaleY);
  if (deviceScaleX != 1 || deviceScaleY != 1) return false;
  cairo_matrix_t matrix;
  cairo_get_matrix(cr, &matrix);
  // Only scales and translations keep a device-pixel raster exact.
  if (matrix.xy != 0 || matrix.yx != 0) return false;
  if (!isRasterizedGradient(paint)) return false;

  // 1. The device pixels the path can touch within the clip.
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0, cx1 = 0, cy1 = 0, cx2 = 0, cy2 = 0;
  if (stroke) {
    cairo_stroke_extents(cr, &x1, &y1, &x2, &y2);
  } else {
    cairo_fill_extents(cr, &x1, &y1, &x2, &y2);
  }
  cairo_clip_extents(cr, &cx1, &cy1, &cx2, &cy2);
  x1 = std::max(x1, cx1), y1 = std::max(y1, cy1), x2 = std::min(x2, cx2), y2 = std::min(y2, cy2);
  if (!(x2 > x1 && y2 > y1)) return false;
  cairo_user_to_device(cr, &x1, &y1);
  cairo_user_to_device(cr, &x2, &y2);
  if (!std::isfinite(x1 + y1 + x2 + y2)) return false;
  const double left = std::floor(std::min(x1, x2)), top = std::floor(std::min(y1, y2));
  const double right = std::ceil(std::max(x1, x2)), bottom = std::ceil(std::max(y1, y2));
  const double area = (right - left) * (bottom - top);
  if (area < smallestCachedArea || area * 4 > static_cast<double>(cacheBudgetBytes) / 3) return false;
  const DeviceRegion region{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                            static_cast<int>(bottom - top)};

  // 2. The raster: found, or drawn now, dithered.
  GradientKey key{paint, bounds, MatrixKey::of(matrix), region};
  const RasterShape shape = rasterShape(paint, bounds, matrix, region);
  cairo_surface_t* raster = cache().find(key);
  if (raster == nullptr) {
    raster = rasterized(paint, bounds, matrix, region, shape);
    if (raster == nullptr) return false;
    cache().insert(std::move(key), raster,
                   static_cast<std::size_t>(cairo_image_surface_get_width(raster)) *
                       static_cast<std::size_t>(cairo_image_surface_get_height(raster)) * 4);
  }

  // 3. The source: the raster placed back on its device pixels, each of
  //    its pixels spread over its block of them.
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(raster);
  cairo_surface_destroy(raster);
  cairo_matrix_t toRaster = matrix;  // user -> device
  cairo_matrix_t step;
  cairo_matrix_init_translate(&step, -region.x, -region.y);
  cairo_matrix_multiply(&toRaster, &toRaster, &step);  // then device -> region
  cairo_matrix_init_scale(&step, 1.0 / shape.pixelSize, 1.0 / shape.pixelSize);
  cairo_matrix_multiply(&toRaster, &toRaster, &step);  // then region -> raster
  cairo_pattern_set_matrix(pattern, &toRaster);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  cairo_set_source(cr, pattern);
  cairo_pattern_destroy(pattern);
  return true;
}

void clearGradientRasterCache() { cache().clear(); }

}  // namespace zelto::render
