#include "net/ftp_listing.h"

#include <cctype>
#include <string_view>

#include "net/http_date.h"
#include "platform/rt/numtext.h"

namespace net {

namespace {

struct Field {
  std::string_view text;
  size_t end;  // offset in the line just after the field
};

std::vector<Field> SplitFields(std::string_view line) {
  std::vector<Field> fields;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    size_t start = i;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    if (i > start) fields.push_back({line.substr(start, i - start), i});
  }
  return fields;
}

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

bool ToInt64(std::string_view s, int64_t& value) {
  if (!AllDigits(s) || s.size() > 18) return false;
  value = 0;
  for (char c : s) value = value * 10 + (c - '0');
  return true;
}

// 1..12 for an English month name (short or long, any case), 0 for anything else.
int MonthNumber(std::string_view name) {
  for (int m = 0; m < 12; ++m) {
    std::string_view shortName = ShortMonthNames[m];
    std::string_view longName = LongMonthNames[m];
    auto same = [&](std::string_view other) {
      if (other.size() != name.size()) return false;
      for (size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(other[i])))
          return false;
      return true;
    };
    if (same(shortName) || same(longName)) return m + 1;
  }
  return 0;
}

// A date later than `now` lies in the year before.
TDateTime NotInFuture(int year, int month, int day, TDateTime time, TDateTime now, bool& ok) {
  TDateTime date;
  ok = support::TryEncodeDate(year, month, day, date);
  if (!ok) return 0;
  TDateTime result = date + time;
  if (result > now) ok = support::TryEncodeDate(year - 1, month, day, date), result = date + time;
  return result;
}

std::string_view RestAfter(std::string_view line, size_t offset) {
  while (offset < line.size() && (line[offset] == ' ' || line[offset] == '\t')) ++offset;
  std::string_view rest = line.substr(offset);
  while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n')) rest.remove_suffix(1);
  return rest;
}

void ReadPermissions(std::string_view mode, TFTPFileProperty& property) {
  static const char kLetters[] = "rwxrwxrwx";
  for (size_t i = 0; i < 9; ++i) {
    char c = i + 1 < mode.size() ? mode[i + 1] : '-';
    // x may be written s or t when a set-id or sticky bit goes with it
    property.Permissions[i] = c == kLetters[i] || (kLetters[i] == 'x' && (c == 's' || c == 't'));
  }
}

}  // namespace

int PermissionToNumber(const TFTPFileProperty& p) {
  static const int kValues[9] = {400, 200, 100, 40, 20, 10, 4, 2, 1};
  int n = 0;
  for (int i = 0; i < 9; ++i)
    if (p.Permissions[i]) n += kValues[i];
  return n;
}

// The date is found as month, day and time-or-year after the mode and the link count; the size is
// the field before the month, and the name is everything after the date, blanks included (a link
// is named without its " -> target").
bool ParseUnixLine(const std::string& text, TFTPFileProperty& property, TDateTime now) {
  std::string_view line = text;
  std::vector<Field> f = SplitFields(line);
  if (f.size() < 6 || f[0].text.empty()) return false;
  uint8_t type;
  switch (f[0].text[0]) {
    case '-': type = kFtpFile; break;
    case 'd': type = kFtpDirectory; break;
    case 'l': type = kFtpLink; break;
    default: return false;
  }
  for (size_t m = 3; m + 3 < f.size(); ++m) {
    int month = MonthNumber(f[m].text);
    int64_t day;
    if (month == 0 || !ToInt64(f[m + 1].text, day) || day < 1 || day > 31) continue;
    std::string_view when = f[m + 2].text;
    int year, y, mo, d;
    support::DecodeDate(now, y, mo, d);
    TDateTime time = 0;
    if (when.size() == 5 && when[2] == ':' && AllDigits(when.substr(0, 2)) && AllDigits(when.substr(3, 2))) {
      year = y;
      if (!support::TryEncodeTime((when[0] - '0') * 10 + (when[1] - '0'), (when[3] - '0') * 10 + (when[4] - '0'), 0,
                                  0, time))
        return false;
    } else if (when.size() == 4 && AllDigits(when)) {
      year = (when[0] - '0') * 1000 + (when[1] - '0') * 100 + (when[2] - '0') * 10 + (when[3] - '0');
    } else {
      continue;
    }
    int64_t size;
    if (!ToInt64(f[m - 1].text, size)) return false;
    std::string_view name = RestAfter(line, f[m + 2].end);
    if (type == kFtpLink) {
      size_t arrow = name.find(" -> ");
      if (arrow != std::string_view::npos) name = name.substr(0, arrow);
    }
    if (name.empty()) return false;
    bool ok;
    TDateTime modified;
    if (when.size() == 5) {
      modified = NotInFuture(year, month, static_cast<int>(day), time, now, ok);
    } else {
      ok = support::TryEncodeDate(year, month, static_cast<int>(day), modified);
    }
    if (!ok) return false;
    property = TFTPFileProperty{};
    property.FileType = type;
    property.Size = size;
    property.Name = std::string(name);
    property.Modified = modified;
    ReadPermissions(f[0].text, property);
    return true;
  }
  return false;
}

