#include "support/named_mutex.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>

using support::TMutex;

namespace {
// Test cases run as processes of their own, possibly at the same time: names carry the process id.
std::string uniqueName(const std::string& base) { return base + "-" + std::to_string(::getpid()); }
}  // namespace

TEST(Mutex, SecondObjectOfANameFindsItExisting) {
  std::string name = uniqueName("existed");
  {
    TMutex a(name);
    EXPECT_FALSE(a.Existed());
    EXPECT_EQ(a.Timeout, 10000u);
    TMutex b(name);
    EXPECT_TRUE(b.Existed());
    // Both are one mutex: the holder may lock it again through either.
    EXPECT_TRUE(a.Lock());
    EXPECT_TRUE(b.TryLock());
    EXPECT_TRUE(b.Unlock());
    EXPECT_TRUE(a.Unlock());
    EXPECT_FALSE(a.Unlock());
  }
  TMutex again(name);
  EXPECT_FALSE(again.Existed());

  TMutex p1(""), p2("");
  EXPECT_FALSE(p1.Existed());
  EXPECT_FALSE(p2.Existed());
}

TEST(Mutex, OtherThreadsWaitForTheHolder) {
  TMutex m(uniqueName("threads"));
  ASSERT_TRUE(m.Lock());
  ASSERT_TRUE(m.Lock());  // recursive
  bool triedWhileHeld = true, unlockedForeign = true;
  std::thread t([&] {
    TMutex other(m.Name());
    other.Timeout = 30;
    triedWhileHeld = other.TryLock();
    unlockedForeign = other.Unlock();
  });
  t.join();
  EXPECT_FALSE(triedWhileHeld);
  EXPECT_FALSE(unlockedForeign);

  EXPECT_TRUE(m.Unlock());
  EXPECT_TRUE(m.Unlock());
  bool gotAfterRelease = false;
  std::thread u([&] {
    TMutex other(m.Name());
    gotAfterRelease = other.Lock();
    other.Unlock();
  });
  u.join();
  EXPECT_TRUE(gotAfterRelease);

  // A private mutex is one object's own.
  TMutex p(""), q("");
  EXPECT_TRUE(p.Lock());
  bool privateTaken = false;
  std::thread v([&] {
    q.Timeout = 0;
    privateTaken = q.TryLock();
    q.Unlock();
  });
  v.join();
  EXPECT_TRUE(privateTaken);
}

TEST(Mutex, OtherProcessesWaitForTheHolder) {
  std::string name = uniqueName("Global\\process mutex/\xe5\x90\x8d");
  int ready[2], done[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(done), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    char c = 0;
    TMutex m(name);
    bool ok = m.Lock();
    (void)!::write(ready[1], ok ? "1" : "0", 1);
    (void)!::read(done[0], &c, 1);
    ::_exit(0);  // ending the process releases the mutex
  }
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, '1');
  {
    TMutex m(name);
    EXPECT_TRUE(m.Existed());
    m.Timeout = 50;
    EXPECT_FALSE(m.TryLock());
    ASSERT_EQ(::write(done[1], "x", 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    m.Timeout = 5000;
    EXPECT_TRUE(m.TryLock());
    EXPECT_TRUE(m.Unlock());
  }
  for (int fd : {ready[0], ready[1], done[0], done[1]}) ::close(fd);

  TMutex longName(uniqueName(std::string(300, 'n')));
  EXPECT_FALSE(longName.Existed());
  EXPECT_TRUE(longName.TryLock());
}
