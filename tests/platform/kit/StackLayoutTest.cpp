// Stacks: space division by priority and flexibility, spacers last, gaps,
// cross-axis alignment including last-text-baseline. With the fake text
// system a 10 pt character is 6 pt wide ("i" and "1" 4 pt) and a line 12 pt high.

#include <gtest/gtest.h>

#include "KitTestSupport.hpp"

namespace zelto::kit {
namespace {

using testing::frameIs;
using testing::layoutForTest;
using testing::nodeAt;
using testing::sizedText;
using testing::textFrame;

View bar(double width, double height) { return Rectangle().frame(width, height); }

TEST(StackLayout, ThreeUnboundedFramesShareTheWidthEqually) {
  const View view = HStack(VerticalAlignment::center, defaultSpacing,
                           {sizedText("A", 10).frame(FlexibleFrame{.maxWidth = infinity}),
                            sizedText("BB", 10).frame(FlexibleFrame{.maxWidth = infinity}),
                            sizedText("CCCCCC", 10).frame(FlexibleFrame{.maxWidth = infinity})});
  const LaidOutTree tree = layoutForTest(view, {300.0, 50.0});
  // (300 - 2 x 8) / 3 each; each text centred in its share.
  const double share = (300 - 16) / 3.0;
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/0/Frame").frame, {0, 0, share, 12}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/1/Frame").frame, {share + 8, 0, share, 12}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/2/Frame").frame, {2 * share + 16, 0, share, 12}));
  EXPECT_TRUE(frameIs(textFrame(tree, "CCCCCC"), {2 * share + 16 + (share - 36) / 2, 0, 36, 12}));
  EXPECT_TRUE(frameIs(tree.root().frame, {0, 0, 300, 12}));
}

TEST(StackLayout, SpacerTakesOnlyItsMinimumUntilOthersAreSized) {
  const auto row = [] {
    return HStack(VerticalAlignment::top, defaultSpacing,
                  {sizedText("Hello world", 10), Spacer(20), sizedText("Hi", 10)});
  };
  // Room for everything: the texts take their ideal widths, the spacer the rest.
  LaidOutTree roomy = layoutForTest(row(), {100.0, 50.0});
  EXPECT_TRUE(frameIs(textFrame(roomy, "Hello world"), {0, 0, 66, 12}));
  EXPECT_TRUE(frameIs(nodeAt(roomy, "0/HStack/1/Spacer").frame, {66, 0, 22, 0}));
  EXPECT_TRUE(frameIs(textFrame(roomy, "Hi"), {88, 0, 12, 12}));

  // Tight: the spacer keeps its 20 pt minimum and the long text wraps.
  LaidOutTree tight = layoutForTest(row(), {62.0, 50.0});
  EXPECT_TRUE(frameIs(textFrame(tight, "Hello world"), {0, 0, 30, 24}));
  EXPECT_TRUE(frameIs(nodeAt(tight, "0/HStack/1/Spacer").frame, {30, 0, 20, 0}));
  EXPECT_TRUE(frameIs(textFrame(tight, "Hi"), {50, 0, 12, 12}));
}

TEST(StackLayout, SeveralSpacersShareWhatIsLeftEqually) {
  const View view =
      VStack(HorizontalAlignment::leading, 8, {bar(10, 20), Spacer(0), bar(10, 30), Spacer(0), bar(10, 10)});
  const LaidOutTree tree = layoutForTest(view, {100.0, 200.0});
  // 200 - 60 of bars - 4 x 8 of gaps = 108, halved.
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/VStack/1/Spacer").frame, {0, 28, 0, 54}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/VStack/2/Frame").frame, {0, 90, 10, 30}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/VStack/4/Frame").frame, {0, 190, 10, 10}));
}

TEST(StackLayout, LeastFlexibleChildIsSizedFirst) {
  // Taken in order, "Hello world" would be offered 40 of 80 and wrap. "Hi"
  // (flexibility 10) is sized before it (66), whatever their order.
  const View view = HStack(VerticalAlignment::top, 0, {sizedText("Hello world", 10), sizedText("Hi", 10)});
  const LaidOutTree tree = layoutForTest(view, {80.0, 50.0});
  EXPECT_TRUE(frameIs(textFrame(tree, "Hello world"), {0, 0, 66, 12}));
  EXPECT_TRUE(frameIs(textFrame(tree, "Hi"), {66, 0, 12, 12}));
}

