// Runs a download in a child process that is killed (SIGKILL) part way, the way a user's kill -9
// or a crash would end it, so a test can look at what the folder holds afterwards.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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
// the download ended, or failed, first).
inline bool KilledPartWay(const std::function<void()>& download) {
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
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace nettest
