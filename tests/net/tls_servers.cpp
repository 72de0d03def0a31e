#include "tls_servers.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "http_servers.h"
#include "loopback_peer.h"

namespace fs = std::filesystem;

namespace nettest {

namespace {

void MakeCertificates(const std::string& d) {
  const std::string ssl = "/usr/bin/openssl";
  RunTool({ssl, "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.crt", "-days", "30",
           "-subj", "/CN=Test CA"},
          d);
  RunTool({ssl, "req", "-newkey", "rsa:2048", "-nodes", "-keyout", "srv.key", "-out", "srv.csr", "-subj", "/CN=localhost"},
          d);
  WriteFile(d + "/san.ext", "subjectAltName=DNS:localhost,IP:127.0.0.1\nbasicConstraints=CA:FALSE\n");
  WriteFile(d + "/other.ext", "subjectAltName=DNS:other.example\nbasicConstraints=CA:FALSE\n");
  auto sign = [&](const std::string& out, const std::string& days, const std::string& ext) {
    RunTool({ssl, "x509", "-req", "-in", "srv.csr", "-CA", "ca.crt", "-CAkey", "ca.key", "-CAcreateserial", "-out",
             out, "-days", days, "-extfile", ext},
            d);
  };
  sign("srv.crt", "30", "san.ext");
  sign("expired.crt", "-1", "san.ext");  // valid until a day before it was made
  sign("other.crt", "30", "other.ext");
}

}  // namespace

std::string TlsServers::url(uint16_t port, const std::string& path, const std::string& host) const {
  return "https://" + host + ":" + std::to_string(port) + path;
}

TlsServers& TlsServers::Get() {
  static std::unique_ptr<TlsServers> servers;
  static std::string failure;
  if (servers) return *servers;
  if (!failure.empty()) throw std::runtime_error(failure);
  try {
    HttpServers& http = HttpServers::Get();
    auto s = std::make_unique<TlsServers>();
    s->folder = MakeFolder();
    const std::string& d = s->folder;
    MakeCertificates(d);
    s->caFile = d + "/ca.crt";
    setenv("SSL_CERT_FILE", s->caFile.c_str(), 1);
    setenv("SSL_CERT_DIR", (d + "/no-such-folder").c_str(), 1);

    std::string www = d + "/www";
    fs::create_directories(www);
    WriteFile(www + "/index.html", "<html>hello</html>\n");
    s->largeContent = http.largeContent;
    WriteFile(www + "/large.bin", s->largeContent);

    s->goodPort = UnusedPort();
    s->expiredPort = UnusedPort();
    s->otherHostPort = UnusedPort();
    auto server = [&](uint16_t port, const std::string& cert, const std::string& extra) {
      return "  server {\n    listen 127.0.0.1:" + std::to_string(port) + " ssl;\n    ssl_certificate " + d + "/" +
             cert + "; ssl_certificate_key " + d + "/srv.key;\n    root " + www + ";\n" + extra + "  }\n";
    };
    std::string locations =
        "    location /echo { proxy_pass http://127.0.0.1:" + std::to_string(http.echoPort) + "; }\n"
        "    location = /redir { return 302 /index.html; }\n"
        "    location = /to-ftp { return 302 ftp://127.0.0.1/pub/file.txt; }\n"
        "    location = /plain { return 302 " + http.nginxUrl("/index.html") + "; }\n";
    StartNginxServers(d + "/nginx", server(s->goodPort, "srv.crt", locations) +
                                        server(s->expiredPort, "expired.crt", "") +
                                        server(s->otherHostPort, "other.crt", ""));

    s->abruptPort = StartPythonServer(std::string(NET_TEST_FOLDER) + "/tls_abrupt_server.py",
                                      {d + "/srv.crt", d + "/srv.key"}, d);

    s->proxyPort = UnusedPort();
    WriteFile(d + "/tinyproxy.conf", "Port " + std::to_string(s->proxyPort) +
                                             "\nListen 127.0.0.1\nTimeout 60\nMaxClients 20\nAllow 127.0.0.1\n"
                                             "ConnectPort " + std::to_string(s->goodPort) +
                                             "\nLogLevel Info\nLogFile \"" + d + "/tinyproxy-own.log\"\n");
    StartProgram({"/usr/bin/tinyproxy", "-d", "-c", d + "/tinyproxy.conf"}, d, s->proxyPort);
    servers = std::move(s);
    return *servers;
  } catch (const std::exception& e) {
    failure = e.what();
    throw;
  }
}

}  // namespace nettest
