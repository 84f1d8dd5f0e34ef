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

kit::AngularGradient fullTurn(std::vector<kit::Color> colors, double start = 0, double end = 2 * pi) {
  kit::AngularGradient g;
  for (std::size_t i = 0; i < colors.size(); ++i) {
    g.stops.push_back({colors[i], static_cast<double>(i) / (colors.size() - 1)});
  }
  g.startAngle = start;
  g.endAngle = end;
  return g;
}

struct ColorCase {
  const char* name;
  kit::AngularGradient gradient;
  double angle;
  kit::Color expected;
};

class AngularGradientColor : public ::testing::TestWithParam<ColorCase> {};

TEST_P(AngularGradientColor, SweepsClockwiseFromTheStartAngle) {
  const ColorCase& c = GetParam();
  const kit::Color actual = angularGradientColor(c.gradient, c.angle);
  for (const auto& [a, e] : {std::pair{actual.red, c.expected.red},
                             {actual.green, c.expected.green},
                             {actual.blue, c.expected.blue},
                             {actual.opacity, c.expected.opacity}}) {
    EXPECT_NEAR(a, e, 1e-6) << c.name;
  }
}

const kit::AngularGradient fromTwelve = fullTurn({red, green, blue}, -pi / 2, 3 * pi / 2);
const kit::AngularGradient halfTurn = fullTurn({red, blue}, 0, pi);  // the gap is the upper half

INSTANTIATE_TEST_SUITE_P(
    Angles, AngularGradientColor,
    ::testing::Values(ColorCase{"start", fromTwelve, -pi / 2, red}, ColorCase{"half way", fromTwelve, pi / 2, green},
                      ColorCase{"a quarter", fromTwelve, 0, {0.5, 0.5, 0, 1}},
                      ColorCase{"just before the end", fromTwelve, 3 * pi / 2 - 1e-9, blue},
                      ColorCase{"wrapped around", fromTwelve, 2 * pi, {0.5, 0.5, 0, 1}},
                      ColorCase{"short sweep", halfTurn, pi / 2, {0.5, 0, 0.5, 1}},
                      ColorCase{"gap, near the end", halfTurn, 1.2 * pi, blue},
                      ColorCase{"gap, near the start", halfTurn, 1.8 * pi, red},
                      ColorCase{"before the first stop", {{{red, 0.25}, {blue, 0.75}}}, 0.2 * pi, red},
                      ColorCase{"after the last stop", {{{red, 0.25}, {blue, 0.75}}}, 1.8 * pi, blue},
                      ColorCase{"no stops", {}, 1, kit::Color::clear()},
                      ColorCase{"backwards", fullTurn({red, blue}, 2, 1), 0.3, red},
                      ColorCase{"not a number", fullTurn({red, blue}, 0, NAN), 0.3, red}));

TEST(AngularGradientMesh, ColoursTheRingAtFourAngles) {
  // A 20 pt wide ring at 3x, as a gauge draws it: sample each quarter.
  const auto g = fullTurn({red, green, blue, red}, -pi / 2, 3 * pi / 2);
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
