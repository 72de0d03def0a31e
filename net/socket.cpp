#include "net/socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "net/host_address.h"
#include "net/replacing_file.h"
#include "net/wsa_errors.h"
#include "platform/rt/random.h"

namespace net {

namespace {

std::string Num(int64_t value) { return std::to_string(value); }

std::string_view TrimView(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

// A reply block longer than this is cut off rather than held in memory.
constexpr size_t kMaxReplyBlock = size_t(64) << 20;

}  // namespace

TgSocket::TgSocket(int bufferSize) : BufferSize(std::max(bufferSize, 1)) {
  Buffer.resize(static_cast<size_t>(BufferSize));
}

TgSocket::TgSocket(AcceptedHandle accepted, int bufferSize) : TgSocket(bufferSize) {
  Timeout = 120;
  Handle = accepted.handle;
  socklen_t length = sizeof Address;
  if (getpeername(Handle, reinterpret_cast<sockaddr*>(&Address), &length) == 0) {
    PeerAddress = Address.sin_addr.s_addr;
  }
  Connected = true;
}

TgSocket::~TgSocket() {
  // A connection still open is closed quietly: handlers may already be gone.
  OnStatus = nullptr;
  OnDisconnect = nullptr;
  if (Connected) Disconnect();
  if (Handle != kNoSocket) {
    ::close(Handle);
    Handle = kNoSocket;
  }
}

void TgSocket::Log(const std::string& text, int level) {
  if (LogLevel < level || !OnStatus) return;
  try {
    OnStatus(*this, text);
  } catch (...) {
    // A status handler never breaks the operation that reports.
  }
}

bool TgSocket::IsClosed(TSocket socket) {
  if (socket == kNoSocket) return true;
  if (socket == Handle && PeerClosed) return true;
  if (socket == Handle && Layer && Layer->Pending()) return false;  // what it holds is still to be read
  if (SocketState(socket) == 2) return false;
  // A connection the peer reset counts as no longer connected, but what arrived before the reset
  // (and the reset itself) is still there to be read: reading it is how the caller learns of both.
  return !HasInputOrError(socket);
}

bool TgSocket::HasInputOrError(TSocket socket) {
  if (socket == Handle && Layer && Layer->Pending()) return true;
  pollfd p{socket, POLLIN, 0};
  int ready;
  do ready = ::poll(&p, 1, 0); while (ready < 0 && errno == EINTR);
  return ready > 0 && (p.revents & (POLLIN | POLLERR)) != 0;
}

void TgSocket::SetClosed(TSocket socket, bool value) {
  if (socket == Handle) PeerClosed = value;
}

int TgSocket::Poll() {
  if (Handle == kNoSocket) return 0;
  pollfd p{Handle, POLLIN | POLLOUT | POLLPRI, 0};
  int result = 0;
  if (Layer && Layer->Pending()) {
    result = 1;
  } else if (::poll(&p, 1, 10) <= 0) {
    return 0;
  }
  if (p.revents & (POLLIN | POLLHUP)) result |= 1;  // revents stays 0 when the layer answered
  if (p.revents & POLLOUT) result |= 2;
  if (p.revents & (POLLERR | POLLPRI | POLLNVAL)) result |= 4;
  if ((result & 1) && OnReadReady) OnReadReady(*this);
  return result;
}

void TgSocket::Abort() { Cancel(); }

TSocket TgSocket::AcceptConnection() { return AcceptOn(Handle); }

void TgSocket::Listen() {
  CloseSocketHandle(Handle);
  Handle = CreateSocket();
  BindAndListen(Handle, Port);
  Listening = true;
}

void TgSocket::Cancel() {
  Cancelled = true;
  Log("rtn>cancelします", kLogRoutine);
  if (Connected) Disconnect();
  throw ESocketCancel();
}

// The old file stays as it was until everything has arrived.
void TgSocket::ReceiveToFile(const std::string& fileName) {
  CheckReadable();
  TReplacingFile file(fileName);
  ReceiveToStream(file.Stream(), -1);
  file.Commit();
}

bool TgSocket::ReceiveToStream(std::ostream& stream, int64_t count) {
  CheckReadable();
  ReceiveToStreamFrom(Handle, stream, static_cast<int64_t>(stream.tellp()), count);
  return IsClosed(Handle);
}

void TgSocket::ReceiveToString(std::string& text, int64_t count) {
  TStringReceiveBuffer buffer(text);
  ReceiveToBuffer(buffer, count);
}

void TgSocket::ReceiveToBuffer(TReceiveBuffer& buffer, int64_t count) {
  CheckReadable();
  int64_t remaining = count;
  while ((count < 0 || remaining > 0) && !IsClosed(Handle)) {
    int ask = count < 0 ? BufferSize : static_cast<int>(std::min<int64_t>(BufferSize, remaining));
    char* room = buffer.Room(static_cast<size_t>(ask));
    int n;
    try {
      n = RecvBuffer(Handle, room, ask);
    } catch (...) {
      buffer.Grew(0);  // bytes a cancelling handler saw are not kept, as with any failed read
      throw;
    }
    buffer.Grew(n > 0 ? static_cast<size_t>(n) : 0);
    if (n > 0) remaining -= n;
  }
}

void AdviseHugePages(void* data, size_t size) {
  constexpr size_t kHugePageBlock = size_t(4) << 20;
  if (size < kHugePageBlock) return;
  auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  uintptr_t first = (reinterpret_cast<uintptr_t>(data) + page - 1) & ~(page - 1);
  uintptr_t last = (reinterpret_cast<uintptr_t>(data) + size) & ~(page - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

char* TStringReceiveBuffer::Room(size_t size) {
  held_ = text_.size();
  size_t capacity = text_.capacity();
  text_.resize(held_ + size);
  if (text_.capacity() != capacity) AdviseHugePages(text_.data(), text_.capacity());
  return text_.data() + held_;
}

void TStringReceiveBuffer::Expect(size_t more) {
  text_.reserve(text_.size() + more);
  AdviseHugePages(text_.data(), text_.capacity());
}

void TStringReceiveBuffer::Grew(size_t count) { text_.resize(held_ + count); }

void TgSocket::CheckConnected() {
  bool doConnect = false;
  if (!Connected && OnNeedConnect) OnNeedConnect(doConnect);
  if (Connected) return;
  if (doConnect) {
    Connect();
    return;
  }
  LastError = WSAENOTCONN;
  FireSocketError(LastError);
  throw ETCPIPError("not connected", PeerAddress);
}

void TgSocket::Connect() { ConnectToHost(Host, Port); }

void TgSocket::Disconnect() {
  if (Connected) Log("nfo>" + Host + ":" + Num(ConnectedPort) + "から切断します", kLogNormal);
  CloseSocketHandle(Handle);
  PeerAddress = kNoAddress;
  Connected = false;
  if (OnDisconnect) OnDisconnect(*this);
}

std::string TgSocket::GetLocalAddressText() {
  std::string text = GetLocalAddress();
  std::replace(text.begin(), text.end(), '.', ',');
  return text + ",";
}

std::string TgSocket::GetPortText() { return Num(Port >> 8) + "," + Num(Port & 0xFF); }

void TgSocket::ReadString(std::string& text, int64_t count) {
  text.clear();
  ReceiveToString(text, count);
}

void TgSocket::ReadLine(std::string& line) {
  CheckReadable();
  ReadLineFrom(Handle, line);
}

// A socket without a connection (never connected, disconnected, a failed connect, a listener) has
// nothing to read from: that is a socket error. A connection the peer has closed is different: it
// reads as empty until it is disconnected.
void TgSocket::CheckReadable() {
  if (Connected) return;
  if (Handle == kNoSocket) RaiseSocketError(WSAENOTSOCK);
  if (SocketState(Handle) != 2) RaiseSocketError(WSAENOTCONN);
}

void TgSocket::SendCommandReadBlock(const std::string& command, std::string& reply) {
  SendLine(command);
  std::string block, line;
  for (;;) {
    ReadLine(line);
    block += line;
    block += "\r\n";
    if (line.empty() || IsClosed(Handle)) break;
    if (block.size() > kMaxReplyBlock) throw EProtocolError(0, "tcp", "reply too long");
  }
  reply = block;
  LastReply = block;
}

void TgSocket::SendCommand(const std::string& line, bool noSend) {
  if (!noSend) SendLine(line);
  if (!TrimView(line).empty()) Log("cmd>" + line, kLogNormal);
}

void TgSocket::ReadReply(std::string& line) {
  ReadLine(line);
  LastReply = line;
  if (!line.empty()) Log("res>" + line, kLogNormal);
}

int TgSocket::ReadBuffer(void* data, int size) { return RecvBuffer(Handle, data, size); }

int TgSocket::SendString(const std::string& text) {
  return SendBuffer(Handle, text.data(), static_cast<int64_t>(text.size()));
}

int TgSocket::SendLine(const std::string& text) { return SendString(text + "\r\n"); }

void TgSocket::SendFile(const std::string& fileName) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fileName, ec)) return;
  std::ifstream file(fileName, std::ios::binary);
  if (!file) throw rt::Exception("Cannot open file \"" + fileName + "\"");
  SendStream(Handle, file, 0, -1);
}

int TgSocket::SendStream(TSocket socket, std::istream& stream, int64_t position, int64_t count) {
  stream.clear();
  stream.seekg(position);
  int result = 0;
  int64_t remaining = count;
  while (count < 0 || remaining > 0) {
    int64_t ask = count < 0 ? BufferSize : std::min<int64_t>(BufferSize, remaining);
    stream.read(Buffer.data(), ask);
    std::streamsize got = stream.gcount();
    if (got <= 0) break;
    result = SendBuffer(socket, Buffer.data(), got);
    remaining -= got;
  }
  return result;
}

void TgSocket::ReceiveToStreamFrom(TSocket& socket, std::ostream& stream, int64_t position, int64_t count) {
  stream.seekp(position);
  ReceiveInto(socket, count, [&stream](const char* data, size_t n) {
    stream.write(data, static_cast<std::streamsize>(n));
  });
}

void TgSocket::ReceiveInto(TSocket& socket, int64_t count,
                           const std::function<void(const char*, size_t)>& sink) {
  int64_t remaining = count;
  while ((count < 0 || remaining > 0) && !IsClosed(socket)) {
    int ask = count < 0 ? BufferSize : static_cast<int>(std::min<int64_t>(BufferSize, remaining));
    int n = RecvBuffer(socket, Buffer.data(), ask);
    if (n > 0) {
      sink(Buffer.data(), static_cast<size_t>(n));
      remaining -= n;
    }
  }
}

bool TgSocket::IsConnected() { return Connected && SocketState(Handle) == 2; }

int TgSocket::SocketState(TSocket socket) {
  if (socket == kNoSocket) return 0;
  sockaddr_in peer{};
  socklen_t length = sizeof peer;
  if (getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &length) == 0) return 2;
  return errno == ENOTCONN ? 1 : 3;
}

