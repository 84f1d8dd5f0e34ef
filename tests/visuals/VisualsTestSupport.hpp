#pragma once

#include <string>
#include <vector>

#include "platform/kit/Inspection.hpp"
#include "platform/kit/Kit.hpp"
#include "platform/render/PangoTextSystem.hpp"

namespace zelto::visuals::test {

// Wednesday 2025-03-12T10:00:00Z.
inline constexpr Date now = 763466400;

// The fonts a test sees: Inter and DejaVu only (system), or the same with
// DejaVu Sans installed under the custom family's name (custom).
enum class Fonts { system, custom };

const render::PangoTextSystem& textSystem(Fonts fonts);

// An environment as the program fills it, with the font answers of `fonts`.
kit::Environment environment(Fonts fonts = Fonts::system, const std::string& locale = "en_US", double textScale = 1);

kit::LaidOutTree layOut(const kit::View& view, kit::Size size,
                        const kit::Environment& environment = test::environment(), Fonts fonts = Fonts::system);

// The texts of a tree in order, as drawn.
std::vector<std::string> textsOf(const kit::LaidOutTree& tree);

// The colours of a paint: its stops, or the colour itself.
std::vector<kit::Color> colorsOf(const kit::Paint& paint);

}  // namespace zelto::visuals::test
