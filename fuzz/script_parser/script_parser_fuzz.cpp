// Arbitrary bytes through the lexer and the parser, as a program and as a code string. Syntax
// errors and errors of constant folding are expected; anything else (a crash, a hang, another
// exception) is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/core/exceptions.h"
#include "script/core/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  engine::TJParser parser;
  size_t traced = 0;
  parser.Lexer().OnDebugout = [&](const std::string& line) { traced += line.size(); };
  parser.Source = text;
  try {
    parser.Parse();
  } catch (const engine::EJException&) {
  }
  try {
    engine::TJExpr* code = nullptr;
    parser.ParseCode(text, code);
  } catch (const engine::EJException&) {
  }
  return 0;
}
