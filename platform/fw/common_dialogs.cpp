#include "platform/fw/common_dialogs.h"

#include "platform/fw/dialogs.h"
#include "platform/rt/persistent.h"

namespace fw {

const rt::MethodType& FDApplyEventType() {
  static const rt::MethodType type{"TFDApplyEvent",
                                   {rt::MethodParam{"Sender", "TObject", false}, rt::MethodParam{"Wnd", "HWND"}}};
  return type;
}

namespace {

// Restores a flag when the scope ends, also through an exception.
struct TFlagScope {
  bool& flag;
  explicit TFlagScope(bool& f) : flag(f) { flag = true; }
  ~TFlagScope() { flag = false; }
};

bool hasExtension(const std::string& path) {
  size_t slash = path.find_last_of('/');
  size_t dot = path.find_last_of('.');
  return dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
}

}  // namespace

// ---- TCommonDialog ----

const rt::ClassInfo& TCommonDialog::StaticClassInfo() {
  using T = TCommonDialog;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TCommonDialog", &TComponent::StaticClassInfo())
                                         .property("Ctl3D", &T::Ctl3D, &T::SetCtl3D).defaultValue(true)
                                         .property("HelpContext", &T::HelpContext, &T::SetHelpContext)
                                         .defaultValue(0)
                                         .event("OnClose", NotifyEventType(), &T::OnClose)
                                         .event("OnShow", NotifyEventType(), &T::OnShow)
                                         .build();
  return info;
}

TCommonDialog::TCommonDialog(TComponent* owner) : TComponent(owner) {}

TCommonDialog::~TCommonDialog() {
  if (handle_) ReleaseHandle(handle_);
}

bool TCommonDialog::Execute() { return false; }

void TCommonDialog::Opened() {
  if (!handle_) handle_ = AllocateHandle(this);
  if (OnShow) OnShow(this);
}

void TCommonDialog::Closed() {
  if (!handle_) return;
  ReleaseHandle(handle_);
  handle_ = 0;
  if (OnClose) OnClose(this);
}

// ---- TOpenDialog ----

const rt::ClassInfo& TOpenDialog::StaticClassInfo() {
  using T = TOpenDialog;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TOpenDialog", &TCommonDialog::StaticClassInfo())
          .property("DefaultExt", &T::DefaultExt, &T::SetDefaultExt)
          .property("FileName", &T::FileName, &T::SetFileName)
          .property("Files", &T::Files).notStored()
          .property("Filter", &T::Filter, &T::SetFilter)
          .property("FilterIndex", &T::FilterIndex, &T::SetFilterIndex).defaultValue(1)
          .property("InitialDir", &T::InitialDir, &T::SetInitialDir)
          .property("Options", &T::Options, &T::SetOptions)
          .defaultValue(TOpenOptions{ofHideReadOnly, ofEnableSizing}.bits)
          .property("Title", &T::Title, &T::SetTitle)
          .event("OnCanClose", CloseQueryEventType(), &T::OnCanClose)
          .event("OnFolderChange", NotifyEventType(), &T::OnFolderChange)
          .event("OnSelectionChange", NotifyEventType(), &T::OnSelectionChange)
          .event("OnTypeChange", NotifyEventType(), &T::OnTypeChange)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TOpenDialog(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner), files_(new TStringList) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
  if (executing_) return false;
  TFlagScope running(executing_);
  bool accepted = false;
  try {
    Opened();
    accepted = DialogService().ExecuteFileDialog(*this);
  } catch (...) {
    Closed();
    throw;
  }
  Closed();
  return accepted;
}

bool TOpenDialog::Choose(const std::vector<std::string>& files) {
  std::vector<std::string> chosen;
  for (const std::string& f : files) {
    if (f.empty()) continue;
    chosen.push_back(!defaultExt_.empty() && !hasExtension(f) ? f + "." + defaultExt_ : f);
    if (!options_.has(ofAllowMultiSelect)) break;
  }
  if (chosen.empty()) return false;
  const std::string oldName = fileName_;
  const std::string oldFiles = files_->Text();
  fileName_ = chosen.front();
  files_->Clear();
  for (const std::string& f : chosen) files_->Add(f);
  auto restore = [&] {
    fileName_ = oldName;
    files_->SetText(oldFiles);
  };
  bool canClose = true;
  try {
    if (OnCanClose) OnCanClose(this, canClose);
  } catch (...) {
    restore();
    throw;
  }
  if (!canClose) restore();
  return canClose;
}

void TOpenDialog::FolderChanged() {
  if (OnFolderChange) OnFolderChange(this);
}

void TOpenDialog::SelectionChanged() {
  if (OnSelectionChange) OnSelectionChange(this);
}

void TOpenDialog::TypeChanged(int32_t filterIndex) {
  filterIndex_ = filterIndex;
  if (OnTypeChange) OnTypeChange(this);
}

// ---- TSaveDialog ----

const rt::ClassInfo& TSaveDialog::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TSaveDialog>("TSaveDialog", &TOpenDialog::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TSaveDialog(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TSaveDialog::TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

// ---- TFontDialog ----

const rt::ClassInfo& TFontDialog::StaticClassInfo() {
  using T = TFontDialog;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TFontDialog", &TCommonDialog::StaticClassInfo())
          .property("Font", &T::Font, &T::SetFont)
          .property("Device", &T::Device, &T::SetDevice).defaultValue(fdScreen)
          .property("MinFontSize", &T::MinFontSize, &T::SetMinFontSize).defaultValue(0)
          .property("MaxFontSize", &T::MaxFontSize, &T::SetMaxFontSize).defaultValue(0)
          .property("Options", &T::Options, &T::SetOptions).defaultValue(TFontDialogOptions{fdEffects}.bits)
          .event("OnApply", FDApplyEventType(), &T::OnApply)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TFontDialog(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TFontDialog::TFontDialog(TComponent* owner) : TCommonDialog(owner), font_(new TFont) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
  if (executing_) return false;
  TFlagScope running(executing_);
  bool accepted = false;
  try {
    Opened();
    accepted = DialogService().ExecuteFontDialog(*this);
  } catch (...) {
    Closed();
    throw;
  }
  Closed();
  return accepted;
}

void TFontDialog::Apply(const TFont& font) {
  font_->Assign(&font);
  if (OnApply) OnApply(this, Handle());
}

bool TFontDialog::SizeAllowed(int32_t size) const {
  if (!options_.has(fdLimitSize)) return true;
  if (minFontSize_ > 0 && size < minFontSize_) return false;
  if (maxFontSize_ > 0 && size > maxFontSize_) return false;
  return true;
}

// ---- TFindDialog ----

const rt::ClassInfo& TFindDialog::StaticClassInfo() {
  using T = TFindDialog;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TFindDialog", &TCommonDialog::StaticClassInfo())
          .property("FindText", &T::FindText, &T::SetFindText)
          .property("Options", &T::Options, &T::SetOptions).defaultValue(TFindOptions{frDown}.bits)
          .event("OnFind", NotifyEventType(), &T::OnFind)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TFindDialog(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TFindDialog::TFindDialog(TComponent* owner) : TCommonDialog(owner) {}

TFindDialog::~TFindDialog() {
  // The window goes with its dialog; no event runs for a dialog being freed.
  if (Visible()) DialogService().CloseFindDialog(*this);
}

bool TFindDialog::Execute() {
  if (Visible()) return DialogService().ShowFindDialog(*this);
  Opened();
  bool shown = false;
  try {
    shown = DialogService().ShowFindDialog(*this);
  } catch (...) {
    Closed();
    throw;
  }
  // Nothing to show: the dialog closes again at once, as a modal dialog answered "cancelled" does.
  if (!shown) Closed();
  return shown;
}

void TFindDialog::CloseDialog() {
  if (!Visible()) return;
  DialogService().CloseFindDialog(*this);
  Closed();
}

void TFindDialog::TakeOptions(TFindOptions options, TFindOption set) {
  options.exclude(frFindNext).exclude(frReplace).exclude(frReplaceAll);
  options_ = options.include(set);
}

void TFindDialog::Find(const std::string& findText, TFindOptions options) {
  findText_ = findText;
  TakeOptions(options, frFindNext);
  if (OnFind) OnFind(this);
}

void TFindDialog::UserClosed() { Closed(); }

// ---- TReplaceDialog ----

const rt::ClassInfo& TReplaceDialog::StaticClassInfo() {
  using T = TReplaceDialog;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TReplaceDialog", &TFindDialog::StaticClassInfo())
          .property("ReplaceText", &T::ReplaceText, &T::SetReplaceText)
          .event("OnReplace", NotifyEventType(), &T::OnReplace)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TReplaceDialog(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TReplaceDialog::TReplaceDialog(TComponent* owner) : TFindDialog(owner) {}

void TReplaceDialog::Replace(const std::string& findText, const std::string& replaceText, TFindOptions options,
                             bool all) {
  SetFindText(findText);
  replaceText_ = replaceText;
  TakeOptions(options, all ? frReplaceAll : frReplace);
  if (OnReplace) OnReplace(this);
}

// ---- the dialog service's part ----

bool IDialogService::ExecuteFileDialog(TOpenDialog&) { return false; }
bool IDialogService::ExecuteFontDialog(TFontDialog&) { return false; }
bool IDialogService::ShowFindDialog(TFindDialog&) { return false; }
void IDialogService::CloseFindDialog(TFindDialog&) {}

bool TScriptedDialogs::ExecuteFileDialog(TOpenDialog& dialog) {
  Log.push_back({dialog.IsSaveDialog() ? "save" : "open", dialog.Title(), dialog.FileName(), 0});
  size_t at = Log.size() - 1;
  bool ok = OnFileDialog ? OnFileDialog(dialog) : false;
  Log[at].result = ok ? mrOk : mrCancel;
  return ok;
}

bool TScriptedDialogs::ExecuteFontDialog(TFontDialog& dialog) {
  Log.push_back({"font", "", dialog.Font()->Name(), 0});
  size_t at = Log.size() - 1;
  bool ok = OnFontDialog ? OnFontDialog(dialog) : false;
  Log[at].result = ok ? mrOk : mrCancel;
  return ok;
}

bool TScriptedDialogs::ShowFindDialog(TFindDialog& dialog) {
  Log.push_back({dialog.IsReplaceDialog() ? "replace" : "find", "", dialog.FindText(), 0});
  size_t at = Log.size() - 1;
  bool ok = OnFindDialog ? OnFindDialog(dialog) : false;
  Log[at].result = ok ? mrOk : mrCancel;
  return ok;
}

void TScriptedDialogs::CloseFindDialog(TFindDialog& dialog) { Log.push_back({"close", "", dialog.FindText(), 0}); }

}  // namespace fw
