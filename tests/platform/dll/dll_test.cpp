#include <gtest/gtest.h>

#include <sys/mman.h>

#include <cstring>
#include <vector>

#include "platform/dll/call_signature.h"
#include "platform/dll/library.h"

namespace {

TEST(CallSignature, TextsByTheirBeginningLaterOnesWin) {
  dll::CallSignature sig = dll::ParseCallSignature({"I=LS", "junk", "r=D", "f=C", "i=w", "q=1", "r"});
  EXPECT_EQ(sig.args, "w");
  EXPECT_EQ(sig.flags, "c");
  EXPECT_EQ(sig.result, "d");
  dll::CallSignature none = dll::ParseCallSignature({});
  EXPECT_EQ(none.args + none.flags + none.result, "");
  struct {
    const char* flags;
    int32_t sum;
  } cases[] = {{"", 32}, {"s", 32}, {"c", 16}, {"b", 1}, {"4", 256}, {"8", 512}, {"C8", 528}, {"xyz", 0}, {"bb", 2}};
  for (const auto& c : cases) EXPECT_EQ(dll::CallSignatureFlags(c.flags), c.sum) << c.flags;
  EXPECT_TRUE(dll::ValidArgumentLetters("c1t2bhlpu4i8swfdak"));
  EXPECT_FALSE(dll::ValidArgumentLetters("lz"));
}

TEST(Library, LoadsByNameFromTheProgramFolderAndFallsBackToTheAName) {
  std::string error;
  EXPECT_EQ(dll::Library::Load("no_such_library_here.so", &error), nullptr);
  EXPECT_FALSE(error.empty());
  // "brs_dynatest.dll" is also tried as "libbrs_dynatest.so", which lies beside the programs.
  auto lib = dll::Library::Load("brs_dynatest.dll", &error);
  ASSERT_NE(lib, nullptr) << error;
  void* sum = lib->Proc("dt_long");
  ASSERT_NE(sum, nullptr);
  EXPECT_EQ(lib->Proc("dt_name"), lib->Proc("dt_nameA"));
  EXPECT_EQ(lib->Proc("dt_nothing"), nullptr);
  dll::CResult r;
  ASSERT_TRUE(dll::Call(sum, {dll::CArg::Int(dll::CType::SInt32, 10), dll::CArg::Int(dll::CType::SInt32, 3)},
                        dll::CType::SInt32, r));
  EXPECT_EQ(r.i, 7);
  void* f = lib->Proc("dt_float");
  ASSERT_TRUE(dll::Call(f, {dll::CArg::Float(3), dll::CArg::Float(2)}, dll::CType::Float, r));
  EXPECT_FLOAT_EQ(r.f, 1.5f);
  lib->Close();
  EXPECT_FALSE(lib->IsLoaded());
  EXPECT_EQ(lib->Proc("dt_long"), nullptr);
  EXPECT_FALSE(dll::Call(nullptr, {}, dll::CType::Void, r));
}

TEST(GuardedMemory, FailsOnUnmappedPagesInsteadOfFaulting) {
  long page = 4096;
  void* mapped = mmap(nullptr, size_t(page) * 2, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  char* first = static_cast<char*>(mapped);
  char* second = first + page;
  ASSERT_EQ(munmap(second, size_t(page)), 0);  // the page after `first` is gone

  char local[16] = "abcdefghijklmno";
  EXPECT_TRUE(dll::GuardedCopy(first, local, 16));
  EXPECT_EQ(std::memcmp(first, local, 16), 0);
  EXPECT_FALSE(dll::GuardedCopy(second, local, 4));
  EXPECT_FALSE(dll::GuardedCopy(local, second, 4));
  EXPECT_FALSE(dll::GuardedCopy(first + page - 2, local, 4));  // runs off the end
  EXPECT_FALSE(dll::GuardedFill(second, 8, 0));
  EXPECT_TRUE(dll::GuardedFill(first, 4, 'z'));
  EXPECT_EQ(std::string(first, 4), "zzzz");
  // Overlapping ranges copy as memmove does.
  std::memcpy(first, "123456", 6);
  EXPECT_TRUE(dll::GuardedCopy(first + 1, first, 5));
  EXPECT_EQ(std::string(first, 6), "112345");

  // A text that runs into the missing page has no end: an error, not a fault.
  std::memset(first, 'x', size_t(page));
  std::string text;
  EXPECT_FALSE(dll::GuardedReadText(first, text));
  first[page - 1] = '\0';
  EXPECT_TRUE(dll::GuardedReadText(first + page - 4, text));
  EXPECT_EQ(text, "xxx");
  EXPECT_TRUE(dll::GuardedReadText(nullptr, text));
  EXPECT_EQ(text, "");
  std::wstring wide;
  EXPECT_FALSE(dll::GuardedReadWide(second, wide));
  // The pipe way guards alike.
  EXPECT_TRUE(dll::CopyThroughPipe(local, first + 8, 6));
  EXPECT_EQ(std::string(local, 6), "xxxxxx");
  EXPECT_FALSE(dll::CopyThroughPipe(local, second, 4));
  EXPECT_FALSE(dll::CopyThroughPipe(second, local, 4));
  std::vector<char> big(10000, 'b');
  std::vector<char> copy(10000);
  EXPECT_TRUE(dll::CopyThroughPipe(copy.data(), big.data(), big.size()));
  EXPECT_EQ(copy, big);
  munmap(first, size_t(page));
}

}  // namespace
