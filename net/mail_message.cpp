#include "net/mail_message.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>

#include "net/errors.h"
#include "net/http_date.h"
#include "net/text_routines.h"
#include "platform/rt/utf8.h"
#include "support/base64.h"
#include "support/regular_file.h"

namespace net {

namespace {

constexpr int kBoundaryLength = 42;
constexpr size_t kBase64LineLength = 76;
// Multipart parts inside multipart parts: deeper nesting is taken as plain text.
constexpr int kMaxNesting = 8;
// Tries for a free attachment name before giving up on that attachment (with an error).
constexpr int kMaxNameTries = 100000;
// The longest file name a folder takes (NAME_MAX), less the room a number may take in it ("_" and
// ten digits): a longer name is shortened to fit.
constexpr size_t kMaxFileName = 255;
constexpr size_t kNumberRoom = 11;
// An extension longer than this is no extension worth keeping whole.
constexpr size_t kMaxExtension = 64;

std::string Trim(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool ContainsIgnoreCase(const std::string& text, const std::string& lowerNeedle) {
  return rt::lowerCase(text).find(lowerNeedle) != std::string::npos;
}

// Header lines into the map: "Name: value", trimmed on both sides; a later field of the same name
// wins. A line that starts with a blank continues the field before it (a folded line); any other
// line without ":" is no field.
void ReadFields(const std::vector<std::string>& lines, size_t begin, size_t end, support::TStringHashTable& fields) {
  std::string name, value;
  bool open = false;
  auto store = [&] {
    if (open) fields.Put(name, Trim(value));
    open = false;
  };
  for (size_t i = begin; i < end; ++i) {
    const std::string& line = lines[i];
    if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
      if (open) value += line;
      continue;
    }
    store();
    size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    name = Trim(line.substr(0, colon));
    if (name.empty()) continue;
    value = line.substr(colon + 1);
    open = true;
  }
  store();
}

// The first `size` bytes of a text, cut before a character that would be split.
std::string Utf8Prefix(const std::string& text, size_t size) {
  if (size >= text.size()) return text;
  while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) --size;
  return text.substr(0, size);
}

// A name too long for a file is shortened, keeping its extension, so that it and its numbered
// forms all fit.
std::string FitFileName(const std::string& name) {
  const size_t limit = kMaxFileName - kNumberRoom;
  if (name.size() <= limit) return name;
  size_t dot = name.rfind('.');
  std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
  if (dot == 0 || extension.size() > kMaxExtension) extension.clear();
  return Utf8Prefix(name.substr(0, name.size() - extension.size()), limit - extension.size()) + extension;
}

// Creates a file exclusively under `folder`: the name itself, else the next numbered names
// (name_000, name_001 ... name_999, name_1000 ...). `next` keeps, for each name, the numbered name
// to try after the last one taken, so that many attachments of one name take one try each.
// Answers the path, or empty with the reason in `error`.
std::string CreateFreeFile(const std::string& folder, const std::string& name,
                           std::map<std::string, std::string>& next, int& fd, std::string& error) {
  auto known = next.find(name);
  std::string candidate = known == next.end() ? name : known->second;
  for (int tries = 0; tries < kMaxNameTries; ++tries) {
    std::string path = folder + candidate;
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      next[name] = NumberedFileName(candidate);
      return path;
    }
    if (errno != EEXIST) {
      error = std::strerror(errno);
      return {};
    }
    candidate = NumberedFileName(candidate);
  }
  fd = -1;
  error = "no free name after " + std::to_string(kMaxNameTries) + " tries";
  return {};
}

bool WriteAll(int fd, const std::string& data) {
  for (size_t done = 0; done < data.size();) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// A header value for one line: CR and LF become blanks.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

bool FitHeaderName(const std::string& name) {
  if (name.empty()) return false;
  for (unsigned char c : name)
    if (c <= ' ' || c == ':' || c == 0x7F) return false;
  return true;
}

// A file name inside a quoted parameter: no quote, no backslash, no line break.
std::string QuotedName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (char& c : name)
    if (c == '"' || c == '\\' || c == '\r' || c == '\n') c = '_';
  return name;
}

// Only a regular file is attached: a pipe could wait for ever and a device never end.
std::string ReadWholeFile(const std::string& path) {
  std::string data, error;
  if (!support::ReadRegularFile(path, data, &error)) throw ELocalError("cannot read attachment " + error);
  return data;
}

class PartReader {
 public:
  explicit PartReader(TMailMessage& message) : message_(message) {}

  // Raises ELocalError naming the attachments that could not be saved, when there are any.
  void CheckSaved() const {
    if (failures_.empty()) return;
    std::string text = std::to_string(failures_.size()) + " attachment(s) not saved: " + failures_.front();
    if (failures_.size() > 1) text += " ...";
    throw ELocalError(text);
  }

