#include "platform/locale/Text.hpp"

#include "platform/locale/IcuConversion.hpp"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

namespace zelto::locale {
namespace {

// ICU indexes text with 32-bit offsets; longer text is looked at up to here.
int32_t icuLength(std::string_view text) { return static_cast<int32_t>(std::min<std::size_t>(text.size(), INT32_MAX)); }

// A character break iterator over UTF-8 `text` whose offsets are byte
// offsets into it. Ill-formed sequences read as U+FFFD, one per sequence.
class GraphemeIterator {
 public:
  explicit GraphemeIterator(std::string_view text) {
    static const std::unique_ptr<const icu::BreakIterator> prototype = [] {
      UErrorCode status = U_ZERO_ERROR;
      std::unique_ptr<icu::BreakIterator> made(
          icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
      if (U_FAILURE(status)) made.reset();
      return std::unique_ptr<const icu::BreakIterator>(std::move(made));
    }();
    if (!prototype || text.empty()) return;
    UErrorCode status = U_ZERO_ERROR;
    text_ = utext_openUTF8(nullptr, text.data(), icuLength(text), &status);
    if (U_FAILURE(status)) return;
    iterator_.reset(prototype->clone());
    if (!iterator_) return;
    iterator_->setText(text_, status);
    if (U_FAILURE(status)) iterator_.reset();
  }
  ~GraphemeIterator() { utext_close(text_); }
  GraphemeIterator(const GraphemeIterator&) = delete;
  GraphemeIterator& operator=(const GraphemeIterator&) = delete;

  bool valid() const { return iterator_ != nullptr; }
  // The next boundary after the current one, or icu::BreakIterator::DONE.
  int32_t next() { return iterator_->next(); }

 private:
  UText* text_ = nullptr;
  std::unique_ptr<icu::BreakIterator> iterator_;
};

bool isWhiteSpace(UChar32 codePoint) { return codePoint >= 0 && u_isUWhiteSpace(codePoint); }

// The code point at `index` and the index after it; negative for an
// ill-formed sequence (which then spans its maximal ill-formed prefix).
std::pair<UChar32, std::size_t> codePointAt(const uint8_t* bytes, std::size_t size, std::size_t index) {
  const auto window = static_cast<int32_t>(std::min<std::size_t>(size - index, 4));
  int32_t offset = 0;
  UChar32 codePoint = 0;
  U8_NEXT(bytes + index, offset, window, codePoint);
  return {codePoint, index + static_cast<std::size_t>(offset)};
}

// The code point ending at `end` (never reading before `start`) and its
// first index.
std::pair<UChar32, std::size_t> codePointBefore(const uint8_t* bytes, std::size_t start, std::size_t end) {
  const std::size_t base = std::max(start, end >= 4 ? end - 4 : 0);
  auto offset = static_cast<int32_t>(end - base);
  UChar32 codePoint = 0;
  U8_PREV(bytes + base, 0, offset, codePoint);
  return {codePoint, base + static_cast<std::size_t>(offset)};
}

}  // namespace

std::optional<std::size_t> firstInvalidUtf8Byte(std::string_view text) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  for (std::size_t index = 0; index < text.size();) {
    const auto [codePoint, next] = codePointAt(bytes, text.size(), index);
    if (codePoint < 0) return index;
    index = next;
  }
  return std::nullopt;
}

bool isValidUtf8(std::string_view text) { return !firstInvalidUtf8Byte(text); }

std::string wellFormedUtf8(std::string_view text) {
  const std::optional<std::size_t> firstInvalid = firstInvalidUtf8Byte(text);
  if (!firstInvalid) return std::string(text);
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  std::string result(text.substr(0, *firstInvalid));
  result.reserve(text.size() + 8);
  for (std::size_t index = *firstInvalid; index < text.size();) {
    const auto [codePoint, next] = codePointAt(bytes, text.size(), index);
    if (codePoint < 0) {
      result += "\uFFFD";
      ++index;
    } else {
      result.append(text, index, next - index);
      index = next;
    }
  }
  return result;
}

bool containsControlCharacter(std::string_view text, std::string_view allowed) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  for (std::size_t index = 0; index < text.size();) {
    const auto [codePoint, next] = codePointAt(bytes, text.size(), index);
    const bool isAllowed =
        codePoint >= 0 && codePoint < 0x80 && allowed.find(static_cast<char>(codePoint)) != std::string_view::npos;
    if (codePoint >= 0 && !isAllowed && u_charType(codePoint) == U_CONTROL_CHAR) return true;
    index = next;
  }
  return false;
}
std::size_t firstGraphemeClusterLength(std::string_view text) {
  GraphemeIterator iterator(text);
  if (!iterator.valid()) return text.empty() ? 0 : 1;
  const int32_t boundary = iterator.next();
  return boundary == icu::BreakIterator::DONE ? text.size() : static_cast<std::size_t>(boundary);
}

std::size_t graphemeClusterCount(std::string_view text) {
  GraphemeIterator iterator(text);
  if (!iterator.valid()) return 0;
  std::size_t count = 0;
  while (iterator.next() != icu::BreakIterator::DONE) ++count;
  return count;
}

std::string uppercasedRoot(std::string_view text) {
  icu::UnicodeString unicode = unicodeFromUtf8(text);
  unicode.toUpper(icu::Locale::getRoot());
  return utf8FromUnicode(unicode);
}

std::string trimmingWhitespaceAndNewlines(std::string_view text) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  // 1. Skip white space at the start; an ill-formed sequence stops the scan
  //    and is kept as it is.
  std::size_t start = 0;
  while (start < text.size()) {
    const auto [codePoint, next] = codePointAt(bytes, text.size(), start);
    if (!isWhiteSpace(codePoint)) break;
    start = next;
  }
  // 2. Skip white space at the end, never past the start.
  std::size_t end = text.size();
  while (end > start) {
    const auto [codePoint, previous] = codePointBefore(bytes, start, end);
    if (!isWhiteSpace(codePoint)) break;
    end = previous;
  }
  return std::string(text.substr(start, end - start));
}

}  // namespace zelto::locale
