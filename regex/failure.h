// How the compiler and the matcher report an error to TRegExpr, which turns it into ERegExpr
// through its one raising routine.
#pragma once

#include <cstddef>

namespace regex {

struct Failure {
  int code;
  size_t patternPos;  // bytes of the pattern consumed (compile errors only)
};

[[noreturn]] inline void fail(int code, size_t patternPos = 0) { throw Failure{code, patternPos}; }

}  // namespace regex
