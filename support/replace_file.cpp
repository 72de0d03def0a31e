#include "support/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "support/regular_file.h"

namespace support {

namespace testing {
std::function<void(size_t written)> AfterBlockWritten;
size_t BlockSize = 1 << 16;
bool NoUnnamedFiles = false;
}  // namespace testing

namespace {

bool fail(std::string* error, const std::string& step, int code) {
  if (error) *error = step + ": " + std::strerror(code);
  return false;
}

// The file a link points to (followed to its end), or the name itself when it is no link.
std::string finalTarget(const std::string& fileName) {
  struct stat st;
  if (lstat(fileName.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return fileName;
  char* resolved = realpath(fileName.c_str(), nullptr);
  if (resolved) {
    std::string path(resolved);
    std::free(resolved);
    return path;
  }
  // A dangling link: the file it names is made where the link points.
  std::string path = fileName;
  for (int hops = 0; hops < 40; ++hops) {
    char buf[PATH_MAX];
    ssize_t n = readlink(path.c_str(), buf, sizeof buf - 1);
    if (n < 0) break;
    std::string link(buf, size_t(n));
    if (link.empty() || link[0] != '/') {
      size_t slash = path.rfind('/');
      link = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + link;
    }
    path = link;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
  }
  return path;
}

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

mode_t newFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// A name beside `target` that is unlikely to exist (the caller still handles EEXIST).
std::string sparePath(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  uint64_t seed = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                  (uint64_t(::getpid()) << 32) ^ (uint64_t(counter.fetch_add(1)) * 0x9E3779B97F4A7C15ull);
  std::string name = target + ".~";
  for (int i = 0; i < 6; ++i) {
    name += kDigits[seed % 62];
    seed /= 62;
  }
  return name;
}

void syncFolder(const std::string& target) {
  int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    ::close(dir);
  }
}

}  // namespace

TReplacingWriter::~TReplacingWriter() { Abandon(); }

bool TReplacingWriter::Open(const std::string& fileName, std::string* error, bool sync) {
  Abandon();
  if (fileName.empty()) return fail(error, "no file name", ENOENT);
  if (!IsSystemPath(fileName)) return fail(error, "a file name holding a NUL", EINVAL);
  sync_ = sync;
  written_ = 0;
  target_ = finalTarget(fileName);
  struct stat st;
  bool exists = stat(target_.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) return fail(error, target_, EISDIR);
  if (exists && !S_ISREG(st.st_mode)) {
    // Nothing to replace: a device or pipe takes the bytes as they come. A pipe nobody reads
    // fails at once (ENXIO) instead of waiting for a reader.
    int fd = ::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return fail(error, "cannot open " + target_, errno);
    int flags = fcntl(fd, F_GETFL);
    if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    fd_ = fd;
    direct_ = true;
    return true;
  }
  direct_ = false;
  mode_t mode = exists ? (st.st_mode & 07777) : newFileMode();

  unnamed_ = false;
  if (!testing::NoUnnamedFiles && ::access("/proc/self/fd", X_OK) == 0) {
    int fd = ::open(folderOf(target_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd >= 0) {
      fd_ = fd;
      unnamed_ = true;
    } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
      return fail(error, "cannot create a file in " + folderOf(target_), errno);
    }
  }
  if (!unnamed_) {
    temp_ = target_ + ".~XXXXXX";
    int fd = mkostemp(temp_.data(), O_CLOEXEC);
    if (fd < 0) {
      temp_.clear();
      return fail(error, "cannot create a temporary file beside " + target_, errno);
    }
    fd_ = fd;
  }
  if (fchmod(fd_, mode) != 0) {
    int code = errno;
    Abandon();
    return fail(error, "cannot set the permissions of the new " + target_, code);
  }
  return true;
}

bool TReplacingWriter::Write(const void* data, size_t size, std::string* error) {
  if (fd_ < 0) return fail(error, "no file open", EBADF);
  const char* bytes = static_cast<const char*>(data);
  size_t done = 0;
  size_t block = testing::BlockSize ? testing::BlockSize : 1;
  while (done < size) {
    size_t chunk = std::min(block, size - done);
    ssize_t n = ::write(fd_, bytes + done, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(error, "cannot write " + target_, errno);
    }
    if (n == 0) return fail(error, "cannot write " + target_, EIO);
    done += size_t(n);
    written_ += size_t(n);
    if (testing::AfterBlockWritten) testing::AfterBlockWritten(written_);
  }
  return true;
}

bool TReplacingWriter::CopyFrom(int source, std::string* error) {
  if (fd_ < 0) return fail(error, "no file open", EBADF);
  size_t block = testing::BlockSize ? testing::BlockSize : 1;
  // The kernel's copy first (no trip through user memory, shared blocks where the file system can).
  bool kernel = !direct_;
  while (kernel) {
    ssize_t n = ::copy_file_range(source, nullptr, fd_, nullptr, std::max<size_t>(block, 1 << 20), 0);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EBADF) break;
      return fail(error, "cannot write " + target_, errno);
    }
    written_ += size_t(n);
    if (testing::AfterBlockWritten) testing::AfterBlockWritten(written_);
  }
  std::string buffer(std::max<size_t>(block, 1 << 16), '\0');
  for (;;) {
    ssize_t n = ::read(source, buffer.data(), buffer.size());
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(error, "cannot read the file copied to " + target_, errno);
    }
    if (!Write(buffer.data(), size_t(n), error)) return false;
  }
}

// Gives the unnamed file the target's name: straight away when there is no target yet, else under
// a spare name that is then renamed over the target.
bool TReplacingWriter::linkInPlace(std::string* error) {
  std::string self = "/proc/self/fd/" + std::to_string(fd_);
  struct stat st;
  if (lstat(target_.c_str(), &st) != 0) {
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
    if (errno != EEXIST) return fail(error, "cannot name the new " + target_, errno);
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string spare = sparePath(target_);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, spare.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST) continue;
      return fail(error, "cannot name the new " + target_, errno);
    }
    if (::rename(spare.c_str(), target_.c_str()) != 0) {
      int code = errno;
      ::unlink(spare.c_str());
      return fail(error, "cannot put the new file in place of " + target_, code);
    }
    return true;
  }
  return fail(error, "cannot name the new " + target_, EEXIST);
}

bool TReplacingWriter::Commit(std::string* error) {
  if (fd_ < 0) return fail(error, "no file open", EBADF);
  if (direct_) {
    int fd = fd_;
    fd_ = -1;
    direct_ = false;
    if (::close(fd) != 0) return fail(error, "cannot close " + target_, errno);
    return true;
  }
  if (sync_ && fsync(fd_) != 0) {
    int code = errno;
    Abandon();
    return fail(error, "cannot flush the new " + target_, code);
  }
  if (unnamed_) {
    bool linked = linkInPlace(error);
    ::close(fd_);
    fd_ = -1;
    if (!linked) return false;
  } else {
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
      int code = errno;
      ::unlink(temp_.c_str());
      temp_.clear();
      return fail(error, "cannot close " + target_, code);
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
      int code = errno;
      ::unlink(temp_.c_str());
      temp_.clear();
      return fail(error, "cannot rename the new file to " + target_, code);
    }
    temp_.clear();
  }
  // The new name reaches the disk with the folder's entry.
  if (sync_) syncFolder(target_);
  return true;
}

void TReplacingWriter::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  direct_ = false;
  unnamed_ = false;
}

bool ReplaceFileContents(const std::string& fileName, std::string_view data, std::string* error) {
  TReplacingWriter writer;
  return writer.Open(fileName, error) && writer.Write(data, error) && writer.Commit(error);
}

}  // namespace support
