// TgSocket: one blocking IPv4 stream socket, the base of every protocol client.
//
// Everything runs on the caller's thread. Each receive, send and connect first waits for the socket
// in one-second slices (at most `Timeout` of them), giving the caller a chance to abort through
// `OnIdle` after each empty slice, then transfers. Progress is reported as tagged status lines
// through `OnStatus`, filtered by `LogLevel`; every failure is raised as an `EgSocket` exception.
// The same class serves as a client, as a listener and as a connection made from an accepted handle.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "net/errors.h"

namespace net {

using TSocket = int;
constexpr TSocket kNoSocket = -1;

class TgSocket;

// A layer the bytes of a socket's own connection pass through (TLS). The socket still does the
// waiting: a layer step that cannot go on now answers kLayerWantRead or kLayerWantWrite, and the
// socket waits for that and calls it again.
class TTransportLayer {
 public:
  static constexpr int kLayerWantRead = -1;
  static constexpr int kLayerWantWrite = -2;
  static constexpr int kLayerFailed = -3;
  virtual ~TTransportLayer() = default;
  // Bytes read (>0), 0 at the end of the stream, or one of the codes above.
  virtual int Receive(void* data, int size, bool peek) = 0;
  // Bytes written (>0) or one of the codes above.
  virtual int Send(const void* data, int size) = 0;
  // Bytes already taken off the socket and waiting to be read: the socket shows nothing then.
  virtual bool Pending() = 0;
  // The error number of the last kLayerFailed.
  virtual int FailureCode() const = 0;
};

// Memory that received bytes go into directly: the socket asks for room, receives into it, then
// says how many bytes arrived. The owner keeps the one block the bytes end in, with no copy on the
// way.
class TReceiveBuffer {
 public:
  virtual ~TReceiveBuffer() = default;
  // Room for at least `size` more bytes after those held (the block may move).
  virtual char* Room(size_t size) = 0;
  // `count` bytes (maybe 0) were written at the start of the room last given.
  virtual void Grew(size_t count) = 0;
  // About `more` bytes are still to come: room for them all may be made at once.
  virtual void Expect(size_t more) { (void)more; }
};

// Asks for a large block of memory (4 MiB or more) to be mapped in huge pages: filling it then
// takes one page fault per 2 MiB instead of one per 4 KiB, which is most of what holding a large
// body costs. Smaller blocks are left as they are.
void AdviseHugePages(void* data, size_t size);

// Received bytes appended to a string.
class TStringReceiveBuffer : public TReceiveBuffer {
 public:
  explicit TStringReceiveBuffer(std::string& text) : text_(text) {}
  char* Room(size_t size) override;
  void Grew(size_t count) override;
  void Expect(size_t more) override;

 private:
  std::string& text_;
  size_t held_ = 0;
};

using TSocketNotifyEvent = std::function<void(TgSocket& sender)>;
using TSocketFlagEvent = std::function<void(bool& flag)>;
using TSocketErrorEvent = std::function<void(TgSocket& sender, int code, const std::string& name)>;
using TSocketCountEvent = std::function<void(TgSocket& sender, int count, bool& cancel)>;
using TSocketStatusEvent = std::function<void(TgSocket& sender, const std::string& text)>;
using TSocketAcceptEvent = std::function<void(TgSocket& sender, TSocket socket, const sockaddr_in& address)>;
using TSocketIdleEvent = std::function<void(TgSocket& sender, bool& abort)>;

// Status line levels: LogLevel passes a line when it is at least the line's level.
constexpr int kLogNotice = 1;
constexpr int kLogNormal = 2;
constexpr int kLogRoutine = 4;
constexpr int kLogDetail = 8;

// The longest line ReadLine assembles; a peer that sends more without a line end is cut off with an
// EProtocolError instead of exhausting memory.
constexpr size_t kMaxLineLength = 1 << 20;

class TgSocket {
 public:
  // A connection made from a handle that an accepting socket handed out.
  struct AcceptedHandle {
    TSocket handle;
  };

  explicit TgSocket(int bufferSize);
  TgSocket(AcceptedHandle accepted, int bufferSize);
  virtual ~TgSocket();
  TgSocket(const TgSocket&) = delete;
  TgSocket& operator=(const TgSocket&) = delete;

  // --- state ---
  bool Cancelled = false;
  bool TimedOut = false;
  int64_t BytesRead = 0;
  int64_t BytesWritten = 0;
  int64_t BytesTotal = 0;
  bool Connected = false;
  TSocket Handle = kNoSocket;
  std::string Host;
  int LastError = 0;
  uint16_t Port = 0;
  std::string Proxy;
  int ReplyCode = 0;
  int LogLevel = kLogNormal;
  std::string ReplyText;
  int Timeout = 30;
  std::string LastReply;
  uint32_t PeerAddress = 0xFFFFFFFFu;
  std::vector<char> Buffer;
  int BufferSize;
  bool PeerClosed = false;
  sockaddr_in Address{};
  bool Listening = false;
  uint16_t ConnectedPort = 0;
  // Length of one wait slice. One second in use; tests shorten it.
  int SliceMilliseconds = 1000;

