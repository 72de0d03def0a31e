// The interpreter. TJEngine walks the syntax tree the parser builds: statements run with
// completion codes (break, continue and return travel as return values, not exceptions), script
// errors, abort and exit travel as C++ exceptions, and every uncaught error becomes one reported
// line. It also offers the operations the script component and the host objects call: compile,
// run, call a script function or handler, evaluate a code string, make objects by constructor name.
//
// The dialect's own rules hold here: `this` is the nearest with-object of the current scope (the
// caller's for a plain call), closures are snapshots taken at `return`, `||` and `&&` give Booleans,
// binary operands and argument lists are evaluated right to left.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/core/activation.h"
#include "script/core/code_cache.h"
#include "script/core/base_engine.h"
#include "script/core/exceptions.h"
#include "script/core/function.h"
#include "script/core/global_base.h"
#include "script/core/message_pump.h"
#include "script/core/parser.h"
#include "script/core/symbols.h"
#include "script/core/value.h"
#include "script/core/value_list.h"

namespace engine {

class TJEngine;

// A walk over a collection's items: the current item, then the next, until the end.
class IJCollectionCursor {
 public:
  virtual ~IJCollectionCursor() = default;
  virtual bool AtEnd() = 0;
  virtual void Current(TJValue& item) = 0;
  virtual void Advance() = 0;
};

// Extensions the layers above the engine install once per process (the standard library, the
// host objects): called while an engine is built, in this order.
struct TJEngineExtensions {
  // Registers the standard classes after "Object": "Global", "Array", "String", ...
  std::function<void(TJEngine&)> RegisterStandardClasses;
  // Makes the Global object (not registered with the factory). Without it the engine makes a
  // bare TJGlobalBase.
  std::function<TJGlobalBase*(TJEngine&)> MakeGlobal;
  // The engine-wide RegExp object and the WScript object (not registered); may be absent.
  std::function<TJObject*(TJEngine&)> MakeRegExp;
  std::function<TJObject*(TJEngine&)> MakeWScript;
  // Run start: hand the run's arguments to the WScript object.
  std::function<void(TJEngine&, TJObject* wscript, const TJValueList* args)> SetWScriptArguments;
  // Calls of automation methods and DLL functions (invoke kind: 0 method, 2 property put).
  std::function<void(TJEngine&, IJFunction*, TJValueList*, TJValue&, int invokeKind)> CallActiveX;
  std::function<void(TJEngine&, IJFunction*, TJValueList*, TJValue&)> CallDynaCall;
  // for-in over an automation collection: a cursor over the value's items, or null when the value
  // cannot enumerate. Asked only of dispatch values and automation objects.
  std::function<std::unique_ptr<IJCollectionCursor>(TJEngine&, const TJValue&)> EnumerateCollection;
  // Called for every object of `cls` (or a class built on it) registered with an engine's factory
  // (binding RegExp objects to the engine-wide one, socket objects to the print path), before the
  // new-object event. The class is asked first: most objects need no binder at all.
  struct TJNewObjectBinder {
    const rt::ClassInfo* cls;
    std::function<void(TJEngine&, TJObject*)> bind;
  };
  std::vector<TJNewObjectBinder> NewObjectBinders;
};
TJEngineExtensions& EngineExtensions();

class TJEngine : public TJBaseEngine {
 public:
  TJEngine();
  ~TJEngine() override;

  // --- hooks (skipped when empty) ---
  std::function<void(TJObject* object)> OnNewObject;
  std::function<void(const std::string& text)> OnStdout;
  std::function<void(const std::string& text)> OnStderr;
  std::function<void()> OnRun;
  std::function<void()> OnDone;
  std::function<void(bool& abort)> OnStep;
  std::function<void(std::string& text, bool& success, int32_t count, bool line)> OnStdin;
  std::function<void(int32_t line, const std::string& message)> OnError;
  std::function<void(bool& abort)> OnDoEvents;

