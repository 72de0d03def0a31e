#include "platform/fw/file_dialogs.h"

namespace fw {

namespace {

IFileDialogService*& installed() {
  static IFileDialogService* service = nullptr;
  return service;
}

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> split(const std::string& s, char by) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = s.find(by, start);
    parts.push_back(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

IFileDialogService* FileDialogService() { return installed(); }
void SetFileDialogService(IFileDialogService* service) { installed() = service; }

bool RunFileDialog(const TFileDialogRequest& request, std::vector<std::string>& chosen) {
  chosen.clear();
  if (!installed()) return false;
  bool ok = installed()->Run(request, chosen);
  if (!ok) chosen.clear();
  return ok && !chosen.empty();
}

std::vector<TFileFilter> ParseFileFilter(const std::string& filter) {
  std::vector<TFileFilter> entries;
  if (filter.empty()) return entries;
  std::vector<std::string> parts = split(filter, '|');
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    TFileFilter entry{trim(parts[i]), {}};
    for (const std::string& mask : split(parts[i + 1], ';'))
      if (std::string m = trim(mask); !m.empty()) entry.Masks.push_back(m == "*.*" ? "*" : m);
    if (!entry.Masks.empty()) entries.push_back(std::move(entry));
  }
  return entries;
}

std::string QtFileFilter(const std::string& filter) {
  std::string out;
  for (const TFileFilter& entry : ParseFileFilter(filter)) {
    if (!out.empty()) out += ";;";
    // Qt reads the masks from the last parentheses; a description holding its own stays readable.
    out += entry.Description + " (";
    for (size_t i = 0; i < entry.Masks.size(); ++i) out += (i ? " " : "") + entry.Masks[i];
    out += ")";
  }
  return out;
}

bool TScriptedFileDialogs::Run(const TFileDialogRequest& request, std::vector<std::string>& chosen) {
  Log.push_back(request);
  return OnRun ? OnRun(request, chosen) : false;
}

TFileDialogServiceScope::TFileDialogServiceScope(IFileDialogService* service) : previous_(installed()) {
  installed() = service;
}

TFileDialogServiceScope::~TFileDialogServiceScope() { installed() = previous_; }

}  // namespace fw