std::string TgSocket::GetLocalAddress() {
  if (Connected) return GetSocketLocalAddress(Handle);
  return IPToStr(GetLocalIP());
}

void TgSocket::CloseSocketHandle(TSocket& socket) {
  if (socket == kNoSocket) return;
  if (socket == Handle) Layer.reset();
  if (Logs(kLogRoutine)) Log("rtn>socket(" + Num(socket) + ")をcloseします", kLogRoutine);
  ::close(socket);
  socket = kNoSocket;
}

TSocket TgSocket::CreateSocket() {
  Log("rtn>socketを作成します", kLogRoutine);
  TSocket s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) {
    LastError = WSAGetLastError();
    Log("err>socketの作成に失敗しました", kLogNormal);
    Log(WSAErrorName(LastError), kLogDetail);
    FireSocketError(LastError);
    throw ESocketError(LastError);
  }
  if (Logs(kLogDetail)) Log("dbg>socket(" + Num(s) + ")を作成しました", kLogDetail);
  return s;
}

void TgSocket::ConnectSocket(TSocket& socket, uint16_t port, uint32_t address) {
  CloseSocketHandle(socket);
  socket = CreateSocket();
  Log("rtn>" + Host + "にconnectします", kLogRoutine);
  int code = ConnectCreated(socket, port, address);
  std::string where = Host + "(" + IPToStr(address) + "):" + Num(port);
  if (code != 0) {
    LastError = code;
    Log("err>" + where + "にconnect失敗しました", kLogNormal);
    if (OnConnectFailed) OnConnectFailed(*this);
    FireSocketError(code);
    throw ESocketError(code);
  }
  ConnectedPort = port;
  Log("suc>" + where + "にconnect成功しました", kLogNormal);
}

