#include "platform/render/CairoPlayer.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <variant>
#include <vector>

#include "platform/render/CairoPaint.hpp"
#include "platform/render/GaussianBlur.hpp"
#include "platform/render/RasterCache.hpp"
#include "platform/render/Symbols.hpp"

namespace zelto::render {

namespace {

using kit::AffineTransform;
using kit::DisplayCommand;
using kit::Rect;

constexpr std::size_t unmatched = std::numeric_limits<std::size_t>::max();
// Scopes nested deeper than this are not drawn (no real view tree nests so
// deeply; a list that does is broken).
constexpr int deepestNesting = 256;
// Glow masks are blurred at a resolution where the standard deviation is
// about this many pixels, then scaled up smoothly: a wide Gaussian has no
// detail that a finer mask would keep.
constexpr double maskSigmaPixels = 1.75;
// Vector outputs get their glows as images at this many pixels per unit.
constexpr double vectorMaskResolution = 2;
constexpr double largestMaskPixels = 4096.0 * 4096.0;

// Budget of the cached glows of all frames together.
constexpr std::size_t glowCacheBudgetBytes = 16u << 20;

// What a glow's raster depends on: the commands that cast it, the shadow,
// where it lands on the device and at what resolution it was blurred.
struct GlowKey {
  std::vector<DisplayCommand> content;
  kit::Shadow shadow;
  MatrixKey matrix;
  Rect region;
  double maskScale = 1;
  bool operator==(const GlowKey&) const = default;
};

RasterCache<GlowKey>& glowCache() {
  static RasterCache<GlowKey> instance(glowCacheBudgetBytes);
  return instance;
}

// Clips and backdrops at least this many device pixels large are drawn from
// cached rasters; below it cairo's own clipping and filling are cheap.
constexpr double smallestCachedArea = 256.0 * 256.0;
// Budget of the cached clip masks and backdrops of all frames together.
constexpr std::size_t sceneCacheBudgetBytes = 16u << 20;

// A large non-rectangular clip (the widget's rounded outline) as an alpha
// mask of the device pixels it covers.
struct ClipMaskKey {
  kit::Path path;
  MatrixKey matrix;
  bool operator==(const ClipMaskKey&) const = default;
};

RasterCache<ClipMaskKey>& clipMaskCache() {
  static RasterCache<ClipMaskKey> instance(sceneCacheBudgetBytes);
  return instance;
}

// A run of fills of one rectangle, the first opaque: whatever lies beneath,
// the rectangle ends up the same, so the run is kept as one opaque raster.
struct BackdropKey {
  std::vector<DisplayCommand> content;
  MatrixKey matrix;
  bool operator==(const BackdropKey&) const = default;
};

RasterCache<BackdropKey>& backdropCache() {
  static RasterCache<BackdropKey> instance(sceneCacheBudgetBytes);
  return instance;
}

// Device pixels [x, x + width) x [y, y + height).
struct PixelRegion {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const PixelRegion&) const = default;
};

// A clip mask is blended in tiles of this many pixels square.
constexpr int clipTileSize = 32;

// The tiles of an A8 mask that are not fully covered, in its pixels; a
// cached clip mask carries them under this key.
cairo_user_data_key_t partialTilesKey;

std::vector<PixelRegion> partialTiles(cairo_surface_t* mask) {
  const int width = cairo_image_surface_get_width(mask), height = cairo_image_surface_get_height(mask);
  const int stride = cairo_image_surface_get_stride(mask);
  const unsigned char* data = cairo_image_surface_get_data(mask);
  std::vector<PixelRegion> tiles;
  for (int top = 0; top < height; top += clipTileSize) {
    for (int left = 0; left < width; left += clipTileSize) {
      const PixelRegion tile{left, top, std::min(clipTileSize, width - left), std::min(clipTileSize, height - top)};
      bool partial = false;
      for (int y = tile.y; !partial && y < tile.y + tile.height; ++y) {
        const unsigned char* row = data + static_cast<std::ptrdiff_t>(y) * stride + tile.x;
        partial = std::any_of(row, row + tile.width, [](unsigned char c) { return c != 255; });
      }
      if (partial) tiles.push_back(tile);
    }
  }
  return tiles;
}

// A layer's glow and content composited together, on the device pixels
// they cover within the clip.
struct LayerKey {
  std::vector<DisplayCommand> content;
  kit::Shadow shadow;
  MatrixKey matrix;
  PixelRegion region;
  bool operator==(const LayerKey&) const = default;
};

RasterCache<LayerKey>& layerCache() {
  static RasterCache<LayerKey> instance(sceneCacheBudgetBytes);
  return instance;
}

// The pixels of the current path's fill extents within the clip, in the
// device space of `cr`'s matrix, when that space holds whole pixels of an
// image surface and the matrix neither rotates nor skews.
std::optional<PixelRegion> pathPixelRegion(cairo_t* cr) {
  cairo_surface_t* target = cairo_get_target(cr);
  if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return std::nullopt;
  double deviceScaleX = 1, deviceScaleY = 1;
  cairo_surface_get_device_scale(target, &deviceScaleX, &deviceScaleY);
  if (deviceScaleX != 1 || deviceScaleY != 1) return std::nullopt;
  cairo_matrix_t matrix;
  cairo_get_matrix(cr, &matrix);
  if (matrix.xy != 0 || matrix.yx != 0) return std::nullopt;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  cairo_fill_extents(cr, &x1, &y1, &x2, &y2);
  cairo_user_to_device(cr, &x1, &y1);
  cairo_user_to_device(cr, &x2, &y2);
  if (!std::isfinite(x1 + y1 + x2 + y2)) return std::nullopt;
  const double left = std::floor(std::min(x1, x2)), top = std::floor(std::min(y1, y2));
  const double right = std::ceil(std::max(x1, x2)), bottom = std::ceil(std::max(y1, y2));
  const double area = (right - left) * (bottom - top);
  if (!(area >= smallestCachedArea) || area * 4 > static_cast<double>(sceneCacheBudgetBytes) / 2) return std::nullopt;
  return PixelRegion{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                     static_cast<int>(bottom - top)};
}

bool isOpaqueColor(const kit::Paint& paint) {
  const auto* color = std::get_if<kit::Color>(&paint);
  return color != nullptr && color->opacity >= 1;
}

enum class Scope { layer, transform, clip };

std::optional<Scope> pushedScope(const DisplayCommand& command) {
  if (std::holds_alternative<kit::PushLayer>(command)) return Scope::layer;
  if (std::holds_alternative<kit::PushTransform>(command)) return Scope::transform;
  if (std::holds_alternative<kit::PushClip>(command)) return Scope::clip;
  return std::nullopt;
}

std::optional<Scope> poppedScope(const DisplayCommand& command) {
  if (std::holds_alternative<kit::PopLayer>(command)) return Scope::layer;
  if (std::holds_alternative<kit::PopTransform>(command)) return Scope::transform;
  if (std::holds_alternative<kit::PopClip>(command)) return Scope::clip;
  return std::nullopt;
}

// For each push, the index of its pop (the list's end when it has none);
// for each pop, its push, or `unmatched` when it pops nothing of its kind.
std::vector<std::size_t> matchScopes(const std::vector<DisplayCommand>& commands) {
  std::vector<std::size_t> matches(commands.size(), unmatched);
  std::vector<std::pair<Scope, std::size_t>> open;
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (const auto scope = pushedScope(commands[i])) {
      open.emplace_back(*scope, i);
      matches[i] = commands.size();
    } else if (const auto popped = poppedScope(commands[i])) {
      if (!open.empty() && open.back().first == *popped) {
        matches[open.back().second] = i;
        matches[i] = open.back().second;
        open.pop_back();
      }
    }
  }
  return matches;
}

