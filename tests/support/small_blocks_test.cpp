#include "support/small_blocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <thread>
#include <vector>

using support::AllocateSmallBlock;
using support::FreeSmallBlock;

namespace {

struct Counted {
  SUPPORT_SMALL_BLOCKS
  explicit Counted(int* alive) : alive(alive) { ++*alive; }
  virtual ~Counted() { --*alive; }
  int* alive;
};

struct Larger : Counted {
  explicit Larger(int* alive) : Counted(alive) { std::memset(payload, 0x5a, sizeof payload); }
  char payload[200];
};

}  // namespace

// Every size up to the limit and past it: aligned, writable to the last byte, never shared by two
// live blocks, whatever the order of freeing.
TEST(SmallBlocks, BlocksAreAlignedDistinctAndKeepTheirContents) {
  struct Block {
    unsigned char* p;
    size_t size;
  };
  std::vector<Block> blocks;
  for (int round = 0; round < 3; ++round) {
    for (size_t size = 1; size <= support::kSmallBlockLimit + 64; size += 7) {
      auto* p = static_cast<unsigned char*>(AllocateSmallBlock(size));
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignof(std::max_align_t), 0u) << size;
      std::memset(p, int(size & 0xff), size);
      blocks.push_back({p, size});
    }
  }
  std::set<unsigned char*> starts;
  for (const Block& b : blocks) EXPECT_TRUE(starts.insert(b.p).second);
  // Free every other one, allocate again, then check nothing was overwritten.
  std::vector<Block> kept;
  for (size_t i = 0; i < blocks.size(); ++i) {
    if (i % 2)
      FreeSmallBlock(blocks[i].p, blocks[i].size);
    else
      kept.push_back(blocks[i]);
  }
  std::vector<Block> again;
  for (size_t size = 1; size <= support::kSmallBlockLimit; size += 7) {
    auto* p = static_cast<unsigned char*>(AllocateSmallBlock(size));
    std::memset(p, 0xee, size);
    again.push_back({p, size});
  }
  for (const Block& b : kept)
    for (size_t i = 0; i < b.size; ++i) ASSERT_EQ(b.p[i], b.size & 0xff) << b.size << " byte " << i;
  for (const Block& b : kept) FreeSmallBlock(b.p, b.size);
  for (const Block& b : again) FreeSmallBlock(b.p, b.size);
}

// Classes that use the blocks are built, destroyed through a base pointer and freed with their own
// size; many rounds of making and freeing do not lose or double any block.
TEST(SmallBlocks, ClassesAllocateAndFreeThroughTheirBase) {
  int alive = 0;
  for (int round = 0; round < 50; ++round) {
    std::vector<std::unique_ptr<Counted>> objects;
    for (int i = 0; i < 1000; ++i) {
      if (i % 3)
        objects.emplace_back(new Counted(&alive));
      else
        objects.emplace_back(new Larger(&alive));
    }
    EXPECT_EQ(alive, 1000);
    std::set<Counted*> distinct;
    for (auto& o : objects) distinct.insert(o.get());
    EXPECT_EQ(distinct.size(), objects.size());
    for (auto& o : objects)
      if (auto* l = dynamic_cast<Larger*>(o.get())) {
        EXPECT_EQ(l->payload[0], 0x5a);
        EXPECT_EQ(l->payload[sizeof l->payload - 1], 0x5a);
      }
  }
  EXPECT_EQ(alive, 0);
}

// A block freed on another thread than the one that made it stays usable memory.
TEST(SmallBlocks, BlocksMayBeFreedOnAnotherThread) {
  int alive = 0;
  std::vector<Counted*> made;
  for (int i = 0; i < 100; ++i) made.push_back(new Counted(&alive));
  std::thread([&] {
    for (Counted* c : made) delete c;
    std::vector<std::unique_ptr<Counted>> there;
    for (int i = 0; i < 100; ++i) there.emplace_back(new Counted(&alive));
  }).join();
  EXPECT_EQ(alive, 0);
  std::vector<std::unique_ptr<Counted>> here;
  for (int i = 0; i < 100; ++i) here.emplace_back(new Counted(&alive));
  EXPECT_EQ(alive, 100);
}

// Past a thread's first region into the next: blocks on either side of the change stay distinct
// and keep their contents (run on a thread of its own, so it starts from a fresh first region).
TEST(SmallBlocks, BlocksBeyondTheFirstRegionStayDistinct) {
  std::thread([] {
    constexpr size_t kSize = support::kSmallBlockLimit;
    constexpr size_t kCount = 3000;  // 1.5 MB: well beyond a first region
    std::vector<unsigned char*> blocks;
    for (size_t i = 0; i < kCount; ++i) {
      auto* p = static_cast<unsigned char*>(AllocateSmallBlock(kSize));
      std::memset(p, int(i % 251), kSize);
      blocks.push_back(p);
    }
    std::set<unsigned char*> sorted(blocks.begin(), blocks.end());
    ASSERT_EQ(sorted.size(), kCount);
    unsigned char* previous = nullptr;
    for (unsigned char* p : sorted) {  // no two blocks overlap
      if (previous) ASSERT_GE(size_t(p - previous), kSize);
      previous = p;
    }
    for (size_t i = 0; i < kCount; ++i) {
      ASSERT_EQ(blocks[i][0], i % 251) << i;
      ASSERT_EQ(blocks[i][kSize - 1], i % 251) << i;
    }
    for (unsigned char* p : blocks) FreeSmallBlock(p, kSize);
  }).join();
}
