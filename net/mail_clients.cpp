#include "net/mail_clients.h"

#include <charconv>

#include "net/errors.h"

namespace net {

namespace {

constexpr int kLoginAttempts = 2;
// Continuation lines one SMTP reply may have; a server that sends more is out of step.
constexpr int kMaxReplyLines = 1000;
// Body lines are gathered into sends of about this size.
constexpr size_t kSendChunk = 64 * 1024;

std::string Num(int64_t n) { return std::to_string(n); }

// A caller's text that goes into a command line.
void CheckCommandText(const std::string& text, const char* what) {
  for (char c : text)
    if (c == '\r' || c == '\n' || c == '\0') throw ELocalError(std::string("line break in ") + what);
}

std::string Trim(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}

bool Closed(TgSocket& socket) { return socket.Handle == kNoSocket || socket.IsClosed(socket.Handle); }

}  // namespace

// --- addresses ---

std::vector<std::string> MailAddresses(const std::string& header) {
  std::vector<std::string> items;
  std::string item;
  bool quoted = false;
  int angle = 0, comment = 0;
  for (char c : header) {
    if (c == '\r' || c == '\n' || c == '\0') throw ELocalError("line break in an address");
    if (quoted) {
      if (c == '"') quoted = false;
      item += c;
      continue;
    }
    if (c == '"' && comment == 0) quoted = true;
    else if (c == '(') ++comment;
    else if (c == ')' && comment > 0) --comment;
    else if (c == '<' && comment == 0) ++angle;
    else if (c == '>' && comment == 0 && angle > 0) --angle;
    if (c == ',' && angle == 0 && comment == 0) {
      items.push_back(item);
      item.clear();
    } else {
      item += c;
    }
  }
  items.push_back(item);

  std::vector<std::string> addresses;
  for (const std::string& raw : items) {
    std::string address;
    size_t open = raw.rfind('<');
    if (open != std::string::npos) {
      size_t close = raw.find('>', open);
      address = raw.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    } else {
      // A bare address; a comment in parentheses is no part of it.
      int depth = 0;
      for (char c : raw) {
        if (c == '(') ++depth;
        else if (c == ')' && depth > 0) --depth;
        else if (depth == 0) address += c;
      }
    }
    address = Trim(address);
    if (address.empty()) continue;
    for (unsigned char c : address)
      if (c < 0x20 || c == 0x7F || c == '<' || c == '>') throw ELocalError("bad address " + address);
    addresses.push_back(address);
  }
  return addresses;
}

// --- POP3 ---

TgPOP3::TgPOP3(int bufferSize) : TgSocket(bufferSize) { Port = 110; }

TgPOP3::~TgPOP3() {
  OnStatus = nullptr;
  OnDisconnect = nullptr;
}

void TgPOP3::CheckReply() {
  std::string line;
  ReadReply(line);
  if (line.rfind("+OK", 0) == 0) {
    ReplyText = line.size() > 4 ? line.substr(4) : std::string();
    return;
  }
  if (line.rfind("-ERR", 0) == 0) {
    ReplyText = line.size() > 5 ? line.substr(5) : std::string();
    throw EProtocolError(500, "pop3", line);
  }
  ReplyText.clear();
  throw EProtocolError(999, "pop3", line);
}

void TgPOP3::Connect() {
  TgSocket::Connect();
  CheckReply();
  Connected = true;
  Message.Clear();
  MailCount = 0;
  Log("nfo>loginします", kLogNotice);
  Login();
  try {
    SendCommand("STAT");
    CheckReply();
    size_t blank = ReplyText.find(' ');
    std::string count = ReplyText.substr(0, blank);
    int32_t value = 0;
    auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), value);
    if (error == std::errc() && end == count.data() + count.size()) MailCount = value;
  } catch (const EgSocket&) {
    // The count is a convenience: a server that refuses STAT still hands out its messages.
  }
}

