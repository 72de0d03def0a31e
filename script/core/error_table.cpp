#include "script/core/error_table.h"

#include "script/core/exceptions.h"

namespace engine {

namespace {

constexpr TJErrorText kErrors[] = {
    // calls
    {"ECallError", "call function error,need function or object"},
    {"ECallError", "not support function type"},
    {"ECallError", "function is no longer valid: %s"},
    {"ECallError", "object of %s is gone"},
    {"ETypeError", "%s.apply arguments error"},
    // names and members
    {"ENameError", ""},
    {"ENameError", "undefined - %s"},
    {"ENameError", "%s"},
    {"EKeyError", "%s"},
    {"ENameError", "member error %s"},
    {"ENameError", "member assign error %s"},
    {"ENameError", "prototype assign error %s"},
    {"ENameError", "namespace not found: %s"},
    {"ENameError", "create object error %s"},
    {"ENameError", "create object constructor error %s"},
    // operands and statements
    {"ETypeError", "%s"},
    {"ETypeError", "%s - %s"},
    {"ETypeError", "can not assign - "},
    {"ETypeError", "need variable - for..in"},
    {"ETypeError", "need object,array or collection - for..in"},
    {"ETypeError", "need object - with"},
    {"ESyntaxError", "super"},
    {"ESyntaxError", "break"},
    {"ESyntaxError", "continue"},
    {"ESyntaxError", "switch case: or default:"},
    {"EThrow", ""},
    // the parser
    {"ESyntaxError", "Text( %s )"},
    {"ESyntaxError", "%s: Text( %s )"},
    {"ESyntaxError", "too deeply nested"},
    {"ESyntaxError", "can not open: %s"},
    {"ESyntaxError", "file not found: %s"},
    {"ESyntaxError", "circular import: %s"},
    {"ESyntaxError", "not found catch-statement"},
    // limits
    {"EStackOverflow", "stack overflow"},
    {"EOutOfMemory", "out of memory"},
    {"EIndexError", "list count too large: %s"},
    // standard objects
    {"EIndexError", "%s"},
    {"EIndexError", "multiply error: %s bytes"},
    {"ETypeError", "sort compare function error"},
    {"ETypeError", "array assign error"},
    {"EFileError", "read error: STDIN"},
    {"ERegExpr", "%s - /%s/"},
    {"EConvertError", "%s"},
    {"EConvertError", "Format '%s' invalid or incompatible with argument"},
    {"EConvertError", "No argument for format '%s'"},
    {"Exception", "Cannot Create Dir"},
    {"EVCLError", "%s - %s"},
};

static_assert(sizeof(kErrors) / sizeof(kErrors[0]) == jeErrorCodeCount, "one row for each error code");

}  // namespace

const TJErrorText& ErrorText(TJErrorCode code) { return kErrors[code < jeErrorCodeCount ? code : jeThrow]; }

std::string ErrorMessage(TJErrorCode code, std::initializer_list<std::string_view> details) {
  std::string_view text = ErrorText(code).text;
  std::string out;
  auto next = details.begin();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 's') {
      if (next != details.end()) out += *next++;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

void ThrowError(TJErrorCode code, std::initializer_list<std::string_view> details, const TJValue* value) {
  throw EJThrow(ErrorText(code).type, ErrorMessage(code, details), value);
}

}  // namespace engine
