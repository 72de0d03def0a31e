#include "support/hash_table.h"

namespace support {

const char* EHashTableError::className() const { return "EHashTableError"; }

}  // namespace support
