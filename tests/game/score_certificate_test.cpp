#include "game/score_certificate.h"

#include <gtest/gtest.h>

#include "platform/rt/random.h"

TEST(ScoreCertificate, IdDependsOnTheBestScoreAlone) {
  struct Case {
    int32_t best;
    const char* id;
  } cases[] = {
      {0, "\"\"=_!<!_"}, {1, "\"=_!<!_!"}, {100, "_-\"__@<_"}, {12345, "@!\"~<!@\""}, {99999, "-\"=__<-_"},
      {-5, "=-_=!@\"\""},  // a negative best score counts as its 32-bit pattern
  };
  for (const auto& c : cases) {
    rt::RandSeed = 0xDEADBEEF;  // whatever the generator held before
    EXPECT_EQ(game::ScoreId(c.best), c.id) << c.best;
    EXPECT_EQ(game::ScoreId(c.best), c.id) << c.best;
  }
  // The generator goes on from the score: the next draws are the same after every certificate.
  game::ScoreId(777);
  int32_t next = rt::Random(1000);
  rt::Randomize();
  game::ScoreId(777);
  EXPECT_EQ(rt::Random(1000), next);
}

TEST(ScoreCertificate, TenLines) {
  std::vector<std::string> lines = game::CertificateLines(12345, 7, true);
  EXPECT_EQ(lines, (std::vector<std::string>{"ミルフェン ver 1.72　スコアデータ", "ハイスコア：12345", "プレイ回数：7",
                                             "ID：@!\"~<!@\"", "[クリア！]", "※IDは簡単なスコア証明書です。",
                                             "ランキングに書き込むときに信頼性があがるかも", "", "", ""}));
  EXPECT_EQ(game::CertificateLines(12345, 7, false)[4], "");
}
