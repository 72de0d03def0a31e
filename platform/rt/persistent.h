// The root of every class with published properties, and the builder that declares them.
//
//   class TTimer : public fw::TComponent {
//     RT_CLASS(TTimer)
//    public:
//     int32_t Interval() const; void setInterval(int32_t);
//   };
//   const rt::ClassInfo& TTimer::StaticClassInfo() {
//     static const rt::ClassInfo& info = rt::ClassBuilder<TTimer>("TTimer", &TComponent::StaticClassInfo())
//         .property("Enabled", &TTimer::Enabled, &TTimer::setEnabled).defaultValue(true)
//         .property("Interval", &TTimer::Interval, &TTimer::setInterval).defaultValue(1000)
//         .event("OnTimer", NotifyEventType(), &TTimer::FOnTimer)
//         .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TTimer(owner); })
//         .build();
//     return info;
//   }
//
// The value type of the accessors picks the kind: bool is the Boolean enumeration; char a
// character; 8/16/32-bit integers integer; int64_t 64-bit integer; float and double float;
// std::string string; a pointer to a TPersistent descendant class; an enum type E an enumeration
// (found through `enumTypeOf(E)` by argument-dependent lookup); `SetOf<E>` a set (through
// `setTypeOf(SetOf<E>)`); Variant variant; ComPtr<IUnknown> interface. Event properties name
// their MethodType explicitly.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "platform/rt/exception.h"
#include "platform/rt/typeinfo.h"

namespace rt {

#define RT_CLASS(Class)                                                               \
 public:                                                                              \
  static const ::rt::ClassInfo& StaticClassInfo();                                    \
  const ::rt::ClassInfo& ClassType() const override { return StaticClassInfo(); }    \
                                                                                      \
 private:

class TPersistent {
 public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;
  virtual ~TPersistent() = default;

  static const ClassInfo& StaticClassInfo();
  virtual const ClassInfo& ClassType() const { return StaticClassInfo(); }
  const std::string& ClassName() const { return ClassType().name; }
  bool InheritsFrom(const ClassInfo& cls) const { return ClassType().inheritsFrom(cls); }

  // Copies `source` into this object; the base asks the source (AssignTo), which refuses with
  // EConvertError "Cannot assign a <source class> to a <this class>".
  virtual void Assign(const TPersistent* source);
  virtual TPersistent* GetOwner() const { return nullptr; }