int TgSocket::OpenConnection(TSocket& socket, uint16_t port, uint32_t address) {
  CloseSocketHandle(socket);
  socket = CreateSocket();
  return ConnectCreated(socket, port, address);
}

int TgSocket::ConnectCreated(TSocket socket, uint16_t port, uint32_t address) {
  Address = sockaddr_in{};
  Address.sin_family = AF_INET;
  Address.sin_port = htons(port);
  Address.sin_addr.s_addr = address;

  // The connect runs non-blocking so that it can be bounded by the same slices as a transfer.
  int code = 0;
  int flags = fcntl(socket, F_GETFL);
  fcntl(socket, F_SETFL, flags | O_NONBLOCK);
  if (::connect(socket, reinterpret_cast<const sockaddr*>(&Address), sizeof Address) != 0) {
    if (errno != EINPROGRESS && errno != EINTR) {
      code = WSAGetLastError();
    } else {
      int ready;
      if (Timeout >= 1) {
        bool aborted = false;
        ready = WaitSlices(socket, POLLOUT, aborted);
      } else {
        pollfd p{socket, POLLOUT, 0};
        do ready = ::poll(&p, 1, -1); while (ready < 0 && errno == EINTR);
      }
      if (ready < 0) {
        code = WSAGetLastError();
      } else if (ready == 0) {
        code = WSAETIMEDOUT;
      } else {
        int err = 0;
        socklen_t length = sizeof err;
        getsockopt(socket, SOL_SOCKET, SO_ERROR, &err, &length);
        if (err != 0) code = WsaErrorFromErrno(err);
      }
    }
  }
  fcntl(socket, F_SETFL, flags);
  return code;
}

