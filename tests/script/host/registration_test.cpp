#include "script/host/registration.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "script/host/cookie_object.h"
#include "script/host/ftp_object.h"
#include "script/host/html_objects.h"
#include "script/host/http_object.h"
#include "script/host/https_object.h"
#include "script/host/mail_objects.h"
#include "script/host/tcp_socket_object.h"
#include "script/host/url_object.h"
#include "tests/script/host/host_fixture.h"

using namespace hosttest;

TEST(HostRegistration, NetworkNamesMakeTheirClasses) {
  HostEngine e;
  struct Case {
    const char* name;
    const rt::ClassInfo& info;
    const char* className;
  } cases[] = {
      {"URL", host::TJURLInfoObject::StaticClassInfo(), "URL"},
      {"Cookie", host::TJCookieObject::StaticClassInfo(), "Cookie"},
      {"HTTP", host::TJHTTPObject::StaticClassInfo(), "HTTP"},
      {"HTTPS", host::TJHTTPSObject::StaticClassInfo(), "HTTPS"},
      {"TCPSocket", host::TJTCPSocketObject::StaticClassInfo(), "TCPSocket"},
      {"Mail", host::TJMailObject::StaticClassInfo(), "Mail"},
      {"POP3", host::TJPOP3Object::StaticClassInfo(), "POP3"},
      {"SMTP", host::TJSMTPObject::StaticClassInfo(), "SMTP"},
      {"HtmlTag", host::TJHtmlTagObject::StaticClassInfo(), "HtmlTag"},
      {"HtmlParser", host::TJHtmlParserObject::StaticClassInfo(), "HtmlParser"},
      {"FTP", host::TJFtpObject::StaticClassInfo(), "FTP"},
  };
  for (const auto& c : cases) {
    const TJClass* cls = e.Factory().GetClass(c.name);
    ASSERT_NE(cls, nullptr) << c.name;
    EXPECT_EQ(cls->info, &c.info) << c.name;
    EXPECT_TRUE(cls->makeGlobalInstance) << c.name;  // a script can use the name as an object
    TJValue made = e.New(c.name);
    EXPECT_EQ(made.vObject()->Name(), c.className);
  }
  // The header objects exist only as an HTTP object's properties.
  for (const char* name : {"Request", "Response", "FileProperty"})
    EXPECT_EQ(ErrorOf([&] { e.New(name); }), std::string("ENameError:create object error ") + name);
}

namespace {
// Records the names in the order they are registered.
struct RecordingEngine : TJBaseEngine {
  void ImportObject(std::string_view name, const TJClass& cls) override {
    names.emplace_back(name);
    TJBaseEngine::ImportObject(name, cls);
  }
  std::vector<std::string> names;
};
}  // namespace

TEST(HostRegistration, FilesAndSystemNamesInTheirOrder) {
  // Every name, once, in this order.
  const std::vector<std::string> order = {"File",  "Directory", "Strings",  "Win32",     "Ini",
                                          "CRC",   "Base64",    "Dialog",   "Mutex",     "Keyboard",
                                          "Mouse", "Clipboard", "RegIni",   "StringBuffer"};
  RecordingEngine e;
  host::RegisterHostObjects(e);
  EXPECT_EQ(e.names, order);
  for (const char* name : {"File", "Strings", "CRC", "Base64", "Mutex", "StringBuffer"}) {
    const TJClass* cls = e.Factory().GetClass(name);
    ASSERT_NE(cls, nullptr) << name;
    EXPECT_TRUE(cls->makeGlobalInstance) << name;
    TJValue made = TJValue::Object(e.MakeObject(name, nullptr));
    EXPECT_EQ(made.vObject()->Name(), std::string(name) == "Strings" ? "StringList" : name);
  }
  EXPECT_TRUE(e.Factory().GetClass("Strings")->indexed);
  EXPECT_TRUE(e.Factory().GetClass("StringBuffer")->indexed);
  // Values handed out by other objects are no constructors.
  for (const char* name : {"Rect", "Point"}) EXPECT_EQ(e.Factory().GetClass(name), nullptr) << name;
}

TEST(HostRegistration, NetworkFamilyRegistersItsNames) {
  TJBaseEngine e;
  host::RegisterNetObjects(e);
  std::vector<std::string> names = e.Factory().GetClassNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Cookie", "FTP", "HTTP", "HTTPS", "HtmlParser", "HtmlTag", "Mail",
                                             "POP3", "SMTP", "TCPSocket", "URL"}));
}

TEST(HostRegistration, AutomationAndForeignCallNamesInTheirOrder) {
  TJBaseEngine e;
  host::RegisterActiveXObjects(e);
  host::RegisterDynaCallObjects(e);
  host::RegisterGUIObjects(e);
  std::vector<std::string> names = e.Factory().GetClassNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"ActiveXObject", "CheckListBox", "DynaCall", "Enumerator", "Struct"}));
  EXPECT_TRUE(e.Factory().GetClass("CheckListBox")->makeGlobalInstance);
  // Instances by name: an Enumerator and a Struct need arguments, so no global instance is made.
  EXPECT_TRUE(e.Factory().GetClass("ActiveXObject")->makeGlobalInstance);
  EXPECT_TRUE(e.Factory().GetClass("DynaCall")->makeGlobalInstance);
  EXPECT_FALSE(e.Factory().GetClass("Enumerator")->makeGlobalInstance);
  EXPECT_FALSE(e.Factory().GetClass("Struct")->makeGlobalInstance);
  EXPECT_TRUE(e.Factory().GetClass("Struct")->indexed);
}
