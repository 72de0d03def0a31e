// The in-process automation layer: late-bound dispatch interfaces (member names ignoring case),
// variants, enumerators over collections, connection points for events, type information that
// names members and events, and a registry of programmatic identifiers. It keeps the shapes and
// result codes of the automation model scripts were written against; every server lives in this
// process and is registered by the program that offers it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rt/variant.h"

namespace com {

using rt::ComPtr;
using rt::Variant;
using HResult = int32_t;
using DispId = int32_t;

inline constexpr HResult S_OK = 0;
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_NOTIMPL = int32_t(0x80004001u);
inline constexpr HResult E_NOINTERFACE = int32_t(0x80004002u);
inline constexpr HResult E_POINTER = int32_t(0x80004003u);
inline constexpr HResult E_FAIL = int32_t(0x80004005u);
inline constexpr HResult E_INVALIDARG = int32_t(0x80070057u);
inline constexpr HResult DISP_E_MEMBERNOTFOUND = int32_t(0x80020003u);
inline constexpr HResult DISP_E_TYPEMISMATCH = int32_t(0x80020005u);
inline constexpr HResult DISP_E_UNKNOWNNAME = int32_t(0x80020006u);
inline constexpr HResult DISP_E_EXCEPTION = int32_t(0x80020009u);
inline constexpr HResult DISP_E_BADINDEX = int32_t(0x8002000Bu);
inline constexpr HResult DISP_E_BADPARAMCOUNT = int32_t(0x8002000Eu);
inline constexpr HResult REGDB_E_CLASSNOTREG = int32_t(0x80040154u);
inline constexpr HResult CONNECT_E_NOCONNECTION = int32_t(0x80040200u);
inline constexpr HResult TYPE_E_ELEMENTNOTFOUND = int32_t(0x8002802Bu);

inline bool Failed(HResult h) { return h < 0; }
inline bool Succeeded(HResult h) { return h >= 0; }

inline constexpr uint16_t DISPATCH_METHOD = 1;
inline constexpr uint16_t DISPATCH_PROPERTYGET = 2;
inline constexpr uint16_t DISPATCH_PROPERTYPUT = 4;

inline constexpr DispId DISPID_UNKNOWN = -1;
inline constexpr DispId DISPID_VALUE = 0;
inline constexpr DispId DISPID_PROPERTYPUT = -3;
inline constexpr DispId DISPID_NEWENUM = -4;

// The interfaces an object can be asked for.
enum class Iid { Unknown, Dispatch, EnumVariant, ConnectionPointContainer };

// Reference counting for one implementation class: starts at 0, frees itself at the last Release.
template <class Base>
class RefCounted : public Base {
 public:
  uint32_t AddRef() override { return ++refs_; }
  uint32_t Release() override {
    uint32_t left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 private:
  uint32_t refs_ = 0;
};

// The arguments of one invoke: positional arguments last first, then the identifiers of the named
// ones (a property put names its value DISPID_PROPERTYPUT).
struct DispParams {
  std::vector<Variant> args;
  std::vector<DispId> named;
};

class ITypeLib;
class IEnumVARIANT;

// How a member function is invoked, as its type information says.
inline constexpr uint16_t INVOKE_FUNC = 1;
inline constexpr uint16_t INVOKE_PROPERTYGET = 2;
inline constexpr uint16_t INVOKE_PROPERTYPUT = 4;
// A member not meant for scripts (the reserved members such as DISPID_NEWENUM).
inline constexpr uint16_t FUNCFLAG_FRESTRICTED = 1;
inline constexpr uint16_t VARFLAG_FRESTRICTED = 0x80;

struct TypeAttr {
  uint16_t funcCount = 0;
  uint16_t varCount = 0;
};
struct FuncDesc {
  DispId id = DISPID_UNKNOWN;
  uint16_t invokeKind = INVOKE_FUNC;
  int16_t paramCount = 0;  // the value of a property put counts as one
  uint16_t flags = 0;
};
struct VarDesc {
  DispId id = DISPID_UNKNOWN;
  uint16_t flags = 0;
};

// Names of members or events by identifier and, where the server describes them, its member
// functions and variables by index (a plain name table describes none: E_NOTIMPL).
class ITypeInfo : public rt::IUnknown {
 public:
  virtual HResult GetDocumentation(DispId id, std::string& name) = 0;
  virtual HResult GetContainingTypeLib(ComPtr<ITypeLib>& lib) = 0;
  virtual HResult GetTypeAttr(TypeAttr& attr) { return E_NOTIMPL; }
  virtual HResult GetFuncDesc(uint32_t index, FuncDesc& desc) { return E_NOTIMPL; }
  virtual HResult GetVarDesc(uint32_t index, VarDesc& desc) { return E_NOTIMPL; }
};

// The names of the properties a type information lists: its variables, then its readable
// properties that need no arguments, restricted members left out, each name once, in the order
// the information gives them. Empty when it describes no members.
std::vector<std::string> PropertyNames(ITypeInfo& info);

// A set of type informations, each under its interface identifier (a text such as "{...}").
class ITypeLib : public rt::IUnknown {
 public:
  virtual HResult GetTypeInfoOfGuid(std::string_view guid, ComPtr<ITypeInfo>& info) = 0;
};

class IDispatch : public rt::IDispatch {
 public:
  IDispatch();
  ~IDispatch() override;
  // The interface `iid` of this object, or null.
  virtual ComPtr<rt::IUnknown> QueryInterface(Iid iid);
  virtual HResult GetTypeInfo(uint32_t index, ComPtr<ITypeInfo>& info) { return E_NOTIMPL; }
  virtual HResult GetIDsOfNames(std::string_view name, DispId& id) = 0;
  virtual HResult Invoke(DispId id, uint16_t flags, DispParams& params, Variant* result) = 0;
};

// Whether the address is a dispatch object of this layer alive now (an address a foreign function
// hands back is trusted only then).
bool IsLiveDispatch(const void* address);

// A dispatch object's own dispatch interface from a value's interface pointer, or null.
IDispatch* AsDispatch(rt::IDispatch* dispatch);
// An enumerator held by an unknown interface (the result of DISPID_NEWENUM), or null.
ComPtr<IEnumVARIANT> AsEnumerator(rt::IUnknown* unknown);

class IEnumVARIANT : public rt::IUnknown {
 public:
  // Fetches up to `count` items: S_OK when all came, S_FALSE when fewer did.
  virtual HResult Next(uint32_t count, Variant* items, uint32_t* fetched) = 0;
  virtual HResult Skip(uint32_t count) = 0;
  virtual HResult Reset() = 0;
};

class IConnectionPoint : public rt::IUnknown {
 public:
  virtual HResult GetConnectionInterface(std::string& guid) = 0;
  virtual HResult Advise(IDispatch* sink, uint32_t& cookie) = 0;
  virtual HResult Unadvise(uint32_t cookie) = 0;
};

class IConnectionPointContainer : public rt::IUnknown {
 public:
  virtual HResult EnumConnectionPoints(std::vector<ComPtr<IConnectionPoint>>& points) = 0;
};

// ---------------------------------------------------------------------------------------------
// Building blocks for servers

// A type library of name tables: each interface identifier holds identifier-to-name pairs.
class TypeLib : public RefCounted<ITypeLib> {
 public:
  void Add(const std::string& guid, std::map<DispId, std::string> names);
  HResult GetTypeInfoOfGuid(std::string_view guid, ComPtr<ITypeInfo>& info) override;

