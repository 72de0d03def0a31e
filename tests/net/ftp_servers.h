// FTP servers for the FTP client tests, started once per test program on 127.0.0.1 (pyftpdlib on a
// free port, each with its own root folder) and stopped by PID when it ends:
//   unix: user "user", password "secret", Unix listings;
//   odd:  the same user, DOS listings, a PASV reply naming 10.0.0.1, REST refused.
#pragma once

#include <cstdint>
#include <string>

namespace nettest {

struct FtpServers {
  std::string unixRoot, oddRoot;
  uint16_t unixPort = 0, oddPort = 0;
  static FtpServers& Get();
};

}  // namespace nettest
