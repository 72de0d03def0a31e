// FTP listing lines on arbitrary text, under each list mode: an entry is either rejected or has a
// name, a known file type, no negative size, and permission digits no larger than 777.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/ftp_listing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return 0;
  std::string input(reinterpret_cast<const char*>(data), size);
  const support::TDateTime now = support::EncodeDate(2024, 6, 1) + 0.5;
  size_t start = 0;
  for (;;) {
    size_t end = input.find('\n', start);
    std::string line = input.substr(start, end == std::string::npos ? std::string::npos : end - start);
    net::TFTPFileProperty p;
    bool any[3] = {net::ParseListLine(line, p, now), false, false};
    if (any[0] && (p.Name.empty() || p.FileType < 1 || p.FileType > 3 || p.Size < 0)) abort();
    if (net::ParseUnixLine(line, p, now) && (p.Name.empty() || p.Size < 0 || net::PermissionToNumber(p) > 777)) abort();
    if (net::ParseDosLine(line, p, now) && (p.Name.empty() || p.Size < 0)) abort();
    net::TFTPDirectoryList list;
    for (uint8_t mode = 0; mode < 3; ++mode) {
      list.ListMode = mode;
      if (list.Add(line) && !list.HasName(list.GetItem(list.Count() - 1).Name)) abort();
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return 0;
}
