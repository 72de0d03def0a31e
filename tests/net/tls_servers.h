// Real TLS servers for the HTTPS tests, started once per test program on 127.0.0.1 (free ports,
// certificates made at start with the openssl command under a test authority) and stopped by their
// process IDs when it ends:
//   nginx: a good certificate for localhost and 127.0.0.1 (goodPort), an expired one (expiredPort),
//     one for another host (otherHostPort); index.html, large.bin, /echo passed on to the echo
//     server, /redir (302 to /index.html), /to-ftp (302 to an ftp: URL), /plain (302 to the plain
//     nginx of HttpServers);
//   a python3 server that closes without close_notify (abruptPort: /whole, /short, /silent,
//     /garbage, /badlength);
//   tinyproxy, which tunnels CONNECT to goodPort (proxyPort).
// SSL_CERT_FILE is set to the test authority's certificate, so only it is trusted.
#pragma once

#include <cstdint>
#include <string>

namespace nettest {

struct TlsServers {
  std::string folder;
  std::string caFile;
  uint16_t goodPort = 0;
  uint16_t expiredPort = 0;
  uint16_t otherHostPort = 0;
  uint16_t abruptPort = 0;
  uint16_t proxyPort = 0;
  std::string largeContent;

  std::string url(uint16_t port, const std::string& path, const std::string& host = "127.0.0.1") const;
  static TlsServers& Get();
};

}  // namespace nettest
