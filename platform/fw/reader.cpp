#include "platform/fw/reader.h"

#include "platform/fw/collection.h"
#include "platform/fw/component.h"
#include "platform/fw/errors.h"
#include "platform/fw/method_table.h"
#include "platform/rt/utf8.h"

namespace fw {

namespace {
// Marks a message that already names the component and property, so outer levels keep it.
class EPropertyReadError : public EReadError {
 public:
  using EReadError::EReadError;
  const char* className() const override { return "EReadError"; }
};
}  // namespace

void TReader::ReadRootComponent(TComponent* root) {
  ReadSignature();
  itemPosition_ = Stream().Position();
  uint8_t flags;
  int32_t pos;
  ReadPrefix(flags, pos);
  ReadStr();  // the class name: the root exists already
  std::string name = ReadStr();
  root_ = root;
  owner_ = root;
  parent_ = root;
  root->SetLoading(true);
  root->SetReading(true);
  loaded_.clear();
  loadedAlive_.clear();
  fixups_.clear();
  try {
    if (root->Name().empty() && !name.empty()) {
      // A root name that another top-level component or a sibling under the same owner already
      // uses gets a suffix (a second window of one form class is "Form1_1").
      auto taken = [&](const std::string& n) {
        if (FindGlobalComponent)
          if (TComponent* c = FindGlobalComponent(n); c && c != root) return true;
        if (root->Owner())
          if (TComponent* c = root->Owner()->FindComponent(n); c && c != root) return true;
        return false;
      };
      std::string unique = name;
      for (int i = 1; taken(unique); ++i) unique = name + "_" + std::to_string(i);
      root->SetName(unique);
    }
    loaded_.push_back(root);
    loadedAlive_.push_back(root->LivenessToken());
    ReadData(root);
    DoFixupReferences();
  } catch (...) {
    root->SetReading(false);
    for (size_t i = 0; i < loaded_.size(); ++i)
      if (!loadedAlive_[i].expired()) loaded_[i]->SetLoading(false);
    throw;
  }
  for (size_t i = 0; i < loaded_.size(); ++i)
    if (!loadedAlive_[i].expired()) loaded_[i]->SetReading(false);
  // Loaded runs on every component that was read, the root first.
  for (size_t i = 0; i < loaded_.size(); ++i)
    if (!loadedAlive_[i].expired()) loaded_[i]->Loaded();
  loaded_.clear();
  loadedAlive_.clear();
}

void TReader::ReadData(TComponent* instance) {
  while (!EndOfList()) ReadProperty(instance);
  ReadListEnd();
  TComponent* oldOwner = owner_;
  TComponent* oldParent = parent_;
  parent_ = instance->GetChildParent();
  owner_ = instance->GetChildOwner();
  if (!owner_) owner_ = root_;
  try {
    while (!EndOfList()) ReadComponent(nullptr);
    ReadListEnd();
  } catch (...) {
    owner_ = oldOwner;
    parent_ = oldParent;
    throw;
  }
  owner_ = oldOwner;
  parent_ = oldParent;
}

TComponent* TReader::ReadComponent(TComponent* component) {
  if (++depth_ > MaxFilerNesting) {
    depth_ = 0;
    throw EReadError(msg::InvalidImage);
  }
  itemPosition_ = Stream().Position();
  uint8_t flags;
  int32_t position;
  ReadPrefix(flags, position);
  std::string className = ReadStr();
  std::string name = ReadStr();
  TComponent* result = component;
  bool created = false;
  if (!result && (flags & ffInherited) && owner_) result = owner_->FindComponent(name);
  if (!result) {
    const rt::ClassInfo* cls = rt::FindClass(className);
    if (!cls || !cls->create || !cls->inheritsFrom(TComponent::StaticClassInfo()))
      raise<EClassNotFound>(msg::ClassNotFound, {className});
    TPersistent* made = cls->create(owner_);
    result = dynamic_cast<TComponent*>(made);
    if (!result) {
      delete made;
      raise<EClassNotFound>(msg::ClassNotFound, {className});
    }
    created = true;
  }
  auto alive = result->LivenessToken();
  try {
    result->SetLoading(true);
    result->SetReading(true);
    if (!(flags & ffInherited)) result->SetName(name);
    if (parent_) {
      if (flags & ffChildPos) parent_->SetChildOrder(result, position);
      result->SetParentComponent(parent_);
    }
    loaded_.push_back(result);
    loadedAlive_.push_back(alive);
    ReadData(result);
  } catch (...) {
    --depth_;
    if (created && !alive.expired()) {
      for (size_t i = 0; i < loaded_.size(); ++i)
        if (loaded_[i] == result) loadedAlive_[i].reset();
      result->Free();
    }
    throw;
  }
  --depth_;
  return result;
}

void TReader::ReadProperty(TPersistent* instance) {
  itemPosition_ = Stream().Position();
  std::string path = ReadStr();
  try {
    TPersistent* target = instance;
    size_t start = 0;
    for (;;) {
      size_t dot = path.find('.', start);
      std::string segment = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
      if (dot == std::string::npos) {
        const rt::PropInfo* prop = target->ClassType().findProperty(segment);
        if (prop) {
          ReadPropValue(target, *prop);
        } else {
          propName_ = segment;
          if (auto* d = dynamic_cast<IDefinesProperties*>(target)) d->DefineProperties(*this);
          if (!propName_.empty()) {
            std::string missing = propName_;
            propName_.clear();
            raise<EReadError>(msg::PropertyDoesNotExist, {missing});
          }
        }
        break;
      }
      const rt::PropInfo* prop = target->ClassType().findProperty(segment);
      if (!prop) raise<EReadError>(msg::PropertyDoesNotExist, {segment});
      if (prop->kind != rt::TypeKind::Class || !prop->getObject) raise<EReadError>(msg::InvalidPropertyPath);
      TPersistent* sub = prop->getObject(target);
      if (!sub) raise<EReadError>(msg::InvalidPropertyPath);
      target = sub;
      start = dot + 1;
    }
  } catch (const EPropertyReadError&) {
    throw;
  } catch (const rt::Exception& e) {
    auto* c = dynamic_cast<TComponent*>(instance);
    if (!c) throw;
    throw EPropertyReadError(format(msg::ErrorReading, {c->Name() + "." + path, e.message()}));
  }
}

void TReader::DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc&, bool) {
  if (!propName_.empty() && rt::sameText(name, propName_) && readData) {
    propName_.clear();
    readData(*this);
  }
}

