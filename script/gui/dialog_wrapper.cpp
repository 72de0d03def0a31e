#include "script/gui/dialog_wrapper.h"

namespace gui {

using namespace engine;
using namespace dialog_events;

// ---- common dialog ----

const rt::ClassInfo& TJVCLBaseCommonDialog::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJVCLBaseCommonDialog>("TJVCLBaseCommonDialog", &TJVCLComponent::StaticClassInfo()).build();
  return info;
}

TJVCLBaseCommonDialog::TJVCLBaseCommonDialog(TJBaseEngine* engine, TJValueList* param)
    : TJVCLComponent(engine, param) {}

const rt::ClassInfo& TJVCLBaseCommonDialog::VCLClass() const { return fw::TCommonDialog::StaticClassInfo(); }

void TJVCLBaseCommonDialog::RegistMethods() {
  TJVCLComponent::RegistMethods();
  RegistMethod("execute", &TJVCLBaseCommonDialog::DoExecute);
}

void TJVCLBaseCommonDialog::HookEvents() {
  TJVCLComponent::HookEvents();
  if (!VCL()) return;
  Hook<konClose>(Dialog()->OnClose);
  Hook<konShow>(Dialog()->OnShow);
}

void TJVCLBaseCommonDialog::DoExecute(TJValueList* args, TJValue&) { CheckVCL(args, 0); }

void TJVCLBaseCommonDialog::ExecuteDialog(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetBool(false);
  TJKeepAlive keep(this);
  bool done = false;
  Guard([&] { done = Dialog()->Execute(); });
  result.SetBool(done);
}

// ---- open and save ----

const rt::ClassInfo& TJVCLBaseOpenDialog::StaticClassInfo() {
  using T = TJVCLBaseOpenDialog;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseOpenDialog", &TJVCLBaseCommonDialog::StaticClassInfo())
                                         .property("Files", &T::GetFiles)
                                         .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLOpenDialog, TJVCLBaseOpenDialog)

TJVCLBaseOpenDialog::TJVCLBaseOpenDialog(TJBaseEngine* engine, TJValueList* param)
    : TJVCLBaseCommonDialog(engine, param) {
  RegistName("VCLOpenDialog");
}

TJVCLBaseOpenDialog::~TJVCLBaseOpenDialog() { files_.Detach(); }

const rt::ClassInfo& TJVCLBaseOpenDialog::VCLClass() const { return fw::TOpenDialog::StaticClassInfo(); }

void TJVCLBaseOpenDialog::CreateObjects() {
  TJVCLBaseCommonDialog::CreateObjects();
  files_.Create(Engine());
}

void TJVCLBaseOpenDialog::ReleaseVCL() {
  TJVCLBaseCommonDialog::ReleaseVCL();
  files_.Detach();
}

void TJVCLBaseOpenDialog::Dispose() {
  files_.Drop();
  TJVCLBaseCommonDialog::Dispose();
}

void TJVCLBaseOpenDialog::HookEvents() {
  TJVCLBaseCommonDialog::HookEvents();
  if (!VCL()) return;
  fw::TOpenDialog* d = OpenDialog();
  d->OnCanClose = fw::TCloseQueryEvent(&HandleCanClose, this);
  Hook<konFolderChange>(d->OnFolderChange);
  Hook<konSelectionChange>(d->OnSelectionChange);
  Hook<konTypeChange>(d->OnTypeChange);
}

void TJVCLBaseOpenDialog::HandleCanClose(void* data, fw::TObject* sender, bool& canClose) {
  auto* w = static_cast<TJVCLBaseOpenDialog*>(data);
  w->Fire(konCanClose, sender, [&](TJValueList& a) { a.AddObject(NewBooleanBox(w->Engine(), canClose)); },
          [&](TJValueList& a) { canClose = BooleanBoxValue(a[1], canClose); });
}

void TJVCLBaseOpenDialog::DoExecute(TJValueList* args, TJValue& result) { ExecuteDialog(args, result); }

TJObject* TJVCLBaseOpenDialog::GetFiles() const {
  const_cast<TJVCLBaseOpenDialog*>(this)->CheckVCL(nullptr, 0);
  return files_.Point(OpenDialog()->Files());
}

