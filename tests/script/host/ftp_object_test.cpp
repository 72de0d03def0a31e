// The FTP script object against the FTP test server: its defaults, the messages of failing
// methods, the ignore switch of onFailure, the TYPE sent for each mode, and FileProperty values.
#include "script/host/ftp_object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "script/stdlib/array_object.h"
#include "tests/net/ftp_servers.h"
#include "tests/net/http_servers.h"
#include "tests/script/host/host_fixture.h"

using namespace hosttest;
using nettest::FtpServers;

namespace {

struct Ftp {
  explicit Ftp(HostEngine& e) : value(e.New("FTP", {S("127.0.0.1"), I(FtpServers::Get().unixPort)})) {
    object = static_cast<host::TJFtpObject*>(value.vObject());
    object->Client().SliceMilliseconds = 100;
    object->Client().Timeout = 20;
    object->Client().OnStatus = [this](net::TgSocket&, const std::string& text) { log.push_back(text); };
  }
  bool sent(const std::string& command) const { return std::count(log.begin(), log.end(), "cmd>" + command) > 0; }
  TJValue value;
  host::TJFtpObject* object;
  std::vector<std::string> log;
};

std::string ErrorOfCall(const TJValue& h, const char* method, std::vector<TJValue> args = {}) {
  return ErrorOf([&] {
    TJValue f, result;
    h.vObject()->GetMember(method, false, nullptr, f);
    TJValueList list;
    for (auto& a : args) list.Add(a);
    CallNative(f.vFunction(), &list, result);
  });
}

}  // namespace

TEST(FTPObject, DefaultsAndConstructorArguments) {
  HostEngine e;
  TJValue bare = e.New("FTP");
  EXPECT_EQ(Get(bare, "port").vInteger(), 21);
  EXPECT_EQ(Get(bare, "userid").vString(), "anonymous");
  EXPECT_FALSE(Get(bare, "passiveMode").vBool());
  EXPECT_EQ(Get(bare, "length").vInteger(), 0);
  Ftp f(e);
  EXPECT_EQ(Get(f.value, "host").vString(), "127.0.0.1");
  EXPECT_EQ(Get(f.value, "port").vInteger(), FtpServers::Get().unixPort);
}

TEST(FTPObject, FailuresCarryTheMethodsMessage) {
  HostEngine e;
  Ftp f(e);
  Put(f.value, "userid", S("user"));
  Put(f.value, "password", S("wrong"));
  EXPECT_EQ(ErrorOfCall(f.value, "connect"), "ESocketError:FTP.connect error");
  EXPECT_EQ(ErrorOfCall(f.value, "login", {S("user"), S("bad")}), "ESocketError:FTP.login error");
  Call(f.value, "login", {S("user"), S("secret")});
  Put(f.value, "passiveMode", B(true));
  struct Case {
    const char* method;
    std::vector<TJValue> args;
    const char* error;
  } cases[] = {
      {"changeDir", {S("no-such-folder")}, "ESocketError:FTP.changeDir error"},
      {"changeDir", {}, "ESocketError:FTP.changeDir error"},
      {"delete", {S("no-such-file")}, "ESocketError:FTP.delete error"},
      {"download", {S("no-such-file")}, "ESocketError:FTP.download error"},
      {"removeDir", {S("no-such-folder")}, "ESocketError:FTP.removeDir error"},
      {"rename", {S("no-such-file"), S("x")}, "ESocketError:FTP.rename error"},
      {"upload", {S("/no/such/local/file"), S("x")}, "ESocketError:FTP.upload error"},
      {"command", {}, "ESocketError:FTP.command error"},
      {"command", {S("NOSUCHCOMMAND")}, "ESocketError:FTP.command error"},
      {"type", {S("b")}, "ESocketError:FTP.type error"},
  };
  for (auto& c : cases) EXPECT_EQ(ErrorOfCall(f.value, c.method, c.args), c.error) << c.method;
  // type "b" did send TYPE B (the server has no such type); other texts send TYPE I.
  EXPECT_TRUE(f.sent("TYPE B"));
  Call(f.value, "type", {S("x")});
  EXPECT_TRUE(f.sent("TYPE I"));
  Call(f.value, "type", {S("a")});
  EXPECT_TRUE(f.sent("TYPE A"));
  EXPECT_EQ(Call(f.value, "command", {S("NOOP")}).vString().substr(0, 4), "200 ");
}

