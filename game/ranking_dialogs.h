// The ranking's dialogs as the framework shows them: a confirmation box with Yes and No, input
// boxes and an information box, all through the framework's dialog service.
#pragma once

#include "game/ranking.h"

namespace game {

class TFrameworkRankingDialogs : public RankingDialogs {
 public:
  Answer Confirm(const std::string& text) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& text) override;
  void ShowMessage(const std::string& text) override;
};

}  // namespace game