  // The host's message loop (the null pump unless a host sets one).
  IMessagePump* Pump = &NullMessagePump();

  // --- state ---
  bool MainFinished = false;
  int32_t CurrentLine = -1;
  std::string ScriptFileName;
  bool IsRunning() const { return running_; }

  TJParser& Parser() { return parser_; }
  TJRootSymbolTable& RootTable() { return root_; }
  TJLocalSymbolTable* CurrentScope() const { return current_; }
  TJGlobalBase* Global() const { return global_.get(); }
  TJObject* RegExpObject() const { return regexp_.get(); }
  TJObject* WScriptObject() const { return wscript_.get(); }

  // --- compile and run ---
  // Parses the text as the program; false (after reporting) on a syntax error, and false while a
  // run is in progress or for a text without tokens.
  bool CompileText(const std::string& source);
  // Runs `root` (null: the program compiled last) with the arguments; the exit code. Script
  // errors are reported, not raised; 0 while a run is in progress or without a program.
  int32_t RunProgram(const TJStatement* root, const TJValueList* args);
  // Resets run state, scopes and every live object (ignored while the script runs).
  void ClearEngine();
  // One pass of the message pump; false when the loop should stop.
  bool DoEvents();
  // The standard-error line of an error report, then the error event.
  void ReportError(const std::string& text);

  // --- operations for the component and host objects ---
  TJObject* MakeObject(std::string_view name, TJValueList* args) override;
  // A Date object, and an "ActiveXObject" wrapper, through the registered classes (null without them).
  TJObject* MakeDateObject(double oleDate) override;
  TJObject* MakeActiveXObject(rt::IDispatch* dispatch) override;
  std::string GetScriptFileName() override { return ScriptFileName; }
  bool FindImportFile(std::string_view name, std::string& path) override;
  void CallHandler(const TJValue& handler, TJValueList* args, TJValue& result, TJObject* self) override;
  bool FindVariable(std::string_view name, TJValue& value) override;
  void NewObjectHook(TJObject* object) override;

  // Calls a function value with the arguments (null: none) and `self` as this.
  void CallFunction(const TJValue& function, TJValueList* args, TJValue& result, TJObject* self,
                    int invokeKind = 0);
  // The same with `count` argument values where they lie (a native's own, such as the pair a sort
  // compares): a script function takes them straight into its parameters, no list between.
  void CallFunction(const TJValue& function, const TJValue* const* args, size_t count, TJValue& result,
                    TJObject* self);
  // Compiles the text as the body of a function that returns it, bound to the running function's
  // scope, and calls it with `self` as this.
  void EvalCode(std::string_view text, TJObject* self, TJValue& result);
  // One instance of every class that asks for it, declared in the module scope.
  void MakeGlobalInstances(TJLocalSymbolTable* module);
  // A new object of the value (a String, Number, RegExp or automation wrapper for a primitive);
  // null for undefined, null, functions and the like.
  TJObject* ToObject(const TJValue& value);

  // Output and input routing to the hooks.
  void WriteStdout(const std::string& text);
  void WriteStderr(const std::string& text);
  void ReadStdin(std::string& text, bool& success, int32_t count, bool line);

  // The trees of code strings (eval and handler texts).
  const TJCodeCache& CodeCache() const { return codeCache_; }

  // How much stack one run may use before deep recursion is refused.
  static constexpr size_t kStackReserve = 2 * 1024 * 1024;

  // The object of a text, number or regular-expression value for the length of one call: the
  // engine's own object of its kind, taking the value as if it were made from it, or a new one
  // while that is lent out (a call that runs script code which calls methods on such values).
  class HostLoan;

 private:
  // Throw: a script's throw under way as a completion (see thrown_), taken by the nearest try of
  // the interpreter or raised as EJThrow where a caller cannot take it.
  enum class Flow : uint8_t { Normal, Break, Continue, Return, Throw };
  // A return or a throw: the flows that leave every loop and block.
  static bool Leaves(Flow flow) { return flow == Flow::Return || flow == Flow::Throw; }