uint32_t TgSocket::Resolve(const std::string& host, int& error) { return ResolveHost(host, &error); }

void TgSocket::ConnectToHost(const std::string& host, uint16_t port) {
  if (Connected) Disconnect();
  bool retry = false;
  int retries = 0;
  for (;;) {
    Log("rtn>" + host + "を探しています", kLogRoutine);
    int error = 0;
    PeerAddress = Resolve(host, error);
    if (PeerAddress != kNoAddress) break;
    LastError = error != 0 ? error : WSAHOST_NOT_FOUND;
    Log("err>" + host + "が見つかりません", kLogNormal);
    if (OnResolveError) OnResolveError(retry);
    FireSocketError(LastError);
    if (retry && retries < 5) {
      ++retries;
      continue;
    }
    throw ETCPIPError("not found " + host, kNoAddress);
  }
  Log("suc>" + host + "が見つかりました", kLogNormal);
  if (OnHostResolved) OnHostResolved(*this);
  ConnectSocket(Handle, port, PeerAddress);
  Connected = true;
  PeerClosed = false;
  if (OnConnect) OnConnect(*this);
}

void TgSocket::FireSocketError(int code) {
  if (OnSocketError) OnSocketError(*this, code, WSAErrorName(code));
}

void TgSocket::RaiseSocketError(int code) {
  LastError = code;
  Log("err>socket error", kLogNormal);
  Log("dbg>" + WSAErrorName(code), kLogDetail);
  FireSocketError(code);
  throw ESocketError(code);
}

