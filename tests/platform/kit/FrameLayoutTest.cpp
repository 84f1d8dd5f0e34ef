// Frames, padding, backgrounds and overlays, layered stacks, geometry
// readers, aspect ratios, shapes and the widget's content margins.

#include <gtest/gtest.h>

#include "KitTestSupport.hpp"
#include "platform/kit/FrameLayout.hpp"

namespace zelto::kit {
namespace {

using testing::frameIs;
using testing::layoutForTest;
using testing::nodeAt;
using testing::sizedText;
using testing::textFrame;

TEST(FrameLayout, FixedFrameKeepsItsSizeAndAlignsTheChild) {
  const View view = sizedText("Hello", 10).frame(100, 40, Alignment::bottomTrailing());
  const LaidOutTree tree = layoutForTest(view, {300.0, 300.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Frame").frame, {0, 0, 100, 40}));
  EXPECT_TRUE(frameIs(textFrame(tree, "Hello"), {70, 28, 30, 12}));
}

TEST(FrameLayout, FixedFrameIgnoresAChildThatTakesMore) {
  // The child is proposed the frame's size; a fixed 80 pt child overflows it, centred.
  const View view = Rectangle().frame(80, 80).frame(40, 20);
  const LaidOutTree tree = layoutForTest(view, {300.0, 300.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Frame").frame, {0, 0, 40, 20}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Frame/Frame").frame, {-20, -30, 80, 80}));
}

TEST(FrameLayout, FixedFrameMissingDimensionPassesThrough) {
  // Width 40 is proposed to the text, which wraps; the height follows it.
  const View view = sizedText("Hello world", 10).frame(40, std::nullopt);
  const LaidOutTree tree = layoutForTest(view, {300.0, 300.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Frame").frame, {0, 0, 40, 24}));
  EXPECT_TRUE(frameIs(textFrame(tree, "Hello world"), {5, 0, 30, 24}));
}

TEST(FrameLayout, EmptyFrameStillTakesItsSpace) {
  const LaidOutTree tree =
      layoutForTest(HStack(VerticalAlignment::top, 0, {EmptyView().frame(30, 5), Rectangle().frame(10, 10)}),
                    ProposedSize::unspecified());
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/1/Frame").frame, {30, 0, 10, 10}));
}

struct FlexibleCase {
  const char* name;
  FlexibleFrame bounds;
  ProposedSize proposal;
  double childWidth;  // of a fixed child
  double expectedWidth;
};

class FlexibleFrameWidth : public ::testing::TestWithParam<FlexibleCase> {};

TEST_P(FlexibleFrameWidth, FollowsTheProposalTheChildAndTheBounds) {
  const FlexibleCase& c = GetParam();
  const View view = Rectangle().frame(c.childWidth, 10).frame(c.bounds);
  const LaidOutTree tree = layoutForTest(view, c.proposal);
  EXPECT_NEAR(nodeAt(tree, "0/Frame").frame.width, c.expectedWidth, testing::tolerance) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, FlexibleFrameWidth,
    ::testing::Values(
        FlexibleCase{"max infinity takes the whole proposal", {.maxWidth = infinity}, {200.0, 50.0}, 30, 200},
        FlexibleCase{"max only, child larger than proposal", {.maxWidth = infinity}, {20.0, 50.0}, 30, 30},
        FlexibleCase{"max only, capped", {.maxWidth = 100}, {200.0, 50.0}, 30, 100},
        FlexibleCase{"min only, child smaller", {.minWidth = 50}, {200.0, 50.0}, 30, 50},
        FlexibleCase{"min only, child between", {.minWidth = 20}, {200.0, 50.0}, 30, 30},
        FlexibleCase{"min only, proposal below child", {.minWidth = 10}, {15.0, 50.0}, 30, 15},
        FlexibleCase{"both bounds clamp the proposal", {.minWidth = 50, .maxWidth = 100}, {200.0, 50.0}, 30, 100},
        FlexibleCase{"both bounds, small proposal", {.minWidth = 50, .maxWidth = 100}, {10.0, 50.0}, 30, 50},
        FlexibleCase{"unspecified proposal uses the ideal",
                     {.idealWidth = 70, .maxWidth = infinity},
                     ProposedSize::unspecified(),
                     30,
                     70},
        FlexibleCase{
            "unspecified proposal, no ideal: the child", {.maxWidth = infinity}, ProposedSize::unspecified(), 30, 30},
        FlexibleCase{"no bounds: the child", {}, {200.0, 50.0}, 30, 30}));

TEST(FrameLayout, FlexibleFrameAlignsItsChild) {
  const View view = sizedText("Hi", 10).frame(
      FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()});
  const LaidOutTree tree = layoutForTest(view, {200.0, 100.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Frame").frame, {0, 0, 200, 100}));
  EXPECT_TRUE(frameIs(textFrame(tree, "Hi"), {0, 0, 12, 12}));
}

TEST(FrameLayout, FlexibleFrameOffersTheClampedProposal) {
  // The text is offered min(200, 40) and wraps inside the capped frame.
  const View view = sizedText("Hello world", 10).frame(FlexibleFrame{.maxWidth = 40});
  const LaidOutTree tree = layoutForTest(view, {200.0, 100.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Frame").frame, {0, 0, 40, 24}));
  EXPECT_TRUE(frameIs(textFrame(tree, "Hello world"), {5, 0, 30, 24}));
}

TEST(FrameLayout, PaddingInsetsTheProposalAndAddsTheEdges) {
  const View view = sizedText("Hello world", 10).padding(EdgeInsets{1, 2, 3, 4});
  const LaidOutTree tree = layoutForTest(view, {46.0, 100.0});
  // 46 - 6 = 40 for the text: it wraps to 30 x 24.
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Padding").frame, {0, 0, 36, 28}));
  EXPECT_TRUE(frameIs(textFrame(tree, "Hello world"), {2, 1, 30, 24}));
}

TEST(FrameLayout, DefaultPaddingIsSixteenAndEdgesCanBeChosen) {
  const LaidOutTree all = layoutForTest(Rectangle().frame(10, 10).padding(), ProposedSize::unspecified());
  EXPECT_TRUE(frameIs(all.root().frame, {0, 0, 42, 42}));
  const LaidOutTree sides =
      layoutForTest(Rectangle().frame(10, 10).padding(Edges::horizontal(), 7).padding(Edges::vertical(), 3),
                    ProposedSize::unspecified());
  EXPECT_TRUE(frameIs(sides.root().frame, {0, 0, 24, 16}));
  EXPECT_TRUE(frameIs(nodeAt(sides, "0/Padding/Padding/Frame").frame, {7, 3, 10, 10}));
}

TEST(FrameLayout, OverlayDrawsBeyondItsViewWithoutChangingItsSize) {
  const View view = Rectangle().frame(40, 20).overlay(Rectangle().frame(60, 30));
  const LaidOutTree tree = layoutForTest(view, {200.0, 200.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Overlay").frame, {0, 0, 40, 20}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Overlay/overlay/Frame").frame, {-10, -5, 60, 30}));
  EXPECT_TRUE(frameIs(tree.root().frame, {0, 0, 40, 20}));
}

TEST(FrameLayout, BackgroundIsProposedExactlyTheViewsSize) {
  const View view = sizedText("Hello", 10).padding(4).background(RoundedRectangle(6).fill(Color::black()));
  const LaidOutTree tree = layoutForTest(view, {200.0, 200.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Background").frame, {0, 0, 38, 20}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Background/background/RoundedRectangle").frame, {0, 0, 38, 20}));
}

TEST(FrameLayout, BackgroundAlignment) {
  const View view = Rectangle().frame(40, 20).background(Circle().frame(6, 6), Alignment::topTrailing());
  const LaidOutTree tree = layoutForTest(view, {200.0, 200.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Background/background/Frame").frame, {34, 0, 6, 6}));
}

TEST(FrameLayout, ZStackAlignsChildrenAndTakesTheUnion) {
  const View view = ZStack(Alignment::bottomTrailing(), {Rectangle().frame(40, 40), sizedText("Hi", 10)});
  const LaidOutTree tree = layoutForTest(view, {200.0, 200.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/ZStack").frame, {0, 0, 40, 40}));
  EXPECT_TRUE(frameIs(textFrame(tree, "Hi"), {28, 28, 12, 12}));

  const View wide = ZStack({Rectangle().frame(40, 10), Rectangle().frame(10, 30)});
  const LaidOutTree wideTree = layoutForTest(wide, {200.0, 200.0});
  EXPECT_TRUE(frameIs(nodeAt(wideTree, "0/ZStack").frame, {0, 0, 40, 30}));
  EXPECT_TRUE(frameIs(nodeAt(wideTree, "0/ZStack/0/Frame").frame, {0, 10, 40, 10}));
  EXPECT_TRUE(frameIs(nodeAt(wideTree, "0/ZStack/1/Frame").frame, {15, 0, 10, 30}));
}

TEST(FrameLayout, ShapesTakeTheWholeProposalOrTenPoints) {
  EXPECT_TRUE(frameIs(layoutForTest(Capsule(), {120.0, 8.0}).root().frame, {0, 0, 120, 8}));
  EXPECT_TRUE(frameIs(layoutForTest(Capsule(), {std::nullopt, 8.0}).root().frame, {0, 0, 10, 8}));
  EXPECT_TRUE(frameIs(layoutForTest(Circle(), ProposedSize::unspecified()).root().frame, {0, 0, 10, 10}));
}

TEST(FrameLayout, GeometryReaderHandsItsSizeToItsContent) {
  Size seen;
  const View view = GeometryReader([&seen](Size size) {
    seen = size;
    return Rectangle().frame(size.width / 2, 10);
  });
  const LaidOutTree tree = layoutForTest(view, {120.0, 50.0});
  EXPECT_EQ(seen, (Size{120, 50}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/GeometryReader").frame, {0, 0, 120, 50}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/GeometryReader/Frame").frame, {0, 0, 60, 10}));
}

TEST(FrameLayout, GeometryReaderCountsUnspecifiedAsZeroAndSitsInsideStacks) {
  const View view =
      VStack(HorizontalAlignment::leading, 0, {Rectangle().frame(10, 10), GeometryReader([](Size size) {
                                                                            return Rectangle().frame(size.width, 4);
                                                                          }).frame(std::nullopt, 4)});
  const LaidOutTree tree = layoutForTest(view, {90.0, 100.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/VStack/1/Frame/GeometryReader/Frame").frame, {0, 10, 90, 4}));
  EXPECT_TRUE(
      frameIs(layoutForTest(GeometryReader([](Size) { return View(); }), ProposedSize::unspecified()).root().frame,
              {0, 0, 0, 0}));
}

TEST(FrameLayout, AspectRatioFitsInsideAWideProposal) {
  const View view = Circle().aspectRatio(1, ContentMode::fit).frame(200, 80);
  const LaidOutTree tree = layoutForTest(view, {300.0, 300.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Frame/AspectRatio").frame, {60, 0, 80, 80}));
}

struct RatioCase {
  double ratio;
  ContentMode mode;
  ProposedSize proposal;
  ProposedSize expected;
};

class AspectRatioProposal : public ::testing::TestWithParam<RatioCase> {};

TEST_P(AspectRatioProposal, LargestFittingOrSmallestCoveringSize) {
  const RatioCase& c = GetParam();
  EXPECT_EQ(detail::aspectRatioProposal(c.ratio, c.mode, c.proposal), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Proposals, AspectRatioProposal,
                         ::testing::Values(RatioCase{1, ContentMode::fit, {200.0, 80.0}, {80.0, 80.0}},
                                           RatioCase{1, ContentMode::fit, {60.0, 80.0}, {60.0, 60.0}},
                                           RatioCase{2, ContentMode::fit, {100.0, 100.0}, {100.0, 50.0}},
                                           RatioCase{2, ContentMode::fill, {100.0, 100.0}, {200.0, 100.0}},
                                           RatioCase{1, ContentMode::fit, {std::nullopt, 30.0}, {30.0, 30.0}},
                                           RatioCase{0.5, ContentMode::fit, {40.0, std::nullopt}, {40.0, 80.0}},
                                           RatioCase{1, ContentMode::fit, {infinity, 30.0}, {30.0, 30.0}},
                                           RatioCase{1, ContentMode::fit, {}, {}},
                                           RatioCase{0, ContentMode::fit, {10.0, 20.0}, {10.0, 20.0}}));

TEST(FrameLayout, AspectRatioLetsTheChildChooseItsSize) {
  // A fixed child keeps its size inside the ratio's proposal.
  const LaidOutTree tree = layoutForTest(Rectangle().frame(30, 10).aspectRatio(1), {100.0, 100.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/AspectRatio").frame, {0, 0, 30, 10}));
}

TEST(WidgetLayout, ContentSitsInsideTheMarginsAndTheBackgroundFillsTheWidget) {
  testing::FakeTextSystem textSystem;
  const View content = Rectangle()
                           .fill(Color::white())
                           .frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity})
                           .containerBackground(Rectangle().fill(Color::black()));
  const LaidOutTree tree = layoutWidget(content, {364, 170}, {}, textSystem);
  EXPECT_EQ(tree.size, (Size{364, 170}));
  EXPECT_TRUE(frameIs(tree.safeArea, {16, 16, 332, 138}));
  const auto children = tree.children(tree.root());
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(tree.node(children[0]).identity, "containerBackground/Rectangle");
  EXPECT_TRUE(frameIs(tree.node(children[0]).frame, {0, 0, 364, 170}));
  EXPECT_TRUE(frameIs(tree.node(children[1]).frame, {16, 16, 332, 138}));
}

TEST(WidgetLayout, SmallerContentIsCentredInTheContentArea) {
  testing::FakeTextSystem textSystem;
  const LaidOutTree tree = layoutWidget(Rectangle().frame(38, 18), {170, 170}, {}, textSystem);
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Frame").frame, {66, 76, 38, 18}));
}

TEST(WidgetLayout, IgnoringTheSafeAreaExtendsToTheWidgetEdges) {
  testing::FakeTextSystem textSystem;
  const View content =
      VStack(HorizontalAlignment::leading, 0,
             {Rectangle().ignoresSafeArea(Edges::top() | Edges::leading()).frame(std::nullopt, 40), Spacer(0)})
          .frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity});
  const LaidOutTree tree = layoutWidget(content, {170, 170}, {}, textSystem);
  // Touches the top, leading and trailing safe edges; only top and leading extend.
  const LaidOutNode& extended = nodeAt(tree, "0/Frame/VStack/0/Frame/IgnoresSafeArea");
  EXPECT_TRUE(frameIs(extended.frame, {0, 0, 154, 56}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Frame/VStack/0/Frame/IgnoresSafeArea/Rectangle").frame, {0, 0, 154, 56}));
  // Its parent's layout is unchanged.
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Frame/VStack/0/Frame").frame, {16, 16, 138, 40}));
}

TEST(Layout, BadSizesAreTreatedAsZeroNotPropagated) {
  const View view = HStack(VerticalAlignment::top, std::nan(""),
                           {Rectangle().frame(-5, std::nan("")), Rectangle().frame(10, 10).padding(INFINITY)});
  const LaidOutTree tree = layoutForTest(view, {std::nan(""), -3.0});
  for (const LaidOutNode& node : tree.nodes) {
    EXPECT_TRUE(std::isfinite(node.frame.x) && std::isfinite(node.frame.y) && std::isfinite(node.frame.width) &&
                std::isfinite(node.frame.height))
        << node.identity;
    EXPECT_GE(node.frame.width, 0) << node.identity;
  }
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/0/Frame").frame, {0, 0, 0, 0}));
}

}  // namespace
}  // namespace zelto::kit
