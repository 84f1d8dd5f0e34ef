// A composition in the widget's visual language drawn by hand with the
// renderer alone (no views, no layout), written as a PNG: a quick look at
// glows, glass, gradients, tracked text and every symbol after a change to
// the renderer.
//
//   zelto-render-showcase OUTPUT.png [--scale 1..4]

#include <CLI/CLI.hpp>

#include <cstdio>
#include <numbers>
#include <optional>
#include <string>

#include "platform/render/PangoTextSystem.hpp"
#include "platform/render/RenderOutput.hpp"

namespace {

using namespace zelto;
using kit::Color;
using kit::Path;
using kit::Rect;
using std::numbers::pi;

kit::TextRequest plainRequest(double size, kit::FontWeight weight) {
  kit::TextRequest request;
  request.font = kit::Font::system(size, weight);
  return request;
}

kit::StrokeStyle lineStyle(double width, kit::LineCap cap = kit::LineCap::butt) {
  kit::StrokeStyle style;
  style.lineWidth = width;
  style.cap = cap;
  return style;
}

const Color night = Color::srgb8(7, 11, 35);
const Color midnight = Color::srgb8(19, 27, 70);
const Color indigo = Color::srgb8(104, 118, 242);
const Color periwinkle = Color::srgb8(174, 190, 255);
const Color amber = Color::srgb8(255, 181, 112);
const Color primaryText = Color::white(0.96);
const Color secondaryText = Color::srgb8(218, 226, 255, 0.72);

kit::LinearGradient accent() {
  return {{{periwinkle, 0}, {indigo, 1}}, kit::UnitPoint::leading(), kit::UnitPoint::trailing()};
}

// A composition in the widget's visual language, drawn by hand: a backdrop
// with coloured glows, a glass card, an account glyph, a ring gauge with an
// angular gradient and a glow, a capsule bar, tracked labels, and every
// symbol at three sizes on a text line.
class Showcase {
 public:
  explicit Showcase(const render::PangoTextSystem& text) : text_(text) { list_.size = {364, 382}; }

  kit::DisplayList build() {
    backdrop();
    glassCard({14, 14, 336, 354}, 22);
    header(30, 30);
    ring({36, 96, 120, 120}, 0.62);
    bar({180, 120, 150, 6}, 0.62);
    text("5 HOURS", 180, 104, label(9, 1.1), secondaryText);
    text("RESET 2 hr, 18 min", 180, 134, label(9, 0.35), secondaryText);
    bar({180, 170, 150, 6}, 0.18, amber);
    text("WEEKLY", 180, 154, label(9, 1.1), secondaryText);
    text("OPEN ZELTO LIMITS TO SYNC", 180, 192, label(9, 0.7), secondaryText);
    text("Waiting for Zelto", 180, 206, font(13, kit::FontWeight::medium), primaryText);
    symbols(36, 268);
    return list_;
  }

 private:
  static kit::TextRequest font(double size, kit::FontWeight weight, double tracking = 0) {
    kit::TextRequest r = plainRequest(size, weight);
    r.tracking = tracking;
    return r;
  }
  static kit::TextRequest label(double size, double tracking) {
    return font(size, kit::FontWeight::semibold, tracking);
  }

  void add(kit::DisplayCommand command) { list_.commands.push_back(std::move(command)); }

  void fill(Path path, kit::Paint paint, Rect bounds) { add(kit::FillPath{std::move(path), std::move(paint), bounds}); }

  kit::TextMeasurement text(std::string string, double x, double y, kit::TextRequest request, Color color) {
    request.text = std::move(string);
    const auto m = text_.measure(request, std::nullopt, std::nullopt);
    add(kit::DrawText{request, {x, y, m.size.width, m.size.height}, color});
    return m;
  }

  // A symbol whose baseline sits at `baseline`; returns its width.
  double symbol(const char* name, double size, kit::FontWeight weight, double x, double baseline, Color color) {
    const kit::SymbolRequest request{name, kit::Font::system(size, weight), 1};
    const auto m = text_.measureSymbol(request);
    add(kit::DrawSymbol{request, {x, baseline - m.baseline, m.size.width, m.size.height}, color});
    return m.size.width;
  }

  void backdrop() {
    const Rect all{0, 0, list_.size.width, list_.size.height};
    fill(Path::rectangle(all), night, all);
    fill(Path::rectangle(all),
         kit::LinearGradient{kit::evenlySpaced({night, midnight.withOpacity(0.94), Color::srgb8(30, 38, 99)}),
                             kit::UnitPoint::topLeading(), kit::UnitPoint::bottomTrailing()},
         all);
    fill(Path::rectangle(all),
         kit::RadialGradient{kit::evenlySpaced({indigo.withOpacity(0.62), Color::clear()}), {1.05, -0.08}, 0, 260},
         all);
    fill(
        Path::rectangle(all),
        kit::RadialGradient{kit::evenlySpaced({Color::srgb8(59, 91, 210, 0.28), Color::clear()}), {-0.1, 1.08}, 0, 240},
        all);
  }

  void glassCard(Rect r, double radius) {
    add(kit::PushLayer{1, kit::Shadow{Color::black(0.22), 12, 0, 7}});
    fill(Path::continuousRoundedRectangle(r, radius), Color::white(0.072), r);
    kit::StrokeStyle hairline = lineStyle(0.8);
    add(kit::StrokePath{
        Path::continuousRoundedRectangle(r, radius),
        kit::LinearGradient{kit::evenlySpaced({Color::white(0.2), indigo.withOpacity(0.14), Color::white(0.06)}),
                            kit::UnitPoint::topLeading(), kit::UnitPoint::bottomTrailing()},
        r, hairline});
    add(kit::PopLayer{});
  }

