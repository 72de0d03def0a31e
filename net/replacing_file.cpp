#include "net/replacing_file.h"

#include "net/errors.h"

namespace net {

// A download is not made to wait for the disk: the file is whole for every reader once it has its
// name, as it is for a program such as curl; only a crash of the whole system may lose it then.
TReplacingFile::TReplacingFile(const std::string& fileName) : fileName_(fileName) {
  std::string error;
  if (!writer_.Open(fileName, &error, false)) throw ELocalError("cannot create file " + fileName + ": " + error);
}

std::streamsize TReplacingFile::WriterBuffer::xsputn(const char* data, std::streamsize count) {
  if (count <= 0 || !error.empty()) return 0;
  return writer_.Write(data, static_cast<size_t>(count), &error) ? count : 0;
}

TReplacingFile::WriterBuffer::int_type TReplacingFile::WriterBuffer::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  char c = traits_type::to_char_type(ch);
  return xsputn(&c, 1) == 1 ? ch : traits_type::eof();
}

TReplacingFile::WriterBuffer::pos_type TReplacingFile::WriterBuffer::seekoff(off_type offset,
                                                                            std::ios_base::seekdir way,
                                                                            std::ios_base::openmode which) {
  auto end = static_cast<off_type>(writer_.Written());
  off_type target = way == std::ios_base::beg ? offset : end + offset;
  return seekpos(pos_type(target), which);
}

TReplacingFile::WriterBuffer::pos_type TReplacingFile::WriterBuffer::seekpos(pos_type position,
                                                                            std::ios_base::openmode which) {
  if (!(which & std::ios_base::out) || off_type(position) != static_cast<off_type>(writer_.Written()))
    return pos_type(off_type(-1));
  return position;
}

void TReplacingFile::Commit() {
  std::string error = buffer_.error;
  if (error.empty() && !stream_) error = "write failed";
  if (error.empty() && writer_.Commit(&error)) return;
  writer_.Abandon();
  throw ELocalError("cannot write file " + fileName_ + ": " + error);
}

}  // namespace net
