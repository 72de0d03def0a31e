#include "platform/fw/spin.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "platform/fw/errors.h"

namespace fw {

namespace {

constexpr int32_t kLowest = -32768, kHighest = 32767;

int32_t clamp16(int32_t v) { return std::clamp(v, kLowest, kHighest); }

// A whole number, with blanks around it and thousands separators allowed; false for anything else.
bool parseNumber(const std::string& text, int64_t& out) {
  std::string digits;
  for (char c : text)
    if (c != ',') digits += c;
  size_t b = digits.find_first_not_of(" \t");
  size_t e = digits.find_last_not_of(" \t");
  if (b == std::string::npos) return false;
  const char* first = digits.data() + b;
  const char* last = digits.data() + e + 1;
  if (*first == '+') ++first;
  auto [ptr, ec] = std::from_chars(first, last, out);
  return ec == std::errc() && ptr == last;
}

}  // namespace

const rt::MethodType& UDChangingEventType() {
  static const rt::MethodType type{"TUDChangingEvent",
                                   {rt::MethodParam{"Sender", "TObject", false},
                                    rt::MethodParam{"AllowChange", "Boolean", true}}};
  return type;
}

const rt::MethodType& UDChangingEventExType() {
  static const rt::MethodType type{"TUDChangingEventEx",
                                   {rt::MethodParam{"Sender", "TObject", false},
                                    rt::MethodParam{"AllowChange", "Boolean", true},
                                    rt::MethodParam{"NewValue", "SmallInt", false},
                                    rt::MethodParam{"Direction", "TUpDownDirection", false}}};
  return type;
}

const rt::MethodType& UDClickEventType() {
  static const rt::MethodType type{"TUDClickEvent",
                                   {rt::MethodParam{"Sender", "TObject", false},
                                    rt::MethodParam{"Button", "TUDBtnType", false}}};
  return type;
}

// ---- up-down ----

const rt::ClassInfo& TUpDown::StaticClassInfo() {
  using T = TUpDown;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TUpDown", &TWinControl::StaticClassInfo())
          .property("AlignButton", &T::AlignButton, &T::SetAlignButton).defaultValue(udRight)
          .property("ArrowKeys", &T::ArrowKeys, &T::SetArrowKeys).defaultValue(true)
          .property("Associate", &T::Associate, &T::SetAssociate)
          .property("Increment", &T::Increment, &T::SetIncrement).defaultValue(1)
          .property("Max", &T::Max, &T::SetMax).defaultValue(100)
          .property("Min", &T::Min, &T::SetMin).defaultValue(0)
          .property("Orientation", &T::Orientation, &T::SetOrientation).defaultValue(udVertical)
          .property("Position", &T::Position, &T::SetPosition).defaultValue(0)
          .property("Thousands", &T::Thousands, &T::SetThousands).defaultValue(true)
          .property("Wrap", &T::Wrap, &T::SetWrap).defaultValue(false)
          .event("OnChanging", UDChangingEventType(), &T::OnChanging)
          .event("OnChangingEx", UDChangingEventExType(), &T::OnChangingEx)
          .event("OnClick", UDClickEventType(), &T::OnUDClick)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TUpDown(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 17, 25);
  SetColor(clBtnFace);
  clickOnMouseUp_ = false;  // its clicks are the arrows'
}

TUpDown::~TUpDown() {
  if (associate_) associate_->RemoveFreeNotification(this);
  associate_ = nullptr;
}

void TUpDown::SetMin(int32_t v) {
  min_ = clamp16(v);
  if (!HasState(csLoading)) SetPosition(position_);
  PeerChanged(TPeerChange::State);
}

void TUpDown::SetMax(int32_t v) {
  max_ = clamp16(v);
  if (!HasState(csLoading)) SetPosition(position_);
  PeerChanged(TPeerChange::State);
}

void TUpDown::SetPosition(int32_t v) {
  // While loading, the range may come after the position.
  position_ = HasState(csLoading) ? clamp16(v) : std::clamp(v, Low(), High());
  ShowInAssociate();
  PeerChanged(TPeerChange::State);
}

void TUpDown::SetThousands(bool v) {
  thousands_ = v;
  ShowInAssociate();
}

void TUpDown::SetAlignButton(TUDAlignButton v) {
  alignButton_ = v;
  PlaceBesideAssociate();
}

void TUpDown::SetOrientation(TUDOrientation v) {
  orientation_ = v;
  PeerChanged(TPeerChange::Content);
}

void TUpDown::SetAssociate(TWinControl* control) {
  if (control == associate_) return;
  if (control == this) throw EInvalidOperation("An up-down control cannot be associated with itself");
  if (associate_) associate_->RemoveFreeNotification(this);
  associate_ = control;
  if (!control) return;
  control->FreeNotification(this);
  PlaceBesideAssociate();
  ShowInAssociate();
}

std::string TUpDown::PositionText() const {
  std::string digits = std::to_string(position_ < 0 ? -int64_t(position_) : int64_t(position_));
  if (thousands_)
    for (int i = int(digits.size()) - 3; i > 0; i -= 3) digits.insert(size_t(i), ",");
  return position_ < 0 ? "-" + digits : digits;
}

void TUpDown::ShowInAssociate() {
  if (!associate_ || HasState(csLoading)) return;
  const std::string text = PositionText();
  if (associate_->GetText() != text) associate_->SetText(text);
}

void TUpDown::PlaceBesideAssociate() {
  if (!associate_ || HasState(csLoading)) return;
  if (associate_->Parent() && Parent() != associate_->Parent()) SetParent(associate_->Parent());
  const int32_t left =
      alignButton_ == udRight ? associate_->Left() + associate_->Width() : associate_->Left() - Width();
  SetBounds(left, associate_->Top(), Width(), associate_->Height());
}

int32_t TUpDown::CurrentPosition() const {
  int64_t shown = 0;
  if (associate_ && parseNumber(associate_->GetText(), shown))
    return int32_t(std::clamp<int64_t>(shown, Low(), High()));
  return position_;
}

bool TUpDown::UserClick(TUDBtnType button) {
  const int32_t current = CurrentPosition();
  const int64_t step = button == btNext ? int64_t(increment_) : -int64_t(increment_);
  int64_t next = current + step;
  TUpDownDirection direction = step > 0 ? updUp : step < 0 ? updDown : updNone;
  if (next > High() || next < Low()) {
    if (wrap_) {
      next = next > High() ? Low() : High();
    } else {
      next = std::clamp<int64_t>(next, Low(), High());
      if (next == current) direction = updNone;
    }
  }
  auto alive = LivenessToken();
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (alive.expired()) return false;
  if (OnChangingEx) OnChangingEx(this, allow, int16_t(next), direction);
  if (alive.expired() || !allow) return false;
  SetPosition(int32_t(next));
  if (alive.expired()) return false;
  if (OnUDClick) OnUDClick(this, button);
  return true;
}

void TUpDown::Loaded() {
  TWinControl::Loaded();
  position_ = std::clamp(position_, Low(), High());
  PlaceBesideAssociate();
  ShowInAssociate();
}

void TUpDown::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == associate_) associate_ = nullptr;
}

