// Texts: wrapping, line limits, tail truncation, minimum scale factor,
// tracking, tabular digits, inherited text style, and text resolution
// (localizable keys, relative and month-day dates, concatenation).

#include <gtest/gtest.h>

#include "KitTestSupport.hpp"
#include "platform/kit/TextResolution.hpp"

namespace zelto::kit {
namespace {

using testing::frameIs;
using testing::layoutForTest;
using testing::sizedText;
using testing::textFrame;

const TextContent& textContent(const LaidOutTree& tree, const std::string& text) {
  const LaidOutNode* node = findText(tree, text);
  EXPECT_NE(node, nullptr) << text << " not in " << inspectJson(tree);
  static const TextContent none;
  return node != nullptr ? *node->as<TextContent>() : none;
}

TEST(TextLayout, WithoutAWidthTakesItsIdealSizeOnOneLine) {
  const LaidOutTree tree = layoutForTest(sizedText("Hello big world", 10), ProposedSize::unspecified());
  EXPECT_TRUE(frameIs(textFrame(tree, "Hello big world"), {0, 0, 90, 12}));
  const LaidOutTree infinite = layoutForTest(sizedText("Hello big world", 10), {infinity, infinity});
  EXPECT_TRUE(frameIs(infinite.root().frame, {0, 0, 90, 12})) << "an infinite width also asks for the ideal";
}

TEST(TextLayout, WrapsAtWordsAndNeverReportsMoreThanProposed) {
  const LaidOutTree words = layoutForTest(sizedText("Hello big world", 10), {70.0, 100.0});
  EXPECT_TRUE(frameIs(textFrame(words, "Hello big world"), {0, 0, 54, 24}));
  EXPECT_EQ(textContent(words, "Hello big world").measurement.lineCount, 2);

  const LaidOutTree oneLongWord = layoutForTest(sizedText("Supercalifragilistic", 10), {50.0, 100.0});
  const Rect frame = textFrame(oneLongWord, "Supercalifragilistic");
  EXPECT_LE(frame.width, 50 + testing::tolerance);
  EXPECT_NEAR(frame.height, 12 * 3, testing::tolerance) << "20 characters of 6 pt break inside the word";
}

struct TruncationCase {
  const char* name;
  std::optional<int> lineLimit;
  ProposedSize proposal;
  std::string displayed;
  Size size;
};

class TailTruncation : public ::testing::TestWithParam<TruncationCase> {};

TEST_P(TailTruncation, LastShownLineEndsInAnEllipsis) {
  const TruncationCase& c = GetParam();
  const LaidOutTree tree = layoutForTest(sizedText("Hello big world", 10).lineLimit(c.lineLimit), c.proposal);
  const TextContent& text = textContent(tree, "Hello big world");
  EXPECT_EQ(text.measurement.displayedText, c.displayed) << c.name;
  EXPECT_EQ(text.measurement.truncated, c.displayed != "Hello big world") << c.name;
  EXPECT_TRUE(frameIs(textFrame(tree, "Hello big world"), {0, 0, c.size.width, c.size.height})) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, TailTruncation,
    ::testing::Values(TruncationCase{"fits", std::nullopt, {100.0, 100.0}, "Hello big world", {90, 12}},
                      TruncationCase{"one line", 1, {70.0, 100.0}, "Hello big\u2026", {60, 12}},
                      TruncationCase{"two lines of three", 2, {40.0, 100.0}, "Hello big w\u2026", {36, 24}},
                      TruncationCase{
                          "height cuts lines off", std::nullopt, {40.0, 30.0}, "Hello big w\u2026", {36, 24}},
                      TruncationCase{"limit above need", 5, {40.0, 100.0}, "Hello big world", {30, 36}}));

TEST(TextLayout, ShrinksToTheMinimumScaleBeforeItTruncates) {
  const auto percentage = [] { return sizedText("73%", 37).minimumScaleFactor(0.8).lineLimit(1); };
  // Ideal 66.6 pt; at 60 it shrinks to 60 / 66.6 of its size and fits.
  const LaidOutTree shrunk = layoutForTest(percentage(), {60.0, 100.0});
  const TextContent& fitted = textContent(shrunk, "73%");
  EXPECT_NEAR(fitted.measurement.appliedScale, 60 / 66.6, 1e-6);
  EXPECT_FALSE(fitted.measurement.truncated);
  EXPECT_TRUE(frameIs(textFrame(shrunk, "73%"), {0, 0, 60, 44.4 * 60 / 66.6}));

  // At 50 even 80 % (53.28 pt) is too wide: it stays at 80 % and truncates.
  const LaidOutTree truncated = layoutForTest(percentage(), {50.0, 100.0});
  const TextContent& cut = textContent(truncated, "73%");
  EXPECT_DOUBLE_EQ(cut.measurement.appliedScale, 0.8);
  EXPECT_TRUE(cut.measurement.truncated);
  EXPECT_EQ(cut.measurement.displayedText, "7\u2026");
  EXPECT_TRUE(frameIs(textFrame(truncated, "73%"), {0, 0, 2 * 0.6 * 37 * 0.8, 44.4 * 0.8}));

  // Without a minimum scale it truncates at full size ("73…" would be 66.6 pt).
  const LaidOutTree plain = layoutForTest(sizedText("73%", 37).lineLimit(1), {60.0, 100.0});
  EXPECT_EQ(textContent(plain, "73%").measurement.displayedText, "7\u2026");
  EXPECT_DOUBLE_EQ(textContent(plain, "73%").measurement.appliedScale, 1);
}

TEST(TextLayout, TrackingWidensByCountTimesTracking) {
  const LaidOutTree plain = layoutForTest(sizedText("LEFT", 9), ProposedSize::unspecified());
  const LaidOutTree tracked = layoutForTest(sizedText("LEFT", 9).tracking(0.8), ProposedSize::unspecified());
  EXPECT_NEAR(textFrame(tracked, "LEFT").width - textFrame(plain, "LEFT").width, 4 * 0.8, testing::tolerance);
  EXPECT_DOUBLE_EQ(textContent(tracked, "LEFT").request.tracking, 0.8);
}

TEST(TextLayout, MonospacedDigitsGiveEveryDigitOneWidth) {
  const LaidOutTree proportional = layoutForTest(sizedText("111", 10), ProposedSize::unspecified());
  const LaidOutTree tabular = layoutForTest(sizedText("111", 10).monospacedDigit(), ProposedSize::unspecified());
  EXPECT_NEAR(textFrame(proportional, "111").width, 12, testing::tolerance);
  EXPECT_NEAR(textFrame(tabular, "111").width, 18, testing::tolerance);
  EXPECT_TRUE(textContent(tabular, "111").request.monospacedDigits);
}

TEST(TextLayout, TextModifiersOnAStackReachEveryText) {
  const View view = HStack({Text::verbatim("A"), Text::verbatim("B").foregroundStyle(Color::white())})
                        .font(Font::system(20, FontWeight::semibold))
                        .tracking(0.45)
                        .monospacedDigit()
                        .lineLimit(1)
                        .minimumScaleFactor(0.5)
                        .allowsTightening(true)
                        .multilineTextAlignment(TextAlignment::center)
                        .foregroundStyle(Color::srgb8(218, 226, 255, 0.72));
  const LaidOutTree tree = layoutForTest(view, {100.0, 100.0});
  for (const char* letter : {"A", "B"}) {
    const TextRequest& request = textContent(tree, letter).request;
    EXPECT_EQ(request.font, Font::system(20, FontWeight::semibold)) << letter;
    EXPECT_DOUBLE_EQ(request.tracking, 0.45) << letter;
    EXPECT_TRUE(request.monospacedDigits) << letter;
    EXPECT_EQ(request.lineLimit, 1) << letter;
    EXPECT_DOUBLE_EQ(request.minimumScaleFactor, 0.5) << letter;
    EXPECT_TRUE(request.allowsTightening) << letter;
    EXPECT_EQ(request.multilineAlignment, TextAlignment::center) << letter;
  }
  EXPECT_EQ(std::get<Color>(textContent(tree, "A").paint), Color::srgb8(218, 226, 255, 0.72));
  const TextRequest plain = textContent(layoutForTest(Text::verbatim("C"), {}), "C").request;
  EXPECT_FALSE(plain.allowsTightening);
  EXPECT_EQ(plain.lineLimit, std::nullopt);
  EXPECT_DOUBLE_EQ(plain.minimumScaleFactor, 1);
  EXPECT_EQ(std::get<Color>(textContent(tree, "B").paint), Color::white()) << "a colour set on a text is its own";
}

TEST(TextLayout, InnerModifierWinsOverOuter) {
  const View view =
      VStack({Text::verbatim("Inner").font(Font::system(9)), Text::verbatim("Outer")}).font(Font::system(30));
  const LaidOutTree tree = layoutForTest(view, ProposedSize::unspecified());
  EXPECT_DOUBLE_EQ(textContent(tree, "Inner").request.font.size, 9);
  EXPECT_DOUBLE_EQ(textContent(tree, "Outer").request.font.size, 30);
}

TEST(TextLayout, DefaultFontIsTheBodyStyleAndRelativeSizesFollowTheTextScale) {
  Environment larger;
  larger.textScale = 1.5;
  const LaidOutTree body = layoutForTest(Text::verbatim("A"), ProposedSize::unspecified(), larger);
  EXPECT_EQ(textContent(body, "A").request.font, Font::system(TextStyle::body));
  EXPECT_TRUE(frameIs(textFrame(body, "A"), {0, 0, 0.6 * 13 * 1.5, 1.2 * 13 * 1.5}));

  const LaidOutTree fixed = layoutForTest(sizedText("A", 10), ProposedSize::unspecified(), larger);
  EXPECT_TRUE(frameIs(textFrame(fixed, "A"), {0, 0, 6, 12})) << "a fixed size does not scale";
  EXPECT_DOUBLE_EQ(textContent(fixed, "A").request.textScale, 1.5);
}

TEST(TextResolution, LocalizableKeysFallBackToTheKey) {
  const LaidOutTree tree = layoutForTest(Text::localized("TOKEN ACTIVITY"), ProposedSize::unspecified());
  EXPECT_NE(findText(tree, "TOKEN ACTIVITY"), nullptr);
  EXPECT_EQ(resolveText({TextPiece{TextPiece::Kind::localized, "", 0}}, {}).text, "")
      << "the empty key is not the catalogue header";
}

class DateTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    environment.locale = locale::Locale::make("en_US");
    environment.calendar = locale::Calendar::make("UTC", 1);
    ASSERT_TRUE(environment.calendar);
    const std::optional<Date> march7 = environment.calendar->gregorianDate(2025, 3, 7, 12);
    ASSERT_TRUE(march7);
    environment.now = *march7;
  }
  Environment environment;
};

