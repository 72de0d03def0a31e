// The FTP client against pyftpdlib on 127.0.0.1, in passive and in active mode, and against
// scripted control connections for what a real server will not do on demand.
#include "net/ftp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ftp_servers.h"
#include "http_servers.h"
#include "killed_download.h"
#include "loopback_peer.h"

namespace fs = std::filesystem;
using nettest::FtpServers;

namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Client : net::TgFTP {
  explicit Client(uint16_t port, bool passive) : net::TgFTP(65536) {
    Host = "127.0.0.1";
    Port = port;
    User = "user";
    Password = "secret";
    Passive = passive;
    Timeout = 10;
    SliceMilliseconds = 200;
    OnStatus = [this](net::TgSocket&, const std::string& text) { log.push_back(text); };
    OnSuccess = [this](net::TFTPCmdType cmd) { successes.push_back(net::FtpCmdName(cmd)); };
  }
  int count(const std::string& text) const { return static_cast<int>(std::count(log.begin(), log.end(), text)); }
  std::vector<std::string> log;
  std::vector<std::string> successes;
};

// Every test works in a folder of its own on the server.
struct Session {
  Session(bool passive, const std::string& folder) : ftp(FtpServers::Get().unixPort, passive) {
    root = FtpServers::Get().unixRoot + "/" + folder;
    fs::remove_all(root);
    fs::create_directories(root);
    local = nettest::MakeFolder();
    ftp.Connect();
    ftp.ChangeDir("/" + folder);
  }
  void put(const std::string& name, const std::string& content) { nettest::WriteFile(root + "/" + name, content); }
  Client ftp;
  std::string root, local;
};

class FtpLive : public testing::TestWithParam<bool> {
 protected:
  std::string folder() const { return GetParam() ? "passive" : "active"; }
};

TEST_P(FtpLive, LoginFolderCommandsAndPasswordMasked) {
  Session s(GetParam(), folder() + "-cmds");
  Client& ftp = s.ftp;
  EXPECT_EQ(ftp.count("cmd>PASS ******"), 1);
  for (const std::string& line : ftp.log) EXPECT_EQ(line.find("secret"), std::string::npos) << line;
  EXPECT_EQ(ftp.CurrentDir, "/" + folder() + "-cmds");

  ftp.MakeDir("sub");
  EXPECT_TRUE(fs::is_directory(s.root + "/sub"));
  ftp.ChangeDir("sub");
  EXPECT_EQ(ftp.CurrentDir, "/" + folder() + "-cmds/sub");
  ftp.ChangeDir("..");
  ftp.PrintWorkDir();
  EXPECT_EQ(ftp.CurrentDir, "/" + folder() + "-cmds");
  ftp.RemoveDir("sub");
  EXPECT_FALSE(fs::exists(s.root + "/sub"));

  s.put("old.txt", "x");
  ftp.Rename("old.txt", "new.txt");
  EXPECT_TRUE(fs::exists(s.root + "/new.txt"));
  ftp.Delete("new.txt");
  EXPECT_FALSE(fs::exists(s.root + "/new.txt"));
  EXPECT_EQ(ftp.count("nfo>rename終了しました"), 1);
  EXPECT_EQ(std::count(ftp.successes.begin(), ftp.successes.end(), "cmdDelete"), 1);

  // No argument carries a line break onto the control connection; the session stays in step.
  EXPECT_THROW(ftp.Delete("a\r\nDELE new.txt"), net::EProtocolError);
  EXPECT_THROW(ftp.MakeDir(std::string("a\0b", 3)), net::EProtocolError);
  ftp.PrintWorkDir();
  EXPECT_EQ(ftp.ReplyCode, 257);
  ftp.Disconnect();
  EXPECT_EQ(ftp.count("nfo>logoutします"), 1);
}