// ---- spin edit ----

const rt::ClassInfo& TSpinEdit::StaticClassInfo() {
  using T = TSpinEdit;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TSpinEdit", &TCustomEdit::StaticClassInfo())
          .property("EditorEnabled", &T::EditorEnabled, &T::SetEditorEnabled).defaultValue(true)
          .property("Increment", &T::Increment, &T::SetIncrement).defaultValue(1)
          .property("MaxValue", &T::MaxValue, &T::SetMaxValue).defaultValue(0)
          .property("MinValue", &T::MinValue, &T::SetMinValue).defaultValue(0)
          .property("Value", &T::Value, &T::SetValue)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TSpinEdit(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) { StoreText("0"); }

int32_t TSpinEdit::CheckValue(int64_t v) const {
  if (maxValue_ != minValue_) {
    const int32_t lo = std::min(minValue_, maxValue_), hi = std::max(minValue_, maxValue_);
    return int32_t(std::clamp<int64_t>(v, lo, hi));
  }
  return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

int32_t TSpinEdit::Value() const {
  int64_t v = 0;
  if (!parseNumber(Text(), v)) v = minValue_;
  return CheckValue(v);
}

void TSpinEdit::SetValue(int32_t v) { SetText(std::to_string(CheckValue(v))); }

void TSpinEdit::SetMinValue(int32_t v) {
  minValue_ = v;
  PeerChanged(TPeerChange::State);
}

void TSpinEdit::SetMaxValue(int32_t v) {
  maxValue_ = v;
  PeerChanged(TPeerChange::State);
}

void TSpinEdit::SetEditorEnabled(bool v) {
  editorEnabled_ = v;
  PeerChanged(TPeerChange::State);
}

void TSpinEdit::DoExit() {
  auto alive = LivenessToken();
  const std::string shown = std::to_string(Value());
  if (Text() != shown) SetText(shown);
  if (!alive.expired()) TCustomEdit::DoExit();
}

void TSpinEdit::UserStep(int32_t steps) {
  if (ReadOnly() || steps == 0) return;
  const int64_t next = int64_t(Value()) + int64_t(steps) * increment_;
  const std::string text = std::to_string(CheckValue(next));
  if (text == Text()) return;
  SetText(text);
  SetModified(true);
}

}  // namespace fw
