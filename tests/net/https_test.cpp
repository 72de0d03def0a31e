// The HTTPS client against real TLS servers on 127.0.0.1: requests over TLS, the certificate
// checks, servers that end without close_notify, the proxy tunnel, and the connect failure path.
#include "net/https.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "http_servers.h"
#include "net/tls.h"
#include "tls_servers.h"

using nettest::TlsServers;

namespace {

struct Client : net::TgHTTPS {
  Client() : net::TgHTTPS(65536) {
    SliceMilliseconds = 200;
    Timeout = 10;
    OnStatus = [this](net::TgSocket&, const std::string& text) { log.push_back(text); };
  }
  bool logged(const std::string& text) const {
    for (const std::string& line : log)
      if (line == text) return true;
    return false;
  }
  std::vector<std::string> log;
};

// The error number a GET fails with (0 when it does not fail).
int FailureCode(Client& c, const std::string& url) {
  std::string body;
  try {
    c.Get(url, body);
  } catch (const net::ESocketError& e) {
    EXPECT_NE(std::string(e.what()).find("socket error no." + std::to_string(e.ErrorCode)), std::string::npos);
    return e.ErrorCode;
  }
  return 0;
}

TEST(Https, GetPostAndHeadOverTls) {
  TlsServers& s = TlsServers::Get();
  Client c;
  std::string body;
  c.Get(s.url(s.goodPort, "/index.html"), body);
  EXPECT_EQ(body, "<html>hello</html>\n");
  EXPECT_EQ(c.ReplyCode, 200);
  EXPECT_TRUE(c.logged("suc>127.0.0.1:" + std::to_string(s.goodPort) + "にconnect成功しました"));
  EXPECT_TRUE(c.logged("nfo>127.0.0.1から切断します"));

  std::string answer;
  c.Post(s.url(s.goodPort, "/echo"), "name=a&score=1", answer);
  EXPECT_EQ(answer, "POST /echo\napplication/x-www-form-urlencoded|14\nname=a&score=1");

  c.Head(s.url(s.goodPort, "/index.html", "localhost"));
  EXPECT_EQ(c.ReplyCode, 200);
  EXPECT_EQ(c.ContentLength, 19);
}

TEST(Https, LargeBodyArrivesWholeIntoMemoryAndFile) {
  TlsServers& s = TlsServers::Get();
  Client c;
  std::string body;
  c.Get(s.url(s.goodPort, "/large.bin"), body);
  EXPECT_EQ(body.size(), s.largeContent.size());
  EXPECT_TRUE(body == s.largeContent);

  std::string file = s.folder + "/large-copy.bin";
  c.GetFile(s.url(s.goodPort, "/large.bin"), file);
  std::ifstream in(file, std::ios::binary);
  std::stringstream got;
  got << in.rdbuf();
  EXPECT_TRUE(got.str() == s.largeContent);
}

TEST(Https, RequestResponseAndLinesReadThroughTheSession) {
  TlsServers& s = TlsServers::Get();
  Client c;
  c.SendRequest("GET", s.url(s.goodPort, "/index.html"), "");
  c.ReadResponse();
  EXPECT_EQ(c.ReplyCode, 200);
  std::string line;
  c.ReadLine(line);
  EXPECT_EQ(line, "<html>hello</html>");
  c.Disconnect();
}

TEST(Https, UntrustedAuthorityWrongHostAndExpiryEachFailWithTheirNumber) {
  TlsServers& s = TlsServers::Get();
  {
    Client c;
    EXPECT_EQ(FailureCode(c, s.url(s.expiredPort, "/index.html")), net::kInetCertDateInvalid);
    EXPECT_NE(c.FailureText.find("expired"), std::string::npos) << c.FailureText;
  }
  {
    Client c;
    EXPECT_EQ(FailureCode(c, s.url(s.otherHostPort, "/index.html", "localhost")), net::kInetCertNameInvalid);
  }
  {
    // Nothing listens on 127.0.0.2 at that port: the connection itself fails.
    Client c;
    EXPECT_EQ(FailureCode(c, s.url(s.goodPort, "/index.html", "127.0.0.2")), net::kInetCannotConnect);
  }
  {
    setenv("SSL_CERT_FILE", (s.folder + "/srv.crt").c_str(), 1);  // the test authority is not trusted now
    Client c;
    EXPECT_EQ(FailureCode(c, s.url(s.goodPort, "/index.html")), net::kInetInvalidCA);
    setenv("SSL_CERT_FILE", s.caFile.c_str(), 1);
  }
}

TEST(Https, ConnectFailureFiresTheEventsAndRetriesWhenAsked) {
  TlsServers& s = TlsServers::Get();
  Client c;
  int retries = 0, failed = 0;
  std::vector<std::pair<int, std::string>> errors;
  c.OnResolveError = [&](bool& retry) {
    retry = true;
    ++retries;
  };
  c.OnConnectFailed = [&](net::TgSocket&) { ++failed; };
  c.OnSocketError = [&](net::TgSocket&, int code, const std::string& name) { errors.emplace_back(code, name); };
  EXPECT_EQ(FailureCode(c, s.url(s.expiredPort, "/")), net::kInetCertDateInvalid);
  EXPECT_EQ(retries, 6);  // the first try and five more
  EXPECT_EQ(failed, 6);
  ASSERT_EQ(errors.size(), 6u);
  EXPECT_EQ(errors[0], std::make_pair(net::kInetCertDateInvalid, std::string("connect error")));
  EXPECT_TRUE(c.logged("err>127.0.0.1:" + std::to_string(s.expiredPort) + "にconnect失敗しました"));
  EXPECT_FALSE(c.Connected);
}

TEST(Https, CloseWithoutNotifyKeepsAWholeBodyAndRejectsAShortOne) {
  TlsServers& s = TlsServers::Get();
  Client c;
  std::string body;
  c.Get(s.url(s.abruptPort, "/whole"), body);
  EXPECT_EQ(body, "whole body without close_notify\n");

  std::string cut;
  try {
    c.Get(s.url(s.abruptPort, "/short"), cut);
    ADD_FAILURE() << "a body of 10 of 100 bytes was taken as complete";
  } catch (const net::EProtocolError& e) {
    EXPECT_NE(std::string(e.what()).find("10 of 100"), std::string::npos) << e.what();
  }
}

// Over TLS as over plain HTTP: no status line is a failure, a length that is no number leaves the
// body to the end of the connection.
TEST(Https, NoStatusLineFailsAndABadLengthReadsToTheEnd) {
  TlsServers& s = TlsServers::Get();
  for (const char* path : {"/silent", "/garbage"}) {
    Client c;
    int failures = 0, successes = 0;
    c.OnFailure = [&](uint8_t) { ++failures; };
    c.OnSuccess = [&](uint8_t) { ++successes; };
    std::string body;
    EXPECT_THROW(c.Get(s.url(s.abruptPort, path), body), net::EProtocolError) << path;
    EXPECT_EQ(body, "") << path;
    EXPECT_EQ(failures, 1) << path;
    EXPECT_EQ(successes, 0) << path;
  }
  Client c;
  std::string body;
  c.Get(s.url(s.abruptPort, "/badlength"), body);
  EXPECT_EQ(body, "the whole body after a bad length");
  EXPECT_EQ(c.ContentLength, 0);
  EXPECT_EQ(c.ReplyCode, 200);
}

TEST(Https, TunnelThroughProxy) {
  TlsServers& s = TlsServers::Get();
  Client c;
  c.Proxy = "127.0.0.1:" + std::to_string(s.proxyPort);
  std::string body;
  c.Get(s.url(s.goodPort, "/index.html", "localhost"), body);
  EXPECT_EQ(body, "<html>hello</html>\n");
  EXPECT_TRUE(c.logged("suc>localhost:" + std::to_string(s.goodPort) + "にconnect成功しました"));
}

TEST(Https, PlainHttpAndRedirectsBetweenSchemes) {
  TlsServers& s = TlsServers::Get();
  nettest::HttpServers& http = nettest::HttpServers::Get();
  Client c;
  std::string body;
  c.Get(http.nginxUrl("/index.html"), body);
  EXPECT_EQ(body, "<html>hello</html>\n");
  EXPECT_FALSE(c.Secure);

  c.AutoRedirect = true;
  body.clear();
  c.Get(s.url(s.goodPort, "/plain"), body);
  EXPECT_EQ(body, "<html>hello</html>\n");

  body.clear();
  c.Get(s.url(s.goodPort, "/redir"), body);
  EXPECT_EQ(body, "<html>hello</html>\n");
  EXPECT_TRUE(c.Secure);

  try {
    c.Get(s.url(s.goodPort, "/to-ftp"), body);
    ADD_FAILURE() << "a redirect to ftp: was followed";
  } catch (const net::EProtocolError& e) {
    EXPECT_EQ(e.Code, 302);
    EXPECT_NE(std::string(e.what()).find("ftp"), std::string::npos);
  }
}

}  // namespace