  // The cases of one switch: the discriminant, the default clause seen, whether a case matched.
  struct SwitchState {
    const TJValue* discriminant;
    const TJStatement* defaultClause = nullptr;
    bool matched = false;
  };

  // Makes `scope` current for its lifetime; afterwards the previous scope is current again and,
  // with `owner`, the newest child of `owner` (the scope) is freed.
  class ScopeGuard {
   public:
    ScopeGuard(TJEngine* engine, TJLocalSymbolTable* scope, TJLocalSymbolTable* owner,
               TJActivation* activation = nullptr)
        : engine_(engine), saved_(engine->current_), savedActivation_(engine->activation_), owner_(owner) {
      engine->current_ = scope;
      engine->activation_ = activation;
    }
    ~ScopeGuard() {
      engine_->current_ = saved_;
      engine_->activation_ = savedActivation_;
      if (TJLocalSymbolTable* owner = owner_.get()) owner->DeleteFirstChild();
    }
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;

   private:
    TJEngine* engine_;
    TJLocalSymbolTable* saved_;
    TJActivation* savedActivation_;
    TJWeakRef<TJLocalSymbolTable> owner_;
  };

  // Statements (flags: 1 var, 2 break allowed, 4 static, 8 global, 16 continue allowed).
  enum : unsigned { fVar = 1, fBreakable = 2, fStatic = 4, fGlobal = 8, fLoop = 16 };
  Flow Exec(const TJStatement* s, unsigned flags, SwitchState* sw);
  Flow ExecOne(const TJStatement* s, unsigned flags, SwitchState* sw);
  // One statement with no statement after it (an if's branch).
  Flow ExecSingle(const TJStatement* s, unsigned flags);
  Flow ExecModule(const TJStatement* s);
  Flow ExecFor(const TJStatement* s, unsigned flags);
  Flow ExecForIn(const TJStatement* s, unsigned flags);
  Flow ForInCursor(IJCollectionCursor& cursor, const std::function<Flow(const TJValue&)>& pass);
  Flow ExecTry(const TJStatement* s, unsigned flags, SwitchState* sw);
  Flow ExecWith(const TJStatement* s, unsigned flags, SwitchState* sw);
  Flow ExecSwitch(const TJStatement* s, unsigned flags);
  Flow ExecCase(const TJStatement* s, unsigned flags, SwitchState* sw);
  // Both answer true when a throw is under way instead.
  bool ExecDeclarator(const TJStatement* s, unsigned flags);
  bool ExecReturn(const TJStatement* s);
  // The throw statement: its value becomes the throw under way.
  Flow ExecThrow(const TJStatement* s);
  // Raises the throw under way as EJThrow.
  [[noreturn]] void RaiseThrown();
  void Step();

