object Dialog: TForm
  Caption = 'Who are you?'
  ClientWidth = 260
  ClientHeight = 120
  object NameEdit: TEdit
    Left = 8
    Top = 8
    Width = 240
    Text = 'nobody'
  end
  object OkButton: TButton
    Left = 8
    Top = 40
    Caption = 'OK'
    ModalResult = 1
  end
  object Note: TLabel
    Left = 8
    Top = 80
    Caption = '-'
  end
end