TEST(FTPObject, FailureHandlerMaySwallowTheError) {
  HostEngine e;
  Ftp f(e);
  Put(f.value, "passiveMode", B(true));
  Call(f.value, "login", {S("user"), S("secret")});
  std::vector<std::string> seen;
  e.handlers["fail"] = [&](TJValueList* args, TJValue&) {
    EXPECT_EQ((*args)[0].vObject(), f.object);
    auto* box = static_cast<stdlib::TJBooleanObject*>((*args)[1].vObject());
    seen.push_back(std::string((*args)[2].vString()) + (box->Bool() ? " true" : " false"));
    box->SetBool(true);
  };
  e.handlers["ok"] = [&](TJValueList* args, TJValue&) { seen.push_back("ok " + std::string((*args)[1].vString())); };
  Put(f.value, "onFailure", S("fail"));
  Put(f.value, "onSuccess", S("ok"));
  TJValue r = Call(f.value, "delete", {S("no-such-file")});
  EXPECT_EQ(r.vObject(), f.object);
  Call(f.value, "makeDir", {S("made")});
  Call(f.value, "removeDir", {S("made")});
  EXPECT_EQ(seen, (std::vector<std::string>{"cmdDelete false", "ok cmdMakeDir", "ok cmdRemoveDir"}));
}

TEST(FTPObject, FilePropertiesOfAListing) {
  FtpServers& s = FtpServers::Get();
  nettest::WriteFile(s.unixRoot + "/prop.txt", "12345");
  std::filesystem::permissions(s.unixRoot + "/prop.txt", std::filesystem::perms(0644));
  HostEngine e;
  Ftp f(e);
  Put(f.value, "passiveMode", B(true));
  Call(f.value, "login", {S("user"), S("secret")});
  TJValue list = Call(f.value, "list");
  auto* array = dynamic_cast<stdlib::TJArrayObject*>(list.vObject());
  ASSERT_NE(array, nullptr);
  TJValue entry;
  bool found = false;
  for (int32_t i = 0; i < array->GetCount(); ++i) {
    array->GetItem(i, entry);
    if (Get(entry, "name").vString() == "prop.txt") {
      found = true;
      break;
    }
  }
  ASSERT_TRUE(found);
  EXPECT_EQ(Get(entry, "fileType").vString(), "-");
  EXPECT_EQ(Get(entry, "size").vInteger(), 5);
  EXPECT_EQ(Get(entry, "length").vInteger(), 5);
  EXPECT_EQ(Get(entry, "attribute").vInteger(), 644);
  EXPECT_EQ(entry.vObject()->Name(), "FileProperty");
  TJValue date = Get(entry, "lastModified");
  ASSERT_NE(date.vObject(), nullptr);
  EXPECT_GT(static_cast<stdlib::TJDateObject*>(date.vObject())->Time(), 0);
  EXPECT_NE(entry.vObject()->ToString(nullptr).find("prop.txt"), std::string::npos);
}

// A recursive search of a server whose tree has no end is an error the script sees.
TEST(FTPObject, EndlessSearchFailsWithTheMethodsMessage) {
  HostEngine e;
  uint16_t port = nettest::StartFtpServer(nettest::MakeFolder() + "/tree", "tree");
  TJValue value = e.New("FTP", {S("127.0.0.1"), I(port)});
  auto* ftp = static_cast<host::TJFtpObject*>(value.vObject());
  ftp->Client().MaxFindFolders = 10;
  Put(value, "passiveMode", B(true));
  Call(value, "login", {S("user"), S("secret")});
  EXPECT_EQ(ErrorOf([&] { Call(value, "findFiles", {S("/"), S("*.txt"), B(true)}); }),
            "ESocketError:FTP.findFiles error");
  EXPECT_EQ(Text(Call(value, "printWorkDir")), "/");
  TJValue flat = Call(value, "findFiles", {S("/a")});
  EXPECT_EQ(Get(flat, "length").vInteger(), 1);
}
