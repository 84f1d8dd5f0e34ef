// libFuzzer target for the snapshot decoders. For any bytes, each decoder
// either fails with a reason or gives a record that the writer turns into
// JSON that reads back as the same record; the derived values of a decoded
// record stay within their ranges. A violation aborts, and the sanitizers
// catch memory and undefined-behaviour faults on the way.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <type_traits>

#include "widget/model/SnapshotJson.hpp"

namespace {

using namespace zelto;

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "snapshot decoder fuzzer: %s\n", what);
  std::abort();
}

// Boost.JSON 1.81 reads some doubles of 16 or 17 significant digits one unit
// in the last place off, so a date read back may differ by that much.
bool sameDate(Date read, Date written) { return read == written || std::nextafter(written, read) == read; }
bool sameDate(const std::optional<Date>& read, const std::optional<Date>& written) {
  return read.has_value() == written.has_value() && (!read || sameDate(*read, *written));
}

bool same(const ZeltoLimitSnapshot& read, const ZeltoLimitSnapshot& written) {
  ZeltoLimitSnapshot datesAligned = read;
  if (!sameDate(read.fetchedAt, written.fetchedAt)) return false;
  datesAligned.fetchedAt = written.fetchedAt;
  if (read.windows.size() != written.windows.size() || read.resetCredits.size() != written.resetCredits.size()) {
    return false;
  }
  for (std::size_t index = 0; index < read.windows.size(); ++index) {
    if (!sameDate(read.windows[index].resetsAt, written.windows[index].resetsAt)) return false;
    datesAligned.windows[index].resetsAt = written.windows[index].resetsAt;
  }
  for (std::size_t index = 0; index < read.resetCredits.size(); ++index) {
    if (!sameDate(read.resetCredits[index].expiresAt, written.resetCredits[index].expiresAt)) return false;
    datesAligned.resetCredits[index].expiresAt = written.resetCredits[index].expiresAt;
  }
  return datesAligned == written;
}

bool same(const ZeltoDashboardSnapshot& read, const ZeltoDashboardSnapshot& written) {
  if (!sameDate(read.updatedAt, written.updatedAt) || read.accounts.size() != written.accounts.size()) return false;
  for (std::size_t index = 0; index < read.accounts.size(); ++index) {
    ZeltoAccountSnapshot account = read.accounts[index];
    const ZeltoAccountSnapshot& original = written.accounts[index];
    if (account.limits.has_value() != original.limits.has_value()) return false;
    if (account.limits && !same(*account.limits, *original.limits)) return false;
    account.limits = original.limits;
    if (account.usage && original.usage) {
      if (!sameDate(account.usage->fetchedAt, original.usage->fetchedAt)) return false;
      account.usage->fetchedAt = original.usage->fetchedAt;
    }
    if (!(account == original)) return false;
  }
  return true;
}

void checkDerivedValues(const ZeltoLimitSnapshot& limits) {
  for (const ZeltoLimitWindow& window : limits.windows) {
    const std::int64_t remaining = window.remainingPercent();
    require(remaining >= 0 && remaining <= 100, "remainingPercent left 0...100");
  }
  if (const auto plan = limits.planDisplayName()) require(!plan->empty(), "an empty plan label");
}

template <class Record, class Decode>
void checkDecoder(std::string_view bytes, Decode decode) {
  const DecodeResult<Record> result = decode(bytes);
  if (!result.ok()) {
    require(!result.error().message.empty(), "a failure without a reason");
    return;
  }
  const Record& record = result.value();
  const DecodeResult<Record> again = decode(encodeJson(record));
  require(again.ok(), "the writer's JSON does not read back");
  require(same(again.value(), record), "the writer's JSON reads back as another record");
  if constexpr (std::is_same_v<Record, ZeltoDashboardSnapshot>) {
    for (const ZeltoAccountSnapshot& account : record.accounts) {
      (void)account.displayName();
      if (account.limits) checkDerivedValues(*account.limits);
    }
  } else {
    checkDerivedValues(record);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  checkDecoder<ZeltoDashboardSnapshot>(bytes, decodeDashboardSnapshot);
  checkDecoder<ZeltoLimitSnapshot>(bytes, decodeLimitSnapshot);
  return 0;
}
