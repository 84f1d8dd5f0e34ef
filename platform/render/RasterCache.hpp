#pragma once

#include <cairo.h>

#include <cstddef>
#include <list>
#include <mutex>
#include <utility>

namespace zelto::render {

// Rasters a widget draws the same way frame after frame (a large gradient,
// a blurred glow), kept by the key they were made from so that the next
// frame blits them instead of computing them again. Least recently used
// rasters go first once the budget is spent. Safe to use from several
// threads; cached surfaces are never written after insertion.
template <class Key>
class RasterCache {
 public:
  explicit RasterCache(std::size_t budgetBytes) : budgetBytes_(budgetBytes) {}
  ~RasterCache() { clear(); }
  RasterCache(const RasterCache&) = delete;
  RasterCache& operator=(const RasterCache&) = delete;

  // A new reference to the raster made for `key`, or null.
  cairo_surface_t* find(const Key& key) {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (it->key == key) {
        entries_.splice(entries_.begin(), entries_, it);
        return cairo_surface_reference(it->raster);
      }
    }
    return nullptr;
  }

  // Keeps a reference to `raster` for `key`; one larger than the whole
  // budget is not kept.
  void insert(Key key, cairo_surface_t* raster, std::size_t bytes) {
    if (bytes > budgetBytes_) return;
    std::lock_guard lock(mutex_);
    bytes_ += bytes;
    entries_.push_front(Entry{std::move(key), cairo_surface_reference(raster), bytes});
    while (bytes_ > budgetBytes_ && !entries_.empty()) {
      bytes_ -= entries_.back().bytes;
      cairo_surface_destroy(entries_.back().raster);
      entries_.pop_back();
    }
  }

  void clear() {
    std::lock_guard lock(mutex_);
    for (auto& entry : entries_) cairo_surface_destroy(entry.raster);
    entries_.clear();
    bytes_ = 0;
  }

 private:
  struct Entry {
    Key key;
    cairo_surface_t* raster;
    std::size_t bytes;
  };
  std::mutex mutex_;
  std::list<Entry> entries_;
  std::size_t bytes_ = 0;
  std::size_t budgetBytes_;
};

// Cairo matrices compared exactly.
struct MatrixKey {
  double xx = 1, yx = 0, xy = 0, yy = 1, x0 = 0, y0 = 0;
  static MatrixKey of(const cairo_matrix_t& m) { return {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0}; }
  bool operator==(const MatrixKey&) const = default;
};

}  // namespace zelto::render
