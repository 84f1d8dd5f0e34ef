// Realistic compositions of the widget's vocabulary, written the way the
// widget's views will be: components as plain structs with a body. They show
// that each composition reads naturally and lays out, paints and reads aloud
// as intended.

#include <gtest/gtest.h>

#include <numbers>

#include "KitTestSupport.hpp"

namespace zelto::kit {
namespace {

using testing::frameIs;
using testing::layoutForTest;
using testing::nodeAt;

const Color periwinkle = Color::srgb8(174, 190, 255);
const Color indigo = Color::srgb8(104, 118, 242);
const Color night = Color::srgb8(7, 11, 35);
const Color primaryText = Color::white(0.96);
const Color secondaryText = Color::srgb8(218, 226, 255, 0.72);
const Font label = Font::system(9, FontWeight::semibold, FontDesign::rounded);
const LinearGradient accent{evenlySpaced({periwinkle, indigo}), UnitPoint::leading(), UnitPoint::trailing()};

// A capsule bar filled to `remaining` percent, with a glow.
struct LimitTrack {
  int remaining = 0;
  double height = 6;

  View body() const {
    const int percent = remaining;
    return GeometryReader([percent](Size size) {
             const double width = std::max(0.0, size.width * percent / 100.0);
             return ZStack(Alignment::leading(),
                           {Capsule().fill(Color::white(0.14)),
                            Capsule().fill(accent).shadow(periwinkle.withOpacity(0.52), 5).frame(width, std::nullopt)});
           })
        .frame(std::nullopt, height)
        .accessibilityHidden();
  }
};

// A circular gauge: the dial is square whatever space it is offered.
struct LimitRing {
  std::string title;
  int remaining = 0;

  View body() const {
    StrokeStyle track;
    track.lineWidth = 7;
    StrokeStyle progress = track;
    progress.cap = LineCap::round;
    const AngularGradient ring{evenlySpaced({indigo, periwinkle, indigo}), UnitPoint::center(), radiansFromDegrees(-90),
                               radiansFromDegrees(270)};
    const View dial =
        ZStack({Circle().fill(Color::white(0.035)), Circle().stroke(Color::white(0.11), track),
                Circle()
                    .trim(0, remaining / 100.0)
                    .stroke(ring, progress)
                    .rotationEffect(radiansFromDegrees(-90))
                    .shadow(periwinkle.withOpacity(0.58), 7),
                VStack(HorizontalAlignment::center, -1,
                       {Text::verbatim(std::to_string(remaining) + "%")
                            .font(Font::system(22, FontWeight::semibold, FontDesign::rounded))
                            .monospacedDigit()
                            .minimumScaleFactor(0.72)
                            .lineLimit(1),
                        Text::localized("LEFT").font(label).tracking(0.9).foregroundStyle(secondaryText)})})
            .aspectRatio(1, ContentMode::fit);
    return VStack(HorizontalAlignment::center, 4, {dial, Text::verbatim(title).font(label).tracking(1.1).lineLimit(1)})
        .foregroundStyle(primaryText)
        .accessibilityElement(AccessibilityChildren::ignore)
        .accessibilityLabel(title + ", " + std::to_string(remaining) + " percent remaining");
  }
};

// The translucent card around any content.
struct GlassCard {
  double cornerRadius = 16;
  View content;

  View body() const {
    StrokeStyle hairline;
    hairline.lineWidth = 0.8;
    const LinearGradient edge{evenlySpaced({Color::white(0.2), indigo.withOpacity(0.14), Color::white(0.06)}),
                              UnitPoint::topLeading(), UnitPoint::bottomTrailing()};
    return content.background(ZStack({RoundedRectangle(cornerRadius).fill(Color::white(0.072)),
                                      RoundedRectangle(cornerRadius).stroke(edge, hairline)})
                                  .shadow(Color::black(0.22), 12, 0, 7));
  }
};

// The panel that animates week changes unless the user asked for less motion.
struct UsagePulse {
  std::int64_t weekOffset = 0;

