#include "game/ranking_dialogs.h"

#include "platform/fw/dialogs.h"

namespace game {

RankingDialogs::Answer TFrameworkRankingDialogs::Confirm(const std::string& text) {
  switch (fw::MessageDlg(text, fw::mtConfirmation, {fw::mbYes, fw::mbNo}, 0)) {
    case fw::mrYes: return Answer::Yes;
    case fw::mrNo: return Answer::No;
    default: return Answer::Closed;
  }
}

bool TFrameworkRankingDialogs::InputQuery(const std::string& caption, const std::string& prompt, std::string& text) {
  return fw::InputQuery(caption, prompt, text);
}

void TFrameworkRankingDialogs::ShowMessage(const std::string& text) { fw::ShowMessage(text); }

}  // namespace game
