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
  // An ASCII character followed by another (or by nothing) is a cluster of
  // its own, except a carriage return before a line feed; its capital is the
  // ASCII one. Plan names are such words, so most need no break iterator.
  const auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  if (ascii(text[0]) && (text.size() == 1 || (ascii(text[1]) && !(text[0] == '\r' && text[1] == '\n')))) {
    std::string label(text);
    if (label[0] >= 'a' && label[0] <= 'z') label[0] = static_cast<char>(label[0] - 'a' + 'A');
    return label;
  }
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
