#include "support/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace support {

namespace {

AtomicWriteProbe& probe() {
  static AtomicWriteProbe p;
  return p;
}

bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= size_t(n);
  }
  return true;
}

[[noreturn]] void fail(const std::string& step, const std::string& path, int fd, const std::string& temp) {
  int code = errno;
  if (fd >= 0) ::close(fd);
  if (!temp.empty()) ::unlink(temp.c_str());
  throw std::system_error(code, std::generic_category(), step + " " + path);
}

}  // namespace

void SetAtomicWriteProbe(AtomicWriteProbe p) { probe() = std::move(p); }

void WriteFileAtomically(const std::string& path, const std::string& data) {
  std::string temp = path + ".tmp" + std::to_string(::getpid());
  mode_t mode = 0666;
  struct stat st;
  bool existed = ::stat(path.c_str(), &st) == 0;
  if (existed) mode = st.st_mode & 07777;
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, existed ? 0600 : mode);
  if (fd < 0) fail("cannot create", temp, -1, "");
  // The umask applies to a new file only, as for any file the program creates.
  if (existed && ::fchmod(fd, mode) != 0) fail("cannot set the mode of", temp, fd, temp);
  size_t half = data.size() / 2;
  if (!writeAll(fd, data.data(), half)) fail("cannot write", temp, fd, temp);
  if (probe()) probe()(1, temp);
  if (!writeAll(fd, data.data() + half, data.size() - half)) fail("cannot write", temp, fd, temp);
  if (::fsync(fd) != 0) fail("cannot flush", temp, fd, temp);
  if (::close(fd) != 0) fail("cannot close", temp, -1, temp);
  if (probe()) probe()(2, temp);
  if (::rename(temp.c_str(), path.c_str()) != 0) fail("cannot replace", path, -1, temp);
}

bool ReadWholeFile(const std::string& path, std::string& data) {
  data.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    data.append(buffer, size_t(n));
  }
  ::close(fd);
  return true;
}

}  // namespace support
