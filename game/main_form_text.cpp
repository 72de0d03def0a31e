// The form description of the game's window, read by the framework's form reader when the window
// is made.
#include "game/main_form.h"

namespace game {

const char* MainFormText() {
  return R"DFM(object Form1: TForm1
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsDialog
  Caption = 'ミルフェン  ver 1.75'
  ClientHeight = 450
  ClientWidth = 600
  Color = clBlack
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'IPAPGothic'
  Font.Style = []
  Position = poDesktopCenter
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnKeyPress = FormKeyPress
  OnPaint = FormPaint
  object Memo1: TMemo
    Left = 8
    Top = 8
    Width = 80
    Height = 40
    TabStop = False
    Visible = False
  end
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 600
    Height = 450
    BevelOuter = bvNone
    Color = clBlack
    TabOrder = 1
    object Label1: TLabel
      Left = 150
      Top = 372
      Width = 300
      Height = 16
      Alignment = taCenter
      AutoSize = False
      Caption = 'ハイスコア：0　　プレイ回数：0'
      Font.Charset = SHIFTJIS_CHARSET
      Font.Color = clWhite
      Font.Height = -13
      Font.Name = 'IPAPGothic'
      Font.Style = []
      ParentFont = False
      Transparent = True
    end
    object Label2: TLabel
      Left = 0
      Top = 420
      Width = 600
      Height = 16
      Alignment = taCenter
      AutoSize = False
      Caption = 'presented by XWB    move: ← ↑ → ↓    shot: Z / Space    pause: Enter'
      Font.Charset = SHIFTJIS_CHARSET
      Font.Color = 16724530
      Font.Height = -12
      Font.Name = 'IPAPGothic'
      Font.Style = []
      ParentFont = False
      Transparent = True
    end
    object Label3: TLabel
      Left = 140
      Top = 70
      Width = 320
      Height = 70
      Alignment = taCenter
      AutoSize = False
      Caption = 'ミルフェン'
      Font.Charset = SHIFTJIS_CHARSET
      Font.Color = 16771264
      Font.Height = -64
      Font.Name = 'IPAPGothic'
      Font.Style = []
      ParentFont = False
      Transparent = True
    end
    object Label4: TLabel
      Left = 380
      Top = 150
      Width = 90
      Height = 16
      Caption = '-XWB 3.00- '
      Font.Charset = SHIFTJIS_CHARSET
      Font.Color = clSilver
      Font.Height = -13
      Font.Name = 'IPAPGothic'
      Font.Style = []
      ParentFont = False
      Transparent = True
    end
    object Image1: TImage
      Left = 245
      Top = 232
      Width = 110
      Height = 100
    end
    object Music: TCheckBox
      Left = 255
      Top = 336
      Width = 100
      Height = 20
      Caption = 'Music'
      Color = clBlack
      Font.Charset = SHIFTJIS_CHARSET
      Font.Color = clWhite
      Font.Height = -12
      Font.Name = 'IPAPGothic'
      Font.Style = []
      ParentColor = False
      ParentFont = False
      TabOrder = 0
      TabStop = False
      Visible = False
    end
    object Panel2: TPanel
      Left = 245
      Top = 232
      Width = 110
      Height = 20
      Caption = 'スタート'
      Color = 3289600
      TabOrder = 1
      Visible = False
      OnClick = Panel2Click
      OnMouseMove = Panel2MouseMove
    end
    object Panel3: TPanel
      Left = 245
      Top = 257
      Width = 110
      Height = 20
      Caption = '設定'
      Color = 3289600
      TabOrder = 2
      Visible = False
      OnClick = Panel3Click
      OnMouseMove = Panel3MouseMove
    end
    object Scriptmemo: TMemo
      Left = 8
      Top = 8
      Width = 185
      Height = 40
      Lines.Strings = (
        'u = new URL("http://localhost/~owner/rank/rankbbs.cgi"); http = new HTTP; http.post(u.url, "name=名前&score=点数&com=コメント");')
      TabOrder = 3
      TabStop = False
      Visible = False
    end
  end
  object Memo2: TMemo
    Left = 8
    Top = 56
    Width = 200
    Height = 80
    TabOrder = 2
    TabStop = False
    Visible = False
  end
  object rank: TMemo
    Left = 8
    Top = 144
    Width = 80
    Height = 40
    TabOrder = 3
    TabStop = False
    Visible = False
  end
  object Mscore: TMemo
    Left = 8
    Top = 192
    Width = 80
    Height = 40
    TabOrder = 4
    TabStop = False
    Visible = False
  end
  object AE: TApplicationEvents
    OnIdle = AEIdle
    Left = 520
    Top = 8
  end
  object Timer1: TTimer
    Interval = 10
    OnTimer = Timer1Timer
    Left = 552
    Top = 8
  end
  object DDSD1: TDDSD
    DebugOption = [dsoHaltOnError]
    Left = 488
    Top = 8
  end
end
)DFM";
}

}  // namespace game
