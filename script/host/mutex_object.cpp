#include "script/host/mutex_object.h"

#include "platform/rt/persistent.h"
#include "script/core/value_list.h"

namespace host {

using namespace engine;

const rt::ClassInfo& TJMutexObject::StaticClassInfo() {
  using T = TJMutexObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJMutexObject", &TJObject::StaticClassInfo())
                                         .property("timeout", &T::Timeout, &T::SetTimeout)
                                         .property("existed", &T::Existed)
                                         .build();
  return info;
}

TJMutexObject::TJMutexObject(TJBaseEngine* engine, TJValueList* param)
    : TJObject(engine, param),
      mutex_(std::make_unique<support::TMutex>(IsParam1(param) ? AsString(&(*param)[0]) : std::string())) {
  RegistName("Mutex");
}

TJMutexObject::~TJMutexObject() { releaseAll(); }

void TJMutexObject::releaseAll() {
  if (!mutex_) return;
  for (; held_ > 0; --held_) mutex_->Unlock();
}

void TJMutexObject::Dispose() {
  releaseAll();
  mutex_.reset();
  TJObject::Dispose();
}

void TJMutexObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("lock", &TJMutexObject::DoLock);
  RegistMethod("unlock", &TJMutexObject::DoUnlock);
  RegistMethod("tryLock", &TJMutexObject::DoTryLock);
  RegistMethod("exists", &TJMutexObject::DoExists);
}

void TJMutexObject::DoLock(TJValueList*, TJValue& result) {
  if (mutex_ && mutex_->Lock()) ++held_;
  result.SetObject(this);
}

// Releases one lock of the calling thread, which may have taken it through another object of the
// same name.
void TJMutexObject::DoUnlock(TJValueList*, TJValue& result) {
  if (mutex_ && mutex_->Unlock() && held_ > 0) --held_;
  result.SetObject(this);
}

// A negative timeout waits no time at all.
void TJMutexObject::DoTryLock(TJValueList*, TJValue& result) {
  bool got = false;
  if (mutex_) {
    mutex_->Timeout = timeout_ < 0 ? 0 : uint32_t(timeout_);
    got = mutex_->TryLock();
    if (got) ++held_;
  }
  result.SetBool(got);
}

void TJMutexObject::DoExists(TJValueList*, TJValue& result) { result.SetBool(Existed()); }

}  // namespace host
