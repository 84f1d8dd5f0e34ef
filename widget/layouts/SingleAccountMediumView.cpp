#include "widget/layouts/SingleAccountMediumView.hpp"

#include "platform/kit/Kit.hpp"
#include "widget/layouts/LayoutText.hpp"
#include "widget/visuals/AccountWidgetHeader.hpp"
#include "widget/visuals/CreditBadge.hpp"
#include "widget/visuals/LimitRing.hpp"
#include "widget/visuals/EmptyLimitView.hpp"
#include "widget/visuals/ZeltoFont.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

using namespace kit;

namespace {

View verticalRule() { return Rectangle().fill(ZeltoPalette::hairline).frame(1, std::nullopt); }

}  // namespace

View SingleAccountMediumView::body(const Environment& environment) const {
  const Font label = ZeltoFont::label(environment);
  const auto& limits = account.limits;

  // 1. The account column.
  std::vector<View> accountColumn{AccountWidgetHeader{account, false}, Spacer()};
  if (limits) {
    const bool stale = environment.now - limits->fetchedAt > staleAfterSeconds;
    accountColumn.push_back(CreditBadge{std::ssize(limits->resetCredits)});
    accountColumn.push_back(layouts::labelledRelativeDate("UPDATED", limits->fetchedAt)
                                .font(label)
                                .tracking(0.5)
                                .monospacedDigit()
                                .foregroundStyle(stale ? ZeltoPalette::amber : ZeltoPalette::secondaryText));
  }
  std::vector<View> columns{
      VStack(HorizontalAlignment::leading, 8, std::move(accountColumn)).frame(105, std::nullopt, Alignment::leading()),
      verticalRule(),
  };
  if (!limits) {
    columns.push_back(EmptyLimitView{account.errorMessage.value_or("No limits")});
    return HStack(VerticalAlignment::center, 16, std::move(columns)).viewName("SingleAccountMediumView");
  }

  // 2. Up to two rings, the first windows by position, sharing the width.
  const std::span<const ZeltoLimitWindow> windows(limits->windows.data(), std::min<std::size_t>(2, limits->windows.size()));
  columns.push_back(HStack(VerticalAlignment::center, 18,
                           {ForEach(windows, [](const ZeltoLimitWindow& w) { return w.id; },
                                    [](const ZeltoLimitWindow& w) {
                                      return View(LimitRing{w, true}).frame(FlexibleFrame{.maxWidth = infinity});
                                    })}));

  // 3. The first credit's expiry, by position, when it has one.
  const auto& credits = limits->resetCredits;
  if (!credits.empty() && credits.front().expiresAt) {
    columns.push_back(verticalRule());
    columns.push_back(
        VStack(HorizontalAlignment::leading, 5,
               {Text::localized("NEXT CREDIT").font(label).tracking(0.8).foregroundStyle(ZeltoPalette::secondaryText),
                Text(*credits.front().expiresAt, Text::DateStyle::relative)
                    .font(ZeltoFont::body(environment))
                    .monospacedDigit()
                    .lineLimit(2)})
            .frame(72, std::nullopt, Alignment::leading()));
  }
  return HStack(VerticalAlignment::center, 16, std::move(columns)).viewName("SingleAccountMediumView");
}

}  // namespace zelto
