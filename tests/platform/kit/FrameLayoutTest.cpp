// Frames, padding, backgrounds and overlays, layered stacks, geometry
// readers, aspect ratios, shapes and the widget's content margins.

#include <gtest/gtest.h>

#include "KitTestSupport.hpp"

namespace zelto::kit {
namespace {

using testing::frameIs;
using testing::layoutForTest;
using testing::nodeAt;
using testing::sizedText;
using testing::textFrame;

TEST(FrameLayout, FixedFrameKeepsItsSizeWhateverTheChildTakes) {
  const LaidOutTree aligned =
      layoutForTest(sizedText("Hello", 10).frame(100, 40, Alignment::bottomTrailing()), {300.0, 300.0});
  EXPECT_TRUE(frameIs(aligned.root().frame, {0, 0, 100, 40}));
  EXPECT_TRUE(frameIs(textFrame(aligned, "Hello"), {70, 28, 30, 12}));
  // A larger fixed child overflows it, centred.
  const LaidOutTree overflowing = layoutForTest(Rectangle().frame(80, 80).frame(40, 20), {300.0, 300.0});
  EXPECT_TRUE(frameIs(nodeAt(overflowing, "0/Frame/Frame").frame, {-20, -30, 80, 80}));
  // A missing dimension passes through: the text wraps at 40 and sets the height.
  const LaidOutTree passing = layoutForTest(sizedText("Hello world", 10).frame(40, std::nullopt), {300.0, 300.0});
  EXPECT_TRUE(frameIs(passing.root().frame, {0, 0, 40, 24}));
  // Around nothing it still takes its space.
  const LaidOutTree empty =
      layoutForTest(HStack(VerticalAlignment::top, 0, {EmptyView().frame(30, 5), Rectangle().frame(10, 10)}), {});
  EXPECT_TRUE(frameIs(nodeAt(empty, "0/HStack/1/Frame").frame, {30, 0, 10, 10}));
}

struct FlexibleCase {
  const char* name;
  FlexibleFrame bounds;
  ProposedSize proposal;
  double expectedWidth;  // around a fixed child 30 pt wide
};

class FlexibleFrameWidth : public ::testing::TestWithParam<FlexibleCase> {};

TEST_P(FlexibleFrameWidth, FollowsTheProposalTheChildAndTheBounds) {
  const FlexibleCase& c = GetParam();
  const LaidOutTree tree = layoutForTest(Rectangle().frame(30, 10).frame(c.bounds), c.proposal);
  EXPECT_NEAR(nodeAt(tree, "0/Frame").frame.width, c.expectedWidth, testing::tolerance) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, FlexibleFrameWidth,
    ::testing::Values(FlexibleCase{"max infinity takes the whole proposal", {.maxWidth = infinity}, {200.0, 50.0}, 200},
                      FlexibleCase{"max only, child larger than proposal", {.maxWidth = infinity}, {20.0, 50.0}, 30},
                      FlexibleCase{"max only, capped", {.maxWidth = 100}, {200.0, 50.0}, 100},
                      FlexibleCase{"min only, child smaller", {.minWidth = 50}, {200.0, 50.0}, 50},
                      FlexibleCase{"min only, child between", {.minWidth = 20}, {200.0, 50.0}, 30},
                      FlexibleCase{"min only, proposal below child", {.minWidth = 10}, {15.0, 50.0}, 15},
                      FlexibleCase{
                          "both bounds clamp the proposal", {.minWidth = 50, .maxWidth = 100}, {200.0, 50.0}, 100},
                      FlexibleCase{"both bounds, small proposal", {.minWidth = 50, .maxWidth = 100}, {10.0, 50.0}, 50},
                      FlexibleCase{"unspecified uses the ideal", {.idealWidth = 70, .maxWidth = infinity}, {}, 70},
                      FlexibleCase{"unspecified, no ideal: the child", {.maxWidth = infinity}, {}, 30},
                      FlexibleCase{"no bounds: the child", {}, {200.0, 50.0}, 30}));

TEST(FrameLayout, FlexibleFrameOffersTheClampedProposalAndAlignsItsChild) {
  const LaidOutTree capped =
      layoutForTest(sizedText("Hello world", 10).frame(FlexibleFrame{.maxWidth = 40}), {200.0, 100.0});
  EXPECT_TRUE(frameIs(textFrame(capped, "Hello world"), {5, 0, 30, 24})) << "offered 40, wrapped, centred";
  const View view = sizedText("Hi", 10).frame(
      FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()});
  const LaidOutTree tree = layoutForTest(view, {200.0, 100.0});
  EXPECT_TRUE(frameIs(tree.root().frame, {0, 0, 200, 100}));
  EXPECT_TRUE(frameIs(textFrame(tree, "Hi"), {0, 0, 12, 12}));
}

TEST(FrameLayout, PaddingInsetsTheProposalAndAddsTheEdges) {
  const LaidOutTree tree = layoutForTest(sizedText("Hello world", 10).padding(EdgeInsets{1, 2, 3, 4}), {46.0, 100.0});
  // 46 - 6 = 40 for the text: it wraps to 30 x 24.
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Padding").frame, {0, 0, 36, 28}));
  EXPECT_TRUE(frameIs(textFrame(tree, "Hello world"), {2, 1, 30, 24}));
  EXPECT_TRUE(frameIs(layoutForTest(Rectangle().frame(10, 10).padding(), {}).root().frame, {0, 0, 42, 42}))
      << "the default amount is 16";
  const LaidOutTree sides =
      layoutForTest(Rectangle().frame(10, 10).padding(Edges::horizontal(), 7).padding(Edges::vertical(), 3), {});
  EXPECT_TRUE(frameIs(nodeAt(sides, "0/Padding/Padding/Frame").frame, {7, 3, 10, 10}));
}

TEST(FrameLayout, BackgroundsAndOverlaysAreProposedTheViewsSizeAndDoNotChangeIt) {
  const View view = Rectangle()
                        .frame(40, 20)
                        .overlay(Rectangle().frame(60, 30))
                        .background(RoundedRectangle(6).fill(Color::black()))
                        .background(Circle().frame(6, 6), Alignment::topTrailing());
  const LaidOutTree tree = layoutForTest(view, {200.0, 200.0});
  EXPECT_TRUE(frameIs(tree.root().frame, {0, 0, 40, 20}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Background/Background/Overlay/overlay/Frame").frame, {-10, -5, 60, 30}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Background/Background/background/RoundedRectangle").frame, {0, 0, 40, 20}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Background/background/Frame").frame, {34, 0, 6, 6}));
}

TEST(FrameLayout, ZStackAlignsChildrenAndTakesTheUnion) {
  const LaidOutTree tree = layoutForTest(
      ZStack(Alignment::bottomTrailing(), {Rectangle().frame(40, 10), Rectangle().frame(10, 30)}), {200.0, 200.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/ZStack").frame, {0, 0, 40, 30}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/ZStack/0/Frame").frame, {0, 20, 40, 10}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/ZStack/1/Frame").frame, {30, 0, 10, 30}));
}

TEST(FrameLayout, ShapesTakeTheWholeProposalOrTenPoints) {
  EXPECT_TRUE(frameIs(layoutForTest(Capsule(), {120.0, 8.0}).root().frame, {0, 0, 120, 8}));
  EXPECT_TRUE(frameIs(layoutForTest(Capsule(), {std::nullopt, 8.0}).root().frame, {0, 0, 10, 8}));
}

TEST(FrameLayout, GeometryReaderHandsItsSizeToItsContentAndCountsUnspecifiedAsZero) {
  const View reader = GeometryReader([](Size size) { return Rectangle().frame(size.width / 2, size.height); });
  const LaidOutTree tree =
      layoutForTest(VStack(HorizontalAlignment::leading, 0, {reader.frame(std::nullopt, 4)}), {90.0, 100.0});
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/VStack/0/Frame/GeometryReader/Frame").frame, {0, 0, 45, 4}));
  EXPECT_TRUE(frameIs(layoutForTest(reader, {}).root().frame, {0, 0, 0, 0}));
}

TEST(FrameLayout, AspectRatioCentresAFlexibleChildAndLetsAFixedOneChoose) {
  EXPECT_TRUE(frameIs(nodeAt(layoutForTest(Circle().aspectRatio(1, ContentMode::fit).frame(200, 80), {300.0, 300.0}),
                             "0/Frame/AspectRatio")
                          .frame,
                      {60, 0, 80, 80}));
  EXPECT_TRUE(
      frameIs(layoutForTest(Rectangle().frame(30, 10).aspectRatio(1), {100.0, 100.0}).root().frame, {0, 0, 30, 10}));
  EXPECT_TRUE(frameIs(layoutForTest(Rectangle().aspectRatio(2, ContentMode::fill), {100.0, 100.0}).root().frame,
                      {0, 0, 200, 100}))
      << "fill: the smallest size of the ratio that covers the proposal";
  EXPECT_TRUE(frameIs(layoutForTest(Rectangle().aspectRatio(0.5), {40.0, std::nullopt}).root().frame, {0, 0, 40, 80}))
      << "one dimension unspecified: the other decides";
}

TEST(WidgetLayout, ContentIsCentredInsideTheMarginsAndTheBackgroundFillsTheWidget) {
  testing::FakeTextSystem textSystem;
  const View content = Rectangle().frame(38, 18).containerBackground(Rectangle().fill(Color::black()));
  const LaidOutTree tree = layoutWidget(content, {170, 170}, {}, textSystem);
  EXPECT_TRUE(frameIs(tree.safeArea, {16, 16, 138, 138}));
  const auto children = tree.children(tree.root());
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(tree.node(children[0]).identity, "containerBackground/Rectangle");
  EXPECT_TRUE(frameIs(tree.node(children[0]).frame, {0, 0, 170, 170}));
  EXPECT_TRUE(frameIs(tree.node(children[1]).frame, {66, 76, 38, 18}));
}

TEST(WidgetLayout, IgnoringTheSafeAreaExtendsOnlyTheTouchingEdgesAsked) {
  testing::FakeTextSystem textSystem;
  const View content =
      VStack(HorizontalAlignment::leading, 0,
             {Rectangle().ignoresSafeArea(Edges::top() | Edges::leading()).frame(std::nullopt, 40), Spacer(0)})
          .frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity});
  const LaidOutTree tree = layoutWidget(content, {170, 170}, {}, textSystem);
  // Touches the top, leading and trailing safe edges; only top and leading extend.
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Frame/VStack/0/Frame/IgnoresSafeArea/Rectangle").frame, {0, 0, 154, 56}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Frame/VStack/0/Frame").frame, {16, 16, 138, 40})) << "its parent is unchanged";
}

TEST(Layout, BadSizesAreTreatedAsZeroNotPropagated) {
  const View view = HStack(VerticalAlignment::top, std::nan(""),
                           {Rectangle().frame(-5, std::nan("")), Rectangle().frame(10, 10).padding(INFINITY)});
  const LaidOutTree tree = layoutForTest(view, {std::nan(""), -3.0});
  for (const LaidOutNode& node : tree.nodes) {
    EXPECT_TRUE(std::isfinite(node.frame.x) && std::isfinite(node.frame.y) && std::isfinite(node.frame.width) &&
                std::isfinite(node.frame.height) && node.frame.width >= 0)
        << node.identity;
  }
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/0/Frame").frame, {0, 0, 0, 0}));
}

}  // namespace
}  // namespace zelto::kit
