#pragma once

#include <string>

#include "platform/kit/View.hpp"

namespace zelto::kit {

// A named system symbol ("chevron.left", "waveform.path.ecg", ...), sized by
// the environment's font and drawn in its foreground style like a glyph of
// text; its baseline lines up with texts. A name the renderer does not know
// takes no space and draws nothing.
class Image : public View {
 public:
  explicit Image(std::string systemName);
};

}  // namespace zelto::kit
