#include "script/host/registration.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "script/host/cookie_object.h"
#include "script/host/http_object.h"
#include "script/host/https_object.h"
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
  for (const char* name : {"Request", "Response"})
    EXPECT_EQ(ErrorOf([&] { e.New(name); }), std::string("ENameError:create object error ") + name);
}

TEST(HostRegistration, FamiliesNotBuiltRegisterNothing) {
  TJBaseEngine e;
  host::RegisterHostObjects(e);
  host::RegisterActiveXObjects(e);
  host::RegisterDynaCallObjects(e);
  host::RegisterGUIObjects(e);
  EXPECT_TRUE(e.Factory().GetClassNames().empty());
  host::RegisterNetObjects(e);
  std::vector<std::string> names = e.Factory().GetClassNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Cookie", "HTTP", "HTTPS", "URL"}));
}