 private:
  std::map<std::string, ComPtr<ITypeInfo>, std::less<>> infos_;
};

// The list of sinks one outgoing interface has, with Fire to call them all.
class ConnectionPoint : public RefCounted<IConnectionPoint> {
 public:
  explicit ConnectionPoint(std::string guid) : guid_(std::move(guid)) {}
  HResult GetConnectionInterface(std::string& guid) override;
  HResult Advise(IDispatch* sink, uint32_t& cookie) override;
  HResult Unadvise(uint32_t cookie) override;
  // Calls every sink's Invoke with the event's identifier and arguments (in declaration order).
  void Fire(DispId id, const std::vector<Variant>& args);
  size_t SinkCount() const { return sinks_.size(); }

 private:
  std::string guid_;
  uint32_t nextCookie_ = 1;
  std::vector<std::pair<uint32_t, ComPtr<IDispatch>>> sinks_;
};

// An enumerator over a snapshot of items.
class VariantEnumerator : public RefCounted<IEnumVARIANT> {
 public:
  explicit VariantEnumerator(std::vector<Variant> items) : items_(std::move(items)) {}
  HResult Next(uint32_t count, Variant* items, uint32_t* fetched) override;
  HResult Skip(uint32_t count) override;
  HResult Reset() override;

 private:
  std::vector<Variant> items_;
  size_t position_ = 0;
};

// A dispatch object described by a table of members. Each member has a name (found ignoring case)
// and an identifier, and any of a getter, a setter and a method; a property get of a member
// without a getter answers DISP_E_MEMBERNOTFOUND, so reading a method's name runs nothing.
class DispatchObject : public RefCounted<IDispatch> {
 public:
  // Arguments in declaration order.
  using Args = std::vector<Variant>;
  using Getter = std::function<HResult(const Args& args, Variant& result)>;
  using Setter = std::function<HResult(const Args& args, const Variant& value)>;
  using Method = std::function<HResult(const Args& args, Variant& result)>;

