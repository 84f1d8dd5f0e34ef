#include <gtest/gtest.h>

#include <cmath>

#include "RenderTestSupport.hpp"

namespace zelto::render {
namespace {

using test::RenderedImage;

// A 60 pt square whose glow alone is drawn (the layer itself at opacity 0),
// so the image holds only the shadow.
kit::DisplayList glowOnly(const kit::Shadow& shadow) {
  const kit::Rect square{70, 70, 60, 60};
  return {{200, 200},
          {kit::PushLayer{0, shadow}, kit::FillPath{kit::Path::rectangle(square), kit::Color::white(), square},
           kit::PopLayer{}}};
}

// Coverage of a blurred edge at `distance` outside it: the Gaussian's tail.
double edgeCoverage(double distance, double sigma) { return 0.5 * std::erfc(distance / (sigma * std::sqrt(2.0))); }

struct SpreadCase {
  double radius;
  double scale;
};

class GlowSpread : public ::testing::TestWithParam<SpreadCase> {};

TEST_P(GlowSpread, FallsOffLikeAGaussianOfTheRadiusOnEverySide) {
  const auto [radius, scale] = GetParam();
  RenderedImage image(glowOnly({kit::Color::black(), radius, 0, 0}), scale);
  // Outwards from the middle of each edge, and inwards where the glow under
  // the shape is nearly full.
  for (double d : {-2.0, -1.0, 0.0, 0.5, 1.0, 1.5, 2.0, 3.0}) {
    const double right = image.pixelCenter(130 + d * radius), left = image.pixelCenter(70 - d * radius);
    EXPECT_NEAR(image.alphaAt(right, 100), edgeCoverage(right - 130, radius), 0.03) << "at " << d << " sigma";
    EXPECT_NEAR(image.alphaAt(100, right), edgeCoverage(right - 130, radius), 0.03) << "at " << d << " sigma";
    EXPECT_NEAR(image.alphaAt(left, 100), edgeCoverage(70 - left, radius), 0.03) << "at " << d << " sigma";
    EXPECT_NEAR(image.alphaAt(100, left), edgeCoverage(70 - left, radius), 0.03) << "at " << d << " sigma";
  }
}

INSTANTIATE_TEST_SUITE_P(Glow, GlowSpread,
                         ::testing::Values(SpreadCase{3, 1}, SpreadCase{5, 2}, SpreadCase{7, 3}, SpreadCase{12, 3},
                                           SpreadCase{12, 1}, SpreadCase{1, 4}));

TEST(Glow, IsTintedOffsetAndDrawnBehindTheShape) {
  const kit::Rect square{70, 70, 60, 60};
  const kit::Color indigo = kit::Color::srgb8(104, 118, 242);
  kit::DisplayList list{{200, 200},
                        {kit::PushLayer{1, kit::Shadow{indigo.withOpacity(0.5), 6, 0, 7}},
                         kit::FillPath{kit::Path::rectangle(square), kit::Color::white(), square}, kit::PopLayer{}}};
  RenderedImage image(list, 2);
  // The shape covers its own glow.
  EXPECT_TRUE(image.matches(100, 100, test::pixelOf(kit::Color::white()), 1));
  // Below the shape the glow is moved down by 7: its edge, half covered,
  // lies 7 pt under the shape's edge, and above the shape only the tail
  // that reaches 7 pt further remains.
  EXPECT_NEAR(image.alphaAt(100, 137), 0.5 * 0.5, 0.03);
  EXPECT_NEAR(image.alphaAt(100, 69), 0.5 * edgeCoverage(8, 6), 0.03);
  // The colour is the shadow's.
  const auto p = image.at(100, 140);
  ASSERT_GT(p.alpha, 20);
  EXPECT_NEAR(p.red / p.alpha, indigo.red, 0.05);
  EXPECT_NEAR(p.green / p.alpha, indigo.green, 0.05);
  EXPECT_NEAR(p.blue / p.alpha, indigo.blue, 0.05);
}

TEST(Glow, FollowsTheCurrentTransform) {
  // A glow drawn under a 2x transform spreads twice as far.
  const kit::Rect square{35, 35, 30, 30};
  kit::DisplayList list{
      {200, 200},
      {kit::PushTransform{{2, 0, 0, 2, 0, 0}}, kit::PushLayer{0, kit::Shadow{kit::Color::black(), 3, 0, 0}},
       kit::FillPath{kit::Path::rectangle(square), kit::Color::white(), square}, kit::PopLayer{}, kit::PopTransform{}}};
  RenderedImage image(list, 1);
  EXPECT_NEAR(image.alphaAt(130 + 6, 100), edgeCoverage(6, 6), 0.035);
  EXPECT_NEAR(image.alphaAt(130 + 12, 100), edgeCoverage(12, 6), 0.035);
}

TEST(Glow, WithoutRadiusIsASharpOffsetCopy) {
  RenderedImage image(glowOnly({kit::Color::black(), 0, 10, 0}), 1);
  EXPECT_NEAR(image.alphaAt(75, 100), 0, 0.01);
  EXPECT_NEAR(image.alphaAt(85, 100), 1, 0.01);
  EXPECT_NEAR(image.alphaAt(138, 100), 1, 0.01);
  EXPECT_NEAR(image.alphaAt(141, 100), 0, 0.01);
}

}  // namespace
}  // namespace zelto::render
