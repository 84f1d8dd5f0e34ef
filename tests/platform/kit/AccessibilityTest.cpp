// Accessibility elements in reading order, and the hit regions of intent
// buttons.

#include <gtest/gtest.h>

#include "KitTestSupport.hpp"

namespace zelto::kit {
namespace {

using testing::frameIs;
using testing::layoutForTest;
using testing::sizedText;
using Labels = std::vector<std::string>;

Labels labels(const std::vector<AccessibilityElement>& elements) {
  Labels result;
  for (const auto& element : elements) result.push_back(element.label);
  return result;
}

TEST(Accessibility, ReadingOrderHonoursHiddenCombinedIgnoredAndLabelledChildren) {
  const View ring = ZStack({Circle().stroke(Color::white(0.11), 7), sizedText("40%", 22), sizedText("LEFT", 9)})
                        .accessibilityElement(AccessibilityChildren::ignore)
                        .accessibilityLabel("Weekly, 40 percent remaining");
  const View view =
      VStack(HorizontalAlignment::leading, 4,
             {sizedText("ZELTO / LIMITS", 9).lineLimit(1), Circle().frame(5, 5).accessibilityHidden(),
              sizedText("decoration", 9).accessibilityHidden(),
              HStack({sizedText("TODAY", 9), sizedText("1.2M TOKENS", 9)})
                  .accessibilityElement(AccessibilityChildren::combine),
              ring, VStack({Capsule().frame(5, 20), sizedText("Mon", 9)}).accessibilityLabel(Text::localized("Monday")),
              Image("chevron.left"), sizedText("invisible", 9).hidden()});
  const LaidOutTree tree = layoutForTest(view, {40.0, 300.0});
  const auto elements = accessibilityElements(tree);
  EXPECT_EQ(labels(elements),
            (Labels{"ZELTO / LIMITS", "TODAY, 1.2M TOKENS", "Weekly, 40 percent remaining", "Monday", "chevron left"}))
      << "a truncated text is read in full";
  ASSERT_EQ(elements.size(), 5u);
  EXPECT_EQ(elements[1].identity, "0/VStack/3/HStack");
  EXPECT_TRUE(frameIs(elements[2].frame, findByIdentity(tree, "0/VStack/4/ZStack")->frame));
}

TEST(Accessibility, ButtonsAreElementsWithTheirState) {
  const auto weekButton = [](const char* intent, const char* symbol, const char* label, bool disabled) {
    return Button({intent, intent}, Image(symbol).frame(16, 16).background(Circle().fill(Color::white(0.08))))
        .disabled(disabled)
        .accessibilityLabel(Text::localized(label));
  };
  const View navigator =
      HStack(VerticalAlignment::center, 4,
             {weekButton("previous", "chevron.left", "Previous usage week", false), sizedText("MAR 10\u201316", 9),
              weekButton("next", "chevron.right", "Next usage week", true)});
  const auto elements = accessibilityElements(layoutForTest(navigator, {200.0, 50.0}));
  ASSERT_EQ(elements.size(), 3u);
  EXPECT_EQ(labels(elements), (Labels{"Previous usage week", "MAR 10\u201316", "Next usage week"}));
  EXPECT_TRUE(elements[0].isButton && elements[0].isEnabled);
  EXPECT_FALSE(elements[1].isButton);
  EXPECT_FALSE(elements[2].isEnabled);
  // The label is 45 pt wide (nine characters of 5.4 pt, two narrow "1"s of 3.6 pt).
  EXPECT_TRUE(frameIs(elements[2].frame, {16 + 4 + 45 + 4, 0, 16, 16}));
}

TEST(HitRegions, EachVisibleButtonWithItsFrameIntentAndStateTopmostFirst) {
  const IntentReference previous{"previous-week", "Previous Zelto Usage Week"};
  const IntentReference next{"next-week", "Next Zelto Usage Week"};
  const View view =
      HStack(VerticalAlignment::center, 4,
             {Button(previous, Image("chevron.left").frame(16, 16)).disabled(true), Rectangle().frame(20, 10),
              ZStack({Button(next, Rectangle().frame(16, 16)), Button(previous, Rectangle().frame(4, 4))}),
              Button(next, Image("chevron.right").frame(16, 16)).hidden()});
  const auto regions = hitRegions(layoutForTest(view, {200.0, 50.0}));
  ASSERT_EQ(regions.size(), 3u) << "a hidden button takes no clicks";
  EXPECT_TRUE(frameIs(regions[1].frame, {44, 0, 16, 16}));
  EXPECT_EQ(regions[1].identity, "0/HStack/2/ZStack/0/Button");
  EXPECT_EQ(regionAt(regions, {46, 8})->intent, next);
  EXPECT_EQ(regionAt(regions, {52, 8})->intent, previous) << "the topmost region wins";
  EXPECT_FALSE(regionAt(regions, {5, 8})->enabled) << "a disabled button still takes its click";
  EXPECT_EQ(regionAt(regions, {30, 8}), nullptr);
  EXPECT_EQ(regionAt(regions, {60, 8}), nullptr) << "the right edge is outside";
}

}  // namespace
}  // namespace zelto::kit
