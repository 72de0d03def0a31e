#include "script/host/dialogs/dialog_forms.h"

#include <algorithm>

#include "platform/fw/application.h"
#include "platform/fw/errors.h"
#include "platform/fw/method_table.h"
#include "platform/fw/registration.h"

namespace hostdlg {

namespace {

const char* const kPromptText = R"DFM(object frmPrompt: TfrmPrompt
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  ClientHeight = 73
  ClientWidth = 492
  Font.Charset = SHIFTJIS_CHARSET
  Font.Height = -12
  Font.Name = 'IPAPGothic'
  Position = poOwnerFormCenter
  object lblText: TLabel
    Left = 12
    Top = 8
    Width = 381
    Height = 29
    Anchors = [akLeft, akTop, akRight]
    AutoSize = False
    WordWrap = True
  end
  object edtPrompt: TEdit
    Left = 10
    Top = 41
    Width = 385
    Height = 20
    Anchors = [akLeft, akTop, akRight]
    TabOrder = 0
  end
  object btnOK: TButton
    Left = 408
    Top = 8
    Width = 75
    Height = 25
    Anchors = [akTop, akRight]
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object btnCancel: TButton
    Left = 408
    Top = 40
    Width = 75
    Height = 25
    Anchors = [akTop, akRight]
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 2
  end
end
)DFM";

const char* const kTextAreaText = R"DFM(object frmTextArea: TfrmTextArea
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  ClientHeight = 275
  ClientWidth = 492
  Font.Charset = SHIFTJIS_CHARSET
  Font.Height = -12
  Font.Name = 'IPAPGothic'
  Position = poOwnerFormCenter
  object lblText: TLabel
    Left = 10
    Top = 8
    Width = 3
    Height = 12
  end
  object mmText: TMemo
    Left = 6
    Top = 26
    Width = 395
    Height = 243
    Anchors = [akLeft, akTop, akRight, akBottom]
    ScrollBars = ssVertical
    TabOrder = 0
  end
  object btnOK: TButton
    Left = 410
    Top = 28
    Width = 75
    Height = 25
    Anchors = [akTop, akRight]
    Caption = 'OK'
    ModalResult = 1
    TabOrder = 1
  end
  object btnCancel: TButton
    Left = 410
    Top = 59
    Width = 75
    Height = 25
    Anchors = [akTop, akRight]
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 2
  end
  object btnClear: TButton
    Left = 410
    Top = 91
    Width = 75
    Height = 25
    Anchors = [akTop, akRight]
    Caption = 'Clear'
    TabOrder = 3
    OnClick = btnClearClick
  end
end
)DFM";

const char* const kCheckListText = R"DFM(object frmCheckList: TfrmCheckList
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  ClientHeight = 243
  ClientWidth = 416
  Font.Charset = SHIFTJIS_CHARSET
  Font.Height = -12
  Font.Name = 'IPAPGothic'
  Position = poOwnerFormCenter
  object lblText: TLabel
    Left = 16
    Top = 8
    Width = 3
    Height = 12
  end
  object lbCheck: TCheckListBox
    Left = 8
    Top = 26
    Width = 321
    Height = 207
    Anchors = [akLeft, akTop, akRight, akBottom]
    ItemHeight = 12
    TabOrder = 0
  end
  object btnOK: TButton
    Left = 336
    Top = 26
    Width = 75
    Height = 25
    Anchors = [akTop, akRight]
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object btnCancel: TButton
    Left = 336
    Top = 57
    Width = 75
    Height = 25
    Anchors = [akTop, akRight]
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 2
  end
end
)DFM";

// The named component of the form just read; a description without it is a program error.
template <class T>
T* Part(fw::TComponent& form, const char* name) {
  T* c = dynamic_cast<T*>(form.FindComponent(name));
  if (!c) throw fw::EComponentError(std::string("Dialog form lacks ") + name);
  return c;
}

}  // namespace

fw::TComponent* DialogOwner() {
  fw::TApplication* app = fw::Application();
  if (fw::TCustomForm* main = app->MainForm()) return main;
  return app;
}

void ApplyDialogShape(fw::TForm& form, const std::string& caption, int width, int height) {
  form.SetCaption(caption.empty() ? fw::Application()->Title() : caption);
  if (width > 0) form.SetClientWidth(std::max(width, 200));
  if (height > 0) form.SetClientHeight(std::max(height, 200));
}

const rt::ClassInfo& TfrmPrompt::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TfrmPrompt>("TfrmPrompt", &fw::TForm::StaticClassInfo()).build();
  return info;
}

TfrmPrompt::TfrmPrompt(fw::TComponent* owner) : fw::TForm(owner) {
  fw::RegisterFrameworkClasses();
  fw::ReadComponentText(this, kPromptText);
  edtPrompt = Part<fw::TEdit>(*this, "edtPrompt");
  btnOK = Part<fw::TButton>(*this, "btnOK");
  btnCancel = Part<fw::TButton>(*this, "btnCancel");
  lblText = Part<fw::TLabel>(*this, "lblText");
}

const rt::ClassInfo& TfrmTextArea::StaticClassInfo() {
  static const rt::ClassInfo& info = [] () -> const rt::ClassInfo& {
    const rt::ClassInfo& cls = rt::ClassBuilder<TfrmTextArea>("TfrmTextArea", &fw::TForm::StaticClassInfo()).build();
    fw::RegisterMethod(cls, "btnClearClick", fw::MethodCode<&TfrmTextArea::btnClearClick>());
    return cls;
  }();
  return info;
}

TfrmTextArea::TfrmTextArea(fw::TComponent* owner) : fw::TForm(owner) {
  fw::RegisterFrameworkClasses();
  fw::ReadComponentText(this, kTextAreaText);
  mmText = Part<fw::TMemo>(*this, "mmText");
  btnOK = Part<fw::TButton>(*this, "btnOK");
  btnCancel = Part<fw::TButton>(*this, "btnCancel");
  btnClear = Part<fw::TButton>(*this, "btnClear");
  lblText = Part<fw::TLabel>(*this, "lblText");
}

void TfrmTextArea::btnClearClick(fw::TObject*) { mmText->Clear(); }

const rt::ClassInfo& TfrmCheckList::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TfrmCheckList>("TfrmCheckList", &fw::TForm::StaticClassInfo()).build();
  return info;
}

TfrmCheckList::TfrmCheckList(fw::TComponent* owner) : fw::TForm(owner) {
  fw::RegisterFrameworkClasses();
  fw::ReadComponentText(this, kCheckListText);
  lbCheck = Part<fw::TCheckListBox>(*this, "lbCheck");
  btnOK = Part<fw::TButton>(*this, "btnOK");
  btnCancel = Part<fw::TButton>(*this, "btnCancel");
  lblText = Part<fw::TLabel>(*this, "lblText");
}

}  // namespace hostdlg
