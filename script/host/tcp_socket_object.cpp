#include "script/host/tcp_socket_object.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <set>

#include "platform/rt/persistent.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"

namespace host {

using namespace engine;

namespace {

constexpr int kTcpBufferSize = 65536;

constexpr const char* kEventNames[] = {"onStatus", "onConnect", "onDisconnect", "onError", "onRead", "onWrite"};

// The messages of the failing methods, raised with "ESocketError".
constexpr char kCreateError[] = "TCPSocket.create error";
constexpr char kConnectError[] = "TCPSocket.connect error";
constexpr char kDisconnectError[] = "TCPSocket.disconnect error";
constexpr char kAbortError[] = "TCPSocket.abort error";
constexpr char kReadError[] = "TCPSocket.read error";
constexpr char kReadlnError[] = "TCPSocket.readln error";
constexpr char kWriteError[] = "TCPSocket.write error";
constexpr char kWritelnError[] = "TCPSocket.writeln error";
constexpr char kCaptureError[] = "TCPSocket.capture error";
constexpr char kSendFileError[] = "TCPSocket.sendFile error";
constexpr char kBindError[] = "TCPSocket.bind error";
constexpr char kAcceptError[] = "TCPSocket.accept error";

// Connections our accept handed out that no object has taken yet.
std::mutex gAcceptedLock;
std::set<int>& Accepted() {
  static std::set<int> handles;
  return handles;
}

void Offer(int handle) {
  std::lock_guard<std::mutex> hold(gAcceptedLock);
  Accepted().insert(handle);
}

// True when the handle was still on offer (nobody adopted it); it is no longer on offer.
bool Withdraw(int handle) {
  std::lock_guard<std::mutex> hold(gAcceptedLock);
  return Accepted().erase(handle) != 0;
}

// True when the handle was on offer and is a stream socket; it is then no longer on offer.
bool Take(int handle) {
  std::lock_guard<std::mutex> hold(gAcceptedLock);
  if (Accepted().erase(handle) == 0) return false;
  struct stat info {};
  int type = 0;
  socklen_t length = sizeof type;
  return fstat(handle, &info) == 0 && S_ISSOCK(info.st_mode) &&
         getsockopt(handle, SOL_SOCKET, SO_TYPE, &type, &length) == 0 && type == SOCK_STREAM;
}

std::string Arg(const TJValueList* args, int index) { return AsString(&(*args)[index]); }

}  // namespace

const rt::ClassInfo& TJTCPSocketObject::StaticClassInfo() {
  using T = TJTCPSocketObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJTCPSocketObject", &TJBaseSocketObject::StaticClassInfo())
                                         .property("host", &T::Host, &T::SetHost)
                                         .property("port", &T::Port, &T::SetPort)
                                         .build();
  return info;
}

TJTCPSocketObject::TJTCPSocketObject(TJBaseEngine* engine, TJValueList* param) : TJBaseSocketObject(engine, param) {
  RegistName("TCPSocket");
  for (const char* name : kEventNames) RegistEventName(name);
  if (IsParam1(param)) {
    int handle = AsInteger(&(*param)[0]);
    if (!Take(handle)) ThrowError("ESocketError", kCreateError);
    socket_ = std::make_unique<net::TgSocket>(net::TgSocket::AcceptedHandle{handle}, kTcpBufferSize);
    HookSocketEvents(*socket_);
  }
}

TJTCPSocketObject::~TJTCPSocketObject() { ReleaseSocket(); }

void TJTCPSocketObject::Dispose() {
  ReleaseSocket();
  TJBaseSocketObject::Dispose();
}

net::TgSocket& TJTCPSocketObject::Socket() const {
  if (!socket_) {
    socket_ = std::make_unique<net::TgSocket>(kTcpBufferSize);
    const_cast<TJTCPSocketObject*>(this)->HookSocketEvents(*socket_);
  }
  return *socket_;
}

// Every hook goes before the socket does: what it reports while it closes reaches nobody.
void TJTCPSocketObject::ReleaseSocket() {
  if (!socket_) return;
  UnhookSocketEvents(*socket_);
  socket_.reset();
}

void TJTCPSocketObject::RegistMethods() {
  TJBaseSocketObject::RegistMethods();
  RegistMethod("connect", &TJTCPSocketObject::DoConnect);
  RegistMethod("open", &TJTCPSocketObject::DoConnect);
  RegistMethod("disconnect", &TJTCPSocketObject::DoDisconnect);
  RegistMethod("close", &TJTCPSocketObject::DoDisconnect);
  RegistMethod("abort", &TJTCPSocketObject::DoAbort);
  RegistMethod("read", &TJTCPSocketObject::DoRead);
  RegistMethod("readln", &TJTCPSocketObject::DoReadln);
  RegistMethod("write", &TJTCPSocketObject::DoWrite);
  RegistMethod("writeln", &TJTCPSocketObject::DoWriteln);
  RegistMethod("capture", &TJTCPSocketObject::DoCapture);
  RegistMethod("sendFile", &TJTCPSocketObject::DoSendFile);
  RegistMethod("bind", &TJTCPSocketObject::DoBind);
  RegistMethod("accept", &TJTCPSocketObject::DoAccept);
  RegistMethod("isConnected", &TJTCPSocketObject::DoIsConnected);
}

void TJTCPSocketObject::DoConnect(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded(kConnectError, [&] { Socket().Connect(); });
}

void TJTCPSocketObject::DoDisconnect(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded(kDisconnectError, [&] { Socket().Disconnect(); });
}

// The library's abort ends in the cancel it reports to the transfer it stops; asked for here, that
// cancel is the wanted outcome, not a failure.
void TJTCPSocketObject::DoAbort(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded(kAbortError, [&] {
    try {
      Socket().Abort();
    } catch (const net::ESocketCancel&) {
    }
  });
}

void TJTCPSocketObject::DoRead(TJValueList* args, TJValue& result) {
  int64_t count = IsParam1(args) ? AsInteger(&(*args)[0]) : -1;
  TScriptTextReceiver text;
  Guarded(kReadError, [&] { Socket().ReceiveToBuffer(text, count); });
  text.TakeInto(result);
}

void TJTCPSocketObject::DoReadln(TJValueList*, TJValue& result) {
  std::string line;
  Guarded(kReadlnError, [&] { Socket().ReadLine(line); });
  result.SetString(line);
}

void TJTCPSocketObject::DoWrite(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  if (!IsParam1(args)) return;
  std::string text = Arg(args, 0);
  Guarded(kWriteError, [&] { Socket().SendString(text); });
}

void TJTCPSocketObject::DoWriteln(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  std::string text = IsParam1(args) ? Arg(args, 0) : std::string();
  Guarded(kWritelnError, [&] { Socket().SendLine(text); });
}

void TJTCPSocketObject::DoCapture(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  if (!IsParam1(args)) return;
  std::string file = Arg(args, 0);
  LocalFile(file, kCaptureError);
  Guarded(kCaptureError, [&] { Socket().ReceiveToFile(file); });
}

void TJTCPSocketObject::DoSendFile(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  if (!IsParam1(args)) return;
  std::string file = Arg(args, 0);
  LocalFile(file, kSendFileError);
  Guarded(kSendFileError, [&] { Socket().SendFile(file); });
}

void TJTCPSocketObject::DoBind(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded(kBindError, [&] { Socket().Listen(); });
}

// The connection goes to a new object at once; when that cannot be made it is closed, never left
// behind for somebody else to take.
void TJTCPSocketObject::DoAccept(TJValueList*, TJValue& result) {
  int handle = -1;
  Guarded(kAcceptError, [&] {
    handle = Socket().AcceptConnection();
    if (handle == net::kNoSocket) throw net::ESocketError(Socket().LastError);
  });
  Offer(handle);
  TJValueList args;
  args.AddInteger(handle);
  try {
    result.SetObject(TJObject::Create<TJTCPSocketObject>(Engine(), &args));
  } catch (...) {
    if (Withdraw(handle)) ::close(handle);
    throw;
  }
}

void TJTCPSocketObject::DoIsConnected(TJValueList*, TJValue& result) { result.SetBool(Socket().IsConnected()); }

}  // namespace host
