#include "script/core/exceptions.h"

namespace engine {

void ThrowError(std::string errorType, std::string message, const TJValue* value) {
  throw EJThrow(std::move(errorType), std::move(message), value);
}

}  // namespace engine