bool isFiniteRect(const Rect& r) {
  return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) && std::isfinite(r.height);
}

Rect outset(const Rect& r, double amount) {
  return {r.x - amount, r.y - amount, r.width + 2 * amount, r.height + 2 * amount};
}

std::optional<Rect> pathBounds(const kit::Path& path) {
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  auto add = [&](kit::Point p) {
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
  };
  for (const auto& element : path.elements()) {
    if (const auto* move = std::get_if<kit::Path::MoveTo>(&element)) add(move->to);
    if (const auto* line = std::get_if<kit::Path::LineTo>(&element)) add(line->to);
    if (const auto* curve = std::get_if<kit::Path::CurveTo>(&element)) {
      add(curve->control1);
      add(curve->control2);
      add(curve->to);
    }
  }
  if (!(minX <= maxX) || !std::isfinite(minX + minY + maxX + maxY)) return std::nullopt;
  return Rect{minX, minY, maxX - minX, maxY - minY};
}

Rect transformedBounds(const Rect& r, const AffineTransform& t) {
  const kit::Point corners[] = {t.apply({r.minX(), r.minY()}), t.apply({r.maxX(), r.minY()}),
                                t.apply({r.minX(), r.maxY()}), t.apply({r.maxX(), r.maxY()})};
  double minX = corners[0].x, minY = corners[0].y, maxX = minX, maxY = minY;
  for (const kit::Point& p : corners) {
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
  }
  return {minX, minY, maxX - minX, maxY - minY};
}

std::optional<Rect> intersection(const Rect& a, const Rect& b) {
  const double left = std::max(a.minX(), b.minX()), top = std::max(a.minY(), b.minY());
  const double right = std::min(a.maxX(), b.maxX()), bottom = std::min(a.maxY(), b.maxY());
  if (!(right > left) || !(bottom > top)) return std::nullopt;
  return Rect{left, top, right - left, bottom - top};
}

double transformScale(const AffineTransform& t) { return std::sqrt(std::abs(t.a * t.d - t.b * t.c)); }

AffineTransform fromCairo(const cairo_matrix_t& m) { return {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0}; }

cairo_line_cap_t cairoCap(kit::LineCap cap) {
  switch (cap) {
    case kit::LineCap::butt:
      return CAIRO_LINE_CAP_BUTT;
    case kit::LineCap::round:
      return CAIRO_LINE_CAP_ROUND;
    case kit::LineCap::square:
      return CAIRO_LINE_CAP_SQUARE;
  }
  return CAIRO_LINE_CAP_BUTT;
}

