#include "platform/fw/method_table.h"

#include <map>
#include <vector>

#include "platform/rt/utf8.h"

namespace fw {

namespace {
struct Entry {
  std::string name;
  rt::Method::Code code;
};
std::map<const rt::ClassInfo*, std::vector<Entry>>& table() {
  static std::map<const rt::ClassInfo*, std::vector<Entry>> t;
  return t;
}
}  // namespace

void RegisterMethod(const rt::ClassInfo& cls, std::string name, rt::Method::Code code) {
  auto& list = table()[&cls];
  for (auto& e : list)
    if (rt::sameText(e.name, name)) {
      e.code = code;
      return;
    }
  list.push_back({std::move(name), code});
}

rt::Method::Code FindMethodCode(const rt::ClassInfo& cls, std::string_view name) {
  for (const rt::ClassInfo* c = &cls; c; c = c->parent) {
    auto it = table().find(c);
    if (it == table().end()) continue;
    for (auto& e : it->second)
      if (rt::sameText(e.name, name)) return e.code;
  }
  return nullptr;
}

std::string FindMethodName(const rt::ClassInfo& cls, rt::Method::Code code) {
  if (!code) return {};
  for (const rt::ClassInfo* c = &cls; c; c = c->parent) {
    auto it = table().find(c);
    if (it == table().end()) continue;
    for (auto& e : it->second)
      if (e.code == code) return e.name;
  }
  return {};
}

}  // namespace fw
