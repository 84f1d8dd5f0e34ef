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
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "apps/zelto-limits-widget/GalleryCommand.hpp"
#include "platform/render/CairoOutput.hpp"
#include "tests/support/SceneFixtures.hpp"
#include "widget/model/SnapshotJson.hpp"

namespace zelto {
namespace {

using testing::sceneRequest;
using testing::sceneTextSystem;
using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

constexpr int channelTolerance = 6;              // of 255
constexpr double allowedDifferingShare = 0.001;  // of all pixels

// Compares the list drawn at `scale` with the golden image `name`.png, or
// writes that image when ZELTO_UPDATE_GOLDENS is set.
void expectMatchesGolden(const std::string& name, const kit::DisplayList& list, double scale) {
  const int width = static_cast<int>(std::lround(list.size.width * scale));
  const int height = static_cast<int>(std::lround(list.size.height * scale));
  const Surface actual(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy);
  cairo_t* cr = cairo_create(actual.get());
  render::play(list, cr, scale, sceneTextSystem());
  cairo_destroy(cr);
  cairo_surface_flush(actual.get());
  const std::string golden = std::string(ZELTO_GOLDEN_DIR) + "/" + name + ".png";
  if (std::getenv("ZELTO_UPDATE_GOLDENS") != nullptr) {
    ASSERT_EQ(cairo_surface_write_to_png(actual.get(), golden.c_str()), CAIRO_STATUS_SUCCESS);
    return;
  }
  const char* configured = std::getenv("ZELTO_TEST_OUTPUT_DIR");
  const std::filesystem::path folder = configured != nullptr && *configured != '\0' ? configured : "/tmp";
  std::filesystem::create_directories(folder);
  const std::string base = (folder / ("golden-" + name)).string();
  const Surface expected(cairo_image_surface_create_from_png(golden.c_str()), cairo_surface_destroy);
  if (cairo_surface_status(expected.get()) != CAIRO_STATUS_SUCCESS ||
      cairo_image_surface_get_width(expected.get()) != width ||
      cairo_image_surface_get_height(expected.get()) != height) {
    cairo_surface_write_to_png(actual.get(), (base + "-actual.png").c_str());
    FAIL() << golden << " is missing or of another size; actual image: " << base << "-actual.png";
  }
  const int stride = cairo_image_surface_get_stride(actual.get());
  unsigned char* pixels = cairo_image_surface_get_data(actual.get());
  const unsigned char* reference = cairo_image_surface_get_data(expected.get());
  // Counts the pixels beyond the tolerance; with `mark`, paints them magenta.
  const auto differingPixels = [&](bool mark) {
    long differing = 0;
    for (int at = 0; at < stride * height; at += 4) {
      int worst = 0;
      for (int c = 0; c < 4; ++c) worst = std::max(worst, std::abs(pixels[at + c] - reference[at + c]));
      if (worst <= channelTolerance) continue;
      ++differing;
      if (mark) std::memcpy(pixels + at, "\xff\x00\xff\xff", 4);
    }
    return differing;
  };
  const long differing = differingPixels(false);
  const long allowed = static_cast<long>(allowedDifferingShare * width * height);
  if (differing > allowed) {
    cairo_surface_write_to_png(actual.get(), (base + "-actual.png").c_str());
    differingPixels(true);
    cairo_surface_mark_dirty(actual.get());
    cairo_surface_write_to_png(actual.get(), (base + "-diff.png").c_str());
    ADD_FAILURE() << name << ": " << differing << " pixels differ by more than " << channelTolerance << " (allowed "
                  << allowed << "); actual image: " << base << "-actual.png, diff: " << base << "-diff.png";
  }
}

// The entry of a fixture: the sample, a dashboard file beside this test
// (crowded: three accounts, one without limits and one nearly exhausted;
// single: one account, one window, a stale fetch), or none.
LimitEntry entryOf(const std::string& fixture) {
  const auto request = sceneRequest();
  if (fixture == "waiting") return LimitEntry{request.now, std::nullopt, 0};
  if (fixture == "sample") return LimitEntry{request.now, testing::sampleAt(request), 0};
  std::ifstream file(std::string(ZELTO_GOLDEN_DIR) + "/" + fixture + "-dashboard.json");
  const std::string json{std::istreambuf_iterator<char>(file), {}};
  return LimitEntry{request.now, decodeDashboardSnapshot(json).value(), fixture == "crowded" ? -1 : 0};
}

TEST(GoldenImage, FamiliesFromFixtures) {
  const std::pair<const char*, kit::WidgetFamily> cases[] = {
      {"sample", kit::WidgetFamily::systemSmall},   {"sample", kit::WidgetFamily::systemMedium},
      {"sample", kit::WidgetFamily::systemLarge},   {"single", kit::WidgetFamily::systemSmall},
      {"single", kit::WidgetFamily::systemMedium},  {"crowded", kit::WidgetFamily::systemLarge},
      {"waiting", kit::WidgetFamily::systemMedium},
  };
  for (const auto& [fixture, family] : cases) {
    const std::string name = std::string(fixture) + "-" + std::string(kit::widgetFamilyName(family));
    SCOPED_TRACE(name);
    expectMatchesGolden(name, scene::paintScene(testing::sceneOf(entryOf(fixture), family)), 2);
  }
}

TEST(GoldenImage, Gallery) {
  expectMatchesGolden("gallery", cli::galleryDisplayList(sceneRequest(), sceneTextSystem()), 1);
}

}  // namespace
}  // namespace zelto
