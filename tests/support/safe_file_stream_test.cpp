#include "support/safe_file_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"

namespace {

using support::EFOpenError;
using support::TSafeFileStream;
using support_test::readFile;
using support_test::TempDir;

std::string readAll(TSafeFileStream& s) {
  std::string out(static_cast<size_t>(s.Size()), '\0');
  s.SetPosition(0);
  out.resize(static_cast<size_t>(s.Read(out.data(), static_cast<int64_t>(out.size()))));
  return out;
}

TEST(SafeFileStream, OpeningMissingAndExistingFiles) {
  TempDir dir;
  TSafeFileStream s;
  EXPECT_FALSE(s.IsOpen());
  EXPECT_EQ(s.Handle(), -1);

  std::string missing = dir.file("missing.txt");
  EXPECT_FALSE(s.Open(missing, TSafeFileStream::fmOpenRead, false));
  EXPECT_FALSE(s.IsOpen());
  EXPECT_EQ(s.Mode(), 0);
  EXPECT_FALSE(std::filesystem::exists(missing));
  try {
    s.Open(missing, TSafeFileStream::fmOpenRead, true);
    ADD_FAILURE() << "no error for a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.message(), "ファイル " + missing + " は開けません");
    EXPECT_STREQ(e.className(), "EFOpenError");
  }
  // Read-write has no write bit of its own: a missing file is not created for it.
  EXPECT_FALSE(s.Open(missing, TSafeFileStream::fmOpenReadWrite, false));
  EXPECT_FALSE(std::filesystem::exists(missing));

  // Writing creates the file; an existing file is not truncated but overwritten from the start.
  ASSERT_TRUE(s.Open(missing, TSafeFileStream::fmOpenWrite | TSafeFileStream::fmShareDenyWrite, true));
  EXPECT_EQ(s.Mode(), TSafeFileStream::fmOpenWrite | TSafeFileStream::fmShareDenyWrite);
  EXPECT_EQ(s.Write("abcdef", 6), 6);
  s.Close(false);
  EXPECT_EQ(readFile(missing), "abcdef");
  ASSERT_TRUE(s.Open(missing, TSafeFileStream::fmOpenWrite, true));
  EXPECT_EQ(s.Write("XY", 2), 2);
  s.Close(false);
  EXPECT_EQ(readFile(missing), "XYcdef");

  // A folder and an impossible access mode are no files to open.
  EXPECT_FALSE(s.Open(dir.path(), TSafeFileStream::fmOpenRead, false));
  EXPECT_FALSE(s.Open(missing, 3, false));
  EXPECT_FALSE(s.IsOpen());

  // A refused mode with the write bit creates no file on its way to failing.
  const std::string never = dir.file("never.txt");
  EXPECT_FALSE(s.Open(never, 3, false));
  EXPECT_FALSE(s.Open(never, TSafeFileStream::fmOpenWrite | 0x50, false));
  EXPECT_FALSE(std::filesystem::exists(never));
}

TEST(SafeFileStream, OperationsWithoutAFileRaise) {
  TSafeFileStream s;
  char buffer[4];
  auto expectRaises = [](auto&& op) {
    try {
      op();
      ADD_FAILURE() << "no error without an open file";
    } catch (const EFOpenError& e) {
      EXPECT_EQ(e.message(), "ファイル TSafeFileStream は開けません");
    }
  };
  expectRaises([&] { s.Read(buffer, 4); });
  expectRaises([&] { s.Write("abcd", 4); });
  expectRaises([&] { s.Seek(0, support::soFromBeginning); });
  expectRaises([&] { s.SetSize(10); });
  expectRaises([&] { s.Size(); });
  // Closing and flushing with nothing open are harmless.
  s.Close(true);
  s.Flush();
  EXPECT_FALSE(s.IsOpen());
}

TEST(SafeFileStream, ReadWriteSeekAndSize) {
  TempDir dir;
  std::string name = dir.write("data.bin", std::string("0123456789"));
  TSafeFileStream s;
  ASSERT_TRUE(s.Open(name, TSafeFileStream::fmOpenReadWrite, true));
  EXPECT_EQ(s.Size(), 10);
  EXPECT_EQ(s.Position(), 0);

  char buffer[16] = {};
  EXPECT_EQ(s.Read(buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  // Size leaves the position where it was.
  EXPECT_EQ(s.Size(), 10);
  EXPECT_EQ(s.Position(), 4);

  EXPECT_EQ(s.Seek(-2, support::soFromEnd), 8);
  EXPECT_EQ(s.Read(buffer, 16), 2);  // fewer bytes at the end
  EXPECT_EQ(std::string(buffer, 2), "89");
  EXPECT_EQ(s.Read(buffer, 16), 0);
  EXPECT_EQ(s.Seek(-3, support::soFromCurrent), 7);
  // A seek before the start fails and leaves the position.
  EXPECT_EQ(s.Seek(-100, support::soFromCurrent), -1);
  EXPECT_EQ(s.Position(), 7);

  EXPECT_EQ(s.Write("ab", 2), 2);
  EXPECT_EQ(readAll(s), "0123456ab9");

  // SetSize cuts and extends (with zero bytes) and leaves the position at the new end.
  s.SetSize(4);
  EXPECT_EQ(s.Position(), 4);
  EXPECT_EQ(readAll(s), "0123");
  s.SetSize(6);
  EXPECT_EQ(s.Position(), 6);
  EXPECT_EQ(readAll(s), std::string("0123\0\0", 6));
  EXPECT_THROW(s.SetSize(-1), support::EOSError);
  EXPECT_EQ(s.Size(), 6);
}

TEST(SafeFileStream, FailedSystemReadsAndWritesAnswerZero) {
  TempDir dir;
  std::string name = dir.write("data.txt", "hello");
  TSafeFileStream s;
  ASSERT_TRUE(s.Open(name, TSafeFileStream::fmOpenRead, true));
  EXPECT_EQ(s.Write("x", 1), 0);
  char buffer[8];
  ASSERT_TRUE(s.Open(name, TSafeFileStream::fmOpenWrite, true));
  EXPECT_EQ(s.Read(buffer, 8), 0);
  s.Close(false);
  EXPECT_EQ(readFile(name), "hello");
}

TEST(SafeFileStream, CloseDeletesOnlyEmptyFilesWhenAsked) {
  TempDir dir;
  TSafeFileStream s;
  std::string kept = dir.file("kept.txt");
  ASSERT_TRUE(s.Open(kept, TSafeFileStream::fmOpenWrite, true));
  s.Close(false);
  EXPECT_TRUE(std::filesystem::exists(kept));

  std::string removed = dir.file("removed.txt");
  ASSERT_TRUE(s.Open(removed, TSafeFileStream::fmOpenWrite, true));
  s.Close(true);
  EXPECT_FALSE(std::filesystem::exists(removed));
  EXPECT_FALSE(s.IsOpen());
  EXPECT_EQ(s.Mode(), 0);

  std::string written = dir.file("written.txt");
  ASSERT_TRUE(s.Open(written, TSafeFileStream::fmOpenWrite, true));
  s.Write("x", 1);
  s.Close(true);
  EXPECT_EQ(readFile(written), "x");

  // Opening another file closes the first, and deleting the first is not asked for.
  std::string first = dir.file("first.txt");
  ASSERT_TRUE(s.Open(first, TSafeFileStream::fmOpenWrite, true));
  int firstHandle = s.Handle();
  ASSERT_TRUE(s.Open(written, TSafeFileStream::fmOpenRead, true));
  EXPECT_TRUE(std::filesystem::exists(first));
  EXPECT_EQ(s.FileName(), written);
  char c = 0;
  EXPECT_EQ(s.Read(&c, 1), 1);
  EXPECT_EQ(c, 'x');
  // The first file's descriptor was given back (the system hands the lowest free number out again).
  EXPECT_EQ(s.Handle(), firstHandle);
}

TEST(SafeFileStream, ThreadsSharingOneStreamKeepEveryRecordWhole) {
  TempDir dir;
  std::string name = dir.file("shared.bin");
  TSafeFileStream s;
  ASSERT_TRUE(s.Open(name, TSafeFileStream::fmOpenWrite, true));
  constexpr int kThreads = 4, kRecords = 500, kLength = 64;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&s, t] {
      std::string record(kLength, static_cast<char>('a' + t));
      for (int i = 0; i < kRecords; ++i) s.Write(record.data(), kLength);
    });
  }
  // Asking for the size moves the shared position to the end and back: done at the same time as
  // the writes it must neither tear a record nor let one overwrite another.
  threads.emplace_back([&s] {
    for (int i = 0; i < kRecords; ++i) s.Size();
  });
  for (auto& th : threads) th.join();
  s.Close(false);

  std::string data = readFile(name);
  ASSERT_EQ(data.size(), size_t(kThreads * kRecords * kLength));
  std::vector<int> counts(kThreads);
  for (size_t at = 0; at < data.size(); at += kLength) {
    std::string record = data.substr(at, kLength);
    int t = record[0] - 'a';
    ASSERT_TRUE(t >= 0 && t < kThreads) << "record " << at / kLength;
    ASSERT_EQ(record, std::string(kLength, record[0])) << "torn record " << at / kLength;
    ++counts[t];
  }
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(counts[t], kRecords);
}

}  // namespace
