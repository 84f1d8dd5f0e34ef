#include "apps/zelto-limits-widget/WidgetCommands.hpp"

#include <boost/json/serialize.hpp>

#include "apps/zelto-limits-widget/RequestOptions.hpp"
#include "apps/zelto-limits-widget/SuiteOptions.hpp"
#include "widget/browsing/UsageWeekIntents.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/model/SnapshotJson.hpp"
#include "widget/model/UsageHistoryBounds.hpp"
#include "widget/model/ValueFormatting.hpp"
#include "widget/runtime/LimitTimelineProvider.hpp"
#include "widget/runtime/ZeltoLimitsWidget.hpp"

namespace zelto::cli {
namespace {

// The widget as a host holds it for one request: its provider, the week
// intents its buttons run, the widget centre and the driver.
struct WidgetHost {
  explicit WidgetHost(const SharedContainer& container) : provider(container), previous(container), next(container) {}
  LimitTimelineProvider provider;
  PreviousUsageWeekIntent previous;
  NextUsageWeekIntent next;
  host::WidgetCenter center;
  host::HostDriver<LimitEntry> driver{provider, center, std::string(ZeltoLimitsWidget::kind)};
};

host::TimelineProviderContext contextFor(const host::RequestEnvironment& environment, bool isPreview = false) {
  return host::TimelineProviderContext{kit::WidgetFamily::systemSmall, isPreview, environment};
}

// An entry that could not be read now is not printed as "no data".
const LimitEntry& readable(const LimitEntry& entry) {
  if (entry.transientFailure) throw SuiteBusyError(*entry.transientFailure);
  return entry;
}

template <class T>
T readable(StoreRead<T> read) {
  if (read.isBusy()) throw SuiteBusyError(read.busy().message);
  return std::move(read).value();
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

int runPlaceholder(const host::RequestEnvironment& environment, const SharedContainer& container, std::ostream& out) {
  const WidgetHost host(container);
  return print(entryJson(host.driver.requestPlaceholder(contextFor(environment))), out);
}

int runSnapshot(const host::RequestEnvironment& environment, const SharedContainer& container, bool isPreview,
                std::ostream& out) {
  const WidgetHost host(container);
  return print(entryJson(readable(host.driver.requestSnapshot(contextFor(environment, isPreview)))), out);
}

int runTimeline(const host::RequestEnvironment& environment, const SharedContainer& container, std::ostream& out) {
  const WidgetHost host(container);
  const auto timeline = host.driver.requestTimeline(contextFor(environment));
  for (const auto& entry : timeline.entries) readable(entry);
  return print(timelineJson(timeline), out);
}

int runIntent(const host::RequestEnvironment& environment, const SharedContainer& container, WeekDirection direction,
              std::ostream& out) {
  const WidgetHost host(container);
  const host::AppIntent& intent = direction == WeekDirection::previous ? static_cast<const host::AppIntent&>(host.previous)
                                                                       : static_cast<const host::AppIntent&>(host.next);
  const auto run = host.driver.runIntent(intent, contextFor(environment));
  switch (run.result.outcome()) {
    case host::IntentResult::Outcome::done:
      break;
    case host::IntentResult::Outcome::notRunNow:
      throw SuiteBusyError(run.result.reason());
    case host::IntentResult::Outcome::failed:
      throw UsageError("the intent did not run: " + run.result.reason());
  }
  boost::json::array reloaded;
  for (const auto& kind : run.reloadedKinds) reloaded.emplace_back(kind);
  // After a run the widget shows the offset the intent stored.
  const std::int64_t shown = run.timeline ? readable(run.timeline->entries.at(0)).usageWeekOffset : 0;
  return print(boost::json::object{{"usageWeekOffset", shown}, {"reloaded", std::move(reloaded)}}, out);
}

int runWeek(const host::RequestEnvironment& environment, const SharedContainer& container,
            std::optional<std::int64_t> offset, std::ostream& out) {
  const SharedSnapshotStore store(container);
  const auto dashboard = readable(store.loadDashboard());
  if (!dashboard) return print(nullptr, out);
  const std::int64_t requested = offset ? *offset : readable(store.readWeekOffset());
  return print(weekJson(usageWeek(*dashboard, requested, environment.calendar, environment.now), environment), out);
}

}  // namespace zelto::cli