  // The lines between the boundary lines of a multipart body, each part taken as it closes.
  void Walk(const std::vector<std::string>& lines, size_t begin, size_t end, const std::string& boundary, int depth) {
    const std::string delimiter = "--" + boundary;
    const std::string closing = delimiter + "--";
    bool inPart = false;
    std::vector<std::string> part;
    for (size_t i = begin; i < end; ++i) {
      const std::string& line = lines[i];
      if (StartsWith(line, delimiter)) {
        if (inPart) TakePart(part, depth);
        part.clear();
        if (StartsWith(line, closing)) return;  // what follows the closing line is not the message's
        inPart = true;
      } else if (inPart) {
        part.push_back(line);
      }
    }
    if (inPart) TakePart(part, depth);  // a body cut short keeps its last part
  }

 private:
  void TakePart(const std::vector<std::string>& lines, int depth) {
    size_t blank = 0;
    while (blank < lines.size() && !lines[blank].empty()) ++blank;
    support::TStringHashTable fields(13, true);
    ReadFields(lines, 0, blank, fields);
    // The text from the empty line on, so it begins with CR LF.
    std::string text;
    for (size_t i = blank; i < lines.size(); ++i) text += lines[i] + "\r\n";

    std::string type = fields.GetString("Content-Type");
    std::string lowerType = rt::lowerCase(type);
    if (lowerType.empty() || lowerType.find("text/plain") != std::string::npos) {
      message_.Body += text;
      return;
    }
    if (StartsWith(lowerType, "multipart/") && depth < kMaxNesting) {
      std::string boundary = HeaderParameter(type, "boundary");
      if (!boundary.empty()) {
        Walk(lines, blank, lines.size(), boundary, depth + 1);
        return;
      }
    }
    if (rt::lowerCase(Trim(fields.GetString("Content-Transfer-Encoding"))) != "base64") return;
    std::string name = HeaderParameter(type, "name");
    if (name.empty()) name = HeaderParameter(fields.GetString("Content-Disposition"), "filename");
    SaveAttachment(SafeAttachmentName(name), support::DecodeBase64(text));
  }

  // An attachment that cannot be saved is recorded as a failure; a partly written file is removed.
  void SaveAttachment(const std::string& name, const std::string& data) {
    int fd = -1;
    std::string path, error;
    if (!name.empty()) {
      path = CreateFreeFile(EnsureTrailingDelimiter(message_.AttachFolder, 1), FitFileName(name), next_, fd, error);
    } else {
      path = GetTempFile("gpop3");
      if (!path.empty()) fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
      if (fd < 0) error = std::strerror(errno);
    }
    if (fd < 0) {
      if (name.empty() && !path.empty()) ::unlink(path.c_str());
      failures_.push_back((name.empty() ? std::string("(no name)") : name.substr(0, 80)) + ": " + error);
      return;
    }
    bool written = WriteAll(fd, data);
    if (!written) error = std::strerror(errno);
    if (::close(fd) != 0 && written) {
      written = false;
      error = std::strerror(errno);
    }
    if (!written) {
      ::unlink(path.c_str());
      failures_.push_back(path + ": " + error);
      return;
    }
    message_.Attachments.push_back(path);
  }

  std::map<std::string, std::string> next_;
  std::vector<std::string> failures_;
  TMailMessage& message_;
};

}  // namespace

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = text.find_first_of("\r\n", i);
    if (end == std::string::npos) {
      lines.push_back(text.substr(i));
      break;
    }
    lines.push_back(text.substr(i, end - i));
    i = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

std::string HeaderParameter(const std::string& value, const std::string& parameter) {
  std::string lower = rt::lowerCase(value);
  std::string key = rt::lowerCase(parameter) + "=";
  for (size_t at = lower.find(key); at != std::string::npos; at = lower.find(key, at + 1)) {
    // The key must stand on its own: "name=" is not the end of "filename=".
    if (at > 0 && lower[at - 1] != ';' && lower[at - 1] != ' ' && lower[at - 1] != '\t') continue;
    size_t start = at + key.size();
    if (start < value.size() && value[start] == '"') {
      size_t close = value.find('"', start + 1);
      if (close == std::string::npos) return value.substr(start + 1);
      return value.substr(start + 1, close - start - 1);
    }
    size_t stop = value.find_first_of("; \t", start);
    return value.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
  }
  return {};
}

std::string SafeAttachmentName(const std::string& name) {
  size_t cut = name.find_last_of("/\\");
  std::string last = cut == std::string::npos ? name : name.substr(cut + 1);
  std::string clean;
  for (unsigned char c : last)
    if (c >= 0x20 && c != 0x7F) clean += static_cast<char>(c);
  size_t dots = 0;
  while (dots < clean.size() && clean[dots] == '.') ++dots;
  clean.erase(0, dots);
  return Trim(clean);
}

TMailMessage::TMailMessage() { Clear(); }

void TMailMessage::Clear() {
  Attachments.clear();
  Headers.Clear();
  HeaderLines.clear();
  Number = 0;
  Size = 0;
  BodyLines.clear();
  Body.clear();
  Boundary = RandomString(kBoundaryLength);
  AttachFolder.clear();
}

