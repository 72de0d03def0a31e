// Function values. A vtFunction value holds a counted IJFunction: a script function, a native
// method bound to its object, a COM method, a script class, a module or a DLL function, with its
// name, parameters and code, the scope it was defined in and the object it is bound to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/rt/variant.h"
#include "script/core/notify.h"
#include "script/core/object.h"

namespace engine {

struct TJStatement;  // syntax tree records, defined by the parser's tree
class TJLocalSymbolTable;

enum TJFuncType : uint8_t { ftScript = 0, ftNative = 1, ftActiveX = 2, ftClass = 3, ftModule = 4, ftDynaCall = 5 };
enum TJCallType : uint8_t { ctPlain = 0, ctApply = 1, ctCall = 2 };

// The COM part of a function value: the dispatch, the member identifier and the invoke kind.
struct TJActiveXMethod {
  rt::ComPtr<rt::IDispatch> Dispatch;
  int32_t DispId = 0;
  int32_t InvokeKind = 0;  // 0 method, 1 property get, 2 property put
};

// The DLL part of a function value: where the function is and how it is called.
struct TDynaDeclare {
  std::string Library;
  std::string Proc;
  std::string ArgFlags;     // one flag character per argument
  std::string ResultFlag;
  void* Address = nullptr;
  int32_t CallConv = 0;
  // The loaded library the address belongs to (its owner decides its type); a call asks it whether
  // the library is still loaded.
  std::shared_ptr<void> Module;
};

// The record a function value holds.
struct TJFunctionData {
  std::string Name;
  TJFuncType FuncType = ftScript;
  const TJStatement* Parameter = nullptr;  // first parameter declaration of a script function
  // No two parameters share a name (known when the parameters are set): a call binds them by place.
  bool DistinctParameters = false;
  TJCallType CallType = ctPlain;
  TJWeakRef<TJLocalSymbolTable> ParentTable;  // the scope the function was defined in
  TJActiveXMethod ActiveXMethod;
  TDynaDeclare DynaDeclare;
  TJNativeMethod Method = nullptr;         // a native: the method of the bound object
  const TJStatement* Code = nullptr;       // a script function or class: its statement
  std::shared_ptr<void> Tree;              // keeps the tree of a code string's function alive
};

class TJFunctionImpl;

class IJFunction {
 public:
  virtual ~IJFunction() = default;
  // The engine's own implementation behind this interface, or null: lets a call read the record
  // directly.
  virtual TJFunctionImpl* Impl() { return nullptr; }
  void AddRef() { ++refs_; }
  void Release() { if (--refs_ == 0) delete this; }
  int32_t RefCount() const { return refs_; }

  virtual TJFunctionData GetFuncData() const = 0;
  virtual TJLocalSymbolTable* GetParentTable() const = 0;
  virtual TJLocalSymbolTable* GetLocalTable() const = 0;
  virtual TJCallType GetCallType() const = 0;
  virtual TJFuncType GetFuncType() const = 0;
  virtual const TJStatement* GetParameter() const = 0;
  virtual const std::string& GetName() const = 0;
  virtual TJActiveXMethod& GetActiveXMethod() = 0;
  virtual TDynaDeclare& GetDynaDeclare() = 0;
  virtual TJNativeMethod GetMethod() const = 0;
  virtual const TJStatement* GetCode() const = 0;
  virtual void SetParentTable(TJLocalSymbolTable* table) = 0;
  // Takes ownership of the table (a captured scope), freeing the one held before.
  virtual void SetLocalTable(TJLocalSymbolTable* table) = 0;
  virtual void SetCallType(TJCallType type) = 0;
  virtual void SetFuncType(TJFuncType type) = 0;
  virtual void SetParameter(const TJStatement* parameter) = 0;
  virtual void SetName(std::string name) = 0;
  virtual void SetMethod(TJNativeMethod method) = 0;
  virtual void SetCode(const TJStatement* code) = 0;
  // The bound object: not counted; null once that object is gone.
  virtual TJObject* GetThisObject() const = 0;
  virtual void SetThisObject(TJObject* object) = 0;
  // Copies the other's record and bound object; a captured table is copied into an own one.
  virtual void Assign(IJFunction* other) = 0;

 private:
  int32_t refs_ = 0;
};

// A counted IJFunction reference.
using TJFunctionRef = rt::ComPtr<IJFunction>;

class TJFunctionImpl final : public IJFunction {
 public:
  TJFunctionImpl();
  ~TJFunctionImpl() override;

  TJFunctionImpl* Impl() override { return this; }
  const TJFunctionData& Data() const { return data_; }

  TJFunctionData GetFuncData() const override { return data_; }
  TJLocalSymbolTable* GetParentTable() const override;
  TJLocalSymbolTable* GetLocalTable() const override { return localTable_.get(); }
  TJCallType GetCallType() const override { return data_.CallType; }
  TJFuncType GetFuncType() const override { return data_.FuncType; }
  const TJStatement* GetParameter() const override { return data_.Parameter; }
  const std::string& GetName() const override { return data_.Name; }
  TJActiveXMethod& GetActiveXMethod() override { return data_.ActiveXMethod; }
  TDynaDeclare& GetDynaDeclare() override { return data_.DynaDeclare; }
  TJNativeMethod GetMethod() const override { return data_.Method; }
  const TJStatement* GetCode() const override { return data_.Code; }
  void SetParentTable(TJLocalSymbolTable* table) override;
  void SetLocalTable(TJLocalSymbolTable* table) override;
  void SetCallType(TJCallType type) override { data_.CallType = type; }
  void SetFuncType(TJFuncType type) override { data_.FuncType = type; }
  void SetParameter(const TJStatement* parameter) override;
  void SetName(std::string name) override { data_.Name = std::move(name); }
  void SetMethod(TJNativeMethod method) override { data_.Method = method; }
  void SetCode(const TJStatement* code) override { data_.Code = code; }
  void SetTree(std::shared_ptr<void> tree) { data_.Tree = std::move(tree); }
  TJObject* GetThisObject() const override { return thisObject_.get(); }
  void SetThisObject(TJObject* object) override { thisObject_.reset(object); }
  void Assign(IJFunction* other) override;

 private:
  TJFunctionData data_;
  std::unique_ptr<TJLocalSymbolTable> localTable_;
  TJWeakRef<TJObject> thisObject_;
};

// A fresh function value implementation (count 0 until a value holds it).
IJFunction* NewFunction();

// Calls a native function value: the bound object stays alive for the call. A native whose object
// is gone raises "ECallError".
void CallNative(IJFunction* function, TJValueList* args, TJValue& result);

}  // namespace engine
