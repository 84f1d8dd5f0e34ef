// The view kit engine's own cost, on a hand-made composition written in this
// file (about 300 laid-out nodes at 364 x 382 pt, shaped like a large widget
// but not built from the widget's views: the views' own benchmarks, cold and
// warm, measure those). Every run is warm: the texts are the same each
// iteration, and the Pango text system has measured them all before timing.
//
// Side by side in one run:
// - HandMade/Build: the build phase alone (bodies, texts, styles);
// - HandMade/Layout/FlatText: build and layout with a text system that costs
//   almost nothing (characters of equal width), i.e. the layout engine's
//   own cost;
// - HandMade/Layout/PangoWarm (when the renderer is built): the same with
//   Pango answering every measurement from its cache;
// - HandMade/Paint: the display list from a laid-out tree.

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/kit/DisplayListPainter.hpp"
#include "platform/kit/Kit.hpp"
#include "platform/kit/ViewBuilder.hpp"

#ifdef ZELTO_BENCH_WITH_PANGO
#include "platform/render/PangoTextSystem.hpp"
#endif

namespace {

using namespace zelto::kit;
using zelto::Date;

// Texts as rows of equally wide characters: the cheapest honest answers.
class FlatTextSystem final : public TextSystem {
 public:
  TextMeasurement measure(const TextRequest& request, std::optional<double> width,
                          std::optional<double> height) const override {
    const double size = request.font.scaledSize(request.textScale);
    const double ideal = static_cast<double>(request.text.size()) * (0.6 * size + request.tracking);
    const double lineHeight = 1.2 * size;
    TextMeasurement m;
    int lines = width && *width > 0 ? std::max(1, static_cast<int>(std::ceil(ideal / *width))) : 1;
    int allowed = request.lineLimit.value_or(1000);
    if (height) allowed = std::min(allowed, std::max(1, static_cast<int>(*height / lineHeight)));
    m.truncated = lines > allowed;
    lines = std::min(lines, allowed);
    m.size = {width ? std::min(*width, ideal) : ideal, lines * lineHeight};
    m.firstBaseline = 0.95 * size;
    m.lastBaseline = (lines - 1) * lineHeight + 0.95 * size;
    m.lineCount = lines;
    m.displayedText = request.text;
    return m;
  }
  SymbolMeasurement measureSymbol(const SymbolRequest& request) const override {
    const double size = request.font.scaledSize(request.textScale);
    return {{size, size}, 0.9 * size, true};
  }
  std::string resolvedFamily(const Font&) const override { return "Flat"; }
  bool isFamilyInstalled(const std::string&) const override { return false; }
};

const Color periwinkle = Color::srgb8(174, 190, 255);
const Color indigo = Color::srgb8(104, 118, 242);
const Color secondary = Color::srgb8(218, 226, 255, 0.72);
const Font label = Font::system(9, FontWeight::semibold, FontDesign::rounded);
const LinearGradient accent{evenlySpaced({periwinkle, indigo}), UnitPoint::leading(), UnitPoint::trailing()};

View glyph(double size) {
  return ZStack({Circle().fill(accent).shadow(indigo.withOpacity(0.48), 0.3 * size),
                 Image("terminal.fill").font(Font::system(0.42 * size, FontWeight::bold, FontDesign::rounded))})
      .frame(size, size)
      .accessibilityHidden();
}

View glassCard(View content, double radius) {
  StrokeStyle hairline;
  hairline.lineWidth = 0.8;
  return content.background(
      ZStack({RoundedRectangle(radius).fill(Color::white(0.072)), RoundedRectangle(radius).stroke(accent, hairline)})
          .shadow(Color::black(0.22), 12, 0, 7));
}

View track(int remaining, double height) {
  return GeometryReader([remaining](Size size) {
           return ZStack(Alignment::leading(), {Capsule().fill(Color::white(0.14)),
                                                Capsule()
                                                    .fill(accent)
                                                    .shadow(periwinkle.withOpacity(0.52), 5)
                                                    .frame(size.width * remaining / 100.0, std::nullopt)});
         })
      .frame(std::nullopt, height)
      .accessibilityHidden();
}

View limitBar(const std::string& title, int remaining, Date resetsAt) {
  return VStack(HorizontalAlignment::leading, 4,
                {HStack(VerticalAlignment::lastTextBaseline, defaultSpacing,
                        {Text::verbatim(title).tracking(0.65).foregroundStyle(secondary), Spacer(),
                         Text::verbatim(std::to_string(remaining) + "%").monospacedDigit().foregroundStyle(periwinkle)})
                     .font(label),
                 track(remaining, 5), Text::localized("RESET ") + Text(resetsAt, Text::DateStyle::relative)})
      .font(label);
}

View accountRow(const std::string& name, int index, Date now) {
  const View header =
      HStack(VerticalAlignment::center, defaultSpacing,
             {HStack(VerticalAlignment::center, 7,
                     {glyph(22), Text::verbatim(name).font(Font::system(13, FontWeight::medium)).lineLimit(1),
                      Image("exclamationmark.triangle.fill").foregroundStyle(Color::srgb8(255, 181, 112))}),
              Spacer(), Text::verbatim("2 CREDITS").font(label).tracking(0.35),
              Text::verbatim("PRO")
                  .font(label)
                  .tracking(0.7)
                  .padding(Edges::horizontal(), 7)
                  .padding(Edges::vertical(), 3)
                  .background(Capsule().fill(indigo.withOpacity(0.16)))});
  const std::vector<int> windows{0, 1};
  const View bars =
      HStack(VerticalAlignment::center, 18,
             {ForEach(
                 windows, [](int w) { return w; },
                 [&](int w) {
                   return limitBar(w == 0 ? "SESSION" : "WEEKLY", 80 - 23 * (index + w), now + 3600 * (w + 1))
                       .frame(FlexibleFrame{.maxWidth = infinity});
                 })});
  return glassCard(VStack(HorizontalAlignment::leading, 6, {header, bars}).padding(9), 15);
}

View barChart(int seed) {
  return GeometryReader([seed](Size size) {
           const double barWidth = std::max(2.0, (size.width - 18) / 7);
           std::vector<int> days{0, 1, 2, 3, 4, 5, 6};
           return HStack(VerticalAlignment::bottom, 3,
                         {ForEach(
                             days, [](int d) { return d; },
                             [&](int d) {
                               const double height = 3 + (d * 7 + seed * 5) % 22;
                               return Capsule()
                                   .fill(d == 3 ? Paint(accent) : Paint(periwinkle.withOpacity(0.52)))
                                   .frame(std::nullopt, height)
                                   .shadow(d == 3 ? periwinkle.withOpacity(0.58) : Color::clear(), d == 3 ? 4 : 0)
                                   .frame(barWidth, std::nullopt, Alignment::bottom())
                                   .accessibilityElement(AccessibilityChildren::ignore)
                                   .accessibilityLabel("Day " + std::to_string(d));
                             })});
         })
      .frame(std::nullopt, 25);
}

View tokenPanel() {
  const IntentReference previous{"previous", "Previous Zelto Usage Week"};
  const IntentReference next{"next", "Next Zelto Usage Week"};
  const auto weekButton = [](const IntentReference& intent, const char* symbol, bool disabled) {
    return Button(intent, Image(symbol).frame(16, 16).background(Circle().fill(Color::white(0.08)))).disabled(disabled);
  };
  const View header =
      HStack(VerticalAlignment::center, 6,
             {Image("waveform.path.ecg").font(Font::system(10, FontWeight::semibold)),
              Text::localized("TOKEN ACTIVITY").font(label).tracking(0.75), Spacer(),
              HStack(VerticalAlignment::center, 4,
                     {weekButton(previous, "chevron.left", false),
                      Text::verbatim("MAR 10\u201316").font(label).tracking(0.25).monospacedDigit().lineLimit(1),
                      weekButton(next, "chevron.right", true)})})
          .foregroundStyle(periwinkle);
  const std::vector<std::string> accounts{"Personal", "Work"};
  const View columns =
      HStack(VerticalAlignment::top, 6,
             {ForEach(
                 accounts, [](const std::string& a) { return a; },
                 [](const std::string& a) {
                   const View tile =
                       HStack(VerticalAlignment::center, 0,
                              {VStack(HorizontalAlignment::leading, 1,
                                      {Text::verbatim("TODAY").font(label), Text::verbatim("1.2M TOKENS").font(label)})
                                   .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()}),
                               Rectangle().fill(Color::white(0.12)).frame(1, 22).padding(Edges::horizontal(), 8),
                               VStack(HorizontalAlignment::leading, 1,
                                      {Text::verbatim("STREAK").font(label), Text::verbatim("4 DAYS").font(label)})
                                   .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()})})
                           .padding(6)
                           .background(RoundedRectangle(9).fill(Color::srgb8(19, 27, 70, 0.78)));
                   return VStack(HorizontalAlignment::leading, 4,
                                 {HStack({Text::verbatim(a).font(label).lineLimit(1), Spacer(),
                                          Text::localized("7D").font(label)}),
                                  VStack(HorizontalAlignment::center, 6, {tile, barChart(static_cast<int>(a.size()))})
                                      .padding(7)
                                      .background(RoundedRectangle(11).fill(Color::black(0.11)))})
                       .frame(FlexibleFrame{.maxWidth = infinity});
                 })});
  return VStack(HorizontalAlignment::leading, 7, {header, columns})
      .padding(8)
      .background(RoundedRectangle(15).fill(LinearGradient{evenlySpaced({Color::black(0.2), indigo.withOpacity(0.1)}),
                                                           UnitPoint::leading(), UnitPoint::trailing()}))
      .overlay(RoundedRectangle(15).stroke(periwinkle.withOpacity(0.2), 0.8));
}

