// Single-line edits. The text, the selection (byte offsets into the UTF-8 text), the modified
// flag and a one-step undo are kept here; the peer reports what the user types.
#pragma once

#include <cstdint>
#include <string>

#include "platform/fw/control.h"
#include "platform/fw/form.h"

namespace fw {

FW_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)

class TCustomEdit : public TWinControl {
  RT_CLASS(TCustomEdit)
 public:
  explicit TCustomEdit(TComponent* owner);

  std::string Text() const { return GetText(); }
  // Sets the text (in the character case asked for), clears the modified flag and the selection,
  // and fires OnChange when it differs.
  void SetText(const std::string& text) override;

  int32_t MaxLength() const { return maxLength_; }
  void SetMaxLength(int32_t n);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase c);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v) { autoSize_ = v; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v) { hideSelection_ = v; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle s);
  bool Modified() const { return modified_; }
  void SetModified(bool v) { modified_ = v; }

  // The selection in bytes of the text; positions inside a character move to its start.
  int32_t SelStart() const { return selStart_; }
  void SetSelStart(int32_t start);
  int32_t SelLength() const { return selLength_; }
  void SetSelLength(int32_t length);
  std::string SelText() const;
  // Replaces the selection (as typing would: undoable, modifies, fires OnChange).
  void SetSelText(const std::string& text);
  void SelectAll();
  void ClearSelection() { SetSelText(""); }
  void Clear() { SetText(""); }
  bool CanUndo() const { return canUndo_; }
  void Undo();
  void ClearUndo() { canUndo_ = false; }

  // From the peer: the user changed the text, or moved the selection.
  void UserEdited(const std::string& text, int32_t selStart, int32_t selLength);
  void UserSelected(int32_t selStart, int32_t selLength);

  TNotifyEvent OnChange;

 protected:
  // Applies the character case.
  std::string Cased(const std::string& text) const;
  virtual void Change();
  void StoreText(const std::string& text);

 private:
  void ClampSelection();

  int32_t maxLength_ = 0;
  bool readOnly_ = false;
  char passwordChar_ = 0;
  TEditCharCase charCase_ = ecNormal;
  bool autoSelect_ = true, autoSize_ = true, hideSelection_ = true;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  bool modified_ = false;
  int32_t selStart_ = 0, selLength_ = 0;
  bool canUndo_ = false;
  std::string undoText_;
};

class TEdit : public TCustomEdit {
  RT_CLASS(TEdit)
 public:
  using TCustomEdit::TCustomEdit;
};

}  // namespace fw
