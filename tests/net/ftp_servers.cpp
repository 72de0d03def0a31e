#include "ftp_servers.h"

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "http_servers.h"

namespace nettest {

uint16_t StartFtpServer(const std::string& root, const std::string& mode) {
  std::filesystem::create_directories(root);
  if (mode == "tree" || mode == "loop") {
    for (const char* link : {"a", "b", "c"}) std::filesystem::create_directory_symlink(".", root + "/" + link);
    WriteFile(root + "/f.txt", "f");
  }
  std::string log = root + "-log";
  std::filesystem::create_directories(log);
  return StartPythonServer(std::string(NET_TEST_FOLDER) + "/ftp_server.py", {root, mode}, log);
}

FtpServers& FtpServers::Get() {
  static std::unique_ptr<FtpServers> servers;
  static std::string failure;
  if (servers) return *servers;
  if (!failure.empty()) throw std::runtime_error(failure);
  try {
    auto s = std::make_unique<FtpServers>();
    std::string folder = MakeFolder();
    s->unixRoot = folder + "/unix";
    s->oddRoot = folder + "/odd";
    std::filesystem::create_directories(s->unixRoot);
    std::filesystem::create_directories(s->oddRoot);
    std::string script = std::string(NET_TEST_FOLDER) + "/ftp_server.py";
    s->unixPort = StartPythonServer(script, {s->unixRoot, "unix"}, folder);
    std::filesystem::create_directories(folder + "/odd-log");
    s->oddPort = StartPythonServer(script, {s->oddRoot, "odd"}, folder + "/odd-log");
    servers = std::move(s);
    return *servers;
  } catch (const std::exception& e) {
    failure = e.what();
    throw;
  }
}

}  // namespace nettest
