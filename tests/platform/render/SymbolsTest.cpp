#include "platform/render/Symbols.hpp"

#include <gtest/gtest.h>

#include "RenderTestSupport.hpp"

namespace zelto::render {
namespace {

constexpr const char* symbolNames[] = {"chevron.left",
                                       "chevron.right",
                                       "waveform.path.ecg",
                                       "terminal.fill",
                                       "exclamationmark.triangle",
                                       "exclamationmark.triangle.fill"};

kit::SymbolRequest symbol(const char* name, double size, kit::FontWeight weight = kit::FontWeight::regular) {
  return {name, kit::Font::system(size, weight), 1};
}

TEST(Symbols, KnowsTheNamedSymbolsOnly) {
  for (const char* name : symbolNames) EXPECT_TRUE(isKnownSymbol(name)) << name;
  EXPECT_FALSE(isKnownSymbol("chevron.up"));
  EXPECT_FALSE(isKnownSymbol(""));
  const auto unknown = test::testTextSystem().measureSymbol(symbol("star.fill", 13));
  EXPECT_FALSE(unknown.known);
  EXPECT_EQ(unknown.size, (kit::Size{0, 0}));
  EXPECT_FALSE(symbolShape("star.fill", 13, kit::FontWeight::regular).has_value());
}

TEST(Symbols, StrokesGrowWithTheWeight) {
  EXPECT_NEAR(symbolStrokeWidth(10, kit::FontWeight::regular), 0.9, 1e-9);
  EXPECT_NEAR(symbolStrokeWidth(10, kit::FontWeight::bold), 1.3, 1e-9);
  double previous = 0;
  for (int w = 0; w <= static_cast<int>(kit::FontWeight::black); ++w) {
    const double width = symbolStrokeWidth(16, static_cast<kit::FontWeight>(w));
    EXPECT_GT(width, previous);
    previous = width;
  }
  const auto regular = symbolShape("chevron.right", 16, kit::FontWeight::regular);
  const auto bold = symbolShape("chevron.right", 16, kit::FontWeight::bold);
  ASSERT_TRUE(regular && bold);
  EXPECT_NEAR(regular->parts[0].lineWidth, 0.09 * 16, 1e-9);
  EXPECT_NEAR(bold->parts[0].lineWidth, 0.13 * 16, 1e-9);
}

class SymbolSizes : public ::testing::TestWithParam<const char*> {};

TEST_P(SymbolSizes, ScaleWithThePointSizeAndSitOnTheTextLine) {
  const auto& text = test::testTextSystem();
  const auto at10 = text.measureSymbol(symbol(GetParam(), 10));
  const auto at30 = text.measureSymbol(symbol(GetParam(), 30));
  EXPECT_TRUE(at10.known);
  EXPECT_NEAR(at30.size.width, 3 * at10.size.width, 1e-9);
  EXPECT_NEAR(at30.size.height, 3 * at10.size.height, 1e-9);
  // Centred on the middle of the cap height: as far above the cap height's
  // middle as below it.
  const double capHeight = text.capHeight(kit::Font::system(30), 30);
  EXPECT_NEAR(at30.baseline - capHeight / 2, at30.size.height / 2, 1e-9);
  EXPECT_GT(at30.size.height, 0.6 * 30);
  EXPECT_LT(at30.size.height, 1.1 * 30);
}

INSTANTIATE_TEST_SUITE_P(Symbols, SymbolSizes, ::testing::ValuesIn(symbolNames));

TEST(Symbols, CapHeightIsTheFontsOwn) {
  // Inter's cap height is 0.727 em.
  EXPECT_NEAR(test::testTextSystem().capHeight(kit::Font::system(100), 100), 72.7, 0.5);
}

// Draws one symbol at 4x and returns its image.
std::unique_ptr<test::RenderedImage> drawn(const char* name, double size, kit::FontWeight weight,
                                           kit::SymbolMeasurement& measured) {
  const auto request = symbol(name, size, weight);
  measured = test::testTextSystem().measureSymbol(request);
  kit::DisplayList list{
      {measured.size.width + 4, measured.size.height + 4},
      {kit::DrawSymbol{request, {2, 2, measured.size.width, measured.size.height}, kit::Color::black()}}};
  return std::make_unique<test::RenderedImage>(list, 4);
}

TEST(Symbols, ChevronsPointTheirWay) {
  kit::SymbolMeasurement m;
  auto right = drawn("chevron.right", 30, kit::FontWeight::regular, m);
  const double midY = 2 + m.size.height / 2;
  // The tip is on the right at mid height, the open ends on the left.
  EXPECT_TRUE(right->alphaWithin(2 + m.size.width - 1, midY, 0.9, 1));
  EXPECT_TRUE(right->alphaWithin(2 + 1, midY, 0, 0.05));
  EXPECT_TRUE(right->alphaWithin(2 + 1.2, 2 + 1.2, 0.5, 1));
  auto left = drawn("chevron.left", 30, kit::FontWeight::regular, m);
  EXPECT_TRUE(left->alphaWithin(2 + 1, midY, 0.9, 1));
  EXPECT_TRUE(left->alphaWithin(2 + m.size.width - 1, midY, 0, 0.05));
}

TEST(Symbols, FilledSymbolsCutTheirMarksOut) {
  kit::SymbolMeasurement m;
  auto terminal = drawn("terminal.fill", 30, kit::FontWeight::bold, m);
  const double w = m.size.width, h = m.size.height;
  // Filled body, a hole where the prompt chevron's tip is, and one in the
  // cursor bar.
  EXPECT_TRUE(terminal->alphaWithin(2 + 0.12 * w, 2 + 0.85 * h, 0.95, 1));
  EXPECT_TRUE(terminal->alphaWithin(2 + 0.40 * w, 2 + 0.46 * h, 0, 0.05));
  EXPECT_TRUE(terminal->alphaWithin(2 + 0.64 * w, 2 + 0.64 * h, 0, 0.05));

  auto triangle = drawn("exclamationmark.triangle.fill", 30, kit::FontWeight::regular, m);
  EXPECT_TRUE(triangle->alphaWithin(2 + m.size.width / 2, 2 + 0.5 * m.size.height, 0, 0.05)) << "the bar";
  EXPECT_TRUE(triangle->alphaWithin(2 + m.size.width / 2, 2 + 0.78 * m.size.height, 0, 0.05)) << "the dot";
  EXPECT_TRUE(triangle->alphaWithin(2 + 0.3 * m.size.width, 2 + 0.8 * m.size.height, 0.95, 1)) << "the body";

  auto outline = drawn("exclamationmark.triangle", 30, kit::FontWeight::regular, m);
  EXPECT_TRUE(outline->alphaWithin(2 + m.size.width / 2, 2 + 0.5 * m.size.height, 0.95, 1)) << "the bar";
  EXPECT_TRUE(outline->alphaWithin(2 + 0.3 * m.size.width, 2 + 0.8 * m.size.height, 0, 0.05)) << "hollow";
}

TEST(Symbols, UnknownSymbolsDrawNothing) {
  kit::DisplayList list{{20, 20}, {kit::DrawSymbol{symbol("star.fill", 13), {0, 0, 20, 20}, kit::Color::black()}}};
  test::RenderedImage image(list, 2);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) ASSERT_EQ(image.pixel(x, y).alpha, 0);
  }
}

}  // namespace
}  // namespace zelto::render