View largeWidget(Date now) {
  const View header =
      HStack(VerticalAlignment::center, 9,
             {glyph(30),
              VStack(HorizontalAlignment::leading, 0,
                     {Text::localized("ZELTO / LIMITS").font(label).tracking(1.25).foregroundStyle(periwinkle),
                      Text::localized("Account signals").font(Font::system(16, FontWeight::semibold))}),
              Spacer(),
              VStack(HorizontalAlignment::trailing, 1,
                     {Text::verbatim("3 CONNECTED").font(label).tracking(0.65),
                      Text(now - 120, Text::DateStyle::relative).font(Font::system(11)).monospacedDigit()})
                  .foregroundStyle(secondary)})
          .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()});
  const std::vector<std::string> names{"Ada Lovelace", "Grace Hopper", "Katherine Johnson"};
  int index = 0;
  std::vector<View> rows;
  for (const std::string& name : names) rows.push_back(accountRow(name, index++, now));
  const View aurora = ZStack({Rectangle().fill(Color::srgb8(7, 11, 35)),
                              Rectangle().fill(RadialGradient{evenlySpaced({indigo.withOpacity(0.62), Color::clear()}),
                                                              UnitPoint{1.05, -0.08}, 0, 260})})
                          .ignoresSafeArea();
  return VStack(HorizontalAlignment::leading, 8,
                {header, VStack(HorizontalAlignment::center, 6, {Group(rows)}), tokenPanel()})
      .foregroundStyle(Color::white(0.96))
      .tint(periwinkle)
      .frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()})
      .containerBackground(aurora);
}

