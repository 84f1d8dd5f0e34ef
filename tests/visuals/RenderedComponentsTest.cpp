#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

#include "RenderTestSupport.hpp"
#include "VisualsTestSupport.hpp"
#include "widget/visuals/LimitRing.hpp"
#include "widget/visuals/ZeltoAuroraBackground.hpp"

namespace zelto::visuals::test {
namespace {

// Two rings on the backdrop of a medium widget, drawn at 2x: each arc is
// drawn in its tone from 12 o'clock clockwise over its share and nowhere
// else, and the indigo glow sits at the top-trailing corner.
TEST(RenderedComponents, ArcsTakeTheirToneAndTheBackdropGlowsTopTrailing) {
  const ZeltoLimitWindow healthy{"five", "5 hours", 38, std::nullopt, 300};
  const ZeltoLimitWindow critical{"week", "Weekly", 95, std::nullopt, 10080};
  const kit::View content =
      kit::HStack(kit::VerticalAlignment::center, 24,
                  {kit::View(LimitRing{healthy}).frame(110, 138), kit::View(LimitRing{critical, true}).frame(90, 120)})
          .containerBackground(ZeltoAuroraBackground{});
  const kit::LaidOutTree tree = kit::layoutWidget(content, {364, 170}, environment(), textSystem(Fonts::system));
  render::test::RenderedImage image(kit::paint(tree), 2);

  std::vector<kit::Rect> arcs;  // the round-capped strokes, in tree order
  for (const kit::LaidOutNode* node : kit::findAll(tree, kit::NodeKind::shape)) {
    if (node->as<kit::ShapeContent>()->stroke.cap == kit::LineCap::round) arcs.push_back(node->frame);
  }
  ASSERT_EQ(arcs.size(), 2u);
  // Ring, degrees clockwise from 12 o'clock, drawn there, reddish there.
  const std::tuple<std::size_t, double, bool, bool> probes[] = {
      {0, 60, true, false}, {0, 300, false, false}, {1, 10, true, true}, {1, 90, false, false}};
  for (const auto& [ring, degrees, drawn, reddish] : probes) {
    const kit::Rect& r = arcs[ring];
    const double radius = std::min(r.width, r.height) / 2, angle = degrees * std::numbers::pi / 180;
    const render::test::Pixel pixel =
        image.at(r.x + r.width / 2 + radius * std::sin(angle), r.y + r.height / 2 - radius * std::cos(angle));
    EXPECT_EQ(pixel.red + pixel.green + pixel.blue > 400, drawn) << ring << " at " << degrees;
    EXPECT_EQ(drawn && pixel.red > pixel.blue, reddish) << ring << " at " << degrees;
  }
  EXPECT_GT(image.at(356, 12).blue, image.at(8, 12).blue + 40);
}

}  // namespace
}  // namespace zelto::visuals::test
