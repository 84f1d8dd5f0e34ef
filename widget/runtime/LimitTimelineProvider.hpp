#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/host/TimelineProvider.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/runtime/LimitEntry.hpp"

namespace zelto {

// Answers the host's requests with entries read afresh from the shared suite.
// Holds no state between calls; each request opens the suite once.
class LimitTimelineProvider final : public host::TimelineProvider<LimitEntry> {
 public:
  // A new timeline is wanted this long after the one just built.
  static constexpr double reloadInterval = 900;
  // ...or this soon when the suite could not be read now.
  static constexpr double retryInterval = 2;

  explicit LimitTimelineProvider(SharedContainer container) : container_(std::move(container)) {}

  // The sample dashboard at offset 0, without reading the suite.
  LimitEntry placeholder(const host::TimelineProviderContext& context) const override;

  // The sample while the gallery is shown, else the stored dashboard.
  void getSnapshot(const host::TimelineProviderContext& context,
                   const std::function<void(LimitEntry)>& completion) const override;

  // One entry from the stored dashboard, reload 900 seconds later (2 seconds
  // when the suite could not be read now).
  void getTimeline(const host::TimelineProviderContext& context,
                   const std::function<void(host::Timeline<LimitEntry>)>& completion) const override;

  // The entry for `dashboard` now: the week offset stored in `store`, bounded
  // by how far back the dashboard's usage reaches (0 without a dashboard).
  // A dashboard that could not be read now, or an offset that could not, make
  // an entry without dashboard that says so.
  static LimitEntry makeEntry(StoreRead<std::optional<ZeltoDashboardSnapshot>> dashboard,
                              const SharedSnapshotStore& store, const host::RequestEnvironment& environment);

 private:
  SharedContainer container_;
};

}  // namespace zelto
