// The paint phase: drawing order, layers for shadows and compositing
// groups, opacity on each leaf, transforms for rotation, shape paths and
// paints.

#include <gtest/gtest.h>

#include <numbers>

#include "KitTestSupport.hpp"

namespace zelto::kit {
namespace {

using testing::layoutForTest;
using testing::sizedText;

const Color red = Color::srgb8(255, 0, 0);
const Color blue = Color::srgb8(0, 0, 255);

// Compact names of the commands, in order.
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

// The alpha a leaf command is drawn with (of its first stop for a gradient).
double leafAlpha(const DisplayCommand& command) {
  const Paint& paint = *std::visit(
      [](const auto& c) -> const Paint* {
        if constexpr (requires { c.paint; }) return &c.paint;
        return nullptr;
      },
      command);
  if (const auto* color = std::get_if<Color>(&paint)) return color->opacity;
  return std::get<LinearGradient>(paint).stops.front().color.opacity;
}

TEST(Paint, BackgroundBeforeContentAndOverlayAfter) {
  const View view = sizedText("Hi", 10).padding(4).background(Rectangle().fill(red)).overlay(Capsule().stroke(blue, 2));
  const DisplayList list = paint(layoutForTest(view, {100.0, 100.0}));
  EXPECT_EQ(commandNames(list), (Names{"fill", "text:Hi", "stroke"}));
  EXPECT_EQ(list.size, (Size{20, 20}));
  EXPECT_EQ(std::get<FillPath>(list.commands[0]).path, Path::rectangle({0, 0, 20, 20}));
  EXPECT_EQ(std::get<DrawText>(list.commands[1]).frame, (Rect{4, 4, 12, 12}));
  EXPECT_EQ(std::get<DrawText>(list.commands[1]).paint, Paint(Color::black())) << "the default foreground style";
  EXPECT_EQ(std::get<StrokePath>(list.commands[2]).path, Path::capsule({0, 0, 20, 20}));
  const DisplayList styles = paint(layoutForTest(sizedText("Hi", 10).background(red).overlay(blue), {100.0, 100.0}));
  EXPECT_EQ(commandNames(styles), (Names{"fill", "text:Hi", "fill"})) << "shape styles fill the view";
}

TEST(Paint, ShadowLayerWrapsWhatItAppliesToAndGradientsReferToTheirShape) {
  const View glowingBar =
      Capsule()
          .fill(LinearGradient{evenlySpaced({red, blue}), UnitPoint::leading(), UnitPoint::trailing()})
          .shadow(red.withOpacity(0.52), 5)
          .frame(50, 6);
  const View track = ZStack(Alignment::leading(), {Capsule().fill(Color::white(0.14)), glowingBar});
  const DisplayList list = paint(layoutForTest(track, {100.0, 6.0}));
  EXPECT_EQ(commandNames(list), (Names{"fill", "push-layer", "fill", "pop-layer"}));
  EXPECT_EQ(std::get<PushLayer>(list.commands[1]), (PushLayer{1, Shadow{red.withOpacity(0.52), 5, 0, 0}}));
  EXPECT_EQ(std::get<FillPath>(list.commands[2]).paintBounds, (Rect{0, 0, 50, 6}));
}

TEST(Paint, OpacityFadesEachLeafOnItsOwn) {
  // Overlapping leaves of a faded container show through each other: no
  // layer, each drawn at the product of the opacities above it.
  const View view = ZStack({Circle().fill(LinearGradient{evenlySpaced({red, blue})}),
                            Text::verbatim("z").foregroundStyle(blue.withOpacity(0.5)).opacity(0.5)})
                        .opacity(0.4);
  const DisplayList list = paint(layoutForTest(view, {20.0, 20.0}));
  ASSERT_EQ(commandNames(list), (Names{"fill", "text:z"}));
  EXPECT_DOUBLE_EQ(leafAlpha(list.commands[0]), 0.4);
  EXPECT_DOUBLE_EQ(leafAlpha(list.commands[1]), 0.5 * 0.5 * 0.4);
  EXPECT_TRUE(paint(layoutForTest(view.opacity(0), {20.0, 20.0})).commands.empty()) << "transparent draws nothing";
}

TEST(Paint, CompositingGroupFadesTheComposedLayerInstead) {
  const View group = ZStack({Circle().fill(red), Rectangle().fill(blue).opacity(0.5)}).compositingGroup();
  const DisplayList list = paint(layoutForTest(VStack({group}).opacity(0.4), {20.0, 20.0}));
  ASSERT_EQ(commandNames(list), (Names{"push-layer", "fill", "fill", "pop-layer"}));
  EXPECT_DOUBLE_EQ(std::get<PushLayer>(list.commands[0]).opacity, 0.4);
  EXPECT_DOUBLE_EQ(leafAlpha(list.commands[1]), 1) << "drawn at its opacity relative to the group";
  EXPECT_DOUBLE_EQ(leafAlpha(list.commands[2]), 0.5);
  EXPECT_EQ(commandNames(paint(layoutForTest(group, {20.0, 20.0}))), (Names{"fill", "fill"}))
      << "an opaque group needs no layer";
}

TEST(Paint, DisabledButtonDimsItsCircleAndSymbolSeparately) {
  const View label = Image("chevron.left").frame(16, 16).background(Circle().fill(Color::white(0.08)));
  const View view = HStack({Button({"previous", "Previous"}, label).disabled(true), Button({"next", "Next"}, label)});
  const DisplayList list = paint(layoutForTest(view, {100.0, 100.0}));
  ASSERT_EQ(commandNames(list), (Names{"fill", "symbol:chevron.left", "fill", "symbol:chevron.left"}));
  EXPECT_DOUBLE_EQ(leafAlpha(list.commands[0]), 0.08 * disabledButtonOpacity);
  EXPECT_DOUBLE_EQ(leafAlpha(list.commands[1]), disabledButtonOpacity);
  EXPECT_DOUBLE_EQ(leafAlpha(list.commands[3]), 1);
}

TEST(Paint, TrimmedRotatedRingStartsAtTwelve) {
  StrokeStyle round;
  round.lineWidth = 7;
  round.cap = LineCap::round;
  const View arc = Circle().trim(0, 0.62).stroke(blue, round).rotationEffect(radiansFromDegrees(-90));
  const DisplayList list = paint(layoutForTest(arc.frame(60, 40), {100.0, 100.0}));
  ASSERT_EQ(commandNames(list), (Names{"push-transform", "stroke", "pop-transform"}));
  const auto& transform = std::get<PushTransform>(list.commands[0]).transform;
  const auto& stroke = std::get<StrokePath>(list.commands[1]);
  EXPECT_EQ(stroke.path, Path::circleArc({0, 0, 60, 40}, 0, 0.62));
  const Point start = transform.apply(std::get<Path::MoveTo>(stroke.path.elements().front()).to);
  EXPECT_NEAR(start.x, 30, 1e-9);
  EXPECT_NEAR(start.y, 0, 1e-9);
}

TEST(Paint, ShapesPaintsAndStrokeStyles) {
  StrokeStyle hairline;
  hairline.lineWidth = 0.8;
  hairline.dash = {2, 1};
  const View card = RoundedRectangle(15).foregroundStyle(blue).overlay(
      RoundedRectangle(15, RoundedCornerStyle::circular).stroke(red, hairline));
  const DisplayList list = paint(layoutForTest(card, {200.0, 80.0}));
  EXPECT_EQ(std::get<FillPath>(list.commands[0]).path, Path::continuousRoundedRectangle({0, 0, 200, 80}, 15));
  EXPECT_EQ(std::get<FillPath>(list.commands[0]).paint, Paint(blue)) << "no paint: the foreground style";
  EXPECT_EQ(std::get<StrokePath>(list.commands[1]).path, Path::circularRoundedRectangle({0, 0, 200, 80}, 15));
  EXPECT_EQ(std::get<StrokePath>(list.commands[1]).style, hairline);
}

TEST(Paint, HiddenViewsUnknownSymbolsAndEmptyTextsDrawNothing) {
  const View view = HStack(VerticalAlignment::top, 0,
                           {sizedText("gone", 10).hidden(), Image("no.such.symbol"), Text::verbatim(""),
                            Image("terminal.fill").font(Font::system(10, FontWeight::semibold)).foregroundStyle(red)});
  const DisplayList list = paint(layoutForTest(view, {100.0, 100.0}));
  ASSERT_EQ(commandNames(list), (Names{"symbol:terminal.fill"}));
  const auto& symbol = std::get<DrawSymbol>(list.commands.front());
  EXPECT_EQ(symbol.request.font, Font::system(10, FontWeight::semibold));
  EXPECT_EQ(symbol.paint, Paint(red));
  EXPECT_EQ(symbol.frame, (Rect{24, 0, 10, 10})) << "after the hidden text's space";
}

}  // namespace
}  // namespace zelto::kit
