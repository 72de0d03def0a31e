#include "game/main_form.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/audio/output.h"
#include "platform/fw/keys.h"
#include "platform/midi/ggs.h"
#include "platform/rt/random.h"
#include "tests/game/qt_environment.h"
#include "tests/support/temp_dir.h"

namespace {

const auto* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new game_test::QtEnvironment);

using support_test::readFile;

// The real window's model, driven by its own handlers: no display, the sound pulled by nobody.
class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    audio::Output::instance().startPulled();
    savePath = testing::TempDir() + "mirufen_sav_" + std::to_string(getpid()) + ".dat";
    game::TForm1::SaveFileName() = savePath;
    certificatePath = testing::TempDir() + "mirufen_certificate_" + std::to_string(getpid()) + ".txt";
    game::TForm1::CertificateFileName() = certificatePath;
  }
  void TearDown() override {
    fw::ReleaseAllKeys();
    std::remove(savePath.c_str());
    std::remove(certificatePath.c_str());
  }
  void open(const std::string& saved = "", const std::string& argument = "") {
    if (!saved.empty()) std::ofstream(savePath, std::ios::binary) << saved;
    game::TForm1::FirstArgument() = argument;
    form = new game::TForm1(nullptr);
    form->AfterConstruction();
  }
  void close() {
    form->Free();
    form = nullptr;
  }
  void press(int vk, bool down = true) { fw::SetKeyDown(vk, down); }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) form->Timer1Timer(form->Timer1);
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) form->TheGame().Step();
  }

  std::string savePath, certificatePath;
  game::TForm1* form = nullptr;
};

TEST_F(MainFormTest, TheDescriptionMakesTheWindowAndItsComponents) {
  open("120\r\n7\r\n0\r\n");
  EXPECT_EQ(form->Caption(), "ミルフェン  ver 1.75");
  EXPECT_EQ(form->ClientWidth(), 600);
  EXPECT_EQ(form->ClientHeight(), 450);
  EXPECT_EQ(form->Color(), fw::clBlack);
  ASSERT_NE(form->DDSD1, nullptr);
  EXPECT_EQ(form->Timer1->Interval(), 10u);
  EXPECT_TRUE(form->Timer1->Enabled());
  EXPECT_TRUE(form->Panel1->Visible());
  EXPECT_FALSE(form->Music->Visible());
  EXPECT_FALSE(form->Music->Checked());  // line 3 was "0"
  EXPECT_FALSE(form->Panel2->Visible());
  EXPECT_EQ(form->Label3->Caption(), "ミルフェン");
  EXPECT_EQ(form->Label4->Caption(), "-XWB 3.00- ");
  EXPECT_EQ(form->Label1->Caption(), "ハイスコア：120　　プレイ回数：7");
  EXPECT_NE(form->Scriptmemo->Lines()->Text().find("name=名前&score=点数&com=コメント"), std::string::npos);
  EXPECT_EQ(form->Cursor(), fw::crNone);
  EXPECT_EQ(midi::player().playingNumber(), 3);  // the title tune
  close();
  EXPECT_EQ(readFile(savePath), "120\r\n7\r\n0\r\n");
}

TEST_F(MainFormTest, EnterOnTheTitleStartsAGameThatEndsBackOnTheTitleWithTheSaveWritten) {
  open();  // no save file yet: music on
  EXPECT_TRUE(form->Music->Checked());
  press(fw::VK_RETURN);
  ticks(20);  // held: one game only
  game::Game& g = form->TheGame();
  EXPECT_EQ(g.Running, 1);
  EXPECT_EQ(g.PlayCount, 1);
  EXPECT_FALSE(form->Timer1->Enabled());
  EXPECT_FALSE(form->Panel1->Visible());
  EXPECT_EQ(midi::player().playingNumber(), 1);
  press(fw::VK_RETURN, false);

  g.Score = 345;
  frames(1);
  g.Life = 0;
  frames(3);
  EXPECT_EQ(g.BestScore, 345);
  EXPECT_EQ(readFile(savePath), "345\r\n1\r\n1\r\n");
  press(fw::VK_RETURN);
  frames(1);  // the start's Enter was released, so this press goes back at once
  EXPECT_EQ(g.Running, 0);
  EXPECT_TRUE(form->Panel1->Visible());
  EXPECT_TRUE(form->Timer1->Enabled());
  EXPECT_EQ(form->Label1->Caption(), "ハイスコア：345　　プレイ回数：1");
  EXPECT_EQ(midi::player().playingNumber(), 3);
  ticks(5);  // Enter still held from the game-over screen: no new game
  EXPECT_EQ(g.Running, 0);
  form->Music->SetChecked(false);
  close();
  EXPECT_EQ(readFile(savePath), "345\r\n1\r\n0\r\n");
}

TEST_F(MainFormTest, AccessCodesChangeTheCaptionAtTheStart) {
  open("", "tinkrow");
  press(fw::VK_RETURN);
  ticks(1);
  EXPECT_EQ(form->Caption(), "XWB2.51 .:debug mode :.");
  EXPECT_EQ(form->TheGame().Life, 1000000);
  close();
  open("", "farowlide");
  press(fw::VK_RETURN);
  ticks(1);
  EXPECT_EQ(form->Caption(), "ミルフェン  .:Cheat mode :.");
  close();
}

TEST_F(MainFormTest, EnterKeyPressPausesTheGameAndTheMusic) {
  open();
  press(fw::VK_RETURN);
  ticks(1);
  press(fw::VK_RETURN, false);
  char enter = 13;
  form->FormKeyPress(form, enter);
  EXPECT_EQ(form->TheGame().Paused, 1);
  EXPECT_TRUE(midi::player().isPaused());
  form->FormKeyPress(form, enter);
  EXPECT_EQ(form->TheGame().Paused, 0);
  EXPECT_FALSE(midi::player().isPaused());
  close();
}

TEST_F(MainFormTest, DownShowsTheMusicBoxAndTheMenuPictureFollows) {
  open();
  press(fw::VK_DOWN);
  ticks(3);
  EXPECT_TRUE(form->Music->Visible());
  EXPECT_EQ(form->Menu().MenuState, 1);
  fw::TBitmap* picture = form->Image1->Picture()->Bitmap();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 110);
  EXPECT_EQ(picture->Height(), 100);
  close();
}

}  // namespace
