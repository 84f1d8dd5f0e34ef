#pragma once

#include <functional>
#include <vector>

#include "platform/host/RequestEnvironment.hpp"
#include "platform/kit/WidgetFamily.hpp"
#include "platform/locale/Date.hpp"

namespace zelto::host {

using kit::WidgetFamily;

// What the host tells a provider about the widget it is asking for.
struct TimelineProviderContext {
  WidgetFamily family = WidgetFamily::systemSmall;
  // Set while the host draws its widget gallery.
  bool isPreview = false;
  RequestEnvironment environment;
};

// When the host should ask for the next timeline.
struct TimelineReloadPolicy {
  enum class Kind { atEnd, after, never };
  Kind kind = Kind::atEnd;
  Date date = 0;  // meaningful for `after`

  static TimelineReloadPolicy after(Date date) { return {Kind::after, date}; }
  static TimelineReloadPolicy atEnd() { return {Kind::atEnd, 0}; }
  static TimelineReloadPolicy never() { return {Kind::never, 0}; }
  bool operator==(const TimelineReloadPolicy&) const = default;
};

template <class Entry>
struct Timeline {
  std::vector<Entry> entries;
  TimelineReloadPolicy policy;
};

// The provider side of the contract. Each operation runs to completion on the
// calling thread; the snapshot and timeline operations call their completion
// exactly once before they return.
template <class Entry>
class TimelineProvider {
 public:
  virtual ~TimelineProvider() = default;
  virtual Entry placeholder(const TimelineProviderContext& context) const = 0;
  virtual void getSnapshot(const TimelineProviderContext& context,
                           const std::function<void(Entry)>& completion) const = 0;
  virtual void getTimeline(const TimelineProviderContext& context,
                           const std::function<void(Timeline<Entry>)>& completion) const = 0;
};

}  // namespace zelto::host
