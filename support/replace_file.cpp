#include "support/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace support {

namespace testing {
std::function<void(size_t written)> AfterBlockWritten;
size_t BlockSize = 1 << 16;
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

mode_t newFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

bool writeAll(int fd, std::string_view data) {
  size_t done = 0;
  size_t block = testing::BlockSize ? testing::BlockSize : 1;
  while (done < data.size()) {
    size_t chunk = std::min(block, data.size() - done);
    ssize_t n = ::write(fd, data.data() + done, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    done += size_t(n);
    if (testing::AfterBlockWritten) testing::AfterBlockWritten(done);
  }
  return true;
}

}  // namespace

bool ReplaceFileContents(const std::string& fileName, std::string_view data, std::string* error) {
  if (fileName.empty()) return fail(error, "no file name", ENOENT);
  std::string target = finalTarget(fileName);
  struct stat st;
  bool exists = stat(target.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) return fail(error, target, EISDIR);
  mode_t mode = exists ? (st.st_mode & 07777) : newFileMode();

  std::string temp = target + ".~XXXXXX";
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return fail(error, "cannot create a temporary file beside " + target, errno);
  auto abandon = [&](const std::string& step) {
    int code = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    return fail(error, step, code);
  };
  if (fchmod(fd, mode) != 0) return abandon("cannot set the permissions of " + temp);
  if (!writeAll(fd, data)) return abandon("cannot write " + temp);
  if (fsync(fd) != 0) return abandon("cannot flush " + temp);
  if (::close(fd) != 0) {
    int code = errno;
    ::unlink(temp.c_str());
    return fail(error, "cannot close " + temp, code);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    int code = errno;
    ::unlink(temp.c_str());
    return fail(error, "cannot rename " + temp + " to " + target, code);
  }
  // The rename itself reaches the disk with the folder's entry.
  size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace support
