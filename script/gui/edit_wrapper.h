// Single-line edits and memos. Selection positions and lengths count characters of the text, as
// the script's string functions do.
#pragma once

#include "platform/fw/edit.h"
#include "platform/fw/memo.h"
#include "script/gui/control_wrapper.h"

namespace gui {

class TJVCLBaseEdit : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseEdit)
 public:
  TJVCLBaseEdit(engine::TJBaseEngine* engine, engine::TJValueList* param);

  const rt::ClassInfo& VCLClass() const override;
  fw::TCustomEdit* Edit() const { return static_cast<fw::TCustomEdit*>(VCL()); }

  void RegistMethods() override;
  void HookEvents() override;

  // Published (each checks that a component is bound).
  bool GetCanUndo() const;
  bool GetModified() const;
  void SetModified(bool value);
  int32_t GetSelLength() const;
  void SetSelLength(int32_t length);
  int32_t GetSelStart() const;
  void SetSelStart(int32_t start);
  std::string GetSelText() const;
  void SetSelText(std::string text);

  void DoClear(engine::TJValueList* args, engine::TJValue& result);
  void DoClearSelection(engine::TJValueList* args, engine::TJValue& result);
  void DoCopyToClipboard(engine::TJValueList* args, engine::TJValue& result);
  void DoCutToClipboard(engine::TJValueList* args, engine::TJValue& result);
  void DoPasteFromClipboard(engine::TJValueList* args, engine::TJValue& result);
  void DoUndo(engine::TJValueList* args, engine::TJValue& result);
  void DoClearUndo(engine::TJValueList* args, engine::TJValue& result);
  void DoSelectAll(engine::TJValueList* args, engine::TJValue& result);

 protected:
  void Check() const { const_cast<TJVCLBaseEdit*>(this)->CheckVCL(nullptr, 0); }
};

class TJVCLBaseMemo : public TJVCLBaseEdit {
  RT_CLASS(TJVCLBaseMemo)
 public:
  TJVCLBaseMemo(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJVCLBaseMemo() override;

  const rt::ClassInfo& VCLClass() const override;
  fw::TCustomMemo* Memo() const { return static_cast<fw::TCustomMemo*>(VCL()); }

  void CreateObjects() override;
  void ReleaseVCL() override;
  void Dispose() override;

  // Published: lines (one string-list object, pointed at the memo's lines at every read),
  // caretPos (one point object, updated at every read: x the column, y the line, both
  // in characters) and text (the lines joined by CR LF).
  engine::TJObject* GetLines() const;
  engine::TJObject* GetCaretPos() const;
  std::string GetText() const;
  void SetText(std::string text);

 private:
  engine::TJRef<engine::TJObject> lines_;
  mutable engine::TJRef<engine::TJObject> caret_;
};

BR_GUI_CREATING_CLASS(TJVCLEdit, TJVCLBaseEdit, fw::TEdit)
BR_GUI_CREATING_CLASS(TJVCLMemo, TJVCLBaseMemo, fw::TMemo)

}  // namespace gui
