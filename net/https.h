// TgHTTPS: TgHTTP over TLS. The requests, answers, redirects, cookies and events are TgHTTP's own;
// what differs is the connection: for an "https" URL it opens a TLS session (through the proxy's
// CONNECT tunnel when a proxy is set) and checks the server's certificate fully before a byte of
// the request goes out. An "http" URL through it is plain HTTP.
//
// Connecting is eager: name lookup, TCP, tunnel and handshake all happen in Connect, so a failure
// there is logged, reported through OnResolveError (which may ask for another try, five at most),
// OnConnectFailed and OnSocketError ("connect error"), and raised as ESocketError with the number
// of what failed (12007 unknown host, 12029 no connection, 12002 time-out, 12045 untrusted
// certificate, 12038 certificate for another host, 12037 certificate out of date, 12157 TLS failure).
#pragma once

#include <string>

#include "net/http.h"

namespace net {

class TTlsSession;

class TgHTTPS : public TgHTTP {
 public:
  explicit TgHTTPS(int bufferSize);
  ~TgHTTPS() override;

  // Whether the current connection is TLS (set from each request's URL; true at creation).
  bool Secure = true;
  // Why the last connect failed, in words (certificate check, handshake, tunnel).
  std::string FailureText;

  void Connect() override;
  void Disconnect() override;

 protected:
  void Route(const TUrlInfo& info, const std::string& path, std::string& target, std::string& host,
             std::string& port) override;
  bool FollowsScheme(const std::string& scheme) const override { return scheme == "http" || scheme == "https"; }

 private:
  // One attempt: lookup, TCP, tunnel, handshake; 0 or the error number.
  int Open();
  int OpenTunnel();
  int Handshake();
  // Waits up to Timeout slices for the socket; false when the time ran out.
  bool WaitReady(short events);

  std::string tunnelHost_;  // the proxy an https request goes through ("" for none)
  uint16_t tunnelPort_ = 0;
};

}  // namespace net
