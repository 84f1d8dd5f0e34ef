// The paint phase: drawing order, layers for shadows and opacity,
// transforms for rotation, shape paths and paints, disabled buttons.

#include <gtest/gtest.h>

#include <numbers>

#include "KitTestSupport.hpp"

namespace zelto::kit {
namespace {

using testing::layoutForTest;
using testing::sizedText;

const Color red = Color::srgb8(255, 0, 0);
const Color blue = Color::srgb8(0, 0, 255);

// Compact names of the commands, in order, for order assertions.
std::vector<std::string> commandNames(const DisplayList& list) {
  std::vector<std::string> names;
  for (const DisplayCommand& command : list.commands) {
    names.push_back(std::visit(
        [](const auto& c) -> std::string {
          using C = std::decay_t<decltype(c)>;
          if constexpr (std::is_same_v<C, FillPath>) return "fill";
          if constexpr (std::is_same_v<C, StrokePath>) return "stroke";
          if constexpr (std::is_same_v<C, DrawText>) return "text:" + c.request.text;
          if constexpr (std::is_same_v<C, DrawSymbol>) return "symbol:" + c.request.name;
          if constexpr (std::is_same_v<C, PushLayer>) return "push-layer";
          if constexpr (std::is_same_v<C, PopLayer>) return "pop-layer";
          if constexpr (std::is_same_v<C, PushTransform>) return "push-transform";
          if constexpr (std::is_same_v<C, PopTransform>) return "pop-transform";
          if constexpr (std::is_same_v<C, PushClip>) return "push-clip";
          return "pop-clip";
        },
        command));
  }
  return names;
}

using Names = std::vector<std::string>;

TEST(Paint, BackgroundBeforeContentAndOverlayAfter) {
  const View view = sizedText("Hi", 10).padding(4).background(Rectangle().fill(red)).overlay(Capsule().stroke(blue, 2));
  const DisplayList list = paint(layoutForTest(view, {100.0, 100.0}));
  EXPECT_EQ(commandNames(list), (Names{"fill", "text:Hi", "stroke"}));
  EXPECT_EQ(list.size, (Size{20, 20}));
  const auto& fill = std::get<FillPath>(list.commands[0]);
  EXPECT_EQ(fill.paint, Paint(red));
  EXPECT_EQ(fill.path, Path::rectangle({0, 0, 20, 20}));
  const auto& text = std::get<DrawText>(list.commands[1]);
  EXPECT_EQ(text.frame, (Rect{4, 4, 12, 12}));
  EXPECT_EQ(text.paint, Paint(Color::black())) << "the default foreground style";
  const auto& stroke = std::get<StrokePath>(list.commands[2]);
  EXPECT_EQ(stroke.path, Path::capsule({0, 0, 20, 20}));
  EXPECT_DOUBLE_EQ(stroke.style.lineWidth, 2);
}

TEST(Paint, ShapeStyleBackgroundsAndOverlaysFillTheView) {
  const View view = sizedText("Hi", 10).padding(4).background(red).overlay(blue.withOpacity(0.5));
  const DisplayList list = paint(layoutForTest(view, {100.0, 100.0}));
  ASSERT_EQ(commandNames(list), (Names{"fill", "text:Hi", "fill"}));
  EXPECT_EQ(std::get<FillPath>(list.commands[0]).path, Path::rectangle({0, 0, 20, 20}));
  EXPECT_EQ(std::get<FillPath>(list.commands[2]).paint, Paint(blue.withOpacity(0.5)));
}

TEST(Paint, ZStackDrawsBackToFront) {
  const View view = ZStack({Circle().fill(red), Rectangle().fill(blue).frame(4, 4), sizedText("z", 10)});
  const DisplayList list = paint(layoutForTest(view, {20.0, 20.0}));
  EXPECT_EQ(commandNames(list), (Names{"fill", "fill", "text:z"}));
  EXPECT_EQ(std::get<FillPath>(list.commands[0]).path, Path::circle({0, 0, 20, 20}));
}

TEST(Paint, ShadowLayerWrapsWhatItApppliesTo) {
  const View glowingBar =
      Capsule()
          .fill(LinearGradient{evenlySpaced({red, blue}), UnitPoint::leading(), UnitPoint::trailing()})
          .shadow(red.withOpacity(0.52), 5)
          .frame(50, 6);
  const View track = ZStack(Alignment::leading(), {Capsule().fill(Color::white(0.14)), glowingBar});
  const DisplayList list = paint(layoutForTest(track, {100.0, 6.0}));
  EXPECT_EQ(commandNames(list), (Names{"fill", "push-layer", "fill", "pop-layer"}));
  const auto& layer = std::get<PushLayer>(list.commands[1]);
  ASSERT_TRUE(layer.shadow);
  EXPECT_EQ(*layer.shadow, (Shadow{red.withOpacity(0.52), 5, 0, 0}));
  EXPECT_DOUBLE_EQ(layer.opacity, 1);
  const auto& bar = std::get<FillPath>(list.commands[2]);
  EXPECT_EQ(bar.paintBounds, (Rect{0, 0, 50, 6})) << "gradient unit points refer to the bar's own frame";
  EXPECT_TRUE(std::holds_alternative<LinearGradient>(bar.paint));
}

TEST(Paint, PartialOpacityIsALayerFullOpacityNoneAndZeroDrawsNothing) {
  const DisplayList half = paint(layoutForTest(Rectangle().fill(red).opacity(0.5), {10.0, 10.0}));
  EXPECT_EQ(commandNames(half), (Names{"push-layer", "fill", "pop-layer"}));
  EXPECT_DOUBLE_EQ(std::get<PushLayer>(half.commands[0]).opacity, 0.5);
  EXPECT_EQ(commandNames(paint(layoutForTest(Rectangle().fill(red).opacity(1), {10.0, 10.0}))), (Names{"fill"}));
  EXPECT_TRUE(paint(layoutForTest(Rectangle().fill(red).opacity(0), {10.0, 10.0})).commands.empty());
}

TEST(Paint, TrimmedRotatedRingStartsAtTwelve) {
  StrokeStyle round;
  round.lineWidth = 7;
  round.cap = LineCap::round;
  const View arc = Circle().trim(0, 0.62).stroke(blue, round).rotationEffect(radiansFromDegrees(-90));
  const DisplayList list = paint(layoutForTest(arc.frame(60, 40), {100.0, 100.0}));
  ASSERT_EQ(commandNames(list), (Names{"push-transform", "stroke", "pop-transform"}));
  const auto& transform = std::get<PushTransform>(list.commands[0]).transform;
  EXPECT_EQ(transform, AffineTransform::rotation(-std::numbers::pi / 2, {30, 20}));
  const auto& stroke = std::get<StrokePath>(list.commands[1]);
  EXPECT_EQ(stroke.path, Path::circleArc({0, 0, 60, 40}, 0, 0.62));
  EXPECT_EQ(stroke.style.cap, LineCap::round);
  // The arc's first point, 3 o'clock, lands at 12 o'clock on screen.
  const Point start = transform.apply(std::get<Path::MoveTo>(stroke.path.elements().front()).to);
  EXPECT_NEAR(start.x, 30, 1e-9);
  EXPECT_NEAR(start.y, 0, 1e-9);
}

TEST(Paint, ShapesWithoutAPaintUseTheForegroundStyle) {
  const DisplayList list = paint(layoutForTest(Circle().foregroundStyle(blue), {10.0, 10.0}));
  EXPECT_EQ(std::get<FillPath>(list.commands[0]).paint, Paint(blue));
}

TEST(Paint, ContinuousRoundedRectangleAndStrokeStyle) {
  StrokeStyle hairline;
  hairline.lineWidth = 0.8;
  hairline.dash = {2, 1};
  const View card = RoundedRectangle(15).fill(Color::white(0.072)).overlay(RoundedRectangle(15).stroke(red, hairline));
  const DisplayList list = paint(layoutForTest(card, {200.0, 80.0}));
  EXPECT_EQ(std::get<FillPath>(list.commands[0]).path, Path::continuousRoundedRectangle({0, 0, 200, 80}, 15));
  EXPECT_EQ(std::get<StrokePath>(list.commands[1]).style, hairline);
  const DisplayList circular =
      paint(layoutForTest(RoundedRectangle(15, RoundedCornerStyle::circular).fill(red), {200.0, 80.0}));
  EXPECT_EQ(std::get<FillPath>(circular.commands[0]).path, Path::circularRoundedRectangle({0, 0, 200, 80}, 15));
}

TEST(Paint, DisabledButtonDrawsItsLabelDimmed) {
  const IntentReference previous{"previous-week", "Previous Zelto Usage Week"};
  const View view =
      HStack(VerticalAlignment::center, 4,
             {Button(previous, Image("chevron.left")).disabled(true), Button(previous, Image("chevron.right"))});
  const DisplayList list = paint(layoutForTest(view, {100.0, 100.0}));
  EXPECT_EQ(commandNames(list), (Names{"push-layer", "symbol:chevron.left", "pop-layer", "symbol:chevron.right"}));
  EXPECT_DOUBLE_EQ(std::get<PushLayer>(list.commands[0]).opacity, disabledButtonOpacity);
}

TEST(Paint, HiddenViewsKeepTheirSpaceButDrawNothing) {
  const View view = HStack(VerticalAlignment::top, 0, {sizedText("gone", 10).hidden(), sizedText("here", 10)});
  const LaidOutTree tree = layoutForTest(view, {100.0, 100.0});
  const DisplayList list = paint(tree);
  EXPECT_EQ(commandNames(list), (Names{"text:here"}));
  EXPECT_DOUBLE_EQ(std::get<DrawText>(list.commands[0]).frame.x, 24);
}

TEST(Paint, UnknownSymbolsAndEmptyTextsDrawNothing) {
  const View view = HStack({Image("no.such.symbol"), Text::verbatim(""), Image("terminal.fill")});
  const DisplayList list = paint(layoutForTest(view, {100.0, 100.0}));
  EXPECT_EQ(commandNames(list), (Names{"symbol:terminal.fill"}));
}

TEST(Paint, SymbolsTakeTheFontAndForegroundOfTheirSurroundings) {
  const View view = Image("waveform.path.ecg").font(Font::system(10, FontWeight::semibold)).foregroundStyle(red);
  const DisplayList list = paint(layoutForTest(view, ProposedSize::unspecified()));
  const auto& symbol = std::get<DrawSymbol>(list.commands.front());
  EXPECT_EQ(symbol.request.font, Font::system(10, FontWeight::semibold));
  EXPECT_EQ(symbol.paint, Paint(red));
  EXPECT_EQ(symbol.frame, (Rect{0, 0, 10, 10}));
}

TEST(Paint, EffectiveOpacityIsRecordedOnEveryNode) {
  const View view = VStack({Button({"next", "Next"}, sizedText("label", 10)).disabled(true)}).opacity(0.5);
  const LaidOutTree tree = layoutForTest(view, {100.0, 100.0});
  EXPECT_DOUBLE_EQ(findText(tree, "label")->opacity, 0.5 * disabledButtonOpacity);
  EXPECT_DOUBLE_EQ(findAll(tree, NodeKind::vstack).front()->opacity, 0.5);
}

}  // namespace
}  // namespace zelto::kit