  View body(const Environment& environment) const {
    const std::optional<SpringAnimation> spring =
        environment.reduceMotion ? std::nullopt : std::optional(SpringAnimation{0.34, 1, 0});
    return Text::verbatim("WEEK TOTAL").font(label).padding(7).animation(spring, weekOffset);
  }
};

TEST(Composition, LimitTrackFillsItsShareAndGlows) {
  const View view = VStack(HorizontalAlignment::leading, 5, {Text::verbatim("WEEKLY").font(label), LimitTrack{73, 6}});
  const LaidOutTree tree = layoutForTest(view, {200.0, 100.0});
  const auto capsules = findAll(tree, NodeKind::shape);
  ASSERT_EQ(capsules.size(), 2u);
  EXPECT_TRUE(frameIs(capsules[0]->frame, {0, 15.8, 200, 6})) << "track under the 10.8 pt label and the gap";
  EXPECT_TRUE(frameIs(capsules[1]->frame, {0, 15.8, 146, 6}));
  // The label, the track, and the fill inside its glow layer.
  EXPECT_EQ(paint(tree).commands.size(), 5u);
  EXPECT_EQ(accessibilityElements(tree).size(), 1u) << "only the label: the track is decorative";
}

TEST(Composition, RingDialIsSquareAndReadAsOneElement) {
  const LaidOutTree tree = layoutForTest(LimitRing{"Weekly", 62}.body().frame(140, 100), {300.0, 300.0});
  const LaidOutNode& dial = *findAll(tree, NodeKind::aspectRatio).front();
  // 100 pt high less the 4 pt gap and the 10.8 pt title leaves an 85.2 pt square.
  EXPECT_TRUE(frameIs(dial.frame, {27.4, 0, 85.2, 85.2}));
  const auto elements = accessibilityElements(tree);
  ASSERT_EQ(elements.size(), 1u);
  EXPECT_EQ(elements[0].label, "Weekly, 62 percent remaining");

  const DisplayList list = paint(tree);
  const auto transform = std::find_if(list.commands.begin(), list.commands.end(),
                                      [](const DisplayCommand& c) { return std::holds_alternative<PushTransform>(c); });
  ASSERT_NE(transform, list.commands.end());
  const auto glow = std::prev(transform);
  ASSERT_TRUE(std::holds_alternative<PushLayer>(*glow)) << "the glow wraps the rotated arc";
  EXPECT_TRUE(std::get<PushLayer>(*glow).shadow.has_value());
  const auto& arc = std::get<StrokePath>(*std::next(transform));
  EXPECT_EQ(arc.path, Path::circleArc(dial.frame, 0, 0.62));
  EXPECT_TRUE(std::holds_alternative<AngularGradient>(arc.paint));
}

TEST(Composition, TwoColumnsWithUnboundedWidthShareTheRowEqually) {
  const auto column = [](const std::string& name) {
    return VStack(HorizontalAlignment::leading, 4,
                  {HStack({Text::verbatim(name).font(label).tracking(0.25).lineLimit(1), Spacer(),
                           Text::localized("7D").font(label).foregroundStyle(secondaryText)}),
                   Rectangle().fill(periwinkle.withOpacity(0.52)).frame(std::nullopt, 25)})
        .frame(FlexibleFrame{.maxWidth = infinity});
  };
  const View body = HStack(VerticalAlignment::top, 6, {column("Personal"), column("Work account with a long name")});
  const LaidOutTree tree = layoutForTest(body, {300.0, 100.0});
  // (300 - 6) / 2 each; a title row of 10.8, the gap and the 25 pt chart.
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/0/Frame").frame, {0, 0, 147, 39.8}));
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/HStack/1/Frame").frame, {153, 0, 147, 39.8}));
  const LaidOutNode& longName = *findText(tree, "Work account with a long name");
  EXPECT_TRUE(longName.as<TextContent>()->measurement.truncated) << "cut to one line inside its column";
}

TEST(Composition, SmallWidgetSpacersCentreTheLimitBlock) {
  testing::FakeTextSystem textSystem;
  const View header = HStack(VerticalAlignment::center, 7,
                             {Circle().fill(accent).frame(22, 22), Text::verbatim("Ada").font(Font::system(13))});
  const View limitBlock =
      VStack(HorizontalAlignment::leading, 5,
             {HStack(VerticalAlignment::lastTextBaseline, 5,
                     {Text::verbatim("73%").font(Font::system(37)).minimumScaleFactor(0.8).lineLimit(1),
                      Text::localized("LEFT").font(label).tracking(0.8), Spacer(0)}),
              LimitTrack{73, 6}});
  const View footer = HStack(VerticalAlignment::center, 6,
                             {Circle().fill(periwinkle).frame(5, 5), Text::verbatim("2 CREDITS"), Spacer(2)})
                          .font(label)
                          .tracking(0.45)
                          .foregroundStyle(secondaryText);
  const View small =
      VStack(HorizontalAlignment::leading, 8, {header, Spacer(0), limitBlock, Spacer(0), footer})
          .foregroundStyle(primaryText)
          .frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()})
          .containerBackground(Rectangle().fill(night));
  const LaidOutTree tree = layoutWidget(small, {170, 170}, {}, textSystem);
  const auto spacers = findAll(tree, NodeKind::spacer);
  ASSERT_EQ(spacers.size(), 4u);
  const LaidOutNode& above = nodeAt(tree, "0/Frame/VStack/1/Spacer");
  const LaidOutNode& below = nodeAt(tree, "0/Frame/VStack/3/Spacer");
  EXPECT_NEAR(above.frame.height, below.frame.height, testing::tolerance);
  EXPECT_GT(above.frame.height, 0);
  EXPECT_NEAR(nodeAt(tree, "0/Frame/VStack/4/HStack").frame.maxY(), 154, testing::tolerance) << "footer at the bottom";
  EXPECT_TRUE(frameIs(nodeAt(tree, "0/Frame/VStack/0/HStack").frame, {16, 16, 52.4, 22}));
  // 138 less 32 of gaps, 22 of header, 55.4 of limit block and 10.8 of footer, halved.
  EXPECT_NEAR(above.frame.height, 8.9, testing::tolerance);
  EXPECT_EQ(std::get<Color>(findText(tree, "2 CREDITS")->as<TextContent>()->paint), secondaryText);
  EXPECT_EQ(std::get<Color>(findText(tree, "Ada")->as<TextContent>()->paint), primaryText);
}

