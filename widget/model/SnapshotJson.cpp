#include "widget/model/SnapshotJson.hpp"

#include <boost/json/basic_parser_impl.hpp>
#include <boost/json/serialize.hpp>
#include <boost/json/value.hpp>

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <tuple>
#include <type_traits>
#include <vector>

#include "platform/locale/Text.hpp"
#include "widget/model/SnapshotJsonParse.hpp"

namespace zelto {

namespace json = boost::json;

std::string DecodingError::describe() const { return path.empty() ? message : path + ": " + message; }

namespace {

// 1. Each record's fields, in their natural order, written once: the reader
// and the writer both walk these lists. A field's JSON key is its name; a
// std::optional member is an optional field (missing and null read as
// absent, absent is not written), any other member is required. The member's
// type says how its value reads and writes: std::string a string,
// std::int64_t a whole number, Date a number of seconds since the reference
// date, std::vector an array, a record a nested object.

template <class Record, class Member>
struct Field {
  std::string_view key;
  Member Record::*member;
};

template <class Record, class Member>
constexpr Field<Record, Member> field(std::string_view key, Member Record::*member) {
  return {key, member};
}

template <class Record>
struct Fields;

template <>
struct Fields<ZeltoLimitWindow> {
  static constexpr std::tuple list{
      field("id", &ZeltoLimitWindow::id),
      field("title", &ZeltoLimitWindow::title),
      field("usedPercent", &ZeltoLimitWindow::usedPercent),
      field("resetsAt", &ZeltoLimitWindow::resetsAt),
      field("durationMinutes", &ZeltoLimitWindow::durationMinutes),
  };
};

template <>
struct Fields<ZeltoResetCredit> {
  static constexpr std::tuple list{
      field("id", &ZeltoResetCredit::id),
      field("title", &ZeltoResetCredit::title),
      field("expiresAt", &ZeltoResetCredit::expiresAt),
  };
};

template <>
struct Fields<ZeltoLimitSnapshot> {
  static constexpr std::tuple list{
      field("fetchedAt", &ZeltoLimitSnapshot::fetchedAt),
      field("plan", &ZeltoLimitSnapshot::plan),
      field("windows", &ZeltoLimitSnapshot::windows),
      field("creditBalance", &ZeltoLimitSnapshot::creditBalance),
      field("resetCredits", &ZeltoLimitSnapshot::resetCredits),
  };
};

template <>
struct Fields<ZeltoUsageDay> {
  static constexpr std::tuple list{
      field("startDate", &ZeltoUsageDay::startDate),
      field("tokens", &ZeltoUsageDay::tokens),
  };
};

template <>
struct Fields<ZeltoUsageSummary> {
  static constexpr std::tuple list{
      field("currentStreakDays", &ZeltoUsageSummary::currentStreakDays),
      field("lifetimeTokens", &ZeltoUsageSummary::lifetimeTokens),
      field("longestRunningTurnSec", &ZeltoUsageSummary::longestRunningTurnSec),
      field("longestStreakDays", &ZeltoUsageSummary::longestStreakDays),
      field("peakDailyTokens", &ZeltoUsageSummary::peakDailyTokens),
  };
};

template <>
struct Fields<ZeltoUsageSnapshot> {
  static constexpr std::tuple list{
      field("fetchedAt", &ZeltoUsageSnapshot::fetchedAt),
      field("dailyUsageBuckets", &ZeltoUsageSnapshot::dailyUsageBuckets),
      field("summary", &ZeltoUsageSnapshot::summary),
  };
};

template <>
struct Fields<ZeltoAccountSnapshot> {
  static constexpr std::tuple list{
      field("id", &ZeltoAccountSnapshot::id),       field("name", &ZeltoAccountSnapshot::name),
      field("email", &ZeltoAccountSnapshot::email), field("limits", &ZeltoAccountSnapshot::limits),
      field("usage", &ZeltoAccountSnapshot::usage), field("errorMessage", &ZeltoAccountSnapshot::errorMessage),
  };
};

template <>
struct Fields<ZeltoDashboardSnapshot> {
  static constexpr std::tuple list{
      field("updatedAt", &ZeltoDashboardSnapshot::updatedAt),
      field("accounts", &ZeltoDashboardSnapshot::accounts),
  };
};

template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};

template <class T>
struct IsVector : std::false_type {};
template <class T>
struct IsVector<std::vector<T>> : std::true_type {};

template <class Record, class Visit>
void forEachField(Visit&& visit) {
  std::apply([&](const auto&... fields) { (visit(fields), ...); }, Fields<Record>::list);
}

// 2. Where the walk stands, as a chain of stack frames pointing at their
// parent; turned into text only when a read fails.

// 2^63: the first whole number above the signed 64-bit range, exact as a double.
constexpr double twoToThe63 = 9223372036854775808.0;

void appendMember(std::string& path, std::string_view key) {
  if (!path.empty()) path += '.';
  path.append(key);
}

void appendElement(std::string& path, std::size_t index) {
  path += '[';
  path += std::to_string(index);
  path += ']';
}

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
        appendMember(result, (*step)->key);
      } else {
        appendElement(result, (*step)->index);
      }
    }
    return result;
  }
};

