#include "script/core/hash.h"

#include <algorithm>

namespace engine {

bool TJHash::GetValue(std::string_view name, TJValue& value) const {
  const TJValue* v = table_.FindValue(name);
  if (!v) {
    value.Clear();
    return false;
  }
  value = *v;
  return true;
}

void TJHash::SetValue(std::string_view name, const TJValue& value) {
  if (TJValue* v = table_.FindValue(name)) {
    TJValue old = std::move(*v);  // released after the new value is in place
    *v = value;
    return;
  }
  table_.Put(name, value);
}

void TJHash::RemoveByTypes(TJValueTypes includeTypes, TJValueTypes excludeTypes) {
  if (!includeTypes && !excludeTypes) {
    Clear();
    return;
  }
  std::vector<std::string> keys = table_.KeyList();
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    const TJValue* v = table_.FindValue(*it);
    if (v && Selects(v->ValueType(), includeTypes, excludeTypes)) table_.Remove(*it);
  }
}

void TJHash::GetKeysByTypes(std::vector<std::string>& names, TJValueTypes includeTypes, TJValueTypes excludeTypes) const {
  names.clear();
  table_.ForEach([&](const support::THashItem<TJValue>& item) {
    if (Selects(item.Value.ValueType(), includeTypes, excludeTypes)) names.push_back(item.Key);
  });
}

void SortInTableOrder(std::vector<std::string>& names, uint32_t bucketCount) {
  std::sort(names.begin(), names.end(), [bucketCount](const std::string& a, const std::string& b) {
    uint32_t ba = support::HashOf(a) % bucketCount, bb = support::HashOf(b) % bucketCount;
    return ba != bb ? ba < bb : a < b;
  });
}

}  // namespace engine
