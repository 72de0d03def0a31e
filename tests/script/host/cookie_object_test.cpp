#include "script/host/cookie_object.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/script/host/host_fixture.h"
#include "tests/script/stdlib/stdlib_fixture.h"

using namespace hosttest;

TEST(CookieObject, BracketAccessReachesTheCookieValues) {
  HostEngine e;
  TJValue c = e.New("Cookie");
  EXPECT_EQ(Get(c, "length").vInteger(), 0);
  EXPECT_EQ(Text(Get(c, "path")), "/");

  IndexPut(c, "sid", S("x"));
  EXPECT_EQ(Get(c, "length").vInteger(), 1);
  EXPECT_EQ(Text(Get(c, "data")), "sid=x;");
  EXPECT_EQ(Text(Index(c, "sid")), "x");
  EXPECT_EQ(Text(Index(c, "absent")), "");  // a missing cookie reads empty, it does not raise
  EXPECT_TRUE(Call(c, "hasKey", {S("sid")}).vBool());
  EXPECT_FALSE(Call(c, "hasKey", {S("domain")}).vBool());  // cookie names only

  // Dotted access is the ordinary one: properties and members, not cookies.
  Put(c, "domain", S("example.com"));
  EXPECT_EQ(Text(Get(c, "domain")), "example.com");
  EXPECT_EQ(Get(c, "length").vInteger(), 1);
  Put(c, "note", S("member"));
  EXPECT_EQ(Text(Get(c, "note")), "member");
  EXPECT_EQ(Text(Index(c, "note")), "");
  EXPECT_EQ(ErrorOf([&] { Get(c, "sid"); }), "ENameError:sid");

  // A non-string value is stored as its text; an empty value is left out of the header text.
  IndexPut(c, "n", I(42));
  IndexPut(c, "empty", S(""));
  EXPECT_EQ(Text(Index(c, "n")), "42");
  EXPECT_EQ(Get(c, "length").vInteger(), 3);
  std::string data = Text(Get(c, "data"));
  EXPECT_NE(data.find("n=42;"), std::string::npos);
  EXPECT_EQ(data.find("empty"), std::string::npos);
}

TEST(CookieObject, KeysAreTheCookieNames) {
  HostEngine e;
  TJValue c = e.New("Cookie");
  Call(c, "parse", {S("a=1; b=2")});
  std::vector<std::string> keys = Names(Call(c, "getKeys"));
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(keys, (std::vector<std::string>{"a", "b"}));
  std::vector<std::string> listed;
  c.vObject()->GetPropertyList(listed);  // for-in
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, keys);
}

TEST(CookieObject, ParseWithAndWithoutURL) {
  stdlibtest::ScopedZone zone("JST-9");  // the expiry is kept in local time
  HostEngine e;
  TJValue c = e.New("Cookie");
  TJValue self = Call(c, "parse", {S("http://h.example/app/x"), S("sid=1; path=/app; expires=Wed, 09-Jun-21 10:18:14 GMT")});
  EXPECT_EQ(self.vObject(), c.vObject());
  EXPECT_EQ(Text(Get(c, "domain")), "h.example");
  EXPECT_EQ(Text(Get(c, "path")), "/app");
  EXPECT_EQ(Text(Index(c, "sid")), "1");
  EXPECT_TRUE(Call(c, "toString").vString().starts_with("expires="));

  // `expires` is one Date object, set to the expiry time at each read.
  TJValue d1 = Get(c, "expires");
  EXPECT_EQ(Call(d1, "getTime").vDouble(), 1623233894000.0);
  Call(c, "parse", {S("http://h.example/"), S("x=2; expires=Thu, 10-Jun-21 10:18:14 GMT")});
  TJValue d2 = Get(c, "expires");
  EXPECT_EQ(d2.vObject(), d1.vObject());
  EXPECT_EQ(Call(d1, "getTime").vDouble(), 1623233894000.0 + 86400000.0);

  TJValue t = e.New("Cookie");
  Call(t, "parse", {S("k=v; other=w")});
  EXPECT_EQ(Text(Index(t, "k")), "v");
  EXPECT_EQ(Text(Index(t, "other")), "w");
  Call(t, "parse");  // no argument: nothing
  EXPECT_EQ(Get(t, "length").vInteger(), 2);
}
