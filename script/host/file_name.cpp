#include "script/host/file_name.h"

#include "script/core/exceptions.h"
#include "support/regular_file.h"

namespace host {

const std::string& SystemPath(const std::string& text, const char* errorType, const std::string& message) {
  if (!support::IsSystemPath(text)) engine::ThrowError(errorType, message);
  return text;
}

}  // namespace host
