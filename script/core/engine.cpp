#include "script/core/engine.h"

#include <cmath>

#include <pthread.h>
#include <sys/auxv.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/rt/paths.h"
#include "script/core/error_table.h"
#include "script/core/exceptions.h"
#include "script/core/factory.h"

extern "C" void* __libc_stack_end;  // glibc: the main thread's stack as the program started

namespace engine {

namespace {

// The lowest address the main thread's stack can grow to, or null when it cannot be told cheaply.
// Its top lies above __libc_stack_end: the program's arguments and environment sit higher (up to a
// quarter of the limit), and the program's file name last of all, just under the page-aligned top.
// The stack grows down by RLIMIT_STACK at most, from that true top. The kernel keeps new
// mappings at least 128 MiB below the stack; the size is capped there in case the limit was
// raised after start. An unlimited stack counts as that much too: it would otherwise grow as long
// as there is memory, and a runaway recursion would take all of it before anything stopped it.
// This spares pthread_getattr_np, which reads and parses /proc/self/maps for the main thread.
const char* MainThreadStackLow(size_t& size) {
  if (gettid() != getpid() || !__libc_stack_end) return nullptr;
  rlimit limit{};
  if (getrlimit(RLIMIT_STACK, &limit) != 0) return nullptr;
  constexpr size_t kLargest = size_t(128) << 20;
  size = limit.rlim_cur == RLIM_INFINITY ? kLargest : std::min<size_t>(limit.rlim_cur, kLargest);
  uintptr_t top = reinterpret_cast<uintptr_t>(__libc_stack_end);
  if (const auto* name = reinterpret_cast<const char*>(getauxval(AT_EXECFN)))
    top = std::max(top, reinterpret_cast<uintptr_t>(name) + std::strlen(name) + 1);
  const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  top = (top + page - 1) & ~(page - 1);
  return reinterpret_cast<const char*>(top) - size;
}

// Where the stack of this thread ends, less a reserve for the code between two checks.
const char* ThreadStackLimit() {
  static thread_local const char* limit = [] {
    size_t size = 0;
    const char* low = MainThreadStackLow(size);
    if (!low) {
      pthread_attr_t attr;
      if (pthread_getattr_np(pthread_self(), &attr) != 0) return static_cast<const char*>(nullptr);
      void* stack = nullptr;
      if (pthread_attr_getstack(&attr, &stack, &size) != 0) stack = nullptr;
      pthread_attr_destroy(&attr);
      low = static_cast<const char*>(stack);
    }
    if (!low || !size) return static_cast<const char*>(nullptr);
    return low + std::min(TJEngine::kStackReserve, size / 2);
  }();
  return limit;
}

}  // namespace

TJEngineExtensions& EngineExtensions() {
  static TJEngineExtensions extensions;
  return extensions;
}

IMessagePump& NullMessagePump() {
  static IMessagePump pump;
  return pump;
}

// ---------------------------------------------------------------------------------------------
// Construction

TJEngine::TJEngine() : stackLimit_(ThreadStackLimit()) {
  TJEngineExtensions& ext = EngineExtensions();
  ImportObject("Object", ClassOf<TJObject>());
  if (ext.RegisterStandardClasses) ext.RegisterStandardClasses(*this);

  TJGlobalBase* global = ext.MakeGlobal ? ext.MakeGlobal(*this) : nullptr;
  if (!global) global = TJObject::Create<TJGlobalBase>(this, nullptr, false);
  global_ = global;
  global_->OnPrint = [this](const std::string& text) { WriteStdout(text); };
  global_->OnRead = [this](std::string& text, bool& success, int32_t count, bool line) {
    ReadStdin(text, success, count, line);
  };
  if (ext.MakeRegExp) regexp_ = ext.MakeRegExp(*this);
  if (ext.MakeWScript) wscript_ = ext.MakeWScript(*this);
}

TJEngine::~TJEngine() {
  running_ = false;
  executing_ = false;
  ResetEngine();
  global_.reset();
  regexp_.reset();
  wscript_.reset();
  textHost_.reset();
  numberHost_.reset();
  regexpHost_.reset();
  parser_.DropRetiredTrees();
}

// ---------------------------------------------------------------------------------------------
// Routing

void TJEngine::WriteStdout(const std::string& text) {
  if (OnStdout) OnStdout(text);
}

void TJEngine::WriteStderr(const std::string& text) {
  if (OnStderr) OnStderr(text);
}

void TJEngine::ReadStdin(std::string& text, bool& success, int32_t count, bool line) {
  if (OnStdin) OnStdin(text, success, count, line);
}

void TJEngine::ReportError(const std::string& text) {
  WriteStderr(text + "\r\n");
  if (OnError) OnError(CurrentLine, text);
}

void TJEngine::NewObjectHook(TJObject* object) {
  for (const auto& binder : EngineExtensions().NewObjectBinders)
    if (object->InheritsFrom(*binder.cls)) binder.bind(*this, object);
  if (OnNewObject) OnNewObject(object);
}

// ---------------------------------------------------------------------------------------------
// Compile and run

bool TJEngine::CompileText(const std::string& source) {
  if (running_) return false;
  MainFinished = false;
  parser_.Source = source;
  std::vector<std::string>& path = parser_.LibraryPath();
  size_t added = path.size();
  path.push_back(rt::exeDir());
  path.push_back(rt::currentDir());
  // The two folders leave the list again whatever happens.
  struct Restore {
    std::vector<std::string>& path;
    size_t size;
    ~Restore() {
      if (path.size() >= size + 2) path.erase(path.begin() + std::ptrdiff_t(path.size() - 2), path.end());
    }
  } restore{path, added};
  try {
    return parser_.Parse();
  } catch (const EJSyntaxError& e) {
    CurrentLine = e.Line;
    ReportError("SyntaxError: Line(" + std::to_string(e.Line) + ") => " + e.message());
  } catch (const EJThrow& e) {
    // An operator error while folding constants: the report names no line; the error event gets
    // the line the parser had reached.
    CurrentLine = parser_.Lexer().TokenLine();
    ReportError("Exception: " + e.ErrorType + " => " + e.message());
  }
  return false;
}

void TJEngine::ReportRunError(const EJException& e) {
  EventLoopAllowed = false;
  std::string line = std::to_string(CurrentLine);
  if (dynamic_cast<const EJAbort*>(&e)) {
    ReportError("Abort Script(" + line + ")");
  } else if (dynamic_cast<const EJSyntaxError*>(&e)) {
    ReportError("SyntaxError: Line(" + line + ") => " + e.message());
  } else {
    ReportError("Exception: " + e.ErrorType + "(" + line + ") => " + e.message());
  }
}

int32_t TJEngine::RunProgram(const TJStatement* root, const TJValueList* args) {
  if (running_) return 0;
  if (!root) root = parser_.Root();
  if (!root) return 0;

  struct Running {
    TJEngine* e;
    explicit Running(TJEngine* engine) : e(engine) { e->running_ = true; }
    ~Running() {
      e->running_ = false;
      e->executing_ = false;
    }
  } running(this);

  ResetEngine();
  EventLoopAllowed = true;
  handlerExited_ = false;
  handlerExitCode_ = 0;
  global_->SetArguments(args);
  global_->Terminate();
  if (wscript_ && EngineExtensions().SetWScriptArguments)
    EngineExtensions().SetWScriptArguments(*this, wscript_.get(), args);
  if (OnRun) OnRun();

  int32_t exitCode = 0;
  current_ = &root_;
  executing_ = true;
  try {
    Flow flow = Exec(root, 0, nullptr);
    if (flow == Flow::Throw) RaiseThrown();
    if (flow == Flow::Return) exitCode = AsInteger(&returnValue_);
    returnValue_.Clear();
    MainFinished = true;
  } catch (const EJExit& e) {
    MainFinished = true;
    exitCode = e.ExitCode;
  } catch (const EJException& e) {
    current_ = &root_;
    ReportRunError(e);
  } catch (const std::bad_alloc&) {
    current_ = &root_;
    ReportRunError(EJRuntimeError(ErrorText(jeOutOfMemory).type, ErrorText(jeOutOfMemory).text));
  }
  if (MainFinished) {
    if (TJLocalSymbolTable* main = root_.FindFunctionTable(root)) current_ = main;
  }

  while (!global_->Terminated() && DoEvents()) Pump->Sleep(5);
  if (handlerExited_) exitCode = handlerExitCode_;
  executing_ = false;
  if (OnDone) OnDone();
  return exitCode;
}

void TJEngine::ResetEngine() {
  static uint64_t epochs = 0;
  epoch_ = ++epochs;
  EventLoopAllowed = false;
  MainFinished = false;
  current_ = &root_;
  if (global_) {
    global_->Clear();
    global_->ClearFinalizer();
  }
  if (regexp_) regexp_->Clear();
  if (wscript_) wscript_->Clear();
  textHost_.reset();
  numberHost_.reset();
  regexpHost_.reset();
  root_.Clear();
  scopes_.Clear();
  codeCache_.Clear();
  Factory().ClearObjects();
  returnValue_.Clear();
  throwing_ = false;
  thrown_.Clear();
  parser_.DropRetiredTrees();
  CurrentLine = -1;
}

void TJEngine::ClearEngine() {
  // Clearing under running script code would free the scopes and objects it stands on.
  if (executing_) return;
  ResetEngine();
}

bool TJEngine::DoEvents() {
  if (!running_ || !EventLoopAllowed) return false;
  if (OnDoEvents) {
    bool abort = false;
    OnDoEvents(abort);
    if (abort) return false;
  }
  if (Pump->OnMainThread()) {
    if (Pump->IsTerminating()) return false;
    Pump->ProcessPending();
  }
  Pump->Sleep(10);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Host-facing operations

bool TJEngine::FindImportFile(std::string_view name, std::string& path) {
  return parser_.FindImportFile(std::string(name), path);
}

bool TJEngine::FindVariable(std::string_view name, TJValue& value) {
  return current_ && current_->FindName(name, value);
}

void TJEngine::CallHandler(const TJValue& handler, TJValueList* args, TJValue& result, TJObject* self) {
  result.Clear();
  int32_t savedLine = CurrentLine;
  try {
    if (IsFunction(&handler)) {
      CallFunction(handler, args, result, self);
    } else if (handler.ValueType() == vtString) {
      EvalCode(handler.vString(), self, result);
    }
  } catch (const EJException& e) {
    if (!MainFinished) {
      CurrentLine = savedLine;
      throw;
    }
    if (const auto* exit = dynamic_cast<const EJExit*>(&e)) {
      // exit() in a handler ends the event loop with that code.
      handlerExited_ = true;
      handlerExitCode_ = exit->ExitCode;
      global_->Terminate();
    } else if (dynamic_cast<const EJRuntimeError*>(&e) || dynamic_cast<const EJAbort*>(&e)) {
      ReportRunError(e);
    }
  } catch (const std::bad_alloc&) {
    if (!MainFinished) {
      CurrentLine = savedLine;
      throw;
    }
    ReportRunError(EJRuntimeError(ErrorText(jeOutOfMemory).type, ErrorText(jeOutOfMemory).text));
  }
  CurrentLine = savedLine;
}

void TJEngine::EvalCode(std::string_view text, TJObject* self, TJValue& result) {
  result.Clear();
  int32_t savedLine = CurrentLine;
  struct RestoreLine {
    TJEngine* e;
    int32_t line;
    ~RestoreLine() { e->CurrentLine = line; }
  } restoreLine{this, savedLine};

  std::shared_ptr<void> keepTree;
  TJExpr* code = codeCache_.Get(parser_, text, keepTree);
  TJValue function;
  Eval(code, function);
  IJFunction* f = function.vFunction();
  if (!f) return;
  static_cast<TJFunctionImpl*>(f)->SetTree(std::move(keepTree));
  // The code sees the variables of the running function: its table hangs below that function's
  // scope for the call (and is put back, so that a nested evaluation of the same text is safe).
  TJLocalSymbolTable* table = f->GetParentTable();
  TJLocalSymbolTable* previousParent = table ? table->Parent() : nullptr;
  TJWeakRef<TJLocalSymbolTable> tableRef(table);
  if (table) table->SetParent(current_ ? current_->GetFunctionTable() : nullptr);
  struct RestoreParent {
    TJWeakRef<TJLocalSymbolTable>& table;
    TJLocalSymbolTable* parent;
    ~RestoreParent() {
      if (TJLocalSymbolTable* t = table.get()) t->SetParent(parent);
    }
  } restoreParent{tableRef, previousParent};
  CallFunction(function, nullptr, result, self);
}

TJObject* TJEngine::MakeObject(std::string_view name, TJValueList* args) {
  CheckStack();
  TJValue found;
  bool isVariable = current_ && current_->FindName(name, found);
  if (isVariable) {
    IJFunction* f = found.vFunction();
    if (f && f->GetFuncType() == ftScript) {
      // A plain object named after the function, built by calling it with the object as this.
      TJObject* object = TJObject::Create<TJObject>(this, nullptr, true);
      TJKeepAlive keep(object);
      object->RegistName(std::string(name));
      object->PutMember("constructor", found, false, nullptr);
      TJValue ignored;
      CallFunction(found, args, ignored, object);
      return object;
    }
    if (f && f->GetFuncType() == ftClass) return MakeClassInstance(name, f, args);
  }
  if (const TJClass* cls = Factory().GetClass(name))
    return RunNative([name] { return name; }, "create", [&] { return cls->create(this, args, true); });
  if (isVariable) ThrowError(jeCreateObjectConstructor, {name});
  ThrowError(jeCreateObject, {name});
}

void TJEngine::MakeGlobalInstances(TJLocalSymbolTable* module) {
  for (const std::string& name : Factory().GetClassNames()) {
    // The engine's own three objects take these names below.
    if (name == "Global" || name == "RegExp" || name == "WScript") continue;
    const TJClass* cls = Factory().GetClass(name);
    if (!cls || !cls->makeGlobalInstance) continue;
    try {
      TJValue instance;
      instance.SetObject(cls->create(this, nullptr, true));
      module->SetLocal(name, instance);
    } catch (const EJThrow&) {
      // a class that cannot be made without arguments is simply not there as an instance
    }
  }
  module->SetLocal("Global", TJValue::Object(global_.get()));
  if (regexp_) module->SetLocal("RegExp", TJValue::Object(regexp_.get()));
  if (wscript_) module->SetLocal("WScript", TJValue::Object(wscript_.get()));
}

TJObject* TJEngine::ToObject(const TJValue& value) {
  switch (value.ValueType()) {
    case vtObject:
      return value.vObject();
    case vtString:
    case vtRegExp:
    case vtInteger:
    case vtDouble:
    case vtBool: {
      TJValueList args{value};
      const char* cls = value.ValueType() == vtString   ? "String"
                        : value.ValueType() == vtRegExp ? "RegExp"
                                                        : "Number";
      return MakeObject(cls, &args);
    }
    case vtDispatch:
      return MakeActiveXObject(value.vDispatch());
    default:
      return nullptr;
  }
}

TJObject* TJEngine::NewArray(const TJValueList& items) { return MakeArray(items); }

TJObject* TJEngine::MakeDateObject(double oleDate) {
  if (!Factory().HasClass("Date")) return nullptr;
  // Days since 1899-12-30 to milliseconds since 1970.
  TJValueList args{TJValue::Double(std::nearbyint((oleDate - 25569.0) * 86400000.0))};
  return MakeObject("Date", &args);
}

TJObject* TJEngine::MakeActiveXObject(rt::IDispatch* dispatch) {
  if (!dispatch || !Factory().HasClass("ActiveXObject")) return nullptr;
  TJValue d;
  d.SetDispatch(dispatch);
  TJValueList args{d};
  return MakeObject("ActiveXObject", &args);
}

// ---------------------------------------------------------------------------------------------
// Stack

void TJEngine::StackOverflow() { ThrowError(jeStackOverflow); }

}  // namespace engine
