#include <gtest/gtest.h>

#include <cstdlib>

#include "VisualsTestSupport.hpp"
#include "platform/kit/Accessibility.hpp"
#include "platform/locale/Translation.hpp"
#include "widget/visuals/AccountWidgetHeader.hpp"
#include "widget/visuals/CompactLimitBar.hpp"
#include "widget/visuals/CreditBadge.hpp"
#include "widget/visuals/EmptyLimitView.hpp"
#include "widget/visuals/LimitRing.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto::visuals::test {
namespace {

using P = ZeltoPalette;
using kit::Color;
using kit::LaidOutTree;
using Texts = std::vector<std::string>;

ZeltoLimitWindow windowUsing(std::int64_t usedPercent, std::optional<Date> resetsAt = std::nullopt) {
  return {"five", "5 Hours", usedPercent, resetsAt, 300};
}

const kit::ShapeContent& shape(const LaidOutTree& tree, std::size_t index) {
  return *kit::findAll(tree, kit::NodeKind::shape).at(index)->as<kit::ShapeContent>();
}

// The badge's text in the label style: its word is singular only for 1, and
// its face and size depend on the machine's fonts and the user's text size.
TEST(CreditBadge, CustomFamilyScalesWithTextSizeAndFallbackKeepsItsSize) {
  const struct {
    std::int64_t count;
    const char* text;
    Fonts fonts;
    double textScale;
    const char* family;
    double drawnSize;
  } cases[] = {{1, "1 RESET", Fonts::system, 1.5, "Inter", 9},
               {0, "0 RESETS", Fonts::custom, 1, "Halden Sans", 9},
               {2, "2 RESETS", Fonts::custom, 1.5, "Halden Sans", 13.5}};
  for (const auto& c : cases) {
    const LaidOutTree tree =
        layOut(CreditBadge{c.count}, {200, 40}, environment(c.fonts, "en_US", c.textScale), c.fonts);
    const auto elements = kit::accessibilityElements(tree);  // the dot is decoration
    ASSERT_EQ(elements.size(), 1u);
    EXPECT_EQ(elements[0].label, c.text);
    const auto& text = *kit::findText(tree, c.text)->as<kit::TextContent>();
    EXPECT_EQ(text.resolvedFamily, c.family) << c.textScale;
    EXPECT_DOUBLE_EQ(text.request.font.scaledSize(text.request.textScale), c.drawnSize) << c.family;
    EXPECT_EQ(text.request.font.weight, kit::FontWeight::semibold);
  }
}

TEST(Translation, LabelsFollowTheLocaleWhileTitlesAndMessagesStayVerbatim) {
  const ZeltoLimitWindow window{"five", "5 Hours", 38, now + 2 * 3600 + 18 * 60, 300};
  const struct {
    const char* locale;
    std::vector<std::string> ringTexts;
    const char* spoken;
    const char* hint;
  } cases[] = {
      {"en_US",
       {"62%", "LEFT", "5 HOURS", "2 hr, 18 min"},
       "5 Hours, 62 percent remaining",
       "OPEN ZELTO LIMITS TO SYNC"},
      {"de_DE",
       {"62%", "ÜBRIG", "5 HOURS", "2 Std., 18 Min."},
       "5 Hours, 62 Prozent übrig",
       "ZUM ABGLEICHEN ZELTO LIMITS ÖFFNEN"},
  };
  for (const auto& c : cases) {
    const kit::LaidOutTree ring = layOut(LimitRing{window}, {120, 170}, environment(Fonts::system, c.locale));
    EXPECT_EQ(textsOf(ring), c.ringTexts) << c.locale;
    EXPECT_NE(kit::findByAccessibilityLabel(ring, c.spoken), nullptr) << c.locale;
    const kit::LaidOutTree empty =
        layOut(EmptyLimitView{"Waiting for Zelto"}, {170, 170}, environment(Fonts::system, c.locale));
    EXPECT_EQ(textsOf(empty), (std::vector<std::string>{"Waiting for Zelto", c.hint})) << c.locale;
  }
}

TEST(Translation, LooksUpOneLanguageAndLeavesTheProcessLanguageAlone) {
  ::setenv("LANGUAGE", "fr", 1);
  const std::string description = "See Zelto limits and reset-credit expirations across your configured accounts.";
  EXPECT_EQ(locale::translate(description, locale::Locale::make("de_DE")),
            "Zelto-Limits und ablaufende Reset-Guthaben all deiner eingerichteten Konten im Blick.");
  EXPECT_EQ(locale::translate("", locale::Locale::make("de_DE")), "");
  EXPECT_STREQ(std::getenv("LANGUAGE"), "fr");
  ::unsetenv("LANGUAGE");
}

TEST(LimitGauges, ClampedShareDecidesTextArcBarAndTheirColours) {
  const struct {
    std::int64_t used;
    const char* percent;
    double share;
    Color tone;
  } cases[] = {{-30, "100%", 1, P::periwinkle}, {74, "26%", 0.26, P::periwinkle}, {75, "25%", 0.25, P::amber},
               {90, "10%", 0.10, P::amber},     {91, "9%", 0.09, P::coral},       {250, "0%", 0, P::coral}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.used);
    const bool healthy = c.tone == P::periwinkle;
    const LaidOutTree ring = layOut(LimitRing{windowUsing(c.used)}, {120, 150});
    EXPECT_NE(kit::findText(ring, c.percent), nullptr);
    EXPECT_NEAR(shape(ring, 2).geometry.trimTo, c.share, 1e-9);
    const std::vector<Color> ringStops = healthy
                                             ? std::vector{P::indigo, P::periwinkle, P::indigo}
                                             : std::vector{c.tone.withOpacity(0.66), c.tone, c.tone.withOpacity(0.66)};
    EXPECT_EQ(colorsOf(shape(ring, 2).paint), ringStops);

    const LaidOutTree bar = layOut(CompactLimitBar{windowUsing(c.used)}, {150, 40});
    EXPECT_EQ(colorsOf(kit::findText(bar, c.percent)->as<kit::TextContent>()->paint), std::vector{c.tone});
    const std::vector<Color> fill =
        healthy ? std::vector{P::periwinkle, P::indigo} : std::vector{c.tone.withOpacity(0.72), c.tone};
    EXPECT_EQ(colorsOf(shape(bar, 1).paint), fill);
    EXPECT_NEAR(kit::findAll(bar, kit::NodeKind::shape).at(1)->frame.width, 150 * c.share, 1e-9);
  }
}

