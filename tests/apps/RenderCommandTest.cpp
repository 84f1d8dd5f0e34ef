// The render and gallery commands' outputs: formats, default names, canvases
// and the errors for bad values.

#include <gtest/gtest.h>

#include <boost/json/parse.hpp>

#include <fstream>
#include <sstream>

#include "apps/zelto-limits-widget/GalleryCommand.hpp"
#include "apps/zelto-limits-widget/RenderCommand.hpp"
#include "apps/zelto-limits-widget/RequestOptions.hpp"
#include "tests/support/SceneFixtures.hpp"
#include "tests/support/TemporaryDirectory.hpp"

namespace zelto::cli {
namespace {

TEST(RenderCommand, ReadsCanvasSizesAndNamesFiles) {
  EXPECT_EQ(parseCanvasSize("300.5x200").width, 300.5);
  EXPECT_EQ(parseCanvasSize("300.5x200").height, 200);
  for (const char* bad : {"", "364", "364x", "x170", "0x100", "100x-1", "axb", "10x10x10", "nanx10", "infx10"}) {
    EXPECT_THROW(parseCanvasSize(bad), UsageError) << bad;
  }
  EXPECT_EQ(defaultOutputName(kit::WidgetFamily::systemSmall, 2, RenderFormat::png), "zelto-limits-small@2x.png");
  EXPECT_EQ(defaultOutputName(kit::WidgetFamily::systemLarge, 1.5, RenderFormat::svg), "zelto-limits-large@1.5x.svg");
}

struct Output {
  RenderFormat format;
  std::optional<kit::Size> canvas;
  double scale;
  const char* magic;  // how the file starts
  int width, height;  // PNG pixels
};

TEST(RenderCommand, WritesEachFormatAndPrintsThePath) {
  testing::TemporaryDirectory folder;
  const auto environment = testing::environmentIn(folder.path());
  int run = 0;
  for (const Output& o : {Output{RenderFormat::png, std::nullopt, 2, "\x89PNG", 728, 340},
                          Output{RenderFormat::png, kit::Size{300, 200}, 3, "\x89PNG", 900, 600},
                          Output{RenderFormat::svg, std::nullopt, 2, "<?xml", 0, 0},
                          Output{RenderFormat::pdf, std::nullopt, 2, "%PDF", 0, 0}}) {
    RenderRequest request;
    request.scene = scene::settingsFor(kit::WidgetFamily::systemMedium);
    request.scene.canvas = o.canvas;
    request.scale = o.scale;
    request.format = o.format;
    request.output = folder / ("out-" + std::to_string(++run));
    std::ostringstream out;
    ASSERT_EQ(runRender(environment, request, testing::sceneTextSystem(), out), 0);
    EXPECT_EQ(out.str(), request.output->string() + "\n");
    std::ifstream file(*request.output, std::ios::binary);
    std::string head(24, '\0');
    file.read(head.data(), 24);
    EXPECT_EQ(head.rfind(o.magic, 0), 0u) << head;
    // The PNG header's width and height, big-endian (their low halves).
    const auto big = [&](int at) { return static_cast<unsigned char>(head[at]) * 256 + static_cast<unsigned char>(head[at + 1]); };
    if (o.format == RenderFormat::png) {
      EXPECT_EQ(std::pair(big(18), big(22)), std::pair(o.width, o.height));
    }
  }
}

TEST(RenderCommand, PrintsTheTreeAndAccessibilityAndRefusesBadScales) {
  testing::TemporaryDirectory folder;
  const auto environment = testing::environmentIn(folder.path());
  RenderRequest request;
  request.preview = true;  // the sample, whose primary account is "Personal"
  std::ostringstream tree, a11y, refused;
  request.format = RenderFormat::tree;
  ASSERT_EQ(runRender(environment, request, testing::sceneTextSystem(), tree), 0);
  EXPECT_EQ(boost::json::parse(tree.str()).at("size").at("width").as_double(), 170);
  EXPECT_NE(tree.str().find("\"view\":\"SmallAccountView\""), std::string::npos);
  request.format = RenderFormat::a11y;
  ASSERT_EQ(runRender(environment, request, testing::sceneTextSystem(), a11y), 0);
  const auto first = boost::json::parse(a11y.str()).at(0);
  EXPECT_EQ(first.at("label"), "Personal");
  EXPECT_EQ(first.at("role"), "text");
  EXPECT_GT(first.at("frame").at("x").as_double(), 16);  // after the glyph, inside the margin
  for (const double scale : {0.5, 4.5}) {
    request.scale = scale;
    EXPECT_THROW(runRender(environment, request, testing::sceneTextSystem(), refused), UsageError);
    EXPECT_THROW(runGallery(environment, GalleryRequest{folder / "g.png", scale}, testing::sceneTextSystem(), refused),
                 UsageError);
  }
  EXPECT_TRUE(refused.str().empty());
}

}  // namespace
}  // namespace zelto::cli
