#include "platform/rt/paths.h"

#include <unistd.h>

#include <climits>
#include <filesystem>
#include <system_error>

namespace rt {

std::string exePath() {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
}

std::string exeDir() {
  std::string dir = extractFilePath(exePath());
  return dir.empty() ? currentDir() : dir;
}

std::string currentDir() {
  char buf[PATH_MAX];
  if (!getcwd(buf, sizeof buf)) return "./";
  std::string dir(buf);
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string extractFilePath(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string changeFileExt(const std::string& path, const std::string& extension) {
  auto slash = path.find_last_of('/');
  auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + extension;
  return path.substr(0, dot) + extension;
}

}  // namespace rt
