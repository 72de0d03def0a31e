#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "script/host/mutex_object.h"
#include "tests/script/host/host_fixture.h"

using namespace hosttest;
namespace fs = std::filesystem;

namespace {

struct FilesEngine : HostEngine {
  FilesEngine() { host::RegisterHostObjects(*this); }
};

// A mutex name no other test run uses.
std::string UniqueName(const char* what) { return std::string("brs-test-") + what + "-" + std::to_string(getpid()); }

// One byte through a pipe: the processes of a test wait on each other with these, not with sleeps.
void Signal(int fd) {
  char c = 1;
  ASSERT_EQ(write(fd, &c, 1), 1);
}
bool Await(int fd) {
  char c;
  return read(fd, &c, 1) == 1;
}

}  // namespace

TEST(CRCObject, CheckValuesOfTextsAndFiles) {
  FilesEngine e;
  TJValue crc = e.New("CRC");
  EXPECT_EQ(Get(crc, "CRC16").vInteger(), 0xFFFF);
  EXPECT_EQ(Get(crc, "CRC32").vInteger(), -1);
  EXPECT_EQ(Call(crc, "calc", {S("123456789")}).vObject(), crc.vObject());
  EXPECT_EQ(Get(crc, "CRC16").vInteger(), 0x6F91);
  EXPECT_EQ(Get(crc, "CRC32").vInteger(), int32_t(0xCBF43926u));  // negative
  Call(crc, "calc", {S("")});
  EXPECT_EQ(Get(crc, "CRC16").vInteger(), 0xFFFF);
  EXPECT_EQ(Get(crc, "CRC32").vInteger(), 0);
  EXPECT_EQ(ErrorOf([&] { Call(crc, "calc"); }), "ECRCError:calc error");

  std::string name = (fs::temp_directory_path() / UniqueName("crc")).string();
  std::ofstream(name, std::ios::binary) << "123456789";
  Call(crc, "calcFile", {S(name)});
  EXPECT_EQ(Get(crc, "CRC16").vInteger(), 0x6F91);
  EXPECT_EQ(Get(crc, "CRC32").vInteger(), int32_t(0xCBF43926u));
  fs::remove(name);
  // A missing file or a folder: an error, and the values all ones.
  EXPECT_EQ(ErrorOf([&] { Call(crc, "calcFile", {S(name)}); }), "ECRCError:calcFile error");
  EXPECT_EQ(Get(crc, "CRC16").vInteger(), 0xFFFF);
  EXPECT_EQ(Get(crc, "CRC32").vInteger(), -1);
  EXPECT_EQ(ErrorOf([&] { Call(crc, "calcFile", {S(fs::temp_directory_path().string())}); }),
            "ECRCError:calcFile error");
  EXPECT_EQ(ErrorOf([&] { Call(crc, "calcFile"); }), "ECRCError:calcFile error");
}

TEST(Base64Object, CodesAndHeaderWords) {
  FilesEngine e;
  TJValue b = e.New("Base64");
  EXPECT_EQ(Text(Call(b, "encode", {S("hello")})), "aGVsbG8=");
  EXPECT_EQ(Text(Call(b, "decode", {S("aGVs\r\nbG8=")})), "hello");
  std::string binary("\0\xFF\x80z", 4);
  EXPECT_EQ(Text(Call(b, "decode", {Call(b, "encode", {S(binary)})})), binary);
  // Shift_JIS in, a header word out, and back (the text of "日本" in Shift_JIS).
  std::string sjis = "Re: \x93\xFA\x96\x7B";
  std::string word = Text(Call(b, "encodeHeader", {S(sjis)}));
  EXPECT_EQ(word, "Re: =?ISO-2022-JP?B?GyRCRnxLXA==?=");  // a word ending in kanji has no shift back
  std::string back = Text(Call(b, "decodeHeader", {S(word)}));
  EXPECT_EQ(back, sjis);
  for (const char* method : {"encode", "decode", "encodeHeader", "decodeHeader"})
    EXPECT_EQ(ErrorOf([&] { Call(b, method); }), std::string("EBase64Error:") + method + " error");
}

