// The common dialogs seen from scripts: open, save, font, find and replace. "execute" shows the
// dialog through the framework's dialog service; the dialog's events reach the script while it is
// up ("onShow", "onCanClose", "onApply", "onFind"...). Find and replace dialogs stay up after
// "execute" returns, until the user closes them or the script calls "closeDialog".
#pragma once

#include "platform/fw/common_dialogs.h"
#include "script/gui/component_wrapper.h"
#include "script/gui/list_wrapper.h"

namespace gui {

namespace dialog_events {
inline constexpr char konCanClose[] = "onCanClose";
inline constexpr char konFolderChange[] = "onFolderChange";
inline constexpr char konSelectionChange[] = "onSelectionChange";
inline constexpr char konTypeChange[] = "onTypeChange";
inline constexpr char konApply[] = "onApply";
inline constexpr char konFind[] = "onFind";
inline constexpr char konReplace[] = "onReplace";
}  // namespace dialog_events

// What the five dialogs share; never made by itself.
class TJVCLBaseCommonDialog : public TJVCLComponent {
  RT_CLASS(TJVCLBaseCommonDialog)
 public:
  TJVCLBaseCommonDialog(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TCommonDialog* Dialog() const { return static_cast<fw::TCommonDialog*>(VCL()); }
  void RegistMethods() override;
  void HookEvents() override;
  // "execute": here nothing (the result stays undefined); each dialog shows itself.
  virtual void DoExecute(engine::TJValueList* args, engine::TJValue& result);

 protected:
  // Runs the dialog's Execute and answers its result.
  void ExecuteDialog(engine::TJValueList* args, engine::TJValue& result);
};

class TJVCLBaseOpenDialog : public TJVCLBaseCommonDialog {
  RT_CLASS(TJVCLBaseOpenDialog)
 public:
  TJVCLBaseOpenDialog(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJVCLBaseOpenDialog() override;
  const rt::ClassInfo& VCLClass() const override;
  fw::TOpenDialog* OpenDialog() const { return static_cast<fw::TOpenDialog*>(VCL()); }
  void CreateObjects() override;
  void ReleaseVCL() override;
  void Dispose() override;
  void HookEvents() override;
  void DoExecute(engine::TJValueList* args, engine::TJValue& result) override;

  // Published: the files chosen, as one strings object pointed at the dialog's list at every read.
  engine::TJObject* GetFiles() const;

 private:
  static void HandleCanClose(void* data, fw::TObject* sender, bool& canClose);
  TJVCLItems files_;
};

class TJVCLBaseSaveDialog : public TJVCLBaseOpenDialog {
  RT_CLASS(TJVCLBaseSaveDialog)
 public:
  TJVCLBaseSaveDialog(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
};

class TJVCLBaseFontDialog : public TJVCLBaseCommonDialog {
  RT_CLASS(TJVCLBaseFontDialog)
 public:
  TJVCLBaseFontDialog(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TFontDialog* FontDialog() const { return static_cast<fw::TFontDialog*>(VCL()); }
  void HookEvents() override;
  void DoExecute(engine::TJValueList* args, engine::TJValue& result) override;

 private:
  static void HandleApply(void* data, fw::TObject* sender, fw::HWND wnd);
};

class TJVCLBaseFindDialog : public TJVCLBaseCommonDialog {
  RT_CLASS(TJVCLBaseFindDialog)
 public:
  TJVCLBaseFindDialog(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TFindDialog* FindDialog() const { return static_cast<fw::TFindDialog*>(VCL()); }
  void RegistMethods() override;
  void HookEvents() override;
  void DoExecute(engine::TJValueList* args, engine::TJValue& result) override;
  // "closeDialog": takes the dialog away (its "onClose" runs when it was up).
  void DoCloseDialog(engine::TJValueList* args, engine::TJValue& result);
};

class TJVCLBaseReplaceDialog : public TJVCLBaseFindDialog {
  RT_CLASS(TJVCLBaseReplaceDialog)
 public:
  TJVCLBaseReplaceDialog(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  void HookEvents() override;
};

BR_GUI_CREATING_CLASS(TJVCLOpenDialog, TJVCLBaseOpenDialog, fw::TOpenDialog)
BR_GUI_CREATING_CLASS(TJVCLSaveDialog, TJVCLBaseSaveDialog, fw::TSaveDialog)
BR_GUI_CREATING_CLASS(TJVCLFontDialog, TJVCLBaseFontDialog, fw::TFontDialog)
BR_GUI_CREATING_CLASS(TJVCLFindDialog, TJVCLBaseFindDialog, fw::TFindDialog)
BR_GUI_CREATING_CLASS(TJVCLReplaceDialog, TJVCLBaseReplaceDialog, fw::TReplaceDialog)

}  // namespace gui
