// Published properties seen as script values: listing, reading and writing a property of any
// reflective object by name with the conversions of each property kind, clearing event
// properties, and enumeration and set values as text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/rt/persistent.h"
#include "script/core/value.h"

namespace engine {

class TJBaseEngine;

// Adds, in the class's property order, the names of the event properties (events true) or of
// every other property (events false). `names` is cleared first.
void GetPublishedNames(const rt::TPersistent* object, std::vector<std::string>& names, bool events);
// Reads the property named `name` (case-insensitive) into a script value; false when there is no
// such property, it cannot be read, or its kind has no script form.
bool GetPublishedProperty(rt::TPersistent* object, std::string_view name, TJValue& value, TJBaseEngine* engine);
// The same for a property already looked up in the object's class.
bool GetPublishedProperty(rt::TPersistent* object, const rt::PropInfo& property, TJValue& value,
                          TJBaseEngine* engine);
// Writes the property from a script value; false when there is no such property, it cannot be
// written, or the value does not fit. `eventType` is the type an event value must have.
bool SetPublishedProperty(rt::TPersistent* object, std::string_view name, const TJValue& value,
                          const rt::MethodType* eventType = nullptr);
// The same for a property already looked up in the object's class.
bool SetPublishedProperty(rt::TPersistent* object, const rt::PropInfo& property, const TJValue& value,
                          const rt::MethodType* eventType = nullptr);
// Sets every writable event property to the empty method (read-only ones are skipped).
void ClearEventProperties(rt::TPersistent* object);
std::string SetToText(const rt::SetType& type, uint32_t value);
uint32_t TextToSet(const rt::SetType& type, std::string_view text);
// A number gives its integer value, anything else is looked up by name; true when the ordinal
// belongs to the enumeration.
bool ValueToEnum(const rt::EnumType& type, const TJValue& value, int32_t& ordinal);
// The name of the ordinal as a string value; undefined and false when it has none.
bool EnumToValue(const rt::EnumType& type, TJValue& value, int64_t ordinal);

// The GUI bridge's caster: the one wrapper object of a framework object. Until one is installed,
// class properties holding framework objects are not converted.
using TJCaster = TJObject* (*)(rt::TPersistent* object, TJBaseEngine* engine);
void SetCaster(TJCaster caster);
TJCaster GetCaster();

}  // namespace engine
