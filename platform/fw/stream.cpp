#include "platform/fw/stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/fw/errors.h"

namespace fw {

void TStream::SetSize(int64_t) {}

int64_t TStream::Size() {
  int64_t pos = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw EReadError(msg::ReadError);
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw EWriteError(msg::WriteError);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  int64_t done = 0;
  char buf[65536];
  while (done < count) {
    int64_t n = std::min<int64_t>(sizeof buf, count - done);
    source.ReadBuffer(buf, n);
    WriteBuffer(buf, n);
    done += n;
  }
  return done;
}

std::string TStream::ReadRest() {
  std::string out;
  char buf[65536];
  for (;;) {
    int64_t n = Read(buf, sizeof buf);
    if (n <= 0) break;
    out.append(buf, size_t(n));
  }
  return out;
}

// --- handle and file streams ---

int64_t THandleStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::read(handle_, static_cast<char*>(buffer) + done, size_t(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t THandleStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::write(handle_, static_cast<const char*>(buffer) + done, size_t(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
  int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(handle_, off_t(offset), whence);
  return r < 0 ? -1 : int64_t(r);
}

void THandleStream::SetSize(int64_t size) {
  int64_t pos = Position();
  if (::ftruncate(handle_, off_t(size)) != 0) throw EWriteError(msg::WriteError);
  if (pos > size) Seek(size, soBeginning);
}

// A name holding a NUL opens nothing: the system would cut it there and reach another file. A
// pipe is opened without waiting for the other end (none reads as ended, or fails to write). What
// is opened only for reading must be a regular file: the readers take files whole, and a device
// such as /dev/zero never ends.
static int openFile(const std::string& name, uint16_t mode) {
  if (name.find('\0') != std::string::npos) {
    errno = EINVAL;
    return -1;
  }
  int flags;
  if (mode == fmCreate) {
    flags = O_RDWR | O_CREAT | O_TRUNC;
  } else {
    int access = mode & 3;
    flags = access == fmOpenWrite ? O_WRONLY : access == fmOpenReadWrite ? O_RDWR : O_RDONLY;
  }
  int fd = ::open(name.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd >= 0) {
    struct stat st;
    bool readOnly = (flags & O_ACCMODE) == O_RDONLY;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || (readOnly && !S_ISREG(st.st_mode))) {
      ::close(fd);
      return -1;
    }
    int status = ::fcntl(fd, F_GETFL);
    if (status >= 0) ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
  }
  return fd;
}

TFileStream::TFileStream(const std::string& fileName, uint16_t mode)
    : THandleStream(openFile(fileName, mode)), fileName_(fileName) {
  if (handle_ < 0) {
    if (mode == fmCreate) raise<EFCreateError>(msg::FCreateError, {fileName});
    raise<EFOpenError>(msg::FOpenError, {fileName});
  }
}

TFileStream::~TFileStream() {
  if (handle_ >= 0) ::close(handle_);
}

// --- memory stream ---

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= int64_t(data_.size())) return 0;
  int64_t n = std::min<int64_t>(count, int64_t(data_.size()) - position_);
  std::memcpy(buffer, data_.data() + position_, size_t(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (position_ + count > int64_t(data_.size())) data_.resize(size_t(position_ + count));
  std::memcpy(data_.data() + position_, buffer, size_t(count));
  position_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : int64_t(data_.size());
  int64_t p = base + offset;
  if (p < 0) p = 0;
  position_ = p;
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  data_.resize(size_t(std::max<int64_t>(0, size)));
  if (position_ > size) position_ = size;
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  int64_t n = stream.Size();
  data_.resize(size_t(n));
  position_ = 0;
  stream.ReadBuffer(data_.data(), n);
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(f);
}

void TMemoryStream::SaveToStream(TStream& stream) { stream.WriteBuffer(data_.data(), int64_t(data_.size())); }

void TMemoryStream::SaveToFile(const std::string& fileName) {
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
}

// --- string stream ---

int64_t TStringStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= int64_t(data_.size())) return 0;
  int64_t n = std::min<int64_t>(count, int64_t(data_.size()) - position_);
  std::memcpy(buffer, data_.data() + position_, size_t(n));
  position_ += n;
  return n;
}

int64_t TStringStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (position_ + count > int64_t(data_.size())) data_.resize(size_t(position_ + count));
  std::memcpy(data_.data() + position_, buffer, size_t(count));
  position_ += count;
  return count;
}

int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : int64_t(data_.size());
  int64_t p = base + offset;
  if (p < 0) p = 0;
  position_ = p;
  return position_;
}

void TStringStream::SetSize(int64_t size) {
  data_.resize(size_t(std::max<int64_t>(0, size)));
  if (position_ > size) position_ = size;
}

}  // namespace fw
