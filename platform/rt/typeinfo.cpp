#include "platform/rt/typeinfo.h"

#include <map>

#include "platform/rt/exception.h"

namespace rt {

const char* TypeKindName(TypeKind kind) {
  static const char* const names[] = {"Integer", "Char",   "Enumeration", "Float",     "String", "Set",
                                      "Class",   "Method", "Variant",     "Interface", "Int64"};
  return names[int(kind)];
}

EnumType::EnumType(std::string name, std::vector<std::string> names)
    : name_(std::move(name)), names_(std::move(names)) {
  for (int i = 0; i < count(); ++i) index_.emplace(names_[i], i);  // the first of equal names wins
  boolean_ = names_.size() == 2 && names_[0] == "False" && names_[1] == "True";
}

int EnumType::valueOf(std::string_view name) const {
  auto it = index_.find(name);
  return it == index_.end() ? -1 : it->second;
}

const std::string* EnumType::nameOf(int64_t ordinal) const {
  if (ordinal < 0 || ordinal >= count()) return nullptr;
  return &names_[size_t(ordinal)];
}

const EnumType& EnumType::Boolean() {
  static const EnumType type("Boolean", {"False", "True"});
  return type;
}

SetType::SetType(std::string name, const EnumType& element) : name_(std::move(name)), element_(&element) {
  int n = element.count();
  if (n > 32) throw Exception("set type " + name_ + " has more than 32 members");
  byteSize_ = n <= 8 ? 1 : n <= 16 ? 2 : 4;
  mask_ = n == 32 ? 0xFFFFFFFFu : ((1u << n) - 1);
}

std::string SetType::toText(uint32_t value) const {
  std::string out;
  for (int i = 0; i < element_->count(); ++i) {
    if (!((value >> i) & 1u)) continue;
    if (!out.empty()) out += ',';
    out += *element_->nameOf(i);
  }
  return out;
}

uint32_t SetType::fromText(std::string_view text) const {
  uint32_t bits = 0;
  size_t i = 0;
  auto isSep = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '[' || c == ']' || c == ','; };
  while (i < text.size()) {
    while (i < text.size() && isSep(text[i])) ++i;
    size_t start = i;
    while (i < text.size() && !isSep(text[i])) ++i;
    if (i > start) {
      int ord = element_->valueOf(text.substr(start, i - start));
      if (ord >= 0) bits |= 1u << ord;
    }
  }
  return bits;
}

IdentMap::IdentMap(std::string name, std::vector<std::pair<std::string, int32_t>> entries)
    : name_(std::move(name)), entries_(std::move(entries)) {}

bool IdentMap::identToInt(std::string_view ident, int32_t& value) const {
  for (const auto& [n, v] : entries_) {
    if (sameText(n, ident)) {
      value = v;
      return true;
    }
  }
  return false;
}

const std::string* IdentMap::intToIdent(int32_t value) const {
  for (const auto& e : entries_)
    if (e.second == value) return &e.first;
  return nullptr;
}

bool PropInfo::readable() const {
  switch (kind) {
    case TypeKind::Integer: case TypeKind::Char: case TypeKind::Enumeration: case TypeKind::Set:
    case TypeKind::Int64: return bool(getOrd);
    case TypeKind::Float: return bool(getFloat);
    case TypeKind::String: return bool(getString);
    case TypeKind::Class: return bool(getObject);
    case TypeKind::Method: return bool(getMethod);
    case TypeKind::Variant: return bool(getVariant);
    case TypeKind::Interface: return bool(getInterface);
  }
  return false;
}

bool PropInfo::writable() const {
  switch (kind) {
    case TypeKind::Integer: case TypeKind::Char: case TypeKind::Enumeration: case TypeKind::Set:
    case TypeKind::Int64: return bool(setOrd);
    case TypeKind::Float: return bool(setFloat);
    case TypeKind::String: return bool(setString);
    case TypeKind::Class: return bool(setObject);
    case TypeKind::Method: return bool(setMethod);
    case TypeKind::Variant: return bool(setVariant);
    case TypeKind::Interface: return bool(setInterface);
  }
  return false;
}

bool ClassInfo::inheritsFrom(const ClassInfo& other) const {
  for (const ClassInfo* c = this; c; c = c->parent)
    if (c == &other) return true;
  return false;
}

const PropInfo* ClassInfo::findProperty(std::string_view name) const {
  const int i = index_.find(name);
  return i < 0 ? nullptr : all_[size_t(i)];
}

PropInfo& ClassInfo::addOwn(PropInfo prop) {
  own_.push_back(std::make_unique<PropInfo>(std::move(prop)));
  return *own_.back();
}

void ClassInfo::finish() {
  all_.clear();
  if (parent) all_ = parent->properties();
  for (const auto& p : own_) {
    bool replaced = false;
    for (auto& q : all_) {
      if (sameText(q->name, p->name)) {
        q = p.get();
        replaced = true;
        break;
      }
    }
    if (!replaced) all_.push_back(p.get());
  }
  std::vector<std::string_view> names;
  names.reserve(all_.size());
  for (const PropInfo* p : all_) names.push_back(p->name);
  index_ = NameIndex(std::move(names));
}

namespace {
std::map<std::string, const ClassInfo*, std::less<>>& registry() {
  static std::map<std::string, const ClassInfo*, std::less<>> classes;
  return classes;
}
}  // namespace

void RegisterClass(const ClassInfo& cls) { registry()[lowerCase(cls.name)] = &cls; }

void UnregisterClass(const ClassInfo& cls) {
  auto it = registry().find(lowerCase(cls.name));
  if (it != registry().end() && it->second == &cls) registry().erase(it);
}

const ClassInfo* FindClass(std::string_view name) {
  auto it = registry().find(lowerCase(name));
  return it == registry().end() ? nullptr : it->second;
}

}  // namespace rt
