// Every example in README.md and under docs/ runs as shown. A fenced block marked `brs` runs
// through brs, one marked `brsw` through brsw on the offscreen platform, each in a fresh folder of
// its own. An `input` block right after it is its standard input; an `output` block after that
// is what it must print (standard output and standard error as they come), and `output exit=N`
// its exit status as well. Without an output block an example prints nothing and ends with 0.
// An example marked `brs net` talks to a web server on 127.0.0.1:8080: the test starts one on a
// free port serving the example's folder (with hello.txt in it) and points the example at it.
// Other words after `brs` or `brsw` are the script's arguments (`brs a b c`).
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/docs/markdown.h"
#include "tests/tools/run_program.h"

namespace {

namespace fs = std::filesystem;
using docs_test::CodeBlock;

const fs::path kSource = BR_SOURCE_DIR;

std::vector<fs::path> Pages() {
  std::vector<fs::path> pages = {kSource / "README.md"};
  for (const char* folder : {"docs", "docs/reference"})
    for (const auto& entry : fs::directory_iterator(kSource / folder))
      if (entry.path().extension() == ".md") pages.push_back(entry.path());
  return pages;
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  std::string word;
  while (in >> word) words.push_back(word);
  return words;
}

// A web server for one example: Python's own, serving the folder, stopped by its PID. It picks its
// own port and names it on its first line, so no other server can take the port in between.
class WebServer {
 public:
  WebServer(const fs::path& folder) {
    std::ofstream(folder / "hello.txt") << "Hello from the server\n";
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(out[0]);
      if (chdir(folder.c_str()) != 0 || dup2(out[1], STDOUT_FILENO) < 0 || !freopen("/dev/null", "w", stderr)) _exit(126);
      execlp("python3", "python3", "-u", "-m", "http.server", "--bind", "127.0.0.1", "0", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(out[1]);
    output_ = out[0];
    std::string said;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (said.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      pollfd ready{output_, POLLIN, 0};
      if (poll(&ready, 1, 100) <= 0) continue;
      char buffer[256];
      ssize_t got = read(output_, buffer, sizeof buffer);
      if (got <= 0) break;
      said.append(buffer, size_t(got));
    }
    // "Serving HTTP on 127.0.0.1 port 41459 (http://127.0.0.1:41459/) ..."
    size_t at = said.find(" port ");
    if (at != std::string::npos) port_ = std::atoi(said.c_str() + at + 6);
  }
  ~WebServer() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) close(output_);
  }
  int Port() const { return port_; }

 private:
  int port_ = 0;
  int output_ = -1;
  pid_t pid_ = -1;
};

TEST(Examples, EveryExampleRunsAsShown) {
  int examples = 0;
  fs::path scratch = fs::path(BR_BINARY_DIR) / "tests/docs/examples";
  fs::remove_all(scratch);
  for (const fs::path& page : Pages()) {
    std::string name = fs::relative(page, kSource).string();
    std::vector<CodeBlock> blocks = docs_test::ReadCodeBlocks(name, docs_test::ReadText(page.string()));
    for (size_t i = 0; i < blocks.size(); ++i) {
      std::vector<std::string> info = Words(blocks[i].info);
      if (info.empty() || (info[0] != "brs" && info[0] != "brsw")) continue;
      const CodeBlock& code = blocks[i];
      std::string where = name + ":" + std::to_string(code.line);
      std::string input, expected;
      int exitCode = 0;
      size_t next = i + 1;
      if (next < blocks.size() && Words(blocks[next].info) == std::vector<std::string>{"input"}) input = blocks[next++].text;
      if (next < blocks.size()) {
        std::vector<std::string> outInfo = Words(blocks[next].info);
        if (!outInfo.empty() && outInfo[0] == "output") {
          expected = blocks[next].text;
          for (const std::string& w : outInfo)
            if (w.rfind("exit=", 0) == 0) exitCode = std::stoi(w.substr(5));
        }
      }
      ++examples;
      fs::path folder = scratch / (fs::path(name).stem().string() + "-" + std::to_string(code.line));
      fs::create_directories(folder);
      std::string source = code.text;
      std::unique_ptr<WebServer> server;
      bool net = false;
      std::vector<std::string> arguments;
      for (size_t w = 1; w < info.size(); ++w) {
        if (info[w] == "net")
          net = true;
        else
          arguments.push_back(info[w]);
      }
      if (net) {
        server = std::make_unique<WebServer>(folder);
        ASSERT_NE(server->Port(), 0) << where << ": the web server did not start";
        for (size_t at; (at = source.find("127.0.0.1:8080")) != std::string::npos;)
          source.replace(at, 14, "127.0.0.1:" + std::to_string(server->Port()));
      }
      std::ofstream(folder / "example.brs") << source;
      testing_tools::ProgramRun run;
      run.args = {info[0] == "brs" ? BRS_PATH : BRSW_PATH, "example.brs"};
      run.args.insert(run.args.end(), arguments.begin(), arguments.end());
      // Qt wants a private runtime folder, and says so on standard error without one.
      fs::create_directories(folder / ".run");
      fs::permissions(folder / ".run", fs::perms::owner_all);
      run.setEnv = {{"QT_QPA_PLATFORM", "offscreen"}, {"TZ", "UTC"}, {"XDG_CONFIG_HOME", (folder / ".config").string()},
                    {"XDG_RUNTIME_DIR", (folder / ".run").string()}};
      run.folder = folder.string();
      run.input = input;
      run.mergeErr = true;
      testing_tools::ProgramOutcome o = testing_tools::RunProgram(run);
      EXPECT_TRUE(o.Exited(exitCode)) << where << ": " << o.Describe() << "\n" << o.out;
      EXPECT_EQ(o.out, expected) << where;
    }
  }
  EXPECT_GT(examples, 0);
}

}  // namespace
