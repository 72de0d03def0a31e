#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <filesystem>
#include <string>
#include <vector>

#include "net/host_address.h"
#include "net/http_date.h"
#include "net/text_routines.h"
#include "net/url.h"
#include "net/url_escape.h"
#include "net/wsa_errors.h"

namespace {

struct ParseCase {
  std::string url;
  net::TUrlInfo want;  // url field left empty: it always equals the input
};

TEST(Url, ParseUrl) {
  const std::vector<ParseCase> cases = {
      {" HTTP://User:Pw@HOST:8080/a/b.cgi?x=1 ",
       {"", "http", "User", "Pw", "host", "8080", "/a/b.cgi?x=1", "/a/", "b.cgi", "?x=1"}},
      {"ftp://host/dir/f?x", {"", "ftp", "", "", "host", "", "/dir/f?x", "/dir/", "f?x", ""}},
      {"host", {"", "", "", "", "host", "", "/", "/", "", ""}},
      {"http://host:abc/", {"", "http", "", "", "host", "", "/", "/", "", ""}},
      {"http://me@host/", {"", "http", "me", "", "host", "", "/", "/", "", ""}},
      {"http://h:99999/", {"", "http", "", "", "h", "", "/", "/", "", ""}},
      {"http://h: 81 /x", {"", "http", "", "", "h", "81", "/x", "/", "x", ""}},
      {"http://h/a?b/c?d", {"", "http", "", "", "h", "", "/a?b/c?d", "/a?b/", "c", "?d"}},
      // A "://" inside the query does not make the text before it a scheme.
      {"host/p?u=http://x", {"", "", "", "", "host", "", "/p?u=http://x", "/", "p", "?u=http://x"}},
      {"", {"", "", "", "", "", "", "/", "/", "", ""}},
  };
  for (const ParseCase& c : cases) {
    net::TUrlInfo got = net::ParseUrl(c.url);
    net::TUrlInfo want = c.want;
    want.url = c.url;
    EXPECT_EQ(got.url, want.url);
    EXPECT_EQ(got.protocol, want.protocol) << c.url;
    EXPECT_EQ(got.username, want.username) << c.url;
    EXPECT_EQ(got.password, want.password) << c.url;
    EXPECT_EQ(got.hostname, want.hostname) << c.url;
    EXPECT_EQ(got.port, want.port) << c.url;
    EXPECT_EQ(got.path, want.path) << c.url;
    EXPECT_EQ(got.directory, want.directory) << c.url;
    EXPECT_EQ(got.filename, want.filename) << c.url;
    EXPECT_EQ(got.query, want.query) << c.url;
  }
}

TEST(Url, BuildUrl) {
  struct Case {
    const char* protocol;
    const char* user;
    const char* password;
    const char* port;
    const char* want;
  };
  for (const Case& c : std::vector<Case>{{"http", "", "", "80", "http://h/"},
                                         {"http", "", "", "81", "http://h:81/"},
                                         {"https", "", "", "443", "https://h/"},
                                         {"https", "", "", "80", "https://h:80/"},
                                         {"ftp", "", "", "21", "ftp://h/"},
                                         {"gopher", "", "", "70", "gopher://h/"},
                                         {"http", "u", "", "", "http://u:@h/"},
                                         {"http", "u", "p", "8080", "http://u:p@h:8080/"}}) {
    net::TUrlInfo info;
    info.protocol = c.protocol;
    info.username = c.user;
    info.password = c.password;
    info.hostname = "h";
    info.port = c.port;
    info.path = "/";
    EXPECT_EQ(net::BuildUrl(info), c.want);
  }
}

TEST(Url, CombineUrl) {
  const std::string base = "http://h/a/b/c.html?q=1#top";
  struct Case {
    const char* relative;
    const char* want;
  };
  for (const Case& c : std::vector<Case>{
           {"../../x.html", "http://h/x.html"},
           {"../../../../x.html", "http://h/x.html"},
           {"./y.html", "http://h/a/b/y.html"},
           {"z.html;jsessionid=1", "http://h/a/b/z.html"},
           {"/r", "http://h/r"},
           {"https://o/p", "https://o/p"},
           {"go.cgi?to=http://x", "http://h/a/b/go.cgi?to=http://x"},
           {"//cdn/lib.js", "http://cdn/lib.js"},
           {"?page=2", "http://h/a/b/c.html?page=2"},
           {"#end", "http://h/a/b/c.html?q=1#end"},
       }) {
    EXPECT_EQ(net::CombineUrl(base, c.relative), c.want) << c.relative;
  }
  EXPECT_EQ(net::CombineUrl("http://h:8080/a/", "b"), "http://h:8080/a/b");
}

TEST(Url, HostPortAndProxy) {
  EXPECT_EQ(net::UrlHostPort("http://h:8080/x"), "h:8080");
  EXPECT_EQ(net::UrlHostPort("http://h:80/x"), "h:80");
  EXPECT_EQ(net::UrlHostPort("http://H/x"), "h");

  struct Case {
    const char* proxy;
    const char* path;
    const char* host;
    const char* port;
    const char* wantPath;
  };
  for (const Case& c : std::vector<Case>{
           {"a:8080+b:3128", "", "a", "8080", "http://b:3128/-_-"},
           {"a:1+b:2+c:3", "http://h/x", "a", "1", "http://b:2/-_-http://c:3/-_-http://h/x"},
           {" p:3128 ", "/x", "p", "3128", "/x"},
           {"p", "/x", "p", "", "/x"},
           // Written as a URL, the setting still names the proxy host and port.
           {"http://p:3128/", "/x", "p", "3128", "/x"},
       }) {
    std::string path = c.path, host, port;
    net::ParseProxy(c.proxy, path, host, port);
    EXPECT_EQ(host, c.host) << c.proxy;
    EXPECT_EQ(port, c.port) << c.proxy;
    EXPECT_EQ(path, c.wantPath) << c.proxy;
  }
}

TEST(Url, Escaping) {
  struct Case {
    std::string (*fn)(const std::string&);
    std::string in;
    std::string want;
  };
  for (const Case& c : std::vector<Case>{
           {net::Escape, "a b&c", "a+b%26c"},
           {net::EncodeURIComponent, "a b&c", "a%20b%26c"},
           {net::EncodeURI, "/a b?c=d", "/a%20b?c=d"},
           {net::EncodeURI, "$~", "%24%7e"},
           {net::EncodeURIComponent, "日", "%e6%97%a5"},
           {net::EncodeURIComponent, std::string("ab\0cd", 5), "ab"},
           {net::Unescape, "a+b", "a+b"},
           {net::Unescape, "a+b%20c", "a b c"},
           {net::DecodeURI, "a+b%20c", "a+b c"},
           {net::DecodeURIComponent, "%E6%97%A5", "日"},
           {net::DecodeURI, "%%", "%%"},
           {net::DecodeURI, "%%%41", "%A"},
           {net::DecodeURI, "%41%zz", std::string("A\0", 2)},
           // A "%" too close to the end is kept as it is.
           {net::DecodeURI, "%41%", "A%"},
           {net::DecodeURI, "%41%4", "A%4"},
       }) {
    EXPECT_EQ(c.fn(c.in), c.want) << c.in;
  }
  EXPECT_TRUE(net::IsUrlEncoded("x%2Fy"));
  EXPECT_FALSE(net::IsUrlEncoded("x%2"));
  EXPECT_FALSE(net::IsUrlEncoded("100%"));
  // Every byte survives a round trip.
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(net::DecodeURIComponent(net::EncodeURIComponent(all)), all);
}

class WithTimeZone : public testing::Test {
 protected:
  void use(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  void TearDown() override {
    if (saved_)
      setenv("TZ", saved_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> saved_ = getenv("TZ") ? std::optional<std::string>(getenv("TZ")) : std::nullopt;
};

std::string Show(net::TDateTime t) {
  net::TSystemTime s = net::DecodeDateTime(t);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", s.wYear, s.wMonth, s.wDay, s.wHour, s.wMinute,
                s.wSecond);
  return text;
}

TEST_F(WithTimeZone, ParseHttpDate) {
  use("Asia/Tokyo");
  struct Case {
    const char* text;
    const char* want;  // local (Tokyo) time
  };
  for (const Case& c : std::vector<Case>{
           {"Sun, 06 Nov 1994 08:49:37 GMT", "1994-11-06 17:49:37"},
           {"Sunday, 06-Nov-94 08:49:37 GMT", "1994-11-06 17:49:37"},
           {"Wed, 09-Jun-21 10:18:14 GMT", "2021-06-09 19:18:14"},
           {"  Thu, 01 Jan 1970 00:00:00 GMT  ", "1970-01-01 09:00:00"},
           {"Thu, 31 Dec 2099 23:59:59 GMT", "2100-01-01 08:59:59"},
           {"Mon, 01 FEBRUARY 2021 bad GMT", "2021-02-01 09:00:00"},
       }) {
    EXPECT_EQ(Show(net::ParseHttpDate(c.text)), c.want) << c.text;
  }
  // Texts that cannot be read give the current time.
  for (const char* bad : {"", "Sun, 06 Nov 1994", "Sun, 31 Feb 2021 00:00:00 GMT", "garbage"}) {
    double diff = std::fabs(net::ParseHttpDate(bad) - support::Now());
    EXPECT_LT(diff, 5.0 / 86400) << bad;
  }
}

TEST_F(WithTimeZone, FormatHttpDate) {
  use("Asia/Tokyo");
  net::TDateTime local;
  ASSERT_TRUE(net::TryEncodeDateTime(1994, 11, 6, 17, 49, 37, 0, local));
  EXPECT_EQ(net::FormatHttpDateTime(local), "Sun, 06 Nov 1994 08:49:37 GMT");
  net::TSystemTime gmt = net::DecodeDateTime(local);
  EXPECT_EQ(net::FormatHttpDate(gmt), "Sun, 06 Nov 1994 17:49:37 GMT");
  // Format and parse agree.
  EXPECT_EQ(Show(net::ParseHttpDate(net::FormatHttpDateTime(local))), Show(local));
  use("UTC");
  EXPECT_EQ(Show(net::UtcToLocalTime(local)), "1994-11-06 17:49:37");
}

TEST(DateTime, EncodeDecodeAndMonths) {
  net::TDateTime t;
  ASSERT_TRUE(net::TryEncodeDateTime(1899, 12, 30, 0, 0, 0, 0, t));
  EXPECT_EQ(t, 0.0);
  ASSERT_TRUE(net::TryEncodeDateTime(2000, 2, 29, 12, 0, 0, 0, t));
  EXPECT_DOUBLE_EQ(t, 36585.5);
  EXPECT_EQ(net::DecodeDateTime(t).wDayOfWeek, 2);  // a Tuesday
  EXPECT_FALSE(net::TryEncodeDateTime(1900, 2, 29, 0, 0, 0, 0, t));
  EXPECT_FALSE(net::TryEncodeDateTime(2021, 13, 1, 0, 0, 0, 0, t));
  EXPECT_EQ(net::MonthNameToNumber("SEPTEMBER"), 9);
  EXPECT_EQ(net::MonthNameToNumber("dec"), 12);
  EXPECT_EQ(net::MonthNameToNumber("Sept"), 1);
}

TEST(TextRoutines, MatchMask) {
  struct Case {
    const char* name;
    const char* mask;
    bool ignoreCase;
    bool want;
  };
  for (const Case& c : std::vector<Case>{
           {"readme.txt", "*.TXT", true, true},
           {"readme.txt", "*.TXT", false, false},
           {"readme.txt", "*.txt", false, true},
           {"readme.txt", "read??.txt", false, true},
           {"readme.txt", "read?.txt", false, false},
           {"abc", "a*", false, true},
           {"abc", "*", false, true},
           {"", "*", false, true},
           {"", "", false, true},
           {"", "**", false, false},
           {"abc", "a**", false, true},
           // Once the name is used up, only "" or a single "*" may remain of the mask.
           {"ab", "ab**", false, false},
           {"ab", "ab*", false, true},
           {"abc", "*c*", false, true},
           {"abc", "*b", false, false},
           {"a", "", false, false},
       }) {
    EXPECT_EQ(net::MatchMask(c.name, c.mask, c.ignoreCase), c.want) << c.name << " ~ " << c.mask;
  }
  // A mask made to backtrack stays fast.
  EXPECT_FALSE(net::MatchMask(std::string(3000, 'a'), std::string(60, '*') + "b", false));
}

TEST(TextRoutines, NamesAndTexts) {
  for (auto [in, want] : std::vector<std::pair<const char*, const char*>>{
           {"a.txt", "a_000.txt"},
           {"a_000.txt", "a_001.txt"},
           {"a_999.txt", "a_1000.txt"},
           {"my_file.txt", "my_file_000.txt"},
           {"noext", "noext_000"},
           {"a_-5.txt", "a_-5_000.txt"},
       }) {
    EXPECT_EQ(net::NumberedFileName(in), want);
  }
  EXPECT_EQ(net::DequoteText("\"a b.txt\"", '"'), "a b.txt");
  EXPECT_EQ(net::DequoteText("\"say \"\"hi\"\"\" rest", '"'), "say \"hi\"");
  EXPECT_EQ(net::DequoteText("\"open", '"'), "open");
  EXPECT_EQ(net::DequoteText("plain", '"'), "plain");
  EXPECT_EQ(net::RemoveCommas("1,234,567"), "1234567");
  EXPECT_EQ(net::BlanksForControls("a\tb\r\nc"), "a b  c");
  EXPECT_EQ(net::EnsureTrailingDelimiter("a/b"), "a/b/");
  EXPECT_EQ(net::EnsureTrailingDelimiter("a/"), "a/");
  EXPECT_EQ(net::EnsureTrailingDelimiter("att"), "att/");
  EXPECT_EQ(net::EnsureTrailingDelimiter(""), "/");
  EXPECT_EQ(net::EnsureTrailingDelimiter("", 1), "");

  std::string r = net::RandomString(42);
  EXPECT_EQ(r.size(), 42u);
  for (char c : r) EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
  EXPECT_NE(net::RandomString(42), r);

  std::string temp = net::GetTempFile("gpop3");
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(std::filesystem::path(temp).filename().string().rfind("gpop3", 0), 0u);
  EXPECT_TRUE(std::filesystem::exists(temp));
  EXPECT_EQ(std::filesystem::file_size(temp), 0u);
  std::filesystem::remove(temp);
}

TEST(HostAddress, LookupAndNames) {
  EXPECT_EQ(net::IPToStr(net::ResolveHost("127.0.0.1")), "127.0.0.1");
  EXPECT_EQ(net::IPToStr(net::ResolveHost("localhost")), "127.0.0.1");
  int error = 0;
  EXPECT_EQ(net::ResolveHost("", &error), net::kNoAddress);
  EXPECT_NE(error, 0);
  EXPECT_NE(net::GetLocalIP(), net::kNoAddress);
  EXPECT_EQ(net::WSAErrorName(10061), "WSAECONNREFUSED");
  EXPECT_EQ(net::WSAErrorName(11004), "WSANO_DATA");
  EXPECT_EQ(net::WSAErrorName(12345), "UNKNOWN ERROR");
  EXPECT_EQ(net::WsaErrorFromErrno(ECONNRESET), 10054);
}

}  // namespace
