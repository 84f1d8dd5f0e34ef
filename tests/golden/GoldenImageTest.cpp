// The widget drawn end to end from fixed fixtures (clock, zone, locale and
// fonts pinned), compared with images checked in beside this file. Each
// channel may differ by a little, and a few pixels may differ more (text
// anti-aliasing varies between library builds); anything beyond that fails
// and leaves the actual image and a diff image in $ZELTO_TEST_OUTPUT_DIR.
// scripts/update-goldens regenerates the images deliberately.

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "apps/zelto-limits-widget/GalleryCommand.hpp"
#include "platform/render/CairoOutput.hpp"
#include "tests/support/SceneFixtures.hpp"

namespace zelto {
namespace {

using testing::sceneRequest;
using testing::sceneTextSystem;
using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

constexpr int channelTolerance = 6;       // of 255
constexpr double allowedDifferingShare = 0.001;  // of all pixels

Surface draw(const kit::DisplayList& list, double scale) {
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(std::lround(list.size.width * scale)),
                                             static_cast<int>(std::lround(list.size.height * scale))),
                  cairo_surface_destroy);
  cairo_t* cr = cairo_create(surface.get());
  render::play(list, cr, scale, sceneTextSystem());
  cairo_destroy(cr);
  cairo_surface_flush(surface.get());
  return surface;
}

std::uint8_t channel(const cairo_surface_t* surface, int x, int y, int c) {
  auto* image = const_cast<cairo_surface_t*>(surface);
  return cairo_image_surface_get_data(image)[y * cairo_image_surface_get_stride(image) + 4 * x + c];
}

std::string outputBase(const std::string& name) {
  const char* configured = std::getenv("ZELTO_TEST_OUTPUT_DIR");
  const std::filesystem::path directory = configured != nullptr && *configured != '\0' ? configured : "/tmp";
  std::filesystem::create_directories(directory);
  return (directory / ("golden-" + name)).string();
}

// Compares `actual` with the golden image `name`.png, or writes it when
// ZELTO_UPDATE_GOLDENS is set.
void expectMatchesGolden(const std::string& name, const kit::DisplayList& list, double scale) {
  const Surface actual = draw(list, scale);
  const std::string golden = std::string(ZELTO_GOLDEN_DIR) + "/" + name + ".png";
  if (std::getenv("ZELTO_UPDATE_GOLDENS") != nullptr) {
    ASSERT_EQ(cairo_surface_write_to_png(actual.get(), golden.c_str()), CAIRO_STATUS_SUCCESS);
    return;
  }
  const Surface expected(cairo_image_surface_create_from_png(golden.c_str()), cairo_surface_destroy);
  const int width = cairo_image_surface_get_width(actual.get());
  const int height = cairo_image_surface_get_height(actual.get());
  const std::string base = outputBase(name);
  if (cairo_surface_status(expected.get()) != CAIRO_STATUS_SUCCESS ||
      cairo_image_surface_get_width(expected.get()) != width ||
      cairo_image_surface_get_height(expected.get()) != height) {
    cairo_surface_write_to_png(actual.get(), (base + "-actual.png").c_str());
    FAIL() << golden << " is missing or of another size; actual image: " << base << "-actual.png";
  }

  // Differing pixels are marked magenta over a dimmed copy of the actual image.
  Surface diff(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy);
  cairo_t* cr = cairo_create(diff.get());
  cairo_set_source_surface(cr, actual.get(), 0, 0);
  cairo_paint_with_alpha(cr, 0.35);
  cairo_set_source_rgb(cr, 1, 0, 1);
  long differing = 0;
  int largest = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int worst = 0;
      for (int c = 0; c < 4; ++c) {
        worst = std::max(worst, std::abs(channel(actual.get(), x, y, c) - channel(expected.get(), x, y, c)));
      }
      largest = std::max(largest, worst);
      if (worst > channelTolerance) {
        ++differing;
        cairo_rectangle(cr, x, y, 1, 1);
      }
    }
  }
  cairo_fill(cr);
  cairo_destroy(cr);
  const long allowed = static_cast<long>(allowedDifferingShare * width * height);
  if (differing > allowed) {
    cairo_surface_write_to_png(actual.get(), (base + "-actual.png").c_str());
    cairo_surface_write_to_png(diff.get(), (base + "-diff.png").c_str());
    ADD_FAILURE() << name << ": " << differing << " pixels differ by more than " << channelTolerance
                  << " (allowed " << allowed << ", largest difference " << largest << "); actual image: " << base
                  << "-actual.png, diff: " << base << "-diff.png";
  }
}

