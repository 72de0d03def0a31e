// The common dialogs as components: open and save (files), font, find and replace. Each keeps its
// settings in published properties and is shown through the dialog service (dialogs.h), which
// reports what the user does through the dialog's own operations below (Choose, FolderChanged,
// Apply, Find...), so that a real window and a test's scripted answers drive the same events.
//
// Open, save and font dialogs are modal: Execute returns once the dialog is closed, true when the
// user accepted. Find and replace dialogs are modeless: Execute shows the dialog and returns; the
// user's searches arrive later as OnFind and OnReplace, and OnClose when the dialog goes away.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/fw/component.h"
#include "platform/fw/events.h"
#include "platform/fw/font.h"
#include "platform/fw/services.h"
#include "platform/fw/strings.h"

namespace fw {

FW_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
        ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware,
        ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog,
        ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent, ofForceShowHidden)
FW_SET(TOpenOptions, TOpenOption)
FW_ENUM(TFontDialogOption, fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel,
        fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, fdWysiwyg,
        fdLimitSize, fdScalableOnly, fdApplyButton)
FW_SET(TFontDialogOptions, TFontDialogOption)
FW_ENUM(TFontDialogDevice, fdScreen, fdPrinter, fdBoth)
FW_ENUM(TFindOption, frDown, frFindNext, frHideMatchCase, frHideWholeWord, frHideUpDown, frMatchCase,
        frDisableMatchCase, frDisableUpDown, frDisableWholeWord, frReplace, frReplaceAll, frWholeWord, frShowHelp)
FW_SET(TFindOptions, TFindOption)

using TFDApplyEvent = rt::Event<void(TObject* Sender, HWND Wnd)>;
const rt::MethodType& FDApplyEventType();

class TCommonDialog : public TComponent {
  RT_CLASS(TCommonDialog)
 public:
  explicit TCommonDialog(TComponent* owner);
  ~TCommonDialog() override;

  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value) { ctl3D_ = value; }
  int32_t HelpContext() const { return helpContext_; }
  void SetHelpContext(int32_t value) { helpContext_ = value; }
  // The dialog window's handle while it is shown; 0 otherwise.
  HWND Handle() const { return handle_; }

  // Shows the dialog; see the header comment for what the result means. The base shows nothing.
  virtual bool Execute();

  TNotifyEvent OnClose;
  TNotifyEvent OnShow;

 protected:
  // The window exists from Opened to Closed: a handle, OnShow, then later OnClose.
  void Opened();
  void Closed();

 private:
  bool ctl3D_ = true;
  int32_t helpContext_ = 0;
  HWND handle_ = 0;
};

class TOpenDialog : public TCommonDialog {
  RT_CLASS(TOpenDialog)
 public:
  explicit TOpenDialog(TComponent* owner);
  ~TOpenDialog() override;

  const std::string& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const std::string& value) { defaultExt_ = value; }
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& value) { fileName_ = value; }
  // Every file chosen, FileName first; with ofAllowMultiSelect there may be several.
  TStrings* Files() const { return files_.get(); }
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& value) { filter_ = value; }
  // 1-based: the first filter is 1.
  int32_t FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int32_t value) { filterIndex_ = value; }
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& value) { initialDir_ = value; }
  TOpenOptions Options() const { return options_; }
  void SetOptions(TOpenOptions value) { options_ = value; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value) { title_ = value; }
  virtual bool IsSaveDialog() const { return false; }
  // True while Execute runs.
  bool Executing() const { return executing_; }

  // Runs the dialog modally. A second Execute while one runs answers false at once.
  bool Execute() override;

  // What the dialog's user does, as the dialog service reports it:
  // OK pressed with these files chosen. DefaultExt is added to a name without an extension;
  // FileName and Files show the choice while OnCanClose decides. True: the dialog may close with
  // this choice. False (vetoed, or nothing chosen): it stays open and FileName and Files are as
  // before.
  bool Choose(const std::vector<std::string>& files);
  void FolderChanged();
  void SelectionChanged();
  // Another filter picked (1-based).
  void TypeChanged(int32_t filterIndex);

  TCloseQueryEvent OnCanClose;
  TNotifyEvent OnFolderChange;
  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnTypeChange;

 private:
  std::string defaultExt_;
  std::string fileName_;
  std::unique_ptr<TStringList> files_;
  std::string filter_;
  int32_t filterIndex_ = 1;
  std::string initialDir_;
  TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
  std::string title_;
  bool executing_ = false;
};

