#pragma once

#include <cairo.h>

#include "platform/kit/DisplayList.hpp"
#include "platform/render/PangoTextSystem.hpp"

namespace zelto::render {

// Draws `list` into a caller's Cairo context (a desktop window's, for
// example): one layout point is `scale` units of the context's user space.
// Nothing but the list's own commands is drawn (no background), and the
// context's state is restored afterwards. A null context, one in an error
// state, or a scale that is not a positive finite number draws nothing.
void play(const kit::DisplayList& list, cairo_t* cr, double scale, const PangoTextSystem& text);

}  // namespace zelto::render
