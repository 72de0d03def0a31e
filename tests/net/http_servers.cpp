#include "http_servers.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "loopback_peer.h"

namespace fs = std::filesystem;

namespace nettest {

namespace {

constexpr int kStartLimitMs = 10000;

// Every server this program started, stopped by PID when it exits.
struct Children {
  std::vector<pid_t> pids;
  std::vector<std::string> folders;
  ~Children() {
    for (pid_t pid : pids) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
    std::error_code ec;
    for (const std::string& f : folders) fs::remove_all(f, ec);
  }
};

Children& children() {
  static Children c;
  return c;
}

int RemainingMs(std::chrono::steady_clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Starts a program whose standard output goes to `outFd` (or the log file) and whose standard error
// goes to the log file; it dies with this process.
pid_t Spawn(const std::vector<std::string>& argv, int outFd, const std::string& logPath) {
  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(outFd >= 0 ? outFd : log, 1);
    dup2(log, 2);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  children().pids.push_back(pid);
  return pid;
}

void RequireProgram(const std::string& path, const std::string& package) {
  if (access(path.c_str(), X_OK) != 0) {
    throw std::runtime_error(path + " is missing: install " + package + " (scripts/setup-deps does)");
  }
}

std::string MakeFolder() {
  std::string pattern = (fs::temp_directory_path() / "net-http-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  children().folders.push_back(pattern);
  return pattern;
}

uint16_t StartNginx(const std::string& folder, const std::string& root, const std::string& locations) {
  uint16_t port = UnusedPort();
  StartNginxServers(folder + "/nginx",
                    "  server {\n"
                    "    listen 127.0.0.1:" + std::to_string(port) + ";\n"
                    "    root " + root + ";\n" + locations +
                    "  }\n");
  return port;
}

void StartNginxServers(const std::string& prefix, const std::string& servers) {
  RequireProgram("/usr/sbin/nginx", "nginx-light");
  fs::create_directories(prefix);
  std::string conf =
      "daemon off; master_process off; worker_processes 1;\n"
      "pid " + prefix + "/nginx.pid; error_log " + prefix + "/error.log warn;\n"
      "events { worker_connections 256; }\n"
      "http {\n"
      "  access_log off; default_type application/octet-stream;\n"
      "  client_body_temp_path " + prefix + "/cbt; proxy_temp_path " + prefix + "/pt;\n"
      "  fastcgi_temp_path " + prefix + "/ft; uwsgi_temp_path " + prefix + "/ut; scgi_temp_path " + prefix + "/st;\n" +
      servers +
      "}\n";
  WriteFile(prefix + "/nginx.conf", conf);

  // nginx writes its pid file once it listens: wait for that file to be closed.
  int watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  inotify_add_watch(watch, prefix.c_str(), IN_CLOSE_WRITE);
  pid_t pid = Spawn({"/usr/sbin/nginx", "-e", prefix + "/error.log", "-p", prefix, "-c", prefix + "/nginx.conf"}, -1,
                    prefix + "/stderr.log");
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartLimitMs);
  bool ready = false;
  while (!ready) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) {
      close(watch);
      throw std::runtime_error("nginx exited at start: " + ReadFile(prefix + "/error.log") +
                               ReadFile(prefix + "/stderr.log"));
    }
    pollfd p{watch, POLLIN, 0};
    int wait = std::min(RemainingMs(deadline), 200);  // re-check the child now and then
    if (poll(&p, 1, wait) == 1) {
      alignas(inotify_event) char events[4096];
      ssize_t n = read(watch, events, sizeof events);
      for (ssize_t off = 0; off < n;) {
        auto* e = reinterpret_cast<inotify_event*>(events + off);
        if (e->len && std::string(e->name) == "nginx.pid") ready = true;
        off += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
      }
    } else if (RemainingMs(deadline) == 0) {
      close(watch);
      throw std::runtime_error("nginx did not start within 10 s: " + ReadFile(prefix + "/error.log"));
    }
  }
  close(watch);
}

void StartProgram(const std::vector<std::string>& argv, const std::string& folder, uint16_t port) {
  RequireProgram(argv[0], argv[0]);
  std::string name = fs::path(argv[0]).filename().string();
  // Ready once the port takes connections: tried again whenever something in the folder changes
  // (the program writes its log as it starts).
  int watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  inotify_add_watch(watch, folder.c_str(), IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE);
  pid_t pid = Spawn(argv, -1, folder + "/" + name + ".log");
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartLimitMs);
  struct CloseWatch {
    int fd;
    ~CloseWatch() { close(fd); }
  } closeWatch{watch};
  for (;;) {
    if (waitpid(pid, nullptr, WNOHANG) == pid)
      throw std::runtime_error(name + " exited at start: " + ReadFile(folder + "/" + name + ".log"));
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(fd);
    if (ok) return;
    if (RemainingMs(deadline) == 0)
      throw std::runtime_error(name + " did not start within 10 s: " + ReadFile(folder + "/" + name + ".log"));
    pollfd p{watch, POLLIN, 0};
    if (poll(&p, 1, std::min(RemainingMs(deadline), 200)) == 1) {
      alignas(inotify_event) char events[4096];
      while (read(watch, events, sizeof events) > 0) {
      }
    }
  }
}

