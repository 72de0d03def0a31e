// FTP servers for the FTP client tests, started once per test program on 127.0.0.1 (pyftpdlib on a
// free port, each with its own root folder) and stopped by PID when it ends:
//   unix: user "user", password "secret", Unix listings;
//   odd:  the same user, DOS listings, a PASV reply naming 10.0.0.1, REST refused.
#pragma once

#include <cstdint>
#include <string>

namespace nettest {

// Starts one more FTP server (ftp_server.py) on `root` in the given mode (for "tree" and "loop"
// the root is made: three links a, b and c that lead back to it, and the file f.txt); answers its
// port. It ends with the test program.
uint16_t StartFtpServer(const std::string& root, const std::string& mode);

struct FtpServers {
  std::string unixRoot, oddRoot;
  uint16_t unixPort = 0, oddPort = 0;
  static FtpServers& Get();
};

}  // namespace nettest
