// POP3 against dovecot and SMTP against aiosmtpd, both started on 127.0.0.1 by the fixture, and a
// scripted peer for what real servers do not do on demand (replies over several lines, a
// connection that ends inside a message).
#include "net/mail_clients.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "loopback_peer.h"
#include "mail_servers.h"
#include "net/errors.h"
#include "support/base64.h"

namespace fs = std::filesystem;
using nettest::MailServers;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Logged(const std::vector<std::string>& log, const std::string& line) {
  return std::find(log.begin(), log.end(), line) != log.end();
}

struct Folder {
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "mail-cli-XXXXXX").string();
    path = mkdtemp(pattern.data());
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  std::string path;
};

template <class Client>
void Prepare(Client& client, uint16_t port, std::vector<std::string>& log) {
  client.Host = "127.0.0.1";
  client.Port = port;
  client.Timeout = 10;
  client.LogLevel = net::kLogRoutine;
  client.OnStatus = [&log](net::TgSocket&, const std::string& text) { log.push_back(text); };
}

struct Pop3 : net::TgPOP3 {
  Pop3() : net::TgPOP3(65536) {
    Prepare(*this, MailServers::Get().pop3Port, log);
    User = "user";
    Password = "secret";
  }
  std::vector<std::string> log;
};

struct Smtp : net::TgSMTP {
  explicit Smtp(uint16_t port) : net::TgSMTP(65536) { Prepare(*this, port, log); }
  Smtp() : Smtp(MailServers::Get().smtpPort) {}
  std::vector<std::string> log;
};

const char kPlainMessage[] =
    "From: a@example.com\r\nTo: user@example.com\r\nSubject: first\r\n\r\n.dotline\r\nbody\r\n..two\r\n";

std::string MessageWithAttachment(const std::string& data) {
  return "From: a@example.com\r\nSubject: file\r\nContent-Type: multipart/mixed; boundary=\"BB\"\r\n\r\n"
         "--BB\r\nContent-Type: text/plain\r\n\r\n.leading dot\r\ntext\r\n"
         "--BB\r\nContent-Type: application/octet-stream; name=\"../../data.bin\"\r\n"
         "Content-Transfer-Encoding: base64\r\n\r\n" +
         support::EncodeBase64(data) + "\r\n--BB--\r\n";
}

TEST(Pop3, LoginCountReadAndSummary) {
  MailServers& servers = MailServers::Get();
  servers.AddMessage("1.a", kPlainMessage);
  std::string data(5000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i % 251);
  servers.AddMessage("2.b", MessageWithAttachment(data));

  Folder folder;
  Pop3 pop;
  pop.AttachPath = folder.path;
  int started = 0, received = 0;
  pop.OnMailStart = [&](net::TgPOP3&) { ++started; };
  pop.OnMailReceived = [&](net::TgPOP3&) { ++received; };
  pop.Connect();
  EXPECT_EQ(pop.MailCount, 2);
  EXPECT_TRUE(Logged(pop.log, "nfo>loginします"));
  EXPECT_TRUE(Logged(pop.log, "cmd>USER user"));
  // The password never shows.
  EXPECT_TRUE(Logged(pop.log, "cmd>PASS ****"));
  for (const std::string& line : pop.log) EXPECT_EQ(line.find("secret"), std::string::npos) << line;

  // The server doubles a leading dot; the client takes it back.
  pop.GetMail(1);
  EXPECT_EQ(pop.Message.Body, ".dotline\r\nbody\r\n..two\r\n");
  EXPECT_EQ(pop.Message.GetHeader("Subject"), "first");
  EXPECT_EQ(pop.Message.Number, 0);
  EXPECT_TRUE(Logged(pop.log, "nfo>メールを取得します"));
  EXPECT_TRUE(Logged(pop.log, "nfo>メール取得終了"));
  EXPECT_TRUE(Logged(pop.log, "res>Subject: first"));
  EXPECT_FALSE(Logged(pop.log, "res>body"));  // body lines are not logged

  pop.GetMail(2);
  EXPECT_EQ(pop.Message.Body, "\r\n.leading dot\r\ntext\r\n");
  ASSERT_EQ(pop.Message.Attachments.size(), 1u);
  EXPECT_EQ(pop.Message.Attachments[0], folder.path + "/data.bin");
  EXPECT_EQ(ReadAll(pop.Message.Attachments[0]), data);

  pop.GetSummary(1);
  EXPECT_EQ(pop.Message.Number, 1);
  EXPECT_EQ(pop.Message.GetHeader("From"), "a@example.com");
  EXPECT_EQ(pop.Message.Body, ".dotline\r\n");
  EXPECT_EQ(started, 3);
  EXPECT_EQ(received, 3);

  EXPECT_THROW(pop.GetMail(7), net::EProtocolError);
  EXPECT_TRUE(Logged(pop.log, "err>メール取得に失敗しました"));
  pop.Disconnect();
  EXPECT_TRUE(Logged(pop.log, "nfo>logoutします"));
  EXPECT_FALSE(pop.Connected);
  EXPECT_EQ(servers.Stored().size(), 2u);  // nothing deleted
}

