#include "support/ini_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "platform/rt/utf8.h"
#include "support/regular_file.h"
#include "support/replace_file.h"

namespace support {

namespace {

std::string trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

bool hasLineEnd(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// Splits text at CR LF, LF or CR.
std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

TMemIniFile::TMemIniFile(std::string fileName) : fileName_(std::move(fileName)) {
  sections_.push_back({"", {}});
  if (!IsSystemPath(fileName_)) throw EIniFileError("cannot read " + fileName_ + ": a name holding a NUL");
  struct stat st;
  if (::stat(fileName_.c_str(), &st) != 0 && errno == ENOENT) return;
  std::string text, error;
  if (!ReadRegularFile(fileName_, text, &error)) throw EIniFileError("cannot read " + error);
  SetText(text);
}

TMemIniFile::Section* TMemIniFile::find(const std::string& name) {
  for (Section& s : sections_)
    if (rt::sameText(s.name, name)) return &s;
  return nullptr;
}

const TMemIniFile::Section* TMemIniFile::find(const std::string& name) const {
  return const_cast<TMemIniFile*>(this)->find(name);
}

void TMemIniFile::SetText(const std::string& text) {
  sections_.assign(1, Section{"", {}});
  Section* current = &sections_.front();
  for (const std::string& raw : splitLines(text)) {
    std::string line = trim(raw);
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      std::string name = trim(line.substr(1, line.size() - 2));
      current = find(name);
      if (!current) {
        sections_.push_back({name, {}});
        current = &sections_.back();
      }
      continue;
    }
    size_t eq = raw.find('=');
    if (line.front() == ';' || line.front() == '#' || eq == std::string::npos || trim(raw.substr(0, eq)).empty()) {
      current->lines.push_back({false, raw, ""});
      continue;
    }
    current->lines.push_back({true, trim(raw.substr(0, eq)), trim(raw.substr(eq + 1))});
  }
}

std::string TMemIniFile::Text() const {
  std::string out;
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    if (i == 0 && s.lines.empty()) continue;
    if (i > 0) out += "[" + s.name + "]\r\n";
    for (const Line& l : s.lines) out += l.isKey ? l.key + "=" + l.value + "\r\n" : l.key + "\r\n";
    out += "\r\n";
  }
  return out;
}

bool TMemIniFile::SectionExists(const std::string& section) const {
  const Section* s = find(section);
  // The lines before the first header form a section only when they hold keys.
  if (s == &sections_.front())
    return std::any_of(s->lines.begin(), s->lines.end(), [](const Line& l) { return l.isKey; });
  return s != nullptr;
}

bool TMemIniFile::ValueExists(const std::string& section, const std::string& key) const {
  if (const Section* s = find(section))
    for (const Line& l : s->lines)
      if (l.isKey && rt::sameText(l.key, key)) return true;
  return false;
}

std::string TMemIniFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
  if (const Section* s = find(section))
    for (const Line& l : s->lines)
      if (l.isKey && rt::sameText(l.key, key)) return l.value;
  return defaultValue;
}

void TMemIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (hasLineEnd(section) || section.find(']') != std::string::npos)
    throw EIniFileError("bad section name: " + section);
  std::string k = trim(key);
  if (k.empty() || hasLineEnd(k) || k.find('=') != std::string::npos || k.front() == ';' || k.front() == '#' ||
      k.front() == '[')
    throw EIniFileError("bad key name: " + key);
  if (hasLineEnd(value)) throw EIniFileError("a value cannot hold a line end");
  Section* s = find(section);
  if (!s) {
    sections_.push_back({section, {}});
    s = &sections_.back();
  }
  for (Line& l : s->lines)
    if (l.isKey && rt::sameText(l.key, k)) {
      l.value = value;
      return;
    }
  s->lines.push_back({true, k, value});
}

void TMemIniFile::DeleteKey(const std::string& section, const std::string& key) {
  Section* s = find(section);
  if (!s) return;
  std::string k = trim(key);
  auto it = std::find_if(s->lines.begin(), s->lines.end(),
                         [&](const Line& l) { return l.isKey && rt::sameText(l.key, k); });
  if (it != s->lines.end()) s->lines.erase(it);
}

void TMemIniFile::EraseSection(const std::string& section) {
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (!rt::sameText(sections_[i].name, section)) continue;
    if (i == 0)
      sections_[0].lines.clear();
    else
      sections_.erase(sections_.begin() + ptrdiff_t(i));
    return;
  }
}

std::vector<std::string> TMemIniFile::ReadSection(const std::string& section) const {
  std::vector<std::string> keys;
  if (const Section* s = find(section))
    for (const Line& l : s->lines)
      if (l.isKey && std::none_of(keys.begin(), keys.end(), [&](const std::string& k) { return rt::sameText(k, l.key); }))
        keys.push_back(l.key);
  return keys;
}

std::vector<std::string> TMemIniFile::ReadSections() const {
  std::vector<std::string> names;
  for (size_t i = 1; i < sections_.size(); ++i) names.push_back(sections_[i].name);
  return names;
}

void TMemIniFile::UpdateFile() const {
  std::string error;
  if (!ReplaceFileContents(fileName_, Text(), &error)) throw EIniFileError(error);
}

}  // namespace support