  // Expressions.
  void Eval(const TJExpr* e, TJValue& out, unsigned flags = 0);
  // Eval for a caller that takes a throw under way as a completion: a call (or an assignment of
  // one) hands a script throw back as true, with thrown_ set, instead of raising it.
  bool EvalOrThrown(const TJExpr* e, TJValue& out);
  [[gnu::noinline]] bool AssignOrThrown(const TJExpr* e, TJValue& out);
  [[gnu::noinline]] bool BinaryOrThrown(const TJExpr* e, TJValue& out);
  // The items last to first; with `thrownOk`, true when an item's call threw (else that throw is
  // raised).
  bool EvalItems(const TJExpr* e, TJValueList& list, bool thrownOk = false);
  // The value of an operand: a constant node's own value, else the expression evaluated into
  // `scratch`.
  const TJValue& Operand(const TJExpr* e, TJValue& scratch) {
    if (e->Code == ecConstant) return e->Value;
    Eval(e, scratch);
    return scratch;
  }
  [[gnu::noinline]] void EvalIdentifier(const TJExpr* e, TJValue& out);
  [[gnu::noinline]] void EvalOther(const TJExpr* e, TJValue& out, unsigned flags);
  [[gnu::noinline]] void EvalBinary(const TJExpr* e, TJValue& out);
  // True when an operand's call threw and `thrownOk` leaves that throw under way.
  [[gnu::noinline]] bool EvalBinaryInGeneral(const TJExpr* e, TJValue& out, bool thrownOk);
  [[gnu::noinline]] void EvalMember(const TJExpr* e, TJValue& out);
  // The truth of a condition (AsBool of its value).
  bool Condition(const TJExpr* e);
  // A constant's value or a parameter's slot (see ParameterSlot), read without evaluating; null for
  // anything else.
  const TJValue* DirectOperand(const TJExpr* e) const {
    return e->Code == ecConstant ? &e->Value : ParameterSlot(e);
  }
  // A parameter read in its own function's body, outside any with: its slot; null otherwise.
  const TJValue* ParameterSlot(const TJExpr* e) const {
    if (e->Code == ecIdentifier && e->Parameter && activation_ && current_ == activation_ &&
        activation_->Code() == e->Owner && activation_->ParametersFirst())
      return &activation_->ParameterValue(e->Parameter);
    return nullptr;
  }
  // The module variable a name stands for (read from a function body, whose own variables lack
  // it, or from the module's own code), when the name was found there before and nothing on the way
  // could have taken it since; null otherwise.
  TJValue* ModuleHit(const TJExpr* e);
  void RememberModuleHit(const TJExpr* e);
  void EvalAssign(const TJExpr* e, TJValue& out, unsigned flags);
  // The variable a name node stands for, when it reads and writes in place: a parameter or a
  // variable of the running call's own scope, or a module variable (ModuleHit); null otherwise.
  TJValue* NameSlot(const TJExpr* e) {
    if (activation_ && current_ == activation_) {
      if (const TJValue* parameter = ParameterSlot(e)) return const_cast<TJValue*>(parameter);
      if (TJValue* own = activation_->SlotAt(e->Symbol, e->Place)) return own;
    }
    return ModuleHit(e);
  }
  // NameSlot for any node (null for anything but a name).
  TJValue* VariableSlot(const TJExpr* e) { return e->Code == ecIdentifier ? NameSlot(e) : nullptr; }
  // An existing variable takes the value (else a new module variable), as `name = value` does.
  void AssignName(const TJExpr* name, const TJValue& value);
  bool AppendToVariable(const TJExpr* e, TJValue& out);
  void EvalCompound(const TJExpr* e, TJValue& out);
  void EvalIncDec(const TJExpr* e, TJValue& out);
  void EvalNew(const TJExpr* e, TJValue& out);
  void EvalObjectLiteral(const TJExpr* e, TJValue& out);
  void EvalArrayLiteral(const TJExpr* e, TJValue& out);
  // With `thrownOk`, a script throw from the callee (or an argument) stays under way in thrown_.
  [[gnu::noinline]] void EvalCall(const TJExpr* e, TJValue& out, bool thrownOk = false);
  [[gnu::noinline]] void EvalMethodCall(const TJExpr* e, TJValue& out, bool thrownOk = false);
  void EvalTypeof(const TJExpr* e, TJValue& out);
  bool EvalIfPresent(const TJExpr* e, TJValue& out);
  // Assignment targets: evaluated once (Resolve), then read and written.
  struct Target;
  void Resolve(const TJExpr* node, Target& t);
  void Read(Target& t, TJValue& out);
  void Write(Target& t, const TJValue& value, unsigned flags);
  void Store(const TJExpr* target, const TJValue& value, unsigned flags);

