#include "regex/errors.h"

namespace regex {

std::string ErrorText(int code) {
  switch (code) {
    case reeOk: return "No errors";
    case reeCompNullArgument: return "TRegExpr(comp): Null Argument";
    case reeCompRegexpTooBig: return "TRegExpr(comp): Regexp Too Big";
    case reeCompParseRegTooManyBrackets: return "TRegExpr(comp): ParseReg Too Many ()";
    case reeCompParseRegUnmatchedBrackets:
    case reeCompParseRegUnmatchedBrackets2: return "TRegExpr(comp): ParseReg Unmatched ()";
    case reeCompParseRegJunkOnEnd: return "TRegExpr(comp): ParseReg Junk On End";
    case reePlusStarOperandCouldBeEmpty: return "TRegExpr(comp): *+ Operand Could Be Empty";
    case reeNestedSQP: return "TRegExpr(comp): Nested *?+";
    case reeBadHexDigit: return "TRegExpr(comp): Bad Hex Digit";
    case reeInvalidRange: return "TRegExpr(comp): Invalid [] Range";
    case reeParseAtomTrailingBackSlash: return "TRegExpr(comp): Parse Atom Trailing \\";
    case reeNoHexCodeAfterBSlashX: return "TRegExpr(comp): No Hex Code After \\x";
    case reeHexCodeAfterBSlashXTooBig: return "TRegExpr(comp): Hex Code After \\x Is Too Big";
    case reeUnmatchedSqBrackets: return "TRegExpr(comp): Unmatched []";
    case reeInternalUrp: return "TRegExpr(comp): Internal Urp";
    case reeQPSBFollowsNothing: return "TRegExpr(comp): ?+*{ Follows Nothing";
    case reeTrailingBackSlash: return "TRegExpr(comp): Trailing \\";
    case reeRarseAtomInternalDisaster: return "TRegExpr(comp): RarseAtom Internal Disaster";
    case reeBRACESArgTooBig: return "TRegExpr(comp): BRACES Argument Too Big";
    case reeBracesMinParamGreaterMax: return "TRegExpr(comp): BRACE Min Param Greater then Max";
    case reeUnclosedComment: return "TRegExpr(comp): Unclosed (?#Comment)";
    case reeComplexBracesNotImplemented:
      return "TRegExpr(comp): If you want take part in beta-testing BRACES";
    case reeUrecognizedModifier: return "TRegExpr(comp): Urecognized Modifier";
    case reeBadLinePairedSeparator:
      return "TRegExpr(comp): LinePairedSeparator must countain two different chars or no chars at all";
    case reeRegRepeatCalledInappropriately: return "TRegExpr(exec): RegRepeat Called Inappropriately";
    case reeMatchPrimMemoryCorruption: return "TRegExpr(exec): MatchPrim Memory Corruption";
    case reeMatchPrimCorruptedPointers: return "TRegExpr(exec): MatchPrim Corrupted Pointers";
    case reeNoExpression: return "TRegExpr(exec): Not Assigned Expression Property";
    case reeCorruptedProgram: return "TRegExpr(exec): Corrupted Program";
    case reeNoInputStringSpecified: return "TRegExpr(exec): No Input String Specified";
    case reeOffsetMustBeGreaterThen0: return "TRegExpr(exec): Offset Must Be Greater Then 0";
    case reeExecNextWithoutExec: return "TRegExpr(exec): ExecNext Without Exec[Pos]";
    case reeGetInputStringWithoutInputString:
      return "TRegExpr(exec): GetInputString Without InputString";
    case reeDumpCorruptedOpcode: return "TRegExpr(dump): Corrupted Opcode";
    case reeLoopStackExceeded: return "TRegExpr(exec): Loop Stack Exceeded";
    case reeLoopWithoutEntry: return "TRegExpr(exec): Loop Without LoopEntry !";
    case reeMatchTooComplex: return "TRegExpr(exec): Match Too Complex";
    case reeBadPCodeImported: return "TRegExpr(misc): Bad p-code imported";
    default: return "Unknown error";
  }
}

}  // namespace regex
