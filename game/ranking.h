// The online ranking: after a game over with a new best score the game writes the score
// certificate, asks whether to register the score, asks for a name and a comment, and runs the
// short script held in the main form, which posts `name`, `score` and `com` to the ranking
// server with the script's URL and HTTP objects.
//
// The name and the comment are form-encoded before they go into the script: the encoded text
// holds only letters, digits and "*-._+%", so neither the script's string literal nor the form
// body can be broken by quotes, "&", "=" or line breaks, and nothing typed can run as script.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "script/core/component.h"

namespace game {

class Game;

// Where the ranking post goes: an HTTP URL whose path is the ranking CGI.
constexpr const char kRankingServer[] = "http://localhost";
constexpr const char kRankingPath[] = "/~owner/rank/rankbbs.cgi";

// The ranking script of the main form for a server address ("http://host[:port]"): one line that
// makes a URL object of the CGI's address, an HTTP object, and posts the form body, whose
// placeholders "名前", "点数" and "コメント" SubmitScore fills in.
std::string RankingScript(const std::string& server = kRankingServer);

// The texts of the ranking dialogs.
constexpr const char kAskRegister[] = "ネットランキングに登録しますか？";
constexpr const char kRankingCaption[] = "スコアランキングの登録";
constexpr const char kAskName[] = "お名前(2回目の人は同じ名前で)";
constexpr const char kAskComment[] = "コメント";
constexpr const char kCancelled[] = "キャンセルされました";
constexpr const char kSeeOfficialPage[] = "スコアランキングは公式ページで見てね";

// The dialogs the ranking asks through (the framework's dialog service in the game, a responder
// in tests).
class RankingDialogs {
 public:
  enum class Answer { Yes, No, Closed };
  virtual ~RankingDialogs() = default;
  // A confirmation box with the buttons Yes and No; Closed when it was shut without either.
  virtual Answer Confirm(const std::string& text) = 0;
  // An input box with a caption, a prompt and the text's default; false when cancelled (the text
  // is then left as it was).
  virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& text) = 0;
  // A message box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
};

// The form encoding of a text, byte by byte: letters, digits and "*-._" stay, a blank becomes "+",
// every other byte "%" and two upper-case hexadecimal digits (a character beyond ASCII thus as
// its UTF-8 bytes).
std::string FormEncode(const std::string& text);

// Every occurrence of `from` in `text` replaced by `to`, letter case ignored (ASCII letters);
// the search goes on after the inserted text, which is never searched itself.
std::string ReplaceIgnoreCase(const std::string& text, const std::string& from, const std::string& to);

// The ranking script with its placeholders filled in, one after the other on the whole text:
// "名前" by the encoded name, "点数" by the score in decimal, "コメント" by the encoded comment.
std::string FillRankingScript(const std::string& script, const std::string& name, const std::string& comment,
                              int32_t score);

// Fills the script and runs it with the script component: compiled, and run without arguments
// only when it compiled. Script errors go to the component's events as always; the answer is the
// last error the script reported (its "Exception: ..." or "SyntaxError: ..." line), empty when it
// ran through.
std::string SubmitScore(engine::TBrindle& component, const std::string& script, const std::string& name,
                        const std::string& comment, int32_t score);

// The dialog sequence: register? (only No stops), the name, the comment (cancelling it ends with
// a notice), then SubmitScore and the pointer to the official page; a post that failed shows the
// script's error instead, so the player is not told to look for a score that never arrived.
void AskRanking(RankingDialogs& dialogs, engine::TBrindle& component, const std::string& script, int32_t best);

// Writes the certificate's lines as Shift_JIS text, each ended by CR LF, whole or not at all (a
// failed write keeps the previous certificate). Throws rt::Exception with the file's name when it
// cannot be written.
void SaveCertificate(const std::vector<std::string>& lines, const std::string& path);

// The certificate of a game over that stored a new best score: its ten lines, also written to
// `path`. A certificate that cannot be written is reported on the standard error stream and does
// not keep the player from the ranking that follows.
std::vector<std::string> WriteCertificate(const Game& game, const std::string& path);

// A script component ready for the ranking: the standard and host classes are installed first.
std::unique_ptr<engine::TBRS> MakeRankingComponent();

}  // namespace game