const rt::ClassInfo& TJVCLBaseSaveDialog::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJVCLBaseSaveDialog>("TJVCLBaseSaveDialog", &TJVCLBaseOpenDialog::StaticClassInfo()).build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLSaveDialog, TJVCLBaseSaveDialog)

TJVCLBaseSaveDialog::TJVCLBaseSaveDialog(TJBaseEngine* engine, TJValueList* param)
    : TJVCLBaseOpenDialog(engine, param) {
  RegistName("VCLSaveDialog");
}

const rt::ClassInfo& TJVCLBaseSaveDialog::VCLClass() const { return fw::TSaveDialog::StaticClassInfo(); }

// ---- font ----

const rt::ClassInfo& TJVCLBaseFontDialog::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJVCLBaseFontDialog>("TJVCLBaseFontDialog", &TJVCLBaseCommonDialog::StaticClassInfo()).build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLFontDialog, TJVCLBaseFontDialog)

TJVCLBaseFontDialog::TJVCLBaseFontDialog(TJBaseEngine* engine, TJValueList* param)
    : TJVCLBaseCommonDialog(engine, param) {
  RegistName("VCLFontDialog");
}

const rt::ClassInfo& TJVCLBaseFontDialog::VCLClass() const { return fw::TFontDialog::StaticClassInfo(); }

void TJVCLBaseFontDialog::HookEvents() {
  TJVCLBaseCommonDialog::HookEvents();
  if (!VCL()) return;
  FontDialog()->OnApply = fw::TFDApplyEvent(&HandleApply, this);
}

void TJVCLBaseFontDialog::HandleApply(void* data, fw::TObject* sender, fw::HWND wnd) {
  auto* w = static_cast<TJVCLBaseFontDialog*>(data);
  w->Fire(konApply, sender, [&](TJValueList& a) { a.AddDouble(double(wnd)); }, [](TJValueList&) {});
}

void TJVCLBaseFontDialog::DoExecute(TJValueList* args, TJValue& result) { ExecuteDialog(args, result); }

// ---- find and replace ----

const rt::ClassInfo& TJVCLBaseFindDialog::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJVCLBaseFindDialog>("TJVCLBaseFindDialog", &TJVCLBaseCommonDialog::StaticClassInfo()).build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLFindDialog, TJVCLBaseFindDialog)

TJVCLBaseFindDialog::TJVCLBaseFindDialog(TJBaseEngine* engine, TJValueList* param)
    : TJVCLBaseCommonDialog(engine, param) {
  RegistName("VCLFindDialog");
}

const rt::ClassInfo& TJVCLBaseFindDialog::VCLClass() const { return fw::TFindDialog::StaticClassInfo(); }

void TJVCLBaseFindDialog::RegistMethods() {
  TJVCLBaseCommonDialog::RegistMethods();
  RegistMethod("closeDialog", &TJVCLBaseFindDialog::DoCloseDialog);
}

void TJVCLBaseFindDialog::HookEvents() {
  TJVCLBaseCommonDialog::HookEvents();
  if (!VCL()) return;
  Hook<konFind>(FindDialog()->OnFind);
}

void TJVCLBaseFindDialog::DoExecute(TJValueList* args, TJValue& result) { ExecuteDialog(args, result); }

void TJVCLBaseFindDialog::DoCloseDialog(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  TJKeepAlive keep(this);
  Guard([&] { FindDialog()->CloseDialog(); });
}

const rt::ClassInfo& TJVCLBaseReplaceDialog::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJVCLBaseReplaceDialog>("TJVCLBaseReplaceDialog", &TJVCLBaseFindDialog::StaticClassInfo())
          .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLReplaceDialog, TJVCLBaseReplaceDialog)

TJVCLBaseReplaceDialog::TJVCLBaseReplaceDialog(TJBaseEngine* engine, TJValueList* param)
    : TJVCLBaseFindDialog(engine, param) {
  RegistName("VCLReplaceDialog");
}

const rt::ClassInfo& TJVCLBaseReplaceDialog::VCLClass() const { return fw::TReplaceDialog::StaticClassInfo(); }

void TJVCLBaseReplaceDialog::HookEvents() {
  TJVCLBaseFindDialog::HookEvents();
  if (!VCL()) return;
  Hook<konReplace>(static_cast<fw::TReplaceDialog*>(VCL())->OnReplace);
}

}  // namespace gui
