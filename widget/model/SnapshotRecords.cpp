#include "widget/model/SnapshotRecords.hpp"

#include "platform/locale/Text.hpp"

namespace zelto {

std::int64_t ZeltoLimitWindow::remainingPercent() const {
  // Compare before subtracting: 100 - usedPercent leaves the 64-bit range for
  // the most negative values.
  if (usedPercent >= 100) return 0;
  if (usedPercent <= 0) return 100;
  return 100 - usedPercent;
}

std::optional<std::string> ZeltoLimitSnapshot::planDisplayName() const {
  if (!plan || plan->empty()) return std::nullopt;
  const std::string_view text = *plan;
  const std::size_t firstLength = locale::firstGraphemeClusterLength(text);
  std::string label = locale::uppercasedRoot(text.substr(0, firstLength));
  label.append(text.substr(firstLength));
  return label;
}

std::string ZeltoAccountSnapshot::displayName() const {
  std::string trimmed = locale::trimmingWhitespaceAndNewlines(name);
  if (!trimmed.empty()) return trimmed;
  if (email) return *email;
  return "Zelto Account";
}

}  // namespace zelto
