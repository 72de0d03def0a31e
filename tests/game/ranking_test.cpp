// The online ranking: the form encoding of what the player types, the filling of the form's
// ranking script, the dialog sequence answered by a responder, and the whole road from a game
// played to a new best score to the POST the stand-in ranking server on 127.0.0.1 receives.
#include "game/ranking.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/score_certificate.h"
#include "game/world.h"
#include "net/url_escape.h"
#include "platform/rt/random.h"
#include "support/codepage.h"
#include "support/replace_file.h"
#include "tests/game/fake_host.h"
#include "tests/game/pixel_image.h"
#include "tests/net/loopback_peer.h"
#include "tests/script/host/ranking_server.h"

namespace fs = std::filesystem;

namespace {

using Answer = game::RankingDialogs::Answer;

// Answers the ranking dialogs from a queue and records every dialog it was shown, one line each:
// "confirm <text>", "input <caption>|<prompt>" or "message <text>".
struct Responder : game::RankingDialogs {
  Answer confirm = Answer::Yes;
  struct Input {
    bool ok;
    std::string text;
  };
  std::deque<Input> inputs;
  std::vector<std::string> shown;

  Answer Confirm(const std::string& text) override {
    shown.push_back("confirm " + text);
    return confirm;
  }
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& text) override {
    shown.push_back("input " + caption + "|" + prompt);
    EXPECT_EQ(text, "") << "the boxes start empty";
    if (inputs.empty()) return false;
    Input next = inputs.front();
    inputs.pop_front();
    if (next.ok) text = next.text;
    return next.ok;
  }
  void ShowMessage(const std::string& text) override { shown.push_back("message " + text); }
};

const std::string kConfirm = std::string("confirm ") + game::kAskRegister;
const std::string kNameBox = std::string("input ") + game::kRankingCaption + "|" + game::kAskName;
const std::string kCommentBox = std::string("input ") + game::kRankingCaption + "|" + game::kAskComment;
const std::string kCancelledNote = std::string("message ") + game::kCancelled;
const std::string kOfficialPage = std::string("message ") + game::kSeeOfficialPage;

// The form fields of a recorded POST body, decoded.
struct Fields {
  std::vector<std::string> names, values;
};

Fields Decode(const std::string& body) {
  Fields f;
  size_t at = 0;
  while (at <= body.size()) {
    size_t end = body.find('&', at);
    if (end == std::string::npos) end = body.size();
    std::string pair = body.substr(at, end - at);
    size_t eq = pair.find('=');
    f.names.push_back(pair.substr(0, eq));
    f.values.push_back(eq == std::string::npos ? "" : net::UrlDecode(pair.substr(eq + 1), true));
    at = end + 1;
  }
  return f;
}

// The script component with its error reports collected, and the ranking server's new POSTs.
class RankingTest : public ::testing::Test {
 protected:
  RankingTest() : server(hosttest::RankingServer::Get()), component(game::MakeRankingComponent()) {
    component->SetOnStderr([this](engine::TBrindle*, const std::string& s) { errors += s; });
    seen = server.Requests().size();
    script = game::RankingScript("http://127.0.0.1:" + std::to_string(server.port()));
  }

  // The requests that arrived since the last look.
  std::vector<std::string> NewPosts() {
    std::vector<std::string> all = server.Requests();
    std::vector<std::string> fresh(all.begin() + long(seen), all.end());
    seen = all.size();
    return fresh;
  }
  // The one POST that arrived since the last look, as decoded form fields.
  Fields OnePost() {
    std::vector<std::string> posts = NewPosts();
    if (posts.size() != 1) {
      ADD_FAILURE() << posts.size() << " posts arrived";
      return {};
    }
    const std::string prefix = std::string("POST ") + game::kRankingPath + "\tapplication/x-www-form-urlencoded\t";
    EXPECT_EQ(posts[0].compare(0, prefix.size(), prefix), 0) << posts[0];
    return Decode(posts[0].substr(std::min(prefix.size(), posts[0].size())));
  }

