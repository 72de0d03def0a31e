// File names from scripts, and reading whole files.
//
// The file system reads a name only up to its first NUL byte, so a name holding one would reach
// another file than the one named ("keep" for "keep\0x"): such a name is never given to it.
//
// The readers that take a whole file read only regular files. A folder holds no bytes, a named pipe
// can wait for ever for a writer, and a device such as /dev/zero never ends; none of them is a
// file whose contents can be taken whole.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace support {

// What a reader takes at most, without a count, from something that is no regular file: a device
// such as /dev/zero never ends, and a pipe or a terminal need not. Past it the read fails.
constexpr size_t kUnboundedReadLimit = size_t(16) << 20;

// Whether the open file `fd` is a regular file.
bool IsRegularFile(int fd);

// Whether `name` can be given to the file system as it is: it holds no NUL byte.
bool IsSystemPath(std::string_view name);

// Opens a regular file for reading (close-on-exec). -1 with errno set when it cannot: EINVAL for a
// name IsSystemPath refuses, EISDIR for a folder, ENODEV for anything else that is no regular
// file (a pipe, a device, a socket), or the system's own reason. A pipe is never waited on.
int OpenRegularFile(const std::string& fileName);

// The whole of a regular file into `contents`. False, with `contents` as it was and a message
// naming the reason in `error` when given, when the file cannot be opened with OpenRegularFile or
// cannot be read to its end.
bool ReadRegularFile(const std::string& fileName, std::string& contents, std::string* error = nullptr);

}  // namespace support
