#include "platform/render/CairoPlayer.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "RenderTestSupport.hpp"

namespace zelto::render {
namespace {

using test::pixelOf;
using test::RenderedImage;

const kit::Color red = kit::Color::srgb8(255, 0, 0);
const kit::Color green = kit::Color::srgb8(0, 255, 0);
const kit::Color blue = kit::Color::srgb8(0, 0, 255);

kit::FillPath fill(const kit::Rect& r, kit::Paint paint) { return {kit::Path::rectangle(r), std::move(paint), r}; }

TEST(CairoPlayer, LinearGradientHitsItsStopsAlongTheShapesOwnBounds) {
  const kit::Rect bar{0, 20, 100, 10}, square{50, 40, 40, 40};
  kit::DisplayList list{{100, 80},
                        {fill(bar, kit::LinearGradient{{{red, 0}, {green, 0.25}, {blue, 1}},
                                                       kit::UnitPoint::leading(),
                                                       kit::UnitPoint::trailing()}),
                         fill(square, kit::LinearGradient{{{red, 0}, {blue, 1}}})}};
  RenderedImage image(list, 4);
  EXPECT_TRUE(image.matches(0.1, 25, pixelOf(red), 2));
  EXPECT_TRUE(image.matches(25.1, 25, pixelOf(green), 2));
  EXPECT_TRUE(image.matches(62.5, 25, pixelOf({0, 0.5, 0.5, 1}), 3));
  EXPECT_TRUE(image.matches(70, 40.1, pixelOf(red), 4)) << "top to bottom of the square, not of the canvas";
  EXPECT_TRUE(image.matches(70, 60.1, pixelOf({0.5, 0, 0.5, 1}), 4));
}

TEST(CairoPlayer, RadialGradientHasAbsoluteRadiiAndPadsBeyondThem) {
  const kit::Rect shape{0, 0, 200, 100};
  kit::DisplayList list{{200, 100},
                        {fill(shape, kit::RadialGradient{{{red, 0}, {blue.withOpacity(0.5), 1}}, {0, 0}, 0, 100})}};
  RenderedImage image(list, 1);
  EXPECT_TRUE(image.matches(0.5, 0.5, pixelOf(red), 4));
  EXPECT_NEAR(image.at(50, 0).alpha, 0.75 * 255, 4);
  EXPECT_TRUE(image.matches(150, 50, pixelOf(blue.withOpacity(0.5)), 1)) << "beyond the end radius";
}

TEST(CairoPlayer, StrokesKeepTheirWidthAndDashes) {
  kit::Path line;
  line.moveTo({0, 5});
  line.lineTo({100, 5});
  kit::StrokeStyle dashed = test::lineStyle(4);
  dashed.dash = {10, 10};
  RenderedImage image({{100, 10}, {kit::StrokePath{line, kit::Color::black(), {0, 0, 100, 10}, dashed}}}, 2);
  EXPECT_TRUE(image.alphaWithin(5, 5, 0.98, 1));
  EXPECT_TRUE(image.alphaWithin(5, 7.5, 0, 0.02)) << "2 pt either side of the line";
  EXPECT_TRUE(image.alphaWithin(15, 5, 0, 0.02)) << "a gap";
  EXPECT_TRUE(image.alphaWithin(25, 5, 0.98, 1));
}

TEST(CairoPlayer, LayerOpacityAppliesToTheGroupAsAWhole) {
  kit::DisplayList list{{60, 20},
                        {kit::PushLayer{0.5, std::nullopt}, fill({0, 0, 40, 20}, kit::Color::black()),
                         fill({20, 0, 40, 20}, kit::Color::black()), kit::PopLayer{}}};
  RenderedImage image(list, 1);
  for (double x : {10.0, 30.0, 50.0}) EXPECT_NEAR(image.alphaAt(x, 10), 0.5, 0.01) << "overlap as opaque as elsewhere";
}

TEST(CairoPlayer, ClipsAndTransformsLastUntilTheirPop) {
  kit::DisplayList list{{100, 100},
                        {kit::PushClip{kit::Path::rectangle({0, 0, 50, 100})}, fill({0, 0, 100, 40}, red),
                         kit::PopClip{}, kit::PushTransform{kit::AffineTransform::translation(0, 60)},
                         fill({0, 0, 100, 20}, blue), kit::PopTransform{}, fill({0, 90, 100, 10}, green)}};
  RenderedImage image(list, 1);
  EXPECT_TRUE(image.matches(25, 20, pixelOf(red), 1));
  EXPECT_TRUE(image.matches(75, 20, {}, 1)) << "clipped away";
  EXPECT_TRUE(image.matches(75, 70, pixelOf(blue), 1)) << "moved down";
  EXPECT_TRUE(image.matches(75, 95, pixelOf(green), 1)) << "after the pop, untransformed";
}

// A large rounded clip and an opaque backdrop are drawn from rasters kept
// across frames; a frame at another scale or with other colours must not
// get the previous frame's raster.
TEST(CairoPlayer, CachedClipAndBackdropFollowScaleAndContent) {
  const kit::Rect canvas{0, 0, 300, 300};
  const auto frame = [&](const kit::Color& base) {
    return kit::DisplayList{{300, 300},
                            {fill(canvas, kit::Color::white()),
                             kit::PushClip{kit::Path::continuousRoundedRectangle(canvas, 40)}, fill(canvas, base),
                             fill(canvas, blue.withOpacity(0.5)), kit::PopClip{}}};
  };
  const struct {
    kit::Color base;
    double scale;
    test::Pixel inside;
  } frames[] = {{red, 1, pixelOf({0.5, 0, 0.5, 1})},
                {red, 2, pixelOf({0.5, 0, 0.5, 1})},
                {green, 2, pixelOf({0, 0.5, 0.5, 1})},
                {green, 1, pixelOf({0, 0.5, 0.5, 1})}};
  for (const auto& f : frames) {
    RenderedImage image(frame(f.base), f.scale);
    EXPECT_TRUE(image.matches(150, 150, f.inside, 2)) << "scale " << f.scale;
    EXPECT_TRUE(image.matches(290, 280, f.inside, 2)) << "near the far corner, scale " << f.scale;
    const test::Pixel beneath = pixelOf(kit::Color::white());
    EXPECT_TRUE(image.matches(299.5, 299.5, beneath, 1)) << "outside the rounded corner, scale " << f.scale;
    EXPECT_TRUE(image.matches(0.5, 299.5, beneath, 1)) << "outside the rounded corner, scale " << f.scale;
  }
}

// A shape under a glow is kept as one raster of both; another scale, place
// or colour draws afresh.
TEST(CairoPlayer, CachedGlowingShapeFollowsScalePlaceAndContent) {
  const auto frame = [](const kit::Color& color, double x) {
    return kit::DisplayList{
        {200, 100},
        {kit::PushLayer{1, kit::Shadow{kit::Color::black(), 4, 0, 0}}, fill({x, 20, 100, 60}, color), kit::PopLayer{}}};
  };
  const struct {
    kit::Color color;
    double x, scale;
  } frames[] = {{red, 20, 1}, {red, 20, 2}, {green, 20, 2}, {green, 80, 2}, {red, 80, 1}};
  for (const auto& f : frames) {
    RenderedImage image(frame(f.color, f.x), f.scale);
    EXPECT_TRUE(image.matches(f.x + 98, 78, pixelOf(f.color), 1)) << "scale " << f.scale << " at " << f.x;
    EXPECT_TRUE(image.alphaWithin(f.x + 102, 50, 0.05, 0.95)) << "the glow beside it";
    EXPECT_TRUE(image.matches(f.x > 50 ? 10 : 190, 50, {}, 1)) << "nothing far from it";
  }
}

TEST(CairoPlayer, DrawsTextInItsPaint) {
  const auto request = test::interRequest("ZELTO", 30, kit::FontWeight::bold);
  const auto m = test::testTextSystem().measure(request, std::nullopt, std::nullopt);
  RenderedImage image({m.size, {kit::DrawText{request, {0, 0, m.size.width, m.size.height}, red}}}, 2);
  int opaqueRed = 0, other = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const auto p = image.pixel(x, y);
      if (p.alpha == 255) (p.red == 255 && p.green == 0 && p.blue == 0 ? opaqueRed : other)++;
    }
  }
  EXPECT_GT(opaqueRed, 200);
  EXPECT_EQ(other, 0);
}