TEST(StackLayout, HigherLayoutPriorityIsSizedFirst) {
  const View equal = HStack(VerticalAlignment::top, 0, {sizedText("Hello world", 10), sizedText("Hello world", 10)});
  const LaidOutTree equalTree = layoutForTest(equal, {100.0, 50.0});
  EXPECT_TRUE(frameIs(nodeAt(equalTree, "0/HStack/0/Text").frame, {0, 0, 30, 24})) << "first offered 50, wraps";
  EXPECT_TRUE(frameIs(nodeAt(equalTree, "0/HStack/1/Text").frame, {30, 0, 66, 12}));

  const View prioritized =
      HStack(VerticalAlignment::top, 0, {sizedText("Hello world", 10), sizedText("Hello world", 10).layoutPriority(1)});
  const LaidOutTree tree = layoutForTest(prioritized, {100.0, 50.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/1/Text").frame, {30, 0, 66, 12})) << "priority child gets its ideal";
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/0/Text").frame, {0, 0, 30, 24}));
}

TEST(StackLayout, LowerPriorityMinimumsAreHeldBack) {
  // The low-priority frame needs at least 40: the priority text gets 100 - 40.
  const View view = HStack(VerticalAlignment::top, 0,
                           {sizedText("Hello big world", 10).layoutPriority(1),
                            bar(10, 10).frame(FlexibleFrame{.minWidth = 40, .maxWidth = infinity})});
  const LaidOutTree tree = layoutForTest(view, {100.0, 50.0});
  EXPECT_TRUE(frameIs(textFrame(tree, "Hello big world"), {0, 0, 54, 24}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/1/Frame").frame, {54, 0, 46, 10}));
}

struct GapCase {
  const char* name;
  std::optional<double> spacing;
  double secondX;  // of the bar after the spacer
  double thirdX;   // of the bar after a plain bar
};

class StackGaps : public ::testing::TestWithParam<GapCase> {};

TEST_P(StackGaps, DefaultSpacingIsEightButNoneNextToASpacer) {
  const GapCase& c = GetParam();
  const View view = HStack(VerticalAlignment::top, c.spacing, {bar(10, 5), Spacer(4), bar(10, 5), bar(10, 5)});
  const LaidOutTree tree = layoutForTest(view, ProposedSize::unspecified());
  EXPECT_NEAR(nodeAt(tree, "0/HStack/2/Frame").frame.x, c.secondX, testing::tolerance) << c.name;
  EXPECT_NEAR(nodeAt(tree, "0/HStack/3/Frame").frame.x, c.thirdX, testing::tolerance) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Spacings, StackGaps,
                         ::testing::Values(GapCase{"default", std::nullopt, 14, 32}, GapCase{"given", 3, 20, 33},
                                           GapCase{"zero", 0, 14, 24}, GapCase{"negative overlaps", -2, 10, 18}));

TEST(StackLayout, EmptyAndConditionalChildrenLeaveNoGap) {
  const View view = VStack(HorizontalAlignment::leading, 5,
                           {bar(10, 10), EmptyView(), when(false, bar(10, 10)), Group({}), bar(10, 10)});
  const LaidOutTree tree = layoutForTest(view, ProposedSize::unspecified());
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/VStack/4/Frame").frame, {0, 15, 10, 10}));
  EXPECT_EQ(tree.children(nodeAt(tree, "0/VStack")).size(), 2u);
}

TEST(StackLayout, GroupAndListChildrenTakePartOneByOne) {
  const std::vector<int> records{1, 2};
  const View view = HStack(
      VerticalAlignment::top, 2,
      {Group({bar(4, 4), bar(4, 4)}), ForEach(
                                          records, [](int r) { return r; }, [](int r) { return bar(r * 10, 4); })});
  const LaidOutTree tree = layoutForTest(view, ProposedSize::unspecified());
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/0/Group/1/Frame").frame, {6, 0, 4, 4}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/1/ForEach:1/0/Frame").frame, {12, 0, 10, 4}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/1/ForEach:2/0/Frame").frame, {24, 0, 20, 4}));
}

TEST(StackLayout, OverflowsRatherThanSqueezesFixedChildren) {
  const View view = HStack(VerticalAlignment::top, 0, {bar(80, 10), bar(80, 10)});
  const LaidOutTree tree = layoutForTest(view, {100.0, 10.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack").frame, {0, 0, 160, 10}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/1/Frame").frame, {80, 0, 80, 10}));
}

struct AlignmentCase {
  VerticalAlignment alignment;
  double smallY;
};

class HStackAlignment : public ::testing::TestWithParam<AlignmentCase> {};

TEST_P(HStackAlignment, PlacesChildrenAcrossTheAxis) {
  const View view = HStack(GetParam().alignment, 0, {bar(10, 40), bar(10, 10)});
  const LaidOutTree tree = layoutForTest(view, ProposedSize::unspecified());
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack").frame, {0, 0, 20, 40}));
  EXPECT_NEAR(nodeAt(tree, "0/HStack/1/Frame").frame.y, GetParam().smallY, testing::tolerance);
}

INSTANTIATE_TEST_SUITE_P(Alignments, HStackAlignment,
                         ::testing::Values(AlignmentCase{VerticalAlignment::top, 0},
                                           AlignmentCase{VerticalAlignment::center, 15},
                                           AlignmentCase{VerticalAlignment::bottom, 30},
                                           AlignmentCase{VerticalAlignment::lastTextBaseline, 30}));

TEST(StackLayout, VStackAlignsLeadingCentreAndTrailing) {
  for (const auto& [alignment, x] :
       {std::pair{HorizontalAlignment::leading, 0.0}, std::pair{HorizontalAlignment::center, 20.0},
        std::pair{HorizontalAlignment::trailing, 40.0}}) {
    const LaidOutTree tree = layoutForTest(VStack(alignment, 4, {bar(50, 10), bar(10, 10)}), {100.0, 100.0});
    EXPECT_TRUE(frameIs(nodeAt(tree, "0/VStack").frame, {0, 0, 50, 24}));
    EXPECT_TRUE(frameIs(nodeAt(tree, "0/VStack/1/Frame").frame, {x, 14, 10, 10}));
  }
}

TEST(StackLayout, LastTextBaselineOfLargeAndSmallText) {
  // 37 pt: 44.4 high, baseline 35.15. 9 pt: 10.8 high, baseline 8.55.
  const View view =
      HStack(VerticalAlignment::lastTextBaseline, 5, {sizedText("73%", 37), sizedText("LEFT", 9), Spacer(0)});
  const LaidOutTree tree = layoutForTest(view, {200.0, 100.0});
  EXPECT_TRUE(frameIs(textFrame(tree, "73%"), {0, 0, 66.6, 44.4}));
  EXPECT_TRUE(frameIs(textFrame(tree, "LEFT"), {71.6, 26.6, 21.6, 10.8}));
  const LaidOutNode& large = *findText(tree, "73%");
  const LaidOutNode& small = *findText(tree, "LEFT");
  EXPECT_NEAR(large.frame.y + large.lastBaseline, small.frame.y + small.lastBaseline, testing::tolerance);
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack").frame, {0, 0, 200, 44.4}));
  // The stack exposes the shared baseline to its own parent.
  EXPECT_NEAR(nodeAt(tree, "0/HStack").lastBaseline, 35.15, testing::tolerance);
}

TEST(StackLayout, BaselineAlignmentUsesTheLastLineOfAWrappedText) {
  const View view = HStack(VerticalAlignment::lastTextBaseline, 0,
                           {sizedText("Hello world", 10).frame(30, std::nullopt), sizedText("X", 20)});
  const LaidOutTree tree = layoutForTest(view, {200.0, 100.0});
  // Two lines: last baseline 12 + 9.5 = 21.5; the 20 pt text's baseline is 19.
  EXPECT_TRUE(frameIs(textFrame(tree, "Hello world"), {0, 0, 30, 24}));
  EXPECT_TRUE(frameIs(textFrame(tree, "X"), {30, 2.5, 12, 24}));
}

TEST(StackLayout, ChildWithoutTextUsesItsBottomAsBaseline) {
  const View view = HStack(VerticalAlignment::lastTextBaseline, 0, {sizedText("Ag", 10), bar(6, 6)});
  const LaidOutTree tree = layoutForTest(view, ProposedSize::unspecified());
  // Baseline 9.5: the bar's bottom sits on it.
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/1/Frame").frame, {12, 3.5, 6, 6}));
}

TEST(StackLayout, UnspecifiedProposalGivesIdealSizes) {
  const View view = VStack(HorizontalAlignment::leading, 0, {sizedText("Hello world", 10), Spacer(3), Rectangle()});
  const LaidOutTree tree = layoutForTest(view, ProposedSize::unspecified());
  // Ideal: one line of text, the spacer's minimum, a 10 x 10 shape.
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/VStack").frame, {0, 0, 66, 25}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/VStack/2/Rectangle").frame, {0, 15, 10, 10}));
}