// --- Fixtures ----------------------------------------------------------------

LimitEntry sampleEntry() {
  const auto request = sceneRequest();
  return LimitEntry{request.now, testing::sampleAt(request), 0};
}

// Three accounts: the layout tightens; one has no limits and an error, one is
// nearly exhausted on a window with a long title; the week is the one before.
LimitEntry crowdedEntry() {
  const auto request = sceneRequest();
  ZeltoDashboardSnapshot dashboard = testing::sampleAt(request);
  dashboard.updatedAt = request.now - 300;
  ZeltoAccountSnapshot tight = dashboard.accounts[0];
  tight.id = "tight";
  tight.name = "Contractor account with a long name";
  tight.email = "contractor@example.net";
  tight.limits->plan = "pro";
  tight.limits->windows[0].usedPercent = 93;
  tight.limits->windows[1].usedPercent = 78;
  tight.limits->windows[1].title = "Weekly (all models)";
  tight.limits->fetchedAt = request.now - 3600;
  ZeltoAccountSnapshot broken = testing::plainAccount("broken");
  broken.name = "Lab";
  broken.errorMessage = "Sign-in expired";
  dashboard.accounts.resize(1);
  dashboard.accounts.push_back(broken);
  dashboard.accounts.push_back(tight);
  return LimitEntry{request.now, dashboard, -1};
}

// One account with a stale fetch and a single window, credits without expiry.
LimitEntry singleEntry() {
  const auto request = sceneRequest();
  ZeltoDashboardSnapshot dashboard = testing::sampleAt(request);
  dashboard.accounts.resize(1);
  auto& limits = *dashboard.accounts[0].limits;
  limits.windows.resize(1);
  limits.windows[0].usedPercent = 81;
  limits.fetchedAt = request.now - 2400;
  limits.resetCredits.resize(1);
  return LimitEntry{request.now, dashboard, 0};
}

struct GoldenCase {
  const char* name;
  kit::WidgetFamily family;
  std::function<LimitEntry()> entry;
};

class GoldenImage : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenImage, MatchesCheckedInImage) {
  const auto& golden = GetParam();
  expectMatchesGolden(golden.name, scene::paintScene(testing::sceneOf(golden.entry(), golden.family)), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Families, GoldenImage,
    ::testing::Values(GoldenCase{"sample-small", kit::WidgetFamily::systemSmall, sampleEntry},
                      GoldenCase{"sample-medium", kit::WidgetFamily::systemMedium, sampleEntry},
                      GoldenCase{"sample-large", kit::WidgetFamily::systemLarge, sampleEntry},
                      GoldenCase{"single-small", kit::WidgetFamily::systemSmall, singleEntry},
                      GoldenCase{"crowded-large", kit::WidgetFamily::systemLarge, crowdedEntry},
                      GoldenCase{"single-medium", kit::WidgetFamily::systemMedium, singleEntry},
                      GoldenCase{"waiting-medium", kit::WidgetFamily::systemMedium,
                                 [] { return LimitEntry{sceneRequest().now, std::nullopt, 0}; }}),
    [](const auto& info) {
      std::string name = info.param.name;
      std::replace(name.begin(), name.end(), '-', '_');
      return name;
    });

TEST(GoldenImage, Gallery) {
  expectMatchesGolden("gallery", cli::galleryDisplayList(sceneRequest(), sceneTextSystem()), 1);
}

}  // namespace
}  // namespace zelto
