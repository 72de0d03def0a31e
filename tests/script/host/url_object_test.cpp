#include "script/host/url_object.h"

#include <gtest/gtest.h>

#include "tests/script/host/host_fixture.h"

using namespace hosttest;

TEST(URLObject, NamesThatShareAFieldReadAndWriteIt) {
  HostEngine e;
  TJValue u = e.New("URL", {S("http://me:pw@Example.com:8080/x/y.cgi?q=1")});
  struct Case {
    const char* name;
    const char* value;
  } reads[] = {
      {"protocol", "http"}, {"scheme", "http"},        {"username", "me"},   {"user", "me"},
      {"userid", "me"},     {"password", "pw"},         {"pass", "pw"},       {"hostname", "example.com"},
      {"port", "8080"},     {"host", "example.com:8080"}, {"path", "/x/y.cgi?q=1"}, {"directory", "/x/"},
      {"dir", "/x/"},       {"filename", "y.cgi"},      {"query", "?q=1"},    {"search", "?q=1"},
      {"url", "http://me:pw@example.com:8080/x/y.cgi?q=1"},
      {"uri", "http://me:pw@example.com:8080/x/y.cgi?q=1"},
      {"href", "http://me:pw@example.com:8080/x/y.cgi?q=1"},
  };
  for (const auto& c : reads) EXPECT_EQ(Text(Get(u, c.name)), c.value) << c.name;

  // Each name writes the field it reads.
  struct Write {
    const char* name;
    const char* value;
    const char* alias;
  } writes[] = {{"scheme", "ftp", "protocol"}, {"userid", "you", "username"}, {"pass", "x", "password"},
                {"dir", "/d/", "directory"}, {"search", "?z", "query"},      {"hostname", "h", "hostname"}};
  for (const auto& w : writes) {
    Put(u, w.name, S(w.value));
    EXPECT_EQ(Text(Get(u, w.alias)), w.value) << w.name;
  }
}

TEST(URLObject, TextAsGivenAgainstTextFromTheFields) {
  HostEngine e;
  TJValue u = e.New("URL", {S("http://host/x/y.cgi?q=1")});
  EXPECT_EQ(Text(Get(u, "url")), "http://host/x/y.cgi?q=1");
  EXPECT_EQ(Text(Call(u, "toString")), "http://host/x/y.cgi?q=1");

  // A field change shows in `url`, not in toString.
  Put(u, "port", S("8080"));
  EXPECT_EQ(Text(Get(u, "url")), "http://host:8080/x/y.cgi?q=1");
  EXPECT_EQ(Text(Call(u, "toString")), "http://host/x/y.cgi?q=1");

  // Writing `url` replaces everything, the stored text included.
  Put(u, "href", S("https://other:444/a"));
  EXPECT_EQ(Text(Get(u, "hostname")), "other");
  EXPECT_EQ(Text(Get(u, "port")), "444");
  EXPECT_EQ(Text(Call(u, "toString")), "https://other:444/a");

  TJValue empty = e.New("URL");
  EXPECT_EQ(Text(Call(empty, "toString")), "");
  EXPECT_EQ(Text(Get(empty, "hostname")), "");
}

TEST(URLObject, HostWithAndWithoutPort) {
  HostEngine e;
  TJValue u = e.New("URL", {S("http://a/b")});
  Put(u, "host", S("h:81"));
  EXPECT_EQ(Text(Get(u, "hostname")), "h");
  EXPECT_EQ(Text(Get(u, "port")), "81");
  Put(u, "host", S("g"));
  EXPECT_EQ(Text(Get(u, "hostname")), "g");
  EXPECT_EQ(Text(Get(u, "port")), "81");
  EXPECT_EQ(Text(Get(u, "host")), "g:81");
}

TEST(URLObject, ExpandResolvesAgainstTheStoredText) {
  HostEngine e;
  TJValue u = e.New("URL", {S("http://host/x/y/index.html")});
  EXPECT_EQ(Text(Call(u, "expand", {S("../z.html")})), "http://host/x/z.html");
  EXPECT_EQ(Text(Call(u, "expand", {S("/top")})), "http://host/top");
  EXPECT_EQ(Text(Call(u, "expand")), "http://host/x/y/index.html");
  EXPECT_EQ(Text(Get(u, "path")), "/x/y/index.html");  // unchanged

  // The stored text, not the fields, is the base.
  Put(u, "hostname", S("elsewhere"));
  EXPECT_EQ(Text(Call(u, "expand", {S("z.html")})), "http://host/x/y/z.html");
}