  // Members, calls and indexes.
  void GetMember(const TJValue& target, std::string_view name, TJValue& out, bool remove,
                 TJRef<TJObject>* wrapper = nullptr);
  void SetMember(const TJValue& target, std::string_view name, const TJValue& value);
  // The operand of typeof when it is a member read (false otherwise, nothing evaluated): a plain
  // object or array missing the member answers undefined without raising.
  bool EvalMemberOrNothing(const TJExpr* e, TJValue& out);
  // callee(args) and value[args] alike.
  void CallOrIndex(const TJValue& callee, TJValueList& args, TJValue& out);
  void IndexObject(TJObject* object, TJValueList& args, TJValue& out);
  void IndexStore(const TJValue& target, TJValueList& args, const TJValue& value);
  // With `ownArgs`, the list is the caller's own, dropped after the call: its values may be moved.
  void CallScript(IJFunction* f, TJValueList* args, TJValue& result, TJObject* self, bool thrownOk = false,
                  bool ownArgs = false);
  // The short way of a call of a script function: the arguments of `call` evaluated straight into
  // the parameters of the new scope, no list between. Taken by a plain call (not call or apply
  // mode) whose parameters bind by place, with no captured variables and a body that does not name
  // `arguments`; false (nothing evaluated) otherwise. A null `self` stands for the with-object of
  // the caller's scope.
  bool CallInPlace(TJFunctionImpl* f, const TJExpr* call, TJValue& result, TJObject* self, bool thrownOk);
  // Whether a call of `f` may take the short way of CallWithValues (the rule of CallInPlace):
  // plain mode, parameters bound by place, no captured variables, a body that does not name
  // `arguments`, no watcher of new objects.
  bool BindsByPlace(TJFunctionImpl* f) const;
  // The short way for a call from native code: the `count` values that `arg(i)` answers copied
  // straight into the parameters. False (nothing done) where BindsByPlace says no.
  template <class Arg>
  bool CallWithValues(TJFunctionImpl* f, size_t count, Arg arg, TJValue& result, TJObject* self);
  // Runs the body of the function `code` in the current scope; its return value into `result`.
  void RunBody(const TJStatement* code, TJValue& result, bool thrownOk);
  class CallFrame;
  void CallForeign(IJFunction* f, TJValueList* args, TJValue& result, int invokeKind);
  // What a method call on `target` reaches, looked up once for a plain object, an array or a text:
  // a member (own or the prototype's, in `member`) or a native (in `native`) that can run without a
  // function value or (for a text) a wrapper object. None: the call takes the general way. The
  // site remembers what the prototypes answered.
  TJObject::TJMethodLookup LookupDirect(const TJValue& target, std::string_view name, TJValue& member,
                                       TJNativeMethod& native, TJMethodSite* site);
  // Runs a native that LookupDirect found, with the target's object (or a String object lent to the
  // text) as this.
  void CallDirect(const TJValue& target, std::string_view name, TJNativeMethod method, TJValueList* args,
                  TJValue& out);
  // The String object that method calls and indexes on text values borrow in turn, the Number
  // object that method calls on numbers borrow and the RegExp object for regular-expression values
  // (made when needed); null for other values or without the class. A call that keeps it (returns
  // or stores `this`) takes it over, and the next call gets a new one.
  TJObject* PrimitiveHost(const TJValue& value);
  TJRef<TJObject>* hostSlot(TJValueType type);
  // Whether the name "RegExp" is a script function or class where the running code stands.
  bool regExpNameTaken();
  // A RegExp object's test of the value's text.
  bool TestRegExp(TJObject* pattern, const TJValue& subject);

  // Function values.
  void MakeFunction(const TJStatement* record, TJFuncType type, TJValue& out);
  void CloseOver(TJValue& value);
  TJObject* MakeClassInstance(std::string_view name, IJFunction* cls, TJValueList* args);
  void AddClassMembers(TJObject* instance, const TJStatement* record);
  TJObject* NewArray(const TJValueList& items);

