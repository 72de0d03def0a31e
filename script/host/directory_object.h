// The script class "Directory": one folder, with folder searches, listings, creation, removal and
// emptying. `dirname` is always a full path ending in "/".
//
// A search (findFirst, findFirstFile, findFirstDir) reads the folder once and the findNext family
// walks what it found; at most one search is open per object, and starting another closes it.
// Attribute filters keep the system's meaning: plain files are always found; hidden entries (names
// starting with "."), folders and the like only when the search asks for them.
//
// `clear` empties the folder (to the trash unless told otherwise). It refuses the root and the
// user's home folder, removes symbolic links rather than what they point to, and raises an error
// when anything is left behind.
//
// A folder name holding a NUL byte names no folder the file system can be given: every method
// that would reach the file system with it raises "EDirectoryError" instead, touching nothing.
#pragma once

#include <string>
#include <vector>

#include "script/core/object.h"
#include "script/core/value.h"
#include "support/file_system.h"

namespace host {

class TJStringsObject;

class TJDirectoryObject : public engine::TJObject {
  RT_CLASS(TJDirectoryObject)
 public:
  TJDirectoryObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  // Published properties.
  std::string DirName() const { return dirname_; }
  void SetDirName(std::string path);
  TJStringsObject* Files() const;
  TJStringsObject* Directories() const;

  void RegistMethods() override;
  std::string ToString(const engine::TJValue* argument) override { return dirname_; }

  void DoMake(engine::TJValueList* args, engine::TJValue& result);
  void DoRemove(engine::TJValueList* args, engine::TJValue& result);
  void DoRenameTo(engine::TJValueList* args, engine::TJValue& result);
  void DoFindFirstFile(engine::TJValueList* args, engine::TJValue& result);
  void DoFindNext(engine::TJValueList* args, engine::TJValue& result);
  void DoFindNextFile(engine::TJValueList* args, engine::TJValue& result);
  void DoFindNextDir(engine::TJValueList* args, engine::TJValue& result);
  void DoFindFirstDir(engine::TJValueList* args, engine::TJValue& result);
  void DoFindFirst(engine::TJValueList* args, engine::TJValue& result);
  void DoFindClose(engine::TJValueList* args, engine::TJValue& result);
  void DoExists(engine::TJValueList* args, engine::TJValue& result);
  void DoChangeTo(engine::TJValueList* args, engine::TJValue& result);
  void DoIncludePathDelimiter(engine::TJValueList* args, engine::TJValue& result);
  void DoExcludePathDelimiter(engine::TJValueList* args, engine::TJValue& result);
  void DoClear(engine::TJValueList* args, engine::TJValue& result);
  void DoFindFiles(engine::TJValueList* args, engine::TJValue& result);
  void DoExpandUNCFilename(engine::TJValueList* args, engine::TJValue& result);

  // The full path of `path` (taken from the current folder), "." and ".." resolved; no symbolic
  // link is followed.
  static std::string ExpandPath(const std::string& path);

 private:
  // The argument's string form, or dirname without one.
  std::string pathArgument(engine::TJValueList* args) const;
  const std::string& systemPath(const std::string& path, const char* method) const;
  void findFirst(engine::TJValueList* args, uint32_t attributes, engine::TJValue& result);
  // The next entry passing `accept` of the open search, or null; without one, the method's error.
  template <class Accept>
  void findNext(const char* method, Accept accept, engine::TJValue& result);

  std::string dirname_;
  bool searching_ = false;
  std::vector<support::TSearchEntry> found_;
  size_t next_ = 0;
};

}  // namespace host
