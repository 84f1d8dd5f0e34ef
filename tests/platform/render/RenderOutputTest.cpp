#include "platform/render/RenderOutput.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "RenderTestSupport.hpp"

namespace zelto::render {
namespace {

kit::DisplayList sampleList(kit::Size size = {120, 50}) {
  const kit::Rect card{4, 4, size.width - 8, size.height - 8};
  return {size,
          {kit::PushLayer{1, kit::Shadow{kit::Color::black(0.3), 6, 0, 3}},
           kit::FillPath{kit::Path::continuousRoundedRectangle(card, 12), kit::Color::srgb8(19, 27, 70), card},
           kit::PopLayer{}, kit::DrawText{test::interRequest("Zelto", 13), {12, 12, 60, 20}, kit::Color::white()}}};
}

// Width and height from a PNG's header chunk.
std::pair<int, int> pngSize(const std::vector<std::uint8_t>& png) {
  auto be32 = [&](std::size_t at) { return png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]; };
  return {be32(16), be32(20)};
}

class PngScale : public ::testing::TestWithParam<double> {};

TEST_P(PngScale, HasTheCanvasSizeTimesTheScaleInPixels) {
  const double scale = GetParam();
  const auto result = Renderer(test::testTextSystem()).png(sampleList({170, 170}), scale);
  ASSERT_TRUE(result.ok()) << result.error;
  ASSERT_GT(result.bytes.size(), 24u);
  EXPECT_EQ(std::string(result.bytes.begin() + 1, result.bytes.begin() + 4), "PNG");
  const auto [w, h] = pngSize(result.bytes);
  EXPECT_EQ(w, std::lround(170 * scale));
  EXPECT_EQ(h, std::lround(170 * scale));
}

INSTANTIATE_TEST_SUITE_P(RenderOutput, PngScale, ::testing::Values(1.0, 1.5, 2.0, 3.0, 4.0));

struct BadOutput {
  kit::Size size;
  double scale;
  const char* error;
};

class RefusedPng : public ::testing::TestWithParam<BadOutput> {};

TEST_P(RefusedPng, GivesAClearErrorAndNoBytes) {
  const auto result = Renderer(test::testTextSystem()).png(sampleList(GetParam().size), GetParam().scale);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.error, GetParam().error);
  EXPECT_TRUE(result.bytes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    RenderOutput, RefusedPng,
    ::testing::Values(BadOutput{{100, 100}, 0.5, "scale must be between 1 and 4"},
                      BadOutput{{100, 100}, 4.5, "scale must be between 1 and 4"},
                      BadOutput{{100, 100}, NAN, "scale must be between 1 and 4"},
                      BadOutput{{0, 100}, 2, "canvas is empty"}, BadOutput{{-5, 100}, 2, "canvas is empty"},
                      BadOutput{{INFINITY, 100}, 2, "canvas size is not a finite number"},
                      BadOutput{{0.1, 100}, 2, "canvas is smaller than a pixel"},
                      BadOutput{{5000, 100}, 4, "image would be larger than 16384 pixels a side"}));

TEST(RenderOutput, SvgIsAnSvgDocumentInPoints) {
  const auto result = Renderer(test::testTextSystem()).svg(sampleList());
  ASSERT_TRUE(result.ok()) << result.error;
  const std::string svg(result.bytes.begin(), result.bytes.end());
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("width=\"120pt\""), std::string::npos);
  EXPECT_NE(svg.find("height=\"50pt\""), std::string::npos);
  EXPECT_NE(svg.find("</svg>"), std::string::npos);
}

TEST(RenderOutput, PdfIsAOnePagePdf) {
  const auto result = Renderer(test::testTextSystem()).pdf(sampleList());
  ASSERT_TRUE(result.ok()) << result.error;
  const std::string pdf(result.bytes.begin(), result.bytes.end());
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_NE(pdf.find("/MediaBox [ 0 0 120 50 ]"), std::string::npos);
  EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
  EXPECT_FALSE(Renderer(test::testTextSystem()).pdf(sampleList({0, 0})).ok());
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(RenderOutput, WritesFilesAndKeepsTheOldOneWhenRenderingFails) {
  const auto directory = std::filesystem::path(test::testOutputDirectory()) / "render-output-test";
  std::filesystem::create_directories(directory);
  const Renderer renderer(test::testTextSystem());
  const auto png = directory / "card.png";
  ASSERT_TRUE(renderer.renderPng(sampleList(), 2, png).ok());
  const std::string written = readFile(png);
  EXPECT_EQ(written.substr(1, 3), "PNG");

  const auto refused = renderer.renderPng(sampleList(), 9, png);
  EXPECT_EQ(refused.error, "scale must be between 1 and 4");
  EXPECT_EQ(readFile(png), written);
  EXPECT_FALSE(std::filesystem::exists(directory / "card.png.partial"));

  EXPECT_TRUE(renderer.renderSvg(sampleList(), directory / "card.svg").ok());
  EXPECT_TRUE(renderer.renderPdf(sampleList(), directory / "card.pdf").ok());
  EXPECT_EQ(readFile(directory / "card.pdf").substr(0, 5), "%PDF-");

  const auto unwritable = renderer.renderPng(sampleList(), 1, directory / "missing" / "card.png");
  EXPECT_FALSE(unwritable.ok());
  EXPECT_NE(unwritable.error.find("cannot write"), std::string::npos) << unwritable.error;
  std::filesystem::remove_all(directory);
}

TEST(RenderOutput, BackgroundIsTransparent) {
  const auto result = Renderer(test::testTextSystem()).png({{10, 10}, {}}, 1);
  ASSERT_TRUE(result.ok());
  cairo_surface_t* surface = nullptr;
  struct Reader {
    const std::vector<std::uint8_t>* bytes;
    std::size_t at = 0;
  } reader{&result.bytes};
  surface = cairo_image_surface_create_from_png_stream(
      [](void* closure, unsigned char* data, unsigned int length) {
        auto* r = static_cast<Reader*>(closure);
        if (r->at + length > r->bytes->size()) return CAIRO_STATUS_READ_ERROR;
        std::copy_n(r->bytes->begin() + static_cast<long>(r->at), length, data);
        r->at += length;
        return CAIRO_STATUS_SUCCESS;
      },
      &reader);
  ASSERT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_data(surface)[3], 0);
  cairo_surface_destroy(surface);
}

}  // namespace
}  // namespace zelto::render