TEST_P(FtpLive, UploadListDownloadAndResume) {
  Session s(GetParam(), folder() + "-transfer");
  Client& ftp = s.ftp;
  std::string content;
  for (int i = 0; content.size() < 300000; ++i) content += "row " + std::to_string(i) + "\n";
  nettest::WriteFile(s.local + "/up.bin", content);
  ftp.Upload(s.local + "/up.bin", "data.bin");
  EXPECT_EQ(ReadWhole(s.root + "/data.bin"), content);
  EXPECT_EQ(ftp.TransferType, 1);

  ftp.ReadDirectory();
  EXPECT_EQ(ftp.count("cmd>TYPE A"), 1);  // a listing after a binary transfer switches to text
  ASSERT_EQ(ftp.DirectoryList.Count(), 1);
  EXPECT_EQ(ftp.DirectoryList.GetItem(0).Name, "data.bin");
  EXPECT_EQ(ftp.DirectoryList.GetItem(0).Size, static_cast<int64_t>(content.size()));
  EXPECT_EQ(ftp.DirectoryList.GetItem(0).FileType, net::kFtpFile);

  std::string target = s.local + "/down.bin";
  ftp.Download("data.bin", target);
  EXPECT_EQ(ReadWhole(target), content);
  EXPECT_EQ(ftp.count("cmd>REST 0"), 1);

  // A partial copy is completed from where it ends.
  nettest::WriteFile(target, content.substr(0, 1000));
  ftp.DownloadRestore("data.bin", target);
  EXPECT_EQ(ReadWhole(target), content);
  EXPECT_EQ(ftp.count("cmd>REST 1000"), 1);
  EXPECT_TRUE(ftp.RestartAccepted);

  // Appending and resuming uploads.
  nettest::WriteFile(s.local + "/tail.txt", "0123456789");
  ftp.UploadAppend(s.local + "/tail.txt", "data.bin");
  EXPECT_EQ(ReadWhole(s.root + "/data.bin"), content + "0123456789");
  nettest::WriteFile(s.root + "/part.txt", "01234");
  ftp.UploadRestore(s.local + "/tail.txt", "part.txt", 5);
  EXPECT_EQ(ReadWhole(s.root + "/part.txt"), "0123456789");

  ftp.NList();
  std::vector<std::string> names;
  for (int i = 0; i < ftp.DirectoryList.Count(); ++i) names.push_back(ftp.DirectoryList.GetItem(i).Name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"data.bin", "part.txt"}));
}

TEST_P(FtpLive, FailedDownloadKeepsTheLocalFile) {
  Session s(GetParam(), folder() + "-keep");
  std::string target = s.local + "/keep.txt";
  nettest::WriteFile(target, "mine");
  EXPECT_THROW(s.ftp.Download("missing.txt", target), net::EProtocolError);
  EXPECT_EQ(ReadWhole(target), "mine");
  EXPECT_EQ(s.ftp.count("err>download失敗しました"), 1);
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(s.local)) left.push_back(e.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"keep.txt"});
  // The session goes on.
  s.ftp.PrintWorkDir();
  EXPECT_EQ(s.ftp.ReplyCode, 257);
}

// A download killed part way leaves the old file whole and nothing beside it.
TEST_P(FtpLive, KilledDownloadLeavesOnlyTheOldFile) {
  Session s(GetParam(), folder() + "-killed");
  std::string content;
  for (int i = 0; content.size() < 3'000'000; ++i) content += "line " + std::to_string(i) + "\n";
  s.put("big.txt", content);
  std::string target = s.local + "/big.txt";
  nettest::WriteFile(target, "mine");
  bool passive = GetParam();
  std::string remote = "/" + folder() + "-killed/big.txt";
  EXPECT_TRUE(nettest::KilledPartWay(
      [&] {
        Client ftp(FtpServers::Get().unixPort, passive);
        ftp.Connect();
        nettest::DieAfterReading(ftp, static_cast<int64_t>(content.size() / 2));
        ftp.Download(remote, target);
      }));
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(s.local)) left.push_back(e.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"big.txt"});
  EXPECT_EQ(ReadWhole(target), "mine");

  s.ftp.Download(remote, target);
  EXPECT_EQ(ReadWhole(target), content);
}

TEST_P(FtpLive, UploadUniqueTakesTheFirstFreeName) {
  Session s(GetParam(), folder() + "-unique");
  nettest::WriteFile(s.local + "/a.txt", "new");
  s.ftp.UploadUnique(s.local + "/a.txt");  // the server answers 550 for the free name
  EXPECT_EQ(ReadWhole(s.root + "/a.txt"), "new");
  s.put("a_000.txt", "old");
  s.ftp.UploadUnique(s.local + "/a.txt");
  EXPECT_EQ(ReadWhole(s.root + "/a_001.txt"), "new");
  EXPECT_EQ(ReadWhole(s.root + "/a.txt"), "new");
  EXPECT_EQ(ReadWhole(s.root + "/a_000.txt"), "old");
}

