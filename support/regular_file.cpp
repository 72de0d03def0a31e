#include "support/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace support {

namespace {

// The errno for an entry of this kind that is no regular file.
int notRegular(mode_t mode) { return S_ISDIR(mode) ? EISDIR : ENODEV; }

}  // namespace

bool IsSystemPath(std::string_view name) { return name.find('\0') == std::string_view::npos; }

bool IsRegularFile(int fd) {
  struct stat st;
  return fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

int OpenRegularFile(const std::string& fileName) {
  if (!IsSystemPath(fileName)) {
    errno = EINVAL;
    return -1;
  }
  // Looked at first, so that a device is not even opened (opening some has effects of its own).
  struct stat st;
  if (::stat(fileName.c_str(), &st) != 0) return -1;
  if (!S_ISREG(st.st_mode)) {
    errno = notRegular(st.st_mode);
    return -1;
  }
  // Without waiting, should a pipe have taken the file's place since.
  int fd;
  do fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    int code = S_ISREG(st.st_mode) ? errno : notRegular(st.st_mode);
    ::close(fd);
    errno = code;
    return -1;
  }
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

bool ReadRegularFile(const std::string& fileName, std::string& contents, std::string* error) {
  auto fail = [&](int code) {
    if (error) *error = fileName + ": " + (code == ENODEV ? "not a regular file" : std::strerror(code));
    return false;
  };
  int fd = OpenRegularFile(fileName);
  if (fd < 0) return fail(errno);
  // The size is a first guess only: a file may grow while it is read, and some report 0 (/proc).
  struct stat st;
  size_t guess = ::fstat(fd, &st) == 0 && st.st_size > 0 ? size_t(st.st_size) + 1 : 65536;
  std::string data(guess, '\0');
  size_t have = 0;
  for (;;) {
    if (have == data.size()) data.resize(data.size() * 2);
    ssize_t n = ::read(fd, data.data() + have, data.size() - have);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int code = errno;
      ::close(fd);
      return fail(code);
    }
    if (n == 0) break;
    have += size_t(n);
  }
  data.resize(have);
  ::close(fd);
  contents = std::move(data);
  return true;
}

}  // namespace support
