#include "net/replacing_file.h"

#include <cstring>

#include "net/errors.h"

namespace net {

// A download is not made to wait for the disk: the file is whole for every reader once it has its
// name, as it is for a program such as curl; only a crash of the whole system may lose it then.
TReplacingFile::TReplacingFile(const std::string& fileName) : fileName_(fileName) {
  std::string error;
  if (!writer_.Open(fileName, &error, false)) throw ELocalError("cannot create file " + fileName + ": " + error);
}

namespace {

constexpr size_t kGatherSize = 256 * 1024;

}  // namespace

TReplacingFile::WriterBuffer::WriterBuffer(support::TReplacingWriter& writer) : writer_(writer), gathered_(kGatherSize) {
  setp(gathered_.data(), gathered_.data() + gathered_.size());
}

bool TReplacingFile::WriterBuffer::Flush() {
  size_t count = static_cast<size_t>(pptr() - pbase());
  setp(gathered_.data(), gathered_.data() + gathered_.size());
  if (!error.empty()) return false;
  return count == 0 || writer_.Write(gathered_.data(), count, &error);
}

std::streamsize TReplacingFile::WriterBuffer::xsputn(const char* data, std::streamsize count) {
  if (count <= 0) return 0;
  auto size = static_cast<size_t>(count);
  if (size > static_cast<size_t>(epptr() - pptr())) {
    if (!Flush()) return 0;
    if (size >= gathered_.size()) return writer_.Write(data, size, &error) ? count : 0;
  }
  std::memcpy(pptr(), data, size);
  pbump(static_cast<int>(size));
  return count;
}

TReplacingFile::WriterBuffer::int_type TReplacingFile::WriterBuffer::overflow(int_type ch) {
  if (!Flush()) return traits_type::eof();
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  *pptr() = traits_type::to_char_type(ch);
  pbump(1);
  return ch;
}

TReplacingFile::WriterBuffer::pos_type TReplacingFile::WriterBuffer::seekoff(off_type offset,
                                                                            std::ios_base::seekdir way,
                                                                            std::ios_base::openmode which) {
  off_type target = way == std::ios_base::beg ? offset : end() + offset;
  return seekpos(pos_type(target), which);
}

TReplacingFile::WriterBuffer::pos_type TReplacingFile::WriterBuffer::seekpos(pos_type position,
                                                                            std::ios_base::openmode which) {
  if (!(which & std::ios_base::out) || off_type(position) != end()) return pos_type(off_type(-1));
  return position;
}

void TReplacingFile::Commit() {
  buffer_.Flush();
  std::string error = buffer_.error;
  if (error.empty() && !stream_) error = "write failed";
  if (error.empty() && writer_.Commit(&error)) return;
  writer_.Abandon();
  throw ELocalError("cannot write file " + fileName_ + ": " + error);
}

}  // namespace net