  hosttest::RankingServer& server;
  std::unique_ptr<engine::TBRS> component;
  std::string errors, script;
  size_t seen = 0;
};

const std::vector<std::string> kFieldNames = {"name", "score", "com"};

}  // namespace

TEST(RankingText, FormEncodingKeepsOnlyHarmlessBytesAndDecodesBackExactly) {
  EXPECT_EQ(game::FormEncode("Azaz09*-._"), "Azaz09*-._");
  EXPECT_EQ(game::FormEncode("a b"), "a+b");
  EXPECT_EQ(game::FormEncode("\"'&=+%\\\r\n;<>()"), "%22%27%26%3D%2B%25%5C%0D%0A%3B%3C%3E%28%29");
  EXPECT_EQ(game::FormEncode("名前"), "%E5%90%8D%E5%89%8D");  // UTF-8 bytes
  EXPECT_EQ(game::FormEncode(std::string("a\0b", 3)), "a%00b");

  std::string every;
  for (int b = 0; b < 256; ++b) every += char(b);
  const std::string encoded = game::FormEncode(every);
  for (char c : encoded)
    EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || std::string("*-._+%").find(c) != std::string::npos)
        << int(static_cast<unsigned char>(c));
  EXPECT_EQ(net::UrlDecode(encoded, true), every);
}

TEST(RankingText, ReplacementIgnoresCaseAndNeverSearchesWhatItInserted) {
  EXPECT_EQ(game::ReplaceIgnoreCase("Name=NAME&name", "name", "x"), "x=x&x");
  EXPECT_EQ(game::ReplaceIgnoreCase("aXa", "a", "aa"), "aaXaa");
  EXPECT_EQ(game::ReplaceIgnoreCase("名前と名前", "名前", "N"), "NとN");
  EXPECT_EQ(game::ReplaceIgnoreCase("abc", "", "x"), "abc");
  EXPECT_EQ(game::ReplaceIgnoreCase("ab", "abc", "x"), "ab");
}

TEST(RankingText, TheScriptIsFilledWithTheEncodedNameTheScoreAndTheEncodedComment) {
  const std::string script = game::RankingScript("http://rank.example:8080");
  EXPECT_EQ(script,
            "u = new URL(\"http://rank.example:8080/~owner/rank/rankbbs.cgi\"); http = new HTTP; "
            "http.post(u.url, \"name=名前&score=点数&com=コメント\");");
  EXPECT_EQ(game::FillRankingScript(script, "A B", "hi!", 1234),
            "u = new URL(\"http://rank.example:8080/~owner/rank/rankbbs.cgi\"); http = new HTTP; "
            "http.post(u.url, \"name=A+B&score=1234&com=hi%21\");");
  // Every occurrence; a negative score in decimal.
  EXPECT_EQ(game::FillRankingScript("名前 点数 コメント 名前 点数", "n", "c", -5), "n -5 c n -5");
  // What the player types is encoded first, so placeholders inside it stay as typed.
  EXPECT_EQ(game::FillRankingScript("[名前][コメント]", "点数", "名前", 7),
            "[" + game::FormEncode("点数") + "][" + game::FormEncode("名前") + "]");
}

TEST_F(RankingTest, SubmitScorePostsTheThreeFieldsToTheRankingPath) {
  game::SubmitScore(*component, script, "みるふぇん", "楽しかった", 98765);
  Fields f = OnePost();
  EXPECT_EQ(f.names, kFieldNames);
  EXPECT_EQ(f.values, (std::vector<std::string>{"みるふぇん", "98765", "楽しかった"}));
  EXPECT_EQ(errors, "");
}

