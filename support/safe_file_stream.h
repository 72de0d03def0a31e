// A file stream shared between threads: every read, write and seek of one stream object runs under
// its lock, and the object can be closed and opened again on another file. The script File object
// keeps its file in one of these.
//
// Opening never truncates. A mode with the write bit (fmOpenWrite) creates a missing file first;
// other modes fail on a missing file. The access part of the mode is 0 read, 1 write or 2 both;
// sharing bits (0x10..0x40) are kept in Mode but not enforced, as POSIX files have no share modes.
// Opening never waits either: a named pipe without a writer opens for reading at once and reads as
// ended; one without a reader fails to open for writing.
//
// Open, Close, Flush and SetSize take the lock too, so a Close in one thread can never pull the
// descriptor from under a read in another (a closed descriptor number may already belong to some
// other file by the time the read runs).
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "platform/rt/exception.h"

namespace support {

// A file that cannot be opened, or a stream operation with no file open.
class EFOpenError : public rt::Exception {
 public:
  using Exception::Exception;
  const char* className() const override;
};

// A failed system call, with the system's error code and text.
class EOSError : public rt::Exception {
 public:
  EOSError(int code, const std::string& message) : Exception(message), code_(code) {}
  int ErrorCode() const { return code_; }
  const char* className() const override;

 private:
  int code_;
};

enum TSeekOrigin : uint16_t { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

class TSafeFileStream {
 public:
  static constexpr uint16_t fmOpenRead = 0x0000;
  static constexpr uint16_t fmOpenWrite = 0x0001;
  static constexpr uint16_t fmOpenReadWrite = 0x0002;
  static constexpr uint16_t fmShareDenyWrite = 0x0020;

  TSafeFileStream() = default;
  ~TSafeFileStream();
  TSafeFileStream(const TSafeFileStream&) = delete;
  TSafeFileStream& operator=(const TSafeFileStream&) = delete;

  // Closes any open file first. False (or EFOpenError "ファイル <name> は開けません" when
  // raiseOnError) when the file cannot be opened in that mode.
  bool Open(const std::string& fileName, uint16_t mode, bool raiseOnError);
  // With deleteIfEmpty a file left empty is deleted. Nothing happens when no file is open.
  void Close(bool deleteIfEmpty);
  bool IsOpen() const;
  // Hands written data to the disk.
  void Flush();

  // Without an open file these raise EFOpenError naming the class. A failed read or write
  // answers 0; a failed seek answers -1 and leaves the position.
  int64_t Read(void* buffer, int64_t count);
  // One read: what is there now, up to `count` bytes, waiting only while there is nothing (a pipe
  // hands over what its writer has written so far); 0 at the end.
  int64_t ReadSome(void* buffer, int64_t count);
  int64_t Write(const void* buffer, int64_t count);
  int64_t Seek(int64_t offset, TSeekOrigin origin);
  // Cuts or extends the file and leaves the position at its new end; a failure raises EOSError.
  void SetSize(int64_t newSize);

  int64_t Position() { return Seek(0, soFromCurrent); }
  void SetPosition(int64_t position) { Seek(position, soFromBeginning); }
  // The file's size; the position is left where it was.
  int64_t Size();

  const std::string& FileName() const { return fileName_; }
  // Whether the open file is a regular file (not a pipe, a device or a socket).
  bool IsRegularFile() const;
  uint16_t Mode() const;
  int Handle() const;

 private:
  void requireOpen() const;
  void closeLocked(bool deleteIfEmpty);

  std::string fileName_;
  mutable std::recursive_mutex lock_;
  uint16_t mode_ = 0;
  int handle_ = -1;
};

}  // namespace support
