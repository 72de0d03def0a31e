#include "game/main_form.h"

#include "game/ranking.h"
#include "game/save_file.h"
#include "platform/fw/keys.h"
#include "platform/fw/method_table.h"
#include "platform/fw/registration.h"
#include "platform/midi/ggs.h"
#include "platform/rt/numtext.h"
#include "platform/rt/paths.h"
#include "platform/rt/random.h"

namespace game {

namespace {

std::string datPath(const std::string& name) { return rt::exeDir() + "dat/" + name; }

// The sounds in channel order; channel 1 has none and stays silent.
const char* const kSoundFiles[6] = {"dam.wav", "tdam.wav", "med.wav", "bomb.wav", "crash.wav", "plzm.wav"};
const int kSoundChannels[6] = {0, 2, 3, 4, 5, 6};

constexpr int kListOption = 1;  // the music player keeps each file in memory
constexpr int kPlayLoop = 2;

template <class T>
T* component(fw::TComponent& owner, const char* name) {
  return dynamic_cast<T*>(owner.FindComponent(name));
}

}  // namespace

const rt::ClassInfo& TForm1::StaticClassInfo() {
  static const rt::ClassInfo& info = [&]() -> const rt::ClassInfo& {
    const rt::ClassInfo& cls = rt::ClassBuilder<TForm1>("TForm1", &fw::TForm::StaticClassInfo()).build();
    fw::RegisterMethod(cls, "FormCreate", fw::MethodCode<&TForm1::FormCreate>());
    fw::RegisterMethod(cls, "FormDestroy", fw::MethodCode<&TForm1::FormDestroy>());
    fw::RegisterMethod(cls, "FormPaint", fw::MethodCode<&TForm1::FormPaint>());
    fw::RegisterMethod(cls, "FormKeyPress", fw::MethodCode<&TForm1::FormKeyPress>());
    fw::RegisterMethod(cls, "Panel2Click", fw::MethodCode<&TForm1::Panel2Click>());
    fw::RegisterMethod(cls, "Panel3Click", fw::MethodCode<&TForm1::Panel3Click>());
    fw::RegisterMethod(cls, "Panel2MouseMove", fw::MethodCode<&TForm1::Panel2MouseMove>());
    fw::RegisterMethod(cls, "Panel3MouseMove", fw::MethodCode<&TForm1::Panel3MouseMove>());
    fw::RegisterMethod(cls, "Timer1Timer", fw::MethodCode<&TForm1::Timer1Timer>());
    fw::RegisterMethod(cls, "AEIdle", fw::MethodCode<&TForm1::AEIdle>());
    return cls;
  }();
  return info;
}

std::string& TForm1::FirstArgument() {
  static std::string argument;
  return argument;
}

std::string& TForm1::SaveFileName() {
  static std::string name = SaveFilePath();
  return name;
}

TForm1::TForm1(fw::TComponent* owner) : fw::TForm(owner) {
  fw::RegisterFrameworkClasses();
  rt::RegisterClass(TDDSD::StaticClassInfo());
  fw::ReadComponentText(this, MainFormText());
  Memo1 = component<fw::TMemo>(*this, "Memo1");
  Panel1 = component<fw::TPanel>(*this, "Panel1");
  Label1 = component<fw::TLabel>(*this, "Label1");
  Label2 = component<fw::TLabel>(*this, "Label2");
  Label3 = component<fw::TLabel>(*this, "Label3");
  Label4 = component<fw::TLabel>(*this, "Label4");
  Image1 = component<fw::TImage>(*this, "Image1");
  Music = component<fw::TCheckBox>(*this, "Music");
  Panel2 = component<fw::TPanel>(*this, "Panel2");
  Panel3 = component<fw::TPanel>(*this, "Panel3");
  Scriptmemo = component<fw::TMemo>(*this, "Scriptmemo");
  Memo2 = component<fw::TMemo>(*this, "Memo2");
  rank = component<fw::TMemo>(*this, "rank");
  Mscore = component<fw::TMemo>(*this, "Mscore");
  AE = component<fw::TApplicationEvents>(*this, "AE");
  Timer1 = component<fw::TTimer>(*this, "Timer1");
  DDSD1 = component<TDDSD>(*this, "DDSD1");
  brs_ = MakeRankingComponent();
  BRS = brs_.get();

  menu_.KeyDown = [this](int vk) { return KeyDown(vk); };
  menu_.ClickStart = [this] { Panel2Click(Panel2); };
  menu_.ClickSetting = [this] { Panel3Click(Panel3); };
  menu_.ShowMusicBox = [this](bool shown) { Music->SetVisible(shown); };
}

TForm1::~TForm1() = default;

void TForm1::FormCreate(fw::TObject*) {
  rt::Randomize();
  SetCursor(fw::crNone);
  const bool mmx = HasMMX();
  // The multimedia clock already counts single milliseconds: nothing to ask of the timer.

  back_ = std::make_unique<TABitmap>();
  back_->SetSize(Width(), Height());
  back_->FillColor(0, 0, 0);
  back_->Canvas()->Font()->SetStyle(Font()->Style());
  game_ = std::make_unique<Game>(static_cast<FrameHost&>(*this), back_->Pixels());
  game_->SetUseMMXFade(mmx);
  game_->FontSize = back_->Canvas()->Font()->Size();

  LoadSaveLines(*Memo1->Lines(), SaveFileName());
  loadSprites();
  loadSounds();
  registerTunes();

  const SaveData saved = ReadSaveData(*Memo1->Lines());
  game_->BestScore = saved.best;
  game_->PlayCount = saved.plays;
  if (saved.music) Music->SetChecked(true);
  BackToTitle();
}

void TForm1::loadSprites() {
  const char* const files[7] = {"my.bmp", "e0.bmp", "e1.bmp", "e2.bmp", "e3.bmp", "e4.bmp", "e5.bmp"};
  for (int i = 0; i < 7; ++i) {
    sprites_[i] = std::make_unique<TABitmap>();
    sprites_[i]->SetTransparentColor(fw::clBlack);
    sprites_[i]->SetTransparent(true);
    sprites_[i]->LoadFromFile(datPath(files[i]));
  }
  // Enemy kinds 0..5 wear e1, e2, e3, e4, e0 and e5.
  game_->SetSprites(sprites_[0]->Pixels(), {sprites_[2]->Pixels(), sprites_[3]->Pixels(), sprites_[4]->Pixels(),
                                            sprites_[5]->Pixels(), sprites_[1]->Pixels(), sprites_[6]->Pixels()});
}

void TForm1::loadSounds() {
  for (int i = 0; i < 6; ++i) {
    sounds_[i] = std::make_unique<TDDSDWaveData>(*DDSD1, datPath(kSoundFiles[i]));
    if (TDDSDChannel* channel = DDSD1->GetChannel(kSoundChannels[i])) channel->SetWaveData(sounds_[i].get());
  }
}

void TForm1::registerTunes() {
  midi::GGSSetDevice(-1000, static_cast<intptr_t>(Handle()));
  const std::string first = rt::Random(2) == 1 ? "giss.mid" : "giss_old.mid";
  const std::string tunes[7] = {first, "run.mid", "op.mid", "noiz.mid", "nagi.mid", "night.MID", "cl.MID"};
  for (int i = 0; i < 7; ++i) midi::GGSAddList(datPath(tunes[i]), kListOption, i + 1);
}

void TForm1::FormDestroy(fw::TObject*) {
  if (Memo1 && Memo1->Lines()->Count() >= 3) {
    Memo1->Lines()->Put(2, Music->Checked() ? "1" : "0");
    writeSaveFile();
  }
  midi::GGSStop();
  midi::GGSFlushList();
  midi::GGSFree();
  game_.reset();
  for (auto& sound : sounds_) sound.reset();
  for (auto& sprite : sprites_) sprite.reset();
  back_.reset();
}

void TForm1::writeSaveFile() { WriteSaveLines(*Memo1->Lines(), SaveFileName()); }

void TForm1::FormPaint(fw::TObject*) { Present(); }

void TForm1::FormKeyPress(fw::TObject*, char& Key) {
  if (Key == 13 && game_ && game_->Life >= 0) {
    game_->Paused ^= 1;
    midi::GGSPause();
  }
}

void TForm1::BackToTitle() {
  game_->Running = 0;
  Timer1->SetEnabled(true);
  Panel1->SetVisible(true);
  Label1->SetCaption("ハイスコア：" + rt::IntToStr(game_->BestScore) + "　　プレイ回数：" +
                     rt::IntToStr(game_->PlayCount));
  PlayTune(3);
}

void TForm1::Panel2Click(fw::TObject*) {
  Game& g = *game_;
  g.PlayCount += 1;
  Timer1->SetEnabled(false);
  midi::GGSStop();
  if (Music->Checked()) PlayTune(1);
  switch (g.Start(FirstArgument())) {
    case Game::Mode::Debug: SetCaption("XWB2.51 .:debug mode :."); break;
    case Game::Mode::Cheat: SetCaption("ミルフェン  .:Cheat mode :."); break;
    case Game::Mode::Normal: break;
  }
  back_->FillColor(0, 0, 0);
  Present();
  Panel1->SetVisible(false);
}

void TForm1::Panel3Click(fw::TObject*) {
  menu_.MenuState = 2;
  midi::GGSConfigDlg(static_cast<intptr_t>(Handle()));
}

void TForm1::Panel2MouseMove(fw::TObject*, fw::TShiftState, int32_t, int32_t) { menu_.Light(TitleMenu::kStart); }
void TForm1::Panel3MouseMove(fw::TObject*, fw::TShiftState, int32_t, int32_t) { menu_.Light(TitleMenu::kSetting); }

void TForm1::Timer1Timer(fw::TObject*) {
  if (!game_) return;
  menu_.Tick(game_->EnterLatch, menuPicture_);
  Panel2->SetColor(menu_.PanelColor(TitleMenu::kStart));
  Panel3->SetColor(menu_.PanelColor(TitleMenu::kSetting));
  Label2->Font()->SetColor(menu_.CreditColor());
  Image1->Picture()->Assign(&menuPicture_);
}

void TForm1::AEIdle(fw::TObject*, bool& Done) {
  if (!game_ || ranking_) return;
  game_->SetBackBuffer(back_->Pixels());
  game_->AEIdle(Done);
}

bool TForm1::KeyDown(int virtualKey) { return fw::GetKeyState(virtualKey) < 0; }

void TForm1::PlayChannel(int channel) {
  if (TDDSDChannel* c = DDSD1->GetChannel(channel)) {
    c->StopSound();
    c->PlayFromStart();
  }
}

bool TForm1::MusicOn() { return Music->Checked(); }

void TForm1::PlayTune(int tune) { midi::GGSPlay(kPlayLoop, tune, 0); }

void TForm1::SmoothText(int x, int y, const std::string& text, int size) {
  fw::TFont* font = back_->Canvas()->Font();
  font->SetSize(size);
  font->SetColor(fw::clWhite);
  back_->DrawSmoothText(x, y, text, *font);
}

void TForm1::NewBestScore() {
  // The ranking's dialogs run message loops of their own, whose idle calls must not step the game:
  // it is still in the middle of its game-over frame.
  struct Guard {
    bool& flag;
    ~Guard() { flag = false; }
  } guard{ranking_};
  ranking_ = true;
  certifyAndRank();
  if (OnNewBestScore) OnNewBestScore(*this);
}

void TForm1::SaveScores() {
  fw::TStrings* lines = Memo1->Lines();
  lines->Put(0, rt::IntToStr(game_->BestScore));
  lines->Put(1, rt::IntToStr(game_->PlayCount));
  writeSaveFile();
}

void TForm1::ShowDebugMemo() { Memo2->SetVisible(true); }

void TForm1::Present() {
  if (!back_) return;
  fw::BitBlt(*Canvas(), 0, 0, back_->Width(), back_->Height(), *back_->Canvas(), 0, 0, fw::cmSrcCopy);
}

}  // namespace game
