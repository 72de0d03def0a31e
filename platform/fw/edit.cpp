#include "platform/fw/edit.h"

#include <algorithm>

#include "platform/rt/persistent.h"

namespace fw {

namespace {

bool isTrail(unsigned char c) { return (c & 0xC0) == 0x80; }

// Moves a byte position back to the start of the character it falls in.
int32_t charStart(const std::string& s, int32_t pos) {
  pos = std::clamp(pos, 0, int32_t(s.size()));
  while (pos > 0 && pos < int32_t(s.size()) && isTrail(s[pos])) --pos;
  return pos;
}

}  // namespace

const rt::ClassInfo& TCustomEdit::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TCustomEdit>("TCustomEdit", &TWinControl::StaticClassInfo())
          .property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).defaultValue(true)
          .property("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).defaultValue(true)
          .property("AutoSize", &TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize).defaultValue(true)
          .property("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle)
          .defaultValue(int(TBorderStyle::bsSingle))
          .property("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase).defaultValue(ecNormal)
          .property("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection).defaultValue(true)
          .property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).defaultValue(0)
          .property("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar).defaultValue(0)
          .property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).defaultValue(false)
          .event("OnChange", NotifyEventType(), &TCustomEdit::OnChange)
          .build();
  return info;
}

const rt::ClassInfo& TEdit::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TEdit>("TEdit", &TCustomEdit::StaticClassInfo())
          .property("Text", &TCustomEdit::Text, &TCustomEdit::SetText)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TEdit(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

std::string TCustomEdit::Cased(const std::string& text) const {
  std::string s = text;
  if (charCase_ == ecUpperCase)
    for (char& c : s) c = (c >= 'a' && c <= 'z') ? char(c - 32) : c;
  else if (charCase_ == ecLowerCase)
    for (char& c : s) c = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
  return s;
}

void TCustomEdit::StoreText(const std::string& text) { TControl::SetText(text); }

void TCustomEdit::SetText(const std::string& text) {
  const std::string s = Cased(text);
  modified_ = false;
  selStart_ = selLength_ = 0;
  if (s == GetText()) {
    PeerChanged(TPeerChange::State);
    return;
  }
  StoreText(s);
  Change();
}

void TCustomEdit::Change() {
  if (OnChange && !HasState(csLoading)) OnChange(this);
}

void TCustomEdit::SetMaxLength(int32_t n) {
  maxLength_ = std::max(0, n);
  PeerChanged(TPeerChange::State);
}

void TCustomEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  PeerChanged(TPeerChange::State);
}

void TCustomEdit::SetPasswordChar(char c) {
  passwordChar_ = c;
  PeerChanged(TPeerChange::State);
}

void TCustomEdit::SetCharCase(TEditCharCase c) {
  charCase_ = c;
  const std::string s = Cased(GetText());
  if (s != GetText()) {
    StoreText(s);
    Change();
  }
}

void TCustomEdit::SetBorderStyle(TBorderStyle s) {
  borderStyle_ = s;
  PeerChanged(TPeerChange::State);
}

void TCustomEdit::ClampSelection() {
  const std::string text = GetText();
  selStart_ = charStart(text, selStart_);
  int32_t end = charStart(text, selStart_ + std::max(0, selLength_));
  // A length that ends inside a character takes the whole character.
  if (selStart_ + selLength_ > end && end < int32_t(text.size())) {
    end = selStart_ + selLength_;
    while (end < int32_t(text.size()) && isTrail(text[end])) ++end;
  }
  selLength_ = std::max(0, end - selStart_);
}

void TCustomEdit::SetSelStart(int32_t start) {
  selStart_ = start;
  selLength_ = 0;
  ClampSelection();
  PeerChanged(TPeerChange::State);
}

void TCustomEdit::SetSelLength(int32_t length) {
  selLength_ = length;
  ClampSelection();
  PeerChanged(TPeerChange::State);
}

std::string TCustomEdit::SelText() const { return GetText().substr(selStart_, selLength_); }

void TCustomEdit::SetSelText(const std::string& text) {
  std::string s = GetText();
  undoText_ = s;
  canUndo_ = true;
  s.replace(selStart_, selLength_, Cased(text));
  selStart_ += int32_t(text.size());
  selLength_ = 0;
  modified_ = true;
  if (s == GetText()) return;
  StoreText(s);
  Change();
}

void TCustomEdit::SelectAll() {
  selStart_ = 0;
  selLength_ = int32_t(GetText().size());
  PeerChanged(TPeerChange::State);
}

void TCustomEdit::Undo() {
  if (!canUndo_) return;
  std::string previous = GetText();
  std::string restored = undoText_;
  undoText_ = previous;
  selStart_ = selLength_ = 0;
  modified_ = true;
  StoreText(restored);
  Change();
}

void TCustomEdit::UserEdited(const std::string& typed, int32_t selStart, int32_t selLength) {
  const std::string text = Cased(typed);
  if (text != GetText()) {
    undoText_ = GetText();
    canUndo_ = true;
    modified_ = true;
    selStart_ = selStart;
    selLength_ = selLength;
    StoreText(text);
    ClampSelection();
    Change();
  } else {
    UserSelected(selStart, selLength);
  }
}

void TCustomEdit::UserSelected(int32_t selStart, int32_t selLength) {
  selStart_ = selStart;
  selLength_ = selLength;
  ClampSelection();
}

}  // namespace fw
