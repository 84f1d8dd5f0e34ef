#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/host/TimelineProvider.hpp"
#include "widget/runtime/LimitEntry.hpp"

namespace zelto {

// Answers the host's requests with entries read afresh from the shared suite.
// Holds no state between calls.
class LimitTimelineProvider final : public host::TimelineProvider<LimitEntry> {
 public:
  // A new timeline is wanted this long after the one just built.
  static constexpr double reloadInterval = 900;

  // The sample dashboard at offset 0, without reading the suite.
  LimitEntry placeholder(const host::TimelineProviderContext& context) const override;

  // The sample while the gallery is shown, else the stored dashboard.
  void getSnapshot(const host::TimelineProviderContext& context,
                   const std::function<void(LimitEntry)>& completion) const override;

  // One entry from the stored dashboard, reload 900 seconds later.
  void getTimeline(const host::TimelineProviderContext& context,
                   const std::function<void(host::Timeline<LimitEntry>)>& completion) const override;

  // The entry for `dashboard` now: the stored week offset, bounded by how far
  // back the dashboard's usage reaches (0 without a dashboard).
  static LimitEntry makeEntry(std::optional<ZeltoDashboardSnapshot> dashboard,
                              const host::RequestEnvironment& environment);
};

}  // namespace zelto