TEST_P(FtpLive, FindFilesPropertiesAndIgnoredFailures) {
  Session s(GetParam(), folder() + "-find");
  fs::create_directories(s.root + "/one/two");
  s.put("top.txt", "1");
  s.put("top.dat", "22");
  s.put("one/inner.txt", "333");
  s.put("one/two/deep.TXT", "4444");
  std::string base = "/" + folder() + "-find";
  std::vector<std::string> found;
  s.ftp.FindFiles(base, "*.txt", true, found);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{base + "/one/inner.txt", base + "/one/two/deep.TXT", base + "/top.txt"}));
  EXPECT_EQ(s.ftp.CurrentDir, base);

  found.clear();
  s.ftp.FindFiles("", "", false, found);
  EXPECT_EQ(found.size(), 2u);

  net::TFTPFileProperty p;
  s.ftp.GetFileProperty("top.dat", p);
  EXPECT_EQ(p.Size, 2);
  EXPECT_EQ(p.Name, "top.dat");
  s.ftp.GetFileProperty("nothing.here", p);
  EXPECT_EQ(p.Size, 0);

  // A handler that ignores the failure makes the operation return quietly.
  std::vector<std::string> failures;
  s.ftp.OnFailure = [&](bool& ignore, net::TFTPCmdType cmd) {
    failures.push_back(net::FtpCmdName(cmd));
    ignore = true;
  };
  int protocolErrors = 0;
  s.ftp.OnProtocolError = [&](net::TFTPCmdType) { ++protocolErrors; };
  s.ftp.Delete("nothing.here");
  EXPECT_EQ(failures, std::vector<std::string>{"cmdDelete"});
  EXPECT_EQ(protocolErrors, 1);
  EXPECT_EQ(s.ftp.count("nfo>delete終了しました"), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, FtpLive, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Passive" : "Active"; });

// A server whose every folder holds three more folders: a recursive search stops at its cap on
// folders with an error, instead of listing for ever, and ends where it began.
TEST(FtpEndlessTree, SearchStopsAtTheFolderCap) {
  std::string root = nettest::MakeFolder() + "/tree";
  Client ftp(nettest::StartFtpServer(root, "tree"), true);
  ftp.Connect();
  ftp.MaxFindFolders = 40;
  std::vector<std::string> found;
  try {
    ftp.FindFiles("/", "*.txt", true, found);
    ADD_FAILURE() << "searched " << found.size() << " folders of an endless tree and called it done";
  } catch (const net::EProtocolError& e) {
    EXPECT_EQ(e.message(), "more than 40 folders to search");
  }
  EXPECT_EQ(ftp.count("err>more than 40 folders to search"), 1);
  EXPECT_EQ(ftp.CurrentDir, "/");
  EXPECT_EQ(found.size(), 40u);  // f.txt of each folder listed before the cap
  EXPECT_EQ(found[1], "/a/f.txt");
  // The session goes on.
  found.clear();
  ftp.FindFiles("/a/b", "*.txt", false, found);
  EXPECT_EQ(found, std::vector<std::string>{"/a/b/f.txt"});
}

// A server that names each folder by where it really is: every link leads back to "/", which has
// been searched already, so the search ends after one listing with each file once.
TEST(FtpEndlessTree, FolderSearchedOnceUnderEveryName) {
  std::string root = nettest::MakeFolder() + "/loop";
  Client ftp(nettest::StartFtpServer(root, "loop"), true);
  ftp.Connect();
  std::vector<std::string> found;
  ftp.FindFiles("/", "", true, found);
  EXPECT_EQ(found, std::vector<std::string>{"/f.txt"});
  EXPECT_EQ(ftp.CurrentDir, "/");
  int listings = 0;
  for (const std::string& line : ftp.log) listings += line == "cmd>LIST";
  EXPECT_EQ(listings, 1);
}

TEST(FtpLogin, WrongPasswordFailsAfterTheRetryItAskedFor) {
  Client ftp(FtpServers::Get().unixPort, true);
  ftp.Password = "wrong";
  int failures = 0;
  ftp.OnLoginFailure = [&](bool& retry) {
    ++failures;
    retry = true;
  };
  try {
    ftp.Connect();
    FAIL() << "logged in";
  } catch (const net::EProtocolError& e) {
    EXPECT_EQ(e.Protocol, "ftp login failed");
    EXPECT_EQ(e.Code, 530);
  }
  EXPECT_EQ(failures, 2);
  EXPECT_EQ(ftp.count("err>login失敗しました"), 2);
}

TEST(FtpLogin, NoUserAsksForOne) {
  Client ftp(FtpServers::Get().unixPort, true);
  ftp.User.clear();
  ftp.OnNeedUser = [&](bool& retry) {
    ftp.User = "user";
    retry = true;
  };
  ftp.Connect();
  EXPECT_EQ(ftp.ReplyCode, 230);

  Client none(FtpServers::Get().unixPort, true);
  none.User.clear();
  try {
    none.Connect();
    FAIL() << "logged in without a user";
  } catch (const net::EProtocolError& e) {
    EXPECT_EQ(e.Protocol, "AuthenticationNeeded");
  }
  EXPECT_EQ(none.count("err>useridがありません"), 1);
}

TEST(FtpOddServer, DosListingForeignPasvAddressAndRefusedRestart) {
  FtpServers& servers = FtpServers::Get();
  nettest::WriteFile(servers.oddRoot + "/file.bin", "0123456789abcdef");
  fs::create_directories(servers.oddRoot + "/folder");
  Client ftp(servers.oddPort, true);
  ftp.Connect();
  // The reply names 10.0.0.1; the data come from the server all the same.
  ftp.ReadDirectory();
  ASSERT_EQ(ftp.DirectoryList.Count(), 2);
  std::vector<std::string> seen;
  for (int i = 0; i < 2; ++i) {
    const net::TFTPFileProperty& e = ftp.DirectoryList.GetItem(i);
    seen.push_back(e.Name + ":" + std::to_string(e.FileType) + ":" + std::to_string(e.Size));
  }
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{"file.bin:2:16", "folder:1:0"}));

  std::string local = nettest::MakeFolder() + "/part.bin";
  nettest::WriteFile(local, "0123");
  ftp.DownloadRestore("file.bin", local);
  EXPECT_FALSE(ftp.RestartAccepted);
  EXPECT_EQ(ReadWhole(local), "0123456789abcdef");
}

