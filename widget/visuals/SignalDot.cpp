#include "widget/visuals/SignalDot.hpp"

#include "platform/kit/Shapes.hpp"

namespace zelto {

kit::View SignalDot::body() const {
  return kit::Circle()
      .fill(color)
      .frame(5, 5)
      .shadow(color.withOpacity(0.8), 3)
      .accessibilityHidden()
      .viewName("SignalDot");
}

}  // namespace zelto
