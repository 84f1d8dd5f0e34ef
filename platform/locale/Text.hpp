#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zelto::locale {

// Ill-formed UTF-8 never fails these functions: the grapheme functions read
// each ill-formed sequence as one U+FFFD (and count its bytes as they are),
// the case mapping writes U+FFFD in its place, and trimming stops at it and
// keeps its bytes unchanged. Text longer than 2^31 - 1 bytes is looked at
// up to there by the grapheme functions and the case mapping.

// The one UTF-8 validation of the system: overlong forms, surrogates, code
// points past U+10FFFF and cut sequences are all ill-formed.

// Byte offset of the first byte of the first ill-formed sequence, or nullopt
// when all of `text` is well-formed UTF-8.
std::optional<std::size_t> firstInvalidUtf8Byte(std::string_view text);

// Whether `text` is well-formed UTF-8.
bool isValidUtf8(std::string_view text);

// `text` with every byte that does not belong to a well-formed sequence
// replaced by U+FFFD (a cut three-byte sequence gives two of them, so a
// reader sees how much was lost).
std::string wellFormedUtf8(std::string_view text);

// Whether UTF-8 `text` holds a control character (general category Cc: C0,
// DEL, C1) other than the ASCII ones listed in `allowed`; ill-formed bytes
// are not control characters.
bool containsControlCharacter(std::string_view text, std::string_view allowed);

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