// --- scripted control connections ---

// Answers each command line with the next canned reply (and records the lines).
struct ScriptedServer {
  ScriptedServer(std::string greeting, std::vector<std::string> replies)
      : peer([this, greeting, replies](int fd) {
          nettest::SendAll(fd, greeting);
          for (const std::string& reply : replies) {
            std::string line = nettest::ReadUntil(fd, "\r\n");
            if (line.empty()) return;
            lines.push_back(line.substr(0, line.size() - 2));
            nettest::SendAll(fd, reply);
          }
          nettest::ReadUntilClose(fd);
        }) {}
  std::vector<std::string> lines;
  nettest::LoopbackPeer peer;
};

TEST(FtpReplies, MultiLineAndDelayedGreetings) {
  ScriptedServer server("120 wait\r\n220-Welcome\r\n220-2xx lines inside\r\n220 Ready\r\n",
                        {"331 Password\r\n", "230-Logged\r\n 230 not the end\r\n230 in\r\n", "221 Bye\r\n"});
  Client ftp(server.peer.port(), true);
  ftp.Connect();
  EXPECT_EQ(ftp.ReplyCode, 230);
  EXPECT_EQ(ftp.ReplyText, "in");
  ftp.Disconnect();
}

TEST(FtpReplies, ActiveModeWaitsABoundedTimeForTheServer) {
  // The server takes PORT and RETR but never connects.
  ScriptedServer server("220 ok\r\n",
                        {"331 p\r\n", "230 in\r\n", "200 type\r\n", "200 port\r\n", "350 rest\r\n", "150 go\r\n",
                         "226 done\r\n", "221 Bye\r\n"});
  Client ftp(server.peer.port(), false);
  ftp.Timeout = 2;
  ftp.SliceMilliseconds = 50;
  ftp.Connect();
  std::string local = nettest::MakeFolder() + "/x";
  EXPECT_THROW(ftp.Download("x", local), net::ESocketError);
  EXPECT_FALSE(ftp.Busy);
  EXPECT_FALSE(fs::exists(local));
}

TEST(FtpReplies, PassiveReplyThatIsNoAddressFails) {
  ScriptedServer server("220 ok\r\n", {"331 p\r\n", "230 in\r\n", "200 type\r\n",
                                       "227 Entering Passive Mode (127,0,0,1,300,1)\r\n", "221 Bye\r\n"});
  Client ftp(server.peer.port(), true);
  ftp.Connect();
  try {
    ftp.ReadDirectory();
    FAIL() << "listed";
  } catch (const net::EProtocolError& e) {
    EXPECT_EQ(e.Protocol, "ftp pasv");
  }
  EXPECT_EQ(ftp.count("err>PASVコマンドを失敗しました"), 1);
}

}  // namespace