TEST_F(DateTexts, RelativeDateIsTheSpanFromNowAndTellsWhenItChanges) {
  const Date resetsAt = environment.now + 2 * 3600 + 18 * 60 + 30;
  const Text reset = Text::localized("RESET ") + Text(resetsAt, Text::DateStyle::relative);
  const LaidOutTree tree = layoutForTest(reset, ProposedSize::unspecified(), environment);
  const std::string expected = "RESET " + environment.locale->formatRelative(resetsAt, environment.now);
  ASSERT_NE(findText(tree, expected), nullptr) << inspectJson(tree);
  EXPECT_NE(expected.find("2 hr"), std::string::npos) << expected;
  EXPECT_EQ(tree.nextRelativeChange, environment.locale->nextRelativeChange(resetsAt, environment.now));
  EXPECT_EQ(findText(tree, expected)->as<TextContent>()->nextRelativeChange, tree.nextRelativeChange);
}

TEST_F(DateTexts, TreeKnowsTheEarliestChangeOfAllItsRelativeTexts) {
  const Date soon = environment.now + 75;
  const Date later = environment.now + 3 * 86400;
  const View view =
      VStack({Text(later, Text::DateStyle::relative), Text(soon, Text::DateStyle::relative), Text::verbatim("static")});
  const LaidOutTree tree = layoutForTest(view, ProposedSize::unspecified(), environment);
  const Date expected = std::min(environment.locale->nextRelativeChange(soon, environment.now),
                                 environment.locale->nextRelativeChange(later, environment.now));
  EXPECT_EQ(tree.nextRelativeChange, expected);
  EXPECT_GT(*tree.nextRelativeChange, environment.now);

  const LaidOutTree withoutRelative = layoutForTest(Text::verbatim("static"), ProposedSize::unspecified(), environment);
  EXPECT_FALSE(withoutRelative.nextRelativeChange);
}

