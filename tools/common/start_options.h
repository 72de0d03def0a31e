// The start-up options both script hosts answer before running anything: the version line, and the
// hidden `--list-classes` that the reference's completeness test reads (each constructor name the
// engine knows, with "instance" when a script also finds a ready-made object under that name).
#pragma once

#include <cstdio>
#include <string>

#include "script/core/component.h"
#include "script/core/factory.h"
#include "script/stdlib/version.h"

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

}  // namespace tools
