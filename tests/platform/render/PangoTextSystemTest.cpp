#include "platform/render/PangoTextSystem.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <thread>

#include "RenderTestSupport.hpp"

namespace zelto::render {
namespace {

using test::interRequest;
using test::testTextSystem;

constexpr double tolerance = 1e-6;

kit::TextMeasurement measure(const kit::TextRequest& request, std::optional<double> width = std::nullopt,
                             std::optional<double> height = std::nullopt) {
  return testTextSystem().measure(request, width, height);
}

// The ink's right edge in points of a text drawn at `scale`.
double inkRightEdge(const kit::TextRequest& request, double scale) {
  const auto m = measure(request);
  kit::DisplayList list{{m.size.width + 10, m.size.height + 10},
                        {kit::DrawText{request, {0, 0, m.size.width, m.size.height}, kit::Color::black()}}};
  test::RenderedImage image(list, scale);
  for (int x = image.width() - 1; x >= 0; --x) {
    for (int y = 0; y < image.height(); ++y) {
      if (image.pixel(x, y).alpha > 16) return (x + 1) / scale;
    }
  }
  return 0;
}

TEST(PangoTextSystem, SizesAreFractionalAndTheSameAtEveryScale) {
  const auto request = interRequest("Zelto Limits 2 hr, 18 min", 13);
  const auto m = measure(request);
  EXPECT_GT(m.size.width, 100);
  EXPECT_NE(m.size.width, std::round(m.size.width)) << "metrics must not snap to whole points";
  // The same text drawn at 1x and 2x ends within a pixel of the same point.
  const double oneX = inkRightEdge(request, 1), twoX = inkRightEdge(request, 2);
  EXPECT_NEAR(oneX, twoX, 1.0);
  EXPECT_NEAR(twoX, m.size.width, 1.5);
}

TEST(PangoTextSystem, AnotherSystemMeasuresIdentically) {
  const PangoTextSystem other(test::testFontProbe());
  const auto request = interRequest("RESET 11 min, 14 sec", 9, kit::FontWeight::semibold);
  EXPECT_EQ(other.measure(request, 60, std::nullopt), measure(request, 60));
}

struct TrackingCase {
  const char* text;
  int graphemeClusters;
  double tracking;
};

class Tracking : public ::testing::TestWithParam<TrackingCase> {};

TEST_P(Tracking, AddsTrackingAfterEveryGraphemeClusterIncludingTheLast) {
  const TrackingCase& c = GetParam();
  auto request = interRequest(c.text, 9, kit::FontWeight::semibold);
  const double plain = measure(request).size.width;
  request.tracking = c.tracking;
  EXPECT_NEAR(measure(request).size.width, plain + c.graphemeClusters * c.tracking, 0.01);
}

INSTANTIATE_TEST_SUITE_P(PangoTextSystem, Tracking,
                         ::testing::Values(TrackingCase{"LEFT", 4, 0.9}, TrackingCase{"A", 1, 1.1},
                                           TrackingCase{"OPEN ZELTO LIMITS TO SYNC", 25, 0.7},
                                           TrackingCase{"Cafe\xCC\x81", 4, 2}, TrackingCase{"1 RESET", 7, -0.25}));

TEST(PangoTextSystem, MonospacedDigitsMakeAllDigitsOneWidth) {
  auto request = interRequest("1111", 22, kit::FontWeight::semibold);
  auto eights = interRequest("8888", 22, kit::FontWeight::semibold);
  EXPECT_GT(std::abs(measure(request).size.width - measure(eights).size.width), 1) << "proportional by default";
  request.monospacedDigits = eights.monospacedDigits = true;
  EXPECT_NEAR(measure(request).size.width, measure(eights).size.width, tolerance);
}

constexpr const char* paragraph = "Waiting for Zelto to write the first snapshot of your accounts";

class Wrapping : public ::testing::TestWithParam<double> {};

TEST_P(Wrapping, NeverReportsMoreWidthThanProposed) {
  const double width = GetParam();
  const auto m = measure(interRequest(paragraph, 13), width);
  EXPECT_LE(m.size.width, width + tolerance);
  EXPECT_FALSE(m.truncated);
  EXPECT_EQ(m.displayedText, paragraph) << "wrapping keeps every character";
  EXPECT_GE(m.lineCount, 2);
}

INSTANTIATE_TEST_SUITE_P(PangoTextSystem, Wrapping, ::testing::Values(0.0, 12.0, 40.0, 77.7, 120.0, 250.5));

TEST(PangoTextSystem, WrapsAtWordsAndInsideAWordOnlyWhenItIsWiderThanTheLine) {
  const auto words = measure(interRequest("Limits reset soon", 13), 60);
  EXPECT_EQ(words.lineCount, 3);
  EXPECT_EQ(words.size.width, measure(interRequest("Limits", 13)).size.width)
      << "the widest line is a whole word, not a broken one";

  const auto longWord = measure(interRequest("Supercalifragilistic", 13), 40);
  EXPECT_GE(longWord.lineCount, 3);
  EXPECT_LE(longWord.size.width, 40);
}

TEST(PangoTextSystem, IdealSizeIsOneLinePerParagraph) {
  const auto one = measure(interRequest(paragraph, 13));
  EXPECT_EQ(one.lineCount, 1);
  EXPECT_GT(one.size.width, 300);
  const auto two = measure(interRequest("First\nSecond", 13));
  EXPECT_EQ(two.lineCount, 2);
  EXPECT_NEAR(two.size.width, measure(interRequest("Second", 13)).size.width, tolerance);
}

struct TruncationCase {
  std::optional<int> lineLimit;
  std::optional<double> height;
  int expectedLines;
};

class Truncation : public ::testing::TestWithParam<TruncationCase> {};

TEST_P(Truncation, CutsTheTailWithAnEllipsis) {
  const TruncationCase& c = GetParam();
  auto request = interRequest(paragraph, 13);
  request.lineLimit = c.lineLimit;
  const auto m = measure(request, 120, c.height);
  EXPECT_TRUE(m.truncated);
  EXPECT_EQ(m.lineCount, c.expectedLines);
  ASSERT_GE(m.displayedText.size(), 3u);
  EXPECT_EQ(m.displayedText.substr(m.displayedText.size() - 3), "\u2026");
  EXPECT_EQ(std::string(paragraph).rfind(m.displayedText.substr(0, m.displayedText.size() - 3), 0), 0u)
      << "shows a prefix of the text: " << m.displayedText;
  EXPECT_LE(m.size.width, 120 + tolerance);
}

INSTANTIATE_TEST_SUITE_P(PangoTextSystem, Truncation,
                         ::testing::Values(TruncationCase{1, std::nullopt, 1}, TruncationCase{2, std::nullopt, 2},
                                           TruncationCase{std::nullopt, 24.0, 1}, TruncationCase{std::nullopt, 40.0, 2},
                                           TruncationCase{3, 40.0, 2}, TruncationCase{std::nullopt, 1.0, 1}));

TEST(PangoTextSystem, LineLimitCountsLinesOfEveryParagraph) {
  auto request = interRequest("One\nTwo\nThree", 13);
  request.lineLimit = 2;
  auto m = measure(request);
  EXPECT_EQ(m.lineCount, 2);
  EXPECT_TRUE(m.truncated);
  EXPECT_EQ(m.displayedText, "One\nTwo\u2026");

  request.text = "One\nWaiting for the first snapshot of your accounts\nThree";
  m = measure(request, 100);
  EXPECT_EQ(m.lineCount, 2);
  EXPECT_EQ(m.displayedText.rfind("One\nWaiting", 0), 0u) << m.displayedText;
  EXPECT_EQ(m.displayedText.substr(m.displayedText.size() - 3), "\u2026");
}

TEST(PangoTextSystem, ShrinksBeforeTruncating) {
  auto request = interRequest("62%", 28, kit::FontWeight::semibold);
  request.lineLimit = 1;
  request.monospacedDigits = true;
  const double ideal = measure(request).size.width;

  // Room for 80%: the text shrinks to fit and stays whole.
  request.minimumScaleFactor = 0.72;
  auto m = measure(request, ideal * 0.8);
  EXPECT_FALSE(m.truncated);
  EXPECT_EQ(m.displayedText, "62%");
  EXPECT_LE(m.appliedScale, 0.8 + tolerance);
  EXPECT_GT(m.appliedScale, 0.78);
  EXPECT_LT(m.size.height, measure(request).size.height);

  // Room for half: shrinking stops at the factor, then the tail is cut.
  m = measure(request, ideal * 0.5);
  EXPECT_NEAR(m.appliedScale, 0.72, tolerance);
  EXPECT_TRUE(m.truncated);
  EXPECT_LE(m.size.width, ideal * 0.5 + tolerance);

  // A text that fits keeps its size.
  EXPECT_EQ(measure(request, ideal + 1).appliedScale, 1);
}

TEST(PangoTextSystem, ShrinksWrappedTextToFitTheHeight) {
  auto request = interRequest(paragraph, 13);
  request.minimumScaleFactor = 0.5;
  const auto full = measure(request, 150);
  const auto m = measure(request, 150, full.size.height * 0.75);
  EXPECT_LT(m.appliedScale, 1);
  EXPECT_FALSE(m.truncated);
  EXPECT_LE(m.size.height, full.size.height * 0.75 + 0.02);
}

TEST(PangoTextSystem, BaselinesComeFromTheShapedLines) {
  const auto one = measure(interRequest("Zelto", 13));
  EXPECT_NEAR(one.firstBaseline, one.lastBaseline, tolerance);
  // Inter's ascender is 0.96875 em.
  EXPECT_NEAR(one.firstBaseline, 13 * 0.96875, 0.1);
  EXPECT_LT(one.firstBaseline, one.size.height);

  const auto three = measure(interRequest("Limits reset soon", 13), 60);
  ASSERT_EQ(three.lineCount, 3);
  EXPECT_NEAR(three.firstBaseline, one.firstBaseline, tolerance);
  EXPECT_NEAR(three.lastBaseline - three.firstBaseline, 2 * one.size.height, 0.01);
}

TEST(PangoTextSystem, EmptyTextTakesNoSpace) {
  const auto m = measure(interRequest("", 13), 100);
  EXPECT_EQ(m.size, (kit::Size{0, 0}));
  EXPECT_EQ(m.lineCount, 0);
}

TEST(PangoTextSystem, BadInputMeasuresWithoutFailing) {
  // Invalid UTF-8 and a NUL become replacement characters.
  const auto broken = measure(interRequest(std::string("Ze\xFFlto\0x", 8), 13));
  EXPECT_EQ(broken.displayedText, "Ze\uFFFDlto\uFFFDx");
  EXPECT_GT(broken.size.width, 0);
  // Unbounded or unusable proposals ask for the ideal size; negative ones
  // count as zero.
  const auto ideal = measure(interRequest("Zelto", 13));
  EXPECT_EQ(measure(interRequest("Zelto", 13), INFINITY, NAN), ideal);
  EXPECT_EQ(measure(interRequest("Zelto", 13), NAN), ideal);
  EXPECT_EQ(measure(interRequest("Zelto", 13), -5).size.width, 0);
  // A font of no size, or not a number, draws nothing.
  EXPECT_EQ(measure(interRequest("Zelto", 0)).size, (kit::Size{0, 0}));
  EXPECT_EQ(measure(interRequest("Zelto", NAN)).size, (kit::Size{0, 0}));
  auto weird = interRequest("Zelto", 13);
  weird.tracking = NAN;
  weird.minimumScaleFactor = -3;
  weird.lineLimit = -1;
  EXPECT_EQ(measure(weird, 20).lineCount, 1);
}

TEST(PangoTextSystem, MeasuringAgainInTheMeasuredSizeGivesTheSameLines) {
  // Layout proposes a width, the text answers its size, and paint draws the
  // text in that size: the lines must not change.
  std::mt19937 random(7);
  std::uniform_real_distribution<double> widths(8, 220);
  const char* texts[] = {paragraph, "Limits reset soon", "OPEN ZELTO LIMITS TO SYNC", "a@example.com", "62%"};
  for (int i = 0; i < 200; ++i) {
    auto request = interRequest(texts[i % 5], 9 + i % 7, static_cast<kit::FontWeight>(i % 9));
    request.tracking = (i % 3) * 0.35;
    if (i % 4 == 1) request.lineLimit = 1 + i % 3;
    if (i % 5 == 2) request.minimumScaleFactor = 0.6;
    request.multilineAlignment = static_cast<kit::TextAlignment>(i % 3);
    const double width = widths(random);
    const std::optional<double> height = i % 6 == 3 ? std::optional<double>(widths(random) / 4) : std::nullopt;
    const auto first = measure(request, width, height);
    const auto again = measure(request, first.size.width, first.size.height);
    EXPECT_EQ(again.displayedText, first.displayedText) << "width " << width;
    EXPECT_EQ(again.lineCount, first.lineCount) << first.displayedText << " at " << width;
    EXPECT_EQ(again.appliedScale, first.appliedScale) << first.displayedText << " at " << width;
    EXPECT_NEAR(again.size.width, first.size.width, 1e-3);
    EXPECT_NEAR(again.size.height, first.size.height, 1e-3);
  }
}

TEST(PangoTextSystem, MeasuresFromSeveralThreads) {
  const auto expected = measure(interRequest(paragraph, 11), 90);
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i) {
        const auto m = testTextSystem().measure(interRequest(paragraph, 11 + (i % 2) * 0.5), 90, std::nullopt);
        if (i % 2 == 0 && m != expected) ++mismatches[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

TEST(PangoTextSystem, CentredLinesAreCentredInTheFrame) {
  auto request = interRequest("Waiting for\nZelto", 13);
  request.multilineAlignment = kit::TextAlignment::center;
  const auto m = measure(request, 200);
  kit::DisplayList list{{m.size.width, m.size.height},
                        {kit::DrawText{request, {0, 0, m.size.width, m.size.height}, kit::Color::black()}}};
  test::RenderedImage image(list, 2);
  // The ink of the second, shorter line is centred: equal margins.
  const int top = static_cast<int>(m.firstBaseline * 2) + 4, bottom = image.height();
  int left = image.width(), right = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y).alpha > 32) {
        left = std::min(left, x);
        right = std::max(right, x + 1);
      }
    }
  }
  EXPECT_GT(left, 10);
  EXPECT_NEAR(left, image.width() - right, 3);
}

}  // namespace
}  // namespace zelto::render
