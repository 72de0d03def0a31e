#include "platform/fw/services.h"

#include <unordered_map>

#include "platform/fw/application.h"

namespace fw {

namespace {

IMessagePump* gPump = nullptr;
ITimerService* gTimers = nullptr;
IPeerFactory* gPeers = nullptr;
TScreenMetrics gScreen;

struct HandleTable {
  std::unordered_map<HWND, void*> live;
  HWND next = 1;
};
HandleTable& handles() {
  static HandleTable table;
  return table;
}

}  // namespace

IMessagePump* MessagePump() { return gPump; }
void SetMessagePump(IMessagePump* pump) { gPump = pump; }
ITimerService* TimerService() { return gTimers; }
void SetTimerService(ITimerService* timers) { gTimers = timers; }
IPeerFactory* PeerFactory() { return gPeers; }
void SetPeerFactory(IPeerFactory* factory) { gPeers = factory; }
const TScreenMetrics& ScreenMetrics() { return gScreen; }
void SetScreenMetrics(const TScreenMetrics& metrics) { gScreen = metrics; }

HWND AllocateHandle(void* object) {
  HandleTable& t = handles();
  // Numbers go up and wrap; 0 and numbers still alive are skipped.
  while (t.next == 0 || t.live.count(t.next)) ++t.next;
  HWND h = t.next++;
  t.live[h] = object;
  return h;
}

void ReleaseHandle(HWND handle) { handles().live.erase(handle); }

void* FindHandleObject(HWND handle) {
  auto& live = handles().live;
  auto it = live.find(handle);
  return it == live.end() ? nullptr : it->second;
}

bool TFakeMessagePump::ProcessMessages() {
  bool any = false;
  while (!queue_.empty()) {
    auto call = std::move(queue_.front());
    queue_.erase(queue_.begin());
    call();
    any = true;
  }
  return any;
}

void TFakeMessagePump::WaitMessage() {
  ++Waits;
  if (!queue_.empty()) {
    ProcessMessages();
    return;
  }
  if (OnEmpty)
    OnEmpty();
  else
    Application()->Terminate();
}

uint32_t TFakeTimers::StartTimer(uint32_t intervalMs, std::function<void()> tick) {
  if (intervalMs == 0) intervalMs = 1;
  uint32_t id = next_++;
  timers_[id] = Timer{intervalMs, now_ + intervalMs, std::make_shared<std::function<void()>>(std::move(tick))};
  return id;
}

void TFakeTimers::StopTimer(uint32_t id) { timers_.erase(id); }

void TFakeTimers::Advance(uint32_t ms) {
  const uint64_t end = now_ + ms;
  for (;;) {
    // The earliest due timer (ties: the one started first).
    uint32_t id = 0;
    uint64_t due = end + 1;
    for (auto& [tid, t] : timers_)
      if (t.due < due) {
        due = t.due;
        id = tid;
      }
    if (id == 0) break;
    now_ = due;
    auto tick = timers_[id].tick;  // the call may stop or restart the timer
    timers_[id].due += timers_[id].interval;
    (*tick)();
  }
  now_ = end;
}

TServiceScope::TServiceScope(IMessagePump* pump, ITimerService* timers, IPeerFactory* peers)
    : pump_(MessagePump()), timers_(TimerService()), peers_(PeerFactory()) {
  SetMessagePump(pump);
  SetTimerService(timers);
  SetPeerFactory(peers);
}

TServiceScope::~TServiceScope() {
  SetMessagePump(pump_);
  SetTimerService(timers_);
  SetPeerFactory(peers_);
}

}  // namespace fw
