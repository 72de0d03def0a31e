// An X server of the test's own: Xvfb on a display number it picks free (-displayfd), started by
// the test and stopped by its process id. When Xvfb cannot start, Display() is empty and the tests
// that need it skip.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace brswtest {

class TXvfb {
 public:
  TXvfb() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(fds[1], 3);  // the display number is written to descriptor 3 (not closed on exec)
      int null = ::open("/dev/null", O_RDWR);
      ::dup2(null, 1);
      ::dup2(null, 2);
      ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-screen", "0", "640x480x24", "-noreset",
               static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    if (pid_ < 0) {
      ::close(fds[0]);
      return;
    }
    // The number comes as one line once the server accepts connections.
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (number.find('\n') == std::string::npos) {
      int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                         .count());
      pollfd p{fds[0], POLLIN, 0};
      if (left <= 0 || ::poll(&p, 1, left) <= 0) break;
      char buffer[16];
      ssize_t n = ::read(fds[0], buffer, sizeof buffer);
      if (n <= 0) break;
      number.append(buffer, size_t(n));
    }
    ::close(fds[0]);
    if (number.find('\n') == std::string::npos) {
      stop();
      return;
    }
    display_ = ":" + number.substr(0, number.find('\n'));
  }
  ~TXvfb() { stop(); }
  TXvfb(const TXvfb&) = delete;
  TXvfb& operator=(const TXvfb&) = delete;

  const std::string& Display() const { return display_; }

 private:
  void stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace brswtest