void TgPOP3::Login() {
  for (int attempt = 1; attempt <= kLoginAttempts; ++attempt) {
    if (User.empty()) {
      bool retry = false;
      if (OnNeedUser) OnNeedUser(retry);
      if (retry && attempt < kLoginAttempts) continue;
      Log("err>useridがありません", kLogNormal);
      throw EProtocolError(0, "AuthenticationNeeded", "no user");
    }
    try {
      CheckCommandText(User, "the user name");
      CheckCommandText(Password, "the password");
      SendCommand("USER " + User);
      CheckReply();
      SendLine("PASS " + Password);
      SendCommand("PASS ****", true);
      CheckReply();
      return;
    } catch (const EgSocket&) {
      bool retry = false;
      if (OnLoginFailure) OnLoginFailure(retry);
      if (!(retry && attempt < kLoginAttempts)) throw;
    }
  }
}

// Lines up to the one that is a lone ".". The header lines are logged as replies; with
// `logEveryLine` the body lines too.
void TgPOP3::ReadMessage(bool logEveryLine, std::string& text) {
  text.clear();
  bool inHeader = true;
  std::string line;
  for (;;) {
    if (logEveryLine || inHeader)
      ReadReply(line);
    else
      ReadLine(line);
    if (line.empty() && Closed(*this)) throw EProtocolError(0, "pop3", "connection closed inside a message");
    if (line == ".") return;
    if (line.empty()) inHeader = false;
    if (!line.empty() && line[0] == '.') line.erase(0, 1);
    text += line;
    text += "\r\n";
    if (text.size() > MaxMessageSize) throw EProtocolError(0, "pop3", "message too large");
  }
}

void TgPOP3::GetMail(int32_t number) {
  Log("nfo>メールを取得します", kLogNotice);
  try {
    SendCommand("RETR " + Num(number));
    CheckReply();
    if (OnMailStart) OnMailStart(*this);
    Message.Clear();
    Message.AttachFolder = AttachPath;
    std::string text;
    ReadMessage(false, text);
    Message.Parse(text);
    if (OnMailReceived) OnMailReceived(*this);
    Log("nfo>メール取得終了", kLogNotice);
  } catch (const EgSocket&) {
    Log("err>メール取得に失敗しました", kLogNormal);
    throw;
  }
  if (DeleteOnRead) DeleteMail(number);
}

void TgPOP3::GetSummary(int32_t number) {
  Log("nfo>ヘッダを取得します", kLogNotice);
  try {
    SendCommand("TOP " + Num(number) + " 1");
    CheckReply();
    if (OnMailStart) OnMailStart(*this);
    Message.Clear();
    std::string text;
    ReadMessage(true, text);
    Message.Parse(text);
    Message.Number = number;
    if (OnMailReceived) OnMailReceived(*this);
    Log("nfo>ヘッダを取得終了", kLogNotice);
  } catch (const EgSocket&) {
    Log("err>ヘッダ取得に失敗しました", kLogNormal);
    throw;
  }
}

void TgPOP3::DeleteMail(int32_t number) {
  Log("nfo>メールを削除します", kLogNotice);
  try {
    SendCommand("DELE " + Num(number));
    CheckReply();
  } catch (const EgSocket&) {
    if (OnFailure) OnFailure(*this);
    Log("err>メール削除に失敗しました", kLogNormal);
    throw;
  }
  if (OnSuccess) OnSuccess(*this);
  Log("nfo>メール削除終了", kLogNotice);
}

void TgPOP3::Disconnect() {
  Log("nfo>logoutします", kLogNotice);
  if (Connected) {
    try {
      SendCommand("QUIT");
      CheckReply();
    } catch (const EgSocket&) {
      // The connection goes either way.
    }
  }
  Connected = false;
  TgSocket::Disconnect();
}

// --- SMTP ---

TgSMTP::TgSMTP(int bufferSize) : TgSocket(bufferSize) { Port = 25; }

TgSMTP::~TgSMTP() {
  OnStatus = nullptr;
  OnDisconnect = nullptr;
  try {
    Disconnect();
  } catch (...) {
    // Nothing may leave a destructor.
  }
}

