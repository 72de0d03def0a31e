#include "tests/script/host/ranking_server.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "tests/net/http_servers.h"

namespace hosttest {

namespace {

struct Folder {
  std::string path;
  ~Folder() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
};

}  // namespace

RankingServer& RankingServer::Get() {
  static Folder folder;
  static std::unique_ptr<RankingServer> server;
  if (server) return *server;
  std::string pattern = (std::filesystem::temp_directory_path() / "ranking-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  folder.path = pattern;
  std::unique_ptr<RankingServer> s(new RankingServer);
  s->folder_ = pattern;
  s->log_ = pattern + "/posts.log";
  s->port_ = nettest::StartPythonServer(std::string(BR_SOURCE_DIR) + "/tests/script/host/ranking_server.py", {s->log_},
                                        pattern);
  server = std::move(s);
  return *server;
}

std::string RankingServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> RankingServer::Requests() const {
  std::vector<std::string> lines;
  std::ifstream in(log_, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace hosttest
