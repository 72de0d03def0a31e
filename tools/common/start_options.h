// What both script hosts do at start, before running anything: the version line, the hidden
// `--list-classes` that the reference's completeness test reads (each constructor name the engine
// knows, with "instance" when a script also finds a ready-made object under that name), and reading
// the script.
#pragma once

#include <cerrno>
#include <cstdio>
#include <string>

#include "script/core/component.h"
#include "script/core/factory.h"
#include "script/stdlib/version.h"
#include "support/regular_file.h"

namespace tools {

inline std::string VersionLine() {
  return std::string(stdlib::kScriptEngineName) + " " + stdlib::kScriptEngineVersion + "\n";
}

// The engine's own three objects are there under their names whatever their classes say.
inline void ListClasses(engine::TBrindle& component, FILE* out) {
  engine::TJObjectFactory& factory = component.Engine().Factory();
  for (const std::string& name : factory.GetClassNames()) {
    const engine::TJClass* cls = factory.GetClass(name);
    bool instance = name == "Global" || name == "RegExp" || name == "WScript" || (cls && cls->makeGlobalInstance);
    std::fprintf(out, "%s\t%s\n", name.c_str(), instance ? "instance" : "class");
  }
  // WScript is the engine's own object, no class of the factory.
  if (!factory.HasClass("WScript")) std::fputs("WScript\tinstance\n", out);
}

// The script at `path`, whole. False with errno set when it cannot be read: EFBIG for a pipe or
// device that goes on past support::kUnboundedReadLimit.
inline bool ReadScriptFile(const std::string& path, std::string& text) {
  FILE* file = std::fopen(path.c_str(), "rbe");
  if (!file) return false;
  const bool bounded = !support::IsRegularFile(fileno(file));
  text.clear();
  char buffer[65536];
  size_t n;
  bool tooLong = false;
  while (!tooLong && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    text.append(buffer, n);
    tooLong = bounded && text.size() > support::kUnboundedReadLimit;
  }
  const bool failed = std::ferror(file) != 0;
  const int reason = errno;
  std::fclose(file);
  if (tooLong) errno = EFBIG;
  else if (failed) errno = reason;
  return !tooLong && !failed;
}

}  // namespace tools