// Quotes, "&", "=", line breaks and attempts at script code arrive as typed, in their own fields,
// and nothing of them runs.
TEST_F(RankingTest, WhatThePlayerTypesCanNeitherBreakTheScriptNorAddFields) {
  const std::string hostile[] = {
      "\"); http.post(u.url, \"name=evil&score=999999&com=x\"); (\"",
      "a&score=1&com=b=c",
      "line1\r\nline2\n\"quote' \\back%25 +plus",
      "名前点数コメント",
  };
  for (const std::string& name : hostile) {
    game::SubmitScore(*component, script, name, name + "!", 10);
    Fields f = OnePost();
    EXPECT_EQ(f.names, kFieldNames) << name;
    EXPECT_EQ(f.values, (std::vector<std::string>{name, "10", name + "!"})) << name;
  }
  EXPECT_EQ(errors, "");
}

// A script that does not compile is reported by the component and not run; one that fails while
// running (no server) is reported too. Neither reaches the game as an exception; the game gets the
// error line, and a handler of the component's own still hears every report.
TEST_F(RankingTest, ScriptFailuresAreReportedAndAnswered) {
  std::vector<int32_t> lines;
  component->SetOnError([&](engine::TBrindle*, int32_t line, const std::string&) { lines.push_back(line); });
  std::string failure = game::SubmitScore(*component, "u = new URL(\"名前\";\n 点数", "n", "c", 1);
  EXPECT_EQ(failure.rfind("SyntaxError: Line(", 0), 0u) << failure;
  EXPECT_EQ(errors, failure + "\r\n");
  errors.clear();
  const std::string unreachable = game::RankingScript("http://127.0.0.1:" + std::to_string(nettest::UnusedPort()));
  failure = game::SubmitScore(*component, unreachable, "n", "c", 1);
  EXPECT_EQ(failure, "Exception: ESocketError(1) => HTTP.post error");
  EXPECT_EQ(errors, failure + "\r\n");
  EXPECT_EQ(lines.size(), 2u);
  EXPECT_TRUE(NewPosts().empty());
  // The next good post answers no failure.
  EXPECT_EQ(game::SubmitScore(*component, script, "n", "c", 1), "");
  EXPECT_EQ(OnePost().values, (std::vector<std::string>{"n", "1", "c"}));
  EXPECT_EQ(lines.size(), 2u);
}

TEST_F(RankingTest, TheDialogSequence) {
  {  // The whole way: register, name, comment, post, then the pointer to the official page.
    Responder r;
    r.inputs = {{true, "ノア"}, {true, "また来ます"}};
    game::AskRanking(r, *component, script, 4321);
    EXPECT_EQ(r.shown, (std::vector<std::string>{kConfirm, kNameBox, kCommentBox, kOfficialPage}));
    EXPECT_EQ(OnePost().values, (std::vector<std::string>{"ノア", "4321", "また来ます"}));
  }
  {  // No ends it at once.
    Responder r;
    r.confirm = Answer::No;
    r.inputs = {{true, "x"}, {true, "y"}};
    game::AskRanking(r, *component, script, 1);
    EXPECT_EQ(r.shown, std::vector<std::string>{kConfirm});
    EXPECT_TRUE(NewPosts().empty());
  }
  {  // A box shut without an answer is no No: the ranking goes on.
    Responder r;
    r.confirm = Answer::Closed;
    r.inputs = {{true, "x"}, {true, "y"}};
    game::AskRanking(r, *component, script, 2);
    EXPECT_EQ(r.shown.size(), 4u);
    EXPECT_EQ(OnePost().values, (std::vector<std::string>{"x", "2", "y"}));
  }
  {  // A cancelled name is the empty name; the ranking goes on.
    Responder r;
    r.inputs = {{false, "ignored"}, {true, "c"}};
    game::AskRanking(r, *component, script, 3);
    EXPECT_EQ(r.shown, (std::vector<std::string>{kConfirm, kNameBox, kCommentBox, kOfficialPage}));
    EXPECT_EQ(OnePost().values, (std::vector<std::string>{"", "3", "c"}));
  }
  {  // A post that fails shows the script's error instead of the pointer to the official page.
    Responder r;
    r.inputs = {{true, "n"}, {true, "c"}};
    game::AskRanking(r, *component, game::RankingScript("http://127.0.0.1:" + std::to_string(nettest::UnusedPort())),
                     5);
    EXPECT_EQ(r.shown, (std::vector<std::string>{kConfirm, kNameBox, kCommentBox,
                                                 "message Exception: ESocketError(1) => HTTP.post error"}));
    errors.clear();
  }
  {  // A cancelled comment ends with the notice and posts nothing.
    Responder r;
    r.inputs = {{true, "n"}, {false, ""}};
    game::AskRanking(r, *component, script, 4);
    EXPECT_EQ(r.shown, (std::vector<std::string>{kConfirm, kNameBox, kCommentBox, kCancelledNote}));
    EXPECT_TRUE(NewPosts().empty());
  }
  EXPECT_EQ(errors, "");
}