TEST(Pop3, WrongPasswordAndMissingUser) {
  MailServers::Get();
  // A handler that supplies the user name on the first attempt lets the second one log in.
  Pop3 asked;
  asked.User.clear();
  int needed = 0;
  asked.OnNeedUser = [&](bool& retry) {
    ++needed;
    asked.User = "user";
    retry = true;
  };
  asked.Connect();
  EXPECT_EQ(needed, 1);
  asked.Disconnect();

  Pop3 refused;
  refused.Password = "wrong";
  int failures = 0;
  refused.OnLoginFailure = [&](bool&) { ++failures; };
  try {
    refused.Connect();
    FAIL() << "a wrong password logged in";
  } catch (const net::EProtocolError& e) {
    EXPECT_EQ(e.Code, 500);
    EXPECT_EQ(e.Protocol, "pop3");
    EXPECT_EQ(std::string(e.what()).rfind("-ERR ", 0), 0u);
    EXPECT_EQ("-ERR " + refused.ReplyText, std::string(e.what()));
  }
  EXPECT_EQ(failures, 1);

  Pop3 nobody;
  nobody.User.clear();
  int calls = 0;
  nobody.OnNeedUser = [&](bool& retry) { retry = ++calls == 1; };
  try {
    nobody.Connect();
    FAIL() << "logged in without a user";
  } catch (const net::EProtocolError& e) {
    EXPECT_EQ(e.Protocol, "AuthenticationNeeded");
  }
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(Logged(nobody.log, "err>useridがありません"));

  // A line break in the user name never reaches the server as a second command.
  Pop3 injected;
  injected.User = "user\r\nDELE 1";
  EXPECT_THROW(injected.Connect(), net::ELocalError);
}

TEST(Pop3, DeleteAndDeleteOnRead) {
  MailServers& servers = MailServers::Get();
  servers.AddMessage("1.a", kPlainMessage);
  servers.AddMessage("2.b", kPlainMessage);
  servers.AddMessage("3.c", kPlainMessage);
  Pop3 pop;
  int successes = 0, failures = 0;
  pop.OnSuccess = [&](net::TgPOP3&) { ++successes; };
  pop.OnFailure = [&](net::TgPOP3&) { ++failures; };
  pop.Connect();
  ASSERT_EQ(pop.MailCount, 3);
  pop.DeleteOnRead = true;
  pop.GetMail(1);
  pop.DeleteOnRead = false;
  pop.DeleteMail(2);
  EXPECT_EQ(successes, 2);
  EXPECT_THROW(pop.DeleteMail(2), net::EProtocolError);  // already marked
  EXPECT_EQ(failures, 1);
  EXPECT_TRUE(Logged(pop.log, "err>メール削除に失敗しました"));
  EXPECT_TRUE(Logged(pop.log, "nfo>メール削除終了"));
  pop.Disconnect();  // QUIT makes the deletions take effect

  Pop3 again;
  again.Connect();
  EXPECT_EQ(again.MailCount, 1);
  again.Disconnect();
  EXPECT_EQ(servers.Stored().size(), 1u);
}