// Waits for `events` in slices; >0 ready, 0 when the time ran out or OnIdle asked to stop, -1 on
// an error (errno set).
int TgSocket::WaitSlices(TSocket socket, short events, bool& aborted) {
  aborted = false;
  if (socket == kNoSocket) {
    errno = ENOTSOCK;
    return -1;
  }
  for (int slice = 0; slice < Timeout; ++slice) {
    pollfd p{socket, events, 0};
    int ready;
    do ready = ::poll(&p, 1, SliceMilliseconds); while (ready < 0 && errno == EINTR);
    if (ready < 0) return -1;
    if (ready > 0) {
      if (p.revents & POLLNVAL) {
        errno = ENOTSOCK;
        return -1;
      }
      return 1;
    }
    bool abort = false;
    if (OnIdle) OnIdle(*this, abort);
    if (abort) {
      aborted = true;
      return 0;
    }
  }
  return 0;
}

// `events` other than 0 is what to wait for instead of the direction's own (a layer may need to
// write while it reads).
void TgSocket::WaitFor(TSocket socket, Direction direction, short events) {
  TimedOut = false;
  if (events == 0) events = direction == Direction::Receive ? POLLIN : POLLOUT;
  if (Timeout < 1) {
    // No time limit: the plain transfer call itself blocks; a layer works on a non-blocking socket.
    if (!(socket == Handle && Layer)) return;
    pollfd p{socket, events, 0};
    int ready;
    do ready = ::poll(&p, 1, -1); while (ready < 0 && errno == EINTR);
    if (ready < 0) RaiseSocketError(WSAGetLastError());
    return;
  }
  bool aborted = false;
  int ready = WaitSlices(socket, events, aborted);
  if (ready < 0) RaiseSocketError(WSAGetLastError());
  if (ready == 0) {
    TimedOut = true;
    LastError = WSAETIMEDOUT;
    bool receive = direction == Direction::Receive;
    Log(receive ? "err>recv timeout" : "err>send timeout", kLogNormal);
    Log("dbg>" + WSAErrorName(LastError), kLogDetail);
    FireSocketError(LastError);
    throw ESocketTimeout(receive ? "socket timeout" : "Send Timeout");
  }
}

// One read step of the layer on the own connection, waiting as the layer asks.
int TgSocket::LayerReceive(void* data, int size, bool peek) {
  short events = Layer->Pending() ? 0 : POLLIN;
  for (;;) {
    if (events != 0) WaitFor(Handle, Direction::Receive, events);
    int n = Layer->Receive(data, size, peek);
    if (n == TTransportLayer::kLayerWantRead) {
      events = POLLIN;
    } else if (n == TTransportLayer::kLayerWantWrite) {
      events = POLLOUT;
    } else if (n == TTransportLayer::kLayerFailed) {
      RaiseSocketError(Layer->FailureCode());
    } else {
      return n;
    }
  }
}

int TgSocket::ReceiveWithFlags(TSocket& socket, void* data, int size, bool peek) {
  SetClosed(socket, true);
  ssize_t n;
  if (socket == Handle && Layer) {
    n = LayerReceive(data, size, peek);
  } else {
    WaitFor(socket, Direction::Receive);
    do n = ::recv(socket, data, static_cast<size_t>(size), peek ? MSG_PEEK : 0); while (n < 0 && errno == EINTR);
  }
  if (n < 0) {
    int code = WSAGetLastError();
    if (code == WSAEWOULDBLOCK) return -1;
    RaiseSocketError(code);
  }
  if (n == 0) {
    SetClosed(socket, true);
    CloseSocketHandle(socket);
    return 0;
  }
  if (peek) return static_cast<int>(n);
  SetClosed(socket, false);
  CountTransfer(static_cast<int>(n), Direction::Receive);
  return static_cast<int>(n);
}

// Counts the bytes of one transfer, reports them and lets the handler cancel what follows.
void TgSocket::CountTransfer(int count, Direction direction) {
  bool receive = direction == Direction::Receive;
  if (Logs(kLogDetail)) {
    Log(receive ? "dbg>socketから " + Num(count) + " bytes読み込みました" : "dbg>socketに " + Num(count) + " bytes書き込みました",
        kLogDetail);
  }
  (receive ? BytesRead : BytesWritten) += count;
  BytesTotal += count;
  bool cancel = false;
  const TSocketCountEvent& event = receive ? OnRead : OnWrite;
  if (event) event(*this, count, cancel);
  if (cancel) throw ESocketError(0);
}

