#include "platform/render/RenderOutput.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "RenderTestSupport.hpp"
#include "tests/support/TemporaryDirectory.hpp"

namespace zelto::render {
namespace {

kit::DisplayList sampleList(kit::Size size = {120, 50}) {
  const kit::Rect card{4, 4, size.width - 8, size.height - 8};
  return {size,
          {kit::PushLayer{1, kit::Shadow{kit::Color::black(0.3), 6, 0, 3}},
           kit::FillPath{kit::Path::continuousRoundedRectangle(card, 12), kit::Color::srgb8(19, 27, 70), card},
           kit::PopLayer{}, kit::DrawText{test::interRequest("Zelto", 13), {12, 12, 60, 20}, kit::Color::white()}}};
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class PngScale : public ::testing::TestWithParam<double> {};

TEST_P(PngScale, HasTheCanvasSizeTimesTheScaleInPixelsOnATransparentBackground) {
  const zelto::testing::TemporaryDirectory directory;
  const auto path = directory / "card.png";
  ASSERT_TRUE(Renderer(test::testTextSystem()).renderPng({{170, 170}, {}}, GetParam(), path).ok());
  cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(image), std::lround(170 * GetParam()));
  EXPECT_EQ(cairo_image_surface_get_height(image), std::lround(170 * GetParam()));
  EXPECT_EQ(cairo_image_surface_get_data(image)[3], 0) << "nothing drawn is transparent";
  cairo_surface_destroy(image);
}

INSTANTIATE_TEST_SUITE_P(RenderOutput, PngScale, ::testing::Values(1.0, 1.5, 3.0, 4.0));

struct BadOutput {
  kit::Size size;
  double scale;
  const char* error;
};

class RefusedPng : public ::testing::TestWithParam<BadOutput> {};

TEST_P(RefusedPng, GivesAClearErrorAndNoBytes) {
  const auto result = Renderer(test::testTextSystem()).png(sampleList(GetParam().size), GetParam().scale);
  EXPECT_EQ(result.error, GetParam().error);
  EXPECT_TRUE(result.bytes.empty());
}

INSTANTIATE_TEST_SUITE_P(RenderOutput, RefusedPng,
                         ::testing::Values(BadOutput{{100, 100}, 0.5, "scale must be between 1 and 4"},
                                           BadOutput{{100, 100}, NAN, "scale must be between 1 and 4"},
                                           BadOutput{{-5, 100}, 2, "canvas is empty"},
                                           BadOutput{{INFINITY, 100}, 2, "canvas size is not a finite number"},
                                           BadOutput{{0.1, 100}, 2, "canvas is smaller than a pixel"},
                                           BadOutput{
                                               {5000, 100}, 4, "image would be larger than 16384 pixels a side"}));

TEST(RenderOutput, SvgAndPdfAreDocumentsInPoints) {
  const zelto::testing::TemporaryDirectory directory;
  const Renderer renderer(test::testTextSystem());
  ASSERT_TRUE(renderer.renderSvg(sampleList(), directory / "card.svg").ok());
  const std::string svg = readFile(directory / "card.svg");
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("width=\"120pt\""), std::string::npos);
  EXPECT_NE(svg.find("</svg>"), std::string::npos);
  ASSERT_TRUE(renderer.renderPdf(sampleList(), directory / "card.pdf").ok());
  const std::string pdf = readFile(directory / "card.pdf");
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_NE(pdf.find("/MediaBox [ 0 0 120 50 ]"), std::string::npos);
  EXPECT_FALSE(renderer.pdf(sampleList({0, 0})).ok());
}

TEST(RenderOutput, KeepsTheOldFileWhenRenderingOrWritingFails) {
  const zelto::testing::TemporaryDirectory directory;
  const Renderer renderer(test::testTextSystem());
  const auto png = directory / "card.png";
  ASSERT_TRUE(renderer.renderPng(sampleList(), 2, png).ok());
  const std::string written = readFile(png);
  EXPECT_EQ(renderer.renderPng(sampleList(), 9, png).error, "scale must be between 1 and 4");
  EXPECT_EQ(readFile(png), written);
  EXPECT_FALSE(std::filesystem::exists(directory / "card.png.partial"));
  const auto unwritable = renderer.renderPng(sampleList(), 1, directory / "missing" / "card.png");
  EXPECT_NE(unwritable.error.find("cannot write"), std::string::npos) << unwritable.error;
}

}  // namespace
}  // namespace zelto::render