void TReader::DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc&, bool) {
  if (!propName_.empty() && rt::sameText(name, propName_) && readData) {
    propName_.clear();
    TStringStream data(ReadBinary());
    readData(data);
  }
}

char TReader::ReadChar() {
  TValueType v = NextValue();
  if (v == vaString || v == vaLString || v == vaWString || v == vaUTF8String) {
    std::string s = ReadString();
    if (s.size() != 1) PropValueError();
    return s[0];
  }
  int32_t code = ReadInteger();
  if (code < 0 || code > 255) PropValueError();
  return char(code);
}

static rt::Variant ReadVariantValue(TReader& r) {
  switch (r.NextValue()) {
    case vaNil:
      r.ReadValue();
      return {};
    case vaNull:
      r.ReadValue();
      return rt::Variant::Null();
    case vaInt8:
    case vaInt16:
    case vaInt32: return rt::Variant::Int(r.ReadInteger());
    case vaInt64: return rt::Variant::Double(double(r.ReadInt64()));
    case vaExtended:
    case vaSingle:
    case vaCurrency:
    case vaDate: return rt::Variant::Double(r.ReadFloat());
    case vaFalse:
    case vaTrue: return rt::Variant::Bool(r.ReadBoolean());
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String: return rt::Variant::Str(r.ReadString());
    default: r.SkipValue(); r.PropValueError();
  }
}