TEST(Composition, GlassCardShadowWrapsItsFilledAndStrokedShape) {
  const View card = GlassCard{15, Text::verbatim("Ada").font(Font::system(13)).padding(9)};
  const LaidOutTree tree = layoutForTest(card, {200.0, 100.0});
  const DisplayList list = paint(tree);
  ASSERT_EQ(list.commands.size(), 5u);
  const auto& layer = std::get<PushLayer>(list.commands[0]);
  ASSERT_TRUE(layer.shadow);
  EXPECT_EQ(*layer.shadow, (Shadow{Color::black(0.22), 12, 0, 7}));
  EXPECT_EQ(std::get<FillPath>(list.commands[1]).path, Path::continuousRoundedRectangle({0, 0, 41.4, 33.6}, 15));
  EXPECT_TRUE(std::holds_alternative<StrokePath>(list.commands[2]));
  EXPECT_TRUE(std::holds_alternative<PopLayer>(list.commands[3]));
  EXPECT_TRUE(std::holds_alternative<DrawText>(list.commands[4]));
}

TEST(Composition, AuroraFillsTheWidgetBehindEverything) {
  testing::FakeTextSystem textSystem;
  const View aurora = ZStack({Rectangle().fill(night),
                              Rectangle().fill(RadialGradient{evenlySpaced({indigo.withOpacity(0.62), Color::clear()}),
                                                              UnitPoint{1.05, -0.08}, 0, 260})})
                          .ignoresSafeArea();
  const View content = Text::verbatim("Waiting for Zelto").font(Font::system(13)).containerBackground(aurora);
  const LaidOutTree tree = layoutWidget(content, {364, 170}, {}, textSystem);
  const DisplayList list = paint(tree);
  ASSERT_GE(list.commands.size(), 3u);
  const auto& radial = std::get<FillPath>(list.commands[1]);
  EXPECT_EQ(radial.paintBounds, (Rect{0, 0, 364, 170}));
  EXPECT_DOUBLE_EQ(std::get<RadialGradient>(radial.paint).endRadius, 260) << "absolute radius, not scaled";
  EXPECT_TRUE(std::holds_alternative<DrawText>(list.commands.back()));
}

TEST(Composition, ReduceMotionAttachesNoAnimation) {
  Environment environment;
  const LaidOutTree moving = layoutForTest(UsagePulse{-1}, {}, environment);
  ASSERT_TRUE(findAll(moving, NodeKind::padding).front()->animation);
  EXPECT_EQ(findAll(moving, NodeKind::padding).front()->animation->valueKey, "-1");
  environment.reduceMotion = true;
  const LaidOutTree still = layoutForTest(UsagePulse{-1}, {}, environment);
  EXPECT_FALSE(findAll(still, NodeKind::padding).front()->animation);
}

TEST(Composition, TintAndWidgetFamilyReachComponentsThroughTheEnvironment) {
  struct FamilyBadge {
    View body(const Environment& environment) const {
      return Text::verbatim(std::string(widgetFamilyName(environment.widgetFamily))).foregroundStyle(environment.tint);
    }
  };
  Environment environment;
  environment.widgetFamily = WidgetFamily::systemMedium;
  const LaidOutTree tree = layoutForTest(View(FamilyBadge{}).tint(periwinkle), {}, environment);
  ASSERT_NE(findText(tree, "medium"), nullptr);
  EXPECT_EQ(std::get<Color>(findText(tree, "medium")->as<TextContent>()->paint), periwinkle);
}

}  // namespace
}  // namespace zelto::kit
