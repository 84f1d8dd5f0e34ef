#include "platform/render/Symbols.hpp"

#include <gtest/gtest.h>

#include "RenderTestSupport.hpp"

namespace zelto::render {
namespace {

kit::SymbolRequest symbol(const char* name, double size) { return {name, kit::Font::system(size), 1}; }

class SymbolSizes : public ::testing::TestWithParam<const char*> {};

TEST_P(SymbolSizes, ScaleWithThePointSizeAndSitOnTheMiddleOfTheCapHeight) {
  const auto& text = test::testTextSystem();
  const auto at10 = text.measureSymbol(symbol(GetParam(), 10));
  const auto at30 = text.measureSymbol(symbol(GetParam(), 30));
  ASSERT_TRUE(at10.known && isKnownSymbol(GetParam()));
  EXPECT_NEAR(at30.size.width, 3 * at10.size.width, 1e-9);
  EXPECT_NEAR(at30.size.height, 3 * at10.size.height, 1e-9);
  // As far above the middle of the cap height (Inter's is 0.727 em) as below it.
  EXPECT_NEAR(text.capHeight(kit::Font::system(30), 30), 0.727 * 30, 0.2);
  EXPECT_NEAR(at30.baseline - text.capHeight(kit::Font::system(30), 30) / 2, at30.size.height / 2, 1e-9);
  EXPECT_GT(at30.size.height, 0.6 * 30);
  EXPECT_LT(at30.size.height, 1.1 * 30);
}

INSTANTIATE_TEST_SUITE_P(Symbols, SymbolSizes,
                         ::testing::Values("chevron.left", "chevron.right", "waveform.path.ecg", "terminal.fill",
                                           "exclamationmark.triangle", "exclamationmark.triangle.fill"));

TEST(Symbols, StrokesGrowWithTheWeightAndUnknownNamesAreNothing) {
  double previous = 0;
  for (int w = 0; w <= static_cast<int>(kit::FontWeight::black); ++w) {
    const double width = symbolStrokeWidth(16, static_cast<kit::FontWeight>(w));
    EXPECT_GT(width, previous);
    previous = width;
  }
  const auto unknown = test::testTextSystem().measureSymbol(symbol("star.fill", 13));
  EXPECT_FALSE(unknown.known);
  EXPECT_EQ(unknown.size, (kit::Size{0, 0}));
  test::RenderedImage image({{20, 20}, {kit::DrawSymbol{symbol("star.fill", 13), {0, 0, 20, 20}, kit::Color::black()}}},
                            2);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) ASSERT_EQ(image.pixel(x, y).alpha, 0);
  }
}

// One symbol drawn at 4x with a 2 pt margin; `at(u, v)` reads the coverage
// at a fraction of the symbol's own frame.
class DrawnSymbol {
 public:
  DrawnSymbol(const char* name, kit::FontWeight weight)
      : request_{name, kit::Font::system(30, weight), 1},
        size_(test::testTextSystem().measureSymbol(request_).size),
        image_({{size_.width + 4, size_.height + 4},
                {kit::DrawSymbol{request_, {2, 2, size_.width, size_.height}, kit::Color::black()}}},
               4) {}
  const kit::Size& size() const { return size_; }
  ::testing::AssertionResult coverage(double u, double v, double low, double high) {
    return image_.alphaWithin(2 + u * size_.width, 2 + v * size_.height, low, high);
  }

 private:
  kit::SymbolRequest request_;
  kit::Size size_;
  test::RenderedImage image_;
};

TEST(Symbols, ShapesPointTheirWayAndFilledOnesCutTheirMarksOut) {
  DrawnSymbol right("chevron.right", kit::FontWeight::regular), left("chevron.left", kit::FontWeight::regular);
  const double onePoint = 1 / right.size().width;
  EXPECT_TRUE(right.coverage(1 - onePoint, 0.5, 0.9, 1)) << "the tip on the right";
  EXPECT_TRUE(right.coverage(onePoint, 0.5, 0, 0.05));
  EXPECT_TRUE(left.coverage(onePoint, 0.5, 0.9, 1));
  EXPECT_TRUE(left.coverage(1 - onePoint, 0.5, 0, 0.05));
  DrawnSymbol terminal("terminal.fill", kit::FontWeight::bold);
  EXPECT_TRUE(terminal.coverage(0.12, 0.85, 0.95, 1)) << "filled body";
  EXPECT_TRUE(terminal.coverage(0.40, 0.46, 0, 0.05)) << "the prompt's tip";
  EXPECT_TRUE(terminal.coverage(0.64, 0.64, 0, 0.05)) << "the cursor bar";
  DrawnSymbol triangle("exclamationmark.triangle.fill", kit::FontWeight::regular);
  EXPECT_TRUE(triangle.coverage(0.5, 0.5, 0, 0.05)) << "the bar";
  EXPECT_TRUE(triangle.coverage(0.5, 0.78, 0, 0.05)) << "the dot";
  EXPECT_TRUE(triangle.coverage(0.3, 0.8, 0.95, 1)) << "the body";
  DrawnSymbol outline("exclamationmark.triangle", kit::FontWeight::regular);
  EXPECT_TRUE(outline.coverage(0.5, 0.5, 0.95, 1)) << "the bar";
  EXPECT_TRUE(outline.coverage(0.3, 0.8, 0, 0.05)) << "hollow";
}

}  // namespace
}  // namespace zelto::render
