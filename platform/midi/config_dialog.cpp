#include "platform/midi/config_dialog.h"

#include "platform/fw/application.h"
#include "platform/fw/label.h"
#include "platform/fw/registration.h"
#include "platform/rt/numtext.h"

namespace midi {

namespace {

const char* const kDescription = R"DFM(object MusicSettings: TMusicSettingsForm
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = '音楽の設定'
  ClientHeight = 132
  ClientWidth = 400
  Font.Height = -12
  Font.Name = 'IPAPGothic'
  Position = poMainFormCenter
  object VolumeLabel: TLabel
    Left = 12
    Top = 16
    Width = 90
    Height = 16
    Caption = '音量 (0-100)'
  end
  object VolumeEdit: TEdit
    Left = 110
    Top = 12
    Width = 60
    Height = 22
    TabOrder = 0
  end
  object SoundFontLabel: TLabel
    Left = 12
    Top = 50
    Width = 90
    Height = 16
    Caption = 'SoundFont'
  end
  object SoundFontEdit: TEdit
    Left = 110
    Top = 46
    Width = 278
    Height = 22
    TabOrder = 1
  end
  object OkButton: TButton
    Left = 212
    Top = 92
    Width = 84
    Height = 28
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 2
  end
  object CancelButton: TButton
    Left = 304
    Top = 92
    Width = 84
    Height = 28
    Cancel = True
    Caption = 'キャンセル'
    ModalResult = 2
    TabOrder = 3
  end
end
)DFM";

}  // namespace

const rt::ClassInfo& TMusicSettingsForm::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TMusicSettingsForm>("TMusicSettingsForm", &fw::TForm::StaticClassInfo()).build();
  return info;
}

TMusicSettingsForm::TMusicSettingsForm(fw::TComponent* owner, Player& player) : fw::TForm(owner), player_(player) {
  fw::RegisterFrameworkClasses();
  fw::ReadComponentText(this, kDescription);
  VolumeEdit = dynamic_cast<fw::TEdit*>(FindComponent("VolumeEdit"));
  SoundFontEdit = dynamic_cast<fw::TEdit*>(FindComponent("SoundFontEdit"));
  OkButton = dynamic_cast<fw::TButton*>(FindComponent("OkButton"));
  CancelButton = dynamic_cast<fw::TButton*>(FindComponent("CancelButton"));
  VolumeEdit->SetText(rt::IntToStr(player.volume()));
  SoundFontEdit->SetText(player.soundFont());
}

void TMusicSettingsForm::Apply() {
  int32_t volume;
  if (rt::TryStrToInt(VolumeEdit->Text(), volume)) player_.setVolume(volume);
  if (SoundFontEdit->Text() != player_.soundFont()) player_.loadSoundFont(SoundFontEdit->Text());
}

void ShowConfigDialog(Player& player, intptr_t) {
  auto* form = new TMusicSettingsForm(fw::Application(), player);
  form->AfterConstruction();
  try {
    if (form->ShowModal() == fw::mrOk) form->Apply();
  } catch (...) {
    form->Free();
    throw;
  }
  form->Free();
}

}  // namespace midi
