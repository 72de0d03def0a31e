#include "support/file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <utility>

#include "platform/rt/utf8.h"
#include "support/regular_file.h"
#include "support/trash.h"

namespace support {

namespace fs = std::filesystem;

namespace {

struct Entry {
  std::string name;
  uint32_t attributes;
  int64_t size;
};

// The entries of a folder in name order (letter case ignored first, then bytes), "." and ".."
// left out.
std::vector<Entry> readFolder(const std::string& folder) {
  std::vector<Entry> entries;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    Entry e{it->path().filename().string(), 0, 0};
    struct stat st;
    std::string full = it->path().string();
    bool ok = ::stat(full.c_str(), &st) == 0 || ::lstat(full.c_str(), &st) == 0;
    if (ok && S_ISDIR(st.st_mode))
      e.attributes |= faDirectory;
    else if (ok)
      e.size = st.st_size;
    if (!e.name.empty() && e.name[0] == '.') e.attributes |= faHidden;
    entries.push_back(std::move(e));
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    int c = rt::compareText(a.name, b.name);
    return c != 0 ? c < 0 : a.name < b.name;
  });
  return entries;
}

// What a search with the attribute filter `wanted` finds: hidden, system and folder entries only
// when asked for.
bool passes(uint32_t attributes, uint32_t wanted) {
  uint32_t excluded = ~wanted & (faHidden | faSysFile | faVolumeID | faDirectory);
  return (attributes & excluded) == 0;
}

uint32_t attributesOfKind(int kind) {
  switch (kind) {
    case 1:
      return faReadOnly | faHidden | faSysFile | faArchive;
    case 2:
      return faDirectory;
    case 3:
      return faVolumeID;
    case 4:
      return faAnyFile;
    default:
      return 0;
  }
}

std::string withSlash(const std::string& folder) {
  return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

bool hasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

std::mutex confirmLock;
ShellDeleteConfirm& confirmHook() {
  static ShellDeleteConfirm hook;
  return hook;
}

// A mask may lead into a subfolder ("sub/*.txt"), as a search path does: the search then runs in
// that subfolder with the last part as the mask.
void moveFolderPart(std::string& folder, std::string& mask) {
  size_t slash = mask.rfind('/');
  if (slash != std::string::npos) {
    folder = withSlash(folder) + mask.substr(0, slash);
    mask.erase(0, slash + 1);
  }
  if (mask.empty()) mask = "*.*";
}

}  // namespace

