// The real mail servers of the mail tests, started once per test program on 127.0.0.1 (free
// ports, a temporary folder) and stopped by their process IDs when it ends:
//   dovecot: POP3 for the user "user" with the password "secret", over a Maildir into which the
//     tests drop messages;
//   aiosmtpd (smtp_server.py): records every accepted message byte for byte with its envelope and
//     delivers it into that same Maildir, so a message sent through SMTP can be read back by POP3.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nettest {

struct ReceivedMail {
  std::string mailFrom;
  std::vector<std::string> rcptTo;
  std::string content;  // the message as the server took it in (dots taken back)
};

struct MailServers {
  std::string folder;
  std::string maildir;  // the POP3 user's Maildir
  std::string record;   // where the SMTP server records what it accepts
  uint16_t pop3Port = 0;
  uint16_t smtpPort = 0;

  // A message for the POP3 user, under `name` in the Maildir's new/.
  void AddMessage(const std::string& name, const std::string& content) const;
  // The messages the SMTP server has accepted so far, in order.
  std::vector<ReceivedMail> Received() const;
  // Names of the messages still in the Maildir (new/ and cur/).
  std::vector<std::string> Stored() const;

  // Starts the servers on first use; throws std::runtime_error with the reason when one cannot.
  static MailServers& Get();
};

}  // namespace nettest
