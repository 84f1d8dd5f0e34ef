// Texts: the ideal size, text modifiers inherited through containers, the
// text scale, and text resolution (localizable keys, relative and month-day
// dates, repaired UTF-8). Wrapping and truncation belong to the text system.

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

TEST(TextLayout, UnspecifiedOrInfiniteWidthAsksForTheIdealSize) {
  for (const ProposedSize proposal : {ProposedSize::unspecified(), ProposedSize{infinity, infinity}}) {
    EXPECT_TRUE(frameIs(layoutForTest(sizedText("Hello big world", 10), proposal).root().frame, {0, 0, 90, 12}));
  }
}

TEST(TextLayout, TextModifiersOnAStackReachEveryTextAndInnerOnesWin) {
  const View view =
      HStack({Text::verbatim("A"), Text::verbatim("B").foregroundStyle(Color::white()).font(Font::system(9))})
          .font(Font::system(20, FontWeight::semibold))
          .tracking(0.45)
          .monospacedDigit()
          .lineLimit(1)
          .minimumScaleFactor(0.5)
          .allowsTightening(true)
          .multilineTextAlignment(TextAlignment::center)
          .foregroundStyle(Color::srgb8(218, 226, 255, 0.72));
  const LaidOutTree tree = layoutForTest(view, {100.0, 100.0});
  TextRequest expected = textContent(layoutForTest(Text::verbatim("A"), {}), "A").request;
  expected.font = Font::system(20, FontWeight::semibold);
  expected.tracking = 0.45;
  expected.monospacedDigits = true;
  expected.lineLimit = 1;
  expected.minimumScaleFactor = 0.5;
  expected.allowsTightening = true;
  expected.multilineAlignment = TextAlignment::center;
  EXPECT_EQ(textContent(tree, "A").request, expected);
  EXPECT_EQ(std::get<Color>(textContent(tree, "A").paint), Color::srgb8(218, 226, 255, 0.72));
  EXPECT_EQ(textContent(tree, "B").request.font, Font::system(9));
  EXPECT_EQ(std::get<Color>(textContent(tree, "B").paint), Color::white());
}

TEST(TextLayout, DefaultFontIsTheBodyStyleAndOnlyRelativeSizesFollowTheTextScale) {
  Environment larger;
  larger.textScale = 1.5;
  const LaidOutTree body = layoutForTest(Text::verbatim("A"), ProposedSize::unspecified(), larger);
  EXPECT_EQ(textContent(body, "A").request.font, Font::system(TextStyle::body));
  EXPECT_TRUE(frameIs(textFrame(body, "A"), {0, 0, 0.6 * 13 * 1.5, 1.2 * 13 * 1.5}));
  const LaidOutTree fixed = layoutForTest(sizedText("A", 10), ProposedSize::unspecified(), larger);
  EXPECT_TRUE(frameIs(textFrame(fixed, "A"), {0, 0, 6, 12})) << "a fixed size does not scale";
}

TEST(TextResolution, LocalizableKeysFallBackToTheKeyAndBadUtf8IsRepaired) {
  EXPECT_NE(findText(layoutForTest(Text::localized("TOKEN ACTIVITY"), {}), "TOKEN ACTIVITY"), nullptr);
  EXPECT_EQ(resolveText({TextPiece{TextPiece::Kind::localized, "", 0}}, {}).text, "")
      << "the empty key is not the catalogue header";
  EXPECT_NE(findText(layoutForTest(Text::verbatim("x\xC0y"), {}), "x\xEF\xBF\xBDy"), nullptr);
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

TEST_F(DateTexts, RelativeDatesAreSpansFromNowAndTheTreeKnowsTheEarliestChange) {
  const Date soon = environment.now + 2 * 3600 + 18 * 60 + 30;
  const Date later = environment.now + 3 * 86400;
  const View view = VStack({Text::localized("RESET ") + Text(soon, Text::DateStyle::relative),
                            Text(later, Text::DateStyle::relative), Text::verbatim("static")});
  const LaidOutTree tree = layoutForTest(view, ProposedSize::unspecified(), environment);
  const std::string expected = "RESET " + environment.locale->formatRelative(soon, environment.now);
  ASSERT_NE(findText(tree, expected), nullptr) << inspectJson(tree);
  EXPECT_NE(expected.find("2 hr"), std::string::npos) << expected;
  EXPECT_EQ(tree.nextRelativeChange, std::min(environment.locale->nextRelativeChange(soon, environment.now),
                                              environment.locale->nextRelativeChange(later, environment.now)));
  EXPECT_FALSE(layoutForTest(Text::verbatim("static"), {}, environment).nextRelativeChange);
}

TEST_F(DateTexts, MonthDayDatesAreInTheLocaleAndDoNotChangeWithNow) {
  Environment german = environment;
  german.locale = locale::Locale::make("de_DE");
  const LaidOutTree tree =
      layoutForTest(Text(environment.now, Text::DateStyle::monthDay), ProposedSize::unspecified(), german);
  EXPECT_NE(findText(tree, german.locale->formatDate(environment.now, "MMMd", *environment.calendar)), nullptr)
      << inspectJson(tree);
  EXPECT_FALSE(tree.nextRelativeChange);
}

}  // namespace
}  // namespace zelto::kit
