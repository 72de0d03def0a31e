object Browser: TForm
  ClientWidth = 320
  ClientHeight = 220
  Caption = 'Browser'
  object Pages: TPageControl
    Width = 320
    Height = 200
    ActivePage = Files
    object Files: TTabSheet
      Caption = 'Files'
      object FileList: TListBox
        Left = 4
        Top = 4
        Width = 200
        Height = 120
      end
    end
    object Search: TTabSheet
      Caption = 'Search'
      object Pattern: TEdit
        Left = 4
        Top = 4
        Width = 120
        Height = 21
        Text = '*.txt'
      end
      object Find: TButton
        Left = 130
        Top = 4
        Width = 60
        Height = 25
        Caption = 'Find'
      end
    end
    object Log: TTabSheet
      Caption = 'Log'
      TabVisible = False
      object LogText: TMemo
        Left = 4
        Top = 4
        Width = 200
        Height = 100
      end
    end
  end
  object Status: TStatusBar
    Panels = <
      item
        Text = 'Ready'
        Width = 100
      end
      item
        Alignment = taRightJustify
        Text = '0 files'
        Width = 80
      end>
  end
end
