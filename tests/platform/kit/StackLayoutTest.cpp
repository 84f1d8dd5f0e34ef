// Stacks: space division by priority and flexibility, spacers last, gaps,
// cross-axis alignment including last-text-baseline. With the fake text
// system a 10 pt character is 6 pt wide ("1" 4 pt) and a line 12 pt high.

#include <gtest/gtest.h>

#include <functional>

#include "KitTestSupport.hpp"

namespace zelto::kit {
namespace {

using testing::frameIs;
using testing::layoutForTest;
using testing::nodeAt;
using testing::sizedText;
using testing::textFrame;

View bar(double width, double height) { return Rectangle().frame(width, height); }

TEST(StackLayout, UnboundedFramesShareTheWidthEqually) {
  const auto column = [](const char* text) { return sizedText(text, 10).frame(FlexibleFrame{.maxWidth = infinity}); };
  const View view = HStack(VerticalAlignment::center, defaultSpacing, {column("A"), column("BB"), column("CCCCCC")});
  const LaidOutTree tree = layoutForTest(view, {300.0, 50.0});
  const double share = (300 - 16) / 3.0;  // two default gaps of 8
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/1/Frame").frame, {share + 8, 0, share, 12}));
  EXPECT_TRUE(frameIs(textFrame(tree, "CCCCCC"), {2 * share + 16 + (share - 36) / 2, 0, 36, 12}));
}

TEST(StackLayout, SpacerTakesOnlyItsMinimumUntilOthersAreSized) {
  const View row =
      HStack(VerticalAlignment::top, defaultSpacing, {sizedText("Hello world", 10), Spacer(20), sizedText("Hi", 10)});
  const LaidOutTree roomy = layoutForTest(row, {100.0, 50.0});
  EXPECT_TRUE(frameIs(nodeAt(roomy, "0/HStack/1/Spacer").frame, {66, 0, 22, 0}));
  // Tight: the spacer keeps its 20 pt minimum and the long text wraps.
  const LaidOutTree tight = layoutForTest(row, {62.0, 50.0});
  EXPECT_TRUE(frameIs(textFrame(tight, "Hello world"), {0, 0, 30, 24}));
  EXPECT_TRUE(frameIs(nodeAt(tight, "0/HStack/1/Spacer").frame, {30, 0, 20, 0}));
}

TEST(StackLayout, SeveralSpacersShareWhatIsLeftEqually) {
  const View view =
      VStack(HorizontalAlignment::leading, 8, {bar(10, 20), Spacer(0), bar(10, 30), Spacer(0), bar(10, 10)});
  const LaidOutTree tree = layoutForTest(view, {100.0, 200.0});
  // 200 - 60 of bars - 4 x 8 of gaps = 108, halved.
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/VStack/1/Spacer").frame, {0, 28, 0, 54}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/VStack/4/Frame").frame, {0, 190, 10, 10}));
}

TEST(StackLayout, LeastFlexibleChildIsSizedFirst) {
  // Taken in order, "Hello world" would be offered 40 of 80 and wrap.
  const View view = HStack(VerticalAlignment::top, 0, {sizedText("Hello world", 10), sizedText("Hi", 10)});
  const LaidOutTree tree = layoutForTest(view, {80.0, 50.0});
  EXPECT_TRUE(frameIs(textFrame(tree, "Hello world"), {0, 0, 66, 12}));
}

struct PriorityCase {
  const char* name;
  std::function<View(View)> first;  // what the first child's text is wrapped in
  double firstWidth;                // of the first text; the second starts there
};

class LayoutPriority : public ::testing::TestWithParam<PriorityCase> {};

TEST_P(LayoutPriority, BelongsToTheStacksChildWhateverModifiersFollow) {
  const PriorityCase& c = GetParam();
  const View view =
      HStack(VerticalAlignment::top, 0, {c.first(sizedText("Hello world", 10)), sizedText("Howdy world", 10)});
  const LaidOutTree tree = layoutForTest(view, {100.0, 50.0});
  EXPECT_NEAR(textFrame(tree, "Hello world").width, c.firstWidth, testing::tolerance) << c.name;
  EXPECT_NEAR(textFrame(tree, "Howdy world").x, c.firstWidth, testing::tolerance) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Modifiers, LayoutPriority,
    ::testing::Values(
        PriorityCase{"none: offered half, it wraps", [](View v) { return v; }, 30},
        PriorityCase{"on the view: sized first", [](View v) { return v.layoutPriority(1); }, 66},
        PriorityCase{"then padding", [](View v) { return v.layoutPriority(1).padding(0); }, 66},
        PriorityCase{"then a frame", [](View v) { return v.layoutPriority(1).frame(FlexibleFrame{}); }, 66},
        PriorityCase{"then a background", [](View v) { return v.layoutPriority(1).background(Color::black()); }, 66},
        PriorityCase{"outer wins", [](View v) { return v.layoutPriority(1).padding(0).layoutPriority(0); }, 30}));

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

