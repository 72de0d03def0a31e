#include "script/stdlib/file_routines.h"

#include <limits.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "platform/rt/exception.h"
#include "script/core/error_table.h"

namespace stdlib {

bool IsDirectory(std::string_view path) {
  struct stat st;
  return !path.empty() && ::stat(std::string(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDirectoryPath(std::string_view path) {
  if (path.empty()) throw rt::Exception(engine::ErrorMessage(engine::jeCannotCreateDir));
  // No folder has a longer path; refusing it here also bounds the walk up the parents, which
  // would otherwise go one call deeper per separator of an arbitrarily long text.
  if (path.size() >= PATH_MAX) return false;
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  if (IsDirectory(path)) return true;
  size_t slash = path.find_last_of('/');
  if (slash != std::string_view::npos) {
    // "/name" has the root as its parent; "a//b" has "a".
    std::string_view parent = path.substr(0, slash);
    while (parent.size() > 1 && parent.back() == '/') parent.remove_suffix(1);
    if (parent.empty()) parent = "/";
    if (!CreateDirectoryPath(parent)) return false;
  }
  if (::mkdir(std::string(path).c_str(), 0777) == 0) return true;
  return errno == EEXIST && IsDirectory(path);
}

}  // namespace stdlib