// A scripted POP3 server's side of the login of user "u" with password "p": one message waits.
void ServeLogin(int fd) {
  nettest::SendAll(fd, "+OK ready\r\n");
  nettest::ReadUntil(fd, "USER u\r\n");
  nettest::SendAll(fd, "+OK\r\n");
  nettest::ReadUntil(fd, "PASS p\r\n");
  nettest::SendAll(fd, "+OK\r\n");
  nettest::ReadUntil(fd, "STAT\r\n");
  nettest::SendAll(fd, "+OK 1 99\r\n");
}

TEST(Pop3, ConnectionEndingInsideAMessageIsAFailure) {
  nettest::LoopbackPeer peer([](int fd) {
    ServeLogin(fd);
    nettest::ReadUntil(fd, "RETR 1\r\n");
    nettest::SendAll(fd, "+OK\r\nSubject: cut\r\n\r\nfirst half\r\n");
  });
  net::TgPOP3 pop(4096);
  pop.Host = "127.0.0.1";
  pop.Port = peer.port();
  pop.User = "u";
  pop.Password = "p";
  pop.Connect();
  EXPECT_EQ(pop.MailCount, 1);
  EXPECT_THROW(pop.GetMail(1), net::EProtocolError);
  EXPECT_EQ(pop.Message.Body, "");
}

// A message whose attachment could not be saved is a failed read: it stays on the server even with
// DeleteOnRead.
TEST(Pop3, MessageWithAnUnsavedAttachmentIsNotDeleted) {
  std::string after;
  nettest::LoopbackPeer peer([&after](int fd) {
    ServeLogin(fd);
    nettest::ReadUntil(fd, "RETR 1\r\n");
    nettest::SendAll(fd, "+OK\r\n" + MessageWithAttachment("payload") + ".\r\n");
    after = nettest::ReadUntil(fd, "QUIT\r\n");
    nettest::SendAll(fd, "+OK bye\r\n");
  });
  Folder folder;
  net::TgPOP3 pop(4096);
  pop.Host = "127.0.0.1";
  pop.Port = peer.port();
  pop.User = "u";
  pop.Password = "p";
  pop.AttachPath = folder.path + "/not-there";
  pop.DeleteOnRead = true;
  pop.Connect();
  EXPECT_THROW(pop.GetMail(1), net::ELocalError);
  pop.Disconnect();
  EXPECT_EQ(after, "QUIT\r\n");
}

