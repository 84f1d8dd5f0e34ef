#include "widget/browsing/WidgetUsageWeekNavigator.hpp"

#include <optional>
#include <string>

#include "platform/kit/Button.hpp"
#include "platform/kit/Image.hpp"
#include "platform/kit/Shapes.hpp"
#include "platform/kit/Stacks.hpp"
#include "platform/kit/Text.hpp"
#include "widget/browsing/UsageWeekIntents.hpp"
#include "widget/model/UsageHistoryBounds.hpp"
#include "widget/model/UsageWeek.hpp"
#include "widget/model/ValueFormatting.hpp"
#include "widget/visuals/ZeltoFont.hpp"

namespace zelto {
namespace {

// A 16-point round button around a chevron, in the plain style.
kit::View weekButton(const host::AppIntent& intent, const std::string& symbol, bool disabled,
                     const std::string& spokenKey) {
  const kit::View label = kit::Image(symbol).frame(16, 16).background(kit::Circle().fill(kit::Color::white(0.08)));
  return kit::Button(kit::IntentReference{intent.identifier(), intent.title()}, label)
      .disabled(disabled)
      .accessibilityLabel(kit::Text::localized(spokenKey));
}

}  // namespace

kit::View WidgetUsageWeekNavigator::body(const kit::Environment& environment) const {
  const locale::Calendar& calendar = environment.effectiveCalendar();
  // 1. The oldest week any account has usage for, and 2. the week shown;
  // without usage there is nothing to navigate.
  const std::int64_t floor = earliestUsageWeekOffset(dashboard, calendar, environment.now);
  const std::optional<ZeltoUsageWeek> shown =
      usageWeek(dashboard, weekOffset, floor, calendar, environment.now);
  if (!shown) return {};

  // 3. The buttons judge the entry's own offset; the label shows the bounded week.
  const kit::View label = kit::Text::verbatim(rangeLabel(*shown, environment.effectiveLocale(), calendar))
                              .font(ZeltoFont::label(environment))
                              .tracking(0.25)
                              .monospacedDigit()
                              .lineLimit(1);
  return kit::HStack(
             kit::VerticalAlignment::center, 4,
             {
                 weekButton(PreviousUsageWeekIntent{}, "chevron.left", floor >= weekOffset, "Previous usage week"),
                 label,
                 weekButton(NextUsageWeekIntent{}, "chevron.right", weekOffset >= 0, "Next usage week"),
             })
      .viewName("WidgetUsageWeekNavigator");
}

}  // namespace zelto
