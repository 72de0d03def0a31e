#include "platform/fw/writer.h"

#include "platform/fw/collection.h"
#include "platform/fw/component.h"
#include "platform/fw/errors.h"
#include "platform/fw/method_table.h"

namespace fw {

void TWriter::WriteDescendent(TComponent* root) {
  root_ = root;
  WriteSignature();
  WriteComponent(root);
}

void TWriter::WriteComponent(TComponent* component) {
  component->SetWriting(true);
  try {
    WritePrefix(0, 0);
    WriteStr(component->ClassName());
    WriteStr(component->Name());
    WriteProperties(component);
    WriteListEnd();
    component->GetChildren([this](TComponent* child) { WriteComponent(child); }, root_);
    WriteListEnd();
  } catch (...) {
    component->SetWriting(false);
    throw;
  }
  component->SetWriting(false);
}

void TWriter::WriteProperties(TPersistent* instance) {
  for (const rt::PropInfo* prop : instance->ClassType().properties())
    if (prop->readable() && prop->isStored(instance)) WriteProperty(instance, *prop);
  if (auto* d = dynamic_cast<IDefinesProperties*>(instance)) d->DefineProperties(*this);
}

std::string TWriter::ReferenceName(TComponent* target) const {
  if (target == root_) return target->Name();
  if (target->Owner() && target->Owner() != root_) {
    if (target->Owner()->Name().empty()) return {};
    return target->Owner()->Name() + "." + target->Name();
  }
  return target->Name();
}

void TWriter::WriteProperty(TPersistent* instance, const rt::PropInfo& prop) {
  using K = rt::TypeKind;
  std::string name = propPath_ + prop.name;
  switch (prop.kind) {
    case K::Integer:
    case K::Char:
    case K::Enumeration:
    case K::Set: {
      if (!prop.writable()) return;
      int64_t v = prop.getOrd(instance);
      if (prop.hasDefault && v == prop.defaultOrd) return;
      if (prop.kind == K::Enumeration && !prop.enumType->nameOf(v)) return;
      WriteStr(name);
      if (prop.kind == K::Integer) {
        const std::string* ident = prop.idents ? prop.idents->intToIdent(int32_t(v)) : nullptr;
        if (ident) {
          WriteIdent(*ident);
        } else {
          WriteInteger(int32_t(v));
        }
      } else if (prop.kind == K::Char) {
        WriteChar(char(v));
      } else if (prop.kind == K::Enumeration) {
        WriteIdent(*prop.enumType->nameOf(v));
      } else {
        WriteValue(vaSet);
        for (int i = 0; i < prop.setType->element().count() && i < 32; ++i)
          if ((uint64_t(v) >> i) & 1) WriteStr(*prop.setType->element().nameOf(i));
        WriteStr("");
      }
      return;
    }
    case K::Int64: {
      if (!prop.writable()) return;
      int64_t v = prop.getOrd(instance);
      if (v == (prop.hasDefault ? prop.defaultOrd : 0)) return;
      WriteStr(name);
      WriteValue(vaInt64);
      WriteInt64Raw(v);
      return;
    }
    case K::Float: {
      if (!prop.writable()) return;
      double v = prop.getFloat(instance);
      if (v == 0) return;
      WriteStr(name);
      WriteFloat(v);
      return;
    }
    case K::String: {
      if (!prop.writable()) return;
      std::string v = prop.getString(instance);
      if (v.empty()) return;
      WriteStr(name);
      WriteString(v);
      return;
    }
    case K::Class: {
      TPersistent* obj = prop.getObject(instance);
      if (!obj) return;
      auto* component = dynamic_cast<TComponent*>(obj);
      // A named component is a reference, also when the instance owns it (a form's menu or active
      // control); only an unnamed one it owns is a part of it.
      if (component && prop.setObject && (component->Owner() != instance || !component->Name().empty())) {
        std::string ref = component->Name().empty() ? std::string() : ReferenceName(component);
        if (ref.empty()) return;
        WriteStr(name);
        WriteIdent(ref);
        return;
      }
      if (auto* collection = dynamic_cast<TCollection*>(obj)) {
        WriteStr(name);
        WriteCollection(collection);
        return;
      }
      if (component) return;  // a component of its own: written as a child, not here
      std::string saved = propPath_;
      propPath_ = name + ".";
      try {
        WriteProperties(obj);
      } catch (...) {
        propPath_ = saved;
        throw;
      }
      propPath_ = saved;
      return;
    }
    case K::Method: {
      if (!prop.writable() || !root_) return;
      rt::Method m = prop.getMethod(instance);
      if (!m || m.data != static_cast<void*>(root_)) return;
      std::string method = FindMethodName(root_->ClassType(), m.code);
      if (method.empty()) return;
      WriteStr(name);
      WriteIdent(method);
      return;
    }
    case K::Variant: {
      if (!prop.writable()) return;
      rt::Variant v = prop.getVariant(instance);
      switch (v.vt) {
        case rt::VT_EMPTY: return;
        case rt::VT_NULL: WriteStr(name); WriteValue(vaNull); return;
        case rt::VT_I2:
        case rt::VT_I4:
        case rt::VT_UI1: WriteStr(name); WriteInteger(v.intVal); return;
        case rt::VT_R4:
        case rt::VT_R8:
        case rt::VT_DATE:
        case rt::VT_CY: WriteStr(name); WriteFloat(v.dblVal); return;
        case rt::VT_BOOL: WriteStr(name); WriteBoolean(v.boolVal); return;
        case rt::VT_BSTR:
        case rt::VT_STRING: WriteStr(name); WriteString(v.text); return;
        default: return;
      }
    }
    case K::Interface: return;
  }
}

void TWriter::WriteCollection(TCollection* collection) {
  WriteValue(vaCollection);
  std::string saved = propPath_;
  propPath_.clear();
  try {
    for (int i = 0; i < collection->Count(); ++i) {
      WriteListBegin();
      WriteProperties(collection->Items(i));
      WriteListEnd();
    }
  } catch (...) {
    propPath_ = saved;
    throw;
  }
  propPath_ = saved;
  WriteListEnd();
}

void TWriter::DefineProperty(const std::string& name, const TReaderProc&, const TWriterProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  WriteStr(propPath_ + name);
  writeData(*this);
}

void TWriter::DefineBinaryProperty(const std::string& name, const TStreamProc&, const TStreamProc& writeData,
                                   bool hasData) {
  if (!hasData || !writeData) return;
  TStringStream data;
  writeData(data);
  WriteStr(propPath_ + name);
  WriteBinary(data.DataString());
}

}  // namespace fw
