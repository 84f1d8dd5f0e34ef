#pragma once

#include "platform/locale/Calendar.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// Pure builders of the sample values with a given build time; the shared
// `sample(...)` members cache the first build for the life of the process.
ZeltoLimitSnapshot makeSampleLimitSnapshot(Date buildTime);
ZeltoUsageSnapshot makeSampleUsageSnapshot(Date buildTime, const locale::Calendar& calendar);
ZeltoDashboardSnapshot makeSampleDashboard(Date buildTime, const locale::Calendar& calendar);

}  // namespace zelto
