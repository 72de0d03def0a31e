#include "platform/fw/timer.h"

#include "platform/fw/application.h"
#include "platform/fw/services.h"
#include "platform/rt/persistent.h"

namespace fw {

const rt::ClassInfo& TTimer::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TTimer>("TTimer", &TComponent::StaticClassInfo())
          .property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).defaultValue(true)
          .property("Interval", &TTimer::Interval, &TTimer::SetInterval).defaultValue(1000)
          .event("OnTimer", NotifyEventType(), &TTimer::GetOnTimer, &TTimer::SetOnTimerMethod)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TTimer(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
  if (serviceId_)
    if (ITimerService* s = TimerService()) s->StopTimer(serviceId_);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  UpdateTimer();
}

void TTimer::SetInterval(uint32_t interval) {
  if (interval == interval_) return;
  interval_ = interval;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = handler;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  ITimerService* service = TimerService();
  if (serviceId_ && service) service->StopTimer(serviceId_);
  serviceId_ = 0;
  if (!service || !enabled_ || interval_ == 0 || !onTimer_ || HasState(csLoading) || HasState(csDestroying)) return;
  auto alive = LivenessToken();
  serviceId_ = service->StartTimer(interval_, [this, alive] {
    if (!alive.expired()) Timer();
  });
}

void TTimer::Timer() {
  if (!onTimer_) return;
  try {
    onTimer_(this);
  } catch (...) {
    Application()->HandleException(this);
  }
}

}  // namespace fw
