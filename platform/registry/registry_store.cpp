#include "platform/registry/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/rt/utf8.h"
#include "support/replace_file.h"

namespace registry {

namespace {

const char kRoot[] = "HKEY_CURRENT_USER";
const char kFirstLine[] = "; registry store v1";

// The path with its parts trimmed of empty ones: "\a\\b\" is "a\b".
std::string normalKey(const std::string& key) {
  std::string out;
  size_t start = 0;
  while (start <= key.size()) {
    size_t end = key.find('\\', start);
    if (end == std::string::npos) end = key.size();
    if (end > start) {
      if (!out.empty()) out += '\\';
      out.append(key, start, end - start);
    }
    start = end + 1;
  }
  return out;
}

// `path` lies under `parent` (ignoring case); `rest` gets what follows "parent\".
bool under(const std::string& path, const std::string& parent, std::string* rest) {
  if (parent.empty()) {
    if (rest) *rest = path;
    return !path.empty();
  }
  if (path.size() <= parent.size() || path[parent.size()] != '\\') return false;
  if (!rt::sameText(std::string_view(path).substr(0, parent.size()), parent)) return false;
  if (rest) *rest = path.substr(parent.size() + 1);
  return true;
}

std::string escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

// Reads a quoted text at `pos` (on the opening quote); false when it is not one.
bool unquote(const std::string& line, size_t& pos, std::string& out) {
  if (pos >= line.size() || line[pos] != '"') return false;
  out.clear();
  for (++pos; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\' && pos + 1 < line.size()) {
      char n = line[++pos];
      out += n == 'r' ? '\r' : n == 'n' ? '\n' : n;
    } else {
      out += c;
    }
  }
  return false;
}

std::string errnoText(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

}  // namespace

// The file lock for the span of one operation.
class TRegistryStore::Lock {
 public:
  Lock(const std::string& path, bool exclusive) {
    std::string lockPath = path + ".lock";
    if (exclusive) {
      std::error_code ec;
      std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    }
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
      // A store nobody has written yet has no folder: reading it finds nothing.
      if (!exclusive && errno == ENOENT) return;
      throw ERegistryError(errnoText("cannot open the lock", lockPath));
    }
    while (::flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0) {
      if (errno == EINTR) continue;
      int code = errno;
      ::close(fd_);
      errno = code;
      throw ERegistryError(errnoText("cannot lock", lockPath));
    }
  }
  ~Lock() {
    if (fd_ >= 0) ::close(fd_);  // closing drops the lock
  }

 private:
  int fd_ = -1;
};

TRegistryStore::TRegistryStore(std::string path) : path_(path.empty() ? DefaultPath() : std::move(path)) {}

std::string TRegistryStore::DefaultPath() {
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
    base = config;
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = std::string(home) + "/.config";
  else
    base = "/tmp";
  return base + "/brscript/registry.reg";
}

std::string TRegistryStore::Join(const std::string& key, const std::string& sub) {
  if (sub.empty()) return key;
  if (key.empty()) return sub;
  return key + "\\" + sub;
}

void TRegistryStore::load() {
  // Read every time: another process may have changed it, and the file is small.
  keys_.clear();
  struct stat st;
  if (::stat(path_.c_str(), &st) != 0) {
    if (errno == ENOENT) return;
    throw ERegistryError(errnoText("cannot read", path_));
  }
  std::string text;
  bool read = false;
  try {
    std::ifstream in(path_, std::ios::binary);
    if (in) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    read = in && !in.bad();
  } catch (const std::exception&) {
    read = false;  // a folder, or a read error
  }
  if (!read) throw ERegistryError(errnoText("cannot read", path_));
  Key* current = nullptr;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      std::string full = line.substr(1, line.size() - 2);
      std::string rest;
      current = nullptr;
      if (rt::sameText(full, kRoot))
        current = &makeKey("");
      else if (under(full, kRoot, &rest))
        current = &makeKey(normalKey(rest));
      continue;
    }
    size_t pos = 0;
    std::string name, value;
    if (!current || !unquote(line, pos, name) || pos >= line.size() || line[pos] != '=') continue;
    ++pos;
    if (!unquote(line, pos, value)) continue;
    if (std::none_of(current->values.begin(), current->values.end(),
                     [&](const auto& v) { return rt::sameText(v.first, name); }))
      current->values.emplace_back(name, value);
  }
}

void TRegistryStore::save() {
  std::vector<const Key*> order;
  for (const Key& k : keys_) order.push_back(&k);
  std::stable_sort(order.begin(), order.end(),
                   [](const Key* a, const Key* b) { return rt::compareText(a->path, b->path) < 0; });
  std::string text = std::string(kFirstLine) + "\n";
  for (const Key* k : order) {
    text += "[" + (k->path.empty() ? std::string(kRoot) : std::string(kRoot) + "\\" + k->path) + "]\n";
    for (const auto& [name, value] : k->values) text += "\"" + escape(name) + "\"=\"" + escape(value) + "\"\n";
  }
  std::string error;
  if (!support::ReplaceFileContents(path_, text, &error)) throw ERegistryError(error);
}