TEST(StackLayout, SpacerOutsideAStackIsVertical) {
  const LaidOutTree tree = layoutForTest(ZStack({Spacer(5)}), {50.0, 40.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/ZStack/0/Spacer").frame, {0, 0, 0, 40}));
}

TEST(StackLayout, EveryChildIsOfferedTheFullCrossProposal) {
  const View view = HStack(VerticalAlignment::top, 0, {Rectangle().frame(20, std::nullopt), bar(10, 5)});
  const LaidOutTree tree = layoutForTest(view, {100.0, 70.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/0/Frame").frame, {0, 0, 20, 70}));
}

TEST(StackLayout, MeasuresEachTextOncePerSize) {
  testing::FakeTextSystem textSystem;
  const View view = VStack({HStack({sizedText("Hello", 10), Spacer(), sizedText("World", 10)}),
                            HStack({sizedText("Again", 10), Spacer(), sizedText("Twice", 10)})});
  const LaidOutTree tree = layout(view, {120.0, 80.0}, {}, textSystem);
  ASSERT_NE(findText(tree, "Twice"), nullptr);
  ASSERT_FALSE(textSystem.calls.empty());
  for (std::size_t i = 0; i < textSystem.calls.size(); ++i) {
    for (std::size_t j = i + 1; j < textSystem.calls.size(); ++j) {
      EXPECT_FALSE(textSystem.calls[i] == textSystem.calls[j])
          << "measured twice: " << textSystem.calls[i].request.text;
    }
  }
  // A height that the unconstrained text already fits in needs no measurement
  // of its own: each text is measured for the widths it is offered (the
  // minimum, the ideal and its share) and, broken at every character at zero
  // width, for the heights probed there: at most five sizes each.
  EXPECT_LE(textSystem.calls.size(), 4u * 5);
}

}  // namespace
}  // namespace zelto::kit
