// File and folder routines for the File and Directory objects: file size, folder test, folder
// listings with file-attribute filters, and deletion (to the trash when asked).
//
// Attribute filters keep the system's meaning: ordinary and read-only files are always listed,
// hidden entries (names starting with ".") only when faHidden is asked for, folders only with
// faDirectory. Masks use "*" and "?" with ASCII letter case ignored; "*.*" matches every name.
// Listings come in name order.
//
// A name holding a NUL byte names nothing here (the system would cut it there and reach another
// file): no such file or folder exists, and none is listed, measured or deleted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace support {

enum : uint32_t {
  faReadOnly = 0x01,
  faHidden = 0x02,
  faSysFile = 0x04,
  faVolumeID = 0x08,
  faDirectory = 0x10,
  faArchive = 0x20,
  faAnyFile = 0x3F,
};

// Size of the first file matching the name (which may hold a mask), 0 when there is none.
int64_t FileSizeOf(const std::string& fileName);
bool FolderExists(const std::string& path);
// Neither a volume label nor a folder.
inline bool IsFileEntry(uint32_t attributes) { return (attributes & (faVolumeID | faDirectory)) == 0; }
inline bool IsFolderEntry(uint32_t attributes) { return (attributes & faDirectory) != 0; }

// Whether `name` matches the mask.
bool MatchesMask(const std::string& name, const std::string& mask);

// Lists the entries of `folder` matching `mask` ("*.*" when empty), with the attribute filter of
// `kind` (1 files, 2 folders, 3 volume labels, 4 everything, else ordinary files only): files go to
// `files`, folders other than "." and ".." to `folders` (when given), each as folder + "/" + name.
// A mask with a folder part ("sub/*.txt") lists that subfolder of `folder`.
// Both lists are cleared first; a missing folder leaves them untouched.
void ListFolderEntries(const std::string& folder, const std::string& mask, int kind,
                       std::vector<std::string>* folders, std::vector<std::string>& files);
void ListSubfolders(const std::string& folder, std::vector<std::string>& folders);

// One entry a folder search finds.
struct TSearchEntry {
  std::string Name;
  uint32_t Attributes;
};
// What a find-first search of `folder` with `mask` and the attribute filter `attributes` finds, in
// the order it finds them: "." and ".." first when folders are asked for (except at the root),
// then the entries in name order. Read-only marks entries the user may not write. A missing folder
// finds nothing. A mask with a folder part searches that subfolder.
std::vector<TSearchEntry> FindFolderEntries(const std::string& folder, const std::string& mask, uint32_t attributes);

// Asked before a delete that is not silent; false cancels the whole delete.
using ShellDeleteConfirm =
    std::function<bool(intptr_t ownerWindow, const std::vector<std::string>& paths, bool toTrash)>;
// Installs the question (the host routes it to its dialogs); with none installed deletes go ahead.
void SetShellDeleteConfirm(ShellDeleteConfirm confirm);

// Deletes the files and folders (with everything in them), or moves them to the trash with
// `allowUndo`. Empty paths are ignored; relative paths are taken from the current folder. Nothing
// happens for an empty list. True when every path went (a path holding a NUL never goes).
bool ShellDelete(intptr_t ownerWindow, const std::vector<std::string>& paths, bool allowUndo, bool silent);

// With `wholeFolder` the folder itself, else everything inside it, in one ShellDelete. Nothing
// happens when the folder does not exist or holds nothing.
bool DeleteFolderItems(intptr_t ownerWindow, const std::string& folder, bool allowUndo, bool silent,
                       bool wholeFolder);

}  // namespace support