class TSaveDialog : public TOpenDialog {
  RT_CLASS(TSaveDialog)
 public:
  explicit TSaveDialog(TComponent* owner);
  bool IsSaveDialog() const override { return true; }
};

class TFontDialog : public TCommonDialog {
  RT_CLASS(TFontDialog)
 public:
  explicit TFontDialog(TComponent* owner);
  ~TFontDialog() override;

  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* font) { font_->Assign(font); }
  TFontDialogDevice Device() const { return device_; }
  void SetDevice(TFontDialogDevice value) { device_ = value; }
  int32_t MinFontSize() const { return minFontSize_; }
  void SetMinFontSize(int32_t value) { minFontSize_ = value; }
  int32_t MaxFontSize() const { return maxFontSize_; }
  void SetMaxFontSize(int32_t value) { maxFontSize_ = value; }
  TFontDialogOptions Options() const { return options_; }
  void SetOptions(TFontDialogOptions value) { options_ = value; }
  bool Executing() const { return executing_; }

  // Runs the dialog modally; on OK the dialog service has put the chosen font into Font.
  bool Execute() override;
  // The Apply button pressed with `font` chosen: Font takes it, then OnApply runs with the dialog
  // window's handle.
  void Apply(const TFont& font);
  // Whether `size` (points) is allowed: with fdLimitSize only MinFontSize..MaxFontSize (a bound of
  // 0 does not limit).
  bool SizeAllowed(int32_t size) const;

  TFDApplyEvent OnApply;

 private:
  std::unique_ptr<TFont> font_;
  TFontDialogDevice device_ = fdScreen;
  int32_t minFontSize_ = 0;
  int32_t maxFontSize_ = 0;
  TFontDialogOptions options_{fdEffects};
  bool executing_ = false;
};

class TFindDialog : public TCommonDialog {
  RT_CLASS(TFindDialog)
 public:
  explicit TFindDialog(TComponent* owner);
  ~TFindDialog() override;

  const std::string& FindText() const { return findText_; }
  void SetFindText(const std::string& value) { findText_ = value; }
  TFindOptions Options() const { return options_; }
  void SetOptions(TFindOptions value) { options_ = value; }
  // Where the dialog shows (screen coordinates); -1 leaves the place to the window system.
  int32_t Left() const { return left_; }
  void SetLeft(int32_t value) { left_ = value; }
  int32_t Top() const { return top_; }
  void SetTop(int32_t value) { top_ = value; }
  virtual bool IsReplaceDialog() const { return false; }
  // True from Execute until the dialog is closed.
  bool Visible() const { return Handle() != 0; }

  // Shows the dialog (again in front when it is up already) and returns; false when the dialog
  // service has no window to show.
  bool Execute() override;
  void CloseDialog();

  // What the dialog's user does, as the dialog service reports it. Each takes the dialog's
  // current fields first.
  // "Find Next": FindText and Options (frFindNext set, frReplace and frReplaceAll cleared), then
  // OnFind.
  void Find(const std::string& findText, TFindOptions options);
  // The window closed by its user: OnClose.
  void UserClosed();

  TNotifyEvent OnFind;

 protected:
  void TakeOptions(TFindOptions options, TFindOption set);

 private:
  std::string findText_;
  TFindOptions options_{frDown};
  int32_t left_ = -1;
  int32_t top_ = -1;
};

class TReplaceDialog : public TFindDialog {
  RT_CLASS(TReplaceDialog)
 public:
  explicit TReplaceDialog(TComponent* owner);
  bool IsReplaceDialog() const override { return true; }

  const std::string& ReplaceText() const { return replaceText_; }
  void SetReplaceText(const std::string& value) { replaceText_ = value; }

  // "Replace" (all = false) or "Replace All": the texts and Options (frReplace or frReplaceAll
  // set, the other and frFindNext cleared), then OnReplace.
  void Replace(const std::string& findText, const std::string& replaceText, TFindOptions options, bool all);

  TNotifyEvent OnReplace;

 private:
  std::string replaceText_;
};

}  // namespace fw