void RunTool(const std::vector<std::string>& argv, const std::string& folder) {
  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (chdir(folder.c_str()) != 0) _exit(126);
    int log = open((folder + "/tool.log").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    dup2(log, 1);
    dup2(log, 2);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error(argv[0] + " failed: " + ReadFile(folder + "/tool.log"));
}

uint16_t StartPythonServer(const std::string& script, const std::vector<std::string>& args, const std::string& folder) {
  RequireProgram("/usr/bin/python3", "python3");
  if (access(script.c_str(), R_OK) != 0) throw std::runtime_error("server script not found: " + script);
  std::string name = fs::path(script).stem().string();
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  std::vector<std::string> argv{"/usr/bin/python3", script};
  argv.insert(argv.end(), args.begin(), args.end());
  pid_t pid = Spawn(argv, out[1], folder + "/" + name + ".log");
  close(out[1]);
  // The port arrives as one line once the server listens.
  std::string line;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartLimitMs);
  while (line.find('\n') == std::string::npos) {
    pollfd p{out[0], POLLIN, 0};
    char chunk[32];
    ssize_t n = poll(&p, 1, RemainingMs(deadline)) == 1 ? read(out[0], chunk, sizeof chunk) : 0;
    if (n <= 0) break;
    line.append(chunk, static_cast<size_t>(n));
  }
  close(out[0]);
  auto port = static_cast<uint16_t>(line.find('\n') != std::string::npos ? std::atoi(line.c_str()) : 0);
  if (port == 0) {
    waitpid(pid, nullptr, WNOHANG);
    throw std::runtime_error("the python3 server " + name + " did not start: " + ReadFile(folder + "/" + name + ".log"));
  }
  return port;
}

std::string HttpServers::nginxUrl(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(nginxPort) + path;
}

std::string HttpServers::echoUrl(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(echoPort) + path;
}

HttpServers& HttpServers::Get() {
  static std::unique_ptr<HttpServers> servers;
  static std::string failure;
  if (servers) return *servers;
  if (!failure.empty()) throw std::runtime_error(failure);
  try {
    auto s = std::make_unique<HttpServers>();
    s->folder = MakeFolder();
    std::string www = s->folder + "/www";
    fs::create_directories(www);
    WriteFile(www + "/index.html", "<html>hello</html>\n");
    for (int i = 0; s->largeContent.size() < 3'000'000; ++i) s->largeContent += "line " + std::to_string(i) + "\n";
    s->largePath = www + "/large.bin";
    WriteFile(s->largePath, s->largeContent);

    // The echo server first: nginx redirects to it.
    s->echoPort = StartPythonServer(std::string(NET_TEST_FOLDER) + "/echo_server.py", {}, s->folder);

    std::string echo = "http://127.0.0.1:" + std::to_string(s->echoPort);
    std::string locations =
        "    location = /redir { return 302 /index.html; }\n"
        "    location = /loop { return 302 /loop; }\n"
        "    location = /cookie { add_header Set-Cookie \"id=42; path=/app; secure\";\n"
        "      add_header Set-Cookie \"b=2; expires=Wed, 09-Jun-21 10:18:14 GMT\"; return 200 \"c\\n\"; }\n"
        "    location = /teapot { return 418 \"no\\n\"; }\n"
        "    location = /auth { if ($http_authorization = \"\") {\n"
        "      add_header WWW-Authenticate 'Basic realm=\"t\"' always; return 401; }\n"
        "      return 200 \"$http_authorization|$http_cookie\\n\"; }\n"
        "    location = /to-auth { return 302 /auth; }\n"
        "    location = /created { add_header Location /index.html; return 201 \"made\\n\"; }\n"
        "    location = /away { return 302 " + echo + "/headers; }\n"
        "    location = /post-redirect { return 302 /index.html; }\n";
    s->nginxPort = StartNginx(s->folder, www, locations);
    servers = std::move(s);
    return *servers;
  } catch (const std::exception& e) {
    failure = e.what();
    throw;
  }
}

}  // namespace nettest
