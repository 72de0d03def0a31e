// Up-down controls (a pair of arrow buttons stepping a position, shown in an associated control's
// text) and spin edits (an edit holding a whole number, with arrows that step it).
#pragma once

#include <cstdint>
#include <string>

#include "platform/fw/control.h"
#include "platform/fw/edit.h"
#include "platform/fw/events.h"

namespace fw {

FW_ENUM(TUDAlignButton, udLeft, udRight)
FW_ENUM(TUDOrientation, udHorizontal, udVertical)
FW_ENUM(TUDBtnType, btNext, btPrev)
FW_ENUM(TUpDownDirection, updNone, updUp, updDown)

using TUDChangingEvent = rt::Event<void(TObject* Sender, bool& AllowChange)>;
using TUDChangingEventEx =
    rt::Event<void(TObject* Sender, bool& AllowChange, int16_t NewValue, TUpDownDirection Direction)>;
using TUDClickEvent = rt::Event<void(TObject* Sender, TUDBtnType Button)>;
const rt::MethodType& UDChangingEventType();
const rt::MethodType& UDChangingEventExType();
const rt::MethodType& UDClickEventType();

// Positions are 16-bit: Min, Max and Position are kept within -32768..32767, Position within
// the range Min and Max span. Setting Position (or the range) fires nothing; a click on an arrow
// asks OnChanging, then OnChangingEx with the value it would go to, and when both allow it moves
// the position and fires OnClick with the arrow.
class TUpDown : public TWinControl {
  RT_CLASS(TUpDown)
 public:
  explicit TUpDown(TComponent* owner);
  ~TUpDown() override;

  int32_t Min() const { return min_; }
  void SetMin(int32_t v);
  int32_t Max() const { return max_; }
  void SetMax(int32_t v);
  int32_t Position() const { return position_; }
  void SetPosition(int32_t v);
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t v) { increment_ = v; }
  bool Wrap() const { return wrap_; }
  void SetWrap(bool v) { wrap_ = v; }
  bool Thousands() const { return thousands_; }
  void SetThousands(bool v);
  bool ArrowKeys() const { return arrowKeys_; }
  void SetArrowKeys(bool v) { arrowKeys_ = v; }
  TUDAlignButton AlignButton() const { return alignButton_; }
  void SetAlignButton(TUDAlignButton v);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation v);
  // The control whose text shows the position; the up-down sits beside it.
  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* control);

  // The position as the associated control shows it ("1,234" with Thousands).
  std::string PositionText() const;
  // Input from the peer: an arrow was clicked. True when the position was allowed to move.
  bool UserClick(TUDBtnType button);

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

  TUDChangingEvent OnChanging;
  TUDChangingEventEx OnChangingEx;
  TUDClickEvent OnUDClick;

 private:
  int32_t Low() const { return min_ < max_ ? min_ : max_; }
  int32_t High() const { return min_ < max_ ? max_ : min_; }
  // The associated control's text when it holds a number, else the stored position.
  int32_t CurrentPosition() const;
  void ShowInAssociate();
  void PlaceBesideAssociate();

  int32_t min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
  bool wrap_ = false, thousands_ = true, arrowKeys_ = true;
  TUDAlignButton alignButton_ = udRight;
  TUDOrientation orientation_ = udVertical;
  TWinControl* associate_ = nullptr;
};

// The value is the text read as a whole number (MinValue when it is none), kept between MinValue
// and MaxValue unless both are equal; leaving the edit rewrites the text as that value. Setting Value writes the text (which fires OnChange when it
// changes); the arrows step it by Increment unless the edit is read-only.
class TSpinEdit : public TCustomEdit {
  RT_CLASS(TSpinEdit)
 public:
  explicit TSpinEdit(TComponent* owner);

  int32_t Value() const;
  void SetValue(int32_t v);
  int32_t MinValue() const { return minValue_; }
  void SetMinValue(int32_t v);
  int32_t MaxValue() const { return maxValue_; }
  void SetMaxValue(int32_t v);
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t v) { increment_ = v; }
  // Whether the user may type into the edit (the arrows work either way).
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool v);

  // Input from the peer: the arrows (or the arrow keys) stepped `steps` times.
  void UserStep(int32_t steps);

 protected:
  // Leaving the edit writes the value the text stands for ("99" above the top becomes the top,
  // text that is no number the minimum), before OnExit.
  void DoExit() override;

 private:
  int32_t CheckValue(int64_t v) const;

  int32_t minValue_ = 0, maxValue_ = 0, increment_ = 1;
  bool editorEnabled_ = true;
};

}  // namespace fw