namespace {

// The score ID as the certificate defines it, computed here on its own: the generator restarts
// from the score; each draw advances state := state * 134775813 + 1 and takes the high 32 bits of
// state * 8.
std::string ExpectedId(int32_t best) {
  const char* symbols[8] = {"\"", "_", "!", "@", "~", "<", "=", "-"};
  uint32_t state = uint32_t(best);
  std::string id;
  for (int i = 0; i < 8; ++i) {
    state = state * 134775813u + 1u;
    id += symbols[(uint64_t(state) * 8u) >> 32];
  }
  return id;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A frame host that does at a new best score what the main form does.
struct RankingHost : game_test::FakeHost {
  Responder dialogs;
  engine::TBrindle* component = nullptr;
  std::string script, certificatePath;
  std::vector<std::string> certificate;  // the hidden memo's lines
  void NewBestScore() override {
    FakeHost::NewBestScore();
    certificate = game::WriteCertificate(*game, certificatePath);
    game::AskRanking(dialogs, *component, script, game->BestScore);
  }
};

struct TempFolder {
  fs::path path;
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "ranking-game-XXXXXX").string();
    if (mkdtemp(pattern.data())) path = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path.empty()) fs::remove_all(path, ec);
  }
};

}  // namespace

// A game played by keys to its end with a new best score: the certificate is written in
// Shift_JIS with CR LF, its ID follows from the best score, the dialogs are answered, and the
// ranking server receives the name, the score and the comment.
TEST_F(RankingTest, AGamePlayedToANewBestScoreEndsInTheRankingPost) {
  TempFolder folder;
  ASSERT_FALSE(folder.path.empty());
  RankingHost host;
  game_test::Image back(game::kClientWidth, game::kClientHeight), sprite(20, 20, 0xFF4080C0u);
  game::Game g(host, back.view());
  host.game = &g;
  host.component = component.get();
  host.script = script;
  host.certificatePath = (folder.path / "スコア.txt").string();
  host.dialogs.inputs = {{true, "テスト \"player\" & co"}, {true, "line1\nline2=ok"}};
  g.SetSprites(sprite.view(), {sprite.view(), sprite.view(), sprite.view(), sprite.view(), sprite.view(),
                               sprite.view()});
  g.BestScore = 3;
  g.PlayCount = 41;

  rt::RandSeed = 2026;
  g.PlayCount += 1;  // the start button counts the play
  g.Start("");
  int frames = 0;
  for (; frames < 60000 && host.newBest == 0; ++frames) {
    host.keys.clear();
    host.keys.insert(game::VK_Z);
    host.keys.insert(frames / 60 % 2 ? game::VK_LEFT : game::VK_RIGHT);
    g.Step();
  }
  ASSERT_EQ(host.newBest, 1) << "no new best score after " << frames << " frames";
  const int32_t best = g.BestScore;
  EXPECT_GT(best, 3);
  EXPECT_EQ(best, g.ShownScore);

  const std::vector<std::string> lines = {"ミルフェン ver 1.72　スコアデータ",
                                          "ハイスコア：" + std::to_string(best),
                                          "プレイ回数：42",
                                          "ID：" + ExpectedId(best),
                                          g.Cleared ? "[クリア！]" : "",
                                          "※IDは簡単なスコア証明書です。",
                                          "ランキングに書き込むときに信頼性があがるかも",
                                          "",
                                          "",
                                          ""};
  EXPECT_EQ(host.certificate, lines);
  std::string file;
  for (const std::string& line : lines) file += line + "\r\n";
  EXPECT_EQ(ReadBytes(host.certificatePath), support::Utf8ToSjis(file));
  EXPECT_EQ(support::SjisToUtf8(ReadBytes(host.certificatePath)), file);

  EXPECT_EQ(host.dialogs.shown, (std::vector<std::string>{kConfirm, kNameBox, kCommentBox, kOfficialPage}));
  Fields f = OnePost();
  EXPECT_EQ(f.names, kFieldNames);
  EXPECT_EQ(f.values, (std::vector<std::string>{"テスト \"player\" & co", std::to_string(best), "line1\nline2=ok"}));
  EXPECT_EQ(errors, "");

  // The game-over screen goes on without asking again; the same best score gives the same ID.
  for (int i = 0; i < 30; ++i) g.Step();
  EXPECT_EQ(host.newBest, 1);
  EXPECT_EQ(game::CertificateLines(best, 42, g.Cleared != 0)[3], lines[3]);
}

