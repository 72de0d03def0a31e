// A download target that takes the place of the old file only when the transfer is complete: the
// bytes go to a file of their own that has no name until the commit (support::TReplacingWriter),
// so a failed download, and a process killed in the middle of one, leave the old file as it was
// and nothing beside it. A name that is not a regular file (a device such as /dev/null, a pipe) is
// written directly.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "support/replace_file.h"

namespace net {

class TReplacingFile {
 public:
  // Starts the new file; ELocalError when it cannot be made.
  explicit TReplacingFile(const std::string& fileName);
  TReplacingFile(const TReplacingFile&) = delete;
  TReplacingFile& operator=(const TReplacingFile&) = delete;

  // Where the bytes go; a failed write leaves it bad, and Commit reports why.
  std::ostream& Stream() { return stream_; }
  // Puts the file in place of the old one; ELocalError on failure (the old file stays).
  void Commit();

 private:
  // Gathers the small reads of a socket (a TLS record at a time) into large writes.
  class WriterBuffer : public std::streambuf {
   public:
    explicit WriterBuffer(support::TReplacingWriter& writer);
    // Writes out what is gathered; false, with `error` set, when that fails.
    bool Flush();
    std::string error;

   protected:
    std::streamsize xsputn(const char* data, std::streamsize count) override;
    int_type overflow(int_type ch) override;
    int sync() override { return Flush() ? 0 : -1; }
    // The file grows only at its end: the position can be told, and "moved" only to where it is.
    pos_type seekoff(off_type offset, std::ios_base::seekdir way, std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

   private:
    // Where the file ends: what was written and what is gathered.
    off_type end() const { return static_cast<off_type>(writer_.Written() + static_cast<size_t>(pptr() - pbase())); }

    support::TReplacingWriter& writer_;
    std::vector<char> gathered_;
  };

  std::string fileName_;
  support::TReplacingWriter writer_;
  WriterBuffer buffer_{writer_};
  std::ostream stream_{&buffer_};
};

}  // namespace net
