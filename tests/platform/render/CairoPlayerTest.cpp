#include "platform/render/CairoPlayer.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "RenderTestSupport.hpp"

namespace zelto::render {
namespace {

using std::numbers::pi;
using test::pixelOf;
using test::RenderedImage;

const kit::Color red = kit::Color::srgb8(255, 0, 0);
const kit::Color green = kit::Color::srgb8(0, 255, 0);
const kit::Color blue = kit::Color::srgb8(0, 0, 255);

kit::FillPath fill(const kit::Rect& r, kit::Paint paint) { return {kit::Path::rectangle(r), std::move(paint), r}; }

TEST(CairoPlayer, FillsContinuousCornersAlongTheirCurve) {
  const kit::Rect card{10, 10, 120, 80};
  const double radius = 24;
  kit::DisplayList list{
      {140, 100}, {kit::FillPath{kit::Path::continuousRoundedRectangle(card, radius), kit::Color::white(), card}}};
  RenderedImage image(list, 2);
  // Step along the top-right corner's curve; one point to either side of
  // it along the normal lies fully outside and fully inside.
  for (double t = 0.02; t < 1; t += 0.08) {
    const kit::Point p = test::continuousTopRightCornerPoint(card, radius, t);
    const kit::Point before = test::continuousTopRightCornerPoint(card, radius, t - 0.01);
    const kit::Point after = test::continuousTopRightCornerPoint(card, radius, t + 0.01);
    const double tx = after.x - before.x, ty = after.y - before.y, length = std::hypot(tx, ty);
    const kit::Point outward{ty / length, -tx / length};
    EXPECT_TRUE(image.alphaWithin(p.x + outward.x, p.y + outward.y, 0, 0.02)) << "t " << t;
    EXPECT_TRUE(image.alphaWithin(p.x - outward.x, p.y - outward.y, 0.98, 1)) << "t " << t;
  }
  // The curve starts 1.52866 r from the vertex: a circular corner would
  // have covered this pixel just inside the top edge, short of r.
  EXPECT_TRUE(image.alphaWithin(card.maxX() - 0.6 * radius, card.minY() + 0.3, 0, 0.9));
  EXPECT_TRUE(image.alphaWithin(card.maxX() - 1.6 * radius, card.minY() + 0.6, 0.98, 1));
}

TEST(CairoPlayer, LinearGradientHitsItsStopColours) {
  const kit::Rect bar{0, 0, 100, 10};
  kit::LinearGradient gradient{
      {{red, 0}, {green, 0.25}, {blue, 1}}, kit::UnitPoint::leading(), kit::UnitPoint::trailing()};
  kit::DisplayList list{{100, 10}, {fill(bar, gradient)}};
  RenderedImage image(list, 4);
  EXPECT_TRUE(image.matches(0.1, 5, pixelOf(red), 2));
  EXPECT_TRUE(image.matches(25.1, 5, pixelOf(green), 2));
  EXPECT_TRUE(image.matches(99.9, 5, pixelOf(blue), 2));
  EXPECT_TRUE(image.matches(62.5, 5, pixelOf({0, 0.5, 0.5, 1}), 3));
}

TEST(CairoPlayer, LinearGradientUsesUnitPointsOfTheShapesBounds) {
  // The same gradient on a shape elsewhere follows that shape's bounds.
  const kit::Rect shape{50, 20, 40, 40};
  kit::LinearGradient gradient{{{red, 0}, {blue, 1}}, kit::UnitPoint::top(), kit::UnitPoint::bottom()};
  kit::DisplayList list{{100, 70}, {fill(shape, gradient)}};
  RenderedImage image(list, 2);
  EXPECT_TRUE(image.matches(70, 20.2, pixelOf(red), 4));
  EXPECT_TRUE(image.matches(70, 40.2, pixelOf({0.5, 0, 0.5, 1}), 4));
  EXPECT_TRUE(image.matches(70, 59.8, pixelOf(blue), 4));
}

TEST(CairoPlayer, RadialGradientHasAbsoluteRadii) {
  const kit::Rect shape{0, 0, 200, 100};
  kit::RadialGradient gradient{{{red, 0}, {blue.withOpacity(0), 1}}, {0, 0}, 0, 100};
  kit::DisplayList list{{200, 100}, {fill(shape, gradient)}};
  RenderedImage image(list, 1);
  EXPECT_TRUE(image.matches(0.5, 0.5, pixelOf(red), 4));
  EXPECT_TRUE(image.matches(150, 50, {0, 0, 0, 0}, 1)) << "beyond the end radius";
  const auto half = image.at(50, 0);
  EXPECT_NEAR(half.alpha, 127.5, 4);

  // Past the end radius the end colour continues.
  kit::DisplayList opaque{{200, 100}, {fill(shape, kit::RadialGradient{{{red, 0}, {blue, 1}}, {0, 0}, 0, 100})}};
  RenderedImage padded(opaque, 1);
  EXPECT_TRUE(padded.matches(150, 50, pixelOf(blue), 1));
  EXPECT_TRUE(padded.matches(199, 99, pixelOf(blue), 1));
}

TEST(CairoPlayer, StrokeIsCentredOnTheOutline) {
  const kit::Rect square{20, 20, 60, 60};
  kit::DisplayList list{
      {100, 100}, {kit::StrokePath{kit::Path::rectangle(square), kit::Color::black(), square, test::lineStyle(10)}}};
  RenderedImage image(list, 2);
  // Half the 10 pt line lies outside the square, half inside.
  EXPECT_TRUE(image.alphaWithin(14.5, 50, 0, 0.02));
  EXPECT_TRUE(image.alphaWithin(15.5, 50, 0.98, 1));
  EXPECT_TRUE(image.alphaWithin(24.5, 50, 0.98, 1));
  EXPECT_TRUE(image.alphaWithin(25.5, 50, 0, 0.02));
  EXPECT_TRUE(image.alphaWithin(50, 50, 0, 0.02));
}

TEST(CairoPlayer, TrimmedArcRotatedBackAQuarterStartsAtTwelveOClock) {
  const kit::Rect dial{10, 10, 80, 80};
  kit::StrokeStyle style = test::lineStyle(8);
  style.cap = kit::LineCap::butt;
  kit::DisplayList list{
      {100, 100},
      {kit::PushTransform{kit::AffineTransform::rotation(-pi / 2, {50, 50})},
       kit::StrokePath{kit::Path::circleArc(dial, 0, 0.25), kit::Color::black(), dial, style}, kit::PopTransform{}}};
  RenderedImage image(list, 3);
  // Clock angle in degrees from 12, clockwise.
  auto onRing = [&](double degrees) {
    const double a = (degrees - 90) * pi / 180;
    return kit::Point{50 + 40 * std::cos(a), 50 + 40 * std::sin(a)};
  };
  for (double lit : {3.0, 45.0, 87.0}) {
    const auto p = onRing(lit);
    EXPECT_TRUE(image.alphaWithin(p.x, p.y, 0.95, 1)) << lit << " degrees";
  }
  for (double dark : {-3.0, 93.0, 180.0, 270.0}) {
    const auto p = onRing(dark);
    EXPECT_TRUE(image.alphaWithin(p.x, p.y, 0, 0.02)) << dark << " degrees";
  }
}

TEST(CairoPlayer, DashesLeaveGaps) {
  kit::Path line;
  line.moveTo({0, 5});
  line.lineTo({100, 5});
  kit::StrokeStyle style = test::lineStyle(4);
  style.dash = {10, 10};
  kit::DisplayList list{{100, 10}, {kit::StrokePath{line, kit::Color::black(), {0, 0, 100, 10}, style}}};
  RenderedImage image(list, 1);
  EXPECT_TRUE(image.alphaWithin(5, 5, 0.98, 1));
  EXPECT_TRUE(image.alphaWithin(15, 5, 0, 0.02));
  EXPECT_TRUE(image.alphaWithin(25, 5, 0.98, 1));
}

TEST(CairoPlayer, LayerOpacityAppliesToTheGroupAsAWhole) {
  kit::DisplayList list{{60, 20},
                        {kit::PushLayer{0.5, std::nullopt}, fill({0, 0, 40, 20}, kit::Color::black()),
                         fill({20, 0, 40, 20}, kit::Color::black()), kit::PopLayer{}}};
  RenderedImage image(list, 1);
  // Where the two shapes overlap the layer is as opaque as elsewhere.
  EXPECT_NEAR(image.alphaAt(10, 10), 0.5, 0.01);
  EXPECT_NEAR(image.alphaAt(30, 10), 0.5, 0.01);
  EXPECT_NEAR(image.alphaAt(50, 10), 0.5, 0.01);
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
  EXPECT_TRUE(image.matches(75, 10, {}, 1));
  EXPECT_TRUE(image.matches(75, 95, pixelOf(green), 1)) << "after the pop, untransformed";
}

TEST(CairoPlayer, DrawsTextInItsPaint) {
  const auto request = test::interRequest("ZELTO", 30, kit::FontWeight::bold);
  const auto m = test::testTextSystem().measure(request, std::nullopt, std::nullopt);
  kit::DisplayList list{{m.size.width, m.size.height},
                        {kit::DrawText{request, {0, 0, m.size.width, m.size.height}, red}}};
  RenderedImage image(list, 2);
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
  broken.lineTo({10, 10});
  kit::StrokeStyle badStroke = test::lineStyle(-3);
  kit::StrokeStyle badDash = test::lineStyle(2);
  badDash.dash = {0, 0};
  badDash.miterLimit = NAN;
  std::vector<kit::DisplayCommand> commands = {
      kit::PopLayer{},
      kit::PopClip{},
      kit::FillPath{broken, red, {0, 0, 10, 10}},
      kit::StrokePath{kit::Path::rectangle({0, 0, 10, 10}), red, {0, 0, 10, 10}, badStroke},
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
  kit::DisplayList list{{100, 100}, commands};
  RenderedImage image(list, 1);
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
  cairo_set_source_rgb(cr, 0, 1, 0);
  cairo_set_line_width(cr, 7);
  kit::DisplayList list{{10, 10},
                        {kit::PushTransform{kit::AffineTransform::translation(1, 1)}, fill({0, 0, 5, 5}, red),
                         kit::PushClip{kit::Path::rectangle({0, 0, 2, 2})}}};
  CairoPlayer(test::testTextSystem()).play(list, cr, 2);
  cairo_matrix_t matrix;
  cairo_get_matrix(cr, &matrix);
  EXPECT_EQ(matrix.x0, 3);
  EXPECT_EQ(matrix.y0, 4);
  EXPECT_EQ(matrix.xx, 1);
  EXPECT_EQ(cairo_get_line_width(cr), 7);
  double r = 0, g = 0, b = 0, a = 0;
  cairo_pattern_get_rgba(cairo_get_source(cr), &r, &g, &b, &a);
  EXPECT_EQ(g, 1);
  EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

}  // namespace
}  // namespace zelto::render
