#include "net/text_routines.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/rt/random.h"
#include "platform/rt/utf8.h"

namespace net {

namespace {

// Random texts differ from run to run.
const bool kGeneratorStarted = (rt::Randomize(), true);

}  // namespace

std::string NumberedFileName(const std::string& name) {
  size_t dot = name.rfind('.');
  std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
  std::string rest = name.substr(0, dot);
  uint32_t number = 0;
  size_t underscore = rest.rfind('_');
  if (underscore != std::string::npos) {
    std::string digits = rest.substr(underscore + 1);
    bool numeric = !digits.empty() && digits.size() <= 10;
    uint64_t value = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') numeric = false;
      value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (numeric && value <= 0x7FFFFFFF) {
      number = static_cast<uint32_t>(value) + 1;
      rest.erase(underscore);
    }
  }
  char text[16];
  std::snprintf(text, sizeof text, "%.3u", number);
  return rest + "_" + text + extension;
}

std::string RandomString(int count) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  (void)kGeneratorStarted;
  std::string text;
  for (int i = 0; i < count; ++i) text += kLetters[rt::Random(52)];
  return text;
}

bool MatchMask(const std::string& nameText, const std::string& maskText, bool ignoreCase) {
  const std::string name = ignoreCase ? rt::upperCase(nameText) : nameText;
  const std::string mask = ignoreCase ? rt::upperCase(maskText) : maskText;
  const size_t n = name.size(), m = mask.size();
  // match[j] for the current name position i: whether name[i..] matches mask[j..]. Worked from the
  // end of the name backwards, one row per position, so the cost stays n * m without recursion.
  std::vector<char> next(m + 1), row(m + 1);
  for (size_t j = 0; j <= m; ++j) next[j] = j == m || (j + 1 == m && mask[j] == '*');
  const std::vector<char> atEnd = next;
  for (size_t i = n; i-- > 0;) {
    row[m] = false;
    for (size_t j = m; j-- > 0;) {
      char c = mask[j];
      if (c == '?') {
        row[j] = next[j + 1];
      } else if (c == '*') {
        // "*" takes nothing here, or this character and then whatever "*" takes further on.
        row[j] = row[j + 1] || (i + 1 < n ? next[j] : atEnd[j + 1]);
      } else {
        row[j] = c == name[i] && next[j + 1];
      }
    }
    next.swap(row);
  }
  return next[0];
}

std::string DequoteText(const std::string& text, char quote) {
  if (text.empty() || text[0] != quote) return text;
  std::string out;
  for (size_t i = 1; i < text.size(); ++i) {
    if (text[i] == quote) {
      if (i + 1 < text.size() && text[i + 1] == quote) {
        out += quote;
        ++i;
      } else {
        break;
      }
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string RemoveCommas(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != ',') out += c;
  }
  return out;
}

std::string BlanksForControls(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return out;
}

std::string EnsureTrailingDelimiter(const std::string& path, int mode) {
  if (path.empty()) return mode == 1 ? std::string() : std::string("/");
  return path.back() == '/' ? path : path + "/";
}

std::string GetTempFile(const std::string& prefix) {
  const char* dir = std::getenv("TMPDIR");
  std::string folder = dir && *dir ? dir : "/tmp";
  std::string pattern = EnsureTrailingDelimiter(folder) + prefix + "XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return {};
  ::close(fd);
  return name.data();
}

}  // namespace net
