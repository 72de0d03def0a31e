#include "support/trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

namespace support {

namespace fs = std::filesystem;

namespace {

// The path as the trash's info file writes it: bytes outside the unreserved set and "/" as %XX.
std::string escapePath(const std::string& path) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' ||
        c == '-' || c == '_' || c == '.' || c == '~') {
      out += char(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string deletionDate() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
  return buffer;
}

bool makeFolder(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  if (ec) return false;
  ::chmod(path.c_str(), 0700);
  return fs::is_directory(path, ec);
}

bool writeAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string TrashFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data == '/') return std::string(data) + "/Trash";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.local/share/Trash";
}

bool MoveToTrash(const std::string& path) {
  std::error_code ec;
  if (path.empty() || path[0] != '/' || !fs::exists(fs::symlink_status(path, ec))) return false;
  std::string trash = TrashFolder();
  std::string filesDir = trash + "/files", infoDir = trash + "/info";
  if (!makeFolder(filesDir) || !makeFolder(infoDir)) return false;

  // The info file is made first and exclusively: it reserves the name in the trash.
  std::string name = fs::path(path).filename().string();
  if (name.empty()) return false;
  std::string unique, infoPath;
  int fd = -1;
  for (int n = 1; n < 10000 && fd < 0; ++n) {
    unique = n == 1 ? name : name + "." + std::to_string(n);
    infoPath = infoDir + "/" + unique + ".trashinfo";
    if (fs::exists(fs::symlink_status(filesDir + "/" + unique, ec))) continue;
    fd = ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  bool written = writeAll(fd, "[Trash Info]\nPath=" + escapePath(path) + "\nDeletionDate=" + deletionDate() + "\n");
  ::close(fd);

  std::string target = filesDir + "/" + unique;
  bool moved = false;
  if (written) {
    if (::rename(path.c_str(), target.c_str()) == 0) {
      moved = true;
    } else if (errno == EXDEV) {
      fs::copy(path, target, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
      if (!ec) {
        fs::remove_all(path, ec);
        moved = !ec;
      } else {
        fs::remove_all(target, ec);
      }
    }
  }
  if (!moved) ::unlink(infoPath.c_str());
  return moved;
}

}  // namespace support