TEST(MutexObject, OneNameInOneProcess) {
  FilesEngine e;
  std::string name = UniqueName("same");
  TJValue first = e.New("Mutex", {S(name)});
  EXPECT_FALSE(Get(first, "existed").vBool());
  EXPECT_FALSE(Call(first, "exists").vBool());
  EXPECT_EQ(Get(first, "timeout").vInteger(), 10000);
  TJValue second = e.New("Mutex", {S(name)});
  EXPECT_TRUE(Get(second, "existed").vBool());
  EXPECT_TRUE(Call(second, "exists").vBool());
  // The holding thread may lock again, through either object.
  EXPECT_EQ(Call(first, "lock").vObject(), first.vObject());
  EXPECT_TRUE(Call(second, "tryLock").vBool());
  Call(second, "unlock");
  Call(first, "unlock");
  // Without a name each object has a mutex of its own.
  TJValue a = e.New("Mutex"), b = e.New("Mutex");
  EXPECT_FALSE(Get(b, "existed").vBool());
  Call(a, "lock");
  Put(b, "timeout", I(0));
  EXPECT_TRUE(Call(b, "tryLock").vBool());
  EXPECT_EQ(Call(b, "unlock").vObject(), b.vObject());
}

// Another process sees the mutex held; freeing the object, or the holder's end, releases it.
TEST(MutexObject, HeldAcrossProcessesAndReleasedOnFreeAndExit) {
  std::string name = UniqueName("shared");
  int toChild[2], toParent[2];
  ASSERT_EQ(pipe(toChild), 0);
  ASSERT_EQ(pipe(toParent), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(toChild[1]);
    close(toParent[0]);
    {
      FilesEngine e;
      TJValue m = e.New("Mutex", {S(name)});
      Call(m, "lock");
      Signal(toParent[1]);  // held
      if (!Await(toChild[0])) _exit(2);
    }  // the object goes with the lock still taken
    Signal(toParent[1]);
    if (!Await(toChild[0])) _exit(2);
    FilesEngine e;
    TJValue again = e.New("Mutex", {S(name)});
    Call(again, "lock");
    Signal(toParent[1]);
    Await(toChild[0]);
    _exit(0);  // ends holding it
  }
  close(toChild[0]);
  close(toParent[1]);
  FilesEngine e;
  ASSERT_TRUE(Await(toParent[0]));
  TJValue m = e.New("Mutex", {S(name)});
  EXPECT_TRUE(Get(m, "existed").vBool());
  Put(m, "timeout", I(0));
  EXPECT_FALSE(Call(m, "tryLock").vBool());
  Signal(toChild[1]);
  ASSERT_TRUE(Await(toParent[0]));
  Put(m, "timeout", I(5000));
  EXPECT_TRUE(Call(m, "tryLock").vBool());  // released when the object was freed
  Call(m, "unlock");
  Signal(toChild[1]);
  ASSERT_TRUE(Await(toParent[0]));
  Put(m, "timeout", I(0));
  EXPECT_FALSE(Call(m, "tryLock").vBool());
  Signal(toChild[1]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  Put(m, "timeout", I(5000));
  EXPECT_TRUE(Call(m, "tryLock").vBool());  // the holder's end released it
  Call(m, "unlock");
}

// Clearing the engine releases what its Mutex objects hold.
TEST(MutexObject, EngineClearReleases) {
  std::string name = UniqueName("clear");
  FilesEngine holder;
  TJValue m = holder.New("Mutex", {S(name)});
  Call(m, "lock");
  Call(m, "lock");
  EXPECT_EQ(dynamic_cast<host::TJMutexObject*>(m.vObject())->HeldCount(), 2);
  m.vObject()->Dispose();
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    FilesEngine e;
    TJValue other = e.New("Mutex", {S(name)});
    Put(other, "timeout", I(0));
    _exit(Call(other, "tryLock").vBool() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}
