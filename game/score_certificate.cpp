#include "game/score_certificate.h"

#include "platform/rt/numtext.h"
#include "platform/rt/paths.h"
#include "platform/rt/random.h"

namespace game {

namespace {

const char* const kIdSymbols[8] = {"\"", "_", "!", "@", "~", "<", "=", "-"};

}  // namespace

std::string CertificatePath() { return rt::exeDir() + "スコア.txt"; }

std::string ScoreId(int32_t best) {
  rt::RandSeed = uint32_t(best);
  std::string id;
  for (int i = 0; i < 8; ++i) id += kIdSymbols[rt::Random(8)];
  return id;
}

std::vector<std::string> CertificateLines(int32_t best, int32_t plays, bool cleared) {
  return {
      "ミルフェン ver 1.72　スコアデータ",
      "ハイスコア：" + rt::IntToStr(best),
      "プレイ回数：" + rt::IntToStr(plays),
      "ID：" + ScoreId(best),
      cleared ? "[クリア！]" : "",
      "※IDは簡単なスコア証明書です。",
      "ランキングに書き込むときに信頼性があがるかも",
      "",
      "",
      "",
  };
}

}  // namespace game
