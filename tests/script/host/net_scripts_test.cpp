// Runs every script of tests/scripts/net through the script component the way brs does, against
// the local servers, and compares what it prints with <case>.out (and <case>.err, <case>.exit;
// a missing file means no output and exit status 0).
//
// The runner puts the servers' addresses in front of the script's first line as variables, so the
// line numbers stay: NGINX, ECHO and RANK are "http://127.0.0.1:<port>" of nginx, the echo server
// and the ranking server, CLOSED the same for a port where nothing listens. In what the script
// prints, those addresses read back as the names, and a port alone as NGINX_PORT, ECHO_PORT,
// RANK_PORT or CLOSED_PORT.
//
// A script that names POP3_PORT or SMTP_PORT gets the mail servers as well (numbers: dovecot's
// POP3 port for the user "user" with the password "secret", and aiosmtpd's port, which delivers
// into that user's mailbox); one that names SCRATCH an empty folder of its own ending in "/",
// which reads back as SCRATCH/. FREE_PORT is a port of 127.0.0.1 where nothing listens, for scripts that
// serve themselves; it reads back as FREE_PORT.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "script/core/component.h"
#include "script/host/host.h"
#include "script/stdlib/stdlib.h"
#include "tests/net/http_servers.h"
#include "tests/net/loopback_peer.h"
#include "tests/net/ftp_servers.h"
#include "tests/net/mail_servers.h"
#include "tests/net/tls_servers.h"
#include "tests/script/host/ranking_server.h"

namespace fs = std::filesystem;

namespace {

const fs::path kScripts = fs::path(BR_SOURCE_DIR) / "tests/scripts/net";

std::string ReadFile(const fs::path& path, bool* found = nullptr) {
  std::ifstream in(path, std::ios::binary);
  if (found) *found = bool(in);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

// CR LF as LF, as brs writes its streams.
std::string Lf(std::string text) {
  ReplaceAll(text, "\r\n", "\n");
  return text;
}

struct Server {
  std::string name;
  uint16_t port;
  std::string scheme = "http";
  std::string host = "127.0.0.1";
  std::string url() const { return scheme + "://" + host + ":" + std::to_string(port); }
};

std::vector<Server> Servers() {
  static std::vector<Server> servers = [] {
    nettest::HttpServers& http = nettest::HttpServers::Get();
    nettest::TlsServers& tls = nettest::TlsServers::Get();
    return std::vector<Server>{{"NGINX", http.nginxPort},
                               {"ECHO", http.echoPort},
                               {"RANK", hosttest::RankingServer::Get().port()},
                               {"CLOSED", nettest::ClosedPort()},
                               {"TLS", tls.goodPort, "https"},
                               {"TLS_EXPIRED", tls.expiredPort, "https"},
                               {"TLS_OTHER", tls.otherHostPort, "https", "localhost"},
                               {"FTP", nettest::FtpServers::Get().unixPort, "ftp"}};
  }();
  return servers;
}

// A folder of its own for the files a script writes, as LOCAL.
const std::string& LocalFolder() {
  static const std::string folder = nettest::MakeFolder();
  return folder;
}

// The mail servers and the scratch folder, for the scripts that ask for them.
struct MailSetting {
  std::vector<std::pair<std::string, std::string>> variables;  // name, script text of the value
  std::string scratch;
};

MailSetting MailFor(const std::string& script) {
  MailSetting m;
  auto names = [&script](const char* name) { return script.find(name) != std::string::npos; };
  if (names("FREE_PORT")) m.variables.emplace_back("FREE_PORT", std::to_string(nettest::UnusedPort()));
  if (names("POP3_PORT") || names("SMTP_PORT")) {
    nettest::MailServers& mail = nettest::MailServers::Get();
    m.variables.emplace_back("POP3_PORT", std::to_string(mail.pop3Port));
    m.variables.emplace_back("SMTP_PORT", std::to_string(mail.smtpPort));
  }
  if (names("SCRATCH")) {
    std::string pattern = (fs::temp_directory_path() / "net-script-XXXXXX").string();
    if (mkdtemp(pattern.data())) m.scratch = pattern + "/";
    m.variables.emplace_back("SCRATCH", "\"" + m.scratch + "\"");
  }
  return m;
}

std::string Normalise(std::string text, const MailSetting& mail) {
  if (!mail.scratch.empty()) ReplaceAll(text, mail.scratch, "SCRATCH/");
  ReplaceAll(text, LocalFolder(), "LOCAL");
  for (const Server& s : Servers()) ReplaceAll(text, s.url(), s.name);
  for (const Server& s : Servers()) ReplaceAll(text, std::to_string(s.port), s.name + "_PORT");
  for (const auto& [name, value] : mail.variables)
    if (name != "SCRATCH") ReplaceAll(text, value, name);
  return text;
}

struct Outcome {
  std::string out, err;
  int code = 0;
};

Outcome RunScript(const fs::path& script) {
  stdlib::Install();
  host::Install();
  std::string text = ReadFile(script);
  MailSetting mail = MailFor(text);
  std::string prelude;
  for (const Server& s : Servers()) prelude += "var " + s.name + " = \"" + s.url() + "\"; ";
  prelude += "var LOCAL = \"" + LocalFolder() + "\"; ";
  for (const auto& [name, value] : mail.variables) prelude += "var " + name + " = " + value + "; ";
  Outcome o;
  bool errorReported = false;
  engine::TBrindle component;
  component.SetOnStdout([&](engine::TBrindle*, const std::string& s) { o.out += s; });
  component.SetOnStderr([&](engine::TBrindle*, const std::string& s) { o.err += s; });
  component.SetOnError([&](engine::TBrindle*, int32_t, const std::string&) { errorReported = true; });
  if (!component.Compile(prelude + text)) {
    o.code = 2;
  } else {
    int code = component.RunNoArgs();
    o.code = errorReported ? 1 : code;
  }
  o.out = Normalise(Lf(o.out), mail);
  o.err = Normalise(Lf(o.err), mail);
  if (!mail.scratch.empty()) {
    std::error_code ec;
    fs::remove_all(mail.scratch, ec);
  }
  return o;
}

std::vector<std::string> ScriptNames() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(kScripts, ec))
    if (entry.path().extension() == ".brs") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

class NetScript : public testing::TestWithParam<std::string> {};

TEST_P(NetScript, PrintsWhatIsExpected) {
  fs::path stem = kScripts / GetParam();
  Outcome got = RunScript(stem.string() + ".brs");
  bool hasExit = false;
  std::string exit = ReadFile(stem.string() + ".exit", &hasExit);
  std::string out = ReadFile(stem.string() + ".out"), err = ReadFile(stem.string() + ".err");
  EXPECT_EQ(got.out, out);
  EXPECT_EQ(got.err, err);
  EXPECT_EQ(got.code, hasExit ? std::stoi(exit) : 0);
  if (got.out != out || got.err != err) {
    // What the script printed, kept for a look beside the expected files.
    fs::path kept = fs::path(BR_BINARY_DIR) / "tests/scripts-net-actual";
    fs::create_directories(kept);
    std::ofstream(kept / (GetParam() + ".out"), std::ios::binary) << got.out;
    std::ofstream(kept / (GetParam() + ".err"), std::ios::binary) << got.err;
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, NetScript, testing::ValuesIn(ScriptNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
