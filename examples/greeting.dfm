object GreetingForm: TForm
  Caption = 'Greeting from a description'
  ClientWidth = 300
  ClientHeight = 130
  object NameLabel: TLabel
    Left = 10
    Top = 14
    Caption = 'Your name:'
  end
  object NameEdit: TEdit
    Left = 90
    Top = 10
    Width = 200
    Text = 'World'
  end
  object HelloButton: TButton
    Left = 90
    Top = 44
    Width = 100
    Caption = 'Say hello'
  end
  object Answer: TLabel
    Left = 10
    Top = 90
    Caption = ''
  end
end
