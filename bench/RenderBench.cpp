// What text measurement and drawing cost. Layout asks the text system for
// every text several times per pass (minimum, ideal, offered width), so a
// measurement must mostly be a cache hit; the baseline beside it shapes the
// same text with a fresh Pango layout, which is what every call would cost
// without the cache. Drawing is measured for a widget-sized composition at
// 3x, beside the same composition without its glows, and the first drawing
// of a dithered backdrop beside Cairo's plain gradient.

#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "platform/kit/DisplayList.hpp"
#include "platform/render/CairoOutput.hpp"
#include "platform/render/GradientRasterCache.hpp"
#include "platform/render/PangoTextSystem.hpp"
#include "platform/render/RenderOutput.hpp"

namespace {

using zelto::kit::Color;
using zelto::kit::Path;
using zelto::kit::Rect;
using zelto::render::PangoTextSystem;

const PangoTextSystem& textSystem() {
  static const PangoTextSystem system;
  return system;
}

// The texts of a large widget: 60 labels, values and names.
std::vector<zelto::kit::TextRequest> widgetTexts() {
  std::vector<zelto::kit::TextRequest> texts;
  const char* words[] = {
      "LEFT",           "5 HOURS",  "WEEKLY",          "RESET 2 hr, 18 min", "62%", "1.2M TOKENS", "TODAY", "STREAK",
      "MAR 10\u201316", "Personal", "dev@example.com", "Waiting for Zelto"};
  for (int i = 0; i < 60; ++i) {
    zelto::kit::TextRequest r;
    r.text = words[i % 12] + std::string(i < 12 ? "" : " " + std::to_string(i));
    r.font = zelto::kit::Font::system(9 + i % 5 * 2, static_cast<zelto::kit::FontWeight>(3 + i % 4));
    r.tracking = (i % 3) * 0.35;
    r.monospacedDigits = i % 2 == 0;
    if (i % 4 == 0) r.lineLimit = 1;
    texts.push_back(r);
  }
  return texts;
}

// One layout pass over a 300-node tree: each of its 60 texts asked for its
// ideal size, its minimum, and at three offered widths.
void BM_MeasureLayoutPassCached(benchmark::State& state) {
  const auto texts = widgetTexts();
  const std::optional<double> widths[] = {std::nullopt, 0.0, 80.0, 150.0, 330.0};
  for (const auto& t : texts) {
    for (const auto& w : widths) textSystem().measure(t, w, std::nullopt);
  }
  for (auto _ : state) {
    for (const auto& t : texts) {
      for (const auto& w : widths) benchmark::DoNotOptimize(textSystem().measure(t, w, std::nullopt));
    }
  }
  state.SetItemsProcessed(state.iterations() * 300);
}
BENCHMARK(BM_MeasureLayoutPassCached)->Unit(benchmark::kMicrosecond);

// Baseline: the same 300 measurements each shaping a fresh Pango layout.
void BM_MeasureLayoutPassFreshPangoLayouts(benchmark::State& state) {
  const auto texts = widgetTexts();
  PangoFontMap* map = pango_cairo_font_map_new();
  PangoContext* context = pango_font_map_create_context(map);
  const int widths[] = {-1, 0, 80 * PANGO_SCALE, 150 * PANGO_SCALE, 330 * PANGO_SCALE};
  for (auto _ : state) {
    for (const auto& t : texts) {
      for (int w : widths) {
        PangoLayout* layout = pango_layout_new(context);
        PangoFontDescription* d = pango_font_description_new();
        pango_font_description_set_family(d, "Inter");
        pango_font_description_set_absolute_size(d, t.font.size * PANGO_SCALE);
        pango_layout_set_font_description(layout, d);
        pango_font_description_free(d);
        pango_layout_set_width(layout, w);
        pango_layout_set_text(layout, t.text.data(), static_cast<int>(t.text.size()));
        PangoRectangle logical;
        pango_layout_get_extents(layout, nullptr, &logical);
        benchmark::DoNotOptimize(logical);
        g_object_unref(layout);
      }
    }
  }
  g_object_unref(context);
  g_object_unref(map);
  state.SetItemsProcessed(state.iterations() * 300);
}
BENCHMARK(BM_MeasureLayoutPassFreshPangoLayouts)->Unit(benchmark::kMicrosecond);

// A large widget's worth of drawing: backdrop, three glass cards, rings and
// bars with glows, and texts.
zelto::kit::DisplayList composition(bool withGlows) {
  zelto::kit::DisplayList list{{364, 382}, {}};
  auto add = [&](zelto::kit::DisplayCommand c) { list.commands.push_back(std::move(c)); };
  const Rect all{0, 0, 364, 382};
  const Color indigo = Color::srgb8(104, 118, 242), periwinkle = Color::srgb8(174, 190, 255);
  add(zelto::kit::FillPath{Path::rectangle(all), Color::srgb8(7, 11, 35), all});
  add(zelto::kit::FillPath{
      Path::rectangle(all),
      zelto::kit::RadialGradient{{{indigo.withOpacity(0.62), 0}, {Color::clear(), 1}}, {1.05, -0.08}, 0, 260}, all});
  const auto texts = widgetTexts();
  for (int card = 0; card < 3; ++card) {
    const Rect r{12, 12 + card * 120.0, 340, 110};
    if (withGlows) add(zelto::kit::PushLayer{1, zelto::kit::Shadow{Color::black(0.22), 12, 0, 7}});
    add(zelto::kit::FillPath{Path::continuousRoundedRectangle(r, 20), Color::white(0.072), r});
    if (withGlows) add(zelto::kit::PopLayer{});
    const Rect dial{r.x + 12, r.y + 12, 86, 86};
    zelto::kit::StrokeStyle style;
    style.lineWidth = 7;
    style.cap = zelto::kit::LineCap::round;
    add(zelto::kit::PushTransform{
        zelto::kit::AffineTransform::rotation(-std::numbers::pi / 2, {dial.midX(), dial.midY()})});
    if (withGlows) add(zelto::kit::PushLayer{1, zelto::kit::Shadow{periwinkle.withOpacity(0.58), 7, 0, 0}});
    add(zelto::kit::StrokePath{
        Path::circleArc(dial, 0, 0.62),
        zelto::kit::AngularGradient{
            {{indigo, 0}, {periwinkle, 0.5}, {indigo, 1}}, {0.5, 0.5}, -std::numbers::pi / 2, 1.5 * std::numbers::pi},
        dial, style});
    if (withGlows) add(zelto::kit::PopLayer{});
    add(zelto::kit::PopTransform{});
    for (int bar = 0; bar < 2; ++bar) {
      const Rect track{r.x + 120, r.y + 30 + bar * 40.0, 200, 5};
      if (withGlows) add(zelto::kit::PushLayer{1, zelto::kit::Shadow{periwinkle.withOpacity(0.52), 5, 0, 0}});
      add(zelto::kit::FillPath{Path::capsule(track), periwinkle, track});
      if (withGlows) add(zelto::kit::PopLayer{});
    }
    for (int t = 0; t < 8; ++t) {
      const auto& request = texts[card * 8 + t];
      const auto m = textSystem().measure(request, std::nullopt, std::nullopt);
      add(zelto::kit::DrawText{request,
                               {r.x + 120 + (t % 2) * 100, r.y + 10 + (t / 2) * 22, m.size.width, m.size.height},
                               Color::white(0.96)});
    }
  }
  return list;
}

// Drawing into a 3x window-sized image, as the desktop host does each frame.
void BM_Play3x(benchmark::State& state) {
  const auto list = composition(state.range(0) != 0);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 364 * 3, 382 * 3);
  for (auto _ : state) {
    cairo_t* cr = cairo_create(surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    zelto::render::play(list, cr, 3, textSystem());
    cairo_destroy(cr);
    cairo_surface_flush(surface);
  }
  cairo_surface_destroy(surface);
  state.SetLabel(state.range(0) != 0 ? "with glows" : "without glows (baseline)");
}
BENCHMARK(BM_Play3x)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The first frame of a process: a dark backdrop gradient over the large
// widget at 2x, vertical (Arg 1 = 0) or diagonal (1), drawn with an empty
// raster cache, i.e. rasterised by pixman and dithered (Arg 0 = 1), beside
// Cairo filling the same rectangle with its own, undithered gradient pattern
// (Arg 0 = 0, the baseline). A vertical gradient needs only one 8-pixel
// strip of raster; later frames blit the cached raster.
void BM_DarkBackdropCold2x(benchmark::State& state) {
  const bool dithered = state.range(0) != 0, diagonal = state.range(1) != 0;
  const Rect all{0, 0, 364, 382};
  using zelto::kit::UnitPoint;
  const zelto::kit::LinearGradient dark{{{Color::srgb8(7, 11, 35), 0}, {Color::srgb8(19, 27, 70), 1}},
                                        diagonal ? UnitPoint::topLeading() : UnitPoint::top(),
                                        diagonal ? UnitPoint::bottomTrailing() : UnitPoint::bottom()};
  const zelto::kit::DisplayList list{{364, 382}, {zelto::kit::FillPath{Path::rectangle(all), dark, all}}};
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 728, 764);
  for (auto _ : state) {
    cairo_t* cr = cairo_create(surface);
    if (dithered) {
      zelto::render::clearGradientRasterCache();
      zelto::render::play(list, cr, 2, textSystem());
    } else {
      cairo_pattern_t* pattern = cairo_pattern_create_linear(diagonal ? 0 : 364, 0, diagonal ? 728 : 364, 764);
      cairo_pattern_add_color_stop_rgb(pattern, 0, 7 / 255.0, 11 / 255.0, 35 / 255.0);
      cairo_pattern_add_color_stop_rgb(pattern, 1, 19 / 255.0, 27 / 255.0, 70 / 255.0);
      cairo_set_source(cr, pattern);
      cairo_paint(cr);
      cairo_pattern_destroy(pattern);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
  }
  cairo_surface_destroy(surface);
  state.SetLabel(std::string(diagonal ? "diagonal, " : "vertical, ") +
                 (dithered ? "dithered raster, cache empty" : "Cairo gradient, undithered (baseline)"));
}
BENCHMARK(BM_DarkBackdropCold2x)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// The same, encoded as PNG: most of the time is compression.
void BM_RenderPng3x(benchmark::State& state) {
  const auto list = composition(true);
  const zelto::render::Renderer renderer(textSystem());
  for (auto _ : state) benchmark::DoNotOptimize(renderer.png(list, 3));
}
BENCHMARK(BM_RenderPng3x)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