  void header(double x, double y) {
    const double d = 27;
    const Rect glyph{x, y, d, d};
    add(kit::PushLayer{1, kit::Shadow{indigo.withOpacity(0.48), 0.3 * d, 0, 0}});
    fill(Path::circle(glyph), accent(), glyph);
    add(kit::PopLayer{});
    const kit::SymbolRequest terminal{"terminal.fill",
                                      kit::Font::system(0.42 * d, kit::FontWeight::bold, kit::FontDesign::rounded), 1};
    const auto m = text_.measureSymbol(terminal);
    add(kit::DrawSymbol{
        terminal,
        {glyph.midX() - m.size.width / 2, glyph.midY() - m.size.height / 2, m.size.width, m.size.height},
        primaryText});
    const auto name = text("Personal", x + d + 7, y + 2, font(16, kit::FontWeight::semibold), primaryText);
    symbol("exclamationmark.triangle.fill", 10, kit::FontWeight::regular, x + d + 7 + name.size.width + 5,
           y + 2 + name.firstBaseline, amber);
    text("dev@example.com", x + d + 7, y + 2 + name.size.height + 1, label(9, 0), secondaryText);
  }

  void ring(Rect dial, double fraction) {
    const double lw = 9;
    fill(Path::circle(dial), Color::white(0.035), dial);
    add(kit::StrokePath{Path::circle(dial.insetBy(lw / 2, lw / 2)), Color::white(0.11), dial, lineStyle(lw)});
    const Rect arc = dial.insetBy(lw / 2, lw / 2);
    kit::AngularGradient gradient{kit::evenlySpaced({indigo, periwinkle, indigo}), kit::UnitPoint::center(), -pi / 2,
                                  3 * pi / 2};
    add(kit::PushTransform{kit::AffineTransform::rotation(-pi / 2, {arc.midX(), arc.midY()})});
    add(kit::PushLayer{1, kit::Shadow{periwinkle.withOpacity(0.58), 7, 0, 0}});
    add(kit::StrokePath{Path::circleArc(arc, 0, fraction), gradient, arc, lineStyle(lw, kit::LineCap::round)});
    add(kit::PopLayer{});
    add(kit::PopTransform{});
    auto percent = font(28, kit::FontWeight::semibold);
    percent.monospacedDigits = true;
    percent.text = "62%";
    const auto p = text_.measure(percent, std::nullopt, std::nullopt);
    auto left = label(9, 0.9);
    left.text = "LEFT";
    const auto l = text_.measure(left, std::nullopt, std::nullopt);
    const double top = dial.midY() - (p.size.height + l.size.height - 1) / 2;
    add(kit::DrawText{percent, {dial.midX() - p.size.width / 2, top, p.size.width, p.size.height}, primaryText});
    add(kit::DrawText{
        left, {dial.midX() - l.size.width / 2, top + p.size.height - 1, l.size.width, l.size.height}, secondaryText});
  }

  void bar(Rect track, double fraction, std::optional<Color> tone = std::nullopt) {
    fill(Path::continuousRoundedRectangle(track, track.height / 2), Color::white(0.14), track);
    const Rect filled{track.x, track.y, track.width * fraction, track.height};
    const Color glow = tone.value_or(periwinkle);
    add(kit::PushLayer{1, kit::Shadow{glow.withOpacity(0.52), 5, 0, 0}});
    kit::Paint paint = accent();
    if (tone)
      paint = kit::LinearGradient{
          {{tone->withOpacity(0.72), 0}, {*tone, 1}}, kit::UnitPoint::leading(), kit::UnitPoint::trailing()};
    fill(Path::continuousRoundedRectangle(filled, filled.height / 2), paint, filled);
    add(kit::PopLayer{});
  }

  void symbols(double x, double baseline) {
    const char* names[] = {"chevron.left",
                           "chevron.right",
                           "waveform.path.ecg",
                           "terminal.fill",
                           "exclamationmark.triangle",
                           "exclamationmark.triangle.fill"};
    for (double size : {30.0, 16.0, 10.0}) {
      double cursor = x;
      const auto sample = text("Ag", cursor, 0, font(size, kit::FontWeight::medium), Color::white(0.5));
      // Move the sample onto the line: its frame's top is the baseline less
      // the first baseline.
      std::get<kit::DrawText>(list_.commands.back()).frame.y = baseline - sample.firstBaseline;
      cursor += sample.size.width + 4;
      for (const char* name : names) {
        cursor += symbol(name, size, kit::FontWeight::medium, cursor, baseline, periwinkle) + size * 0.35;
      }
      baseline += size + 12;
    }
  }

  const render::PangoTextSystem& text_;
  kit::DisplayList list_;
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Draws the renderer's showcase composition into a PNG."};
  std::string output;
  double scale = 3;
  app.add_option("output", output, "PNG file to write")->required();
  app.add_option("--scale", scale, "pixels per point")->check(CLI::Range(1.0, 4.0));
  CLI11_PARSE(app, argc, argv);

  const render::PangoTextSystem text;
  const render::RenderResult result = render::Renderer(text).renderPng(Showcase(text).build(), scale, output);
  if (!result.ok()) {
    std::fprintf(stderr, "zelto-render-showcase: %s\n", result.error.c_str());
    return 1;
  }
  std::printf("%s\n", output.c_str());
  return 0;
}
