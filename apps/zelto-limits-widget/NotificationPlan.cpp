#include "apps/zelto-limits-widget/NotificationPlan.hpp"

#include <cstdlib>
#include <string>

#include "widget/runtime/AccountPrioritization.hpp"

namespace zelto::cli {

namespace {

// The remaining percentages at which a window warns, loosest first.
constexpr std::int64_t thresholds[] = {25, 10};
constexpr Date creditNotice = 24 * 3600;

// A mark starts with the instant its reset period or credit ends (empty
// when there is none), so that ended ones can be dropped.
std::string markOf(const std::optional<Date>& ends, const std::string& kind, const std::string& account,
                   const std::string& item, const std::string& level = "") {
  return (ends ? std::to_string(*ends) : std::string()) + '\t' + kind + '\t' + account + '\t' + item + '\t' + level;
}

std::string relative(const host::RequestEnvironment& environment, Date date, const char* prefix) {
  return prefix + environment.locale.formatRelative(date, environment.now);
}

void addWindowNotice(const ZeltoAccountSnapshot& account, const ZeltoLimitWindow& window,
                     const host::RequestEnvironment& environment, const std::set<std::string>& sent,
                     std::vector<DueNotification>& due) {
  if (window.resetsAt && *window.resetsAt <= environment.now) return;  // older than its reset
  const std::int64_t remaining = window.remainingPercent();
  DueNotification notice;
  bool crossedUnsent = false;
  for (const std::int64_t threshold : thresholds) {
    if (remaining > threshold) continue;
    const std::string mark = markOf(window.resetsAt, "window", account.id, window.title, std::to_string(threshold));
    crossedUnsent = crossedUnsent || !sent.contains(mark);
    notice.marks.push_back(mark);
  }
  if (!crossedUnsent) return;
  notice.id = notice.marks.back();
  notice.title = account.displayName() + " · " + window.title;
  notice.body = std::to_string(remaining) + "% left";
  if (window.resetsAt) notice.body += " · " + relative(environment, *window.resetsAt, "resets in ");
  due.push_back(std::move(notice));
}

void addCreditNotice(const ZeltoAccountSnapshot& account, const ZeltoResetCredit& credit,
                     const host::RequestEnvironment& environment, const std::set<std::string>& sent,
                     std::vector<DueNotification>& due) {
  if (!credit.expiresAt || *credit.expiresAt <= environment.now || *credit.expiresAt > environment.now + creditNotice)
    return;
  const std::string mark = markOf(credit.expiresAt, "credit", account.id, credit.id);
  if (sent.contains(mark)) return;
  due.push_back({mark,
                 account.displayName() + " · " + credit.title,
                 "Reset credit " + relative(environment, *credit.expiresAt, "expires in "),
                 {mark}});
}

}  // namespace

std::vector<DueNotification> dueNotifications(const ZeltoDashboardSnapshot& dashboard, std::int64_t shownAccounts,
                                              const host::RequestEnvironment& environment,
                                              const std::set<std::string>& sent) {
  std::vector<DueNotification> due;
  if (dashboard.accounts.empty() || shownAccounts <= 0) return due;
  for (const ZeltoAccountSnapshot& account : prioritizedAccounts(dashboard, shownAccounts)) {
    if (!account.limits) continue;
    for (const ZeltoLimitWindow& window : account.limits->windows)
      addWindowNotice(account, window, environment, sent, due);
    for (const ZeltoResetCredit& credit : account.limits->resetCredits)
      addCreditNotice(account, credit, environment, sent, due);
  }
  return due;
}

std::set<std::string> liveMarks(const std::set<std::string>& marks, Date now) {
  std::set<std::string> live;
  for (const std::string& mark : marks) {
    // Marks without an end (a window without a reset time) are kept.
    if (mark.starts_with('\t') || std::strtod(mark.c_str(), nullptr) > now) live.insert(mark);
  }
  return live;
}

}  // namespace zelto::cli
