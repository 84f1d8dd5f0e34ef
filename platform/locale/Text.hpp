#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelto::locale {

// Ill-formed UTF-8 never fails these functions: the grapheme functions read
// each ill-formed sequence as one U+FFFD (and count its bytes as they are),
// the case mapping writes U+FFFD in its place, and trimming stops at it and
// keeps its bytes unchanged. Text longer than 2^31 - 1 bytes is looked at
// up to there by the grapheme functions and the case mapping.

// Whether `text` is well-formed UTF-8.
bool isValidUtf8(std::string_view text);

// Byte length of the first user-perceived character (extended grapheme
// cluster) of UTF-8 `text`; 0 for empty text.
std::size_t firstGraphemeClusterLength(std::string_view text);

// Number of extended grapheme clusters in UTF-8 `text`.
std::size_t graphemeClusterCount(std::string_view text);

// Locale-independent Unicode upper-case mapping (full mappings: "ß" -> "SS").
std::string uppercasedRoot(std::string_view text);

// Removes Unicode white space and line breaks (White_Space property:
// U+0009-000D, U+0020, U+0085, U+00A0, U+1680, U+2000-200A, U+2028, U+2029,
// U+202F, U+205F, U+3000) from both ends.
std::string trimmingWhitespaceAndNewlines(std::string_view text);

}  // namespace zelto::locale
