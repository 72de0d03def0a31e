#include "support/list_plus.h"

#include <string>

namespace support {

const char* EListError::className() const { return "EListError"; }

void ListIndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace support
