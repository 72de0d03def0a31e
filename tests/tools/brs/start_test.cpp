// brs started in a process of its own, under limits a user may set.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

struct Outcome {
  std::string out;
  int status = -1;
};

// Runs brs with `args`, its standard input read from the file `input` (or /dev/null), the stack
// limited to `stackBytes` and, when given, its address space to `memoryBytes`; its standard output
// and error (together) and wait status.
Outcome RunBrs(const std::vector<std::string>& args, rlim_t stackBytes, rlim_t memoryBytes = RLIM_INFINITY,
               const char* input = "/dev/null") {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return {};
  pid_t child = fork();
  if (child == 0) {
    rlimit limit{stackBytes, stackBytes};
    setrlimit(RLIMIT_STACK, &limit);
    if (memoryBytes != RLIM_INFINITY) {
      rlimit memory{memoryBytes, memoryBytes};
      setrlimit(RLIMIT_AS, &memory);
    }
    int in = open(input, O_RDONLY);
    if (in < 0) _exit(126);
    dup2(in, 0);
    dup2(pipeFds[1], 1);
    dup2(pipeFds[1], 2);
    close(pipeFds[0]);
    close(pipeFds[1]);
    std::vector<char*> argv{const_cast<char*>("brs")};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(BRS_PATH, argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  Outcome result;
  char buffer[4096];
  ssize_t n;
  while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) result.out.append(buffer, size_t(n));
  close(pipeFds[0]);
  waitpid(child, &result.status, 0);
  return result;
}

Outcome RunWithStack(const std::string& code, rlim_t stackBytes, rlim_t memoryBytes = RLIM_INFINITY) {
  return RunBrs({"-e", code}, stackBytes, memoryBytes);
}

// The deepest a script may go follows the stack the program was given: a small one ends the
// recursion with the script's own error, never with a crash.
TEST(BrsStart, RunawayRecursionIsAScriptErrorUnderASmallStack) {
  const std::string code =
      "function down(n) { return down(n + 1); }\n"
      "try { down(0); } catch (e) { println(\"caught \" + e); }\n"
      "function count(n) { if (n == 0) return 0; return 1 + count(n - 1); }\n"
      "println(count(200));\n";
  for (rlim_t stack : {rlim_t(1536) << 10, rlim_t(4) << 20}) {
    Outcome o = RunWithStack(code, stack);
    ASSERT_TRUE(WIFEXITED(o.status)) << "stack " << stack << ": ended by signal " << WTERMSIG(o.status);
    EXPECT_EQ(WEXITSTATUS(o.status), 0) << stack;
    EXPECT_EQ(o.out, "caught EStackOverflow\n200\n") << stack;
  }
}

// An unlimited stack ("ulimit -s unlimited") still ends a runaway recursion with the script's
// error, long before the memory runs out (here 1 GiB of address space: past it, the stack could
// not grow and the program would die of a signal).
TEST(BrsStart, RunawayRecursionIsAScriptErrorUnderAnUnlimitedStack) {
  rlimit hard{};
  if (getrlimit(RLIMIT_STACK, &hard) != 0 || hard.rlim_max != RLIM_INFINITY)
    GTEST_SKIP() << "the stack cannot be unlimited here";
  Outcome o = RunWithStack(
      "function down(n) { return down(n + 1); }\n"
      "try { down(0); } catch (e) { println(\"caught \" + e); }\n",
      RLIM_INFINITY, rlim_t(1) << 30);
  ASSERT_TRUE(WIFEXITED(o.status)) << "ended by signal " << WTERMSIG(o.status);
  EXPECT_EQ(WEXITSTATUS(o.status), 0);
  EXPECT_EQ(o.out, "caught EStackOverflow\n");
}

// Standard input or a script that never ends (a device such as /dev/zero, as a pipe could be) is
// read up to a limit, then refused: the script sees "read error" (and can catch it), and a script
// file that goes on is not run. Under 1 GiB of address space, reading on would end in "out of
// memory" instead.
TEST(BrsStart, InputAndScriptsThatNeverEndStopAtALimit) {
  const rlim_t stack = rlim_t(8) << 20, memory = rlim_t(1) << 30;
  for (const char* call : {"readln()", "read()"}) {
    Outcome o = RunBrs({"-e", std::string("try { ") + call + "; } catch (e) { println(\"caught \" + e); }"}, stack,
                       memory, "/dev/zero");
    ASSERT_TRUE(WIFEXITED(o.status)) << call << ": ended by signal " << WTERMSIG(o.status);
    EXPECT_EQ(o.out, "caught EFileError\n") << call;
  }
  Outcome o = RunBrs({"/dev/zero"}, stack, memory);
  ASSERT_TRUE(WIFEXITED(o.status)) << "ended by signal " << WTERMSIG(o.status);
  EXPECT_EQ(WEXITSTATUS(o.status), 2);
  EXPECT_NE(o.out.find("cannot open /dev/zero"), std::string::npos) << o.out;
}

// A regular file on standard input has no such limit: it is read as it is, line by line or whole.
TEST(BrsStart, AFileOnStandardInputIsReadWhole) {
  char name[] = "/tmp/brs-input-XXXXXX";
  int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  const std::string line(20u << 20, 'x');
  ASSERT_EQ(write(fd, line.data(), line.size()), ssize_t(line.size()));
  ASSERT_EQ(write(fd, "\nend\n", 5), 5);
  close(fd);
  Outcome o = RunBrs({"-e", "println(readln().length); println(read().length);"}, rlim_t(8) << 20, RLIM_INFINITY, name);
  unlink(name);
  EXPECT_EQ(o.out, std::to_string(line.size()) + "\n4\n");
}

}  // namespace
