// The score certificate "スコア.txt": ten lines written beside the program after a new best score,
// with an eight-symbol check ID that the best score alone decides.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace game {

std::string CertificatePath();

// The check ID of a best score: the runtime generator is restarted from the score, then eight
// draws of Random(8) pick the symbols. Every later draw of the session follows from the score.
std::string ScoreId(int32_t best);

// The certificate's ten lines (the ID drawn as above).
std::vector<std::string> CertificateLines(int32_t best, int32_t plays, bool cleared);

}  // namespace game
