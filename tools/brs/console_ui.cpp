#include "tools/brs/console_ui.h"

#include <termios.h>
#include <unistd.h>

#include <vector>

#include "platform/rt/utf8.h"

namespace brs {

using namespace stdlib;

namespace {

struct Button {
  int id;
  const char* word;
};

std::vector<Button> ButtonsOf(int flags) {
  switch (flags & mbButtonMask) {
    case mbOKCancel: return {{idOK, "ok"}, {idCancel, "cancel"}};
    case mbAbortRetryIgnore: return {{idAbort, "abort"}, {idRetry, "retry"}, {idIgnore, "ignore"}};
    case mbYesNoCancel: return {{idYes, "yes"}, {idNo, "no"}, {idCancel, "cancel"}};
    case mbYesNo: return {{idYes, "yes"}, {idNo, "no"}};
    case mbRetryCancel: return {{idRetry, "retry"}, {idCancel, "cancel"}};
    default: return {{idOK, "ok"}};
  }
}

}  // namespace

TConsoleHostUI::TConsoleHostUI() {
  if (isatty(STDIN_FILENO) || isatty(STDERR_FILENO)) tty_ = std::fopen("/dev/tty", "r+");
}

TConsoleHostUI::~TConsoleHostUI() {
  if (tty_) std::fclose(tty_);
}

bool TConsoleHostUI::Ask(const std::string& prompt, std::string& answer) {
  if (!tty_) return false;
  std::fputs(prompt.c_str(), tty_);
  std::fflush(tty_);
  answer.clear();
  int c;
  while ((c = std::fgetc(tty_)) != EOF && c != '\n') answer += char(c);
  if (!answer.empty() && answer.back() == '\r') answer.pop_back();
  return c != EOF || !answer.empty();
}

int TConsoleHostUI::MessageBox(const std::string& text, const std::string& caption, int flags) {
  std::vector<Button> buttons = ButtonsOf(flags);
  if (!tty_) return buttons.front().id;
  std::string prompt = "[" + caption + "] " + text + " (";
  for (size_t i = 0; i < buttons.size(); ++i) prompt += std::string(i ? "/" : "") + buttons[i].word;
  prompt += ") ";
  std::string answer;
  while (Ask(prompt, answer)) {
    if (answer.empty()) return buttons.front().id;
    for (const Button& b : buttons)
      if (rt::lowerCase(answer) == b.word || rt::asciiLower(answer[0]) == b.word[0]) return b.id;
  }
  return buttons.front().id;
}

bool TConsoleHostUI::InputLine(const std::string& message, std::string& text, char32_t passwordChar,
                               const std::string& caption, int) {
  if (!tty_) return false;
  // A password is not shown while it is typed (nor is the default it would replace).
  termios saved{};
  bool hidden = passwordChar != 0 && tcgetattr(fileno(tty_), &saved) == 0;
  if (hidden) {
    termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    hidden = tcsetattr(fileno(tty_), TCSAFLUSH, &quiet) == 0;
  }
  std::string shown = passwordChar != 0 || text.empty() ? "" : " [" + text + "]";
  std::string answer;
  bool answered = Ask("[" + caption + "] " + message + shown + ": ", answer);
  if (hidden) {
    tcsetattr(fileno(tty_), TCSAFLUSH, &saved);
    std::fputs("\n", tty_);
    std::fflush(tty_);
  }
  if (!answered) return false;
  if (!answer.empty()) text = answer;
  return true;
}

bool TConsoleHostUI::InputText(const std::string& message, std::string& text, const std::string& caption, int, int) {
  if (!tty_) return false;
  std::fputs(("[" + caption + "] " + message + " (end with a line holding only \".\")\n").c_str(), tty_);
  std::string all;
  std::string line;
  while (Ask("", line)) {
    if (line == ".") {
      text = all;
      return true;
    }
    all += (all.empty() ? "" : "\r\n") + line;
  }
  return false;
}

}  // namespace brs