TEST(Smtp, SendsTheExactMessage) {
  MailServers& servers = MailServers::Get();
  Smtp smtp;
  smtp.Connect();
  EXPECT_TRUE(Logged(smtp.log, "cmd>HELO 127.0.0.1"));
  smtp.Message.Headers.Put("From", "Sender Name <sender@example.com>");
  smtp.Message.Headers.Put("To", "\"Doe, John\" <john@example.com>, jane@example.com");
  smtp.Message.Headers.Put("Cc", "Carl <carl@example.com>");
  smtp.Message.Headers.Put("Bcc", "hidden@example.com");
  smtp.Message.Headers.Put("Subject", "dots");
  smtp.Message.Body = ".\r\nRSET\r\n.x\r\n..y\r\nend";
  smtp.SendMail();
  EXPECT_TRUE(Logged(smtp.log, "nfo>メールを送信します"));
  EXPECT_TRUE(Logged(smtp.log, "nfo>メールの送信を終了しました"));
  EXPECT_TRUE(Logged(smtp.log, "cmd>RCPT TO:<john@example.com>"));
  EXPECT_FALSE(Logged(smtp.log, "cmd>RSET"));
  smtp.Disconnect();
  EXPECT_TRUE(Logged(smtp.log, "cmd>QUIT"));
  EXPECT_TRUE(Logged(smtp.log, "res>221 Bye"));

  std::vector<nettest::ReceivedMail> got = servers.Received();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].mailFrom, "sender@example.com");
  EXPECT_EQ(got[0].rcptTo, (std::vector<std::string>{"john@example.com", "jane@example.com", "carl@example.com",
                                                      "hidden@example.com"}));
  // The message arrives whole, its dot lines as they were, and without its Bcc field.
  std::string raw;
  smtp.Message.Headers.Remove("Bcc");
  smtp.Message.Build(raw);
  std::string expectedBody = ".\r\nRSET\r\n.x\r\n..y\r\nend\r\n\r\n";
  std::string content = got[0].content;
  ASSERT_GE(content.size(), expectedBody.size());
  EXPECT_EQ(content.substr(content.size() - expectedBody.size()), expectedBody);
  EXPECT_EQ(content.find("hidden@example.com"), std::string::npos);
  EXPECT_EQ(content.rfind("Cc: Carl", 0), 0u);  // the table's order puts Cc first
}

TEST(Smtp, LargeAttachmentArrives) {
  MailServers& servers = MailServers::Get();
  Folder folder;
  std::string data(20000, 'x');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 131) % 256);
  std::ofstream(folder.path + "/big.bin", std::ios::binary) << data;
  Smtp smtp;
  smtp.Connect();
  smtp.Message.Headers.Put("From", "a@example.com");
  smtp.Message.Headers.Put("To", "b@example.com");
  smtp.Message.Body = "attached";
  smtp.Message.Attachments.push_back(folder.path + "/big.bin");
  smtp.SendMail();
  smtp.Disconnect();
  std::vector<nettest::ReceivedMail> got = servers.Received();
  ASSERT_EQ(got.size(), 1u);
  Folder into;
  net::TMailMessage back;
  back.AttachFolder = into.path;
  back.Parse(got[0].content);
  ASSERT_EQ(back.Attachments.size(), 1u);
  EXPECT_EQ(ReadAll(back.Attachments[0]), data);
}

TEST(Smtp, RefusalsAreFailures) {
  MailServers& servers = MailServers::Get();
  Smtp smtp;
  smtp.Connect();
  smtp.Message.Headers.Put("From", "a@example.com");
  smtp.Message.Headers.Put("To", "b@example.com");
  // Refused after the data: a failure with the server's code, not a success.
  smtp.Message.Headers.Put("X-Reject", "yes");
  try {
    smtp.SendMail();
    FAIL() << "a refused message counted as sent";
  } catch (const net::EProtocolError& e) {
    EXPECT_EQ(e.Code, 554);
    EXPECT_EQ(e.Protocol, "SMTP");
  }
  EXPECT_FALSE(Logged(smtp.log, "nfo>メールの送信を終了しました"));

  // A line longer than the server takes.
  smtp.Message.Headers.Remove("X-Reject");
  smtp.Message.Body = std::string(1500, 'a');
  try {
    smtp.SendMail();
    FAIL() << "an overlong line counted as sent";
  } catch (const net::EProtocolError& e) {
    EXPECT_EQ(e.Code, 500);
  }

  smtp.Message.Body = "ok";
  // A line break in an address is refused before anything is sent.
  smtp.Message.Headers.Put("To", "b@example.com\r\nRSET");
  size_t logged = smtp.log.size();
  EXPECT_THROW(smtp.SendMail(), net::ELocalError);
  EXPECT_EQ(std::count_if(smtp.log.begin() + static_cast<std::ptrdiff_t>(logged), smtp.log.end(),
                          [](const std::string& l) { return l.rfind("cmd>", 0) == 0; }),
            0);
  smtp.Message.Headers.Put("To", "b@example.com");
  smtp.Message.Attachments.push_back("/nonexistent/file.bin");
  logged = smtp.log.size();
  EXPECT_THROW(smtp.SendMail(), net::ELocalError);  // an attachment that cannot be read: nothing sent
  EXPECT_EQ(smtp.log.size(), logged + 1);            // the start line only
  smtp.Message.Attachments.clear();
  smtp.Message.Headers.Remove("To");
  EXPECT_THROW(smtp.SendMail(), net::ELocalError);  // nobody to send to
  smtp.Disconnect();
  EXPECT_TRUE(servers.Received().empty());
}

