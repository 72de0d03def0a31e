#include "support/small_blocks.h"

#include <sys/mman.h>

#include <cstdint>

namespace support {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif
#else
constexpr bool kPooled = true;
#endif

constexpr std::size_t kGrain = 16;
constexpr std::size_t kClasses = kSmallBlockLimit / kGrain;
// A thread's first region is small and left to ordinary pages: most programs (a short script)
// never fill it, and a huge page costs its whole 2 MiB zeroed at the first touch. The regions
// after it are large, for the programs that make many objects.
constexpr std::size_t kFirstRegionSize = std::size_t(256) << 10;
constexpr std::size_t kRegionSize = std::size_t(8) << 20;

struct FreeBlock {
  FreeBlock* next;
};

// One thread's blocks: a free list per size class and the unused rest of its current region.
struct Pool {
  FreeBlock* free[kClasses] = {};
  char* next = nullptr;
  char* end = nullptr;
  bool grown = false;  // a region was taken already
};

thread_local Pool tPool;

std::size_t ClassOf(std::size_t size) { return (size + kGrain - 1) / kGrain - 1; }

bool Grow(Pool& pool) {
  std::size_t size = pool.grown ? kRegionSize : kFirstRegionSize;
  void* region = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (region == MAP_FAILED) return false;
#if defined(MADV_HUGEPAGE) && defined(MADV_NOHUGEPAGE)
  // A hint either way: the region works with pages of any size.
  madvise(region, size, pool.grown ? MADV_HUGEPAGE : MADV_NOHUGEPAGE);
#endif
  pool.grown = true;
  pool.next = static_cast<char*>(region);
  pool.end = pool.next + size;
  return true;
}

}  // namespace

void* AllocateSmallBlock(std::size_t size) {
  if (!kPooled || size == 0 || size > kSmallBlockLimit) return ::operator new(size);
  Pool& pool = tPool;
  std::size_t c = ClassOf(size);
  if (FreeBlock* block = pool.free[c]) {
    pool.free[c] = block->next;
    return block;
  }
  std::size_t bytes = (c + 1) * kGrain;
  if (std::size_t(pool.end - pool.next) < bytes && !Grow(pool)) throw std::bad_alloc();
  void* block = pool.next;
  pool.next += bytes;
  return block;
}

void FreeSmallBlock(void* block, std::size_t size) noexcept {
  if (!block) return;
  if (!kPooled || size == 0 || size > kSmallBlockLimit) {
    ::operator delete(block);
    return;
  }
  Pool& pool = tPool;
  std::size_t c = ClassOf(size);
  auto* b = static_cast<FreeBlock*>(block);
  b->next = pool.free[c];
  pool.free[c] = b;
}

}  // namespace support
