// Runs a program in a process of its own, as a user starts it: its arguments, the environment
// changes asked for, an optional working folder and standard input; answers what it wrote to its
// two streams and how it ended. A program still running at its deadline is killed, so a program
// that hangs fails the test instead of holding it up.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace testing_tools {

struct ProgramOutcome {
  std::string out;
  std::string err;
  int status = -1;  // as waitpid gives it
  bool timedOut = false;  // killed at its deadline
  bool Exited(int code) const { return !timedOut && WIFEXITED(status) && WEXITSTATUS(status) == code; }
  std::string Describe() const {
    if (timedOut) return "still running at its deadline, killed";
    if (WIFEXITED(status)) return "exit " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
    return "not started";
  }
};

struct ProgramRun {
  std::vector<std::string> args;                            // args[0] is the program's path
  std::vector<std::pair<std::string, std::string>> setEnv;  // name, value
  std::vector<std::string> unsetEnv;
  std::string folder;  // working folder; empty: this one
  std::string input;   // standard input (then its end)
  bool mergeErr = false;  // standard error into the same pipe as standard output, in order
  int seconds = 120;      // the deadline, from the start
};

inline ProgramOutcome RunProgram(const ProgramRun& run) {
  int outPipe[2], errPipe[2], inPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0 || pipe(inPipe) != 0) return {};
  pid_t child = fork();
  if (child == 0) {
    for (const auto& [name, value] : run.setEnv) setenv(name.c_str(), value.c_str(), 1);
    for (const std::string& name : run.unsetEnv) unsetenv(name.c_str());
    if (!run.folder.empty() && chdir(run.folder.c_str()) != 0) _exit(126);
    dup2(inPipe[0], 0);
    dup2(outPipe[1], 1);
    dup2(run.mergeErr ? outPipe[1] : errPipe[1], 2);
    for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1], inPipe[0], inPipe[1]}) close(fd);
    std::vector<char*> argv;
    for (const std::string& a : run.args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  close(inPipe[0]);
  // The input is small: it fits the pipe, so writing it all first cannot block on the child.
  std::string input = run.input;
  size_t written = 0;
  while (written < input.size()) {
    ssize_t n = write(inPipe[1], input.data() + written, input.size() - written);
    if (n <= 0) break;
    written += size_t(n);
  }
  close(inPipe[1]);
  ProgramOutcome result;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(run.seconds);
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 2;
  while (open > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    int ready = left.count() > 0 ? poll(fds, 2, int(left.count())) : 0;
    if (ready == 0) {
      // Its streams stay open (by it, or by a program it started): it is not going to end.
      result.timedOut = true;
      kill(child, SIGKILL);
      for (pollfd& p : fds)
        if (p.fd >= 0) close(p.fd);
      break;
    }
    if (ready < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, size_t(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  waitpid(child, &result.status, 0);
  return result;
}

}  // namespace testing_tools
