#pragma once

#include <boost/json/object.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// Why a snapshot could not be read: where (a member path such as
// "accounts[1].limits.windows[0].usedPercent", empty for the top level) and
// what was wrong ("expected a whole number, found 28.5").
struct DecodingError {
  std::string path;
  std::string message;

  // "accounts[1].limits.windows[0].usedPercent: expected a whole number, found 28.5"
  std::string describe() const;
  bool operator==(const DecodingError&) const = default;
};

// A decoded record or the reason there is none; the whole value decodes or
// nothing does.
template <class Record>
class DecodeResult {
 public:
  DecodeResult(Record record) : record_(std::move(record)) {}
  DecodeResult(DecodingError error) : error_(std::move(error)) {}

  bool ok() const { return record_.has_value(); }
  explicit operator bool() const { return ok(); }
  const Record& value() const& { return *record_; }
  Record&& value() && { return std::move(*record_); }
  const DecodingError& error() const { return error_; }
  std::optional<Record> toOptional() && { return std::move(record_); }

 private:
  std::optional<Record> record_;
  DecodingError error_;
};

// Strict readers: the bytes must be one UTF-8 JSON object of the record's
// layout (RFC 8259: no comments, no trailing commas, nothing but white space
// after the value). Integer fields take whole numbers within the signed
// 64-bit range, also when written with a fraction or an exponent that leaves
// an exact integer (28.0, 2.8e1); date fields take any finite number. Unknown
// keys are skipped at every level; a missing key and null read alike for
// optional fields; a key given twice in one object keeps its last value.
//
// Numbers written with a fraction or an exponent are read through a double:
// an integer so written is exact up to 2^53, and Boost.JSON 1.81 may read a
// date of 16 or 17 significant digits one unit in the last place off (about
// 0.1 microseconds for present-day dates); whole seconds, milliseconds and
// microseconds read exactly.
DecodeResult<ZeltoDashboardSnapshot> decodeDashboardSnapshot(std::string_view json);
DecodeResult<ZeltoLimitSnapshot> decodeLimitSnapshot(std::string_view json);

// Writers: absent optional fields are omitted, dates are numbers of seconds
// since 2001-01-01T00:00:00Z (whole seconds as integers). A non-finite date
// has no JSON form: writing one throws std::invalid_argument.
boost::json::object toJson(const ZeltoDashboardSnapshot& dashboard);
boost::json::object toJson(const ZeltoLimitSnapshot& limits);
// A date as the writers put it: whole seconds as an integer (763291800),
// others as a number with a fraction. Throws std::invalid_argument for a
// non-finite date, which has no JSON form.
boost::json::value dateJson(Date date);
std::string encodeJson(const ZeltoDashboardSnapshot& dashboard);
std::string encodeJson(const ZeltoLimitSnapshot& limits);

}  // namespace zelto