int TgSocket::RecvBuffer(TSocket& socket, void* data, int size) { return ReceiveWithFlags(socket, data, size, false); }

int TgSocket::PeekBuffer(TSocket& socket, void* data, int size) { return ReceiveWithFlags(socket, data, size, true); }

int TgSocket::SendBuffer(TSocket socket, const void* data, int64_t length) {
  const char* bytes = static_cast<const char*>(data);
  int result = 0;
  int64_t offset = 0;
  // Each chunk goes out whole: a short send continues with the rest after the next wait.
  while (offset < length) {
    int chunk = static_cast<int>(std::min<int64_t>(BufferSize, length - offset));
    int sent = 0;
    while (sent < chunk) {
      if (socket == Handle && Layer) {
        int n = Layer->Send(bytes + offset + sent, chunk - sent);
        if (n == TTransportLayer::kLayerWantRead || n == TTransportLayer::kLayerWantWrite) {
          WaitFor(socket, Direction::Send, n == TTransportLayer::kLayerWantRead ? POLLIN : POLLOUT);
          continue;
        }
        if (n == TTransportLayer::kLayerFailed) RaiseSocketError(Layer->FailureCode());
        sent += n;
        CountTransfer(n, Direction::Send);
        result = n;
        continue;
      }
      WaitFor(socket, Direction::Send);
      int flags = MSG_NOSIGNAL | (Timeout >= 1 ? MSG_DONTWAIT : 0);
      ssize_t n = ::send(socket, bytes + offset + sent, static_cast<size_t>(chunk - sent), flags);
      if (n < 0) {
        if (errno == EINTR) continue;
        int code = WSAGetLastError();
        if (code == WSAEWOULDBLOCK) continue;
        RaiseSocketError(code);
      }
      sent += static_cast<int>(n);
      CountTransfer(static_cast<int>(n), Direction::Send);
      result = static_cast<int>(n);
    }
    offset += chunk;
  }
  return result;
}

void TgSocket::ReadLineFrom(TSocket& socket, std::string& line) {
  line.clear();
  char chunk[1024];
  while (!IsClosed(socket)) {
    int n = PeekBuffer(socket, chunk, sizeof chunk);
    if (n <= 0) break;
    std::string_view peeked(chunk, static_cast<size_t>(n));
    size_t k, consume;
    bool ended = true, crAtEnd = false;
    if ((k = peeked.find("\r\n")) != std::string_view::npos) {
      consume = k + 2;
    } else if ((k = peeked.find('\n')) != std::string_view::npos) {
      consume = k + 1;
    } else if ((k = peeked.find('\r')) != std::string_view::npos) {
      consume = k + 1;
      crAtEnd = k + 1 == peeked.size();
    } else {
      k = consume = peeked.size();
      ended = false;
    }
    line.append(chunk, k);
    char scratch[sizeof chunk];
    for (size_t done = 0; done < consume;) {
      int got = RecvBuffer(socket, scratch, static_cast<int>(consume - done));
      if (got <= 0) break;
      done += static_cast<size_t>(got);
    }
    if (line.size() > kMaxLineLength) throw EProtocolError(0, "tcp", "line too long");
    if (ended) {
      if (crAtEnd) SkipLineFeedAfterCR(socket);
      break;
    }
  }
}

