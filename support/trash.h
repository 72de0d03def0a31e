// The freedesktop.org trash of the user: $XDG_DATA_HOME/Trash (~/.local/share/Trash by default).
#pragma once

#include <string>

namespace support {

// Moves the file or folder (an absolute path) into the trash with its restore information. A path
// on another file system is copied into the trash and then removed. False when it could not go.
bool MoveToTrash(const std::string& path);

// The trash folder (holding "files" and "info").
std::string TrashFolder();

}  // namespace support
