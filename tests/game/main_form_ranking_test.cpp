// The ranking through the game's window: a game started from the title and played by keys to a
// new best score leaves the certificate in Mscore and beside the program, asks through the
// framework's dialogs, and the form's ranking script posts to the stand-in server.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "game/main_form.h"
#include "game/ranking.h"
#include "game/score_certificate.h"
#include "net/url_escape.h"
#include "platform/audio/output.h"
#include "platform/fw/dialogs.h"
#include "platform/fw/keys.h"
#include "platform/rt/random.h"
#include "support/codepage.h"
#include "tests/game/qt_environment.h"
#include "tests/script/host/ranking_server.h"
#include "tests/support/temp_dir.h"

namespace {

const auto* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new game_test::QtEnvironment);

using support_test::readFile;

class MainFormRankingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    audio::Output::instance().startPulled();
    const std::string stem = testing::TempDir() + "mirufen_ranking_" + std::to_string(getpid());
    savePath = stem + ".dat";
    certificatePath = stem + "_スコア.txt";
    game::TForm1::SaveFileName() = savePath;
    game::TForm1::CertificateFileName() = certificatePath;
    game::TForm1::FirstArgument() = "";
    std::ofstream(savePath, std::ios::binary) << "2\r\n9\r\n0\r\n";
    form = new game::TForm1(nullptr);
    form->AfterConstruction();
    seen = server.Requests().size();
  }
  void TearDown() override {
    fw::ReleaseAllKeys();
    if (form) form->Free();
    std::remove(savePath.c_str());
    std::remove(certificatePath.c_str());
  }

  hosttest::RankingServer& server = hosttest::RankingServer::Get();
  size_t seen = 0;
  std::string savePath, certificatePath;
  game::TForm1* form = nullptr;
  fw::TScriptedDialogs dialogs;
  fw::TDialogServiceScope scope{&dialogs};
};

// Starts a game from the title with Enter and plays it, firing and swaying, until it is over.
int playToTheEnd(game::TForm1& form) {
  rt::RandSeed = 2026;  // the same game every run
  fw::SetKeyDown(fw::VK_RETURN, true);
  form.Timer1Timer(form.Timer1);
  fw::SetKeyDown(fw::VK_RETURN, false);
  game::Game& g = form.TheGame();
  int frames = 0;
  for (; frames < 60000 && g.Life >= 0; ++frames) {
    fw::SetKeyDown(game::VK_Z, true);
    fw::SetKeyDown(fw::VK_LEFT, frames / 60 % 2 == 1);
    fw::SetKeyDown(fw::VK_RIGHT, frames / 60 % 2 == 0);
    g.Step();
  }
  fw::ReleaseAllKeys();
  return frames;
}

}  // namespace

