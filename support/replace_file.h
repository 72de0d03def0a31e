// Replacing a file's contents so that nothing is lost when the writer dies halfway: the new bytes go
// to a file of their own in the target's folder and take the target's name only once they are all
// written. Until then the old file stays whole; after it the new one is.
//
// The new file is unnamed while it is written (O_TMPFILE), so a writer killed part way leaves
// nothing behind; it gets a name only at the commit. A file system without unnamed files gets a
// named temporary file ("<name>.~XXXXXX") beside the target instead, removed on every failure.
//
// A target that is a symbolic link keeps its link: the file it points to is the one replaced. A
// replaced file keeps its permission bits; a new one gets those of an ordinary new file (0666 less
// the umask). A target that exists and is neither a regular file nor a folder (a device such as
// /dev/null, a pipe) is written directly, as there is nothing to replace; a pipe without a reader
// is an error, never a wait.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace support {

class TReplacingWriter {
 public:
  TReplacingWriter() = default;
  // Abandons a file that was not committed: the target stays as it was.
  ~TReplacingWriter();
  TReplacingWriter(const TReplacingWriter&) = delete;
  TReplacingWriter& operator=(const TReplacingWriter&) = delete;

  // Starts the new contents of `fileName`. False, with a message naming the system's reason in
  // `error` when given, when the file cannot be made (a folder, a missing folder, no rights...).
  // With `sync` the commit waits until the bytes are on the disk.
  bool Open(const std::string& fileName, std::string* error = nullptr, bool sync = true);
  // Appends bytes to the new contents.
  bool Write(const void* data, size_t size, std::string* error = nullptr);
  bool Write(std::string_view data, std::string* error = nullptr) { return Write(data.data(), data.size(), error); }
  // Appends everything `source` (an open file) holds from its current position to its end, letting
  // the kernel copy where it can.
  bool CopyFrom(int source, std::string* error = nullptr);
  // Puts the new contents in place of the target. False (the target as it was) when any step fails.
  bool Commit(std::string* error = nullptr);
  // Drops the new contents; the target stays as it was.
  void Abandon();

  bool IsOpen() const { return fd_ >= 0; }
  // True when the target is a device or pipe written in place.
  bool Direct() const { return direct_; }
  // The file the commit replaces (a link followed to its end).
  const std::string& Target() const { return target_; }
  size_t Written() const { return written_; }

 private:
  bool linkInPlace(std::string* error);

  int fd_ = -1;
  bool direct_ = false;
  bool sync_ = true;
  bool unnamed_ = false;  // an O_TMPFILE file: no name until the commit
  std::string target_;
  std::string temp_;  // the named temporary file's name, when there is one
  size_t written_ = 0;
};

// Writes `data` as the whole new contents of `fileName`. False, with a message naming the system's
// reason in `error` when given, when any step fails; the target is then as it was.
bool ReplaceFileContents(const std::string& fileName, std::string_view data, std::string* error = nullptr);

namespace testing {
// Called after each block written to a new file, with the bytes written so far. Tests use it to
// end the process in the middle of a write.
extern std::function<void(size_t written)> AfterBlockWritten;
// The size of the blocks written (so a test can make a write take several blocks).
extern size_t BlockSize;
// When set, new files are named temporary files, as on a file system without unnamed files.
extern bool NoUnnamedFiles;
}  // namespace testing

}  // namespace support
