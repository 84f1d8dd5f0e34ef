#include "widget/runtime/AccountPrioritization.hpp"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "widget/model/SaturatingAdd.hpp"

namespace zelto {
namespace {

struct LimitedAccount {
  const ZeltoAccountSnapshot* account;
  std::size_t position;
  std::int64_t lowestRemaining;
  std::int64_t remainingSum;
};

LimitedAccount rank(const ZeltoAccountSnapshot& account, std::size_t position) {
  const auto& windows = account.limits->windows;
  // An account whose limits hold no windows sorts after every account with one.
  if (windows.empty()) return {&account, position, -1, -1};
  std::int64_t lowest = std::numeric_limits<std::int64_t>::max();
  std::int64_t sum = 0;
  for (const auto& window : windows) {
    const std::int64_t remaining = window.remainingPercent();
    lowest = std::min(lowest, remaining);
    sum = saturatingAdd(sum, remaining);
  }
  return {&account, position, lowest, sum};
}

}  // namespace

std::vector<ZeltoAccountSnapshot> prioritizedAccounts(const ZeltoDashboardSnapshot& dashboard, std::int64_t limit) {
  if (limit < 1) return {};
  const auto room =
      static_cast<std::size_t>(std::min<std::int64_t>(limit, static_cast<std::int64_t>(dashboard.accounts.size())));

  // 1. Split into accounts with limits (remembering their position) and without.
  std::vector<LimitedAccount> limited;
  std::vector<const ZeltoAccountSnapshot*> unlimited;
  for (std::size_t position = 0; position < dashboard.accounts.size(); ++position) {
    const auto& account = dashboard.accounts[position];
    if (account.limits) {
      limited.push_back(rank(account, position));
    } else {
      unlimited.push_back(&account);
    }
  }

  // 2. Only when the limited accounts do not all fit are they ordered: most
  //    headroom in the tightest window, then in all windows, then position.
  if (limited.size() > room) {
    std::sort(limited.begin(), limited.end(), [](const LimitedAccount& a, const LimitedAccount& b) {
      if (a.lowestRemaining != b.lowestRemaining) return a.lowestRemaining > b.lowestRemaining;
      if (a.remainingSum != b.remainingSum) return a.remainingSum > b.remainingSum;
      return a.position < b.position;
    });
  }

  // 3. Limited accounts first, then the others, cut to the room.
  std::vector<ZeltoAccountSnapshot> result;
  result.reserve(room);
  for (const auto& entry : limited) {
    if (result.size() == room) return result;
    result.push_back(*entry.account);
  }
  for (const auto* account : unlimited) {
    if (result.size() == room) return result;
    result.push_back(*account);
  }
  return result;
}

}  // namespace zelto