Environment environment() {
  Environment env;
  env.now = 763000000;
  env.locale = zelto::locale::Locale::make("en_US");
  env.calendar = zelto::locale::Calendar::make("UTC", 1);
  env.widgetFamily = WidgetFamily::systemLarge;
  return env;
}

constexpr Size largeSize{364, 382};

void reportNodes(benchmark::State& state, const LaidOutTree& tree) {
  state.counters["nodes"] = static_cast<double>(tree.nodes.size());
}

void Build(benchmark::State& state) {
  const Environment env = environment();
  const View root = largeWidget(env.now);
  for (auto _ : state) {
    LaidOutTree tree;
    zelto::kit::detail::ViewBuilder builder(tree);
    zelto::kit::detail::NodeList nodes;
    builder.build(root, env, "0", false, nodes);
    benchmark::DoNotOptimize(tree.nodes.data());
  }
}
BENCHMARK(Build)->Name("HandMade/Build")->Unit(benchmark::kMicrosecond);

void LayoutFlat(benchmark::State& state) {
  const Environment env = environment();
  const View root = largeWidget(env.now);
  const FlatTextSystem textSystem;
  LaidOutTree last;
  for (auto _ : state) {
    last = layoutWidget(root, largeSize, env, textSystem);
    benchmark::DoNotOptimize(last.nodes.data());
  }
  reportNodes(state, last);
}
BENCHMARK(LayoutFlat)->Name("HandMade/Layout/FlatText")->Unit(benchmark::kMicrosecond);

#ifdef ZELTO_BENCH_WITH_PANGO
void LayoutPango(benchmark::State& state) {
  const Environment env = environment();
  const View root = largeWidget(env.now);
  const zelto::render::PangoTextSystem textSystem;
  LaidOutTree last = layoutWidget(root, largeSize, env, textSystem);  // fills the measurement cache
  for (auto _ : state) {
    last = layoutWidget(root, largeSize, env, textSystem);
    benchmark::DoNotOptimize(last.nodes.data());
  }
  reportNodes(state, last);
}
BENCHMARK(LayoutPango)->Name("HandMade/Layout/PangoWarm")->Unit(benchmark::kMicrosecond);

#endif

void PaintPhase(benchmark::State& state) {
  const Environment env = environment();
  const FlatTextSystem textSystem;
  const LaidOutTree tree = layoutWidget(largeWidget(env.now), largeSize, env, textSystem);
  for (auto _ : state) {
    DisplayList list = paint(tree);
    benchmark::DoNotOptimize(list.commands.data());
  }
  reportNodes(state, tree);
}
BENCHMARK(PaintPhase)->Name("HandMade/Paint")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
