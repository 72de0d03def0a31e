// The OpenSSL calls of the TLS layer, looked up in libssl.so.3 and libcrypto.so.3 when the first
// TLS session is made rather than linked: a program that never opens an HTTPS connection does not
// pay for loading and relocating OpenSSL at start, and runs where OpenSSL is not installed.
//
// The headers give the types and constants only; every call goes through the table below.
#pragma once

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <string>

namespace net {

// One entry per call, named after the OpenSSL function, with that function's own type.
#define NET_TLS_CALLS(X)            \
  X(TLS_client_method)              \
  X(SSL_CTX_new)                    \
  X(SSL_CTX_free)                   \
  X(SSL_CTX_ctrl)                   \
  X(SSL_CTX_set_verify)             \
  X(SSL_CTX_set_default_verify_paths) \
  X(SSL_CTX_set_options)            \
  X(SSL_new)                        \
  X(SSL_free)                       \
  X(SSL_ctrl)                       \
  X(SSL_get0_param)                 \
  X(SSL_set1_host)                  \
  X(SSL_set_fd)                     \
  X(SSL_set_connect_state)          \
  X(SSL_do_handshake)               \
  X(SSL_get_error)                  \
  X(SSL_get_verify_result)          \
  X(SSL_shutdown)                   \
  X(SSL_read)                       \
  X(SSL_peek)                       \
  X(SSL_write)                      \
  X(SSL_has_pending)                \
  X(SSL_CTX_set_default_read_buffer_len) \
  X(ERR_clear_error)                \
  X(ERR_peek_last_error)            \
  X(ERR_error_string_n)             \
  X(X509_VERIFY_PARAM_set1_ip_asc)  \
  X(X509_verify_cert_error_string)

struct TTlsCalls {
#define NET_TLS_ENTRY(name) decltype(&::name) name = nullptr;
  NET_TLS_CALLS(NET_TLS_ENTRY)
#undef NET_TLS_ENTRY
};

// Opens the two libraries by these names and fills `calls`. False, with `error` saying which
// library or call is missing, when any is; the table is then not to be used.
bool LoadTlsCalls(const char* sslLibrary, const char* cryptoLibrary, TTlsCalls& calls, std::string& error);

// The process's table, loaded on the first call (once, whatever the outcome); null, with `error`
// naming what is missing, when it cannot be loaded.
const TTlsCalls* TlsCalls(std::string& error);

// The library names TlsCalls loads; takes effect only before its first call (tests name missing
// libraries with it).
void SetTlsLibraryNames(std::string sslLibrary, std::string cryptoLibrary);

}  // namespace net
