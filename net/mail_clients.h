// TgPOP3 reads messages from a POP3 server into its TMailMessage; TgSMTP sends the TMailMessage it
// owns through an SMTP server. Both are blocking TgSockets and report progress as status lines.
//
// On the wire: POP3 takes back the extra dot the server puts before a line that starts with one,
// and a message cut short by a closed connection is a failure, not a shorter message; SMTP puts
// that dot in front of such lines itself, reads replies that run over several lines whole, sends
// one RCPT per address of To, Cc and Bcc, and reads the server's verdict on the message and on
// QUIT. The password never shows in a status line, and no text taken from the caller can carry a
// line break into a command.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "net/mail_message.h"
#include "net/socket.h"

namespace net {

class TgPOP3;
using TPop3NotifyEvent = std::function<void(TgPOP3& sender)>;
using TPop3RetryEvent = std::function<void(bool& retry)>;

class TgPOP3 : public TgSocket {
 public:
  explicit TgPOP3(int bufferSize);
  ~TgPOP3() override;

  bool DeleteOnRead = false;
  // The count STAT reported at login.
  int32_t MailCount = 0;
  std::string AttachPath;
  std::string Password;
  std::string User;
  TMailMessage Message;
  // The largest message GetMail accepts, in bytes.
  size_t MaxMessageSize = size_t(64) << 20;

  TPop3RetryEvent OnLoginFailure;
  TPop3RetryEvent OnNeedUser;
  TPop3NotifyEvent OnMailReceived;
  TPop3NotifyEvent OnSuccess;
  TPop3NotifyEvent OnFailure;
  TPop3NotifyEvent OnMailStart;

  // Connects, reads the greeting, logs in (USER, PASS) and reads the message count (STAT).
  void Connect() override;
  // QUIT (its reply read, a failure ignored), then the connection closes.
  void Disconnect() override;
  // RETR: the whole message into Message, attachments saved in AttachPath.
  void GetMail(int32_t number);
  // TOP number 1: the header fields and the first body line; Message.Number := number.
  void GetSummary(int32_t number);
  void DeleteMail(int32_t number);
  // One reply line: +OK sets ReplyText, -ERR raises EProtocolError 500, anything else 999.
  void CheckReply();

 private:
  void Login();
  void ReadMessage(bool logEveryLine, std::string& text);
};

class TgSMTP : public TgSocket {
 public:
  explicit TgSMTP(int bufferSize);
  ~TgSMTP() override;

  TMailMessage Message;

  // Connects, reads the greeting (220) and says HELO with the local address (250).
  void Connect() override;
  // QUIT with its reply read (a failure ignored), then the connection closes.
  void Disconnect() override;
  // MAIL FROM the From address, one RCPT TO per address of To, Cc and Bcc, DATA, the message
  // (without its Bcc field), and the server's answer to the end of the data, which must be 250.
  void SendMail();
  // One reply, all its lines: ReplyCode (999 when the line holds no number), ReplyText from the
  // last line; a code above 399 raises EProtocolError "SMTP".
  void CheckReply();

 private:
  void Expect(int code);
};

// The addresses of an address header ("A <a@b>, c@d, \"x, y\" <e@f>"), display names and
// comments left out, in order. Raises ELocalError for an address that holds a line break, an
// angle bracket or a control character.
std::vector<std::string> MailAddresses(const std::string& header);

}  // namespace net
