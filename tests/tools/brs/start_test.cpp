// brs started in a process of its own, under limits a user may set.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace {

struct Outcome {
  std::string out;
  int status = -1;
};

// Runs brs -e `code` with the stack limited to `stackBytes`; its standard output and wait status.
Outcome RunWithStack(const std::string& code, rlim_t stackBytes) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return {};
  pid_t child = fork();
  if (child == 0) {
    rlimit limit{stackBytes, stackBytes};
    setrlimit(RLIMIT_STACK, &limit);
    dup2(pipeFds[1], 1);
    close(pipeFds[0]);
    close(pipeFds[1]);
    execl(BRS_PATH, "brs", "-e", code.c_str(), static_cast<char*>(nullptr));
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

}  // namespace
