#include "game/ranking.h"

#include <cstdio>

#include "game/score_certificate.h"
#include "game/world.h"
#include "platform/rt/exception.h"
#include "platform/rt/numtext.h"
#include "script/host/host.h"
#include "script/stdlib/stdlib.h"
#include "support/codepage.h"
#include "support/replace_file.h"

namespace game {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool SameIgnoringCase(const std::string& text, size_t at, const std::string& word) {
  for (size_t i = 0; i < word.size(); ++i)
    if (AsciiLower(text[at + i]) != AsciiLower(word[i])) return false;
  return true;
}

}  // namespace

std::string RankingScript(const std::string& server) {
  return std::string("u = new URL(\"") + server + kRankingPath +
         "\"); http = new HTTP; http.post(u.url, \"name=名前&score=点数&com=コメント\");";
}

std::string FormEncode(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' || c == '-' ||
        c == '.' || c == '_') {
      out += char(c);
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string ReplaceIgnoreCase(const std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    if (text.size() - at >= from.size() && SameIgnoringCase(text, at, from)) {
      out += to;
      at += from.size();
    } else {
      out += text[at++];
    }
  }
  return out;
}

std::string FillRankingScript(const std::string& script, const std::string& name, const std::string& comment,
                              int32_t score) {
  std::string text = ReplaceIgnoreCase(script, "名前", FormEncode(name));
  text = ReplaceIgnoreCase(text, "点数", rt::IntToStr(score));
  return ReplaceIgnoreCase(text, "コメント", FormEncode(comment));
}

std::string SubmitScore(engine::TBrindle& component, const std::string& script, const std::string& name,
                        const std::string& comment, int32_t score) {
  // The engine's error hook is borrowed for the call: whatever was hooked there still hears every
  // report.
  engine::TJEngine& engine = component.Engine();
  std::string failure;
  struct Borrow {
    engine::TJEngine& engine;
    std::function<void(int32_t, const std::string&)> previous;
    ~Borrow() { engine.OnError = std::move(previous); }
  } borrow{engine, engine.OnError};
  engine.OnError = [&failure, &borrow](int32_t line, const std::string& message) {
    failure = message;
    if (borrow.previous) borrow.previous(line, message);
  };
  if (component.Compile(FillRankingScript(script, name, comment, score))) component.RunNoArgs();
  return failure;
}

void AskRanking(RankingDialogs& dialogs, engine::TBrindle& component, const std::string& script, int32_t best) {
  if (dialogs.Confirm(kAskRegister) == RankingDialogs::Answer::No) return;
  // The name box answers its empty default when cancelled: the ranking goes on.
  std::string name;
  if (!dialogs.InputQuery(kRankingCaption, kAskName, name)) name.clear();
  std::string comment;
  if (!dialogs.InputQuery(kRankingCaption, kAskComment, comment)) {
    dialogs.ShowMessage(kCancelled);
    return;
  }
  const std::string failure = SubmitScore(component, script, name, comment, best);
  dialogs.ShowMessage(failure.empty() ? std::string(kSeeOfficialPage) : failure);
}

void SaveCertificate(const std::vector<std::string>& lines, const std::string& path) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  text = support::Utf8ToSjis(text);
  // Whole or not at all: the old certificate stays until the new one is complete.
  std::string error;
  if (!support::ReplaceFileContents(path, text, &error))
    throw rt::Exception("the score certificate " + path + " was not written: " + error);
}

std::vector<std::string> WriteCertificate(const Game& game, const std::string& path) {
  std::vector<std::string> lines = CertificateLines(game.BestScore, game.PlayCount, game.Cleared != 0);
  try {
    SaveCertificate(lines, path);
  } catch (const rt::Exception& e) {
    std::fprintf(stderr, "mirufen: %s\n", e.message().c_str());
  }
  return lines;
}

std::unique_ptr<engine::TBRS> MakeRankingComponent() {
  stdlib::Install();
  host::Install();
  return std::make_unique<engine::TBRS>();
}

}  // namespace game
