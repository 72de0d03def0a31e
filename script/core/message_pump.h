// What the engine needs of the host's message loop: one pass over pending window messages while a
// script pumps (`doEvents`, the engine's event loop after the program body), whether the
// application is shutting down, and sleeping between passes. The console host uses the null pump
// below (nothing to pump, sleeping only); GUI hosts pass their own.
#pragma once

#include <cstdint>

#include "platform/rt/clock.h"

namespace engine {

class IMessagePump {
 public:
  virtual ~IMessagePump() = default;
  // Messages are only pumped on the application's main thread.
  virtual bool OnMainThread() const { return true; }
  virtual bool IsTerminating() const { return false; }
  virtual void ProcessPending() {}
  virtual void Sleep(uint32_t milliseconds) { rt::Sleep(milliseconds); }
};

// The pump of a host without windows.
IMessagePump& NullMessagePump();

}  // namespace engine
