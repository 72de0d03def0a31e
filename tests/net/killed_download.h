// Runs a download in a child process that is killed (SIGKILL) part way, the way a user's kill -9
// or a crash would end it, so a test can look at what the folder holds afterwards.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <functional>

#include "net/socket.h"

namespace nettest {

// Makes the process die once `socket` has read `bytes` bytes (what arrived before is written).
inline void DieAfterReading(net::TgSocket& socket, int64_t bytes) {
  socket.OnRead = [bytes](net::TgSocket& s, int, bool&) {
    if (s.BytesRead >= bytes) raise(SIGKILL);
  };
}

// Runs `download` in a child process; answers whether the child was killed by SIGKILL (false when
// the download ended, or failed, first). A child still running after `seconds` (a transfer that
// stalled) is killed from here and counts as not killed part way.
inline bool KilledPartWay(const std::function<void()>& download, int seconds = 60) {
  pid_t pid = fork();
  if (pid == 0) {
    try {
      download();
    } catch (...) {
      _exit(2);
    }
    _exit(0);
  }
  if (pid < 0) return false;
  bool ended = false;
  if (int ends = int(syscall(SYS_pidfd_open, pid, 0)); ends >= 0) {
    pollfd p{ends, POLLIN, 0};
    int ready;
    do ready = poll(&p, 1, seconds * 1000);
    while (ready < 0 && errno == EINTR);
    ended = ready == 1;
    close(ends);
  }
  if (!ended) kill(pid, SIGKILL);
  int status = 0;
  pid_t waited;
  do waited = waitpid(pid, &status, 0);
  while (waited < 0 && errno == EINTR);
  return ended && waited == pid && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace nettest