cairo_line_join_t cairoJoin(kit::LineJoin join) {
  switch (join) {
    case kit::LineJoin::miter:
      return CAIRO_LINE_JOIN_MITER;
    case kit::LineJoin::round:
      return CAIRO_LINE_JOIN_ROUND;
    case kit::LineJoin::bevel:
      return CAIRO_LINE_JOIN_BEVEL;
  }
  return CAIRO_LINE_JOIN_MITER;
}

// How far outside its path a stroke may reach.
double strokeReach(const kit::StrokeStyle& style) {
  const double half = std::isfinite(style.lineWidth) ? std::abs(style.lineWidth) / 2 : 0;
  const double miter = std::isfinite(style.miterLimit) ? std::max(1.0, style.miterLimit) : 10;
  return half * (style.join == kit::LineJoin::miter ? std::max(miter, 1.5) : 1.5);
}

bool setStrokeStyle(cairo_t* cr, const kit::StrokeStyle& style) {
  if (!std::isfinite(style.lineWidth) || style.lineWidth <= 0) return false;
  cairo_set_line_width(cr, style.lineWidth);
  cairo_set_line_cap(cr, cairoCap(style.cap));
  cairo_set_line_join(cr, cairoJoin(style.join));
  cairo_set_miter_limit(cr, std::isfinite(style.miterLimit) ? std::max(1.0, style.miterLimit) : 10);
  // A dash pattern needs finite non-negative lengths that do not all vanish.
  const auto& dash = style.dash;
  const bool dashable = !dash.empty() &&
                        std::all_of(dash.begin(), dash.end(), [](double d) { return std::isfinite(d) && d >= 0; }) &&
                        std::any_of(dash.begin(), dash.end(), [](double d) { return d > 0; });
  if (dashable) {
    cairo_set_dash(cr, dash.data(), static_cast<int>(dash.size()),
                   std::isfinite(style.dashPhase) ? style.dashPhase : 0);
  } else {
    cairo_set_dash(cr, nullptr, 0, 0);
  }
  return true;
}

bool isVectorSurface(cairo_surface_t* surface) {
  switch (cairo_surface_get_type(surface)) {
    case CAIRO_SURFACE_TYPE_PDF:
    case CAIRO_SURFACE_TYPE_PS:
    case CAIRO_SURFACE_TYPE_SVG:
    case CAIRO_SURFACE_TYPE_RECORDING:
    case CAIRO_SURFACE_TYPE_SCRIPT:
      return true;
    default:
      return false;
  }
}

double fontPointSize(const kit::Font& font, double textScale) {
  const double size = font.scaledSize(std::isfinite(textScale) && textScale > 0 ? textScale : 1);
  return std::isfinite(size) && size > 0 ? size : 0;
}

// One run of a display list.
class Playback {
 public:
  Playback(const kit::DisplayList& list, const PangoTextSystem& text)
      : commands_(list.commands), matches_(matchScopes(list.commands)), text_(text) {}

  void playRange(cairo_t* cr, std::size_t begin, std::size_t end, int depth) const {
    if (depth > deepestNesting) return;
    std::size_t i = begin;
    while (i < end) {
      const DisplayCommand& command = commands_[i];
      const std::size_t close = std::min(matches_[i], end);
      if (const auto* fill = std::get_if<kit::FillPath>(&command)) {
        const std::size_t runEnd = backdropEnd(i, end);
        if (runEnd > i + 1 && drawBackdrop(cr, i, runEnd)) {
          i = runEnd;
          continue;
        }
        drawFill(cr, *fill);
      } else if (const auto* stroke = std::get_if<kit::StrokePath>(&command)) {
        drawStroke(cr, *stroke);
      } else if (const auto* text = std::get_if<kit::DrawText>(&command)) {
        drawText(cr, *text);
      } else if (const auto* symbol = std::get_if<kit::DrawSymbol>(&command)) {
        drawSymbol(cr, *symbol);
      } else if (const auto* layer = std::get_if<kit::PushLayer>(&command)) {
        drawLayer(cr, *layer, i + 1, close, depth + 1);
        i = close + 1;
        continue;
      } else if (const auto* transform = std::get_if<kit::PushTransform>(&command)) {
        if (isDrawableTransform(transform->transform)) {
          const AffineTransform& t = transform->transform;
          cairo_save(cr);
          cairo_matrix_t matrix;
          cairo_matrix_init(&matrix, t.a, t.b, t.c, t.d, t.tx, t.ty);
          cairo_transform(cr, &matrix);
          playRange(cr, i + 1, close, depth + 1);
          cairo_restore(cr);
        }
        i = close + 1;
        continue;
      } else if (const auto* clip = std::get_if<kit::PushClip>(&command)) {
        cairo_save(cr);
        if (setPath(cr, clip->path) && !clip->path.empty()) {
          cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
          if (!playMasked(cr, clip->path, i + 1, close, depth + 1)) {
            cairo_clip(cr);
            playRange(cr, i + 1, close, depth + 1);
          }
        }
        cairo_restore(cr);
        i = close + 1;
        continue;
      }
      // Pops reached here have no push of their kind: ignored.
      ++i;
    }
  }

