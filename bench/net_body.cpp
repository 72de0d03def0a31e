// 64 MiB bodies fetched by scripts: `get` into a script text and `getFile` into a file, over HTTPS
// and over HTTP from nginx on 127.0.0.1, each run by brs in a process of its own beside curl writing
// the same body to a file in the same folder, several rounds in the same run. Prints the median
// times with their ratio to curl's, and the peak memory (resident set) of the brs processes with
// its ratio to the body's size.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "http_servers.h"
#include "net_common.h"
#include "tls_servers.h"

namespace {

using netbench::kFileSize;
using netbench::Median;

constexpr int kRounds = 9;

struct Measures {
  std::vector<double> seconds;
  std::vector<double> peakBytes;
};

// Runs brs on a script whose last line prints the milliseconds its transfer took and the bytes
// it got; answers both, with the peak memory of the process.
void RunScript(const std::string& folder, const std::string& text, size_t atLeast, Measures& into) {
  std::string path = folder + "/bench.brs";
  nettest::WriteFile(path, text);
  rusage usage{};
  std::string out = netbench::RunProgram({BRS_PATH, path}, &usage);
  double ms = 0, bytes = 0;
  std::istringstream lines(out);
  if (!(lines >> ms >> bytes) || bytes < double(atLeast)) throw std::runtime_error("the script said: " + out);
  into.seconds.push_back(ms / 1000);
  into.peakBytes.push_back(double(usage.ru_maxrss) * 1024);
}

std::string GetScript(const char* kind, const std::string& url) {
  return std::string("var h = new ") + kind + ";\nvar t0 = new Date().getTime();\nvar body = h.get(\"" + url +
         "\");\nvar t1 = new Date().getTime();\nprintln((t1 - t0) + \" \" + body.length);\n";
}

std::string GetFileScript(const char* kind, const std::string& url, const std::string& file) {
  return std::string("var h = new ") + kind + ";\nvar t0 = new Date().getTime();\nh.getFile(\"" + url + "\", \"" +
         file + "\");\nvar t1 = new Date().getTime();\nprintln((t1 - t0) + \" \" + h.bytesRead);\n";
}

void Report(const char* what, const Measures& m, double curl) {
  double t = Median(m.seconds), peak = Median(m.peakBytes);
  std::printf("  %-26s %8.1f ms  %5.2fx curl   peak %6.1f MB  %5.2fx the body\n", what, t * 1000, t / curl,
              peak / 1e6, peak / double(kFileSize));
}

void Compare(const char* kind, const std::string& url, const std::string& smallUrl, const std::vector<std::string>& curlArgs,
             const std::string& folder) {
  Measures get, getFile, baseline;
  std::vector<double> curl;
  std::string target = folder + "/ours.bin", curlTarget = folder + "/curl.bin";
  std::vector<std::string> args = curlArgs;
  args.insert(args.end(), {"-o", curlTarget, url});
  for (int round = 0; round < kRounds; ++round) {
    // curl goes first in every other round, so that neither side always meets what the other left
    // behind (dirty pages on their way to the disk, memory just given back).
    if (round % 2 == 0) curl.push_back(netbench::CurlSeconds(args));
    RunScript(folder, GetScript(kind, url), kFileSize, get);
    RunScript(folder, GetFileScript(kind, url, target), kFileSize, getFile);
    RunScript(folder, GetScript(kind, smallUrl), 1, baseline);
    if (round % 2 == 1) curl.push_back(netbench::CurlSeconds(args));
  }
  double c = Median(curl);
  std::printf("%s, 64 MiB (%zu bytes) from nginx on 127.0.0.1, median of %d rounds\n", kind, kFileSize, kRounds);
  std::printf("  %-26s %8.1f ms\n", "curl -o a file", c * 1000);
  Report((std::string(kind) + ".get into a text").c_str(), get, c);
  Report((std::string(kind) + ".getFile").c_str(), getFile, c);
  std::printf("  %-26s                             peak %6.1f MB\n", "brs with a small get", Median(baseline.peakBytes) / 1e6);
}

}  // namespace

int main() {
  try {
    if (access("/usr/bin/curl", X_OK) != 0) throw std::runtime_error("/usr/bin/curl is missing");
    nettest::TlsServers& tls = nettest::TlsServers::Get();
    nettest::HttpServers& http = nettest::HttpServers::Get();
    netbench::WriteBigFile(tls.folder + "/www/big.bin");
    netbench::WriteBigFile(http.folder + "/www/big.bin");
    std::string folder = nettest::MakeFolder();
    Compare("HTTPS", tls.url(tls.goodPort, "/big.bin"), tls.url(tls.goodPort, "/index.html"),
            {"--cacert", tls.caFile}, folder);
    Compare("HTTP", http.nginxUrl("/big.bin"), http.nginxUrl("/index.html"), {}, folder);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_net_body: %s\n", e.what());
    return 1;
  }
}
