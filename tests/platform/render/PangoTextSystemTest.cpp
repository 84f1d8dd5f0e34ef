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
constexpr const char* paragraph = "Waiting for Zelto to write the first snapshot of your accounts";
const std::string ellipsis = "\u2026";

kit::TextMeasurement measure(const kit::TextRequest& request, std::optional<double> width = std::nullopt,
                             std::optional<double> height = std::nullopt) {
  return testTextSystem().measure(request, width, height);
}

// The ink's right edge in points of a text drawn at `scale`.
double inkRightEdge(const kit::TextRequest& request, double scale) {
  const auto m = measure(request);
  test::RenderedImage image({{m.size.width + 10, m.size.height + 10},
                             {kit::DrawText{request, {0, 0, m.size.width, m.size.height}, kit::Color::black()}}},
                            scale);
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
  EXPECT_NE(m.size.width, std::round(m.size.width)) << "metrics must not snap to whole points";
  const double oneX = inkRightEdge(request, 1), twoX = inkRightEdge(request, 2);
  EXPECT_NEAR(oneX, twoX, 1.0);
  EXPECT_NEAR(twoX, m.size.width, 1.5);
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
                                           TrackingCase{"Cafe\xCC\x81", 4, 2}, TrackingCase{"1 RESET", 7, -0.25}));

TEST(PangoTextSystem, MonospacedDigitsMakeAllDigitsOneWidth) {
  auto ones = interRequest("1111", 22, kit::FontWeight::semibold);
  auto eights = interRequest("8888", 22, kit::FontWeight::semibold);
  EXPECT_GT(std::abs(measure(ones).size.width - measure(eights).size.width), 1) << "proportional by default";
  ones.monospacedDigits = eights.monospacedDigits = true;
  EXPECT_NEAR(measure(ones).size.width, measure(eights).size.width, tolerance);
}

TEST(PangoTextSystem, WrapsAtWordsAndBreaksAWordOnlyWhenItIsWiderThanTheLine) {
  const auto words = measure(interRequest("Limits reset soon", 13), 60);
  EXPECT_EQ(words.lineCount, 3);
  EXPECT_EQ(words.displayedText, "Limits reset soon") << "wrapping keeps every character";
  const auto narrow = measure(interRequest(paragraph, 13), 12);
  EXPECT_LE(narrow.size.width, 12 + tolerance) << "never more width than proposed";
  EXPECT_EQ(words.size.width, measure(interRequest("Limits", 13)).size.width);
  const auto two = measure(interRequest("First\nSecond", 13));
  EXPECT_EQ(two.lineCount, 2) << "one line per paragraph when unwrapped";
  // Baselines come from the shaped lines; Inter's ascender is 0.96875 em.
  EXPECT_NEAR(words.firstBaseline, 13 * 0.96875, 0.1);
  EXPECT_NEAR(words.lastBaseline - words.firstBaseline, two.size.height, 0.01) << "two lines down";
}

struct TruncationCase {
  std::string text;
  std::optional<int> lineLimit;
  std::optional<double> height;
  int expectedLines;
};

class Truncation : public ::testing::TestWithParam<TruncationCase> {};

TEST_P(Truncation, CutsTheTailAfterTheLastShownWordWithAnEllipsis) {
  const TruncationCase& c = GetParam();
  auto request = interRequest(c.text, 13);
  request.lineLimit = c.lineLimit;
  // At every width the last shown line ends in "…" right after its text.
  for (double width = 60; width <= 150; width += 6) {
    const auto m = measure(request, width, c.height);
    const std::string shown = m.displayedText;
    ASSERT_TRUE(m.truncated) << width;
    EXPECT_EQ(m.lineCount, c.expectedLines) << shown;
    ASSERT_GE(shown.size(), 4u);
    EXPECT_EQ(shown.substr(shown.size() - 3), ellipsis) << shown;
    EXPECT_FALSE(std::isspace(static_cast<unsigned char>(shown[shown.size() - 4])))
        << "space before the ellipsis: " << shown;
    EXPECT_EQ(c.text.rfind(shown.substr(0, shown.size() - 3), 0), 0u) << "a prefix of the text: " << shown;
    EXPECT_LE(m.size.width, width + tolerance);
  }
}

