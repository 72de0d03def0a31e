#include "net/tls.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <signal.h>

#include <mutex>

#include "net/errors.h"
#include "net/tls_library.h"

namespace net {

namespace {

// How much one read from the socket may take.
constexpr size_t kReadAhead = 256 * 1024;

// OpenSSL writes to the socket without MSG_NOSIGNAL: a peer that went away must not end the program.
void IgnoreBrokenPipe() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction current {};
    sigaction(SIGPIPE, nullptr, &current);
    if (current.sa_handler == SIG_DFL) signal(SIGPIPE, SIG_IGN);
  });
}

bool IsAddress(const std::string& host) {
  in_addr a{};
  return inet_pton(AF_INET, host.c_str(), &a) == 1;
}

// The error number a failed certificate check is reported with.
int VerifyFailureCode(long result) {
  switch (result) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
    case X509_V_ERR_CERT_NOT_YET_VALID:
    case X509_V_ERR_ERROR_IN_CERT_NOT_BEFORE_FIELD:
    case X509_V_ERR_ERROR_IN_CERT_NOT_AFTER_FIELD:
      return kInetCertDateInvalid;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
      return kInetCertNameInvalid;
    default:
      return kInetInvalidCA;
  }
}

std::string OpenSslErrorText(const TTlsCalls& ssl) {
  unsigned long e = ssl.ERR_peek_last_error();
  std::string text;
  if (e != 0) {
    char buffer[256];
    ssl.ERR_error_string_n(e, buffer, sizeof buffer);
    text = buffer;
  }
  ssl.ERR_clear_error();
  return text;
}

}  // namespace

TTlsSession::TTlsSession(TSocket socket, const std::string& host) {
  std::string missing;
  calls_ = TlsCalls(missing);
  if (!calls_) throw ESocketError(kInetSecurityChannelError, missing);
  const TTlsCalls& c = *calls_;
  IgnoreBrokenPipe();
  c.ERR_clear_error();
  context_ = c.SSL_CTX_new(c.TLS_client_method());
  if (!context_) throw ESocketError(kInetSecurityChannelError);
  c.SSL_CTX_ctrl(context_, SSL_CTRL_SET_MIN_PROTO_VERSION, TLS1_2_VERSION, nullptr);
  c.SSL_CTX_set_verify(context_, SSL_VERIFY_PEER, nullptr);
  c.SSL_CTX_set_default_verify_paths(context_);
  // HTTP/1.0 servers often close without close_notify once the body is out; whether the body is
  // whole is decided from its announced length, not from how the stream ended.
  c.SSL_CTX_set_options(context_, SSL_OP_IGNORE_UNEXPECTED_EOF);
  c.SSL_CTX_ctrl(context_, SSL_CTRL_MODE, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER, nullptr);
  // Each read from the socket takes whatever has arrived, many records at once, rather than a
  // record header and then its body: a large body costs a fraction of the system calls.
  c.SSL_CTX_ctrl(context_, SSL_CTRL_SET_READ_AHEAD, 1, nullptr);
  c.SSL_CTX_set_default_read_buffer_len(context_, kReadAhead);
  ssl_ = c.SSL_new(context_);
  if (!ssl_) {
    c.SSL_CTX_free(context_);
    throw ESocketError(kInetSecurityChannelError);
  }
  if (IsAddress(host)) {
    c.X509_VERIFY_PARAM_set1_ip_asc(c.SSL_get0_param(ssl_), host.c_str());
  } else {
    c.SSL_ctrl(ssl_, SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name, const_cast<char*>(host.c_str()));
    c.SSL_set1_host(ssl_, host.c_str());
  }
  int flags = fcntl(socket, F_GETFL);
  fcntl(socket, F_SETFL, flags | O_NONBLOCK);
  c.SSL_set_fd(ssl_, socket);
  c.SSL_set_connect_state(ssl_);
}

TTlsSession::~TTlsSession() {
  if (ssl_) calls_->SSL_free(ssl_);
  if (context_) calls_->SSL_CTX_free(context_);
}

int TTlsSession::Step(int result) {
  int error = calls_->SSL_get_error(ssl_, result);
  switch (error) {
    case SSL_ERROR_WANT_READ:
      return kLayerWantRead;
    case SSL_ERROR_WANT_WRITE:
      return kLayerWantWrite;
    case SSL_ERROR_ZERO_RETURN:
      calls_->ERR_clear_error();
      return 0;
    default:
      failureCode_ = kInetConnectionAborted;
      failureText_ = OpenSslErrorText(*calls_);
      if (failureText_.empty()) failureText_ = "connection aborted";
      return kLayerFailed;
  }
}

int TTlsSession::Handshake() {
  calls_->ERR_clear_error();
  int r = calls_->SSL_do_handshake(ssl_);
  if (r == 1) return 1;
  int step = Step(r);
  if (step == kLayerWantRead || step == kLayerWantWrite) return step;
  long verify = calls_->SSL_get_verify_result(ssl_);
  if (verify != X509_V_OK) {
    failureCode_ = VerifyFailureCode(verify);
    failureText_ = std::string("certificate verify failed: ") + calls_->X509_verify_cert_error_string(verify);
  } else {
    failureCode_ = kInetSecurityChannelError;
    if (failureText_.empty() || failureText_ == "connection aborted") failureText_ = "TLS handshake failed";
  }
  return kLayerFailed;
}

void TTlsSession::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  calls_->ERR_clear_error();
  calls_->SSL_shutdown(ssl_);
  calls_->ERR_clear_error();
}

int TTlsSession::Receive(void* data, int size, bool peek) {
  calls_->ERR_clear_error();
  int r = peek ? calls_->SSL_peek(ssl_, data, size) : calls_->SSL_read(ssl_, data, size);
  return r > 0 ? r : Step(r);
}

int TTlsSession::Send(const void* data, int size) {
  calls_->ERR_clear_error();
  int r = calls_->SSL_write(ssl_, data, size);
  if (r > 0) return r;
  int step = Step(r);
  if (step == 0) {
    failureCode_ = kInetConnectionAborted;
    failureText_ = "connection closed by the server";
    return kLayerFailed;
  }
  return step;
}

// Read ahead, the bytes taken off the socket may be records not yet opened, or part of one.
bool TTlsSession::Pending() { return calls_->SSL_has_pending(ssl_) == 1; }

}  // namespace net
