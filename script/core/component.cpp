#include "script/core/component.h"

#include "platform/rt/clock.h"

namespace engine {

const rt::ClassInfo& TJBaseBrindle::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJBaseBrindle>("TJBaseBrindle", &rt::TPersistent::StaticClassInfo()).build();
  return info;
}

const rt::ClassInfo& TBrindle::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TBrindle>("TBrindle", &TJBaseBrindle::StaticClassInfo())
          .property("CompiledBinary", &TBrindle::CompiledBinary, &TBrindle::setCompiledBinary)
          .defaultValue(0)
          .build();
  return info;
}

const rt::ClassInfo& TBRS::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TBRS>("TBRS", &TBrindle::StaticClassInfo()).build();
  return info;
}

std::vector<std::function<void(TJEngine&)>>& HostRegistrations() {
  static std::vector<std::function<void(TJEngine&)>> routines;
  return routines;
}

TBrindle::TBrindle() : engine_(std::make_unique<TJEngine>()) {
  // The last error text is kept whether or not a handler listens.
  engine_->OnStderr = [this](const std::string& s) {
    lastErrorText_ = s;
    if (onStderr_) onStderr_(this, s);
  };
  ImportObjects();
}

TBrindle::~TBrindle() { Clear(); }

void TBrindle::ImportObjects() {
  for (const auto& regist : HostRegistrations()) regist(*engine_);
}

void TBrindle::Clear() { engine_->ClearEngine(); }

bool TBrindle::Compile(const std::string& source) {
  uint32_t start = rt::GetTickCount();
  struct Timer {
    uint32_t start;
    uint32_t& elapsed;
    ~Timer() { elapsed = rt::GetTickCount() - start; }
  } timer{start, compileTime_};
  return engine_->CompileText(source);
}

int32_t TBrindle::Run(const TJValueList* args) {
  uint32_t start = rt::GetTickCount();
  struct Timer {
    uint32_t start;
    uint32_t& elapsed;
    ~Timer() { elapsed = rt::GetTickCount() - start; }
  } timer{start, runTime_};
  return engine_->RunProgram(nullptr, args);
}

int32_t TBrindle::RunConsts(std::initializer_list<TJValue> args) {
  TJValueList list;
  for (const TJValue& v : args) list.Add(v);
  return Run(&list);
}

// --- events ---

namespace {

// Keeps the handler; while one is set, the engine's hook calls `forward`, else the engine skips it.
template <class Handler, class Hook, class Forward>
void Wire(Handler& field, Handler handler, Hook& hook, Forward forward) {
  field = std::move(handler);
  if (field)
    hook = forward;
  else
    hook = nullptr;
}

}  // namespace

void TBrindle::SetOnStdout(TStringEvent handler) {
  Wire(onStdout_, std::move(handler), engine_->OnStdout, [this](const std::string& s) { onStdout_(this, s); });
}

void TBrindle::SetOnDebugout(TStringEvent handler) {
  Wire(onDebugout_, std::move(handler), engine_->Parser().Lexer().OnDebugout,
       [this](const std::string& s) { onDebugout_(this, s); });
}

void TBrindle::SetOnNewObject(TNewObjectEvent handler) {
  Wire(onNewObject_, std::move(handler), engine_->OnNewObject, [this](TJObject* o) { onNewObject_(this, o); });
}

void TBrindle::SetOnStderr(TStringEvent handler) { onStderr_ = std::move(handler); }

void TBrindle::SetOnRun(TNotifyEvent handler) {
  Wire(onRun_, std::move(handler), engine_->OnRun, [this] { onRun_(this); });
}

void TBrindle::SetOnDone(TNotifyEvent handler) {
  Wire(onDone_, std::move(handler), engine_->OnDone, [this] { onDone_(this); });
}

void TBrindle::SetOnStep(TStepEvent handler) {
  Wire(onStep_, std::move(handler), engine_->OnStep, [this](bool& abort) { onStep_(this, abort); });
}

void TBrindle::SetOnStdin(TReadStringEvent handler) {
  Wire(onStdin_, std::move(handler), engine_->OnStdin,
       [this](std::string& s, bool& success, int32_t count, bool line) { onStdin_(this, s, success, count, line); });
}

void TBrindle::SetOnError(TErrorEvent handler) {
  Wire(onError_, std::move(handler), engine_->OnError,
       [this](int32_t line, const std::string& msg) { onError_(this, line, msg); });
}

void TBrindle::SetOnDoEvents(TStepEvent handler) {
  Wire(onDoEvents_, std::move(handler), engine_->OnDoEvents, [this](bool& abort) { onDoEvents_(this, abort); });
}

}  // namespace engine