 private:
  // Plays [begin, end) clipped to the current path (a large one, such as
  // the widget's rounded outline) with a cached mask of it. Drawing goes
  // straight to the target, clipped only to the outline's bounding
  // rectangle; the few tiles of it that the outline covers partly (a
  // rounded rectangle's corners) are then blended with what lay beneath them
  // by the mask, which is what clipping to the outline gives. False, having
  // drawn nothing, where the clip is small or the target is not a plain
  // image.
  bool playMasked(cairo_t* cr, const kit::Path& path, std::size_t begin, std::size_t end, int depth) const {
    const auto region = pathPixelRegion(cr);
    if (!region) return false;
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    ClipMaskKey key{path, MatrixKey::of(matrix)};
    cairo_surface_t* mask = clipMaskCache().find(key);
    if (mask == nullptr) {
      mask = cairo_image_surface_create(CAIRO_FORMAT_A8, region->width, region->height);
      cairo_t* maskContext = cairo_create(mask);
      cairo_matrix_t toMask = matrix;
      toMask.x0 -= region->x;
      toMask.y0 -= region->y;
      cairo_set_matrix(maskContext, &toMask);
      setPath(maskContext, path);
      cairo_set_fill_rule(maskContext, CAIRO_FILL_RULE_WINDING);
      cairo_fill(maskContext);
      cairo_destroy(maskContext);
      cairo_surface_flush(mask);
      if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS ||
          cairo_surface_set_user_data(mask, &partialTilesKey, new std::vector<PixelRegion>(partialTiles(mask)),
                                      [](void* tiles) { delete static_cast<std::vector<PixelRegion>*>(tiles); }) !=
              CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(mask);
        return false;
      }
      clipMaskCache().insert(std::move(key), mask,
                             static_cast<std::size_t>(region->width) * static_cast<std::size_t>(region->height));
    }
    const auto& tiles = *static_cast<const std::vector<PixelRegion>*>(cairo_surface_get_user_data(mask, &partialTilesKey));
    cairo_new_path(cr);
    cairo_identity_matrix(cr);
    cairo_rectangle(cr, region->x, region->y, region->width, region->height);
    cairo_clip(cr);
    // 1. What lies beneath each partly covered tile, less what the clip
    //    lets the drawing cover.
    std::vector<cairo_surface_t*> beneath;
    beneath.reserve(tiles.size());
    cairo_surface_t* target = cairo_get_group_target(cr);
    for (const PixelRegion& tile : tiles) {
      cairo_surface_t* kept = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, tile.width, tile.height);
      cairo_t* keep = cairo_create(kept);
      cairo_set_source_surface(keep, target, -(region->x + tile.x), -(region->y + tile.y));
      cairo_set_operator(keep, CAIRO_OPERATOR_SOURCE);
      cairo_paint(keep);
      cairo_set_source_rgba(keep, 0, 0, 0, 1);
      cairo_set_operator(keep, CAIRO_OPERATOR_DEST_OUT);
      cairo_mask_surface(keep, mask, -tile.x, -tile.y);
      cairo_destroy(keep);
      beneath.push_back(kept);
    }
    // 2. The drawing, clipped to the bounding rectangle.
    cairo_set_matrix(cr, &matrix);
    playRange(cr, begin, end, depth);
    // 3. In those tiles: the drawing as far as the clip covers, plus the rest
    //    of what lay beneath.
    cairo_identity_matrix(cr);
    for (std::size_t i = 0; i < tiles.size(); ++i) {
      const PixelRegion& tile = tiles[i];
      cairo_save(cr);
      cairo_rectangle(cr, region->x + tile.x, region->y + tile.y, tile.width, tile.height);
      cairo_clip(cr);
      cairo_set_source_rgba(cr, 0, 0, 0, 1);
      cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
      cairo_mask_surface(cr, mask, region->x, region->y);
      cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
      cairo_set_source_surface(cr, beneath[i], region->x + tile.x, region->y + tile.y);
      cairo_paint(cr);
      cairo_restore(cr);
      cairo_surface_destroy(beneath[i]);
    }
    cairo_surface_destroy(mask);
    return true;
  }

  // The end of the run of fills starting at `begin` that paint one
  // rectangle, the first with an opaque colour (`begin` when there is none).
  std::size_t backdropEnd(std::size_t begin, std::size_t end) const {
    const auto& first = std::get<kit::FillPath>(commands_[begin]);
    if (!isOpaqueColor(first.paint) || !isFiniteRect(first.paintBounds) ||
        first.path != kit::Path::rectangle(first.paintBounds)) {
      return begin;
    }
    std::size_t i = begin + 1;
    while (i < end) {
      const auto* fill = std::get_if<kit::FillPath>(&commands_[i]);
      if (fill == nullptr || fill->path != first.path || !isFiniteRect(fill->paintBounds)) break;
      ++i;
    }
    return i;
  }

  // Draws the backdrop run [begin, end) from a cached opaque raster when
  // its rectangle covers whole device pixels; false, having drawn nothing,
  // otherwise.
  bool drawBackdrop(cairo_t* cr, std::size_t begin, std::size_t end) const {
    cairo_save(cr);
    setPath(cr, std::get<kit::FillPath>(commands_[begin]).path);
    const auto region = pathPixelRegion(cr);
    cairo_new_path(cr);
    if (!region) {
      cairo_restore(cr);
      return false;
    }
    // The rectangle must cover its pixels exactly for the raster to be
    // opaque everywhere.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    const kit::Rect& r = std::get<kit::FillPath>(commands_[begin]).paintBounds;
    x1 = r.minX(), y1 = r.minY(), x2 = r.maxX(), y2 = r.maxY();
    cairo_user_to_device(cr, &x1, &y1);
    cairo_user_to_device(cr, &x2, &y2);
    const auto whole = [](double v) { return std::abs(v - std::round(v)) < 1e-6; };
    if (!whole(x1) || !whole(y1) || !whole(x2) || !whole(y2)) {
      cairo_restore(cr);
      return false;
    }
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    BackdropKey key{
        {commands_.begin() + static_cast<std::ptrdiff_t>(begin), commands_.begin() + static_cast<std::ptrdiff_t>(end)},
        MatrixKey::of(matrix)};
    cairo_surface_t* raster = backdropCache().find(key);
    if (raster == nullptr) {
      raster = cairo_image_surface_create(CAIRO_FORMAT_RGB24, region->width, region->height);
      cairo_t* rasterContext = cairo_create(raster);
      cairo_matrix_t toRaster = matrix;
      toRaster.x0 -= region->x;
      toRaster.y0 -= region->y;
      cairo_set_matrix(rasterContext, &toRaster);
      for (std::size_t i = begin; i < end; ++i) drawFill(rasterContext, std::get<kit::FillPath>(commands_[i]));
      cairo_destroy(rasterContext);
      cairo_surface_flush(raster);
      if (cairo_surface_status(raster) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(raster);
        cairo_restore(cr);
        return false;
      }
      backdropCache().insert(std::move(key), raster,
                             static_cast<std::size_t>(region->width) * static_cast<std::size_t>(region->height) * 4);
    }
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, raster, region->x, region->y);
    cairo_rectangle(cr, region->x, region->y, region->width, region->height);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_surface_destroy(raster);
    return true;
  }

  void drawFill(cairo_t* cr, const kit::FillPath& fill) const {
    if (!isFiniteRect(fill.paintBounds)) return;
    cairo_save(cr);
    // Sparing the pixels a paint leaves untouched saves most of the cost of
    // a large glow-like gradient.
    if (const auto reach = paintReach(fill.paint, fill.paintBounds)) {
      cairo_rectangle(cr, reach->x, reach->y, reach->width, reach->height);
      cairo_clip(cr);
    }
    if (setPath(cr, fill.path)) {
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
      setSource(cr, fill.paint, fill.paintBounds, PathPainting{PathPainting::Kind::fill});
      cairo_fill(cr);
    }
    cairo_restore(cr);
  }

  void drawStroke(cairo_t* cr, const kit::StrokePath& stroke) const {
    if (!isFiniteRect(stroke.paintBounds) || !setPath(cr, stroke.path)) return;
    cairo_save(cr);
    if (setStrokeStyle(cr, stroke.style)) {
      setSource(cr, stroke.paint, stroke.paintBounds,
                PathPainting{PathPainting::Kind::stroke, strokeReach(stroke.style)});
      cairo_stroke(cr);
    }
    cairo_new_path(cr);
    cairo_restore(cr);
  }

  void drawText(cairo_t* cr, const kit::DrawText& text) const {
    if (!isFiniteRect(text.frame)) return;
    setSource(cr, text.paint, text.frame);
    text_.drawText(cr, text.request, text.frame);
  }

  void drawSymbol(cairo_t* cr, const kit::DrawSymbol& symbol) const {
    if (!isFiniteRect(symbol.frame)) return;
    const double pointSize = fontPointSize(symbol.request.font, symbol.request.textScale);
    const auto shape = symbolShape(symbol.request.name, pointSize, symbol.request.font.weight);
    if (!shape) return;
    cairo_save(cr);
    setSource(cr, symbol.paint, symbol.frame);
    // The drawing keeps its own proportions, centred in the frame.
    cairo_translate(cr, symbol.frame.x + (symbol.frame.width - shape->size.width) / 2,
                    symbol.frame.y + (symbol.frame.height - shape->size.height) / 2);
    for (const SymbolPart& part : shape->parts) {
      setPath(cr, part.path);
      if (part.kind == SymbolPart::Kind::fill) {
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_fill(cr);
      } else {
        cairo_set_line_width(cr, part.lineWidth);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
      }
    }
    cairo_restore(cr);
  }

  // A fully opaque layer with a glow and no text (a card's shape under its
  // shadow) drawn from one cached raster of glow and content together, as
  // compositing is associative: one blit instead of a glow and the shapes.
  // False, having drawn nothing, where the target is not a plain image or
  // the clip is not made of rectangles.
  bool drawCachedShadowedLayer(cairo_t* cr, const kit::Shadow& shadow, std::size_t begin, std::size_t end,
                               int depth) const {
    if (!std::isfinite(shadow.radius) || !std::isfinite(shadow.x) || !std::isfinite(shadow.y)) return false;
    cairo_surface_t* target = cairo_get_target(cr);
    if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE || containsText(begin, end)) return false;
    double deviceScaleX = 1, deviceScaleY = 1;
    cairo_surface_get_device_scale(target, &deviceScaleX, &deviceScaleY);
    if (deviceScaleX != 1 || deviceScaleY != 1) return false;
    cairo_rectangle_list_t* clips = cairo_copy_clip_rectangle_list(cr);
    const bool rectangular = clips->status == CAIRO_STATUS_SUCCESS;
    cairo_rectangle_list_destroy(clips);
    if (!rectangular) return false;
    const auto content = contentBounds(begin, end);
    if (!content) return false;
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    const AffineTransform toDevice = fromCairo(matrix);
    // Everything the glow and the content can touch, within the clip.
    const double sigma = std::abs(shadow.radius) * transformScale(toDevice);
    const double reach =
        3 * sigma +
        std::hypot(matrix.xx * shadow.x + matrix.xy * shadow.y, matrix.yx * shadow.x + matrix.yy * shadow.y) + 4;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    const auto covered = intersection(outset(transformedBounds(*content, toDevice), reach),
                                      transformedBounds({x1, y1, x2 - x1, y2 - y1}, toDevice));
    if (!covered) return true;  // nothing of it is visible
    const int left = static_cast<int>(std::floor(covered->minX())), top = static_cast<int>(std::floor(covered->minY()));
    const int width = static_cast<int>(std::ceil(covered->maxX())) - left;
    const int height = static_cast<int>(std::ceil(covered->maxY())) - top;
    const double bytes = 4.0 * width * height;
    if (!(bytes <= static_cast<double>(sceneCacheBudgetBytes) / 4)) return false;

    LayerKey key{
        {commands_.begin() + static_cast<std::ptrdiff_t>(begin), commands_.begin() + static_cast<std::ptrdiff_t>(end)},
        shadow,
        MatrixKey::of(matrix),
        {left, top, width, height}};
    cairo_surface_t* raster = layerCache().find(key);
    if (raster == nullptr) {
      raster = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
      cairo_t* layerContext = cairo_create(raster);
      cairo_matrix_t toRaster = matrix;
      toRaster.x0 -= left;
      toRaster.y0 -= top;
      cairo_set_matrix(layerContext, &toRaster);
      // The layer's raster is cached itself: its glow is not kept apart.
      drawShadow(layerContext, shadow, begin, end, depth, false);
      playRange(layerContext, begin, end, depth);
      cairo_destroy(layerContext);
      cairo_surface_flush(raster);
      if (cairo_surface_status(raster) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(raster);
        return false;
      }
      layerCache().insert(std::move(key), raster, static_cast<std::size_t>(bytes));
    }
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, raster, left, top);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(raster);
    return true;
  }

  void drawLayer(cairo_t* cr, const kit::PushLayer& layer, std::size_t begin, std::size_t end, int depth) const {
    if (depth > deepestNesting) return;
    const double fullOpacity = std::isfinite(layer.opacity) ? layer.opacity : 1;
    if (layer.shadow && fullOpacity >= 1 && drawCachedShadowedLayer(cr, *layer.shadow, begin, end, depth)) return;
    if (layer.shadow) drawShadow(cr, *layer.shadow, begin, end, depth);
    const double opacity = std::isfinite(layer.opacity) ? std::clamp(layer.opacity, 0.0, 1.0) : 1;
    if (opacity <= 0) return;
    if (opacity >= 1) {
      // Compositing a group at full opacity equals drawing its content.
      cairo_save(cr);
      playRange(cr, begin, end, depth);
      cairo_restore(cr);
      return;
    }
    // The group surface covers only what the layer can draw, not the whole
    // canvas: a dimmed button then costs a button-sized buffer.
    const auto content = contentBounds(begin, end);
    if (!content) return;
    cairo_save(cr);
    cairo_rectangle(cr, content->x - 1, content->y - 1, content->width + 2, content->height + 2);
    cairo_clip(cr);
    cairo_push_group(cr);
    playRange(cr, begin, end, depth);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, opacity);
    cairo_restore(cr);
  }

  // The coverage of commands [begin, end) in the current user space, grown
  // by how far strokes, text ink and nested glows may reach.
  std::optional<Rect> contentBounds(std::size_t begin, std::size_t end) const {
    std::optional<Rect> bounds;
    std::vector<AffineTransform> transforms{AffineTransform{}};
    std::vector<double> reaches{0};
    std::vector<std::size_t> closes;
    auto add = [&](const Rect& local, double extra) {
      if (!isFiniteRect(local)) return;
      const Rect grown = outset(local, extra + reaches.back());
      const Rect r = transformedBounds(grown, transforms.back());
      bounds = bounds ? bounds->united(r) : r;
    };
    for (std::size_t i = begin; i < end; ++i) {
      while (!closes.empty() && closes.back() == i) {
        closes.pop_back();
        transforms.pop_back();
        reaches.pop_back();
      }
      const DisplayCommand& command = commands_[i];
      if (const auto* fill = std::get_if<kit::FillPath>(&command)) {
        if (auto r = pathBounds(fill->path)) add(*r, 0);
      } else if (const auto* stroke = std::get_if<kit::StrokePath>(&command)) {
        if (auto r = pathBounds(stroke->path)) add(*r, strokeReach(stroke->style));
      } else if (const auto* text = std::get_if<kit::DrawText>(&command)) {
        add(text->frame, fontPointSize(text->request.font, text->request.textScale) / 2 + 1);
      } else if (const auto* symbol = std::get_if<kit::DrawSymbol>(&command)) {
        add(symbol->frame, fontPointSize(symbol->request.font, symbol->request.textScale) / 2 + 1);
      } else if (pushedScope(command)) {
        AffineTransform t = transforms.back();
        double reach = reaches.back();
        if (const auto* transform = std::get_if<kit::PushTransform>(&command)) {
          if (isDrawableTransform(transform->transform)) t = t.concatenating(transform->transform);
        } else if (const auto* layer = std::get_if<kit::PushLayer>(&command)) {
          if (layer->shadow && std::isfinite(layer->shadow->radius + layer->shadow->x + layer->shadow->y)) {
            reach += 3 * std::abs(layer->shadow->radius) + std::hypot(layer->shadow->x, layer->shadow->y);
          }
        }
        transforms.push_back(t);
        reaches.push_back(reach);
        closes.push_back(matches_[i]);
      }
    }
    return bounds;
  }

  // The layer's coverage tinted with the shadow colour, blurred with a
  // Gaussian of standard deviation `radius` points and offset. The content
  // is drawn again into an alpha mask at a resolution matched to the blur.
  // With `cached`, a glow on a raster target is kept for the next frame.
  void drawShadow(cairo_t* cr, const kit::Shadow& shadow, std::size_t begin, std::size_t end, int depth,
                  bool cached = true) const {
    const kit::Color& color = shadow.color;
    if (!std::isfinite(shadow.radius) || !std::isfinite(shadow.x) || !std::isfinite(shadow.y)) return;
    if (!(color.opacity > 0)) return;
    const auto content = contentBounds(begin, end);
    if (!content) return;

    // 1. Work in the space the current matrix maps to (device space less
    //    any device scale), where the mask is placed at the end.
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    const AffineTransform toDevice = fromCairo(matrix);
    cairo_surface_t* target = cairo_get_target(cr);
    double deviceScaleX = 1, deviceScaleY = 1;
    cairo_surface_get_device_scale(target, &deviceScaleX, &deviceScaleY);
    const double pixelsPerUnit =
        std::max(deviceScaleX, deviceScaleY) * (isVectorSurface(target) ? vectorMaskResolution : 1);
    const double sigma = std::abs(shadow.radius) * transformScale(toDevice);  // device units
    const kit::Point offset = {matrix.xx * shadow.x + matrix.xy * shadow.y,
                               matrix.yx * shadow.x + matrix.yy * shadow.y};

    // 2. Only content that can cast onto the visible area matters.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    const Rect visible = transformedBounds({x1, y1, x2 - x1, y2 - y1}, toDevice);
    const Rect casting = outset(visible.offsetBy(-offset.x, -offset.y), 3 * sigma + 1);
    const auto region = intersection(transformedBounds(*content, toDevice), casting);
    if (!region) return;

    // 3. Mask resolution: device pixels, coarsened for wide blurs.
    const double sigmaPixels = sigma * pixelsPerUnit;
    double maskScale = pixelsPerUnit;
    if (sigmaPixels > 2 * maskSigmaPixels) maskScale = pixelsPerUnit * maskSigmaPixels / sigmaPixels;
    const double area = region->width * region->height * maskScale * maskScale;
    if (area > largestMaskPixels) maskScale *= std::sqrt(largestMaskPixels / area);
    const double maskSigma = sigma * maskScale;
    const int pad = static_cast<int>(std::ceil(3 * maskSigma)) + 2;
    const int width = static_cast<int>(std::ceil(region->width * maskScale)) + 2 * pad;
    const int height = static_cast<int>(std::ceil(region->height * maskScale)) + 2 * pad;

    // 4. Where the glow lands: its mask's corner in device space.
    const double originX = region->x + offset.x - pad / maskScale;
    const double originY = region->y + offset.y - pad / maskScale;

    // 5. On raster targets the glow is kept at device resolution, pixel
    //    aligned, so that drawing the same glow again is a plain blit. Text
    //    is not cached, as its look depends on the text system.
    if (cached && !isVectorSurface(target) && !containsText(begin, end)) {
      const int left = static_cast<int>(std::floor(originX)), top = static_cast<int>(std::floor(originY));
      const int deviceWidth = static_cast<int>(std::ceil(originX + width / maskScale)) - left;
      const int deviceHeight = static_cast<int>(std::ceil(originY + height / maskScale)) - top;
      GlowKey key{{commands_.begin() + static_cast<std::ptrdiff_t>(begin),
                   commands_.begin() + static_cast<std::ptrdiff_t>(end)},
                  shadow,
                  MatrixKey::of(matrix),
                  *region,
                  maskScale};
      cairo_surface_t* glow = glowCache().find(key);
      if (glow == nullptr) {
        cairo_surface_t* tinted =
            tintedGlow(shadow.color, matrix, *region, maskScale, maskSigma, pad, width, height, begin, end, depth);
        if (tinted == nullptr) return;
        glow = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, deviceWidth, deviceHeight);
        cairo_t* upscale = cairo_create(glow);
        cairo_translate(upscale, originX - left, originY - top);
        cairo_scale(upscale, 1 / maskScale, 1 / maskScale);
        paintSmoothly(upscale, tinted);
        cairo_destroy(upscale);
        cairo_surface_destroy(tinted);
        cairo_surface_flush(glow);
        glowCache().insert(std::move(key), glow,
                           static_cast<std::size_t>(deviceWidth) * static_cast<std::size_t>(deviceHeight) * 4);
      }
      cairo_save(cr);
      cairo_identity_matrix(cr);
      cairo_set_source_surface(cr, glow, left, top);
      cairo_paint(cr);
      cairo_restore(cr);
      cairo_surface_destroy(glow);
      return;
    }

    // 6. Otherwise it is painted from the mask, scaled back up smoothly.
    cairo_surface_t* tinted =
        tintedGlow(shadow.color, matrix, *region, maskScale, maskSigma, pad, width, height, begin, end, depth);
    if (tinted == nullptr) return;
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_translate(cr, originX, originY);
    cairo_scale(cr, 1 / maskScale, 1 / maskScale);
    paintSmoothly(cr, tinted);
    cairo_restore(cr);
    cairo_surface_destroy(tinted);
  }

  static void paintSmoothly(cairo_t* cr, cairo_surface_t* surface) {
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
    cairo_set_source(cr, pattern);
    cairo_paint(cr);
    cairo_pattern_destroy(pattern);
  }

  bool containsText(std::size_t begin, std::size_t end) const {
    for (std::size_t i = begin; i < end; ++i) {
      const auto& command = commands_[i];
      if (std::holds_alternative<kit::DrawText>(command) || std::holds_alternative<kit::DrawSymbol>(command)) {
        return true;
      }
    }
    return false;
  }

  // The content's coverage drawn into an alpha mask of `width` x `height`
  // (device region scaled by `maskScale`, padded by `pad`), blurred, and
  // tinted with the shadow colour. Null when no surface could be made.
  cairo_surface_t* tintedGlow(const kit::Color& color, cairo_matrix_t matrix, const Rect& region, double maskScale,
                              double maskSigma, int pad, int width, int height, std::size_t begin, std::size_t end,
                              int depth) const {
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(mask);
      return nullptr;
    }
    cairo_t* maskContext = cairo_create(mask);
    cairo_matrix_t step;
    cairo_matrix_init_translate(&step, -region.x, -region.y);
    cairo_matrix_multiply(&matrix, &matrix, &step);
    cairo_matrix_init_scale(&step, maskScale, maskScale);
    cairo_matrix_multiply(&matrix, &matrix, &step);
    cairo_matrix_init_translate(&step, pad, pad);
    cairo_matrix_multiply(&matrix, &matrix, &step);
    cairo_set_matrix(maskContext, &matrix);
    playRange(maskContext, begin, end, depth);
    cairo_destroy(maskContext);

    cairo_surface_t* blurred = gaussianBlurredAlpha(mask, maskSigma);
    cairo_surface_destroy(mask);
    cairo_surface_t* tinted = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* tint = cairo_create(tinted);
    cairo_set_source_rgba(tint, std::clamp(color.red, 0.0, 1.0), std::clamp(color.green, 0.0, 1.0),
                          std::clamp(color.blue, 0.0, 1.0), std::min(color.opacity, 1.0));
    cairo_mask_surface(tint, blurred, 0, 0);
    cairo_destroy(tint);
    cairo_surface_destroy(blurred);
    cairo_surface_flush(tinted);
    return tinted;
  }

  const std::vector<DisplayCommand>& commands_;
  std::vector<std::size_t> matches_;
  const PangoTextSystem& text_;
};

}  // namespace

void CairoPlayer::play(const kit::DisplayList& list, cairo_t* cr, double scale) const {
  if (cr == nullptr || cairo_status(cr) != CAIRO_STATUS_SUCCESS) return;
  if (!std::isfinite(scale) || scale <= 0) return;
  cairo_save(cr);
  cairo_scale(cr, scale, scale);
  Playback(list, text_).playRange(cr, 0, list.commands.size(), 0);
  cairo_restore(cr);
}

void clearGlowRasterCache() {
  glowCache().clear();
  clipMaskCache().clear();
  backdropCache().clear();
  layerCache().clear();
}

}  // namespace zelto::render
