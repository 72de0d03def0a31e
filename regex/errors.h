// ERegExpr and the engine's error codes.
//
// Codes below 1000 come from the compiler and carry the pattern position in their message; codes
// from 1000 on come from the matcher. The texts are the engine's own, misspellings included, since
// callers and logs have always shown them this way.
#pragma once

#include <string>

#include "platform/rt/exception.h"

namespace regex {

enum ErrorCode : int {
  reeOk = 0,
  reeCompNullArgument = 100,
  reeCompRegexpTooBig = 101,
  reeCompParseRegTooManyBrackets = 102,
  reeCompParseRegUnmatchedBrackets = 103,
  reeCompParseRegUnmatchedBrackets2 = 104,
  reeCompParseRegJunkOnEnd = 105,
  reePlusStarOperandCouldBeEmpty = 106,
  reeNestedSQP = 107,
  reeBadHexDigit = 108,
  reeInvalidRange = 109,
  reeParseAtomTrailingBackSlash = 110,
  reeNoHexCodeAfterBSlashX = 111,
  reeHexCodeAfterBSlashXTooBig = 112,
  reeUnmatchedSqBrackets = 113,
  reeInternalUrp = 114,
  reeQPSBFollowsNothing = 115,
  reeTrailingBackSlash = 116,
  reeRarseAtomInternalDisaster = 119,
  reeBRACESArgTooBig = 122,
  reeBracesMinParamGreaterMax = 124,
  reeUnclosedComment = 125,
  reeComplexBracesNotImplemented = 126,
  reeUrecognizedModifier = 127,
  reeBadLinePairedSeparator = 128,
  reeRegRepeatCalledInappropriately = 1000,
  reeMatchPrimMemoryCorruption = 1001,
  reeMatchPrimCorruptedPointers = 1002,
  reeNoExpression = 1003,
  reeCorruptedProgram = 1004,
  reeNoInputStringSpecified = 1005,
  reeOffsetMustBeGreaterThen0 = 1006,
  reeExecNextWithoutExec = 1007,
  reeGetInputStringWithoutInputString = 1008,
  reeDumpCorruptedOpcode = 1011,
  reeModifierUnsupported = 1013,
  reeLoopStackExceeded = 1014,
  reeLoopWithoutEntry = 1015,
  // A search that runs past its step budget or backtrack memory budget (runaway backtracking, or a
  // subject too long to address) stops with this error instead of hanging or exhausting memory.
  reeMatchTooComplex = 1016,
  reeBadPCodeImported = 2000,
};

// The message of an error code; "Unknown error" for codes without a text of their own.
std::string ErrorText(int code);

class ERegExpr : public rt::Exception {
 public:
  ERegExpr(std::string message, int errorCode, int errorPos)
      : Exception(std::move(message)), ErrorCode(errorCode), ErrorPos(errorPos) {}
  const char* className() const override { return "ERegExpr"; }

  int ErrorCode;
  int ErrorPos;  // pattern characters consumed when a compile error was found, else 0
};

}  // namespace regex