TEST_F(DateTexts, MonthDayDateInTheLocaleAndCalendar) {
  const LaidOutTree tree = layoutForTest(Text(environment.now, Text::DateStyle::monthDay).monospacedDigit(),
                                         ProposedSize::unspecified(), environment);
  EXPECT_NE(findText(tree, "Mar 7"), nullptr) << inspectJson(tree);
  EXPECT_FALSE(tree.nextRelativeChange) << "a month-day date does not change with now";

  Environment german = environment;
  german.locale = locale::Locale::make("de_DE");
  const LaidOutTree germanTree =
      layoutForTest(Text(environment.now, Text::DateStyle::monthDay), ProposedSize::unspecified(), german);
  EXPECT_EQ(findText(germanTree, "Mar 7"), nullptr);
  EXPECT_NE(findText(germanTree, german.locale->formatDate(environment.now, "MMMd", *environment.calendar)), nullptr);
}

TEST(TextResolution, MalformedUtf8IsRepairedVisibly) {
  EXPECT_EQ(wellFormedUtf8("ok \xE2\x80\xA6"), "ok \xE2\x80\xA6");
  EXPECT_EQ(wellFormedUtf8("a\xFF"
                           "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(wellFormedUtf8("\xE2\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD") << "a cut sequence";
  EXPECT_EQ(wellFormedUtf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD") << "a surrogate";
  const LaidOutTree tree = layoutForTest(Text::verbatim("x\xC0y"), ProposedSize::unspecified());
  EXPECT_NE(findText(tree, "x\xEF\xBF\xBDy"), nullptr);
}

}  // namespace
}  // namespace zelto::kit
