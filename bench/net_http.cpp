// Fetches a 64 MB file from an nginx on 127.0.0.1 with our HTTP client (into memory and into a
// file) and with curl, several times each in the same run, and prints the median times and the
// ratio to curl's.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "http_servers.h"
#include "net_common.h"
#include "net/http.h"

namespace {

using netbench::kFileSize;
using netbench::Median;
using netbench::Seconds;

constexpr int kRounds = 7;

}  // namespace

int main() {
  try {
    if (access("/usr/bin/curl", X_OK) != 0) throw std::runtime_error("/usr/bin/curl is missing");
    std::string folder = (std::filesystem::temp_directory_path() / "net-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) throw std::runtime_error("no temporary folder");
    std::string www = folder + "/www";
    std::filesystem::create_directories(www);
    netbench::WriteBigFile(www + "/big.bin");
    uint16_t port = nettest::StartNginx(folder, www, "");
    std::string url = "http://127.0.0.1:" + std::to_string(port) + "/big.bin";

    std::vector<double> memory, file, curl, touch;
    for (int round = 0; round < kRounds; ++round) {
      {
        // What holding 64 MB of fresh memory costs on this machine, network aside.
        auto start = std::chrono::steady_clock::now();
        std::string filled(kFileSize, 'x');
        touch.push_back(Seconds(std::chrono::steady_clock::now() - start));
        if (filled[kFileSize / 2] != 'x') return 1;
      }
      {
        net::TgHTTP http(65536);
        std::string body;
        auto start = std::chrono::steady_clock::now();
        http.Get(url, body);
        memory.push_back(Seconds(std::chrono::steady_clock::now() - start));
        if (body.size() != kFileSize) throw std::runtime_error("short body");
      }
      {
        net::TgHTTP http(65536);
        auto start = std::chrono::steady_clock::now();
        http.GetFile(url, "/dev/null");
        file.push_back(Seconds(std::chrono::steady_clock::now() - start));
        if (http.BytesRead < static_cast<int64_t>(kFileSize)) throw std::runtime_error("short file");
      }
      curl.push_back(netbench::CurlSeconds({"-o", "/dev/null", url}));
    }
    std::filesystem::remove_all(folder);

    double c = Median(curl);
    std::printf("HTTP GET of a 64 MB file from nginx on 127.0.0.1, median of %d rounds\n", kRounds);
    std::printf("  curl -o /dev/null          %8.1f ms\n", c * 1000);
    std::printf("  TgHTTP.Get into memory     %8.1f ms  (%.2fx curl; filling 64 MB of fresh memory alone: %.1f ms)\n",
                Median(memory) * 1000, Median(memory) / c, Median(touch) * 1000);
    std::printf("  TgHTTP.GetFile /dev/null   %8.1f ms  (%.2fx curl)\n", Median(file) * 1000, Median(file) / c);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_net_http: %s\n", e.what());
    return 1;
  }
}
