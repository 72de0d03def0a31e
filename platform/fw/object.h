// The roots every framework class stands on: the persistent base of the property table, and the
// macros that declare enumerations and sets together with their type descriptions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rt/persistent.h"

namespace fw {

using TPersistent = rt::TPersistent;
// Senders of events are persistent objects (components, collections, graphics objects).
using TObject = rt::TPersistent;

// Names from "a, b, c".
std::vector<std::string> SplitNames(const char* list);

}  // namespace fw

// An enumeration and its type description (found by the property table through enumTypeOf).
#define FW_ENUM(Name, ...)                                                                      \
  enum Name : uint8_t { __VA_ARGS__ };                                                          \
  inline const ::rt::EnumType& enumTypeOf(Name) {                                               \
    static const ::rt::EnumType type(#Name, ::fw::SplitNames(#__VA_ARGS__));                   \
    return type;                                                                                \
  }

// A scoped enumeration, for types whose member names another enumeration already uses.
#define FW_SCOPED_ENUM(Name, ...)                                                               \
  enum class Name : uint8_t { __VA_ARGS__ };                                                    \
  inline const ::rt::EnumType& enumTypeOf(Name) {                                               \
    static const ::rt::EnumType type(#Name, ::fw::SplitNames(#__VA_ARGS__));                   \
    return type;                                                                                \
  }

// A set over an enumeration declared with FW_ENUM.
#define FW_SET(SetName, Element)                                                                \
  using SetName = ::rt::SetOf<Element>;                                                         \
  inline const ::rt::SetType& setTypeOf(SetName) {                                              \
    static const ::rt::SetType type(#SetName, enumTypeOf(Element{}));                           \
    return type;                                                                                \
  }
