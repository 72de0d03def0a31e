#include "support/safe_file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "support/regular_file.h"

namespace support {

const char* EFOpenError::className() const { return "EFOpenError"; }
const char* EOSError::className() const { return "EOSError"; }

namespace {

std::string openErrorText(const std::string& name) { return "ファイル " + name + " は開けません"; }

[[noreturn]] void raiseOSError(int code) {
  throw EOSError(code, "System Error.  Code: " + std::to_string(code) + ".\n" + std::strerror(code));
}

// The open(2) flags of a mode, or -1 for a mode no file can be opened with.
int openFlagsOf(uint16_t mode) {
  int flags;
  switch (mode & 3) {
    case TSafeFileStream::fmOpenRead: flags = O_RDONLY; break;
    case TSafeFileStream::fmOpenWrite: flags = O_WRONLY; break;
    case TSafeFileStream::fmOpenReadWrite: flags = O_RDWR; break;
    default: return -1;
  }
  if ((mode & 0xF0) > 0x40) return -1;
  return flags | O_CLOEXEC;
}

bool fileExists(const std::string& name) {
  struct stat st;
  return ::stat(name.c_str(), &st) == 0;
}

}  // namespace

TSafeFileStream::~TSafeFileStream() { Close(false); }

bool TSafeFileStream::Open(const std::string& fileName, uint16_t mode, bool raiseOnError) {
  std::lock_guard guard(lock_);
  closeLocked(false);
  fileName_ = fileName;
  mode_ = mode;
  // A name holding a NUL would reach the file named by what comes before it.
  int flags = IsSystemPath(fileName) ? openFlagsOf(mode) : -1;
  // Only a mode that can open a file creates a missing one: a refused mode leaves nothing behind.
  if (flags >= 0 && (mode & fmOpenWrite) && !fileExists(fileName)) {
    int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0) ::close(fd);
  }
  int fd = -1;
  if (flags >= 0) {
    // Without waiting: a pipe with nobody at the other end opens at once for reading (and reads
    // as ended) and fails at once for writing.
    do fd = ::open(fileName.c_str(), flags | O_NONBLOCK | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
  }
  if (fd >= 0) {
    // A folder opens for reading on POSIX, but it is no file to stream.
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
      ::close(fd);
      fd = -1;
    }
  }
  if (fd >= 0) {
    // Reads and writes wait as they always do.
    int status = ::fcntl(fd, F_GETFL);
    if (status >= 0) ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
  }
  if (fd < 0) {
    mode_ = 0;
    if (raiseOnError) throw EFOpenError(openErrorText(fileName));
    return false;
  }
  handle_ = fd;
  return true;
}

void TSafeFileStream::Close(bool deleteIfEmpty) {
  std::lock_guard guard(lock_);
  closeLocked(deleteIfEmpty);
}

void TSafeFileStream::closeLocked(bool deleteIfEmpty) {
  if (handle_ >= 0) {
    struct stat st;
    bool empty = ::fstat(handle_, &st) == 0 && st.st_size == 0;
    ::close(handle_);
    if (deleteIfEmpty && empty) ::unlink(fileName_.c_str());
  }
  handle_ = -1;
  mode_ = 0;
}

bool TSafeFileStream::IsOpen() const {
  std::lock_guard guard(lock_);
  return handle_ >= 0;
}

uint16_t TSafeFileStream::Mode() const {
  std::lock_guard guard(lock_);
  return mode_;
}

int TSafeFileStream::Handle() const {
  std::lock_guard guard(lock_);
  return handle_;
}

void TSafeFileStream::Flush() {
  std::lock_guard guard(lock_);
  if (handle_ >= 0) ::fsync(handle_);
}

void TSafeFileStream::requireOpen() const {
  if (handle_ < 0) throw EFOpenError(openErrorText("TSafeFileStream"));
}

int64_t TSafeFileStream::Read(void* buffer, int64_t count) {
  std::lock_guard guard(lock_);
  requireOpen();
  auto* p = static_cast<char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::read(handle_, p + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TSafeFileStream::ReadSome(void* buffer, int64_t count) {
  std::lock_guard guard(lock_);
  requireOpen();
  if (count <= 0) return 0;
  for (;;) {
    ssize_t n = ::read(handle_, buffer, static_cast<size_t>(count));
    if (n < 0 && errno == EINTR) continue;
    return n < 0 ? 0 : n;
  }
}

bool TSafeFileStream::IsRegularFile() const {
  std::lock_guard guard(lock_);
  return support::IsRegularFile(handle_);
}

int64_t TSafeFileStream::Write(const void* buffer, int64_t count) {
  std::lock_guard guard(lock_);
  requireOpen();
  const auto* p = static_cast<const char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::write(handle_, p + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TSafeFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  std::lock_guard guard(lock_);
  requireOpen();
  int whence = origin == soFromCurrent ? SEEK_CUR : origin == soFromEnd ? SEEK_END : SEEK_SET;
  off_t at = ::lseek(handle_, static_cast<off_t>(offset), whence);
  return at < 0 ? -1 : static_cast<int64_t>(at);
}

void TSafeFileStream::SetSize(int64_t newSize) {
  std::lock_guard guard(lock_);
  if (Seek(newSize, soFromBeginning) < 0) raiseOSError(EINVAL);
  if (::ftruncate(handle_, static_cast<off_t>(newSize)) != 0) raiseOSError(errno);
}

int64_t TSafeFileStream::Size() {
  std::lock_guard guard(lock_);
  int64_t position = Seek(0, soFromCurrent);
  int64_t size = Seek(0, soFromEnd);
  Seek(position, soFromBeginning);
  return size;
}

}  // namespace support