TEST(Smtp, RefusedRecipientEndsTheTransaction) {
  std::string commands;
  nettest::Signal done;
  nettest::LoopbackPeer peer([&](int fd) {
    nettest::SendAll(fd, "220 ready\r\n");
    for (const char* reply : {"250 hello\r\n", "250 ok\r\n", "250 ok\r\n", "550 no such user\r\n", "250 reset\r\n",
                              "221 bye\r\n"}) {
      commands += nettest::ReadUntil(fd, "\r\n");
      nettest::SendAll(fd, reply);
    }
    done.raise();
  });
  Smtp smtp(peer.port());
  smtp.Connect();
  smtp.Message.Headers.Put("From", "a@b");
  smtp.Message.Headers.Put("To", "c@d, e@f");
  try {
    smtp.SendMail();
    FAIL() << "a refused recipient counted as sent";
  } catch (const net::EProtocolError& e) {
    EXPECT_EQ(e.Code, 550);
  }
  smtp.Disconnect();
  ASSERT_TRUE(done.wait());
  EXPECT_EQ(commands, "HELO 127.0.0.1\r\nMAIL FROM:<a@b>\r\nRCPT TO:<c@d>\r\nRCPT TO:<e@f>\r\nRSET\r\nQUIT\r\n");
}

TEST(Smtp, RepliesOverSeveralLinesAreReadWhole) {
  std::string commands;
  nettest::Signal done;
  nettest::LoopbackPeer peer([&](int fd) {
    nettest::SendAll(fd, "220-mail.test first\r\n220-second\r\n220 ready\r\n");
    commands += nettest::ReadUntil(fd, "\r\n");
    nettest::SendAll(fd, "250-mail.test\r\n250 ok\r\n");
    commands += nettest::ReadUntil(fd, "\r\n");
    nettest::SendAll(fd, "250 ok\r\n");
    commands += nettest::ReadUntil(fd, "\r\n");
    nettest::SendAll(fd, "250 ok\r\n");
    commands += nettest::ReadUntil(fd, "\r\n");
    nettest::SendAll(fd, "354 go\r\n");
    commands += nettest::ReadUntil(fd, "\r\n.\r\n");
    nettest::SendAll(fd, "451-try\r\n451 later\r\n");
    commands += nettest::ReadUntil(fd, "\r\n");
    nettest::SendAll(fd, "221 bye\r\n");
    done.raise();
  });
  Smtp smtp(peer.port());
  smtp.Connect();
  EXPECT_EQ(smtp.ReplyCode, 250);
  EXPECT_EQ(smtp.ReplyText, "ok");
  smtp.Message.Headers.Put("From", "a@b");
  smtp.Message.Headers.Put("To", "c@d");
  try {
    smtp.SendMail();
    FAIL() << "451 counted as sent";
  } catch (const net::EProtocolError& e) {
    EXPECT_EQ(e.Code, 451);
    EXPECT_EQ(std::string(e.what()), "later");
  }
  smtp.Disconnect();
  ASSERT_TRUE(done.wait());
  EXPECT_EQ(commands.rfind("HELO 127.0.0.1\r\nMAIL FROM:<a@b>\r\nRCPT TO:<c@d>\r\nDATA\r\n", 0), 0u);
  EXPECT_NE(commands.find("QUIT\r\n"), std::string::npos);
}

}  // namespace
