// The registry of the current user: keys holding subkeys and named string values, kept in one file
// per user ($XDG_CONFIG_HOME/brscript/registry.reg, ~/.config when the variable is not set).
//
// The file reads like a registry export:
//   ; registry store v1
//   [HKEY_CURRENT_USER\Software\Example\Settings]
//   "Name"="text with \"quotes\", \\ backslashes and \n line ends"
// A key exists when it has a header or is the beginning of one; its subkeys are the names that
// follow it in the headers. Key paths are separated by "\" (empty parts are dropped); key and value
// names are compared ignoring ASCII letter case and keep the case they were made with.
//
// Every operation takes an flock(2) lock on "<file>.lock" (shared to read, exclusive to change),
// reads the file again (another process may have changed it), and a change is written at once through a
// temporary file and a rename: each write is whole and immediate, and writers in several processes
// lose none of each other's values.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace registry {

class ERegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TRegistryStore {
 public:
  // The store in `path` (DefaultPath() when empty).
  explicit TRegistryStore(std::string path = "");
  static std::string DefaultPath();
  const std::string& Path() const { return path_; }

  // Reads throw ERegistryError when the file cannot be read, changes when it cannot be written
  // (nothing has changed then) or when a name cannot be stored (a line end in a key name).
  bool KeyExists(const std::string& key);
  std::vector<std::string> SubKeys(const std::string& key);
  std::vector<std::string> ValueNames(const std::string& key);
  bool ReadValue(const std::string& key, const std::string& name, std::string& value);
  void CreateKey(const std::string& key);
  // Creates the key as needed.
  void WriteValue(const std::string& key, const std::string& name, const std::string& value);
  // False when there was no such value.
  bool DeleteValue(const std::string& key, const std::string& name);
  // Removes the key with its subkeys and values; false when there was no such key. The root (an
  // empty path) is never removed.
  bool DeleteKey(const std::string& key);

  // Joins key paths with "\".
  static std::string Join(const std::string& key, const std::string& sub);

 private:
  struct Key {
    std::string path;  // parts joined by "\", as first written
    std::vector<std::pair<std::string, std::string>> values;
  };
  class Lock;
  void load();  // under the lock
  void save();  // under the exclusive lock
  Key* findKey(const std::string& normal);
  Key& makeKey(const std::string& normal);

  std::string path_;
  std::vector<Key> keys_;
};

// Sections over a registry key: a section is a subkey, its keys are the subkey's values; the empty
// section is the key itself.
class TRegIniFile {
 public:
  explicit TRegIniFile(std::string key, TRegistryStore store = TRegistryStore());
  const std::string& Key() const { return key_; }

  bool SectionExists(const std::string& section);
  std::string ReadString(const std::string& section, const std::string& ident, const std::string& defaultValue);
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  void DeleteKey(const std::string& section, const std::string& ident);
  void EraseSection(const std::string& section);
  std::vector<std::string> ReadSection(const std::string& section);
  std::vector<std::string> ReadSections();

 private:
  std::string key_;
  TRegistryStore store_;
};

}  // namespace registry