TRegistryStore::Key* TRegistryStore::findKey(const std::string& normal) {
  for (Key& k : keys_)
    if (rt::sameText(k.path, normal)) return &k;
  return nullptr;
}

TRegistryStore::Key& TRegistryStore::makeKey(const std::string& normal) {
  if (Key* k = findKey(normal)) return *k;
  // Keep the case of parents that already exist.
  std::string path;
  size_t start = 0;
  while (start < normal.size()) {
    size_t end = normal.find('\\', start);
    if (end == std::string::npos) end = normal.size();
    std::string part = normal.substr(start, end - start);
    std::string candidate = Join(path, part);
    std::string existing;
    for (const Key& k : keys_) {
      std::string rest;
      if (rt::sameText(k.path, candidate) || under(k.path, candidate, nullptr)) {
        existing = k.path.substr(0, candidate.size());
        break;
      }
    }
    path = existing.empty() ? candidate : existing;
    start = end + 1;
  }
  keys_.push_back({path, {}});
  return keys_.back();
}

bool TRegistryStore::KeyExists(const std::string& key) {
  Lock lock(path_, false);
  load();
  std::string normal = normalKey(key);
  if (normal.empty()) return true;
  for (const Key& k : keys_)
    if (rt::sameText(k.path, normal) || under(k.path, normal, nullptr)) return true;
  return false;
}

std::vector<std::string> TRegistryStore::SubKeys(const std::string& key) {
  Lock lock(path_, false);
  load();
  std::string normal = normalKey(key);
  std::vector<std::string> names;
  for (const Key& k : keys_) {
    std::string rest;
    if (!under(k.path, normal, &rest)) continue;
    std::string name = rest.substr(0, rest.find('\\'));
    if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return rt::sameText(n, name); }))
      names.push_back(name);
  }
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return rt::compareText(a, b) < 0; });
  return names;
}

std::vector<std::string> TRegistryStore::ValueNames(const std::string& key) {
  Lock lock(path_, false);
  load();
  std::vector<std::string> names;
  if (Key* k = findKey(normalKey(key)))
    for (const auto& v : k->values) names.push_back(v.first);
  return names;
}

bool TRegistryStore::ReadValue(const std::string& key, const std::string& name, std::string& value) {
  Lock lock(path_, false);
  load();
  if (Key* k = findKey(normalKey(key)))
    for (const auto& v : k->values)
      if (rt::sameText(v.first, name)) {
        value = v.second;
        return true;
      }
  return false;
}

void TRegistryStore::CreateKey(const std::string& key) {
  std::string normal = normalKey(key);
  if (normal.find_first_of("\r\n") != std::string::npos) throw ERegistryError("bad key name: " + key);
  Lock lock(path_, true);
  load();
  if (findKey(normal)) return;
  makeKey(normal);
  save();
}

void TRegistryStore::WriteValue(const std::string& key, const std::string& name, const std::string& value) {
  std::string normal = normalKey(key);
  if (normal.find_first_of("\r\n") != std::string::npos) throw ERegistryError("bad key name: " + key);
  Lock lock(path_, true);
  load();
  Key& k = makeKey(normal);
  auto it = std::find_if(k.values.begin(), k.values.end(), [&](const auto& v) { return rt::sameText(v.first, name); });
  if (it != k.values.end())
    it->second = value;
  else
    k.values.emplace_back(name, value);
  save();
}

bool TRegistryStore::DeleteValue(const std::string& key, const std::string& name) {
  Lock lock(path_, true);
  load();
  Key* k = findKey(normalKey(key));
  if (!k) return false;
  auto it = std::find_if(k->values.begin(), k->values.end(), [&](const auto& v) { return rt::sameText(v.first, name); });
  if (it == k->values.end()) return false;
  k->values.erase(it);
  save();
  return true;
}

bool TRegistryStore::DeleteKey(const std::string& key) {
  std::string normal = normalKey(key);
  if (normal.empty()) return false;
  Lock lock(path_, true);
  load();
  size_t before = keys_.size();
  std::erase_if(keys_, [&](const Key& k) { return rt::sameText(k.path, normal) || under(k.path, normal, nullptr); });
  if (keys_.size() == before) return false;
  save();
  return true;
}

TRegIniFile::TRegIniFile(std::string key, TRegistryStore store) : key_(std::move(key)), store_(std::move(store)) {}

bool TRegIniFile::SectionExists(const std::string& section) {
  return store_.KeyExists(TRegistryStore::Join(key_, section));
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& defaultValue) {
  std::string value;
  return store_.ReadValue(TRegistryStore::Join(key_, section), ident, value) ? value : defaultValue;
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  store_.WriteValue(TRegistryStore::Join(key_, section), ident, value);
}

void TRegIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  store_.DeleteValue(TRegistryStore::Join(key_, section), ident);
}

void TRegIniFile::EraseSection(const std::string& section) {
  store_.DeleteKey(TRegistryStore::Join(key_, section));
}

std::vector<std::string> TRegIniFile::ReadSection(const std::string& section) {
  return store_.ValueNames(TRegistryStore::Join(key_, section));
}

std::vector<std::string> TRegIniFile::ReadSections() { return store_.SubKeys(key_); }

}  // namespace registry
