// Folder routines the standard and host objects share: whether a path names a folder, and the
// creation of a folder together with every missing folder above it.
#pragma once

#include <string_view>

namespace stdlib {

// The path exists and is a folder.
bool IsDirectory(std::string_view path);

// Creates the folder and any missing parent folders; true when the folder exists afterwards
// (also when it existed before). A trailing "/" is ignored; a relative path is taken from the
// current folder. An empty path raises rt::Exception "Cannot Create Dir".
bool CreateDirectoryPath(std::string_view path);

}  // namespace stdlib
