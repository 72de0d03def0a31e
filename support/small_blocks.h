// Small blocks for objects the script engine makes and frees by the hundred thousand (script
// objects, member tables and their items).
//
// Blocks come from regions: a small first one, then large ones that the kernel may back with huge
// pages, so that a script making many objects does not pay a page fault every few objects, and a
// short one does not pay for zeroing a huge page it barely uses; a freed block goes on its
// thread's free list of its size and is handed out again before the region grows. Regions are
// never given back to the system. Sizes above the largest class go to the global allocator, and
// so does everything in sanitizer builds, which must see every block.
#pragma once

#include <cstddef>
#include <new>

namespace support {

void* AllocateSmallBlock(std::size_t size);
// `size` is the one given when the block was allocated.
void FreeSmallBlock(void* block, std::size_t size) noexcept;

// The largest size served from the regions.
inline constexpr std::size_t kSmallBlockLimit = 512;

// Class-scope allocation functions for a class whose instances should live in small blocks. A
// class with a virtual destructor passes its most derived size to the sized delete, so derived
// classes share these too.
#define SUPPORT_SMALL_BLOCKS                                                                           \
  static void* operator new(std::size_t size) { return ::support::AllocateSmallBlock(size); }      \
  static void operator delete(void* block, std::size_t size) noexcept {                             \
    ::support::FreeSmallBlock(block, size);                                                          \
  }

// An allocator for standard containers whose storage is usually small (the entry list of a member
// table): blocks up to the limit come from the regions, larger ones from the global allocator.
template <class T>
struct SmallBlockAllocator {
  using value_type = T;
  SmallBlockAllocator() noexcept = default;
  template <class U>
  SmallBlockAllocator(const SmallBlockAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) { return static_cast<T*>(AllocateSmallBlock(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) noexcept { FreeSmallBlock(p, n * sizeof(T)); }
  template <class U>
  bool operator==(const SmallBlockAllocator<U>&) const noexcept { return true; }
};

}  // namespace support
