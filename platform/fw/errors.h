// The framework's exception classes and its message texts, in one place. Every class derives from
// the runtime's exception base, so callers that guard framework calls catch them all at once.
#pragma once

#include <string>
#include <string_view>

#include "platform/rt/exception.h"

namespace fw {

#define FW_ERROR_CLASS(Name, Base)                     \
  class Name : public Base {                           \
   public:                                             \
    using BaseError = Base;                            \
    using BaseError::BaseError;                        \
    const char* className() const override { return #Name; } \
  };

FW_ERROR_CLASS(EStreamError, rt::Exception)
FW_ERROR_CLASS(EReadError, EStreamError)
FW_ERROR_CLASS(EWriteError, EStreamError)
FW_ERROR_CLASS(EFilerError, EStreamError)
FW_ERROR_CLASS(EClassNotFound, EFilerError)
FW_ERROR_CLASS(EMethodNotFound, EFilerError)
FW_ERROR_CLASS(EInvalidImage, EFilerError)
FW_ERROR_CLASS(EFOpenError, EStreamError)
FW_ERROR_CLASS(EFCreateError, EStreamError)
FW_ERROR_CLASS(EParserError, rt::Exception)
FW_ERROR_CLASS(EComponentError, rt::Exception)
FW_ERROR_CLASS(EListError, rt::Exception)
FW_ERROR_CLASS(EStringListError, rt::Exception)
FW_ERROR_CLASS(EConvertError, rt::EConvertError)
FW_ERROR_CLASS(EPropertyError, rt::Exception)
FW_ERROR_CLASS(EInvalidOperation, rt::Exception)
FW_ERROR_CLASS(EInvalidGraphic, rt::Exception)
FW_ERROR_CLASS(EInvalidGraphicOperation, rt::Exception)
FW_ERROR_CLASS(EOutOfResources, rt::Exception)

#undef FW_ERROR_CLASS

// The message texts. "%s" and "%d" are filled by format().
namespace msg {
inline constexpr const char* ReadError = "Stream read error";
inline constexpr const char* WriteError = "Stream write error";
inline constexpr const char* InvalidImage = "Invalid stream format";
inline constexpr const char* FOpenError = "ファイル %s は開けません";
inline constexpr const char* FCreateError = "ファイル %s を作成できません";
inline constexpr const char* ParseError = "%s on line %d";
inline constexpr const char* IdentifierExpected = "Identifier expected";
inline constexpr const char* StringExpected = "String expected";
inline constexpr const char* NumberExpected = "Number expected";
inline constexpr const char* CharExpected = "'%s' expected";
inline constexpr const char* SymbolExpected = "%s expected";
inline constexpr const char* InvalidBinary = "Invalid binary value";
inline constexpr const char* InvalidString = "Invalid string constant";
inline constexpr const char* InvalidNumber = "Invalid numeric value";
inline constexpr const char* NestingTooDeep = "Nesting too deep";
inline constexpr const char* InvalidPropertyValue = "Invalid property value";
inline constexpr const char* PropertyDoesNotExist = "Property %s does not exist";
inline constexpr const char* ErrorReading = "Error reading %s: %s";
inline constexpr const char* ClassNotFound = "Class %s not found";
inline constexpr const char* DuplicateName = "A component named %s already exists";
inline constexpr const char* InvalidName = "'%s' is not a valid component name";
inline constexpr const char* ListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SortedListError = "Operation not allowed on sorted string list";
inline constexpr const char* DuplicateString = "String list does not allow duplicates";
inline constexpr const char* AssignError = "Cannot assign a %s to a %s";
inline constexpr const char* InvalidPropertyPath = "Invalid property path";
inline constexpr const char* UnknownGraphicFormat = "Unknown picture file extension (%s)";
inline constexpr const char* InvalidGraphic = "Invalid graphic format";
inline constexpr const char* CannotFocus = "Cannot focus a disabled or invisible window";
inline constexpr const char* VisibleChangeModal = "Cannot make a visible window modal";
inline constexpr const char* ControlParentSetToSelf = "A control cannot have itself as its parent";
inline constexpr const char* ParentRequired = "Control '%s' has no parent window";
inline constexpr const char* NoCanvasHandle = "Canvas does not allow drawing";
inline constexpr const char* InvalidPropertyElement = "Invalid property element: %s";
}  // namespace msg

// Fills "%s" and "%d" in order from the arguments, each given as text; "%%" is one percent sign.
std::string format(std::string_view pattern, std::initializer_list<std::string_view> args);

// Raises E with the formatted message.
template <class E>
[[noreturn]] void raise(std::string_view pattern, std::initializer_list<std::string_view> args = {}) {
  throw E(format(pattern, args));
}

}  // namespace fw
