// Where the running program lives.
#pragma once

#include <string>

namespace rt {

// Full path of the running executable.
std::string exePath();
// Its folder, ending with '/'.
std::string exeDir();
// The current working directory, ending with '/'.
std::string currentDir();
// Folder part of a path including the final '/', or empty text when it has none.
std::string extractFilePath(const std::string& path);
// The path with `extension` (".txt", or empty text to remove) in place of its last extension.
std::string changeFileExt(const std::string& path, const std::string& extension);

}  // namespace rt
