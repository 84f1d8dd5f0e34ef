#pragma once

#include <glib-object.h>

#include <memory>
#include <utility>

namespace zelto::desktop {

struct GObjectRelease {
  void operator()(gpointer object) const { g_object_unref(object); }
};

// Owns one reference to a GObject.
template <class T>
using GObjectPointer = std::unique_ptr<T, GObjectRelease>;

// Owns a main-loop source id: removes the source when dropped.
class SourceId {
 public:
  SourceId() = default;
  explicit SourceId(guint id) : id_(id) {}
  SourceId(SourceId&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
  SourceId& operator=(SourceId&& other) noexcept {
    if (this != &other) {
      reset();
      id_ = std::exchange(other.id_, 0);
    }
    return *this;
  }
  ~SourceId() { reset(); }
  void reset() {
    if (id_ != 0) g_source_remove(std::exchange(id_, 0));
  }
  // The source removed itself (its callback returned G_SOURCE_REMOVE).
  void release() { id_ = 0; }
  explicit operator bool() const { return id_ != 0; }

 private:
  guint id_ = 0;
};

}  // namespace zelto::desktop
