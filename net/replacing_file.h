// A download target that is written beside its final name and put in place only when the transfer
// is complete: a failed or interrupted download leaves the old file as it was. A name that is not
// a regular file (a device such as /dev/null, a pipe) is written directly.
#pragma once

#include <fstream>
#include <string>

namespace net {

class TReplacingFile {
 public:
  // Opens the temporary file; ELocalError when it cannot be made.
  explicit TReplacingFile(const std::string& fileName);
  ~TReplacingFile();
  TReplacingFile(const TReplacingFile&) = delete;
  TReplacingFile& operator=(const TReplacingFile&) = delete;

  std::ofstream& Stream() { return stream_; }
  // Writes everything out and puts the file in place of the old one; ELocalError on failure.
  void Commit();

 private:
  std::string fileName_;
  std::string tempName_;  // empty when writing directly
  std::ofstream stream_;
  bool committed_ = false;
};

}  // namespace net
