// Runs a script text through the script component with the standard and host objects, the way
// brs does, and answers what it printed (CR LF as LF) and how it ended.
#pragma once

#include <string>

namespace hosttest {

struct ScriptOutcome {
  std::string out;
  std::string err;
  int code = 0;
};

ScriptOutcome RunScriptText(const std::string& source);

}  // namespace hosttest