// Thrown inside the walk and caught at the top: the whole value decodes or
// nothing does. A number outside the signed 64-bit range is quoted as it was
// written, which only the source text still holds (the parsed value may be a
// rounded double), so its message is finished at the top.
struct DecodeFailure {
  DecodingError error;
  bool quoteNumberText = false;
};

[[noreturn]] void fail(const Path& path, std::string message, bool quoteNumberText = false) {
  throw DecodeFailure{DecodingError{path.text(), std::move(message)}, quoteNumberText};
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

// 3. Reading, by the member's type.

constexpr const char* outOfRange = "expected a whole number within the signed 64-bit range, found ";

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
      if (!(number > -twoToThe63 && number < twoToThe63)) fail(path, outOfRange, true);
      if (std::trunc(number) != number) fail(path, "expected a whole number, found " + describeNumber(number));
      return static_cast<std::int64_t>(number);
    }
    case json::kind::uint64:
      // The parser only produces uint64 above the signed range.
      fail(path, outOfRange, true);
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

// Each value is read straight into its place in the record being built,
// so that no decoded string or record is moved once more.
template <class T>
void readInto(T& target, const json::value& value, const Path& path);

// The value of each of the record's fields in `object`, by the field's
// place in the list; nullptr where the key is missing. One pass over the
// members (the parser already kept only the last of a repeated key) costs a
// third of looking each field up.
template <class Record>
auto fieldValues(const json::object& object) {
  constexpr std::size_t count = std::tuple_size_v<decltype(Fields<Record>::list)>;
  std::array<const json::value*, count> values{};
  for (const json::key_value_pair& member : object) {
    const std::string_view key(member.key().data(), member.key().size());
    std::apply(
        [&](const auto&... fields) {
          std::size_t index = 0;
          // Stops at the first field with this key; unknown keys match none.
          (void)((key == fields.key ? (values[index] = &member.value(), true) : (++index, false)) || ...);
        },
        Fields<Record>::list);
  }
  return values;
}

template <class Record>
void readRecord(Record& record, const json::value& value, const Path& path) {
  const json::object* object = value.if_object();
  if (!object) fail(path, "expected an object, found " + describe(value));
  const auto values = fieldValues<Record>(*object);
  std::size_t index = 0;
  // In the list's order, so that the first field that fails is reported.
  forEachField<Record>([&](const auto& field) {
    using Member = std::remove_cvref_t<decltype(record.*field.member)>;
    const json::value* member = values[index++];
    const Path memberPath = path.member(field.key);
    if constexpr (IsOptional<Member>::value) {
      // A missing key and null read alike: absent.
      if (member && !member->is_null()) readInto((record.*field.member).emplace(), *member, memberPath);
    } else {
      if (!member) fail(memberPath, "missing required member");
      readInto(record.*field.member, *member, memberPath);
    }
  });
}

