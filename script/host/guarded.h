// Running library code from a native so that every failure reaches the script as the object
// family's error: script errors, abort and exit pass unchanged; any other exception becomes the
// script error `errorType` with `message`.
#pragma once

#include <exception>
#include <string>

#include "script/core/exceptions.h"

namespace host {

template <class F>
auto Guarded(const char* errorType, const std::string& message, F&& f) -> decltype(f()) {
  try {
    return f();
  } catch (const engine::EJException&) {
    throw;
  } catch (const std::exception&) {
    engine::ThrowError(errorType, message);
  }
}

}  // namespace host
