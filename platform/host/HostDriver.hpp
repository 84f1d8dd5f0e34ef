#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/host/AppIntent.hpp"
#include "platform/host/TimelineProvider.hpp"
#include "platform/host/WidgetCenter.hpp"

namespace zelto::host {

// A provider broke the contract (a completion not called exactly once).
class HostContractViolation : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Runs a timeline provider and intents the way a widget host does: a
// placeholder or a snapshot first, then timelines; after an intent, a new
// timeline for every reload of the widget's kind that it requested.
template <class Entry>
class HostDriver {
 public:
  HostDriver(const TimelineProvider<Entry>& provider, WidgetCenter& widgetCenter, std::string kind)
      : provider_(provider), widgetCenter_(widgetCenter), kind_(std::move(kind)) {}

  const std::string& kind() const { return kind_; }

  Entry requestPlaceholder(const TimelineProviderContext& context) const { return provider_.placeholder(context); }

  Entry requestSnapshot(const TimelineProviderContext& context) const {
    std::optional<Entry> received;
    int calls = 0;
    provider_.getSnapshot(context, [&](Entry entry) {
      ++calls;
      received = std::move(entry);
    });
    if (calls != 1) throw HostContractViolation(violation("snapshot", calls));
    return std::move(*received);
  }

  Timeline<Entry> requestTimeline(const TimelineProviderContext& context) const {
    std::optional<Timeline<Entry>> received;
    int calls = 0;
    provider_.getTimeline(context, [&](Timeline<Entry> timeline) {
      ++calls;
      received = std::move(timeline);
    });
    if (calls != 1) throw HostContractViolation(violation("timeline", calls));
    return std::move(*received);
  }

  struct IntentRun {
    IntentResult result;
    // Every kind whose reload the intent requested, in order.
    std::vector<std::string> reloadedKinds;
    // The timeline the host asked for afterwards, when the widget's kind was
    // among them.
    std::optional<Timeline<Entry>> timeline;
  };

  // Runs `intent` (never opening the application), then answers its reload
  // requests for this widget's kind with one new timeline request.
  IntentRun runIntent(const AppIntent& intent, const TimelineProviderContext& context) const {
    widgetCenter_.takeRequestedReloads();
    IntentRun run{intent.perform(IntentContext{context.environment, widgetCenter_}), {}, std::nullopt};
    run.reloadedKinds = widgetCenter_.takeRequestedReloads();
    for (const auto& reloaded : run.reloadedKinds) {
      if (reloaded == kind_) {
        run.timeline = requestTimeline(context);
        break;
      }
    }
    return run;
  }

 private:
  static std::string violation(const char* operation, int calls) {
    return std::string("the provider called its ") + operation + " completion " + std::to_string(calls) +
           " times instead of once";
  }

  const TimelineProvider<Entry>& provider_;
  WidgetCenter& widgetCenter_;
  std::string kind_;
};

}  // namespace zelto::host
