// Timers: OnTimer every Interval milliseconds while Enabled, through the installed timer service
// (without one, nothing fires by itself; Timer() fires the event by hand).
#pragma once

#include <cstdint>

#include "platform/fw/component.h"
#include "platform/fw/events.h"

namespace fw {

class TTimer : public TComponent {
  RT_CLASS(TTimer)
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t interval);
  TNotifyEvent OnTimerEvent() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent handler);
  // True while the timer service is counting for it.
  bool Running() const { return serviceId_ != 0; }

  // One tick: fires OnTimer; a failure in the handler goes to the application's handler.
  void Timer();
  void Loaded() override;

 private:
  rt::Method GetOnTimer() const { return onTimer_.toMethod(); }
  void SetOnTimerMethod(const rt::Method& m) { SetOnTimer(TNotifyEvent::fromMethod(m)); }
  void UpdateTimer();

  bool enabled_ = true;
  uint32_t interval_ = 1000;
  TNotifyEvent onTimer_;
  uint32_t serviceId_ = 0;
};

}  // namespace fw