  // Argument lists for calls, reused from call to call. A list goes back to the pool with its
  // values released but its length kept (all undefined), so that the next call of as many
  // arguments finds it ready; EvalItems sets the length.
  class ArgList {
   public:
    // Lists are taken and given back in call order: the pool is a stack.
    explicit ArgList(TJEngine* engine) : engine_(engine) {
      if (engine->argInUse_ == engine->argPool_.size())
        engine->GrowArgPool();
      else
        engine->argTrim_.Reused();
      list_ = engine->argPool_[engine->argInUse_++].get();
    }
    ~ArgList() {
      std::vector<TJValue>& items = list_->Items();
      for (size_t i = items.size(); i-- > 0;) items[i].Clear();
      --engine_->argInUse_;
      if (engine_->argTrim_.Due(engine_->argPool_.size(), engine_->argInUse_, kArgPoolSpare)) engine_->TrimArgPool();
    }
    ArgList(const ArgList&) = delete;
    ArgList& operator=(const ArgList&) = delete;
    TJValueList& operator*() { return *list_; }
    TJValueList* operator->() { return list_; }
    TJValueList* get() { return list_; }

   private:
    TJEngine* engine_;
    TJValueList* list_;
  };

  // A variable of the current scope.
  void Declare(const TJExpr* name, const TJValue& value) {
    if (activation_ && current_ == activation_)
      activation_->DeclareAt(name->Symbol, name->Place, value);
    else
      current_->SetLocal(name->Symbol, value);
  }
  void Declare(std::string_view name, const TJValue& value) {
    if (activation_ && current_ == activation_)
      activation_->Declare(name, value);
    else
      current_->SetLocal(name, value);
  }
  // Refuses to go deeper once the stack is nearly used up (deep recursion).
  void CheckStack() {
    if (static_cast<const char*>(__builtin_frame_address(0)) < stackLimit_) StackOverflow();
  }
  [[noreturn]] void StackOverflow();
  void ReportRunError(const EJException& e);
  void ResetEngine();

  TJParser parser_;
  TJRootSymbolTable root_;
  TJScopes scopes_{root_};
  TJCodeCache codeCache_{scopes_};
  TJLocalSymbolTable* current_ = &root_;
  TJActivation* activation_ = nullptr;  // the running call's scope (null in module code)
  TJRef<TJGlobalBase> global_;
  TJRef<TJObject> regexp_;
  TJRef<TJObject> wscript_;
  TJRef<TJObject> textHost_;  // null while lent out
  TJRef<TJObject> numberHost_;
  TJRef<TJObject> regexpHost_;
  bool running_ = false;
  bool executing_ = false;  // script code is on the stack
  int32_t handlerExitCode_ = 0;
  bool handlerExited_ = false;
  TJValue returnValue_;
  // The script throw under way as a completion: set by a throw statement, taken by a try or
  // raised as EJThrow; never left set when an exception leaves the interpreter.
  bool throwing_ = false;
  TJValue thrown_;
  uint64_t epoch_ = 0;  // changes at every engine clear, unique among all engines
  static constexpr size_t kArgPoolSpare = 64;  // argument lists kept beyond those in use
  [[gnu::noinline]] void GrowArgPool() {
    argPool_.push_back(std::make_unique<TJValueList>());
    argTrim_.Trimmed();
  }
  [[gnu::noinline]] void TrimArgPool() {
    argPool_.resize(argInUse_ + kArgPoolSpare);
    argTrim_.Trimmed();
  }
  TJPoolTrim argTrim_;
  std::vector<std::unique_ptr<TJValueList>> argPool_;  // the first argInUse_ serve running calls
  size_t argInUse_ = 0;
  const char* stackLimit_ = nullptr;  // the deepest frame a run may reach
};

class TJEngine::HostLoan {
 public:
  HostLoan(TJEngine& engine, const TJValue& value);
  // Back to the engine when nothing else holds it and it can serve again as good as new.
  ~HostLoan();
  HostLoan(const HostLoan&) = delete;
  HostLoan& operator=(const HostLoan&) = delete;
  TJObject* get() const { return host_.get(); }

 private:
  TJRef<TJObject>* slot_;
  TJRef<TJObject> host_;
};

}  // namespace engine
