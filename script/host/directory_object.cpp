#include "script/host/directory_object.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/rt/persistent.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/host/file_name.h"
#include "script/host/guarded.h"
#include "script/host/strings_object.h"

namespace host {

using namespace engine;
namespace fs = std::filesystem;

namespace {

constexpr const char* kDirectoryError = "EDirectoryError";

std::string withDelimiter(const std::string& path) {
  return !path.empty() && path.back() == '/' ? path : path + "/";
}

std::string withoutDelimiter(std::string path) {
  while (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

// The folder with every symbolic link resolved; empty when it cannot be resolved.
std::string realFolder(const std::string& path) {
  std::error_code ec;
  fs::path real = fs::canonical(path, ec);
  return ec ? std::string() : real.string();
}

}  // namespace

const rt::ClassInfo& TJDirectoryObject::StaticClassInfo() {
  using T = TJDirectoryObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJDirectoryObject", &TJObject::StaticClassInfo())
                                         .property("dirname", &T::DirName, &T::SetDirName)
                                         .property("path", &T::DirName, &T::SetDirName)
                                         .property("files", &T::Files)
                                         .property("directories", &T::Directories)
                                         .build();
  return info;
}

TJDirectoryObject::TJDirectoryObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Directory");
  SetDirName(IsParam1(param) ? AsString(&(*param)[0]) : std::string("."));
}

void TJDirectoryObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("make", &TJDirectoryObject::DoMake);
  RegistMethod("remove", &TJDirectoryObject::DoRemove);
  RegistMethod("renameTo", &TJDirectoryObject::DoRenameTo);
  RegistMethod("findFirstFile", &TJDirectoryObject::DoFindFirstFile);
  RegistMethod("findNext", &TJDirectoryObject::DoFindNext);
  RegistMethod("findNextFile", &TJDirectoryObject::DoFindNextFile);
  RegistMethod("findNextDir", &TJDirectoryObject::DoFindNextDir);
  RegistMethod("findFirstDir", &TJDirectoryObject::DoFindFirstDir);
  RegistMethod("findFirst", &TJDirectoryObject::DoFindFirst);
  RegistMethod("findClose", &TJDirectoryObject::DoFindClose);
  RegistMethod("exists", &TJDirectoryObject::DoExists);
  RegistMethod("changeTo", &TJDirectoryObject::DoChangeTo);
  RegistMethod("includePathDelimiter", &TJDirectoryObject::DoIncludePathDelimiter);
  RegistMethod("excludePathDelimiter", &TJDirectoryObject::DoExcludePathDelimiter);
  RegistMethod("clear", &TJDirectoryObject::DoClear);
  RegistMethod("findFiles", &TJDirectoryObject::DoFindFiles);
  RegistMethod("expandUNCFilename", &TJDirectoryObject::DoExpandUNCFilename);
}

std::string TJDirectoryObject::ExpandPath(const std::string& path) {
  std::error_code ec;
  fs::path full = fs::absolute(path.empty() ? fs::path(".") : fs::path(path), ec);
  if (ec) full = fs::path(path);
  std::string s = full.lexically_normal().string();
  // "a/b/." normalises to "a/b/"; only the root keeps its delimiter here.
  if (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

void TJDirectoryObject::SetDirName(std::string path) { dirname_ = withDelimiter(ExpandPath(path)); }

// The folder's name as the file system is given it; one it cannot be given fails as `method`.
const std::string& TJDirectoryObject::systemPath(const std::string& path, const char* method) const {
  return SystemPath(path, kDirectoryError, std::string(method) + " error: " + path);
}

TJStringsObject* TJDirectoryObject::Files() const {
  std::vector<std::string> files;
  support::ListFolderEntries(systemPath(dirname_, "files"), "*.*", 1, nullptr, files);
  return NewStringsObject(Engine(), files);
}

TJStringsObject* TJDirectoryObject::Directories() const {
  std::vector<std::string> folders;
  support::ListSubfolders(systemPath(dirname_, "directories"), folders);
  return NewStringsObject(Engine(), folders);
}

std::string TJDirectoryObject::pathArgument(TJValueList* args) const {
  return IsParam1(args) ? AsString(&(*args)[0]) : dirname_;
}

void TJDirectoryObject::DoMake(TJValueList*, TJValue& result) {
  systemPath(dirname_, "make");
  std::string message = "make error: " + dirname_;
  Guarded(kDirectoryError, message, [&] {
    std::error_code ec;
    fs::create_directories(dirname_, ec);
    if (ec || !support::FolderExists(dirname_)) ThrowError(kDirectoryError, message);
  });
  result.SetBool(true);
}

void TJDirectoryObject::DoRemove(TJValueList*, TJValue& result) {
  systemPath(dirname_, "remove");
  if (::rmdir(withoutDelimiter(dirname_).c_str()) != 0) ThrowError(kDirectoryError, "remove error: " + dirname_);
  result.SetBool(true);
}

// Renaming a folder is not offered: the name is there and does nothing.
void TJDirectoryObject::DoRenameTo(TJValueList*, TJValue& result) { result.Clear(); }

void TJDirectoryObject::findFirst(TJValueList* args, uint32_t attributes, TJValue& result) {
  std::string mask = IsParam1(args) ? AsString(&(*args)[0]) : std::string("*.*");
  systemPath(dirname_, "findFirst");
  found_ = Guarded(kDirectoryError, "findFirst error: " + dirname_,
                   [&] { return support::FindFolderEntries(dirname_, mask, attributes); });
  searching_ = true;
  next_ = 0;
  if (found_.empty()) {
    result.SetNull();
    return;
  }
  result.SetString(found_[next_++].Name);
}

template <class Accept>
void TJDirectoryObject::findNext(const char* method, Accept accept, TJValue& result) {
  if (!searching_) ThrowError(kDirectoryError, std::string(method) + " error: " + dirname_);
  while (next_ < found_.size()) {
    const support::TSearchEntry& e = found_[next_++];
    if (accept(e.Attributes)) {
      result.SetString(e.Name);
      return;
    }
  }
  result.SetNull();
}

void TJDirectoryObject::DoFindFirstFile(TJValueList* args, TJValue& result) {
  findFirst(args, support::faReadOnly | support::faHidden | support::faSysFile | support::faArchive, result);
}

void TJDirectoryObject::DoFindFirstDir(TJValueList* args, TJValue& result) {
  findFirst(args, support::faDirectory, result);
}

void TJDirectoryObject::DoFindFirst(TJValueList* args, TJValue& result) {
  findFirst(args, support::faAnyFile, result);
}

void TJDirectoryObject::DoFindNext(TJValueList*, TJValue& result) {
  findNext("findNext", [](uint32_t) { return true; }, result);
}

void TJDirectoryObject::DoFindNextFile(TJValueList*, TJValue& result) {
  findNext("findNextFile", [](uint32_t a) { return support::IsFileEntry(a); }, result);
}

void TJDirectoryObject::DoFindNextDir(TJValueList*, TJValue& result) {
  findNext("findNextDir", [](uint32_t a) { return support::IsFolderEntry(a); }, result);
}

void TJDirectoryObject::DoFindClose(TJValueList*, TJValue& result) {
  searching_ = false;
  found_.clear();
  next_ = 0;
  result.Clear();
}

void TJDirectoryObject::DoExists(TJValueList* args, TJValue& result) {
  result.SetBool(support::FolderExists(systemPath(pathArgument(args), "exists")));
}

void TJDirectoryObject::DoChangeTo(TJValueList* args, TJValue& result) {
  std::string path = pathArgument(args);
  systemPath(path, "changeTo");
  if (path.empty() || ::chdir(path.c_str()) != 0) ThrowError(kDirectoryError, "changeTo error: " + path);
  result.Clear();
}

void TJDirectoryObject::DoIncludePathDelimiter(TJValueList* args, TJValue& result) {
  result.SetString(withDelimiter(pathArgument(args)));
}

void TJDirectoryObject::DoExcludePathDelimiter(TJValueList* args, TJValue& result) {
  result.SetString(withoutDelimiter(pathArgument(args)));
}

void TJDirectoryObject::DoClear(TJValueList* args, TJValue& result) {
  bool allowUndo = IsParam1(args) ? AsBool(&(*args)[0]) : true;
  systemPath(dirname_, "clear");
  std::string message = "clear error: " + dirname_;
  Guarded(kDirectoryError, message, [&] {
    std::string real = realFolder(dirname_);
    if (real.empty() || !support::FolderExists(real)) ThrowError(kDirectoryError, message);
    // Emptying the whole file system or the user's home is never what a script means.
    const char* home = std::getenv("HOME");
    if (real == "/" || (home && *home && real == realFolder(home))) ThrowError(kDirectoryError, message);
    bool done = support::DeleteFolderItems(0, dirname_, allowUndo, false, false);
    std::error_code ec;
    bool empty = fs::is_empty(dirname_, ec) && !ec;
    if (!done || !empty) ThrowError(kDirectoryError, message);
  });
  result.SetObject(this);
}

void TJDirectoryObject::DoFindFiles(TJValueList* args, TJValue& result) {
  std::string mask = IsParam1(args) ? AsString(&(*args)[0]) : std::string("*.*");
  std::vector<std::string> files;
  support::ListFolderEntries(systemPath(dirname_, "findFiles"), mask, 1, nullptr, files);
  result.SetObject(NewStringsObject(Engine(), files));
}

void TJDirectoryObject::DoExpandUNCFilename(TJValueList* args, TJValue& result) {
  result.SetString(ExpandPath(pathArgument(args)));
}

}  // namespace host
