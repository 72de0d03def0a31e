#include "script/core/exceptions.h"

namespace engine {

void ThrowError(std::string errorType, std::string message, const TJValue* value) {
  throw EJThrow(std::move(errorType), std::move(message), value);
}

void RaiseNativeFailure(std::string_view className, std::string_view member, const std::exception& e) {
  std::string message(className);
  if (!message.empty()) message += '.';
  message.append(member).append(" error");
  std::string_view detail = e.what();
  if (!detail.empty()) message.append(": ").append(detail);
  auto* library = dynamic_cast<const rt::Exception*>(&e);
  ThrowError(library ? library->className() : "Exception", std::move(message));
}

}  // namespace engine