// A CR that ended the peeked bytes may be the first half of a CR LF whose LF is still on its way; the
// LF is taken now so that it does not come back as an empty line. Waits at most one slice.
void TgSocket::SkipLineFeedAfterCR(TSocket& socket) {
  if (socket == kNoSocket) return;
  if (socket == Handle && Layer) {
    // Through the layer the look ahead is a read of the layer's own: what it holds may be only part
    // of what it needs, so it waits once, no longer than a slice, when it asks for more.
    char next = 0;
    int n = Layer->Receive(&next, 1, true);
    if (n == TTransportLayer::kLayerWantRead) {
      pollfd p{socket, POLLIN, 0};
      int ready;
      do ready = ::poll(&p, 1, SliceMilliseconds); while (ready < 0 && errno == EINTR);
      if (ready <= 0) return;
      n = Layer->Receive(&next, 1, true);
    }
    if (n == 1 && next == '\n') RecvBuffer(socket, &next, 1);
    return;
  }
  pollfd p{socket, POLLIN, 0};
  int ready;
  do ready = ::poll(&p, 1, SliceMilliseconds); while (ready < 0 && errno == EINTR);
  if (ready <= 0) return;
  char next = 0;
  ssize_t n;
  do n = ::recv(socket, &next, 1, MSG_PEEK | MSG_DONTWAIT); while (n < 0 && errno == EINTR);
  if (n == 1 && next == '\n') RecvBuffer(socket, &next, 1);
}

void TgSocket::BindAndListen(TSocket socket, uint16_t port) {
  int on = 1;
  setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  local.sin_port = htons(port);
  if (::bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    RaiseBindError(WSAGetLastError(), "err>port " + Num(port) + "でbind失敗しました");
  }
  Log("suc>port " + Num(port) + "でbind成功しました", kLogRoutine);
  Log("rtn>listenを開始します", kLogRoutine);
  if (::listen(socket, 5) != 0) RaiseBindError(WSAGetLastError(), "err>listen失敗しました");
  Log("suc>listen成功しました", kLogRoutine);
}

void TgSocket::RaiseBindError(int code, const std::string& line) {
  LastError = code;
  Log(line, kLogNormal);
  Log("dbg>" + WSAErrorName(code), kLogDetail);
  FireSocketError(code);
  throw EBindError(WSAErrorName(code));
}

void TgSocket::BindInRange(TSocket socket, uint16_t first, uint16_t& chosen, int count) {
  Log("rtn>port " + Num(first) + "～" + Num(first + count) + "の範囲でbindを開始します", kLogRoutine);
  int on = 1;
  setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  bool bound = false;
  for (int attempt = 0; count > 0 && attempt < count; ++attempt) {
    int port = first + rt::Random(count);
    if (port > 0xFFFF) continue;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(static_cast<uint16_t>(port));
    if (::bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0) {
      chosen = static_cast<uint16_t>(port);
      bound = true;
      Log("suc>port " + Num(port) + "でbind成功しました", kLogRoutine);
      break;
    }
    LastError = WSAGetLastError();
    Log("err>port " + Num(port) + "でbind失敗しました", kLogNormal);
    Log("dbg>" + WSAErrorName(LastError), kLogDetail);
  }
  Log("rtn>listenを開始します", kLogRoutine);
  // An unbound socket would listen on a port of the system's choosing; a range that gave no port fails.
  if (!bound) RaiseBindError(LastError != 0 ? LastError : WSAEADDRINUSE, "err>listen失敗しました");
  if (::listen(socket, 5) != 0) RaiseBindError(WSAGetLastError(), "err>listen失敗しました");
  Log("suc>listen成功しました", kLogRoutine);
}

TSocket TgSocket::AcceptOn(TSocket socket) {
  Log("rtn>acceptを開始します", kLogRoutine);
  socklen_t length = sizeof Address;
  TSocket accepted;
  do accepted = ::accept4(socket, reinterpret_cast<sockaddr*>(&Address), &length, SOCK_CLOEXEC);
  while (accepted < 0 && errno == EINTR);
  if (accepted < 0) {
    LastError = WSAGetLastError();
    Log("err>acceptに失敗しました", kLogNormal);
    return kNoSocket;
  }
  Log("suc>acceptに成功しました", kLogRoutine);
  if (Logs(kLogDetail)) Log("dbg>socket(" + Num(accepted) + ")を受け取りました", kLogDetail);
  if (OnAccept) OnAccept(*this, accepted, Address);
  return accepted;
}

}  // namespace net
