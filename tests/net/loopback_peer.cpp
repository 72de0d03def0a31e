#include "loopback_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace nettest {

namespace {

int ListenOnLoopback(int backlog, int receiveBuffer, uint16_t& port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket() failed");
  if (receiveBuffer > 0) setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, backlog) != 0) {
    ::close(fd);
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  socklen_t len = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  port = ntohs(a.sin_port);
  return fd;
}

}  // namespace

LoopbackPeer::LoopbackPeer(std::function<void(int fd)> serve, int backlog, int receiveBuffer) {
  listener_ = ListenOnLoopback(backlog, receiveBuffer, port_);
  if (!serve) return;
  thread_ = std::thread([this, serve = std::move(serve)] {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, 10000) != 1) return;
    int fd = ::accept(listener_, nullptr, nullptr);
    if (fd < 0) return;
    serve(fd);
    ::close(fd);
  });
}

LoopbackPeer::~LoopbackPeer() {
  if (thread_.joinable()) thread_.join();
  ::close(listener_);
}

void Signal::raise() {
  std::lock_guard<std::mutex> lock(mutex_);
  raised_ = true;
  cv_.notify_all();
}

bool Signal::wait(int milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  return cv_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return raised_; });
}

void SendAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (n <= 0) return;
    data.remove_prefix(static_cast<size_t>(n));
  }
}

std::string ReadUntilClose(int fd) {
  std::string all;
  char buf[65536];
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 10000) != 1) break;
    ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    all.append(buf, static_cast<size_t>(n));
  }
  return all;
}

std::string ReadUntil(int fd, std::string_view terminator) {
  std::string all;
  char c;
  while (all.size() < terminator.size() || all.compare(all.size() - terminator.size(), terminator.size(), terminator) != 0) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 10000) != 1) break;
    if (::recv(fd, &c, 1, 0) != 1) break;
    all += c;
  }
  return all;
}

std::string ReadExactly(int fd, size_t count) {
  std::string all(count, '\0');
  size_t got = 0;
  while (got < count) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 10000) != 1) break;
    ssize_t n = ::recv(fd, all.data() + got, count - got, 0);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  all.resize(got);
  return all;
}

uint16_t UnusedPort() {
  uint16_t port = 0;
  int fd = ListenOnLoopback(1, 0, port);
  ::close(fd);
  return port;
}

uint16_t ClosedPort() {
  // Bound once and never closed: the port stays this process's, and with nothing listening on it a
  // connection is refused.
  static const uint16_t port = [] {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0)
      throw std::runtime_error("cannot hold a port on 127.0.0.1");
    return ntohs(a.sin_port);
  }();
  return port;
}

}  // namespace nettest
