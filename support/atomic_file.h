// Replacing a file's whole content so that a reader, or the next run after a crash, sees either the
// old content or the new one, never a mixture: the text goes to a temporary file beside the target,
// is flushed to the disk, and the temporary file is then renamed over the target.
#pragma once

#include <functional>
#include <string>

namespace support {

// Writes `data` to `path` through "<path>.tmp<pid>" and a rename. Keeps the target's permission
// bits when it exists. Throws std::system_error (with the step that failed) when the content
// could not be written; the target is then unchanged and the temporary file removed.
void WriteFileAtomically(const std::string& path, const std::string& data);

// Reads a whole file. False when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& data);

// For tests that stop a writer part-way: called with the temporary file's name after the first
// half of the content is written (stage 1) and after all of it is flushed, before the rename
// (stage 2). Null by default.
using AtomicWriteProbe = std::function<void(int stage, const std::string& tempPath)>;
void SetAtomicWriteProbe(AtomicWriteProbe probe);

}  // namespace support
