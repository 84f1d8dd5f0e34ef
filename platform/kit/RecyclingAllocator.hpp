#pragma once

#include <cstddef>
#include <new>
#include <utility>

namespace zelto::kit::detail {

// Free blocks of one size, kept per thread: a render builds and drops a few
// hundred view nodes and laid-out payloads, of a handful of sizes, and takes
// them from here instead of the general allocator. Plain data, so it is usable at any point of the
// thread's life; `closed` once the thread's exit has returned the blocks.
struct FreeBlocks {
  struct Block {
    Block* next;
  };
  static constexpr std::size_t limit = 512;
  Block* head = nullptr;
  std::size_t count = 0;
  bool watched = false;  // a Releaser returns the blocks when the thread exits
  bool closed = false;
};

// Returns a thread's free blocks to the general allocator when it exits.
struct FreeBlocksReleaser {
  FreeBlocks* blocks;
  ~FreeBlocksReleaser() {
    while (blocks->head != nullptr) ::operator delete(std::exchange(blocks->head, blocks->head->next));
    blocks->count = 0;
    blocks->closed = true;
  }
};

// Under AddressSanitizer every block goes back to the general allocator, so
// that a use after free is still caught.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool recycleBlocks = false;
#else
inline constexpr bool recycleBlocks = true;
#endif

template <class T>
FreeBlocks& freeBlocksOf() {
  static thread_local constinit FreeBlocks blocks;
  return blocks;
}

// Allocates single objects of T from the thread's free blocks of its size.
template <class T>
struct RecyclingAllocator {
  using value_type = T;
  static_assert(sizeof(T) >= sizeof(FreeBlocks::Block) && alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

  RecyclingAllocator() = default;
  template <class U>
  RecyclingAllocator(const RecyclingAllocator<U>&) noexcept {}  // NOLINT: rebinding converts implicitly

  T* allocate(std::size_t n) {
    FreeBlocks& blocks = freeBlocksOf<T>();
    if (recycleBlocks && n == 1 && blocks.head != nullptr) {
      --blocks.count;
      return reinterpret_cast<T*>(std::exchange(blocks.head, blocks.head->next));
    }
    return static_cast<T*>(::operator new(n * sizeof(T)));
  }
  void deallocate(T* pointer, std::size_t n) noexcept {
    FreeBlocks& blocks = freeBlocksOf<T>();
    if (recycleBlocks && n == 1 && !blocks.closed && blocks.count < FreeBlocks::limit) {
      if (!blocks.watched) {
        static thread_local FreeBlocksReleaser releaser{&blocks};
        blocks.watched = true;
      }
      auto* block = reinterpret_cast<FreeBlocks::Block*>(pointer);
      block->next = blocks.head;
      blocks.head = block;
      ++blocks.count;
      return;
    }
    ::operator delete(pointer);
  }
  template <class U>
  bool operator==(const RecyclingAllocator<U>&) const noexcept {
    return true;
  }
};

// Deletes an object made with makeRecycled.
template <class T>
struct RecycledDelete {
  void operator()(T* pointer) const noexcept {
    pointer->~T();
    RecyclingAllocator<T>{}.deallocate(pointer, 1);
  }
};

template <class T, class... Arguments>
T* makeRecycled(Arguments&&... arguments) {
  RecyclingAllocator<T> allocator;
  T* pointer = allocator.allocate(1);
  try {
    return ::new (static_cast<void*>(pointer)) T(std::forward<Arguments>(arguments)...);
  } catch (...) {
    allocator.deallocate(pointer, 1);
    throw;
  }
}

}  // namespace zelto::kit::detail