namespace {

// mm-dd-yy or mm-dd-yyyy (also with "/"); a two-digit year lies within the 50 years before now's.
bool ReadDosDate(std::string_view s, TDateTime now, TDateTime& date) {
  if (s.size() != 8 && s.size() != 10) return false;
  char sep = s[2];
  if ((sep != '-' && sep != '/') || s[5] != sep) return false;
  int64_t month, day, year;
  if (!ToInt64(s.substr(0, 2), month) || !ToInt64(s.substr(3, 2), day) || !ToInt64(s.substr(6), year)) return false;
  if (s.size() == 8) {
    int y, m, d;
    support::DecodeDate(now, y, m, d);
    int century = (y - 50) / 100 * 100;
    year += century;
    if (year < y - 50) year += 100;
  }
  return support::TryEncodeDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day), date);
}

// hh:mm with an optional AM/PM right after it.
bool ReadDosTime(std::string_view s, TDateTime& time) {
  if (s.size() < 5 || s[2] != ':' || !AllDigits(s.substr(0, 2)) || !AllDigits(s.substr(3, 2))) return false;
  int hour = (s[0] - '0') * 10 + (s[1] - '0');
  int minute = (s[3] - '0') * 10 + (s[4] - '0');
  std::string_view marker = s.substr(5);
  if (!marker.empty()) {
    bool pm = marker == "PM" || marker == "pm" || marker == "P" || marker == "p";
    bool am = marker == "AM" || marker == "am" || marker == "A" || marker == "a";
    if ((!pm && !am) || hour < 1 || hour > 12) return false;
    hour = hour % 12 + (pm ? 12 : 0);
  }
  return support::TryEncodeTime(hour, minute, 0, 0, time);
}

bool ReadSize(std::string_view s, int64_t& size) {
  std::string digits;
  for (char c : s)
    if (c != ',') digits += c;
  return ToInt64(digits, size);
}

}  // namespace

// Three layouts: date time <DIR>|size name (the usual one), and the older
// name size date time / name ext size date time.
bool ParseDosLine(const std::string& text, TFTPFileProperty& property, TDateTime now) {
  std::string_view line = text;
  std::vector<Field> f = SplitFields(line);
  if (f.size() < 3) return false;
  TFTPFileProperty p;
  p.FileType = line.find("<DIR>") != std::string_view::npos ? kFtpDirectory : kFtpFile;
  TDateTime date, time;
  if (f.size() >= 4 && ReadDosDate(f[0].text, now, date) && ReadDosTime(f[1].text, time)) {
    if (f[2].text != "<DIR>" && !ReadSize(f[2].text, p.Size)) return false;
    std::string_view name = RestAfter(line, f[2].end);
    if (name.empty()) return false;
    p.Name = std::string(name);
    p.Modified = date + time;
  } else if (f.size() >= 4 && (f[1].text == "<DIR>" || ReadSize(f[1].text, p.Size)) && ReadDosDate(f[2].text, now, date) &&
             ReadDosTime(f[3].text, time)) {
    p.Name = std::string(f[0].text);
    p.Modified = date + time;
  } else if (f.size() >= 5 && ReadSize(f[2].text, p.Size)) {
    p.Name = std::string(f[0].text) + "." + std::string(f[1].text);
    p.Modified = ReadDosDate(f[3].text, now, date) && ReadDosTime(f[4].text, time) ? date + time : now;
  } else if (f.size() >= 5 && f[2].text == "<DIR>") {
    p.Name = std::string(f[0].text) + (f[1].text == "<DIR>" ? "" : "." + std::string(f[1].text));
    p.Modified = ReadDosDate(f[3].text, now, date) && ReadDosTime(f[4].text, time) ? date + time : now;
  } else {
    return false;
  }
  if (p.Modified > now) {
    int y, m, d;
    support::DecodeDate(p.Modified, y, m, d);
    TDateTime earlier;
    if (support::TryEncodeDate(y - 1, m, d, earlier)) p.Modified = earlier + (p.Modified - static_cast<int64_t>(p.Modified));
  }
  property = p;
  return true;
}

bool ParseListLine(const std::string& text, TFTPFileProperty& property, TDateTime now) {
  std::string line = text;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  std::vector<Field> f = SplitFields(line);
  if (f.empty()) return false;
  std::string first5(line.substr(0, 5));
  for (char& c : first5) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (first5 == "total") return false;
  if (f.size() == 1) {
    property = TFTPFileProperty{};
    property.FileType = kFtpFile;
    property.Name = std::string(f[0].text);
    return true;
  }
  char c = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
  if (c == '-' || c == 'd' || c == 'l' || c == 's') return ParseUnixLine(line, property, now);
  if (c >= '0' && c <= '9') return ParseDosLine(line, property, now);
  return false;
}

bool TFTPDirectoryList::Add(const std::string& line) {
  TFTPFileProperty p;
  TDateTime now = support::Now();
  bool ok = ListMode == 1 ? ParseUnixLine(line, p, now) : ListMode == 2 ? ParseDosLine(line, p, now)
                                                                          : ParseListLine(line, p, now);
  if (!ok) return false;
  p.Line = line;
  AddProperty(p);
  return true;
}

void TFTPDirectoryList::Assign(const TFTPDirectoryList& other) {
  ListMode = other.ListMode;
  entries_ = other.entries_;
  Reindex();
}

void TFTPDirectoryList::AddProperty(const TFTPFileProperty& property) {
  entries_.push_back(property);
  index_[property.Name] = entries_.size() - 1;
}

void TFTPDirectoryList::Clear() {
  entries_.clear();
  index_.clear();
}

void TFTPDirectoryList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  entries_.erase(entries_.begin() + index);
  Reindex();
}

void TFTPDirectoryList::Reindex() {
  index_.clear();
  for (size_t i = 0; i < entries_.size(); ++i) index_[entries_[i].Name] = i;
}

}  // namespace net
