#include "apps/zelto-limits-widget/WidgetCommands.hpp"

#include <boost/json/serialize.hpp>

#include "widget/browsing/UsageWeekIntents.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/model/SnapshotJson.hpp"
#include "widget/model/UsageHistoryBounds.hpp"
#include "widget/model/ValueFormatting.hpp"
#include "widget/runtime/LimitTimelineProvider.hpp"
#include "widget/runtime/ZeltoLimitsWidget.hpp"

namespace zelto::cli {
namespace {

// The widget's provider driven as a host drives it, for one request.
struct WidgetHost {
  LimitTimelineProvider provider;
  host::WidgetCenter center;
  host::HostDriver<LimitEntry> driver{provider, center, std::string(ZeltoLimitsWidget::kind)};
};

host::TimelineProviderContext contextFor(const host::RequestEnvironment& environment, bool isPreview = false) {
  return host::TimelineProviderContext{kit::WidgetFamily::systemSmall, isPreview, environment};
}

int print(const boost::json::value& value, std::ostream& out) {
  out << boost::json::serialize(value) << '\n';
  return out ? 0 : 1;
}

}  // namespace

boost::json::value entryJson(const LimitEntry& entry) {
  boost::json::object object;
  object["date"] = dateJson(entry.date);
  object["dashboard"] = entry.dashboard ? boost::json::value(toJson(*entry.dashboard)) : boost::json::value(nullptr);
  object["usageWeekOffset"] = entry.usageWeekOffset;
  return object;
}

boost::json::value timelineJson(const host::Timeline<LimitEntry>& timeline) {
  boost::json::array entries;
  for (const auto& entry : timeline.entries) entries.push_back(entryJson(entry));
  boost::json::object object;
  object["entries"] = std::move(entries);
  object["reloadAfter"] = timeline.policy.kind == host::TimelineReloadPolicy::Kind::after
                              ? dateJson(timeline.policy.date)
                              : boost::json::value(nullptr);
  return object;
}

boost::json::value weekJson(const std::optional<ZeltoUsageWeek>& week, const host::RequestEnvironment& environment) {
  if (!week) return nullptr;
  const auto& calendar = environment.calendar;
  const auto& locale = environment.locale;
  boost::json::array days;
  for (const auto& day : week->days) {
    days.push_back(boost::json::object{
        {"date", dateJson(day.date)}, {"dayKey", dayKey(day.date, calendar)}, {"tokens", day.tokens}});
  }
  boost::json::object object;
  object["offset"] = week->offset;
  object["startDate"] = dateJson(week->startDate);
  object["endDate"] = dateJson(week->endDate);
  object["days"] = std::move(days);
  if (week->currentStreakDays) object["currentStreakDays"] = *week->currentStreakDays;
  object["isCurrentWeek"] = week->isCurrentWeek;
  object["todayTokens"] = week->todayTokens;
  object["totalTokens"] = week->totalTokens;
  object["peakTokens"] = week->peakTokens;
  object["rangeLabel"] = rangeLabel(*week, locale, calendar);
  object["abbreviated"] = boost::json::object{
      {"todayTokens", abbreviatedTokens(week->todayTokens, locale)},
      {"totalTokens", abbreviatedTokens(week->totalTokens, locale)},
      {"peakTokens", abbreviatedTokens(week->peakTokens, locale)},
  };
  return object;
}

int runPlaceholder(const host::RequestEnvironment& environment, std::ostream& out) {
  const WidgetHost host;
  return print(entryJson(host.driver.requestPlaceholder(contextFor(environment))), out);
}

int runSnapshot(const host::RequestEnvironment& environment, bool isPreview, std::ostream& out) {
  const WidgetHost host;
  return print(entryJson(host.driver.requestSnapshot(contextFor(environment, isPreview))), out);
}

int runTimeline(const host::RequestEnvironment& environment, std::ostream& out) {
  const WidgetHost host;
  return print(timelineJson(host.driver.requestTimeline(contextFor(environment))), out);
}

int runIntent(const host::RequestEnvironment& environment, WeekDirection direction, std::ostream& out) {
  host::WidgetCenter center;
  const PreviousUsageWeekIntent previous;
  const NextUsageWeekIntent next;
  const host::AppIntent& intent = direction == WeekDirection::previous ? static_cast<const host::AppIntent&>(previous)
                                                                       : static_cast<const host::AppIntent&>(next);
  intent.perform(host::IntentContext{environment, center});
  boost::json::array reloaded;
  for (const auto& kind : center.takeRequestedReloads()) reloaded.emplace_back(kind);
  const SharedSnapshotStore store(environment.container.location, environment.container.suiteName);
  return print(boost::json::object{{"usageWeekOffset", store.readWeekOffset()}, {"reloaded", std::move(reloaded)}},
               out);
}

int runWeek(const host::RequestEnvironment& environment, std::optional<std::int64_t> offset, std::ostream& out) {
  const SharedSnapshotStore store(environment.container.location, environment.container.suiteName);
  const auto dashboard = store.loadDashboard();
  if (!dashboard) return print(nullptr, out);
  const std::int64_t requested = offset.value_or(store.readWeekOffset());
  return print(weekJson(usageWeek(*dashboard, requested, environment.calendar, environment.now), environment), out);
}

}  // namespace zelto::cli
