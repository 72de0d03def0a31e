// The services through which the framework reaches the window system: the message pump, timers,
// the factory of on-screen peers, and synthetic window handles. A host installs its
// implementations at start-up (the Qt host does); without them the models work on their own and
// nothing appears on screen, which is how the model tests run. Test fakes live beside them.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace fw {

class TControl;

// Handles pending window-system events and posted calls.
class IMessagePump {
 public:
  virtual ~IMessagePump() = default;
  // Handles everything pending without waiting; true when something was handled.
  virtual bool ProcessMessages() = 0;
  // Waits until something arrives, then handles it.
  virtual void WaitMessage() = 0;
  // Ends a WaitMessage in progress (after Terminate, a modal result, ...).
  virtual void Wake() = 0;
  // Runs `call` later, from the loop (deferred frees, posted messages).
  virtual void Post(std::function<void()> call) = 0;
};

// Repeating timers.
class ITimerService {
 public:
  virtual ~ITimerService() = default;
  // Calls `tick` every `intervalMs` milliseconds until stopped; the id is never 0.
  virtual uint32_t StartTimer(uint32_t intervalMs, std::function<void()> tick) = 0;
  virtual void StopTimer(uint32_t id) = 0;
};

// What a control's state changed in, for its peer to show.
enum class TPeerChange : uint8_t { Bounds, Visible, Enabled, Text, Color, Font, Content, State, Cursor, Order };

// The on-screen view of a control. It only shows the model's state and reports input to it.
class TControlPeer {
 public:
  virtual ~TControlPeer() = default;
  virtual void Changed(TPeerChange what) = 0;
  virtual void SetFocus() {}
  virtual bool Focused() const { return false; }
  // Paints now, outside the loop (Repaint, Update).
  virtual void PaintNow() { Changed(TPeerChange::Content); }
};

// Makes peers; null when the control has no view of its own.
class IPeerFactory {
 public:
  virtual ~IPeerFactory() = default;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TControl& control) = 0;
};

// The screen the forms are placed on.
struct TScreenMetrics {
  int32_t Width = 1024;
  int32_t Height = 768;
};

// The installed services; null when none is installed (the screen metrics always answer).
IMessagePump* MessagePump();
void SetMessagePump(IMessagePump* pump);
ITimerService* TimerService();
void SetTimerService(ITimerService* timers);
IPeerFactory* PeerFactory();
void SetPeerFactory(IPeerFactory* factory);
const TScreenMetrics& ScreenMetrics();
void SetScreenMetrics(const TScreenMetrics& metrics);

// Window handles: 32-bit numbers, never 0, never given to two live objects at once.
using HWND = uint32_t;
HWND AllocateHandle(void* object);
void ReleaseHandle(HWND handle);
// The object behind a live handle; null for 0 or a released handle.
void* FindHandleObject(HWND handle);

// A message pump for tests: posted calls run in order when messages are processed. Waiting with
// nothing queued calls OnEmpty (by default: terminates the application, so that a loop under
// test ends instead of hanging).
class TFakeMessagePump : public IMessagePump {
 public:
  bool ProcessMessages() override;
  void WaitMessage() override;
  void Wake() override { ++Wakes; }
  void Post(std::function<void()> call) override { queue_.push_back(std::move(call)); }

  int Waits = 0;
  int Wakes = 0;
  std::function<void()> OnEmpty;

 private:
  std::vector<std::function<void()>> queue_;
};

// Timers for tests: nothing fires until Advance moves the fake clock.
class TFakeTimers : public ITimerService {
 public:
  uint32_t StartTimer(uint32_t intervalMs, std::function<void()> tick) override;
  void StopTimer(uint32_t id) override;
  // Moves the clock on by `ms`, firing every timer that falls due, in time order.
  void Advance(uint32_t ms);
  int Running() const { return int(timers_.size()); }

 private:
  struct Timer {
    uint32_t interval;
    uint64_t due;
    std::shared_ptr<std::function<void()>> tick;
  };
  std::map<uint32_t, Timer> timers_;
  uint32_t next_ = 1;
  uint64_t now_ = 0;
};

// Installs services for the scope's lifetime and restores the previous ones after.
class TServiceScope {
 public:
  TServiceScope(IMessagePump* pump, ITimerService* timers, IPeerFactory* peers = nullptr);
  ~TServiceScope();
  TServiceScope(const TServiceScope&) = delete;
  TServiceScope& operator=(const TServiceScope&) = delete;

 private:
  IMessagePump* pump_;
  ITimerService* timers_;
  IPeerFactory* peers_;
};

}  // namespace fw
