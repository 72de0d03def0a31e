// Splitters (a bar the user drags to resize the control aligned next to it) and progress bars.
#pragma once

#include <cstdint>

#include "platform/fw/control.h"

namespace fw {

FW_ENUM(TResizeStyle, rsNone, rsLine, rsUpdate, rsPattern)
FW_ENUM(TProgressBarOrientation, pbHorizontal, pbVertical)

using TCanResizeSizeEvent = rt::Event<void(TObject* Sender, int32_t& NewSize, bool& Accept)>;
const rt::MethodType& CanResizeSizeEventType();

class TSplitter : public TGraphicControl {
  RT_CLASS(TSplitter)
 public:
  explicit TSplitter(TComponent* owner);

  int32_t MinSize() const { return minSize_; }
  void SetMinSize(int32_t v) { minSize_ = v < 1 ? 1 : v; }
  bool AutoSnap() const { return autoSnap_; }
  void SetAutoSnap(bool v) { autoSnap_ = v; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool v) { beveled_ = v; }
  TResizeStyle ResizeStyle() const { return resizeStyle_; }
  void SetResizeStyle(TResizeStyle v) { resizeStyle_ = v; }

  // The control the splitter resizes: the visible sibling aligned to the same side whose edge
  // touches the splitter; none when there is no such control.
  TControl* ResizeControl() const;
  // Input from the peer: the user dragged the splitter by `delta` pixels (towards the right or
  // the bottom when positive). The new size, kept at least MinSize and leaving the parent's
  // remaining room at least MinSize, goes to OnCanResize, which may change or refuse it; an
  // accepted size is applied and OnMoved fires. Answers whether anything was resized.
  bool UserMoveBy(int32_t delta);
  // The peer drew the bar: OnPaint.
  void Paint();

  TCanResizeSizeEvent OnCanResizeSize;
  TNotifyEvent OnMoved;
  TNotifyEvent OnPaint;

 private:
  int32_t minSize_ = 30;
  bool autoSnap_ = true, beveled_ = false;
  TResizeStyle resizeStyle_ = rsPattern;
};

class TProgressBar : public TWinControl {
  RT_CLASS(TProgressBar)
 public:
  explicit TProgressBar(TComponent* owner);

  int32_t Min() const { return min_; }
  void SetMin(int32_t v);
  int32_t Max() const { return max_; }
  void SetMax(int32_t v);
  // Kept between Min and Max.
  int32_t Position() const { return position_; }
  void SetPosition(int32_t v);
  int32_t Step() const { return step_; }
  void SetStep(int32_t v) { step_ = v; }
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation v);

  // Advances by Step; passing Max starts over from Min.
  void StepIt();
  // Advances by delta, kept within the range.
  void StepBy(int32_t delta);

 private:
  int32_t min_ = 0, max_ = 100, position_ = 0, step_ = 10;
  bool smooth_ = false;
  TProgressBarOrientation orientation_ = pbHorizontal;
};

}  // namespace fw
