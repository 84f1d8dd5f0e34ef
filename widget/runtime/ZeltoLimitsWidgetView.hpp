#pragma once

#include <optional>

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"
#include "platform/kit/WidgetFamily.hpp"
#include "widget/runtime/LimitEntry.hpp"

namespace zelto {

// The root layouts an entry can be drawn with.
enum class WidgetLayout { waiting, smallAccount, singleAccountMedium, multiAccountMedium, multiAccountLarge };

// Which layout draws `entry` in `family`: the waiting state without accounts;
// in the medium family the multi-account view exactly when at least two
// accounts have limits; the large view whatever the number of accounts; the
// small view otherwise.
WidgetLayout widgetLayout(const LimitEntry& entry, kit::WidgetFamily family);

// The root view of every entry. It picks the layout for the family the host
// draws (the environment's, unless `previewFamily` forces one) and gives all
// layouts their default text colour, tint and top-leading placement.
struct ZeltoLimitsWidgetView {
  LimitEntry entry;
  std::optional<kit::WidgetFamily> previewFamily;

  kit::View body(const kit::Environment& environment) const;
};

// What the widget's configuration hands the host for one entry: the root view
// with the aurora as the widget's container background.
kit::View widgetConfigurationContent(const LimitEntry& entry);

}  // namespace zelto
