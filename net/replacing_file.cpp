#include "net/replacing_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "net/errors.h"

namespace net {

namespace {

mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

TReplacingFile::TReplacingFile(const std::string& fileName) : fileName_(fileName) {
  struct stat info {};
  bool exists = stat(fileName.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) {
    stream_.open(fileName, std::ios::binary | std::ios::out);
    if (!stream_) throw ELocalError("cannot open file " + fileName);
    return;
  }
  size_t slash = fileName.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  std::string pattern = folder + "." + base + ".part-XXXXXX";
  int fd = mkstemp(pattern.data());
  if (fd < 0) throw ELocalError("cannot create file " + fileName);
  fchmod(fd, exists ? (info.st_mode & 07777) : NewFileMode());
  close(fd);
  tempName_ = pattern;
  stream_.open(tempName_, std::ios::binary | std::ios::out | std::ios::trunc);
  if (!stream_) {
    std::remove(tempName_.c_str());
    throw ELocalError("cannot create file " + fileName);
  }
}

TReplacingFile::~TReplacingFile() {
  if (committed_ || tempName_.empty()) return;
  stream_.close();
  std::remove(tempName_.c_str());
}

void TReplacingFile::Commit() {
  stream_.flush();
  bool written = bool(stream_);
  stream_.close();
  if (!written || stream_.fail()) throw ELocalError("cannot write file " + fileName_);
  if (!tempName_.empty() && std::rename(tempName_.c_str(), fileName_.c_str()) != 0) {
    throw ELocalError("cannot replace file " + fileName_);
  }
  committed_ = true;
}

}  // namespace net
