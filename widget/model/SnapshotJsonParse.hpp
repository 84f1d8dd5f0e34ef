#pragma once

// The one parse behind the snapshot decoders, shared with the decode
// benchmark so that its baseline parses exactly as the decoders do.

#include <boost/json/monotonic_resource.hpp>
#include <boost/json/parser.hpp>
#include <boost/json/value.hpp>

#include <cstddef>
#include <string_view>

namespace zelto {

// Deep enough for any future nesting of unknown members; the parser keeps
// its own stack, so depth costs no recursion.
inline constexpr std::size_t snapshotJsonMaximumDepth = 512;

// Parses `text` as one strict RFC 8259 value (no comments, no trailing
// commas, valid UTF-8 only, nothing but white space after the value; a
// repeated key keeps its last value) into a monotonic arena whose first
// 8 KiB live on the stack, where most snapshots fit. Calls
// use(value, error, consumed): `value` points at the parsed value (nullptr
// when `error` is set) and lives only during the call; `consumed` is the
// number of bytes read, which is where a syntax error stands.
template <class Use>
decltype(auto) withParsedSnapshotJson(std::string_view text, Use&& use) {
  unsigned char arenaBuffer[8192];
  unsigned char parserBuffer[2048];
  boost::json::monotonic_resource arena(arenaBuffer, sizeof arenaBuffer);
  boost::json::parse_options options;
  options.max_depth = snapshotJsonMaximumDepth;
  boost::json::parser parser(boost::json::storage_ptr(), options, parserBuffer, sizeof parserBuffer);
  parser.reset(&arena);
  boost::json::error_code error;
  const std::size_t consumed = parser.write(text.data(), text.size(), error);
  if (error) return use(static_cast<const boost::json::value*>(nullptr), error, consumed);
  const boost::json::value root = parser.release();
  return use(&root, error, consumed);
}

}  // namespace zelto
