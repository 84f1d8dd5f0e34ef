// Accessibility elements in reading order, and the hit regions of intent
// buttons.

#include <gtest/gtest.h>

#include "KitTestSupport.hpp"

namespace zelto::kit {
namespace {

using testing::frameIs;
using testing::layoutForTest;
using testing::sizedText;

std::vector<std::string> labels(const std::vector<AccessibilityElement>& elements) {
  std::vector<std::string> result;
  for (const auto& element : elements) result.push_back(element.label);
  return result;
}

using Labels = std::vector<std::string>;

TEST(Accessibility, ReadingOrderHonoursHiddenCombinedAndIgnoredChildren) {
  const View ring = ZStack({Circle().stroke(Color::white(0.11), 7), sizedText("40%", 22), sizedText("LEFT", 9)})
                        .accessibilityElement(AccessibilityChildren::ignore)
                        .accessibilityLabel("Weekly, 40 percent remaining");
  const View view =
      VStack(HorizontalAlignment::leading, 4,
             {sizedText("ZELTO / LIMITS", 9), Circle().fill(Color::white()).frame(5, 5).accessibilityHidden(),
              sizedText("decoration", 9).accessibilityHidden(),
              HStack({sizedText("TODAY", 9), sizedText("1.2M TOKENS", 9)})
                  .accessibilityElement(AccessibilityChildren::combine),
              ring, Image("chevron.left"), sizedText("invisible", 9).hidden()});
  const LaidOutTree tree = layoutForTest(view, {300.0, 300.0});
  const auto elements = accessibilityElements(tree);
  EXPECT_EQ(labels(elements),
            (Labels{"ZELTO / LIMITS", "TODAY, 1.2M TOKENS", "Weekly, 40 percent remaining", "chevron left"}));
  ASSERT_EQ(elements.size(), 4u);
  EXPECT_EQ(elements[1].identity, "0/VStack/3/HStack");
  EXPECT_TRUE(frameIs(elements[1].frame, findByIdentity(tree, "0/VStack/3/HStack")->frame));
  EXPECT_TRUE(frameIs(elements[2].frame, findByIdentity(tree, "0/VStack/4/ZStack")->frame));
}

TEST(Accessibility, TextsAreReadInFullEvenWhenTruncated) {
  const LaidOutTree tree = layoutForTest(sizedText("Hello big world", 10).lineLimit(1), {40.0, 100.0});
  EXPECT_EQ(labels(accessibilityElements(tree)), (Labels{"Hello big world"}));
}

TEST(Accessibility, LabelOnAContainerMakesItOneElement) {
  const View bar = VStack({Capsule().fill(Color::white()).frame(5, 20), sizedText("Mon", 9)})
                       .accessibilityLabel("Monday, March 10, 2025, 1,234 tokens");
  const LaidOutTree tree = layoutForTest(HStack({bar, sizedText("after", 9)}), {200.0, 100.0});
  EXPECT_EQ(labels(accessibilityElements(tree)), (Labels{"Monday, March 10, 2025, 1,234 tokens", "after"}));
}

TEST(Accessibility, LocalizableLabelsAndCombinedLabelsWithTheirOwnLabel) {
  const View view = HStack({sizedText("a", 9), sizedText("b", 9)})
                        .accessibilityElement(AccessibilityChildren::combine)
                        .accessibilityLabel(Text::localized("Previous usage week"));
  EXPECT_EQ(labels(accessibilityElements(layoutForTest(view, {100.0, 100.0}))), (Labels{"Previous usage week"}));
}

TEST(Accessibility, ButtonsAreElementsWithTheirState) {
  const IntentReference previous{"previous-week", "Previous Zelto Usage Week"};
  const IntentReference next{"next-week", "Next Zelto Usage Week"};
  const auto weekButton = [](const IntentReference& intent, const char* symbol, const char* label, bool disabled) {
    return Button(intent, Image(symbol).frame(16, 16).background(Circle().fill(Color::white(0.08))))
        .disabled(disabled)
        .accessibilityLabel(Text::localized(label));
  };
  const View navigator =
      HStack(VerticalAlignment::center, 4,
             {weekButton(previous, "chevron.left", "Previous usage week", false), sizedText("MAR 10\u201316", 9),
              weekButton(next, "chevron.right", "Next usage week", true)});
  const auto elements = accessibilityElements(layoutForTest(navigator, {200.0, 50.0}));
  ASSERT_EQ(elements.size(), 3u);
  EXPECT_EQ(elements[0].label, "Previous usage week");
  EXPECT_TRUE(elements[0].isButton);
  EXPECT_TRUE(elements[0].isEnabled);
  EXPECT_EQ(elements[1].label, "MAR 10\u201316");
  EXPECT_FALSE(elements[1].isButton);
  EXPECT_EQ(elements[2].label, "Next usage week");
  EXPECT_FALSE(elements[2].isEnabled);
  // The label is 45 pt wide (nine characters of 5.4 pt, two narrow "1"s of 3.6 pt).
  EXPECT_TRUE(frameIs(elements[2].frame, {16 + 4 + 45 + 4, 0, 16, 16}));
}

TEST(HitRegions, EachButtonWithItsFrameIntentAndState) {
  const IntentReference previous{"previous-week", "Previous Zelto Usage Week"};
  const IntentReference next{"next-week", "Next Zelto Usage Week"};
  const View view = HStack(VerticalAlignment::center, 4,
                           {Button(previous, Image("chevron.left").frame(16, 16)).disabled(true),
                            Rectangle().frame(20, 10), Button(next, Image("chevron.right").frame(16, 16)),
                            Button(next, Image("chevron.right").frame(16, 16)).hidden()});
  const LaidOutTree tree = layoutForTest(view, {200.0, 50.0});
  const auto regions = hitRegions(tree);
  ASSERT_EQ(regions.size(), 2u) << "a hidden button takes no clicks";
  EXPECT_EQ(regions[0].intent, previous);
  EXPECT_FALSE(regions[0].enabled);
  EXPECT_TRUE(frameIs(regions[0].frame, {0, 0, 16, 16}));
  EXPECT_EQ(regions[1].intent, next);
  EXPECT_TRUE(regions[1].enabled);
  EXPECT_TRUE(frameIs(regions[1].frame, {44, 0, 16, 16}));
  EXPECT_EQ(regions[1].identity, "0/HStack/2/Button");

  const HitRegion* clicked = regionAt(regions, {50, 8});
  ASSERT_NE(clicked, nullptr);
  EXPECT_EQ(clicked->intent, next);
  EXPECT_FALSE(regionAt(regions, {5, 8})->enabled) << "a disabled button still takes its click";
  EXPECT_EQ(regionAt(regions, {30, 8}), nullptr);
  EXPECT_EQ(regionAt(regions, {60, 8}), nullptr) << "the right edge is outside";
}

TEST(HitRegions, TopmostRegionWins) {
  const View view = ZStack(
      {Button({"under", "Under"}, Rectangle().frame(40, 40)), Button({"over", "Over"}, Rectangle().frame(10, 10))});
  const auto regions = hitRegions(layoutForTest(view, {100.0, 100.0}));
  EXPECT_EQ(regionAt(regions, {20, 20})->intent.identifier, "over");
  EXPECT_EQ(regionAt(regions, {2, 2})->intent.identifier, "under");
}

}  // namespace
}  // namespace zelto::kit