TEST_F(MainFormRankingTest, ANewBestScoreIsCertifiedAndPostedThroughTheFormsScript) {
  // The form's ranking script is the one the game carries, pointed at the stand-in server.
  ASSERT_EQ(form->Scriptmemo->Lines()->Text(), game::RankingScript() + "\r\n");
  form->Scriptmemo->Lines()->SetText(game::RankingScript("http://127.0.0.1:" + std::to_string(server.port())));
  dialogs.OnMessage = [&](const fw::TMessageRequest& r) {
    if (r.Text == game::kAskRegister) {
      EXPECT_EQ(r.Type, fw::mtConfirmation);
      EXPECT_EQ(r.Buttons.bits, (fw::TMsgDlgButtons{fw::mbYes, fw::mbNo}).bits);
      return fw::mrYes;
    }
    return fw::mrOk;
  };
  dialogs.OnInput = [](const std::string&, const std::string& prompt,
                       const std::string& defaultValue) -> std::optional<std::string> {
    EXPECT_EQ(defaultValue, "");
    return prompt == game::kAskName ? "霧の \"灯台\"" : "a&b=c";
  };

  const int frames = playToTheEnd(*form);
  game::Game& g = form->TheGame();
  ASSERT_LT(g.Life, 0) << "the game did not end in " << frames << " frames";
  const int32_t best = g.BestScore;
  ASSERT_GT(best, 2);
  EXPECT_EQ(g.PlayCount, 10);

  const std::vector<std::string> lines = game::CertificateLines(best, 10, g.Cleared != 0);
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  EXPECT_EQ(form->Mscore->Lines()->Text(), text);
  EXPECT_EQ(readFile(certificatePath), support::Utf8ToSjis(text));

  ASSERT_EQ(dialogs.Log.size(), 4u);
  EXPECT_EQ(dialogs.Log[0].kind + " " + dialogs.Log[0].text, std::string("message ") + game::kAskRegister);
  EXPECT_EQ(dialogs.Log[1].kind + " " + dialogs.Log[1].caption + " " + dialogs.Log[1].text,
            std::string("input ") + game::kRankingCaption + " " + game::kAskName);
  EXPECT_EQ(dialogs.Log[2].kind + " " + dialogs.Log[2].caption + " " + dialogs.Log[2].text,
            std::string("input ") + game::kRankingCaption + " " + game::kAskComment);
  EXPECT_EQ(dialogs.Log[3].kind + " " + dialogs.Log[3].text, std::string("message ") + game::kSeeOfficialPage);

  std::vector<std::string> posts = server.Requests();
  ASSERT_EQ(posts.size(), seen + 1);
  const std::string body = "name=" + game::FormEncode("霧の \"灯台\"") + "&score=" + std::to_string(best) +
                           "&com=" + game::FormEncode("a&b=c");
  EXPECT_EQ(posts.back(), std::string("POST ") + game::kRankingPath + "\tapplication/x-www-form-urlencoded\t" + body);

  // The game-over screen stays; nothing is asked or posted again.
  for (int i = 0; i < 20; ++i) g.Step();
  EXPECT_EQ(dialogs.Log.size(), 4u);
  EXPECT_EQ(server.Requests().size(), seen + 1);
}

TEST_F(MainFormRankingTest, NoMeansNoPostAndAnEqualScoreNoCertificate) {
  form->Scriptmemo->Lines()->SetText(game::RankingScript("http://127.0.0.1:" + std::to_string(server.port())));
  dialogs.OnMessage = [](const fw::TMessageRequest&) { return fw::mrNo; };
  playToTheEnd(*form);
  game::Game& g = form->TheGame();
  ASSERT_GT(g.BestScore, 2);
  ASSERT_EQ(dialogs.Log.size(), 1u);
  EXPECT_EQ(server.Requests().size(), seen);
  EXPECT_FALSE(readFile(certificatePath).empty());

  // A later game over whose shown score only equals the best asks nothing and writes nothing.
  std::remove(certificatePath.c_str());
  form->BackToTitle();
  fw::SetKeyDown(fw::VK_RETURN, true);
  form->Timer1Timer(form->Timer1);
  fw::SetKeyDown(fw::VK_RETURN, false);
  g.SpawnStopped = 1;
  g.Score = g.BestScore;
  g.Step();  // the score is shown on frame 0
  g.Life = 0;
  for (int i = 0; i < 5; ++i) g.Step();
  EXPECT_EQ(dialogs.Log.size(), 1u);
  EXPECT_EQ(readFile(certificatePath), "");
}

TEST_F(MainFormRankingTest, TheGameStandsStillWhileTheRankingDialogsAreOpen) {
  game::Game& g = form->TheGame();
  int stepped = -1;
  dialogs.OnMessage = [&](const fw::TMessageRequest&) {
    // A dialog's own message loop keeps calling the application's idle handler.
    uint32_t now = g.LastTick;
    g.Clock = [&now] { return now += 100; };
    const int before = g.Frame;
    for (int i = 0; i < 5; ++i) {
      bool done = true;
      form->AEIdle(form, done);
    }
    stepped = g.Frame - before;
    return fw::mrNo;
  };
  playToTheEnd(*form);
  EXPECT_EQ(stepped, 0);
  EXPECT_EQ(dialogs.Log.size(), 1u);
}
