#include "widget/model/SnapshotJson.hpp"

#include <boost/json/monotonic_resource.hpp>
#include <boost/json/parser.hpp>
#include <boost/json/serialize.hpp>
#include <boost/json/value.hpp>

#include <charconv>
#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <vector>

namespace zelto {

namespace json = boost::json;

std::string DecodingError::describe() const { return path.empty() ? message : path + ": " + message; }

namespace {

// Deep enough for any future nesting of unknown members; the parser keeps
// its own stack, so depth costs no recursion.
constexpr std::size_t maximumNestingDepth = 512;

// 2^63: the first whole number above the signed 64-bit range, exact as a double.
constexpr double twoToThe63 = 9223372036854775808.0;

// Where the walk stands, as a chain of stack frames pointing at their parent;
// turned into text only when a read fails.
struct Path {
  enum class Kind { root, member, element };

  const Path* parent = nullptr;
  Kind kind = Kind::root;
  std::string_view key;
  std::size_t index = 0;

  Path member(std::string_view name) const { return Path{this, Kind::member, name, 0}; }
  Path element(std::size_t position) const { return Path{this, Kind::element, {}, position}; }

  std::string text() const {
    std::vector<const Path*> chain;
    for (const Path* step = this; step && step->kind != Kind::root; step = step->parent) chain.push_back(step);
    std::string result;
    for (auto step = chain.rbegin(); step != chain.rend(); ++step) {
      if ((*step)->kind == Kind::member) {
        if (!result.empty()) result += '.';
        result.append((*step)->key);
      } else {
        result += '[';
        result += std::to_string((*step)->index);
        result += ']';
      }
    }
    return result;
  }
};

// Thrown inside the walk and caught at the top: the whole value decodes or
// nothing does.
struct DecodeFailure {
  DecodingError error;
};

[[noreturn]] void fail(const Path& path, std::string message) {
  throw DecodeFailure{DecodingError{path.text(), std::move(message)}};
}

std::string describeNumber(double number) {
  if (!std::isfinite(number)) return number > 0 ? "a number too large to represent" : "a number too small to represent";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
  return std::string(buffer, result.ptr);
}

// What a value is, for "found ..." in messages: the number itself for
// numbers (they are short), the kind for everything else.
std::string describe(const json::value& value) {
  switch (value.kind()) {
    case json::kind::null:
      return "null";
    case json::kind::bool_:
      return "a boolean";
    case json::kind::int64:
      return std::to_string(value.get_int64());
    case json::kind::uint64:
      return std::to_string(value.get_uint64());
    case json::kind::double_:
      return describeNumber(value.get_double());
    case json::kind::string:
      return "a string";
    case json::kind::array:
      return "an array";
    case json::kind::object:
      return "an object";
  }
  return "an unknown value";
}

// 1. Conversions of single values.

std::string readString(const json::value& value, const Path& path) {
  const json::string* text = value.if_string();
  if (!text) fail(path, "expected a string, found " + describe(value));
  return std::string(text->data(), text->size());
}

std::int64_t readInteger(const json::value& value, const Path& path) {
  switch (value.kind()) {
    case json::kind::int64:
      return value.get_int64();
    case json::kind::double_: {
      // A whole number may be written with a fraction or an exponent. The
      // parser hands over the nearest double, so -2^63 itself may stand for a
      // number just below the range (-9223372036854775809): only a plain
      // integer literal reaches the smallest value.
      const double number = value.get_double();
      if (!(number > -twoToThe63 && number < twoToThe63)) {
        fail(path, "expected a whole number within the signed 64-bit range, found " + describeNumber(number));
      }
      if (std::trunc(number) != number) fail(path, "expected a whole number, found " + describeNumber(number));
      return static_cast<std::int64_t>(number);
    }
    case json::kind::uint64:
      // The parser only produces uint64 above the signed range.
      fail(path, "expected a whole number within the signed 64-bit range, found " + describe(value));
    default:
      fail(path, "expected a whole number, found " + describe(value));
  }
}

Date readDate(const json::value& value, const Path& path) {
  switch (value.kind()) {
    case json::kind::int64:
      return static_cast<Date>(value.get_int64());
    case json::kind::uint64:
      return static_cast<Date>(value.get_uint64());
    case json::kind::double_: {
      // The parser turns a number beyond the double range (1e400) into an
      // infinity; no calendar can place such an instant.
      const double number = value.get_double();
      if (!std::isfinite(number)) fail(path, "expected a finite number, found " + describeNumber(number));
      return number;
    }
    default:
      fail(path, "expected a number, found " + describe(value));
  }
}

const json::object& readObject(const json::value& value, const Path& path) {
  const json::object* object = value.if_object();
  if (!object) fail(path, "expected an object, found " + describe(value));
  return *object;
}

// 2. Members and arrays.

template <class Reader>
auto requiredMember(const json::object& object, std::string_view key, const Path& parent, Reader read) {
  const Path path = parent.member(key);
  const json::value* value = object.if_contains(key);
  if (!value) fail(path, "missing required member");
  return read(*value, path);
}

// A missing key and null read alike: absent.
template <class Reader>
auto optionalMember(const json::object& object, std::string_view key, const Path& parent, Reader read)
    -> std::optional<decltype(read(std::declval<const json::value&>(), parent))> {
  const json::value* value = object.if_contains(key);
  if (!value || value->is_null()) return std::nullopt;
  return read(*value, parent.member(key));
}

template <class Reader>
auto readArray(const json::value& value, const Path& path, Reader readElement) {
  using Element = decltype(readElement(value, path));
  const json::array* array = value.if_array();
  if (!array) fail(path, "expected an array, found " + describe(value));
  std::vector<Element> elements;
  elements.reserve(array->size());
  for (std::size_t index = 0; index < array->size(); ++index) {
    elements.push_back(readElement((*array)[index], path.element(index)));
  }
  return elements;
}

template <class Reader>
auto arrayReader(Reader readElement) {
  return [readElement](const json::value& value, const Path& path) { return readArray(value, path, readElement); };
}

// 3. Records, fields in their natural order; unknown keys are never looked at.

ZeltoLimitWindow readWindow(const json::value& value, const Path& path) {
  const json::object& object = readObject(value, path);
  ZeltoLimitWindow window;
  window.id = requiredMember(object, "id", path, readString);
  window.title = requiredMember(object, "title", path, readString);
  window.usedPercent = requiredMember(object, "usedPercent", path, readInteger);
  window.resetsAt = optionalMember(object, "resetsAt", path, readDate);
  window.durationMinutes = optionalMember(object, "durationMinutes", path, readInteger);
  return window;
}

ZeltoResetCredit readResetCredit(const json::value& value, const Path& path) {
  const json::object& object = readObject(value, path);
  ZeltoResetCredit credit;
  credit.id = requiredMember(object, "id", path, readString);
  credit.title = requiredMember(object, "title", path, readString);
  credit.expiresAt = optionalMember(object, "expiresAt", path, readDate);
  return credit;
}

ZeltoLimitSnapshot readLimitSnapshot(const json::value& value, const Path& path) {
  const json::object& object = readObject(value, path);
  ZeltoLimitSnapshot limits;
  limits.fetchedAt = requiredMember(object, "fetchedAt", path, readDate);
  limits.plan = optionalMember(object, "plan", path, readString);
  limits.windows = requiredMember(object, "windows", path, arrayReader(readWindow));
  limits.creditBalance = optionalMember(object, "creditBalance", path, readString);
  limits.resetCredits = requiredMember(object, "resetCredits", path, arrayReader(readResetCredit));
  return limits;
}

ZeltoUsageDay readUsageDay(const json::value& value, const Path& path) {
  const json::object& object = readObject(value, path);
  ZeltoUsageDay day;
  day.startDate = requiredMember(object, "startDate", path, readString);
  day.tokens = requiredMember(object, "tokens", path, readInteger);
  return day;
}

ZeltoUsageSummary readUsageSummary(const json::value& value, const Path& path) {
  const json::object& object = readObject(value, path);
  ZeltoUsageSummary summary;
  summary.currentStreakDays = optionalMember(object, "currentStreakDays", path, readInteger);
  summary.lifetimeTokens = optionalMember(object, "lifetimeTokens", path, readInteger);
  summary.longestRunningTurnSec = optionalMember(object, "longestRunningTurnSec", path, readInteger);
  summary.longestStreakDays = optionalMember(object, "longestStreakDays", path, readInteger);
  summary.peakDailyTokens = optionalMember(object, "peakDailyTokens", path, readInteger);
  return summary;
}

ZeltoUsageSnapshot readUsageSnapshot(const json::value& value, const Path& path) {
  const json::object& object = readObject(value, path);
  ZeltoUsageSnapshot usage;
  usage.fetchedAt = requiredMember(object, "fetchedAt", path, readDate);
  usage.dailyUsageBuckets = requiredMember(object, "dailyUsageBuckets", path, arrayReader(readUsageDay));
  usage.summary = requiredMember(object, "summary", path, readUsageSummary);
  return usage;
}

ZeltoAccountSnapshot readAccount(const json::value& value, const Path& path) {
  const json::object& object = readObject(value, path);
  ZeltoAccountSnapshot account;
  account.id = requiredMember(object, "id", path, readString);
  account.name = requiredMember(object, "name", path, readString);
  account.email = optionalMember(object, "email", path, readString);
  account.limits = optionalMember(object, "limits", path, readLimitSnapshot);
  account.usage = optionalMember(object, "usage", path, readUsageSnapshot);
  account.errorMessage = optionalMember(object, "errorMessage", path, readString);
  return account;
}

ZeltoDashboardSnapshot readDashboard(const json::value& value, const Path& path) {
  const json::object& object = readObject(value, path);
  ZeltoDashboardSnapshot dashboard;
  dashboard.updatedAt = requiredMember(object, "updatedAt", path, readDate);
  dashboard.accounts = requiredMember(object, "accounts", path, arrayReader(readAccount));
  return dashboard;
}

// 4. One parse of the whole input into a value held by a monotonic arena
// (most snapshots fit the stack buffer), then one walk over it.
template <class Record, class Reader>
DecodeResult<Record> decodeTopLevel(std::string_view text, Reader read) {
  unsigned char arenaBuffer[8192];
  unsigned char parserBuffer[2048];
  json::monotonic_resource arena(arenaBuffer, sizeof arenaBuffer);
  json::parse_options options;
  options.max_depth = maximumNestingDepth;
  // Strict RFC 8259: no comments, no trailing commas, valid UTF-8 only, and
  // nothing but white space after the one value. A repeated key keeps its
  // last value.
  json::parser parser(json::storage_ptr(), options, parserBuffer, sizeof parserBuffer);
  parser.reset(&arena);
  json::error_code error;
  const std::size_t consumed = parser.write(text.data(), text.size(), error);
  if (error) {
    return DecodingError{{}, "invalid JSON at byte " + std::to_string(consumed) + ": " + error.message()};
  }
  const json::value root = parser.release();
  if (!root.is_object()) return DecodingError{{}, "expected a JSON object, found " + describe(root)};
  try {
    return read(root, Path{});
  } catch (DecodeFailure& failure) {
    return std::move(failure.error);
  }
}

// 5. Writing.

json::value dateValue(Date date) {
  if (!std::isfinite(date))
    throw std::invalid_argument("a date must be a finite number of seconds to be written as JSON");
  // Whole seconds are written as integers (763291800 rather than 7.632918E8).
  if (date >= -twoToThe63 && date < twoToThe63 && std::trunc(date) == date) {
    return json::value(static_cast<std::int64_t>(date));
  }
  return json::value(date);
}

template <class Field>
void emplaceOptional(json::object& object, std::string_view key, const std::optional<Field>& field) {
  if (!field) return;
  if constexpr (std::is_same_v<Field, Date>) {
    object.emplace(key, dateValue(*field));
  } else {
    object.emplace(key, *field);
  }
}

json::object windowJson(const ZeltoLimitWindow& window) {
  json::object object;
  object.reserve(5);
  object.emplace("id", window.id);
  object.emplace("title", window.title);
  object.emplace("usedPercent", window.usedPercent);
  emplaceOptional(object, "resetsAt", window.resetsAt);
  emplaceOptional(object, "durationMinutes", window.durationMinutes);
  return object;
}

json::object resetCreditJson(const ZeltoResetCredit& credit) {
  json::object object;
  object.reserve(3);
  object.emplace("id", credit.id);
  object.emplace("title", credit.title);
  emplaceOptional(object, "expiresAt", credit.expiresAt);
  return object;
}

json::object usageJson(const ZeltoUsageSnapshot& usage) {
  json::object object;
  object.reserve(3);
  object.emplace("fetchedAt", dateValue(usage.fetchedAt));
  json::array buckets;
  buckets.reserve(usage.dailyUsageBuckets.size());
  for (const ZeltoUsageDay& day : usage.dailyUsageBuckets) {
    json::object bucket;
    bucket.reserve(2);
    bucket.emplace("startDate", day.startDate);
    bucket.emplace("tokens", day.tokens);
    buckets.emplace_back(std::move(bucket));
  }
  object.emplace("dailyUsageBuckets", std::move(buckets));
  json::object summary;
  emplaceOptional(summary, "currentStreakDays", usage.summary.currentStreakDays);
  emplaceOptional(summary, "lifetimeTokens", usage.summary.lifetimeTokens);
  emplaceOptional(summary, "longestRunningTurnSec", usage.summary.longestRunningTurnSec);
  emplaceOptional(summary, "longestStreakDays", usage.summary.longestStreakDays);
  emplaceOptional(summary, "peakDailyTokens", usage.summary.peakDailyTokens);
  object.emplace("summary", std::move(summary));
  return object;
}

json::object accountJson(const ZeltoAccountSnapshot& account) {
  json::object object;
  object.reserve(6);
  object.emplace("id", account.id);
  object.emplace("name", account.name);
  emplaceOptional(object, "email", account.email);
  if (account.limits) object.emplace("limits", toJson(*account.limits));
  if (account.usage) object.emplace("usage", usageJson(*account.usage));
  emplaceOptional(object, "errorMessage", account.errorMessage);
  return object;
}

}  // namespace

DecodeResult<ZeltoDashboardSnapshot> decodeDashboardSnapshot(std::string_view json) {
  return decodeTopLevel<ZeltoDashboardSnapshot>(json, readDashboard);
}

DecodeResult<ZeltoLimitSnapshot> decodeLimitSnapshot(std::string_view json) {
  return decodeTopLevel<ZeltoLimitSnapshot>(json, readLimitSnapshot);
}

json::object toJson(const ZeltoDashboardSnapshot& dashboard) {
  json::object object;
  object.reserve(2);
  object.emplace("updatedAt", dateValue(dashboard.updatedAt));
  json::array accounts;
  accounts.reserve(dashboard.accounts.size());
  for (const ZeltoAccountSnapshot& account : dashboard.accounts) accounts.emplace_back(accountJson(account));
  object.emplace("accounts", std::move(accounts));
  return object;
}

json::object toJson(const ZeltoLimitSnapshot& limits) {
  json::object object;
  object.reserve(5);
  object.emplace("fetchedAt", dateValue(limits.fetchedAt));
  emplaceOptional(object, "plan", limits.plan);
  json::array windows;
  windows.reserve(limits.windows.size());
  for (const ZeltoLimitWindow& window : limits.windows) windows.emplace_back(windowJson(window));
  object.emplace("windows", std::move(windows));
  emplaceOptional(object, "creditBalance", limits.creditBalance);
  json::array credits;
  credits.reserve(limits.resetCredits.size());
  for (const ZeltoResetCredit& credit : limits.resetCredits) credits.emplace_back(resetCreditJson(credit));
  object.emplace("resetCredits", std::move(credits));
  return object;
}

std::string encodeJson(const ZeltoDashboardSnapshot& dashboard) { return json::serialize(toJson(dashboard)); }

std::string encodeJson(const ZeltoLimitSnapshot& limits) { return json::serialize(toJson(limits)); }

boost::json::value dateJson(Date date) { return dateValue(date); }

}  // namespace zelto
