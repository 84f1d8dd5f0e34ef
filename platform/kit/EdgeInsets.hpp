#pragma once

#include <cstdint>

namespace zelto::kit {

// A set of a view's edges, for padding and for ignoring the safe area.
struct Edges {
  std::uint8_t bits = 0;

  static constexpr Edges top() { return {1}; }
  static constexpr Edges leading() { return {2}; }
  static constexpr Edges bottom() { return {4}; }
  static constexpr Edges trailing() { return {8}; }
  static constexpr Edges horizontal() { return {2 | 8}; }
  static constexpr Edges vertical() { return {1 | 4}; }
  static constexpr Edges all() { return {15}; }

  constexpr Edges operator|(Edges other) const { return {static_cast<std::uint8_t>(bits | other.bits)}; }
  constexpr bool contains(Edges other) const { return (bits & other.bits) == other.bits && other.bits != 0; }
  bool operator==(const Edges&) const = default;
};

// Distances from each edge, in points.
struct EdgeInsets {
  double top = 0;
  double leading = 0;
  double bottom = 0;
  double trailing = 0;

  static constexpr EdgeInsets uniform(double length) { return {length, length, length, length}; }
  static constexpr EdgeInsets on(Edges edges, double length) {
    return {edges.contains(Edges::top()) ? length : 0, edges.contains(Edges::leading()) ? length : 0,
            edges.contains(Edges::bottom()) ? length : 0, edges.contains(Edges::trailing()) ? length : 0};
  }
  constexpr double horizontal() const { return leading + trailing; }
  constexpr double vertical() const { return top + bottom; }
  bool operator==(const EdgeInsets&) const = default;
};

}  // namespace zelto::kit
