// TLS for the HTTPS client: one client session over a connected socket, with OpenSSL 3 (loaded
// when the first session is made, see tls_library.h). The certificate is checked fully (chain to
// a trusted authority, host name or address, dates); the trusted authorities are the system's
// (SSL_CERT_FILE and SSL_CERT_DIR name others).
//
// The socket stays in TgSocket's hands: this layer works on it non-blocking and answers "want read"
// or "want write" when it cannot go on, and TgSocket waits in its slices and calls again.
#pragma once

#include <string>

#include "net/socket.h"

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

namespace net {

struct TTlsCalls;

// Error numbers of the HTTPS client, as its scripts see them.
constexpr int kInetTimeout = 12002;
constexpr int kInetNameNotResolved = 12007;
constexpr int kInetCannotConnect = 12029;
constexpr int kInetConnectionAborted = 12030;
constexpr int kInetCertDateInvalid = 12037;
constexpr int kInetCertNameInvalid = 12038;
constexpr int kInetInvalidCA = 12045;
constexpr int kInetInvalidServerResponse = 12152;
constexpr int kInetSecurityChannelError = 12157;

// Whether TLS sessions can be made: false, with `why`, when OpenSSL cannot be loaded.
bool TlsAvailable(std::string& why);

class TTlsSession : public TTransportLayer {
 public:
  // Prepares a session on `socket` (made non-blocking) for `host`, a name or an IPv4 address.
  // Throws ESocketError when OpenSSL cannot make one or cannot be loaded (see tls_library.h).
  TTlsSession(TSocket socket, const std::string& host);
  ~TTlsSession() override;
  TTlsSession(const TTlsSession&) = delete;
  TTlsSession& operator=(const TTlsSession&) = delete;

  // 1 when the handshake is through, else kLayerWantRead, kLayerWantWrite or kLayerFailed (see
  // FailureCode and FailureText).
  int Handshake();
  // Sends close_notify once, without waiting for the answer.
  void Shutdown();

  int Receive(void* data, int size, bool peek) override;
  int Send(const void* data, int size) override;
  bool Pending() override;
  int FailureCode() const override { return failureCode_; }
  const std::string& FailureText() const { return failureText_; }

 private:
  int Step(int result);

  const TTlsCalls* calls_ = nullptr;
  SSL_CTX* context_ = nullptr;
  SSL* ssl_ = nullptr;
  int failureCode_ = 0;
  std::string failureText_;
  bool shutDown_ = false;
};

}  // namespace net
