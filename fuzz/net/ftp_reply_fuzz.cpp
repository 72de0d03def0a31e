// The replies that open an FTP data connection, on arbitrary text: an accepted reply names a port
// other than 0, and the six numbers of a PASV reply come back when written out again.
#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/ftp_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  uint32_t address = 0;
  uint16_t port = 0;
  if (net::ParsePasvReply(text, address, port)) {
    if (port == 0) abort();
    uint32_t a = ntohl(address);
    std::string again = "(" + std::to_string(a >> 24) + "," + std::to_string((a >> 16) & 255) + "," +
                        std::to_string((a >> 8) & 255) + "," + std::to_string(a & 255) + "," +
                        std::to_string(port >> 8) + "," + std::to_string(port & 255) + ")";
    uint32_t address2 = 0;
    uint16_t port2 = 0;
    if (!net::ParsePasvReply(again, address2, port2) || address2 != address || port2 != port) abort();
  }
  port = 0;
  if (net::ParseEpsvReply(text, port) && port == 0) abort();
  return 0;
}