void TgSMTP::CheckReply() {
  std::string line;
  for (int lines = 0;; ++lines) {
    ReadReply(line);
    // "250-..." lines continue the reply; "250 ..." (or a line too short to say) ends it.
    if (line.size() < 4 || line[3] != '-') break;
    if (Closed(*this)) break;
    if (lines == kMaxReplyLines) throw EProtocolError(999, "SMTP", "reply too long");
  }
  int code = 999;
  if (line.size() >= 3) {
    int value = 0;
    auto [end, error] = std::from_chars(line.data(), line.data() + 3, value);
    if (error == std::errc() && end == line.data() + 3) code = value;
  }
  ReplyCode = code;
  ReplyText = line.size() > 4 ? line.substr(4) : std::string();
  if (code > 399) throw EProtocolError(code, "SMTP", ReplyText);
}

void TgSMTP::Expect(int code) {
  CheckReply();
  if (ReplyCode != code) throw EProtocolError(ReplyCode, "SMTP", ReplyText);
}

void TgSMTP::Connect() {
  TgSocket::Connect();
  Connected = true;
  Expect(220);
  SendCommand("HELO " + GetLocalAddress());
  Expect(250);
}

void TgSMTP::SendMail() {
  Log("nfo>メールを送信します", kLogNotice);
  std::vector<std::string> from = MailAddresses(Message.GetHeader("From"));
  std::vector<std::string> recipients;
  for (const char* field : {"To", "Cc", "Bcc"})
    for (std::string& address : MailAddresses(Message.GetHeader(field))) recipients.push_back(std::move(address));
  if (recipients.empty()) throw ELocalError("no recipient");

  // The message is built before the server hears of it, so that an attachment that cannot be read
  // leaves no transaction half done. Blind copies are addressed but not shown to the others.
  std::string raw;
  std::string bcc;
  bool hasBcc = Message.Headers.HasKey("Bcc");
  if (hasBcc) {
    bcc = Message.GetHeader("Bcc");
    Message.Headers.Remove("Bcc");
  }
  try {
    Message.Build(raw);
  } catch (...) {
    if (hasBcc) Message.Headers.Put("Bcc", bcc);
    throw;
  }
  if (hasBcc) Message.Headers.Put("Bcc", bcc);

  try {
    SendCommand("MAIL FROM:<" + (from.empty() ? std::string() : from.front()) + ">");
    Expect(250);
    for (const std::string& address : recipients) {
      SendCommand("RCPT TO:<" + address + ">");
      CheckReply();
      if (ReplyCode != 250 && ReplyCode != 251) throw EProtocolError(ReplyCode, "SMTP", ReplyText);
    }
    SendCommand("DATA");
    Expect(354);
  } catch (const EProtocolError&) {
    // A refused envelope leaves the transaction open: it is dropped, so the next mail starts clean.
    try {
      SendCommand("RSET");
      CheckReply();
    } catch (const EgSocket&) {
    }
    throw;
  }

  std::vector<std::string> lines = SplitLines(raw);
  bool inHeader = true;
  std::string pending;
  for (std::string& line : lines) {
    // A line that starts with a dot gets a second one, so that no line of the message ends it.
    if (!line.empty() && line[0] == '.') line.insert(0, 1, '.');
    if (inHeader) {
      SendCommand(line);
      if (line.empty()) inHeader = false;
      continue;
    }
    pending += line;
    pending += "\r\n";
    if (pending.size() >= kSendChunk) {
      SendString(pending);
      pending.clear();
    }
  }
  pending += "\r\n.\r\n";
  SendString(pending);
  Expect(250);
  Log("nfo>メールの送信を終了しました", kLogNotice);
}

void TgSMTP::Disconnect() {
  if (Connected) {
    try {
      SendCommand("QUIT");
      CheckReply();
    } catch (const EgSocket&) {
      // The connection goes either way.
    }
  }
  Connected = false;
  TgSocket::Disconnect();
}

}  // namespace net