// A game killed while it writes the certificate leaves the previous one whole and nothing else.
TEST(ScoreCertificateFile, AWriterKilledPartWayLeavesTheOldCertificateAlone) {
  TempFolder folder;
  ASSERT_FALSE(folder.path.empty());
  const fs::path path = folder.path / "スコア.txt";
  game::SaveCertificate({"old certificate"}, path.string());
  const std::string before = ReadBytes(path);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    support::testing::BlockSize = 4;
    support::testing::AfterBlockWritten = [](size_t written) {
      if (written >= 8) ::raise(SIGKILL);
    };
    game::SaveCertificate({"a new certificate", "of several lines"}, path.string());
    ::_exit(0);  // not reached when the kill came
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()), 1);
}

TEST_F(RankingTest, ACertificateThatCannotBeWrittenDoesNotStopTheRanking) {
  TempFolder folder;
  ASSERT_FALSE(folder.path.empty());
  EXPECT_THROW(game::SaveCertificate({"x"}, (folder.path / "missing" / "スコア.txt").string()), rt::Exception);
  // A certificate replaces the one before; a failed write leaves no half-written file behind.
  const fs::path good = folder.path / "スコア.txt";
  game::SaveCertificate({"old", "lines"}, good.string());
  game::SaveCertificate({"new"}, good.string());
  EXPECT_EQ(ReadBytes(good), "new\r\n");
  fs::create_directory(folder.path / "busy");
  EXPECT_THROW(game::SaveCertificate({"x"}, (folder.path / "busy").string()), rt::Exception);
  EXPECT_TRUE(fs::is_directory(folder.path / "busy"));
  EXPECT_FALSE(fs::exists(folder.path / "busy.new"));

  RankingHost host;
  game_test::Image back(game::kClientWidth, game::kClientHeight);
  game::Game g(host, back.view());
  host.game = &g;
  host.component = component.get();
  host.script = script;
  host.certificatePath = (folder.path / "missing" / "スコア.txt").string();
  host.dialogs.inputs = {{true, "n"}, {true, "c"}};
  g.BestScore = 500;
  g.PlayCount = 1;
  testing::internal::CaptureStderr();
  host.NewBestScore();
  const std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("スコア.txt"), std::string::npos) << report;
  EXPECT_EQ(host.certificate.size(), 10u);
  EXPECT_EQ(OnePost().values, (std::vector<std::string>{"n", "500", "c"}));
}
