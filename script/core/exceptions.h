// The engine's exceptions. Script errors are EJThrow (error-type name, message, thrown value);
// abort and exit travel as exceptions too. Break, continue and return are completion codes of the
// interpreter; their classes remain for the interfaces that name them.
#pragma once

#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "platform/rt/exception.h"
#include "script/core/value.h"

namespace engine {

class EJException : public rt::Exception {
 public:
  explicit EJException(std::string message = {}, std::string errorType = {})
      : Exception(std::move(message)), ErrorType(std::move(errorType)) {}
  const char* className() const override { return "EJException"; }
  // The script error-type name ("ENameError"); empty for the control-flow classes.
  std::string ErrorType;
};

class EJAbort : public EJException {
 public:
  EJAbort() : EJException("script abort") {}
  const char* className() const override { return "EJAbort"; }
};

class EJStatement : public EJException {
 public:
  using EJException::EJException;
  const char* className() const override { return "EJStatement"; }
};

class EJBreak : public EJStatement {
 public:
  EJBreak() : EJStatement("break") {}
  const char* className() const override { return "EJBreak"; }
};

class EJContinue : public EJStatement {
 public:
  EJContinue() : EJStatement("continue") {}
  const char* className() const override { return "EJContinue"; }
};

class EJReturn : public EJStatement {
 public:
  explicit EJReturn(const TJValue& value) : EJStatement("return"), Value(value) {}
  const char* className() const override { return "EJReturn"; }
  TJValue Value;
};

class EJExit : public EJStatement {
 public:
  explicit EJExit(int32_t exitCode) : ExitCode(exitCode) {}
  const char* className() const override { return "EJExit"; }
  int32_t ExitCode;
};

class EJError : public EJException {
 public:
  using EJException::EJException;
  const char* className() const override { return "EJError"; }
};

class EJRuntimeError : public EJError {
 public:
  // The thrown value is null unless one is given.
  EJRuntimeError(std::string errorType, std::string message, const TJValue* value = nullptr)
      : EJError(std::move(message), std::move(errorType)) {
    if (value) Value = *value; else Value.SetNull();
  }
  const char* className() const override { return "EJRuntimeError"; }
  TJValue Value;
};

class EJThrow : public EJRuntimeError {
 public:
  using EJRuntimeError::EJRuntimeError;
  const char* className() const override { return "EJThrow"; }
};

class EJSyntaxError : public EJRuntimeError {
 public:
  EJSyntaxError(int32_t line, std::string message, const TJValue* value = nullptr)
      : EJRuntimeError("ESyntaxError", std::move(message), value), Line(line) {}
  const char* className() const override { return "EJSyntaxError"; }
  int32_t Line;
};

// Raises EJThrow with the error type and message (and an optional thrown value).
[[noreturn]] void ThrowError(std::string errorType, std::string message, const TJValue* value = nullptr);

// A failure of library code that left the member `member` of an object of class `className` (a
// file that would not read, a library's own error): raised as a script error, so that the
// script's try catches it and nothing ends the host. The message is "<className>.<member> error"
// with the failure's own text after a colon; the type is the library error's class name
// ("EConvertError"), or "Exception" for a failure of the C++ runtime.
[[noreturn]] void RaiseNativeFailure(std::string_view className, std::string_view member, const std::exception& e);

// Runs `call`, the work of a native method, accessor or constructor of an object whose class
// name `className()` answers. Script errors, abort and exit
// go on as they are, and so does a failed allocation (the engine reports it as "EOutOfMemory");
// every other exception becomes RaiseNativeFailure.
// `className` is asked of the object only when the call fails.
template <class ClassName, class F>
inline auto RunNative(ClassName&& className, std::string_view member, F&& call) -> decltype(call()) {
  try {
    return call();
  } catch (const EJException&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    RaiseNativeFailure(className(), member, e);
  }
}

}  // namespace engine
