// Replacing a file's contents so that nothing is lost when the writer dies halfway: the new bytes go
// to a temporary file beside the target, are flushed to the disk, and the temporary file is then
// renamed over the target. Until the rename the old file stays whole; after it the new one is.
//
// A target that is a symbolic link keeps its link: the file it points to is the one replaced. A
// replaced file keeps its permission bits; a new one gets those of an ordinary new file (0666 less
// the umask). A writer killed before the rename leaves its temporary file ("<name>.~XXXXXX") behind
// beside the target, never a cut-short target.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace support {

// Writes `data` as the whole new contents of `fileName`. False, with a message naming the system's
// reason in `error` when given, when any step fails; the target is then as it was.
bool ReplaceFileContents(const std::string& fileName, std::string_view data, std::string* error = nullptr);

namespace testing {
// Called after each block written to the temporary file, with the bytes written so far. Tests use
// it to end the process in the middle of a write.
extern std::function<void(size_t written)> AfterBlockWritten;
// The size of the blocks written (so a test can make a write take several blocks).
extern size_t BlockSize;
}  // namespace testing

}  // namespace support
