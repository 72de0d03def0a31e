#include "script/host/base_socket_object.h"

#include <algorithm>
#include <limits>

#include "net/socket.h"
#include "platform/rt/persistent.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/host/file_name.h"
#include "script/stdlib/boolean_object.h"

namespace host {

using namespace engine;

const rt::ClassInfo& TJBaseSocketObject::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJBaseSocketObject>("TJBaseSocketObject", &TJObject::StaticClassInfo())
          .property("timeout", &TJBaseSocketObject::GetTimeout, &TJBaseSocketObject::SetTimeout)
          .property("debug", &TJBaseSocketObject::Debug, &TJBaseSocketObject::SetDebug)
          .property("bytesRead", &TJBaseSocketObject::GetBytesRead)
          .property("bytesTotal", &TJBaseSocketObject::GetBytesTotal)
          .property("bytesWrote", &TJBaseSocketObject::GetBytesWrote)
          .build();
  return info;
}

TJBaseSocketObject::TJBaseSocketObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {}

// The sink belongs to the engine that is clearing.
void TJBaseSocketObject::Dispose() {
  PrintHook = nullptr;
  TJObject::Dispose();
}

int32_t TJBaseSocketObject::Clamp32(int64_t value) {
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
  return int32_t(value > kMax ? kMax : value < kMin ? kMin : value);
}

const std::string& TJBaseSocketObject::LocalFile(const std::string& name, const char* failure) {
  return SystemPath(name, "ESocketError", failure);
}

void TJBaseSocketObject::Guarded(const char* failure, const std::function<void()>& work) {
  TJKeepAlive keep(this);  // a handler may drop the script's last reference meanwhile
  if (busy_) ThrowError("ESocketError", failure);
  struct BusyFlag {
    TJBaseSocketObject* self;
    explicit BusyFlag(TJBaseSocketObject* s) : self(s) {
      self->busy_ = true;
      self->pendingStop_ = nullptr;
    }
    ~BusyFlag() {
      self->busy_ = false;
      self->pendingStop_ = nullptr;
    }
  } flag(this);
  try {
    work();
  } catch (const EJAbort&) {
    throw;
  } catch (const EJStatement&) {
    throw;  // exit
  } catch (...) {
    // A stop raised in a status handler was swallowed by the library: it wins over the failure.
    if (pendingStop_) std::rethrow_exception(pendingStop_);
    ThrowError("ESocketError", failure);
  }
  if (pendingStop_) std::rethrow_exception(pendingStop_);
}

// --- received texts ---

TScriptTextReceiver::~TScriptTextReceiver() {
  if (rep_) TJStringRep::Free(rep_);
}

void TScriptTextReceiver::Reserve(size_t capacity) {
  rep_ = TJStringRep::Reserve(rep_, capacity);
  net::AdviseHugePages(rep_->data, rep_->capacity);
}

char* TScriptTextReceiver::Room(size_t size) {
  size_t held = rep_ ? rep_->size : 0;
  size_t needed = held + size;
  if (!rep_ || needed > rep_->capacity) {
    size_t doubled = rep_ ? size_t(rep_->capacity) * 2 : needed;
    Reserve(needed > TJStringRep::kMaxSize ? needed : std::min(std::max(needed, doubled), TJStringRep::kMaxSize));
  }
  return rep_->data + held;
}

void TScriptTextReceiver::Grew(size_t count) {
  if (!rep_) return;
  rep_->size += uint32_t(count);
  rep_->data[rep_->size] = '\0';
}

void TScriptTextReceiver::Expect(size_t more) { Reserve((rep_ ? rep_->size : 0) + more); }

void TScriptTextReceiver::TakeInto(TJValue& value) {
  if (rep_ && rep_->size > 0) {
    value.SetStringRep(rep_);
  } else {
    value.SetString({});
    if (rep_) TJStringRep::Free(rep_);
  }
  rep_ = nullptr;
}

// --- events ---

void TJBaseSocketObject::HookSocketEvents(net::TgSocket& socket) {
  socket.OnStatus = [this](net::TgSocket&, const std::string& text) { FireStatus(text); };
  socket.OnConnect = [this](net::TgSocket&) { FireEvent("onConnect"); };
  socket.OnDisconnect = [this](net::TgSocket&) { FireEvent("onDisconnect"); };
  socket.OnSocketError = [this](net::TgSocket&, int code, const std::string& name) {
    FireEvent("onError", {TJValue::Integer(int32_t(uint16_t(code))), TJValue::String(name)});
  };
  socket.OnRead = [this](net::TgSocket&, int count, bool& cancel) { FireCountEvent("onRead", count, cancel); };
  socket.OnWrite = [this](net::TgSocket&, int count, bool& cancel) { FireCountEvent("onWrite", count, cancel); };
}

void TJBaseSocketObject::UnhookSocketEvents(net::TgSocket& socket) {
  socket.OnStatus = nullptr;
  socket.OnConnect = nullptr;
  socket.OnConnectFailed = nullptr;
  socket.OnNeedConnect = nullptr;
  socket.OnDisconnect = nullptr;
  socket.OnSocketError = nullptr;
  socket.OnHostResolved = nullptr;
  socket.OnResolveError = nullptr;
  socket.OnRead = nullptr;
  socket.OnWrite = nullptr;
  socket.OnReadReady = nullptr;
  socket.OnAccept = nullptr;
  socket.OnIdle = nullptr;
}

void TJBaseSocketObject::FireEvent(std::string_view name, std::initializer_list<TJValue> extra) {
  if (IsDisposed() || !IsCallEvent(name)) return;
  TJValueList args;
  args.AddObject(this);
  for (const TJValue& v : extra) args.Add(v);
  TJValue result;
  CallEvent("", name, &args, result);
}

void TJBaseSocketObject::FireStatus(const std::string& text) {
  if (debug_ && PrintHook) PrintHook(text);
  // The library swallows whatever a status handler raises; an abort or exit is kept and raised
  // again once the library call is over.
  try {
    FireEvent("onStatus", {TJValue::String(text)});
  } catch (const EJAbort&) {
    if (!pendingStop_) pendingStop_ = std::current_exception();
    throw;
  } catch (const EJStatement&) {
    if (!pendingStop_) pendingStop_ = std::current_exception();
    throw;
  }
}

void TJBaseSocketObject::FireCountEvent(std::string_view name, int count, bool& cancel) {
  if (IsDisposed() || !IsCallEvent(name)) return;
  TJValueList init;
  init.AddBool(cancel);
  auto* box = TJObject::Create<stdlib::TJBooleanObject>(Engine(), &init);
  TJValueList args;
  args.AddObject(this);
  args.AddInteger(count);
  args.AddObject(box);  // the list holds the box for the call
  TJValue result;
  try {
    CallEvent("", name, &args, result);
  } catch (...) {
    cancel = box->Bool();
    throw;
  }
  cancel = box->Bool();
}

}  // namespace host
