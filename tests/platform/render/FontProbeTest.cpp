#include "platform/render/FontProbe.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

#include "RenderTestSupport.hpp"

namespace zelto::render {
namespace {

using test::testFontProbe;

struct FamilyCase {
  const char* family;
  bool installed;
};

class FamilyProbe : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(FamilyProbe, SaysWhetherTheFamilyItselfIsInstalled) {
  EXPECT_EQ(testFontProbe()->isFamilyInstalled(GetParam().family), GetParam().installed) << GetParam().family;
}

INSTANTIATE_TEST_SUITE_P(FontProbe, FamilyProbe,
                         ::testing::Values(FamilyCase{"inter", true}, FamilyCase{"DejaVu Sans", true},
                                           FamilyCase{"Halden Sans", false}, FamilyCase{"", false}));

TEST(FontProbe, ResolvesFontsToInstalledFamilies) {
  const auto& probe = *testFontProbe();
  EXPECT_EQ(probe.resolvedFamily(kit::Font::custom("Halden Sans", 16)), "Inter");
  EXPECT_EQ(probe.resolvedFamily(kit::Font::custom("DejaVu Sans", 16)), "DejaVu Sans");
  EXPECT_EQ(probe.resolvedFamily(kit::Font::system(13)), "Inter");
  // No rounded sans among the pinned fonts: the system face stands in.
  EXPECT_EQ(probe.resolvedFamily(kit::Font::system(13, kit::FontWeight::bold, kit::FontDesign::rounded)), "Inter");
}

TEST(FontProbe, TextSystemAnswersThroughItsProbe) {
  EXPECT_TRUE(test::testTextSystem().isFamilyInstalled("Inter"));
  EXPECT_FALSE(test::testTextSystem().isFamilyInstalled("Halden Sans"));
  EXPECT_EQ(test::testTextSystem().resolvedFamily(kit::Font::custom("Halden Sans", 9)), "Inter");
}

TEST(FontProbe, RefusesAMissingConfigurationFile) {
  EXPECT_THROW(FontProbe(std::filesystem::path("/nonexistent/fonts.conf")), std::runtime_error);
}

}  // namespace
}  // namespace zelto::render
