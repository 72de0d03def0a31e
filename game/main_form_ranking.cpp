// The main form's part in the online ranking: the certificate into Mscore and beside the program,
// the dialogs through the framework's dialog service, the ranking script run by BRS.
#include <string>
#include <vector>

#include "game/main_form.h"
#include "game/ranking.h"
#include "game/ranking_dialogs.h"
#include "game/score_certificate.h"

namespace game {

std::string& TForm1::CertificateFileName() {
  static std::string name = CertificatePath();
  return name;
}

void TForm1::certifyAndRank() {
  std::string text;
  for (const std::string& line : WriteCertificate(*game_, CertificateFileName())) text += line + "\r\n";
  Mscore->Lines()->SetText(text);
  AskRanking();
}

void TForm1::AskRanking() {
  TFrameworkRankingDialogs dialogs;
  game::AskRanking(dialogs, *BRS, Scriptmemo->Lines()->Text(), game_->BestScore);
}

void TForm1::SubmitScore(const std::string& Name, const std::string& Comment, int32_t Score) {
  game::SubmitScore(*BRS, Scriptmemo->Lines()->Text(), Name, Comment, Score);
}

}  // namespace game
