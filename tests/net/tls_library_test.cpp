// OpenSSL loaded on first use: the call table is complete from the system's libraries, a missing
// library or call is named, and an HTTPS connection without OpenSSL fails clearly while plain HTTP
// in the same process goes on working.
//
// This program never loads the real libraries through the process's table: its HTTPS test names
// missing ones before the first TLS connection (the names hold only until then).
#include "net/tls_library.h"

#include <gtest/gtest.h>

#include <string>

#include "loopback_peer.h"
#include "net/errors.h"
#include "net/https.h"
#include "net/tls.h"

namespace {

TEST(TlsLibrary, SystemLibrariesGiveEveryCallAndMissingOnesAreNamed) {
  net::TTlsCalls calls;
  std::string error;
  ASSERT_TRUE(net::LoadTlsCalls("libssl.so.3", "libcrypto.so.3", calls, error)) << error;
#define EXPECT_FOUND(name) EXPECT_NE(calls.name, nullptr) << #name;
  NET_TLS_CALLS(EXPECT_FOUND)
#undef EXPECT_FOUND
  // The table works: a context can be made and freed through it.
  SSL_CTX* context = calls.SSL_CTX_new(calls.TLS_client_method());
  ASSERT_NE(context, nullptr);
  calls.SSL_CTX_free(context);

  net::TTlsCalls none;
  EXPECT_FALSE(net::LoadTlsCalls("libssl.so.3", "libcrypto-absent.so.3", none, error));
  EXPECT_NE(error.find("libcrypto-absent.so.3 cannot be loaded"), std::string::npos) << error;
  EXPECT_FALSE(net::LoadTlsCalls("libssl-absent.so.3", "libcrypto.so.3", none, error));
  EXPECT_NE(error.find("libssl-absent.so.3 cannot be loaded"), std::string::npos) << error;

  // Libraries that load but are not OpenSSL: the first missing call is named, nothing is filled.
  EXPECT_FALSE(net::LoadTlsCalls("libm.so.6", "libc.so.6", none, error));
  EXPECT_NE(error.find("TLS_client_method is missing"), std::string::npos) << error;
  EXPECT_EQ(none.SSL_CTX_new, nullptr);
}

TEST(TlsLibrary, HttpsWithoutOpenSslFailsThatConnectionOnly) {
  net::SetTlsLibraryNames("libssl-absent.so.3", "libcrypto-absent.so.3");
  std::string why;
  EXPECT_FALSE(net::TlsAvailable(why));
  EXPECT_NE(why.find("TLS is not available"), std::string::npos) << why;

  nettest::LoopbackPeer listening(nullptr);  // takes the TCP connection, never answers
  net::TgHTTPS client(65536);
  client.Timeout = 10;
  int failed = 0;
  client.OnConnectFailed = [&](net::TgSocket&) { ++failed; };
  std::string body;
  try {
    client.Get("https://127.0.0.1:" + std::to_string(listening.port()) + "/", body);
    ADD_FAILURE() << "the HTTPS request went through without OpenSSL";
  } catch (const net::ESocketError& e) {
    EXPECT_EQ(e.ErrorCode, net::kInetSecurityChannelError);
    EXPECT_NE(std::string(e.what()).find("libcrypto-absent.so.3 cannot be loaded"), std::string::npos) << e.what();
  }
  EXPECT_EQ(failed, 1);
  EXPECT_FALSE(client.Connected);
  EXPECT_NE(client.FailureText.find("TLS is not available"), std::string::npos) << client.FailureText;

  // The same client, plain HTTP: unaffected.
  nettest::LoopbackPeer server([](int fd) {
    nettest::ReadUntil(fd, "\r\n\r\n");
    nettest::SendAll(fd, "HTTP/1.1 200 OK\r\nContent-Length: 3\r\nConnection: close\r\n\r\nok\n");
  });
  client.Get("http://127.0.0.1:" + std::to_string(server.port()) + "/", body);
  EXPECT_EQ(client.ReplyCode, 200);
  EXPECT_EQ(body, "ok\n");
}

}  // namespace
