#include "platform/fw/splitter.h"

#include <algorithm>

#include "platform/rt/persistent.h"

namespace fw {

const rt::MethodType& CanResizeSizeEventType() {
  static const rt::MethodType type{"TCanResizeEvent",
                                   {rt::MethodParam{"Sender", "TObject", false}, rt::MethodParam{"NewSize", "Integer", true},
                                    rt::MethodParam{"Accept", "Boolean", true}}};
  return type;
}

// ---- splitter ----

const rt::ClassInfo& TSplitter::StaticClassInfo() {
  using T = TSplitter;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TSplitter", &TGraphicControl::StaticClassInfo())
          .property("AutoSnap", &T::AutoSnap, &T::SetAutoSnap).defaultValue(true)
          .property("Beveled", &T::Beveled, &T::SetBeveled).defaultValue(false)
          .property("MinSize", &T::MinSize, &T::SetMinSize).defaultValue(30)
          .property("ResizeStyle", &T::ResizeStyle, &T::SetResizeStyle).defaultValue(rsPattern)
          .event("OnCanResize", CanResizeSizeEventType(), &T::OnCanResizeSize)
          .event("OnMoved", NotifyEventType(), &T::OnMoved)
          .event("OnPaint", NotifyEventType(), &T::OnPaint)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TSplitter(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 3, 100);
  SetAlign(alLeft);
}

TControl* TSplitter::ResizeControl() const {
  TWinControl* parent = Parent();
  if (!parent) return nullptr;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    switch (Align()) {
      case alLeft: if (c->Left() + c->Width() == Left()) return c; break;
      case alRight: if (c->Left() == Left() + Width()) return c; break;
      case alTop: if (c->Top() + c->Height() == Top()) return c; break;
      case alBottom: if (c->Top() == Top() + Height()) return c; break;
      default: break;
    }
  }
  return nullptr;
}

bool TSplitter::UserMoveBy(int32_t delta) {
  TControl* target = ResizeControl();
  if (!target || delta == 0) return false;
  const bool horizontal = Align() == alLeft || Align() == alRight;
  const int32_t current = horizontal ? target->Width() : target->Height();
  const int32_t sign = (Align() == alLeft || Align() == alTop) ? 1 : -1;
  const int32_t room = horizontal ? Parent()->ClientWidth() : Parent()->ClientHeight();
  const int32_t thickness = horizontal ? Width() : Height();
  const int32_t most = std::max(minSize_, room - thickness - minSize_);
  int32_t newSize = std::clamp(current + sign * delta, minSize_, most);
  bool accept = true;
  auto alive = LivenessToken();
  if (OnCanResizeSize) OnCanResizeSize(this, newSize, accept);
  if (alive.expired() || !accept || newSize == current || newSize < 0) return false;
  if (horizontal) target->SetWidth(newSize);
  else target->SetHeight(newSize);
  if (OnMoved) OnMoved(this);
  return true;
}

void TSplitter::Paint() {
  if (OnPaint) OnPaint(this);
}

// ---- progress bar ----

const rt::ClassInfo& TProgressBar::StaticClassInfo() {
  using T = TProgressBar;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TProgressBar", &TWinControl::StaticClassInfo())
          .property("Min", &T::Min, &T::SetMin).defaultValue(0)
          .property("Max", &T::Max, &T::SetMax).defaultValue(100)
          .property("Orientation", &T::Orientation, &T::SetOrientation).defaultValue(pbHorizontal)
          .property("Position", &T::Position, &T::SetPosition).defaultValue(0)
          .property("Smooth", &T::Smooth, &T::SetSmooth).defaultValue(false)
          .property("Step", &T::Step, &T::SetStep).defaultValue(10)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TProgressBar(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::SetMin(int32_t v) {
  min_ = v;
  if (max_ < min_ && !HasState(csLoading)) max_ = min_;
  if (!HasState(csLoading)) position_ = std::clamp(position_, min_, max_);
  PeerChanged(TPeerChange::State);
}

void TProgressBar::SetMax(int32_t v) {
  max_ = v;
  if (min_ > max_ && !HasState(csLoading)) min_ = max_;
  if (!HasState(csLoading)) position_ = std::clamp(position_, min_, max_);
  PeerChanged(TPeerChange::State);
}

void TProgressBar::SetPosition(int32_t v) {
  position_ = HasState(csLoading) ? v : std::clamp(v, min_, std::max(min_, max_));
  PeerChanged(TPeerChange::State);
}

void TProgressBar::SetSmooth(bool v) {
  smooth_ = v;
  PeerChanged(TPeerChange::State);
}

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  orientation_ = v;
  PeerChanged(TPeerChange::State);
}

void TProgressBar::StepIt() {
  int64_t next = int64_t(position_) + step_;
  if (next > max_) next = min_;
  if (next < min_) next = min_;
  SetPosition(int32_t(next));
}

void TProgressBar::StepBy(int32_t delta) {
  SetPosition(int32_t(std::clamp<int64_t>(int64_t(position_) + delta, min_, std::max(min_, max_))));
}

}  // namespace fw
