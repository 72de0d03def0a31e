#include "net/https.h"

#include <poll.h>

#include <cerrno>

#include "net/host_address.h"
#include "net/tls.h"
#include "net/wsa_errors.h"
#include "platform/rt/numtext.h"

namespace net {

namespace {

// The longest answer of a proxy to CONNECT that is read.
constexpr size_t kMaxTunnelReply = 16 * 1024;

uint16_t PortOr(const std::string& text, uint16_t fallback) {
  int32_t value;
  return rt::TryStrToInt(text, value) && value > 0 && value <= 0xFFFF ? static_cast<uint16_t>(value) : fallback;
}

}  // namespace

TgHTTPS::TgHTTPS(int bufferSize) : TgHTTP(bufferSize) {}

TgHTTPS::~TgHTTPS() {
  OnStatus = nullptr;
  OnDisconnect = nullptr;
  if (Connected) Disconnect();
}

void TgHTTPS::Route(const TUrlInfo& info, const std::string& path, std::string& target, std::string& host,
                    std::string& port) {
  Secure = info.protocol == "https";
  tunnelHost_.clear();
  tunnelPort_ = 0;
  if (!Secure) {
    TgHTTP::Route(info, path, target, host, port);
    return;
  }
  // Through a proxy the TLS session runs inside its tunnel: the request itself is the same as
  // without one.
  target = path;
  host = info.hostname;
  port = info.port.empty() ? "443" : info.port;
  if (!Proxy.empty()) {
    std::string chain = path, proxyHost, proxyPort;
    ParseProxy(Proxy, chain, proxyHost, proxyPort);
    tunnelHost_ = proxyHost;
    tunnelPort_ = PortOr(proxyPort, 8080);
  }
}

void TgHTTPS::Connect() {
  if (Connected) Disconnect();
  int retries = 0;
  for (;;) {
    Log("rtn>" + Host + "にconnectします", kLogRoutine);
    int code = Open();
    if (code == 0) break;
    LastError = code;
    Log("err>" + Host + ":" + std::to_string(Port) + "にconnect失敗しました", kLogNormal);
    if (!FailureText.empty()) Log("dbg>" + FailureText, kLogDetail);
    bool retry = false;
    if (OnResolveError) OnResolveError(retry);
    if (OnConnectFailed) OnConnectFailed(*this);
    if (OnSocketError) OnSocketError(*this, code, "connect error");
    if (retry && retries < 5) {
      ++retries;
      continue;
    }
    throw ESocketError(code, FailureText);
  }
  Log("suc>" + Host + ":" + std::to_string(Port) + "にconnect成功しました", kLogNormal);
  Connected = true;
  PeerClosed = false;
  if (OnConnect) OnConnect(*this);
}

void TgHTTPS::Disconnect() {
  if (Connected) Log("nfo>" + Host + "から切断します", kLogNormal);
  if (auto* tls = dynamic_cast<TTlsSession*>(Layer.get())) tls->Shutdown();
  CloseSocketHandle(Handle);
  PeerAddress = kNoAddress;
  Connected = false;
  if (OnDisconnect) OnDisconnect(*this);
}

int TgHTTPS::Open() {
  FailureText.clear();
  const std::string& to = tunnelHost_.empty() ? Host : tunnelHost_;
  uint16_t toPort = tunnelHost_.empty() ? Port : tunnelPort_;
  int error = 0;
  PeerAddress = Resolve(to, error);
  if (PeerAddress == kNoAddress) {
    FailureText = "host not found: " + to;
    return kInetNameNotResolved;
  }
  int code = OpenConnection(Handle, toPort, PeerAddress);
  if (code != 0) {
    FailureText = "cannot connect to " + to + ":" + std::to_string(toPort) + " (" + WSAErrorName(code) + ")";
    CloseSocketHandle(Handle);
    return code == WSAETIMEDOUT ? kInetTimeout : kInetCannotConnect;
  }
  ConnectedPort = toPort;
  if (!tunnelHost_.empty()) {
    code = OpenTunnel();
    if (code != 0) {
      CloseSocketHandle(Handle);
      return code;
    }
  }
  return Secure ? Handshake() : 0;
}

// Asks the proxy for a tunnel to Host:Port; anything but a 2xx answer fails.
int TgHTTPS::OpenTunnel() {
  std::string target = Host + ":" + std::to_string(Port);
  try {
    SendString("CONNECT " + target + " HTTP/1.0\r\nHost: " + target + "\r\n\r\n");
    std::string status, line, all;
    ReadLineFrom(Handle, status);
    do {
      ReadLineFrom(Handle, line);
      all += line;
      if (all.size() > kMaxTunnelReply) throw EProtocolError(0, "http", "proxy reply too long");
    } while (!line.empty() && Handle != kNoSocket);
    size_t blank = status.find(' ');
    int code = 0;
    if (status.compare(0, 5, "HTTP/") != 0 || blank == std::string::npos ||
        !rt::TryStrToInt(status.substr(blank + 1, 3), code) || code < 200 || code > 299) {
      FailureText = "the proxy refused the tunnel to " + target + ": " + status;
      return kInetCannotConnect;
    }
  } catch (const EgSocket& e) {
    FailureText = "no tunnel through the proxy to " + target + ": " + e.what();
    return TimedOut ? kInetTimeout : kInetCannotConnect;
  }
  return 0;
}

int TgHTTPS::Handshake() {
  if (!TlsAvailable(FailureText)) {
    CloseSocketHandle(Handle);
    return kInetSecurityChannelError;
  }
  auto session = std::make_unique<TTlsSession>(Handle, Host);
  TTlsSession* tls = session.get();
  Layer = std::move(session);
  for (;;) {
    int step = tls->Handshake();
    if (step == 1) return 0;
    if (step == TTransportLayer::kLayerFailed) {
      FailureText = tls->FailureText();
      int code = tls->FailureCode();
      CloseSocketHandle(Handle);
      return code;
    }
    if (!WaitReady(step == TTransportLayer::kLayerWantRead ? POLLIN : POLLOUT)) {
      FailureText = "no answer to the TLS handshake in time";
      CloseSocketHandle(Handle);
      return kInetTimeout;
    }
  }
}

bool TgHTTPS::WaitReady(short events) {
  for (int slice = 0; Timeout < 1 || slice < Timeout; ++slice) {
    pollfd p{Handle, events, 0};
    int ready;
    do ready = ::poll(&p, 1, Timeout < 1 ? -1 : SliceMilliseconds); while (ready < 0 && errno == EINTR);
    if (ready != 0) return true;  // an error shows up in the next step
    bool abort = false;
    if (OnIdle) OnIdle(*this, abort);
    if (abort) return false;
  }
  return false;
}

}  // namespace net
