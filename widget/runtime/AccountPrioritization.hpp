#pragma once

#include <cstdint>
#include <vector>

#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// At most `limit` accounts for a layout with room for that many: accounts
// with limit data first; when more of them have limits than there is room
// for, those with the most headroom in their tightest window win. Accounts
// without limits only fill places left free, in stored order.
std::vector<ZeltoAccountSnapshot> prioritizedAccounts(const ZeltoDashboardSnapshot& dashboard, std::int64_t limit);

}  // namespace zelto