TEST(LimitGauges, ResetTimeOnlyForAWindowThatResetsAndTheRingSpeaksOnce) {
  const Date resetsAt = now + 2 * 3600 + 18 * 60;
  const struct {
    std::optional<Date> resetsAt;
    bool showsReset;
    Texts ring, bar;
  } cases[] = {
      {resetsAt, true, {"62%", "LEFT", "5 HOURS", "2 hr, 18 min"}, {"5 HOURS", "62%", "RESET 2 hr, 18 min"}},
      {resetsAt, false, {"62%", "LEFT", "5 HOURS", "2 hr, 18 min"}, {"5 HOURS", "62%"}},
      {std::nullopt, true, {"62%", "LEFT", "5 HOURS"}, {"5 HOURS", "62%"}},
  };
  for (const auto& c : cases) {
    const LaidOutTree ring = layOut(LimitRing{windowUsing(38, c.resetsAt), true}, {100, 150});
    EXPECT_EQ(textsOf(ring), c.ring);
    const auto elements = kit::accessibilityElements(ring);
    ASSERT_EQ(elements.size(), 1u);
    EXPECT_EQ(elements[0].label, "5 Hours, 62 percent remaining");  // the title as stored
    // The bar's texts are read as they are; its track says nothing.
    const LaidOutTree bar = layOut(CompactLimitBar{windowUsing(38, c.resetsAt), c.showsReset}, {150, 60});
    EXPECT_EQ(textsOf(bar), c.bar);
    EXPECT_EQ(kit::accessibilityElements(bar).size(), c.bar.size());
  }
}

TEST(AccountWidgetHeader, EmailLineOnlyWhereItAddsSomethingAndErrorsMarkTheName) {
  const struct {
    const char* name;
    std::optional<std::string> error;
    bool compact;
    Texts texts;
  } cases[] = {
      {"Personal", std::nullopt, false, {"Personal", "personal@example.com"}},
      {"Personal", "", true, {"Personal"}},
      {" \n ", "expired", false, {"personal@example.com"}},
      {"personal@example.com", std::nullopt, false, {"personal@example.com"}},
      {"Personal@example.com", std::nullopt, false, {"Personal@example.com", "personal@example.com"}},
  };
  for (const auto& c : cases) {
    const ZeltoAccountSnapshot account{"a", c.name, "personal@example.com", std::nullopt, std::nullopt, c.error};
    const LaidOutTree tree = layOut(AccountWidgetHeader{account, c.compact}, {300, 60});
    EXPECT_EQ(textsOf(tree), c.texts) << c.name;
    EXPECT_EQ(kit::findAll(tree, kit::NodeKind::image).size(), c.error ? 2u : 1u) << c.name;
  }
}

TEST(ViewNames, InspectionNamesTheOutermostComponentAndListsAllThatBeginAtANode) {
  const LaidOutTree tree = layOut(kit::View(LimitRing{windowUsing(10)}).viewName("Outer"), {100, 150});
  ASSERT_EQ(kit::findViews(tree, "LimitRing").size(), 1u);
  EXPECT_EQ(kit::findViews(tree, "LimitRing")[0], kit::findViews(tree, "Outer").at(0));
  EXPECT_NE(kit::inspectJson(tree).find(R"("view":"Outer","views":["Outer","LimitRing"])"), std::string::npos);
}

}  // namespace
}  // namespace zelto::visuals::test
