#include "script/core/published.h"

#include <cmath>

#include "script/core/base_engine.h"
#include "script/core/error_table.h"
#include "script/core/exceptions.h"
#include "script/core/object.h"
#include "script/core/vcl_persistent.h"

namespace engine {

namespace {

TJCaster gCaster = nullptr;

// Framework errors raised by accessors reach scripts as "EVCLError".
[[noreturn]] void rethrowAsScriptError(const rt::TPersistent* object, const rt::Exception& e) {
  ThrowError(jeVCL, {object->ClassName(), e.message()});
}

// The name scripts know the object's class by.
std::string scriptClassName(const rt::TPersistent* object) {
  if (auto* scriptObject = dynamic_cast<const TJObject*>(object)) return scriptObject->Name();
  return object->ClassName();
}

template <class F>
auto guarded(const rt::TPersistent* object, const rt::PropInfo& property, F&& f) -> decltype(f()) {
  try {
    return f();
  } catch (const EJException&) {
    throw;
  } catch (const rt::Exception& e) {
    rethrowAsScriptError(object, e);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    RaiseNativeFailure(scriptClassName(object), property.name, e);
  }
}

int32_t ordinalToInteger(const rt::PropInfo& p, int64_t ord) {
  return int32_t(uint32_t(uint64_t(ord)));
}

bool readProperty(rt::TPersistent* object, const rt::PropInfo& p, TJValue& value, TJBaseEngine* engine) {
  switch (p.kind) {
    case rt::TypeKind::Integer:
    case rt::TypeKind::Char:
      value.SetInteger(ordinalToInteger(p, p.getOrd(object)));
      return true;
    case rt::TypeKind::Enumeration: {
      int64_t ord = p.getOrd(object);
      EnumToValue(*p.enumType, value, ord);
      if (value.ValueType() == vtString) {
        std::string_view n = value.vString();
        if (rt::sameText(n, "True")) value.SetBool(true);
        else if (rt::sameText(n, "False")) value.SetBool(false);
      }
      return true;
    }
    case rt::TypeKind::Float: value.SetDouble(p.getFloat(object)); return true;
    case rt::TypeKind::String: value.SetString(p.getString(object)); return true;
    case rt::TypeKind::Set: value.SetString(SetToText(*p.setType, uint32_t(p.getOrd(object)))); return true;
    case rt::TypeKind::Class: {
      rt::TPersistent* o = p.getObject(object);
      if (!o) {
        value.SetNull();
        return true;
      }
      if (auto* script = dynamic_cast<TJObject*>(o)) {
        value.SetObject(script);
        return true;
      }
      TJObject* wrapper = gCaster ? gCaster(o, engine) : nullptr;
      if (!wrapper) return false;
      value.SetObject(wrapper);
      return true;
    }
    case rt::TypeKind::Method: value.SetEvent(p.getMethod(object)); return true;
    case rt::TypeKind::Variant: VariantToValue(p.getVariant(object), nullptr, value); return true;
    case rt::TypeKind::Interface: {
      rt::ComPtr<rt::IUnknown> unk = p.getInterface(object);
      value.SetDispatch(dynamic_cast<rt::IDispatch*>(unk.get()));
      return true;
    }
    case rt::TypeKind::Int64: value.SetDouble(double(p.getOrd(object))); return true;
  }
  return false;
}

bool writeSet(rt::TPersistent* object, const rt::PropInfo& p, const TJValue& value) {
  std::string text;
  if (IsString(&value)) {
    text = AsString(&value);
  } else if (TJObject* o = value.vObject()) {
    const rt::EnumType& element = p.setType->element();
    for (int i = 0; i < element.count(); ++i) {
      TJValue member;
      if (o->GetValue(*element.nameOf(i), member, nullptr) && AsBool(&member)) {
        if (!text.empty()) text += ',';
        text += *element.nameOf(i);
      }
    }
  } else {
    return false;
  }
  if (text.empty()) return false;
  p.setOrd(object, TextToSet(*p.setType, text));
  return true;
}

bool writeClass(rt::TPersistent* object, const rt::PropInfo& p, const TJValue& value) {
  if (value.ValueType() == vtNull) {
    p.setObject(object, nullptr);
    return true;
  }
  TJObject* o = value.vObject();
  if (!o) return false;
  if (auto* wrapper = dynamic_cast<TJVCLPersistent*>(o)) {
    rt::TPersistent* vcl = wrapper->VCL();
    if (vcl && vcl->InheritsFrom(*p.classType)) {
      p.setObject(object, vcl);
      return true;
    }
  }
  // A script object fits only a property of its own class or a base of it.
  if (p.classType->inheritsFrom(TJObject::StaticClassInfo()) && o->InheritsFrom(*p.classType)) {
    p.setObject(object, o);
    return true;
  }
  return false;
}

bool writeProperty(rt::TPersistent* object, const rt::PropInfo& p, const TJValue& value, const rt::MethodType* eventType) {
  switch (p.kind) {
    case rt::TypeKind::Integer: p.setOrd(object, AsInteger(&value)); return true;
    case rt::TypeKind::Char: p.setOrd(object, AsChar(&value) & 0xFF); return true;
    case rt::TypeKind::Enumeration: {
      int32_t ord;
      if (!ValueToEnum(*p.enumType, value, ord)) return false;
      p.setOrd(object, ord);
      return true;
    }
    case rt::TypeKind::Float: p.setFloat(object, AsDouble(&value)); return true;
    case rt::TypeKind::String: p.setString(object, AsString(&value)); return true;
    case rt::TypeKind::Set: return writeSet(object, p, value);
    case rt::TypeKind::Class: return writeClass(object, p, value);
    case rt::TypeKind::Method:
      if (value.ValueType() == vtEvent && eventType && eventType == p.methodType) {
        p.setMethod(object, value.vEvent());
        return true;
      }
      if (value.ValueType() == vtNull) {
        p.setMethod(object, rt::Method{});
        return true;
      }
      return false;
    case rt::TypeKind::Variant: {
      rt::Variant v;
      ValueToVariant(value, v);
      p.setVariant(object, v);
      return true;
    }
    case rt::TypeKind::Interface: {
      rt::IDispatch* d = value.vDispatch();
      if (!d && IsKnownClass(value.vObject(), TJKnownClass::ActiveX)) {
        TJValue inner;
        value.vObject()->ValueOf(inner);
        d = inner.vDispatch();
      }
      if (!d) return false;
      p.setInterface(object, rt::ComPtr<rt::IUnknown>(d));
      return true;
    }
    case rt::TypeKind::Int64: {
      double d = std::trunc(AsDouble(&value));
      int64_t i = d >= 9.2233720368547758e18 ? INT64_MAX : d <= -9.2233720368547758e18 ? INT64_MIN : int64_t(d);
      p.setOrd(object, i);
      return true;
    }
  }
  return false;
}

}  // namespace

void SetCaster(TJCaster caster) { gCaster = caster; }
TJCaster GetCaster() { return gCaster; }

void GetPublishedNames(const rt::TPersistent* object, std::vector<std::string>& names, bool events) {
  names.clear();
  if (!object) return;
  for (const rt::PropInfo* p : object->ClassType().properties())
    if (p->isEvent() == events) names.push_back(p->name);
}

bool GetPublishedProperty(rt::TPersistent* object, std::string_view name, TJValue& value, TJBaseEngine* engine) {
  if (!object) return false;
  const rt::PropInfo* p = object->ClassType().findProperty(name);
  return p && GetPublishedProperty(object, *p, value, engine);
}

bool GetPublishedProperty(rt::TPersistent* object, const rt::PropInfo& property, TJValue& value,
                          TJBaseEngine* engine) {
  if (!object || !property.readable()) return false;
  TJValue out;
  if (!guarded(object, property, [&] { return readProperty(object, property, out, engine); })) return false;
  value = std::move(out);
  return true;
}

bool SetPublishedProperty(rt::TPersistent* object, std::string_view name, const TJValue& value,
                          const rt::MethodType* eventType) {
  if (!object) return false;
  const rt::PropInfo* p = object->ClassType().findProperty(name);
  return p && SetPublishedProperty(object, *p, value, eventType);
}

bool SetPublishedProperty(rt::TPersistent* object, const rt::PropInfo& property, const TJValue& value,
                          const rt::MethodType* eventType) {
  if (!object || !property.writable()) return false;
  return guarded(object, property, [&] { return writeProperty(object, property, value, eventType); });
}

void ClearEventProperties(rt::TPersistent* object) {
  if (!object) return;
  for (const rt::PropInfo* p : object->ClassType().properties()) {
    if (!p->isEvent() || !p->writable()) continue;
    try {
      p->setMethod(object, rt::Method{});
    } catch (...) {
    }
  }
}

std::string SetToText(const rt::SetType& type, uint32_t value) { return type.toText(value); }

uint32_t TextToSet(const rt::SetType& type, std::string_view text) { return type.fromText(text); }

bool ValueToEnum(const rt::EnumType& type, const TJValue& value, int32_t& ordinal) {
  ordinal = IsNumeric(&value) ? AsInteger(&value) : type.valueOf(AsString(&value));
  return ordinal >= 0 && ordinal <= type.maxValue();
}

bool EnumToValue(const rt::EnumType& type, TJValue& value, int64_t ordinal) {
  const std::string* name = type.nameOf(ordinal);
  if (!name) {
    value.Clear();
    return false;
  }
  value.SetString(*name);
  return true;
}

}  // namespace engine
