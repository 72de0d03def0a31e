#include "platform/fw/object.h"

namespace fw {

std::vector<std::string> SplitNames(const char* list) {
  std::vector<std::string> out;
  std::string cur;
  for (const char* p = list;; ++p) {
    if (*p == ',' || *p == 0) {
      if (!cur.empty()) out.push_back(cur);
      cur.clear();
      if (*p == 0) break;
    } else if (*p != ' ' && *p != '\n' && *p != '\t') {
      cur += *p;
    }
  }
  return out;
}

}  // namespace fw
