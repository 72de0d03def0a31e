#include "tests/script/host/script_runner.h"

#include "script/core/component.h"
#include "script/host/host.h"
#include "script/stdlib/stdlib.h"

namespace hosttest {

namespace {

std::string Lf(std::string text) {
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.erase(at, 1);
  return text;
}

}  // namespace

ScriptOutcome RunScriptText(const std::string& source) {
  stdlib::Install();
  host::Install();
  ScriptOutcome o;
  bool errorReported = false;
  engine::TBrindle component;
  component.SetOnStdout([&](engine::TBrindle*, const std::string& s) { o.out += s; });
  component.SetOnStderr([&](engine::TBrindle*, const std::string& s) { o.err += s; });
  component.SetOnError([&](engine::TBrindle*, int32_t, const std::string&) { errorReported = true; });
  if (!component.Compile(source)) {
    o.code = 2;
  } else {
    int code = component.RunNoArgs();
    o.code = errorReported ? 1 : code;
  }
  o.out = Lf(o.out);
  o.err = Lf(o.err);
  return o;
}

}  // namespace hosttest
