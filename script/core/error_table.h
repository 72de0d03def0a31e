// Every script error the engine and the standard objects raise: the type a catch sees and the
// message text. A "%s" in a text stands for a detail the raiser supplies (a name, a count, the
// message of a lower layer), filled in order. The texts are the engine's own, kept as scripts and
// logs have always shown them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace engine {

class TJValue;

enum TJErrorCode : uint8_t {
  // calls
  jeNotCallable,
  jeFunctionTypeUnsupported,
  jeFunctionGone,
  jeFunctionObjectGone,
  jeApplyArguments,
  // names and members
  jeUndefined,
  jeUndefinedName,
  jeNameMissing,
  jeKeyMissing,
  jeMemberMissing,
  jeMemberAssign,
  jePrototypeAssign,
  jeNamespaceNotFound,
  jeCreateObject,
  jeCreateObjectConstructor,
  // operands and statements
  jeOperandType,
  jeOperandTypes,
  jeCannotAssign,
  jeForInVariable,
  jeForInObject,
  jeWithObject,
  jeSuperOutsideClass,
  jeBreakOutsideLoop,
  jeContinueOutsideLoop,
  jeSwitchCase,
  jeThrow,
  // the parser (raised as ESyntaxError with the line)
  jeSyntax,
  jeSyntaxAt,
  jeTooDeeplyNested,
  jeCannotOpenImport,
  jeImportNotFound,
  jeCircularImport,
  jeCatchMissing,
  // limits
  jeStackOverflow,
  jeOutOfMemory,
  jeListTooLong,
  // standard objects
  jeIndex,
  jeRepeatTooLong,
  jeSortCompare,
  jeArrayAssign,
  jeStdinRead,
  jeRegExpr,
  jeConvert,
  jeFormatInvalid,
  jeFormatNoArgument,
  jeCannotCreateDir,
  jeVCL,
  jeErrorCodeCount
};

struct TJErrorText {
  const char* type;  // the error type a catch sees ("ENameError")
  const char* text;  // the message, "%s" for each detail
};

const TJErrorText& ErrorText(TJErrorCode code);

// The message of `code` with its details in place of the "%s" marks (a detail's own "%" stays as
// it is; a mark without a detail becomes empty).
std::string ErrorMessage(TJErrorCode code, std::initializer_list<std::string_view> details = {});

// Raises EJThrow with the type and message of `code` (and an optional thrown value).
[[noreturn]] void ThrowError(TJErrorCode code, std::initializer_list<std::string_view> details = {},
                             const TJValue* value = nullptr);

}  // namespace engine