 protected:
  virtual void AssignTo(TPersistent* dest) const;
};

// A set value over the enumeration E (bit i = ordinal i).
template <class E>
struct SetOf {
  uint32_t bits = 0;
  SetOf() = default;
  explicit SetOf(uint32_t b) : bits(b) {}
  SetOf(std::initializer_list<E> members) { for (E e : members) bits |= 1u << int(e); }
  bool has(E e) const { return (bits >> int(e)) & 1u; }
  SetOf& include(E e) { bits |= 1u << int(e); return *this; }
  SetOf& exclude(E e) { bits &= ~(1u << int(e)); return *this; }
  friend bool operator==(SetOf a, SetOf b) { return a.bits == b.bits; }
};

namespace typeinfo_detail {

template <class V> struct IsSetOf : std::false_type {};
template <class E> struct IsSetOf<SetOf<E>> : std::true_type {};
template <class V> struct IsEvent : std::false_type {};
template <class S> struct IsEvent<Event<S>> : std::true_type {};

template <class V>
void describe(PropInfo& p) {
  if constexpr (std::is_same_v<V, bool>) {
    p.kind = TypeKind::Enumeration; p.ordType = OrdType::U8; p.enumType = &EnumType::Boolean();
  } else if constexpr (std::is_same_v<V, char>) {
    p.kind = TypeKind::Char; p.ordType = OrdType::U8;
  } else if constexpr (std::is_same_v<V, int64_t> || std::is_same_v<V, uint64_t>) {
    p.kind = TypeKind::Int64;
  } else if constexpr (std::is_integral_v<V>) {
    static_assert(sizeof(V) <= 4);
    p.kind = TypeKind::Integer;
    constexpr bool s = std::is_signed_v<V>;
    p.ordType = sizeof(V) == 1 ? (s ? OrdType::S8 : OrdType::U8)
              : sizeof(V) == 2 ? (s ? OrdType::S16 : OrdType::U16)
                               : (s ? OrdType::S32 : OrdType::U32);
  } else if constexpr (std::is_floating_point_v<V>) {
    p.kind = TypeKind::Float;
  } else if constexpr (std::is_same_v<V, std::string>) {
    p.kind = TypeKind::String;
  } else if constexpr (std::is_enum_v<V>) {
    p.kind = TypeKind::Enumeration; p.ordType = OrdType::U8; p.enumType = &enumTypeOf(V{});
  } else if constexpr (IsSetOf<V>::value) {
    p.kind = TypeKind::Set; p.setType = &setTypeOf(V{});
    p.ordType = p.setType->byteSize() == 1 ? OrdType::U8 : p.setType->byteSize() == 2 ? OrdType::U16 : OrdType::U32;
  } else if constexpr (std::is_pointer_v<V>) {
    using C = std::remove_const_t<std::remove_pointer_t<V>>;
    static_assert(std::is_base_of_v<TPersistent, C>, "class properties hold TPersistent descendants");
    p.kind = TypeKind::Class; p.classType = &C::StaticClassInfo();
  } else if constexpr (std::is_same_v<V, Variant>) {
    p.kind = TypeKind::Variant;
  } else if constexpr (std::is_same_v<V, ComPtr<IUnknown>>) {
    p.kind = TypeKind::Interface;
  } else {
    static_assert(sizeof(V) == 0, "no property kind for this value type");
  }
}

template <class T, class V>
void install(PropInfo& p, std::function<V(const T*)> get, std::function<void(T*, V)> set) {
  auto self = [](const TPersistent* o) { return static_cast<const T*>(o); };
  auto mself = [](TPersistent* o) { return static_cast<T*>(o); };
  if constexpr (std::is_same_v<V, bool> || std::is_same_v<V, char> || std::is_integral_v<V> || std::is_enum_v<V>) {
    if (get) p.getOrd = [get, self](const TPersistent* o) { return int64_t(get(self(o))); };
    if (set) p.setOrd = [set, mself](TPersistent* o, int64_t v) { set(mself(o), V(v)); };
  } else if constexpr (IsSetOf<V>::value) {
    if (get) p.getOrd = [get, self](const TPersistent* o) { return int64_t(get(self(o)).bits); };
    if (set) p.setOrd = [set, mself](TPersistent* o, int64_t v) { set(mself(o), V(uint32_t(v))); };
  } else if constexpr (std::is_floating_point_v<V>) {
    if (get) p.getFloat = [get, self](const TPersistent* o) { return double(get(self(o))); };
    if (set) p.setFloat = [set, mself](TPersistent* o, double v) { set(mself(o), V(v)); };
  } else if constexpr (std::is_same_v<V, std::string>) {
    if (get) p.getString = [get, self](const TPersistent* o) { return get(self(o)); };
    if (set) p.setString = [set, mself](TPersistent* o, const std::string& v) { set(mself(o), v); };
  } else if constexpr (std::is_pointer_v<V>) {
    using C = std::remove_const_t<std::remove_pointer_t<V>>;
    if (get) p.getObject = [get, self](const TPersistent* o) -> TPersistent* { return const_cast<C*>(get(self(o))); };
    if (set) p.setObject = [set, mself](TPersistent* o, TPersistent* v) { set(mself(o), static_cast<C*>(v)); };
  } else if constexpr (std::is_same_v<V, Variant>) {
    if (get) p.getVariant = [get, self](const TPersistent* o) { return get(self(o)); };
    if (set) p.setVariant = [set, mself](TPersistent* o, const Variant& v) { set(mself(o), v); };
  } else if constexpr (std::is_same_v<V, ComPtr<IUnknown>>) {
    if (get) p.getInterface = [get, self](const TPersistent* o) { return get(self(o)); };
    if (set) p.setInterface = [set, mself](TPersistent* o, const ComPtr<IUnknown>& v) { set(mself(o), v); };
  }
}

}  // namespace typeinfo_detail

template <class T>
class ClassBuilder {
 public:
  ClassBuilder(std::string name, const ClassInfo* parent) : info_(new ClassInfo) {
    info_->name = std::move(name);
    info_->parent = parent;
  }