bool MatchesMask(const std::string& name, const std::string& mask) {
  if (mask == "*.*" || mask == "*") return true;
  // Backtracking over one "*" at a time: linear in practice, never exponential.
  size_t n = 0, m = 0, starM = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starM = m++;
      starN = n;
    } else if (m < mask.size() && mask[m] == '?') {
      n += std::max<size_t>(1, rt::utf8::charLength(name, n));
      ++m;
    } else if (m < mask.size() && rt::asciiLower(mask[m]) == rt::asciiLower(name[n])) {
      ++n;
      ++m;
    } else if (starM != std::string::npos) {
      m = starM + 1;
      starN += std::max<size_t>(1, rt::utf8::charLength(name, starN));
      n = starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

int64_t FileSizeOf(const std::string& fileName) {
  if (!IsSystemPath(fileName)) return 0;
  const uint32_t wanted = attributesOfKind(1);
  fs::path p(fileName);
  std::string name = p.filename().string();
  if (!hasWildcard(name)) {
    struct stat st;
    if (::stat(fileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return 0;
    return st.st_size;
  }
  std::string folder = p.has_parent_path() ? p.parent_path().string() : ".";
  for (const Entry& e : readFolder(folder))
    if (passes(e.attributes, wanted) && IsFileEntry(e.attributes) && MatchesMask(e.name, name))
      return e.size;
  return 0;
}

bool FolderExists(const std::string& path) {
  struct stat st;
  return !path.empty() && IsSystemPath(path) && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void ListFolderEntries(const std::string& where, const std::string& mask, int kind,
                       std::vector<std::string>* folders, std::vector<std::string>& files) {
  std::string folder = where, m = mask;
  moveFolderPart(folder, m);
  if (!FolderExists(folder)) return;
  uint32_t wanted = attributesOfKind(kind);
  files.clear();
  if (folders) folders->clear();
  std::string prefix = withSlash(folder);
  for (const Entry& e : readFolder(folder)) {
    if (!passes(e.attributes, wanted) || !MatchesMask(e.name, m)) continue;
    if (IsFileEntry(e.attributes))
      files.push_back(prefix + e.name);
    else if (IsFolderEntry(e.attributes) && folders)
      folders->push_back(prefix + e.name);
  }
}

void ListSubfolders(const std::string& folder, std::vector<std::string>& folders) {
  std::vector<std::string> files;
  ListFolderEntries(folder, "*.*", 2, &folders, files);
}

std::vector<TSearchEntry> FindFolderEntries(const std::string& where, const std::string& mask, uint32_t attributes) {
  std::vector<TSearchEntry> found;
  std::string folder = where, m = mask;
  moveFolderPart(folder, m);
  if (!FolderExists(folder)) return found;
  std::string prefix = withSlash(folder);
  if ((attributes & faDirectory) && fs::path(folder).lexically_normal() != "/") {
    for (const char* dots : {".", ".."})
      if (MatchesMask(dots, m)) found.push_back({dots, faDirectory});
  }
  for (Entry& e : readFolder(folder)) {
    if (!passes(e.attributes, attributes) || !MatchesMask(e.name, m)) continue;
    uint32_t a = e.attributes;
    if (::access((prefix + e.name).c_str(), W_OK) != 0) a |= faReadOnly;
    found.push_back({std::move(e.name), a});
  }
  return found;
}

void SetShellDeleteConfirm(ShellDeleteConfirm confirm) {
  std::lock_guard<std::mutex> g(confirmLock);
  confirmHook() = std::move(confirm);
}

bool ShellDelete(intptr_t ownerWindow, const std::vector<std::string>& paths, bool allowUndo, bool silent) {
  std::vector<std::string> full;
  bool all = true;
  for (const std::string& p : paths) {
    if (p.empty()) continue;
    // Cut at its NUL, the name would reach another file: that one is never deleted.
    if (!IsSystemPath(p)) {
      all = false;
      continue;
    }
    std::error_code ec;
    fs::path abs = fs::absolute(fs::path(p), ec).lexically_normal();
    std::string s = abs.string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    full.push_back(s);
  }
  if (full.empty()) return all;
  if (!silent) {
    ShellDeleteConfirm confirm;
    {
      std::lock_guard<std::mutex> g(confirmLock);
      confirm = confirmHook();
    }
    if (confirm && !confirm(ownerWindow, full, allowUndo)) return false;
  }
  for (const std::string& p : full) {
    std::error_code ec;
    // The root of the file system is never deleted.
    if (p == "/" || !fs::exists(fs::symlink_status(p, ec))) {
      all = false;
      continue;
    }
    if (allowUndo) {
      all = MoveToTrash(p) && all;
    } else {
      fs::remove_all(p, ec);
      all = !ec && all;
    }
  }
  return all;
}

bool DeleteFolderItems(intptr_t ownerWindow, const std::string& folder, bool allowUndo, bool silent,
                       bool wholeFolder) {
  if (!FolderExists(folder)) return false;
  if (wholeFolder) {
    std::string f = folder;
    while (f.size() > 1 && f.back() == '/') f.pop_back();
    return ShellDelete(ownerWindow, {f}, allowUndo, silent);
  }
  std::vector<std::string> folders, files;
  ListFolderEntries(folder, "*.*", 4, &folders, files);
  files.insert(files.end(), folders.begin(), folders.end());
  return ShellDelete(ownerWindow, files, allowUndo, silent);
}

}  // namespace support
