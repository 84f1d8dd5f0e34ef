// Identities, recorded attributes (animation), the JSON dump and the query
// helpers.

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

TEST(Identity, PathsCarryPositionsKindsAndListIdsAndStayUnique) {
  const LaidOutTree tree =
      layoutForTest(accountList({{"a/b", "One"}, {"same", "Two"}, {"same", "Three"}}, true), {200.0, 300.0});
  EXPECT_EQ(findText(tree, "ACCOUNTS")->identity, "0/VStack/0/if/Text");
  EXPECT_EQ(findText(tree, "One")->identity, "0/VStack/1/ForEach:a%2Fb/0/HStack/1/Text");
  EXPECT_EQ(findText(tree, "Two")->identity, "0/VStack/1/ForEach:same/0/HStack/1/Text");
  EXPECT_EQ(findText(tree, "Three")->identity, "0/VStack/1/ForEach:same#2/0/HStack/1/Text");
  std::set<std::string> identities;
  for (const LaidOutNode& node : tree.nodes) EXPECT_TRUE(identities.insert(node.identity).second) << node.identity;
  EXPECT_EQ(findText(layoutForTest(when(false, sizedText("x", 9), sizedText("x", 9)), {}), "x")->identity,
            "0/else/Text");
}

TEST(Identity, ComponentsAreTransparentAndReadTheEnvironment) {
  struct Badge {
    View body(const Environment& environment) const {
      return sizedText(std::string(widgetFamilyName(environment.widgetFamily)), 9)
          .foregroundStyle(environment.tint)
          .padding(3);
    }
  };
  Environment environment;
  environment.widgetFamily = WidgetFamily::systemMedium;
  const LaidOutTree tree = layoutForTest(HStack({View(Badge{}).tint(Color::white())}), {200.0, 50.0}, environment);
  ASSERT_NE(findText(tree, "medium"), nullptr);
  EXPECT_EQ(findText(tree, "medium")->identity, "0/HStack/0/Padding/Text");
  EXPECT_EQ(std::get<Color>(findText(tree, "medium")->as<TextContent>()->paint), Color::white());
}

TEST(Attributes, AnimationIsRecordedWithItsValueUnlessReduced) {
  const SpringAnimation spring{0.34, 1, 0};
  const LaidOutTree tree = layoutForTest(VStack({sizedText("pulse", 9).animation(spring, std::int64_t{-2}),
                                                 sizedText("still", 9).animation(std::nullopt, 0)}),
                                         {100.0, 100.0});
  ASSERT_TRUE(findText(tree, "pulse")->animation);
  EXPECT_EQ(*findText(tree, "pulse")->animation, (AnimationRecord{spring, "-2"}));
  EXPECT_FALSE(findText(tree, "still")->animation);
}

TEST(Inspection, JsonCarriesKindIdentityFrameStyleAndState) {
  const View view = VStack(HorizontalAlignment::leading, 2,
                           {Text::verbatim("Hello big world").lineLimit(1).foregroundStyle(Color::srgb8(174, 190, 255)),
                            Button({"next-week", "Next Zelto Usage Week"}, Image("chevron.right")).disabled(true),
                            Circle()
                                .fill(AngularGradient{evenlySpaced({Color::black(), Color::white()})})
                                .frame(30, 4)
                                .accessibilityHidden()})
                        .font(Font::system(10, FontWeight::semibold, FontDesign::rounded));
  const LaidOutTree tree = layoutForTest(view, {70.0, 100.0});
  const json::value document = json::parse(inspectJson(tree));
  EXPECT_EQ(document, inspect(tree));

  const json::object& stack = document.at("root").at("children").at(0).as_object();
  EXPECT_EQ(stack.at("kind"), "VStack");
  EXPECT_EQ(stack.at("alignment"), "leading");
  const json::object& text = stack.at("children").at(0).as_object();
  EXPECT_EQ(text.at("identity"), "0/VStack/0/Text");
  EXPECT_EQ(text.at("text"), "Hello big world");
  EXPECT_EQ(text.at("displayedText"), "Hello big\u2026");
  EXPECT_EQ(text.at("truncated"), true);
  EXPECT_EQ(text.at("font").at("family"), "Fake Rounded");
  EXPECT_EQ(text.at("font").at("weight"), "semibold");
  EXPECT_EQ(text.at("foreground").at("green").to_number<double>(), 190 / 255.0);
  EXPECT_EQ(text.at("frame").at("width").to_number<double>(), 60);
  const json::object& button = stack.at("children").at(1).as_object();
  EXPECT_EQ(button.at("button").at("intent"), "next-week");
  EXPECT_EQ(button.at("button").at("enabled"), false);
  EXPECT_EQ(button.at("children").at(0).at("symbol"), "chevron.right");
  const json::object& circle = stack.at("children").at(2).at("children").at(0).as_object();
  EXPECT_EQ(circle.at("shape").at("kind"), "Circle");
  EXPECT_EQ(circle.at("fill").at("type"), "angular");
  EXPECT_EQ(stack.at("children").at(2).at("accessibilityHidden"), true);
}

}  // namespace
}  // namespace zelto::kit