std::string TMailMessage::GetHeader(const std::string& name) const { return Headers.GetString(name); }

void TMailMessage::Assign(const TMailMessage& other) {
  if (&other == this) return;
  Attachments = other.Attachments;
  Headers.Clear();
  other.Headers.ForEach([this](const auto& item) { Headers.Put(item.Key, item.Value); });
  HeaderLines = other.HeaderLines;
  Number = other.Number;
  Size = other.Size;
  BodyLines = other.BodyLines;
  Body = other.Body;
  Boundary = other.Boundary;
  AttachFolder = other.AttachFolder;
}

void TMailMessage::Parse(const std::string& raw) {
  std::string folder = AttachFolder;
  Clear();
  AttachFolder = folder;

  std::vector<std::string> lines = SplitLines(raw);
  size_t blank = 0;
  while (blank < lines.size() && !lines[blank].empty()) ++blank;
  size_t bodyStart = blank < lines.size() ? blank + 1 : lines.size();
  if (blank == lines.size() && !lines.empty()) {
    // No empty line: header fields when it starts like one, else all of it is body.
    size_t colon = lines[0].find(':');
    bool looksLikeField = colon != std::string::npos && colon > 0 && lines[0].find(' ') > colon;
    if (!looksLikeField) blank = bodyStart = 0;
  }
  HeaderLines.assign(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(blank));
  BodyLines.assign(lines.begin() + static_cast<std::ptrdiff_t>(bodyStart), lines.end());
  ReadFields(HeaderLines, 0, HeaderLines.size(), Headers);

  std::string type = GetHeader("Content-Type");
  if (ContainsIgnoreCase(type, "multipart/mixed")) {
    std::string boundary = HeaderParameter(type, "boundary");
    if (!boundary.empty()) {
      Boundary = boundary;
      PartReader reader(*this);
      reader.Walk(BodyLines, 0, BodyLines.size(), Boundary, 0);
      reader.CheckSaved();
      return;
    }
  }
  Body = BodyText();
}

void TMailMessage::Build(std::string& raw) {
  Boundary = RandomString(kBoundaryLength);
  HeaderLines.clear();
  BodyLines.clear();
  bool ownDate = false;
  std::string failure;
  Headers.ForEach([&](const auto& item) {
    std::string lower = rt::lowerCase(item.Key);
    // The body's own description comes from here, not from the fields.
    if (lower == "content-type" || lower == "mime-version" || lower == "content-transfer-encoding") return;
    if (!FitHeaderName(item.Key)) {
      if (failure.empty()) failure = "bad header name " + OneLine(item.Key);
      return;
    }
    if (lower == "date") ownDate = true;
    HeaderLines.push_back(item.Key + ": " + OneLine(item.Value));
  });
  if (!failure.empty()) throw ELocalError(failure);

  bool multipart = !Attachments.empty();
  if (multipart)
    HeaderLines.push_back("Content-Type: multipart/mixed; boundary=\"" + Boundary + "\"");
  else
    HeaderLines.push_back("Content-Type: text/plain; charset=\"iso-2022-jp\"");
  if (!ownDate) {
    TDateTime now = UnixTimeToLocal(static_cast<int64_t>(std::time(nullptr)));
    HeaderLines.push_back("Date: " + FormatHttpDateTime(now));
  }
  HeaderLines.push_back("MIME-Version: 1.0");
  HeaderLines.push_back("Content-Transfer-Encoding: 7bit");
  HeaderLines.push_back("");

  if (!multipart) {
    BodyLines.push_back(Body);
  } else {
    BodyLines.push_back("--" + Boundary);
    BodyLines.push_back("Content-Type: text/plain");
    BodyLines.push_back("");
    BodyLines.push_back(Body);
    for (const std::string& path : Attachments) {
      std::string encoded = support::EncodeBase64(ReadWholeFile(path));
      std::string name = QuotedName(path);
      BodyLines.push_back("--" + Boundary);
      BodyLines.push_back("Content-Type: application/octet-stream; name=\"" + name + "\"");
      BodyLines.push_back("Content-Disposition: filename=\"" + name + "\"");
      BodyLines.push_back("Content-Transfer-Encoding: Base64");
      BodyLines.push_back("");
      for (size_t at = 0; at < encoded.size(); at += kBase64LineLength)
        BodyLines.push_back(encoded.substr(at, kBase64LineLength));
    }
    BodyLines.push_back("--" + Boundary + "--");
  }
  raw = HeaderText() + BodyText();
}

std::string TMailMessage::HeaderText() const {
  std::string text;
  for (const std::string& line : HeaderLines) text += line + "\r\n";
  return text;
}

std::string TMailMessage::BodyText() const {
  std::string text;
  for (const std::string& line : BodyLines) text += line + "\r\n";
  return text;
}

}  // namespace net