template <class T>
void readInto(T& target, const json::value& value, const Path& path) {
  if constexpr (std::is_same_v<T, std::string>) {
    const json::string* text = value.if_string();
    if (!text) fail(path, "expected a string, found " + describe(value));
    target.assign(text->data(), text->size());
  } else if constexpr (std::is_same_v<T, std::int64_t>) {
    target = readInteger(value, path);
  } else if constexpr (std::is_same_v<T, Date>) {
    target = readDate(value, path);
  } else if constexpr (IsVector<T>::value) {
    const json::array* array = value.if_array();
    if (!array) fail(path, "expected an array, found " + describe(value));
    target.resize(array->size());
    for (std::size_t index = 0; index < array->size(); ++index) {
      readInto(target[index], (*array)[index], path.element(index));
    }
  } else {
    readRecord(target, value, path);
  }
}

// 4. Finding things in the source text that the parsed value no longer
// holds: the member path at a byte (for invalid UTF-8) and the text of the
// number at a path. Only failed reads pay for this second, event-driven pass.
class SourceWalk {
 public:
  static constexpr std::size_t max_object_size = -1;
  static constexpr std::size_t max_array_size = -1;
  static constexpr std::size_t max_key_size = -1;
  static constexpr std::size_t max_string_size = -1;

  explicit SourceWalk(std::string numberPath = {}) : numberPath_(std::move(numberPath)) {}

  // The path of the value being read where the walk stopped; empty at the top.
  std::string path() const {
    std::string result;
    for (const Frame& frame : frames_) {
      if (frame.isArray) {
        appendElement(result, frame.index);
      } else if (frame.hasKey) {
        appendMember(result, frame.key);
      }
    }
    return result;
  }

  // The last number written at the path given at construction.
  const std::string& numberText() const { return numberText_; }

  bool on_document_begin(json::error_code&) { return true; }
  bool on_document_end(json::error_code&) { return true; }
  bool on_object_begin(json::error_code&) { return open(false); }
  bool on_object_end(std::size_t, json::error_code&) { return close(); }
  bool on_array_begin(json::error_code&) { return open(true); }
  bool on_array_end(std::size_t, json::error_code&) { return close(); }
  bool on_key_part(json::string_view part, std::size_t, json::error_code&) {
    frames_.back().key.append(part.data(), part.size());
    return true;
  }
  bool on_key(json::string_view part, std::size_t, json::error_code&) {
    frames_.back().key.append(part.data(), part.size());
    frames_.back().hasKey = true;
    return true;
  }
  bool on_string_part(json::string_view, std::size_t, json::error_code&) { return true; }
  bool on_string(json::string_view, std::size_t, json::error_code&) { return scalar(); }
  bool on_number_part(json::string_view part, json::error_code&) {
    number_.append(part.data(), part.size());
    return true;
  }
  bool on_int64(std::int64_t, json::string_view text, json::error_code&) { return numberEnd(text); }
  bool on_uint64(std::uint64_t, json::string_view text, json::error_code&) { return numberEnd(text); }
  bool on_double(double, json::string_view text, json::error_code&) { return numberEnd(text); }
  bool on_bool(bool, json::error_code&) { return scalar(); }
  bool on_null(json::error_code&) { return scalar(); }
  bool on_comment_part(json::string_view, json::error_code&) { return true; }
  bool on_comment(json::string_view, json::error_code&) { return true; }

 private:
  struct Frame {
    bool isArray = false;
    bool hasKey = false;
    std::string key;
    std::size_t index = 0;
  };

  bool open(bool isArray) {
    frames_.push_back(Frame{isArray, false, {}, 0});
    return true;
  }
  bool close() {
    frames_.pop_back();
    return scalar();
  }
  // A value ended: an array moves to its next element, an object waits for
  // its next key.
  bool scalar() {
    if (frames_.empty()) return true;
    Frame& frame = frames_.back();
    if (frame.isArray) {
      ++frame.index;
    } else {
      frame.hasKey = false;
      frame.key.clear();
    }
    return true;
  }
  bool numberEnd(json::string_view text) {
    number_.append(text.data(), text.size());
    if (!numberPath_.empty() && path() == numberPath_) numberText_ = number_;
    number_.clear();
    return scalar();
  }

