// What the network benchmarks share: medians, curl's own measure of a transfer, and the 64 MiB
// file they fetch.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace netbench {

constexpr size_t kFileSize = 64u << 20;

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

inline double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Runs a program and answers what it wrote to its standard output; `usage`, when given, gets its
// resource use (peak memory among it). Throws when it cannot run or fails.
inline std::string RunProgram(const std::vector<std::string>& argv, rusage* usage = nullptr) {
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("pipe failed");
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(out[1]);
  std::string text;
  char chunk[4096];
  for (ssize_t n; (n = read(out[0], chunk, sizeof chunk)) > 0;) text.append(chunk, size_t(n));
  close(out[0]);
  int status = 0;
  rusage own{};
  wait4(pid, &status, 0, usage ? usage : &own);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(argv[0] + " failed: " + text);
  return text;
}

// curl's own measure of the transfer (its process start-up is left out); `args` name the URL and
// where the body goes ("-o", a file).
inline double CurlSeconds(const std::vector<std::string>& args) {
  std::vector<std::string> all = {"/usr/bin/curl", "-s", "-w", "%{time_total} %{size_download}"};
  all.insert(all.end(), args.begin(), args.end());
  std::string text = RunProgram(all);
  double seconds = 0;
  unsigned long long size = 0;
  if (std::sscanf(text.c_str(), "%lf %llu", &seconds, &size) != 2 || size != kFileSize)
    throw std::runtime_error("curl failed: " + text);
  return seconds;
}

inline void WriteBigFile(const std::string& path) {
  std::ofstream file(path, std::ios::binary);
  std::string block(1 << 20, '\0');
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>('a' + i % 26);
  for (size_t done = 0; done < kFileSize; done += block.size()) file.write(block.data(), block.size());
  if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace netbench