INSTANTIATE_TEST_SUITE_P(
    PangoTextSystem, Truncation,
    ::testing::Values(TruncationCase{paragraph, 1, std::nullopt, 1}, TruncationCase{paragraph, 2, std::nullopt, 2},
                      TruncationCase{paragraph, std::nullopt, 24.0, 1}, TruncationCase{paragraph, 3, 40.0, 2},
                      TruncationCase{"The quick brown fox jumps over the lazy dog again and again", 1, std::nullopt, 1},
                      TruncationCase{"One \nWaiting for the first snapshot\nThree", 2, std::nullopt, 2},
                      TruncationCase{"One  \nTwo", 1, std::nullopt, 1}));

TEST(PangoTextSystem, ShrinksBeforeTruncating) {
  auto request = interRequest("62%", 28, kit::FontWeight::semibold);
  request.lineLimit = 1;
  const double ideal = measure(request).size.width;
  request.minimumScaleFactor = 0.72;
  auto m = measure(request, ideal * 0.8);
  EXPECT_FALSE(m.truncated);
  EXPECT_EQ(m.displayedText, "62%");
  EXPECT_LE(m.appliedScale, 0.8 + tolerance);
  EXPECT_GT(m.appliedScale, 0.78);
  // Room for half: shrinking stops at the factor, then the tail is cut.
  m = measure(request, ideal * 0.5);
  EXPECT_NEAR(m.appliedScale, 0.72, tolerance);
  EXPECT_TRUE(m.truncated);
  EXPECT_EQ(measure(request, ideal + 1).appliedScale, 1);
  // A wrapped text shrinks to fit a height too.
  auto wrapped = interRequest(paragraph, 13);
  wrapped.minimumScaleFactor = 0.5;
  const double fullHeight = measure(wrapped, 150).size.height;
  const auto fitted = measure(wrapped, 150, fullHeight * 0.75);
  EXPECT_LT(fitted.appliedScale, 1);
  EXPECT_FALSE(fitted.truncated);
}

TEST(PangoTextSystem, BadInputMeasuresWithoutFailing) {
  const auto broken = measure(interRequest(std::string("Ze\xFFlto\0x", 8), 13));
  EXPECT_EQ(broken.displayedText, "Ze\uFFFDlto\uFFFDx");
  const auto ideal = measure(interRequest("Zelto", 13));
  EXPECT_EQ(measure(interRequest("Zelto", 13), INFINITY, NAN), ideal);
  EXPECT_EQ(measure(interRequest("Zelto", 13), -5).size.width, 0);
  EXPECT_EQ(measure(interRequest("Zelto", NAN)).size, (kit::Size{0, 0}));
  EXPECT_EQ(measure(interRequest("", 13), 100).lineCount, 0);
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
    EXPECT_EQ(again.appliedScale, first.appliedScale) << first.displayedText << " at " << width;
    EXPECT_NEAR(again.size.width, first.size.width, 1e-3);
    EXPECT_NEAR(again.size.height, first.size.height, 1e-3);
  }
}

TEST(PangoTextSystem, MeasuresFromSeveralThreadsAndAnotherSystemAgrees) {
  const auto expected = measure(interRequest(paragraph, 11), 90);
  EXPECT_EQ(PangoTextSystem(test::testFontProbe()).measure(interRequest(paragraph, 11), 90, std::nullopt), expected);
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
  test::RenderedImage image(
      {m.size, {kit::DrawText{request, {0, 0, m.size.width, m.size.height}, kit::Color::black()}}}, 2);
  // The ink of the second, shorter line has equal margins.
  int left = image.width(), right = 0;
  for (int y = static_cast<int>(m.firstBaseline * 2) + 4; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y).alpha > 32) left = std::min(left, x), right = std::max(right, x + 1);
    }
  }
  EXPECT_GT(left, 10);
  EXPECT_NEAR(left, image.width() - right, 3);
}

}  // namespace
}  // namespace zelto::render
