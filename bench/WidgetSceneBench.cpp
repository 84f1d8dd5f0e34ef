// What one frame of the real widget costs, family by family at 2x: the
// timeline request (reading and decoding the suite), building the views,
// layout, paint, and drawing into a 2x image surface as the desktop host
// draws into its window. PNG encoding is not part of a frame and is left out.
//
// Warm: one text system and the renderer's caches kept across frames, as
// when the host redraws a minute later.
//
// Cold: a fresh text system (created outside the timed region) and empty
// renderer caches (glows, gradient rasters, clip masks, backdrops, layers),
// so every text is measured and shaped, every glow blurred and every large
// gradient rasterised inside it. What it keeps is what a process loads once:
// the process's fontconfig configuration, its list of installed families and
// its Pango font map with the fonts, fontsets and metrics loaded so far.
//
// First: as cold, but with a fresh font configuration and font map too
// (fontconfig's own start-up is outside the timed region), so fonts are
// looked up and loaded inside it: the very first frame of a new process.
//
// Floor: the least any drawer of the same canvas pays, for comparison:
// clearing a 2x ARGB canvas of the family's size, clipping it to the rounded
// outline, one solid fill and one line of text (measured, then drawn, by a
// warm text system). Layout alone of the large tree is timed last.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <memory>

#include "apps/zelto-limits-widget/RenderCommand.hpp"
#include "apps/zelto-limits-widget/WidgetScene.hpp"
#include "platform/defaults/Suite.hpp"
#include "platform/render/CairoOutput.hpp"
#include "platform/render/CairoPlayer.hpp"
#include "platform/render/FontProbe.hpp"
#include "platform/render/GradientRasterCache.hpp"
#include "tests/support/Environments.hpp"
#include "tests/support/TemporaryDirectory.hpp"
#include "widget/model/SnapshotJson.hpp"

namespace {

using namespace zelto;

constexpr double frameScale = 2;

// A suite holding the sample dashboard plus a third account, so the large
// widget draws three rows and its token panel.
struct BenchSuite {
  testing::TemporaryDirectory folder;
  host::RequestEnvironment environment = testing::environmentAt();
  SharedContainer container = testing::containerIn(folder.path());
  BenchSuite() {
    ZeltoDashboardSnapshot dashboard = ZeltoDashboardSnapshot::sample(environment.now, environment.calendar);
    ZeltoAccountSnapshot third = dashboard.accounts.front();
    third.id = "team";
    third.name = "Team";
    third.email = "team@example.net";
    dashboard.accounts.push_back(third);
    testing::storeDashboard(container, dashboard);
  }
};

BenchSuite& suite() {
  static BenchSuite instance;
  return instance;
}

using SurfacePointer = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using ContextPointer = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

// One whole frame; returns the number of laid-out nodes.
std::size_t drawFrame(kit::WidgetFamily family, const render::PangoTextSystem& text, cairo_t* cr) {
  const auto& environment = suite().environment;
  const LimitEntry entry = cli::requestedEntry(environment, suite().container, family, false);
  const kit::LaidOutTree tree = scene::layoutScene(entry, environment, scene::settingsFor(family), text);
  render::play(scene::paintScene(tree), cr, frameScale, text);
  return tree.nodes.size();
}

struct Canvas {
  SurfacePointer surface{nullptr, cairo_surface_destroy};
  ContextPointer context{nullptr, cairo_destroy};
  explicit Canvas(kit::WidgetFamily family) {
    const auto size = kit::widgetFamilySize(family);
    surface.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(size.width * frameScale),
                                             static_cast<int>(size.height * frameScale)));
    context.reset(cairo_create(surface.get()));
  }
};

void BM_FrameWarm(benchmark::State& state) {
  const auto family = static_cast<kit::WidgetFamily>(state.range(0));
  static const render::PangoTextSystem text;
  Canvas canvas(family);
  std::size_t nodes = drawFrame(family, text, canvas.context.get());
  for (auto _ : state) nodes = drawFrame(family, text, canvas.context.get());
  state.counters["nodes"] = static_cast<double>(nodes);
  state.SetLabel(std::string(kit::widgetFamilyName(family)));
}

// A cold frame; with `freshFonts`, a new font configuration and font map.
void coldFrames(benchmark::State& state, bool freshFonts) {
  const auto family = static_cast<kit::WidgetFamily>(state.range(0));
  Canvas canvas(family);
  std::size_t nodes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto text = freshFonts ? std::make_unique<render::PangoTextSystem>(std::make_shared<const render::FontProbe>())
                           : std::make_unique<render::PangoTextSystem>();
    render::clearGlowRasterCache();
    render::clearGradientRasterCache();
    state.ResumeTiming();
    nodes = drawFrame(family, *text, canvas.context.get());
    state.PauseTiming();
    text.reset();
    state.ResumeTiming();
  }
  state.counters["nodes"] = static_cast<double>(nodes);
  state.SetLabel(std::string(kit::widgetFamilyName(family)));
}

void BM_FrameCold(benchmark::State& state) { coldFrames(state, false); }
void BM_FrameFirst(benchmark::State& state) { coldFrames(state, true); }

void BM_FloorCanvas(benchmark::State& state) {
  const auto family = static_cast<kit::WidgetFamily>(state.range(0));
  static const render::PangoTextSystem text;
  const auto size = kit::widgetFamilySize(family);
  kit::TextRequest line;
  line.text = "Account signals";
  line.font = kit::Font::system(17, kit::FontWeight::semibold);
  Canvas canvas(family);
  cairo_t* cr = canvas.context.get();
  for (auto _ : state) {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_scale(cr, frameScale, frameScale);
    const double r = scene::widgetCornerRadius;
    cairo_new_sub_path(cr);
    cairo_arc(cr, size.width - r, r, r, -M_PI / 2, 0);
    cairo_arc(cr, size.width - r, size.height - r, r, 0, M_PI / 2);
    cairo_arc(cr, r, size.height - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, r, r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, 0.05, 0.07, 0.18);
    cairo_paint(cr);
    const kit::TextMeasurement measured = text.measure(line, std::nullopt, std::nullopt);
    cairo_set_source_rgb(cr, 1, 1, 1);
    text.drawText(cr, line, {16, 16, measured.size.width, measured.size.height});
    cairo_restore(cr);
  }
  state.SetLabel(std::string(kit::widgetFamilyName(family)));
}

// Layout of the large widget alone (build included), texts already measured.
void BM_LayoutLargeWarm(benchmark::State& state) {
  static const render::PangoTextSystem text;
  const auto& environment = suite().environment;
  const LimitEntry entry = cli::requestedEntry(environment, suite().container, kit::WidgetFamily::systemLarge, false);
  const scene::SceneSettings settings = scene::settingsFor(kit::WidgetFamily::systemLarge);
  std::size_t nodes = scene::layoutScene(entry, environment, settings, text).nodes.size();
  for (auto _ : state)
    benchmark::DoNotOptimize(nodes = scene::layoutScene(entry, environment, settings, text).nodes.size());
  state.counters["nodes"] = static_cast<double>(nodes);
}

}  // namespace

BENCHMARK(BM_FrameWarm)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameCold)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameFirst)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorCanvas)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutLargeWarm)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