  // Read-write or read-only property through member functions.
  // The accessors may belong to T or to one of its bases.
  template <class C, class V, class S = V>
  ClassBuilder& property(std::string name, V (C::*get)() const, void (C::*set)(S) = nullptr) {
    static_assert(std::is_base_of_v<C, T>);
    using D = std::decay_t<V>;
    std::function<void(T*, D)> setter;
    if (set) setter = [set](T* o, D v) { (static_cast<C*>(o)->*set)(std::move(v)); };
    return add<D>(std::move(name), [get](const T* o) -> D { return (static_cast<const C*>(o)->*get)(); }, setter);
  }
  // Write-only property.
  template <class C, class S>
  ClassBuilder& writeOnly(std::string name, void (C::*set)(S)) {
    static_assert(std::is_base_of_v<C, T>);
    using D = std::decay_t<S>;
    return add<D>(std::move(name), nullptr, [set](T* o, D v) { (static_cast<C*>(o)->*set)(std::move(v)); });
  }
  // Property kept in a field, read and written directly.
  template <class C, class V>
    requires(!std::is_function_v<V>)
  ClassBuilder& property(std::string name, V C::*field) {
    static_assert(std::is_base_of_v<C, T>);
    static_assert(!typeinfo_detail::IsEvent<V>::value, "use event() for event fields");
    return add<V>(std::move(name), [field](const T* o) -> V { return static_cast<const C*>(o)->*field; },
                  [field](T* o, V v) { static_cast<C*>(o)->*field = std::move(v); });
  }
  // Integer property with identifier names for form text.
  template <class C, class V, class S = V>
  ClassBuilder& integer(std::string name, const IdentMap& idents, V (C::*get)() const, void (C::*set)(S) = nullptr) {
    property(std::move(name), get, set);
    last().idents = &idents;
    return *this;
  }
  // Event property kept in an Event<Sig> field.
  template <class C, class Sig>
  ClassBuilder& event(std::string name, const MethodType& type, Event<Sig> C::*field) {
    static_assert(std::is_base_of_v<C, T>);
    PropInfo& p = begin(std::move(name));
    p.kind = TypeKind::Method;
    p.methodType = &type;
    p.getMethod = [field](const TPersistent* o) { return (static_cast<const C*>(static_cast<const T*>(o))->*field).toMethod(); };
    p.setMethod = [field](TPersistent* o, const Method& m) {
      static_cast<C*>(static_cast<T*>(o))->*field = Event<Sig>::fromMethod(m);
    };
    return *this;
  }
  // Event property through accessors of the untyped pair.
  template <class C>
  ClassBuilder& event(std::string name, const MethodType& type, Method (C::*get)() const,
                      void (C::*set)(const Method&) = nullptr) {
    static_assert(std::is_base_of_v<C, T>);
    PropInfo& p = begin(std::move(name));
    p.kind = TypeKind::Method;
    p.methodType = &type;
    p.getMethod = [get](const TPersistent* o) { return (static_cast<const C*>(static_cast<const T*>(o))->*get)(); };
    if (set) p.setMethod = [set](TPersistent* o, const Method& m) { (static_cast<C*>(static_cast<T*>(o))->*set)(m); };
    return *this;
  }

  // Modifiers of the property declared last.
  ClassBuilder& defaultValue(int64_t value) { last().hasDefault = true; last().defaultOrd = value; return *this; }
  ClassBuilder& stored(std::function<bool(const T*)> pred) {
    last().stored = [pred](const TPersistent* o) { return pred(static_cast<const T*>(o)); };
    return *this;
  }
  ClassBuilder& notStored() { last().stored = [](const TPersistent*) { return false; }; return *this; }

  ClassBuilder& create(std::function<TPersistent*(TPersistent* owner)> fn) { info_->create = std::move(fn); return *this; }

  // The finished class; it lives as long as the process.
  const ClassInfo& build() {
    info_->finish();
    return *info_.release();
  }

 private:
  PropInfo& begin(std::string name) {
    PropInfo p;
    p.name = std::move(name);
    return info_->addOwn(std::move(p));
  }
  PropInfo& last() { return *info_->ownProperties().back(); }

  template <class V>
  ClassBuilder& add(std::string name, std::function<V(const T*)> get, std::function<void(T*, V)> set) {
    PropInfo& p = begin(std::move(name));
    typeinfo_detail::describe<V>(p);
    typeinfo_detail::install<T, V>(p, std::move(get), std::move(set));
    return *this;
  }

  std::unique_ptr<ClassInfo> info_;
};

}  // namespace rt
