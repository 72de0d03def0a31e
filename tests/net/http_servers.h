// Real HTTP servers for the client tests, started once per test program on 127.0.0.1 (free ports,
// a temporary folder, no privileges needed) and stopped by their process IDs when it ends.
//   nginx: static files (index.html, large.bin), /redir (302 to /index.html), /loop (302 to itself),
//     /cookie (two Set-Cookie), /teapot (418), /auth (401 without Authorization, else echoes it),
//     /created (201 with a Location), /away (302 to the echo server), /post-redirect (302).
//   echo: Debian's python3 http.server; POST and PUT echo method, path, type, length and body; GET
//     echoes the request line and the header lines.
// A server that cannot be started fails the test that asked for it, with the reason.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nettest {

struct HttpServers {
  std::string folder;        // the temporary folder everything lives in
  uint16_t nginxPort = 0;
  uint16_t echoPort = 0;
  std::string largePath;     // the file behind /large.bin
  std::string largeContent;  // its bytes

  std::string nginxUrl(const std::string& path) const;
  std::string echoUrl(const std::string& path) const;

  // Starts the servers on first use; throws std::runtime_error with the reason when one cannot start.
  static HttpServers& Get();
};

// Starts nginx serving `root` on a free port of 127.0.0.1 with the given extra server-block text;
// answers its port. The process ends with the test program. Throws when nginx cannot start.
uint16_t StartNginx(const std::string& folder, const std::string& root, const std::string& locations);

// Starts nginx with the given server blocks (each listens where it says) under `prefix`; returns
// once it listens. Throws when nginx cannot start.
void StartNginxServers(const std::string& prefix, const std::string& servers);

// Starts a program that listens on `port` of 127.0.0.1 and returns once it takes connections; its
// output goes to a log in `folder`; it ends with the test program.
void StartProgram(const std::vector<std::string>& argv, const std::string& folder, uint16_t port);

// Runs a program to its end in `folder`; throws with its output when it fails.
void RunTool(const std::vector<std::string>& argv, const std::string& folder);

// Starts Debian's python3 with the server script and its arguments; the script prints the port it
// listens on (127.0.0.1) as its first line. Its log goes into `folder`; it ends with the test program.
uint16_t StartPythonServer(const std::string& script, const std::vector<std::string>& args, const std::string& folder);

// Helpers for fixtures of other servers.
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
// A new temporary folder, removed when the test program ends.
std::string MakeFolder();
// Starts a program (standard output to `outFd`, or with standard error to the log file); it is
// stopped by its PID when the test program ends, and dies with it.
int Spawn(const std::vector<std::string>& argv, int outFd, const std::string& logPath);
// Throws with the package to install when the program is missing.
void RequireProgram(const std::string& path, const std::string& package);

}  // namespace nettest
