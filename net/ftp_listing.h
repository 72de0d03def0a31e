// Directory listings of FTP servers: the entry record, the list that holds a parsed listing, and
// the parsers for the Unix form ("-rw-r--r-- 1 user group 1234 Jan  5 12:34 a.txt") and the DOS
// forms ("01-05-24  12:34PM  <DIR>  pub", and the older "name ext size date time").
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "support/date_time.h"

namespace net {

using support::TDateTime;

constexpr uint8_t kFtpNone = 0;
constexpr uint8_t kFtpDirectory = 1;
constexpr uint8_t kFtpFile = 2;
constexpr uint8_t kFtpLink = 3;

struct TFTPFileProperty {
  uint8_t FileType = kFtpNone;
  int64_t Size = 0;
  std::string Name;
  TDateTime Modified = support::Now();
  // owner read, write, execute; group read, write, execute; others read, write, execute
  bool Permissions[9] = {};
  std::string Line;  // the listing line the entry came from
};

// The permission flags as a decimal number whose digits read like the octal mode (rwxr-xr-x: 755).
int PermissionToNumber(const TFTPFileProperty& property);

// The parsers answer false for a line that is no entry. `now` is the moment dates without a year
// are placed before (a date later than it is taken from the year before).
bool ParseUnixLine(const std::string& line, TFTPFileProperty& property, TDateTime now);
bool ParseDosLine(const std::string& line, TFTPFileProperty& property, TDateTime now);
// Recognises the form by the line's first character ("total" lines are skipped; a line of one word
// is a file of that name).
bool ParseListLine(const std::string& line, TFTPFileProperty& property, TDateTime now);

class TFTPDirectoryList {
 public:
  virtual ~TFTPDirectoryList() = default;
  // 0 recognise each line, 1 Unix only, 2 DOS only.
  uint8_t ListMode = 0;

  // Parses the line and appends the entry; false when the line is no entry.
  virtual bool Add(const std::string& line);
  virtual void Assign(const TFTPDirectoryList& other);
  // Appends a copy; the name now finds this entry.
  void AddProperty(const TFTPFileProperty& property);
  void Clear();
  void Delete(int index);
  const TFTPFileProperty& GetItem(int index) const { return entries_.at(static_cast<size_t>(index)); }
  int Count() const { return static_cast<int>(entries_.size()); }
  bool HasName(const std::string& name) const { return index_.count(name) != 0; }

 private:
  void Reindex();
  std::vector<TFTPFileProperty> entries_;
  std::unordered_map<std::string, size_t> index_;
};

}  // namespace net
