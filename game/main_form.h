// TForm1: the game's one window. Its components come from the form description in
// main_form_text.cpp: the title panel with its labels, menu picture and Music box, hidden memos
// (the save file's lines, the certificate, the ranking script), the application events whose idle
// handler drives the game, the 10 ms title-menu timer and the sound component.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "game/abitmap.h"
#include "game/ddsd.h"
#include "game/title_menu.h"
#include "game/world.h"
#include "platform/fw/application.h"
#include "platform/fw/check_box.h"
#include "platform/fw/form.h"
#include "platform/fw/image.h"
#include "platform/fw/label.h"
#include "platform/fw/memo.h"
#include "platform/fw/panel.h"
#include "platform/fw/timer.h"
#include "script/core/component.h"

namespace game {

// The form description the window is read from.
const char* MainFormText();

class TForm1 : public fw::TForm, private FrameHost {
  RT_CLASS(TForm1)
 public:
  explicit TForm1(fw::TComponent* owner);
  ~TForm1() override;

  fw::TMemo* Memo1 = nullptr;
  fw::TPanel* Panel1 = nullptr;
  fw::TLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
  fw::TImage* Image1 = nullptr;
  fw::TCheckBox* Music = nullptr;
  fw::TPanel *Panel2 = nullptr, *Panel3 = nullptr;
  fw::TMemo *Scriptmemo = nullptr, *Memo2 = nullptr, *rank = nullptr, *Mscore = nullptr;
  fw::TApplicationEvents* AE = nullptr;
  fw::TTimer* Timer1 = nullptr;
  TDDSD* DDSD1 = nullptr;
  engine::TBRS* BRS = nullptr;  // runs the ranking script (Scriptmemo); owned by the form

  void FormCreate(fw::TObject* Sender);
  void FormDestroy(fw::TObject* Sender);
  void FormPaint(fw::TObject* Sender);
  void FormKeyPress(fw::TObject* Sender, char& Key);
  void Panel2Click(fw::TObject* Sender);
  void Panel3Click(fw::TObject* Sender);
  void Panel2MouseMove(fw::TObject* Sender, fw::TShiftState Shift, int32_t X, int32_t Y);
  void Panel3MouseMove(fw::TObject* Sender, fw::TShiftState Shift, int32_t X, int32_t Y);
  void Timer1Timer(fw::TObject* Sender);
  void AEIdle(fw::TObject* Sender, bool& Done);
  void BackToTitle() override;

  // The first command-line argument (the access codes); set before the form is created.
  static std::string& FirstArgument();
  // Where the save file is (beside the program unless a test says otherwise).
  static std::string& SaveFileName();
  // A new best score was stored at a game over: the score certificate and the ranking go here.
  std::function<void(TForm1&)> OnNewBestScore;

  // The online ranking (main_form_ranking.cpp): after the certificate, the ranking dialogs; the
  // ranking script of Scriptmemo filled and run by BRS.
  static std::string& CertificateFileName();
  void AskRanking();
  void SubmitScore(const std::string& Name, const std::string& Comment, int32_t Score);

  Game& TheGame() { return *game_; }
  TitleMenu& Menu() { return menu_; }
  TABitmap& BackBuffer() { return *back_; }

 private:
  // FrameHost
  bool KeyDown(int virtualKey) override;
  void PlayChannel(int channel) override;
  bool MusicOn() override;
  void PlayTune(int tune) override;
  void SmoothText(int x, int y, const std::string& text, int size) override;
  void NewBestScore() override;
  void SaveScores() override;
  void ShowDebugMemo() override;
  void Present() override;

  void loadSprites();
  void loadSounds();
  void registerTunes();
  void writeSaveFile();
  void certifyAndRank();

  std::unique_ptr<TABitmap> back_;
  std::array<std::unique_ptr<TABitmap>, 7> sprites_;  // my.bmp, e0.bmp .. e5.bmp
  std::array<std::unique_ptr<TDDSDWaveData>, 6> sounds_;
  std::unique_ptr<Game> game_;
  bool ranking_ = false;  // the ranking's dialogs are open
  TitleMenu menu_;
  TABitmap menuPicture_;
  std::unique_ptr<engine::TBRS> brs_;
};

}  // namespace game
