// The script classes "ActiveXObject" and "Enumerator": automation objects driven by name, and walks
// over their collections. An ActiveXObject reads a member as a property first and, when the
// server refuses that, as a method (a function value that invokes it); member identifiers are
// cached by name. A property read that gives an object remembers where it came from, so that
// bracket access on it reaches the parent's parameterised property. With an event prefix, the
// server's events call the script functions named prefix + event name.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/com/automation.h"
#include "script/core/object.h"
#include "script/core/value.h"

namespace engine {
class TJEngine;
class IJFunction;
}  // namespace engine

namespace host {

class TJEventSink;

class TJActiveXObject : public engine::TJObject {
  RT_CLASS(TJActiveXObject)
 public:
  TJActiveXObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJActiveXObject() override;

  com::IDispatch* Disp() const { return disp_.get(); }
  void SetDisp(rt::IDispatch* dispatch);
  // The published `disp`.
  rt::ComPtr<rt::IUnknown> DispProperty() const { return rt::ComPtr<rt::IUnknown>(disp_.get()); }
  void SetDispProperty(rt::ComPtr<rt::IUnknown> value);
  void SetParent(com::IDispatch* parent, com::DispId id);
  void SetEventPrefix(const std::string& prefix);
  const std::string& EventPrefix() const { return eventPrefix_; }
  void ConnectEvents();
  void DisconnectEvents();
  bool HasEvents() const { return !connections_.empty(); }
  // The member's identifier from the cache or the server; "EActiveXError" with the name.
  com::DispId LookupDispId(std::string_view name);

  void AfterCreate(engine::TJValueList* param) override;
  void Clear() override;
  void Dispose() override;
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param, engine::TJValue& value) override;
  void PutMember(std::string_view name, const engine::TJValue& value, bool bracketAccess,
                 engine::TJValueList* param) override;
  void ValueOf(engine::TJValue& value) override;
  // The property names the object's type information lists (none without a dispatch or type
  // information): what for-in walks over an object that is no collection.
  void GetPropertyList(std::vector<std::string>& names) override;

 private:
  struct Connection {
    rt::ComPtr<com::IConnectionPoint> point;
    uint32_t cookie;
    rt::ComPtr<TJEventSink> sink;
  };
  void release();
  void getIndexed(std::string_view name, engine::TJValueList* param, engine::TJValue& value);
  void putIndexed(std::string_view name, const engine::TJValue& value, engine::TJValueList* param);

  std::unordered_map<std::string, com::DispId> dispIds_;  // names compared with case
  rt::ComPtr<com::IDispatch> disp_;
  rt::ComPtr<com::IDispatch> parent_;
  com::DispId parentId_ = -1;
  std::string eventPrefix_;
  std::vector<Connection> connections_;
};

// Receives a server's events for its owner. The owner is not counted: it detaches the sink when it
// disconnects, so an event that comes later does nothing.
class TJEventSink : public com::RefCounted<com::IDispatch> {
 public:
  TJEventSink(TJActiveXObject* owner, rt::ComPtr<com::ITypeInfo> info) : owner_(owner), info_(std::move(info)) {}
  void Detach() { owner_ = nullptr; }
  com::HResult GetIDsOfNames(std::string_view name, com::DispId& id) override { return com::E_NOTIMPL; }
  com::HResult Invoke(com::DispId id, uint16_t flags, com::DispParams& params, rt::Variant* result) override;

 private:
  TJActiveXObject* owner_;
  rt::ComPtr<com::ITypeInfo> info_;
};

class TJEnumeratorObject : public engine::TJObject {
  RT_CLASS(TJEnumeratorObject)
 public:
  TJEnumeratorObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  static bool IsMakeGlobalInstance() { return false; }

  void RegistMethods() override;
  void AfterCreate(engine::TJValueList* param) override;
  void Dispose() override;
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param, engine::TJValue& value) override;

  bool AtEnd() const { return atEnd_; }
  void GetCurrent(engine::TJValue& item);
  void Advance();

  void DoAtEnd(engine::TJValueList* args, engine::TJValue& result);
  void DoItem(engine::TJValueList* args, engine::TJValue& result);
  void DoMoveFirst(engine::TJValueList* args, engine::TJValue& result);
  void DoMoveNext(engine::TJValueList* args, engine::TJValue& result);

 private:
  rt::ComPtr<com::IEnumVARIANT> enum_;
  rt::Variant current_;
  bool atEnd_ = true;
};

// The automation object a value holds (a dispatch value or an ActiveXObject), or null.
com::IDispatch* DispatchOf(const engine::TJValue& value);
// Whether the value's object can hand out an enumerator; never an error.
bool IsEnumerableDispatch(const engine::TJValue& value);
// The interpreter's call of an automation method value (invoke kind 0 call, 2 property put).
void CallActiveXMethod(engine::TJEngine& engine, engine::IJFunction* function, engine::TJValueList* args,
                       engine::TJValue& result, int invokeKind);
// Installs the interpreter's hooks for automation methods and for-in over collections.
void InstallActiveXHooks();

}  // namespace host