TEST(StackLayout, EmptyConditionalGroupAndListChildrenTakePartOneByOne) {
  const std::vector<int> records{1, 2};
  const View view = HStack(VerticalAlignment::top, 2,
                           {EmptyView(), when(false, bar(10, 10)), Group({bar(4, 4), bar(4, 4)}),
                            ForEach(
                                records, [](int r) { return r; }, [](int r) { return bar(r * 10, 4); })});
  const LaidOutTree tree = layoutForTest(view, ProposedSize::unspecified());
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/2/Group/1/Frame").frame, {6, 0, 4, 4}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/3/ForEach:2/0/Frame").frame, {24, 0, 20, 4}));
  EXPECT_EQ(tree.children(nodeAt(tree, "0/HStack")).size(), 4u);
}

TEST(StackLayout, OverflowsRatherThanSqueezesAndOffersTheFullCrossLength) {
  const View view = HStack(VerticalAlignment::top, 0, {bar(80, 10), bar(80, 10), Rectangle().frame(20, std::nullopt)});
  const LaidOutTree tree = layoutForTest(view, {100.0, 70.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack").frame, {0, 0, 180, 70}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/2/Frame").frame, {160, 0, 20, 70}));
}

TEST(StackLayout, PlacesChildrenAcrossTheAxisByTheAlignment) {
  // A 10 x 10 bar beside a 50 x 40 one.
  const auto small = [](const View& stack) {
    const LaidOutTree tree = layoutForTest(stack, {200.0, 200.0});
    return tree.node(tree.children(tree.node(tree.children(tree.root()).front()))[1]).frame;
  };
  for (const auto& [alignment, y] : {std::pair{VerticalAlignment::top, 0.0},
                                     {VerticalAlignment::center, 15.0},
                                     {VerticalAlignment::bottom, 30.0},
                                     {VerticalAlignment::lastTextBaseline, 30.0}}) {
    EXPECT_TRUE(frameIs(small(HStack(alignment, 0, {bar(50, 40), bar(10, 10)})), {50, y, 10, 10}));
  }
  for (const auto& [alignment, x] : {std::pair{HorizontalAlignment::leading, 0.0},
                                     {HorizontalAlignment::center, 20.0},
                                     {HorizontalAlignment::trailing, 40.0}}) {
    EXPECT_TRUE(frameIs(small(VStack(alignment, 0, {bar(50, 40), bar(10, 10)})), {x, 40, 10, 10}));
  }
}

TEST(StackLayout, LastTextBaselinesShareOneLine) {
  // 37 pt: 44.4 high, baseline 35.15. 9 pt: 10.8 high, baseline 8.55.
  const View view =
      HStack(VerticalAlignment::lastTextBaseline, 5, {sizedText("73%", 37), sizedText("LEFT", 9), bar(6, 6)});
  const LaidOutTree tree = layoutForTest(view, {200.0, 100.0});
  EXPECT_TRUE(frameIs(textFrame(tree, "LEFT"), {71.6, 26.6, 21.6, 10.8}));
  EXPECT_NEAR(nodeAt(tree, "0/HStack/2/Frame").frame.maxY(), 35.15, testing::tolerance) << "no text: its bottom";
  EXPECT_NEAR(nodeAt(tree, "0/HStack").lastBaseline, 35.15, testing::tolerance) << "exposed to the parent";
  // A wrapped text aligns its last line: 12 + 9.5 against the 20 pt text's 19.
  const View wrapped = HStack(VerticalAlignment::lastTextBaseline, 0,
                              {sizedText("Hello world", 10).frame(30, std::nullopt), sizedText("X", 20)});
  EXPECT_TRUE(frameIs(textFrame(layoutForTest(wrapped, {200.0, 100.0}), "X"), {30, 2.5, 12, 24}));
}

TEST(StackLayout, UnspecifiedProposalGivesIdealSizesAndALoneSpacerIsVertical) {
  const View view = VStack(HorizontalAlignment::leading, 0, {sizedText("Hello world", 10), Spacer(3), Rectangle()});
  EXPECT_TRUE(frameIs(layoutForTest(view, ProposedSize::unspecified()).root().frame, {0, 0, 66, 25}));
  const LaidOutTree tree = layoutForTest(ZStack({Spacer(5)}), {50.0, 40.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/ZStack/0/Spacer").frame, {0, 0, 0, 40}));
}

TEST(StackLayout, MeasuresEachTextOncePerSize) {
  testing::FakeTextSystem textSystem;
  const View view = VStack({HStack({sizedText("Hello", 10), Spacer(), sizedText("World", 10)}),
                            HStack({sizedText("Again", 10), Spacer(), sizedText("Twice", 10)})});
  layout(view, {120.0, 80.0}, {}, textSystem);
  ASSERT_FALSE(textSystem.calls.empty());
  for (std::size_t i = 0; i < textSystem.calls.size(); ++i) {
    for (std::size_t j = i + 1; j < textSystem.calls.size(); ++j) {
      EXPECT_FALSE(textSystem.calls[i] == textSystem.calls[j])
          << "measured twice: " << textSystem.calls[i].request.text;
    }
  }
  // Each text is measured for the widths it is offered (the minimum, the
  // ideal and its share) and the heights probed there: at most five each.
  EXPECT_LE(textSystem.calls.size(), 4u * 5);
}

}  // namespace
}  // namespace zelto::kit