  std::vector<Frame> frames_;
  std::string number_;
  std::string numberPath_;
  std::string numberText_;
};

SourceWalk walkSource(std::string_view text, std::string numberPath = {}) {
  json::parse_options options;
  options.max_depth = snapshotJsonMaximumDepth;
  json::basic_parser<SourceWalk> parser(options, std::move(numberPath));
  json::error_code error;
  parser.write_some(true, text.data(), text.size(), error);
  return std::move(parser.handler());
}

// 5. One parse of the whole input, then one walk over the parsed value.
template <class Record>
DecodeResult<Record> decodeTopLevel(std::string_view text) {
  return withParsedSnapshotJson(
      text, [&](const json::value* root, json::error_code error, std::size_t consumed) -> DecodeResult<Record> {
        if (!root) {
          // The parser calls a byte that breaks UTF-8 a syntax error; name
          // it, and the member whose text holds it.
          if (const auto invalid = locale::firstInvalidUtf8Byte(text); invalid && *invalid <= consumed) {
            return DecodingError{walkSource(text.substr(0, *invalid)).path(),
                                 "invalid UTF-8 at byte " + std::to_string(*invalid)};
          }
          return DecodingError{{}, "invalid JSON at byte " + std::to_string(consumed) + ": " + error.message()};
        }
        if (!root->is_object()) return DecodingError{{}, "expected a JSON object, found " + describe(*root)};
        try {
          Record record;
          readRecord(record, *root, Path{});
          return record;
        } catch (DecodeFailure& failure) {
          if (failure.quoteNumberText) failure.error.message += walkSource(text, failure.error.path).numberText();
          return std::move(failure.error);
        }
      });
}

// 6. Writing, by the member's type.

json::value dateValue(Date date) {
  if (!std::isfinite(date))
    throw std::invalid_argument("a date must be a finite number of seconds to be written as JSON");
  // Whole seconds are written as integers (763291800 rather than 7.632918E8).
  if (date >= -twoToThe63 && date < twoToThe63 && std::trunc(date) == date) {
    return json::value(static_cast<std::int64_t>(date));
  }
  return json::value(date);
}

template <class Record>
json::object writeRecord(const Record& record);

template <class T>
json::value writeValue(const T& value) {
  if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::int64_t>) {
    return json::value(value);
  } else if constexpr (std::is_same_v<T, Date>) {
    return dateValue(value);
  } else if constexpr (IsVector<T>::value) {
    json::array array;
    array.reserve(value.size());
    for (const auto& element : value) array.emplace_back(writeValue(element));
    return array;
  } else {
    return writeRecord(value);
  }
}

template <class Record>
json::object writeRecord(const Record& record) {
  json::object object;
  object.reserve(std::tuple_size_v<decltype(Fields<Record>::list)>);
  forEachField<Record>([&](const auto& field) {
    const auto& member = record.*field.member;
    if constexpr (IsOptional<std::remove_cvref_t<decltype(member)>>::value) {
      if (member) object.emplace(field.key, writeValue(*member));
    } else {
      object.emplace(field.key, writeValue(member));
    }
  });
  return object;
}

}  // namespace

DecodeResult<ZeltoDashboardSnapshot> decodeDashboardSnapshot(std::string_view json) {
  return decodeTopLevel<ZeltoDashboardSnapshot>(json);
}

DecodeResult<ZeltoLimitSnapshot> decodeLimitSnapshot(std::string_view json) {
  return decodeTopLevel<ZeltoLimitSnapshot>(json);
}

json::object toJson(const ZeltoDashboardSnapshot& dashboard) { return writeRecord(dashboard); }

json::object toJson(const ZeltoLimitSnapshot& limits) { return writeRecord(limits); }

std::string encodeJson(const ZeltoDashboardSnapshot& dashboard) { return json::serialize(toJson(dashboard)); }

std::string encodeJson(const ZeltoLimitSnapshot& limits) { return json::serialize(toJson(limits)); }

boost::json::value dateJson(Date date) { return dateValue(date); }

}  // namespace zelto
