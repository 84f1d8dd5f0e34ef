#pragma once

#include <cstdint>
#include <limits>

namespace zelto {

// a + b, held at the nearest end of the signed 64-bit range instead of
// wrapping: token sums, percentage sums and week offsets stepped from any
// stored value stay ordered however large their terms.
constexpr std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b < 0 ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
}

}  // namespace zelto