TEST(CairoPlayer, BadCommandsDrawLessAndNeverStopTheRest) {
  kit::Path broken;
  broken.moveTo({0, 0});
  broken.lineTo({NAN, 10});
  kit::StrokeStyle badDash = test::lineStyle(-3);
  badDash.dash = {0, 0};
  badDash.miterLimit = NAN;
  std::vector<kit::DisplayCommand> commands = {
      kit::PopLayer{},
      kit::PopClip{},
      kit::FillPath{broken, red, {0, 0, 10, 10}},
      kit::StrokePath{kit::Path::rectangle({0, 0, 10, 10}), red, {0, 0, 10, 10}, badDash},
      kit::PushTransform{{0, 0, 0, 0, 0, 0}},
      fill({0, 0, 100, 100}, red),
      kit::PopTransform{},
      kit::PushTransform{{NAN, 0, 0, 1, 0, 0}},
      fill({0, 0, 100, 100}, red),
      kit::PopTransform{},
      kit::FillPath{kit::Path::rectangle({0, 0, 10, 10}), kit::LinearGradient{}, {0, 0, NAN, 10}},
      fill({80, 80, 20, 20}, kit::LinearGradient{}),
      fill({60, 60, 10, 10}, kit::Color{2, -1, NAN, 7}),
      kit::PushLayer{NAN, kit::Shadow{red, NAN, 0, 0}},
      fill({40, 40, 10, 10}, blue),
  };
  for (int i = 0; i < 1000; ++i) commands.push_back(kit::PushClip{kit::Path::rectangle({0, 0, 100, 100})});
  commands.push_back(fill({0, 0, 5, 5}, red));
  RenderedImage image({{100, 100}, commands}, 1);
  EXPECT_TRUE(image.matches(45, 45, pixelOf(blue), 1)) << "valid commands after bad ones still draw";
  EXPECT_TRUE(image.matches(20, 20, {}, 1)) << "a singular or broken transform hides its content";
  EXPECT_TRUE(image.matches(2, 2, {}, 1)) << "content nested past any real depth is not drawn";
  EXPECT_TRUE(image.matches(65, 65, pixelOf({1, 0, 0, 1}), 1)) << "colour components are clamped";
  EXPECT_TRUE(image.matches(90, 90, {}, 1)) << "a gradient without stops paints nothing";
}

TEST(CairoPlayer, LeavesACallersContextAsItWas) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 20);
  cairo_t* cr = cairo_create(surface);
  cairo_translate(cr, 3, 4);
  cairo_set_line_width(cr, 7);
  kit::DisplayList list{{10, 10},
                        {kit::PushTransform{kit::AffineTransform::translation(1, 1)}, fill({0, 0, 5, 5}, red),
                         kit::PushClip{kit::Path::rectangle({0, 0, 2, 2})}}};
  CairoPlayer(test::testTextSystem()).play(list, cr, 2);
  cairo_matrix_t matrix;
  cairo_get_matrix(cr, &matrix);
  EXPECT_EQ(std::tuple(matrix.x0, matrix.y0, matrix.xx), std::tuple(3.0, 4.0, 1.0));
  EXPECT_EQ(cairo_get_line_width(cr), 7);
  EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

}  // namespace
}  // namespace zelto::render
