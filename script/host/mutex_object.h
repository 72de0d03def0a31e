// The script class "Mutex": a named mutex shared with every process of this user. `new
// Mutex(name)` opens it, or makes it when no process has it; `existed` tells which. lock waits
// without limit, tryLock up to `timeout` milliseconds (10000 at first), and each lock needs its
// unlock; the thread that holds the mutex may lock it again.
//
// A Mutex object releases what it still holds when it is freed (also when the engine clears), so
// a forgotten unlock does not keep other processes waiting; a process that ends releases
// everything it held. An empty name makes a mutex private to the object.
#pragma once

#include <cstdint>
#include <memory>

#include "script/core/object.h"
#include "script/core/value.h"
#include "support/named_mutex.h"

namespace host {

class TJMutexObject : public engine::TJObject {
  RT_CLASS(TJMutexObject)
 public:
  TJMutexObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJMutexObject() override;

  // Published properties.
  int32_t Timeout() const { return timeout_; }
  void SetTimeout(int32_t ms) { timeout_ = ms; }
  bool Existed() const { return mutex_ && mutex_->Existed(); }

  // How many locks this object holds.
  int32_t HeldCount() const { return held_; }

  void RegistMethods() override;
  void Dispose() override;

  void DoLock(engine::TJValueList* args, engine::TJValue& result);
  void DoUnlock(engine::TJValueList* args, engine::TJValue& result);
  void DoTryLock(engine::TJValueList* args, engine::TJValue& result);
  void DoExists(engine::TJValueList* args, engine::TJValue& result);

 private:
  void releaseAll();

  std::unique_ptr<support::TMutex> mutex_;
  int32_t timeout_ = 10000;
  int32_t held_ = 0;
};

}  // namespace host
