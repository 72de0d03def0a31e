// The one exception base of the whole system. Library errors (regex, socket, framework, conversion)
// and the script engine's own exceptions derive from it; the message is a UTF-8 byte string.
#pragma once

#include <exception>
#include <string>

namespace rt {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message = {}) : message_(std::move(message)) {}

  const std::string& message() const { return message_; }
  void setMessage(std::string message) { message_ = std::move(message); }
  const char* what() const noexcept override { return message_.c_str(); }

  // The class name the system reports for this error (e.g. "EConvertError"); scripts see it as the
  // error-type name of a framework or library failure.
  virtual const char* className() const { return "Exception"; }

 private:
  std::string message_;
};

// Text that is not a number where a number is required.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
  const char* className() const override { return "EConvertError"; }
};

}  // namespace rt