void TReader::ReadPropValue(TPersistent* instance, const rt::PropInfo& prop) {
  using K = rt::TypeKind;
  if (!prop.writable() && prop.kind != K::Class) PropValueError();
  switch (prop.kind) {
    case K::Integer: {
      int64_t v;
      if (NextValue() == vaIdent) {
        std::string ident = ReadIdent();
        int32_t iv;
        if (!prop.idents || !prop.idents->identToInt(ident, iv)) PropValueError();
        v = iv;
      } else {
        v = ReadInteger();
      }
      prop.setOrd(instance, v);
      break;
    }
    case K::Char: prop.setOrd(instance, uint8_t(ReadChar())); break;
    case K::Enumeration: {
      int v = prop.enumType->valueOf(ReadIdent());
      if (v < 0) PropValueError();
      prop.setOrd(instance, v);
      break;
    }
    case K::Set: {
      CheckValue(vaSet);
      uint32_t bits = 0;
      bool bad = false;
      for (;;) {
        std::string e = ReadStr();
        if (e.empty()) break;
        int v = prop.setType->element().valueOf(e);
        if (v < 0 || v >= 32) {
          bad = true;
        } else {
          bits |= 1u << v;
        }
      }
      if (bad) PropValueError();
      prop.setOrd(instance, bits & prop.setType->mask());
      break;
    }
    case K::Float: prop.setFloat(instance, ReadFloat()); break;
    case K::String: prop.setString(instance, ReadString()); break;
    case K::Int64: prop.setOrd(instance, ReadInt64()); break;
    case K::Class: {
      TValueType v = NextValue();
      if (v == vaNil) {
        ReadValue();
        if (!prop.setObject) PropValueError();
        prop.setObject(instance, nullptr);
      } else if (v == vaCollection) {
        ReadValue();
        auto* collection = prop.getObject ? dynamic_cast<TCollection*>(prop.getObject(instance)) : nullptr;
        if (!collection) {
          Stream().Seek(-1, soCurrent);
          SkipValue();
          PropValueError();
        }
        ReadCollection(collection);
      } else {
        std::string name = ReadIdent();
        if (!prop.setObject) PropValueError();
        Fixup f{instance, &prop, name, {}, false};
        if (auto* c = dynamic_cast<TComponent*>(instance)) {
          f.alive = c->LivenessToken();
          f.tracked = true;
        }
        fixups_.push_back(std::move(f));
      }
      break;
    }
    case K::Method: {
      if (NextValue() == vaNil) {
        ReadValue();
        prop.setMethod(instance, rt::Method{});
        break;
      }
      std::string name = ReadIdent();
      rt::Method::Code code = root_ ? FindMethodCode(root_->ClassType(), name) : nullptr;
      if (!code) {
        if (IgnoreUnknownMethods) break;
        PropValueError();
      }
      prop.setMethod(instance, rt::Method{code, static_cast<void*>(root_)});
      break;
    }
    case K::Variant: prop.setVariant(instance, ReadVariantValue(*this)); break;
    case K::Interface:
      SkipValue();
      PropValueError();
  }
}

void TReader::ReadCollection(TCollection* collection) {
  collection->BeginUpdate();
  try {
    if (!EndOfList()) collection->Clear();
    while (!EndOfList()) {
      TValueType v = NextValue();
      if (v == vaInt8 || v == vaInt16 || v == vaInt32) ReadInteger();
      TCollectionItem* item = collection->Add();
      ReadListBegin();
      while (!EndOfList()) ReadProperty(item);
      ReadListEnd();
    }
    ReadListEnd();
  } catch (...) {
    collection->EndUpdate();
    throw;
  }
  collection->EndUpdate();
}

TComponent* TReader::ResolveReference(const std::string& name) const {
  size_t dot = name.find('.');
  if (dot == std::string::npos) {
    if (!root_) return nullptr;
    if (rt::sameText(root_->Name(), name)) return root_;
    return root_->FindComponent(name);
  }
  std::string first = name.substr(0, dot), rest = name.substr(dot + 1);
  TComponent* base = nullptr;
  if (root_ && rt::sameText(root_->Name(), first)) base = root_;
  if (!base && FindGlobalComponent) base = FindGlobalComponent(first);
  if (!base) return nullptr;
  for (size_t start = 0; base;) {
    size_t d = rest.find('.', start);
    base = base->FindComponent(rest.substr(start, d == std::string::npos ? std::string::npos : d - start));
    if (d == std::string::npos) break;
    start = d + 1;
  }
  return base;
}

void TReader::DoFixupReferences() {
  std::vector<Fixup> fixups;
  fixups.swap(fixups_);
  for (auto& f : fixups) {
    if (f.tracked && f.alive.expired()) continue;
    TComponent* target = ResolveReference(f.name);
    // References that find nothing stay unset.
    if (target && target->InheritsFrom(*f.prop->classType)) f.prop->setObject(f.instance, target);
  }
}

}  // namespace fw