  // --- events ---
  TSocketNotifyEvent OnConnect;
  TSocketNotifyEvent OnConnectFailed;
  TSocketFlagEvent OnNeedConnect;
  TSocketNotifyEvent OnDisconnect;
  TSocketErrorEvent OnSocketError;
  TSocketNotifyEvent OnHostResolved;
  TSocketFlagEvent OnResolveError;
  TSocketCountEvent OnRead;
  TSocketCountEvent OnWrite;
  TSocketNotifyEvent OnReadReady;
  TSocketStatusEvent OnStatus;
  TSocketAcceptEvent OnAccept;
  TSocketIdleEvent OnIdle;

  // --- virtual operations ---
  virtual void Log(const std::string& text, int level);
  virtual bool IsClosed(TSocket socket);
  virtual void SetClosed(TSocket socket, bool value);
  // 0 when nothing is ready, else 1 readable | 2 writable | 4 error (10 ms look).
  virtual int Poll();
  virtual void Abort();
  virtual TSocket AcceptConnection();
  virtual void Listen();
  [[noreturn]] virtual void Cancel();
  virtual void ReceiveToFile(const std::string& fileName);
  // Count -1: until the peer closes. Result: whether the connection is closed at the end.
  virtual bool ReceiveToStream(std::ostream& stream, int64_t count);
  virtual void ReceiveToString(std::string& text, int64_t count);
  // Receives into `buffer`; count -1 reads until the peer closes.
  virtual void ReceiveToBuffer(TReceiveBuffer& buffer, int64_t count);
  virtual void CheckConnected();
  virtual void Connect();
  virtual void Disconnect();
  virtual std::string GetLocalAddressText();
  virtual std::string GetPortText();
  virtual void ReadString(std::string& text, int64_t count);
  virtual void ReadLine(std::string& line);
  virtual void SendCommandReadBlock(const std::string& command, std::string& reply);
  virtual void SendCommand(const std::string& line, bool noSend = false);
  virtual void ReadReply(std::string& line);

  // --- other operations ---
  virtual int ReadBuffer(void* data, int size);
  int SendString(const std::string& text);
  int SendLine(const std::string& text);
  void SendFile(const std::string& fileName);
  int SendStream(TSocket socket, std::istream& stream, int64_t position, int64_t count);
  // Receives into `stream` from `position` on; count -1 reads until the peer closes.
  void ReceiveToStreamFrom(TSocket& socket, std::ostream& stream, int64_t position, int64_t count);
  bool IsConnected();
  // 0 no handle, 1 not connected, 2 connected, 3 any other state.
  int SocketState(TSocket socket);
  std::string GetLocalAddress();
  // Closing the own handle also ends the layer on it.
  void CloseSocketHandle(TSocket& socket);
  TSocket CreateSocket();
  void ConnectSocket(TSocket& socket, uint16_t port, uint32_t address);
  void ConnectToHost(const std::string& host, uint16_t port);
  // A receive that reaches the end of the stream closes `socket` (the caller's field) at once.
  int RecvBuffer(TSocket& socket, void* data, int size);
  int PeekBuffer(TSocket& socket, void* data, int size);
  int SendBuffer(TSocket socket, const void* data, int64_t length);
  void ReadLineFrom(TSocket& socket, std::string& line);
  void BindAndListen(TSocket socket, uint16_t port);
  void BindInRange(TSocket socket, uint16_t first, uint16_t& chosen, int count);
  TSocket AcceptOn(TSocket socket);

  // Whether a line of this level would reach OnStatus (lets callers skip building its text).
  bool Logs(int level) const { return LogLevel >= level; }

 protected:
  // The layer on the own connection, when there is one (set by the subclass after it connected).
  std::unique_ptr<TTransportLayer> Layer;
  // Opens a connection to address:port on a new socket in `socket` (an old one there is closed
  // first), bounded by Timeout; answers 0 or the error number. Logs nothing of its own.
  int OpenConnection(TSocket& socket, uint16_t port, uint32_t address);
  // The host lookup behind ConnectToHost.
  virtual uint32_t Resolve(const std::string& host, int& error);
  // Raises ESocketError (10038 without a socket, 10057 with one that is not connected) when the own
  // socket has no connection to read from.
  void CheckReadable();
  // Raises ESocketError for a failed socket call after the log lines and OnSocketError.
  [[noreturn]] void RaiseSocketError(int code);
  void FireSocketError(int code);

 private:
  enum class Direction { Receive, Send };
  void WaitFor(TSocket socket, Direction direction, short events = 0);
  int LayerReceive(void* data, int size, bool peek);
  int ConnectCreated(TSocket socket, uint16_t port, uint32_t address);
  bool HasInputOrError(TSocket socket);
  int WaitSlices(TSocket socket, short events, bool& aborted);
  void ReceiveInto(TSocket& socket, int64_t count, const std::function<void(const char*, size_t)>& sink);
  int ReceiveWithFlags(TSocket& socket, void* data, int size, bool peek);
  void CountTransfer(int count, Direction direction);
  [[noreturn]] void RaiseBindError(int code, const std::string& line);
  void SkipLineFeedAfterCR(TSocket& socket);
};

}  // namespace net
