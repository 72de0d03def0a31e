// A scripted TCP peer for the socket tests: it listens on 127.0.0.1 on a free port and serves the
// first connection on a thread of its own with the function the test gives.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace nettest {

class LoopbackPeer {
 public:
  // `receiveBuffer` > 0 shrinks the listener's receive buffer (inherited by the connection).
  explicit LoopbackPeer(std::function<void(int fd)> serve, int backlog = 5, int receiveBuffer = 0);
  ~LoopbackPeer();
  uint16_t port() const { return port_; }
  // The listening descriptor (for tests that fill its queue instead of serving).
  int listener() const { return listener_; }

 private:
  int listener_ = -1;
  uint16_t port_ = 0;
  std::thread thread_;
};

// A one-shot flag one thread raises and another waits for (bounded, so a broken test cannot hang).
class Signal {
 public:
  void raise();
  bool wait(int milliseconds = 10000);

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool raised_ = false;
};

void SendAll(int fd, std::string_view data);
// Everything until the other side closes (or 10 s of silence).
std::string ReadUntilClose(int fd);
// Reads until `terminator` has arrived; answers everything read.
std::string ReadUntil(int fd, std::string_view terminator);
// Exactly `count` bytes (fewer only when the other side closes first).
std::string ReadExactly(int fd, size_t count);
// A port on 127.0.0.1 where nothing listens now, for a server of the test to bind. Another
// program may take it before that server does.
uint16_t UnusedPort();
// A port on 127.0.0.1 that refuses every connection for as long as the test runs: a socket of the
// test holds it without listening, so no other server can take it.
uint16_t ClosedPort();

}  // namespace nettest
