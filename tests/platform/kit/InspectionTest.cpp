// Identities, recorded attributes (animation, priority), the JSON dump and
// the query helpers.

#include <gtest/gtest.h>

#include <boost/json.hpp>

#include "KitTestSupport.hpp"

namespace zelto::kit {
namespace {

namespace json = boost::json;
using testing::layoutForTest;
using testing::sizedText;

struct Account {
  std::string id;
  std::string name;
};

View accountList(const std::vector<Account>& accounts, bool withHeader) {
  return VStack(
      HorizontalAlignment::leading, 6,
      {when(withHeader, sizedText("ACCOUNTS", 9)), ForEach(
                                                       accounts, [](const Account& a) { return a.id; },
                                                       [](const Account& a) {
                                                         return HStack({Circle().frame(5, 5), sizedText(a.name, 13)});
                                                       })});
}

TEST(Identity, PathsCarryPositionsKindsAndListIds) {
  const LaidOutTree tree = layoutForTest(accountList({{"personal", "Ada"}, {"work", "Grace"}}, true), {200.0, 200.0});
  EXPECT_EQ(tree.root().identity, "root");
  EXPECT_EQ(findText(tree, "ACCOUNTS")->identity, "0/VStack/0/if/Text");
  EXPECT_EQ(findText(tree, "Ada")->identity, "0/VStack/1/ForEach:personal/0/HStack/1/Text");
  EXPECT_EQ(findText(tree, "Grace")->identity, "0/VStack/1/ForEach:work/0/HStack/1/Text");
}

TEST(Identity, StableWhenOtherRecordsComeAndGo) {
  const LaidOutTree before = layoutForTest(accountList({{"personal", "Ada"}, {"work", "Grace"}}, true), {200.0, 200.0});
  const LaidOutTree after = layoutForTest(accountList({{"work", "Grace"}}, false), {200.0, 200.0});
  EXPECT_EQ(findText(before, "Grace")->identity, findText(after, "Grace")->identity);
  EXPECT_NE(findText(before, "Grace")->frame.y, findText(after, "Grace")->frame.y) << "it moved, same identity";
}

TEST(Identity, ConditionalBranchesDiffer) {
  const auto view = [](bool flag) { return when(flag, sizedText("x", 9), sizedText("x", 9)); };
  EXPECT_EQ(findText(layoutForTest(view(true), {}), "x")->identity, "0/if/Text");
  EXPECT_EQ(findText(layoutForTest(view(false), {}), "x")->identity, "0/else/Text");
}

TEST(Identity, DuplicateAndSlashedIdsStayUnique) {
  const LaidOutTree tree =
      layoutForTest(accountList({{"a/b", "One"}, {"same", "Two"}, {"same", "Three"}}, false), {200.0, 300.0});
  EXPECT_EQ(findText(tree, "One")->identity, "0/VStack/1/ForEach:a%2Fb/0/HStack/1/Text");
  EXPECT_EQ(findText(tree, "Two")->identity, "0/VStack/1/ForEach:same/0/HStack/1/Text");
  EXPECT_EQ(findText(tree, "Three")->identity, "0/VStack/1/ForEach:same#2/0/HStack/1/Text");
  std::set<std::string> identities;
  for (const LaidOutNode& node : tree.nodes) {
    EXPECT_TRUE(identities.insert(node.identity).second) << "duplicate " << node.identity;
  }
}

TEST(Identity, ComponentsAreTransparent) {
  struct Badge {
    int count;
    View body() const { return sizedText(std::to_string(count) + " RESETS", 9).padding(3); }
  };
  struct Row {
    Badge badge;
    View body(const Environment& environment) const {
      return HStack({badge, sizedText(environment.widgetFamily == WidgetFamily::systemLarge ? "large" : "other", 9)});
    }
  };
  Environment environment;
  environment.widgetFamily = WidgetFamily::systemLarge;
  const LaidOutTree tree = layoutForTest(Row{{2}}, {200.0, 50.0}, environment);
  EXPECT_EQ(findText(tree, "2 RESETS")->identity, "0/HStack/0/Padding/Text");
  EXPECT_NE(findText(tree, "large"), nullptr) << "the body reads the environment";
}

TEST(Attributes, SpringAnimationIsRecordedWithItsValue) {
  const SpringAnimation spring{0.34, 1, 0};
  const LaidOutTree tree = layoutForTest(VStack({sizedText("pulse", 9).animation(spring, std::int64_t{-2}),
                                                 sizedText("still", 9).animation(std::nullopt, 0)}),
                                         {100.0, 100.0});
  const LaidOutNode& animated = *findText(tree, "pulse");
  ASSERT_TRUE(animated.animation);
  EXPECT_EQ(*animated.animation, (AnimationRecord{spring, "-2"}));
  EXPECT_FALSE(findText(tree, "still")->animation) << "no animation attached when there is none";
}

TEST(Inspection, JsonCarriesKindIdentityFrameStyleAndState) {
  const View view = VStack(HorizontalAlignment::leading, 2,
                           {Text::verbatim("Hello big world").lineLimit(1).foregroundStyle(Color::srgb8(174, 190, 255)),
                            Button({"next-week", "Next Zelto Usage Week"}, Image("chevron.right")).disabled(true),
                            Capsule().fill(Color::white(0.14)).frame(30, 4).accessibilityHidden()})
                        .font(Font::system(10, FontWeight::semibold, FontDesign::rounded));
  const LaidOutTree tree = layoutForTest(view, {70.0, 100.0});
  const json::value document = json::parse(inspectJson(tree));
  EXPECT_EQ(document, inspect(tree));

  const json::object& stack = document.at("root").at("children").at(0).as_object();
  EXPECT_EQ(stack.at("kind"), "VStack");
  EXPECT_EQ(stack.at("alignment"), "leading");
  EXPECT_EQ(stack.at("spacing").to_number<double>(), 2);

  const json::object& text = stack.at("children").at(0).as_object();
  EXPECT_EQ(text.at("kind"), "Text");
  EXPECT_EQ(text.at("identity"), "0/VStack/0/Text");
  EXPECT_EQ(text.at("text"), "Hello big world");
  EXPECT_EQ(text.at("displayedText"), "Hello big\u2026");
  EXPECT_EQ(text.at("truncated"), true);
  EXPECT_EQ(text.at("font").at("family"), "Fake Rounded");
  EXPECT_EQ(text.at("font").at("size").to_number<double>(), 10);
  EXPECT_EQ(text.at("font").at("weight"), "semibold");
  EXPECT_EQ(text.at("foreground").at("green").to_number<double>(), 190 / 255.0);
  EXPECT_EQ(text.at("frame").at("width").to_number<double>(), 60);

  const json::object& button = stack.at("children").at(1).as_object();
  EXPECT_EQ(button.at("button").at("intent"), "next-week");
  EXPECT_EQ(button.at("button").at("enabled"), false);
  EXPECT_EQ(button.at("children").at(0).at("symbol"), "chevron.right");
  EXPECT_EQ(button.at("children").at(0).at("opacity").to_number<double>(), disabledButtonOpacity);

  const json::object& capsule = stack.at("children").at(2).at("children").at(0).as_object();
  EXPECT_EQ(capsule.at("shape").at("kind"), "Capsule");
  EXPECT_EQ(capsule.at("fill").at("opacity").to_number<double>(), 0.14);
  EXPECT_EQ(stack.at("children").at(2).at("accessibilityHidden"), true);
}

TEST(Inspection, GradientsAreDescribed) {
  const View view = Circle().fill(AngularGradient{evenlySpaced({Color::black(), Color::white()}), UnitPoint::center(),
                                                  radiansFromDegrees(-90), radiansFromDegrees(270)});
  const json::value document = inspect(layoutForTest(view, {20.0, 20.0}));
  const json::value& fill = document.at("root").at("children").at(0).at("fill");
  EXPECT_EQ(fill.at("type"), "angular");
  EXPECT_EQ(fill.at("stops").as_array().size(), 2u);
  EXPECT_NEAR(fill.at("endAngle").to_number<double>(), 3 * std::numbers::pi / 2, 1e-12);
}

TEST(Inspection, QueriesFindTextsKindsAndLabels) {
  const View view = VStack({sizedText("73%", 37), sizedText("73%", 9), Circle().accessibilityLabel("dot"), Circle()});
  const LaidOutTree tree = layoutForTest(view, {100.0, 300.0});
  EXPECT_EQ(findAllTexts(tree, "73%").size(), 2u);
  EXPECT_EQ(findText(tree, "73%")->as<TextContent>()->request.font.size, 37);
  EXPECT_EQ(findText(tree, "nothing"), nullptr);
  EXPECT_EQ(findAll(tree, NodeKind::shape).size(), 2u);
  EXPECT_EQ(findAll(tree, NodeKind::text).size(), 2u);
  ASSERT_NE(findByAccessibilityLabel(tree, "dot"), nullptr);
  EXPECT_EQ(findByAccessibilityLabel(tree, "dot")->identity, "0/VStack/2/Circle");
  EXPECT_EQ(nodesInOrder(tree).size(), tree.nodes.size());
  EXPECT_EQ(nodesInOrder(tree).front(), &tree.root());
}

}  // namespace
}  // namespace zelto::kit
