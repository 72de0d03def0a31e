// The property table (run-time type information): for every reflective class, its name, its base
// class and its published properties, each with a kind, type details and typed accessors. Form
// streaming, the script engine's published properties and the GUI bridge all read classes through
// it. Properties are listed base class first, then in declaration order; names match without
// regard to case (ASCII). Declarations are made with `ClassBuilder` (see persistent.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/rt/method.h"
#include "platform/rt/name_index.h"
#include "platform/rt/utf8.h"
#include "platform/rt/variant.h"

namespace rt {

class TPersistent;
struct ClassInfo;

enum class TypeKind : uint8_t {
  Integer, Char, Enumeration, Float, String, Set, Class, Method, Variant, Interface, Int64,
};
const char* TypeKindName(TypeKind kind);

// Storage width of an ordinal property (integer, char, enumeration, set).
enum class OrdType : uint8_t { S8, U8, S16, U16, S32, U32 };

// An enumeration type: ordinals 0..count-1 with their names. Boolean is the one with the names
// "False" and "True".
class EnumType {
 public:
  EnumType(std::string name, std::vector<std::string> names);

  const std::string& name() const { return name_; }
  int count() const { return int(names_.size()); }
  int maxValue() const { return count() - 1; }
  // Case-insensitive; -1 when the name is unknown.
  int valueOf(std::string_view name) const;
  // Null when the ordinal has no name.
  const std::string* nameOf(int64_t ordinal) const;
  bool isBoolean() const { return boolean_; }

  static const EnumType& Boolean();

 private:
  std::string name_;
  std::vector<std::string> names_;
  std::unordered_map<std::string, int, TextHash, TextEqual> index_;
  bool boolean_ = false;
};

// A set over an enumeration: bit i stands for ordinal i; 1, 2 or 4 bytes wide.
class SetType {
 public:
  SetType(std::string name, const EnumType& element);

  const std::string& name() const { return name_; }
  const EnumType& element() const { return *element_; }
  int byteSize() const { return byteSize_; }
  uint32_t mask() const { return mask_; }
  // Member names in ascending ordinal order joined by "," (empty text for the empty set).
  std::string toText(uint32_t value) const;
  // Reads "[a,b]" or "a, b": blanks and brackets skipped, unknown names ignored.
  uint32_t fromText(std::string_view text) const;

 private:
  std::string name_;
  const EnumType* element_;
  int byteSize_;
  uint32_t mask_;
};

// Identifier names of integer values, for integer properties that form text writes by name
// (colours, cursors, character sets).
class IdentMap {
 public:
  IdentMap(std::string name, std::vector<std::pair<std::string, int32_t>> entries);
  const std::string& name() const { return name_; }
  bool identToInt(std::string_view ident, int32_t& value) const;
  const std::string* intToIdent(int32_t value) const;
  const std::vector<std::pair<std::string, int32_t>>& entries() const { return entries_; }

 private:
  std::string name_;
  std::vector<std::pair<std::string, int32_t>> entries_;
};

// The type of an event property. Identity is the object's address: two event properties take the
// same handlers only when they name the same MethodType.
struct MethodParam {
  std::string name;
  std::string typeName;
  bool byRef = false;
};
struct MethodType {
  std::string name;
  std::vector<MethodParam> params;
};

// One published property.
struct PropInfo {
  std::string name;
  TypeKind kind = TypeKind::Integer;
  OrdType ordType = OrdType::S32;
  const EnumType* enumType = nullptr;      // Enumeration
  const SetType* setType = nullptr;        // Set
  const IdentMap* idents = nullptr;        // Integer, optional
  const ClassInfo* classType = nullptr;    // Class
  const MethodType* methodType = nullptr;  // Method

  // Accessors; only those of the property's kind are set. Ordinal kinds (integer, char,
  // enumeration, set, int64) use getOrd/setOrd.
  std::function<int64_t(const TPersistent*)> getOrd;
  std::function<void(TPersistent*, int64_t)> setOrd;
  std::function<double(const TPersistent*)> getFloat;
  std::function<void(TPersistent*, double)> setFloat;
  std::function<std::string(const TPersistent*)> getString;
  std::function<void(TPersistent*, const std::string&)> setString;
  std::function<TPersistent*(const TPersistent*)> getObject;
  std::function<void(TPersistent*, TPersistent*)> setObject;
  std::function<Method(const TPersistent*)> getMethod;
  std::function<void(TPersistent*, const Method&)> setMethod;
  std::function<Variant(const TPersistent*)> getVariant;
  std::function<void(TPersistent*, const Variant&)> setVariant;
  std::function<ComPtr<IUnknown>(const TPersistent*)> getInterface;
  std::function<void(TPersistent*, const ComPtr<IUnknown>&)> setInterface;

  // Form writing: a property is written when `stored` says so (default: always) and, for ordinal
  // kinds with a default, when its value differs from the default.
  bool hasDefault = false;
  int64_t defaultOrd = 0;
  std::function<bool(const TPersistent*)> stored;

  bool readable() const;
  bool writable() const;
  bool isStored(const TPersistent* object) const { return !stored || stored(object); }
  bool isEvent() const { return kind == TypeKind::Method; }
};

// One reflective class.
struct ClassInfo {
  std::string name;
  const ClassInfo* parent = nullptr;
  // Makes an instance for form streaming and the class registry; null for abstract classes.
  std::function<TPersistent*(TPersistent* owner)> create;

  bool inheritsFrom(const ClassInfo& other) const;
  // All published properties: the base class's first, then this class's in declaration order; a
  // property redeclared here replaces the inherited one in place.
  const std::vector<const PropInfo*>& properties() const { return all_; }
  const std::vector<std::unique_ptr<PropInfo>>& ownProperties() const { return own_; }
  // Case-insensitive lookup; null when absent.
  const PropInfo* findProperty(std::string_view name) const;

  // Called once by the builder, after the own properties are in place.
  void finish();
  PropInfo& addOwn(PropInfo prop);

 private:
  std::vector<std::unique_ptr<PropInfo>> own_;
  std::vector<const PropInfo*> all_;
  NameIndex index_;  // positions in all_
};

// The class registry that form streaming finds classes in by name (case-insensitive).
void RegisterClass(const ClassInfo& cls);
void UnregisterClass(const ClassInfo& cls);
const ClassInfo* FindClass(std::string_view name);

}  // namespace rt