  // `paramCount`: the arguments a read needs (an index, say); its type information tells it.
  void AddProperty(std::string name, DispId id, Getter get, Setter put = nullptr, int16_t paramCount = 0);
  // A data member: read and written like a property without arguments, described as a variable.
  void AddVariable(std::string name, DispId id, Getter get, Setter put = nullptr);
  void AddMethod(std::string name, DispId id, Method method);
  // Gives the object type information: its members as added (whenever that is), further names by
  // identifier, and the library holding its event interfaces. Without it the object has none.
  void SetTypeInfo(std::string guid, std::map<DispId, std::string> names, ComPtr<TypeLib> lib);
  // The first connection point of the object (its event source).
  void SetConnectionPoint(ComPtr<ConnectionPoint> point) { point_ = std::move(point); }

  ComPtr<rt::IUnknown> QueryInterface(Iid iid) override;
  HResult GetTypeInfo(uint32_t index, ComPtr<ITypeInfo>& info) override;
  HResult GetIDsOfNames(std::string_view name, DispId& id) override;
  HResult Invoke(DispId id, uint16_t flags, DispParams& params, Variant* result) override;

 private:
  struct Member {
    std::string name;
    DispId id;
    Getter get;
    Setter put;
    Method method;
    int16_t paramCount = 0;
    bool variable = false;
  };
  Member* find(DispId id);
  class Container;
  class MemberInfo;

  std::vector<Member> members_;
  bool hasTypeInfo_ = false;
  std::map<DispId, std::string> typeNames_;
  ComPtr<TypeLib> typeLib_;
  ComPtr<ConnectionPoint> point_;
};

// ---------------------------------------------------------------------------------------------
// Programmatic identifiers

using Factory = std::function<ComPtr<IDispatch>()>;

// Registers a factory under a programmatic identifier (compared ignoring case), replacing one
// registered before; Unregister removes it.
void RegisterProgId(const std::string& progId, Factory factory);
void UnregisterProgId(const std::string& progId);
// A new object of the class: REGDB_E_CLASSNOTREG for an unknown identifier, E_FAIL when the
// factory made nothing.
HResult CreateObject(std::string_view progId, ComPtr<IDispatch>& object);

// Variant helpers.
Variant DateVariant(double oleDate);
Variant UnknownVariant(rt::IUnknown* unknown);
Variant DispatchVariant(IDispatch* dispatch);

}  // namespace com
