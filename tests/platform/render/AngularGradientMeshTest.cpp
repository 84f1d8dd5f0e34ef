#include "platform/render/AngularGradientMesh.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "RenderTestSupport.hpp"

namespace zelto::render {
namespace {

using std::numbers::pi;

const kit::Color red = kit::Color::srgb8(255, 0, 0);
const kit::Color green = kit::Color::srgb8(0, 255, 0);
const kit::Color blue = kit::Color::srgb8(0, 0, 255);

void expectColor(const kit::Color& actual, const kit::Color& expected, double tolerance = 1e-9) {
  EXPECT_NEAR(actual.red, expected.red, tolerance);
  EXPECT_NEAR(actual.green, expected.green, tolerance);
  EXPECT_NEAR(actual.blue, expected.blue, tolerance);
  EXPECT_NEAR(actual.opacity, expected.opacity, tolerance);
}

kit::AngularGradient fullTurn(std::vector<kit::Color> colors) {
  kit::AngularGradient g;
  for (std::size_t i = 0; i < colors.size(); ++i) {
    g.stops.push_back({colors[i], static_cast<double>(i) / (colors.size() - 1)});
  }
  return g;
}

TEST(AngularGradientColor, SweepsClockwiseFromTheStartAngle) {
  auto g = fullTurn({red, green, blue});
  g.startAngle = -pi / 2;
  g.endAngle = 3 * pi / 2;
  expectColor(angularGradientColor(g, -pi / 2), red);
  expectColor(angularGradientColor(g, pi / 2), green);        // half way, 6 o'clock
  expectColor(angularGradientColor(g, 0), {0.5, 0.5, 0, 1});  // a quarter: red to green
  expectColor(angularGradientColor(g, 3 * pi / 2 - 1e-9), blue, 1e-6);
  expectColor(angularGradientColor(g, 2 * pi), {0.5, 0.5, 0, 1});  // angles wrap around
}

TEST(AngularGradientColor, FillsAShortSweepsGapHalfLastHalfFirst) {
  kit::AngularGradient g = fullTurn({red, blue});
  g.startAngle = 0;
  g.endAngle = pi;  // half a turn; the gap is the upper half
  expectColor(angularGradientColor(g, pi / 2), {0.5, 0, 0.5, 1});
  expectColor(angularGradientColor(g, 1.2 * pi), blue);
  expectColor(angularGradientColor(g, 1.8 * pi), red);
}

TEST(AngularGradientColor, KeepsTheEndColoursOutsideTheStops) {
  kit::AngularGradient g;
  g.stops = {{red, 0.25}, {blue, 0.75}};
  expectColor(angularGradientColor(g, 0.1 * 2 * pi), red);
  expectColor(angularGradientColor(g, 0.5 * 2 * pi), {0.5, 0, 0.5, 1});
  expectColor(angularGradientColor(g, 0.9 * 2 * pi), blue);
}

TEST(AngularGradientColor, DegenerateGradientsPaintPlainly) {
  kit::AngularGradient none;
  expectColor(angularGradientColor(none, 1), kit::Color::clear());
  auto backwards = fullTurn({red, blue});
  backwards.startAngle = 2;
  backwards.endAngle = 1;
  expectColor(angularGradientColor(backwards, 0.3), red);
  auto nan = fullTurn({red, blue});
  nan.endAngle = NAN;
  expectColor(angularGradientColor(nan, 0.3), red);
}

TEST(AngularGradientMesh, ColoursTheRingAtFourAngles) {
  // A 20 pt wide ring at 3x, as a gauge draws it: sample each quarter.
  auto g = fullTurn({red, green, blue, red});
  g.startAngle = -pi / 2;
  g.endAngle = 3 * pi / 2;
  const kit::Rect bounds{0, 0, 100, 100};
  kit::DisplayList list{
      {100, 100},
      {kit::StrokePath{kit::Path::circleArc(bounds.insetBy(10, 10), 0, 1), g, bounds, test::lineStyle(20)}}};
  test::RenderedImage image(list, 3);
  const double radius = 40;
  for (double turn : {0.0, 0.25, 0.5, 0.75, 0.125, 0.625}) {
    const double angle = -pi / 2 + turn * 2 * pi;
    const double x = 50 + radius * std::cos(angle), y = 50 + radius * std::sin(angle);
    // A pixel is 1/3 pt; sample a hair inside the sector so it lies on it.
    EXPECT_TRUE(image.matches(x, y, test::pixelOf(angularGradientColor(g, angle)), 6)) << "turn " << turn;
  }
}

TEST(AngularGradientMesh, HasNoSeamsBetweenSectors) {
  // Adjacent pixels along a ring never jump by more than a smooth sweep
  // allows: a seam would show as a dark or light step.
  auto g =
      fullTurn({kit::Color::srgb8(104, 118, 242), kit::Color::srgb8(174, 190, 255), kit::Color::srgb8(104, 118, 242)});
  const kit::Rect bounds{0, 0, 60, 60};
  kit::DisplayList list{{60, 60}, {kit::FillPath{kit::Path::rectangle(bounds), g, bounds}}};
  test::RenderedImage image(list, 3);
  const double radius = 25;
  double largestStep = 0;
  test::Pixel previous = image.at(30 + radius, 30);
  for (int i = 1; i <= 2000; ++i) {
    const double angle = i * 2 * pi / 2000;
    const test::Pixel p = image.at(30 + radius * std::cos(angle), 30 + radius * std::sin(angle));
    largestStep = std::max({largestStep, std::abs(p.red - previous.red), std::abs(p.green - previous.green),
                            std::abs(p.blue - previous.blue), std::abs(p.alpha - previous.alpha)});
    previous = p;
  }
  EXPECT_LE(largestStep, 3);
}

}  // namespace
}  // namespace zelto::render
