#include "script/host/http_object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/net/http_servers.h"
#include "tests/net/loopback_peer.h"
#include "tests/script/host/host_fixture.h"

using namespace hosttest;
using nettest::HttpServers;

namespace {

// An HTTP object whose waits are short, so a failing test ends quickly.
TJValue NewHttp(HostEngine& e) {
  TJValue h = e.New("HTTP");
  static_cast<host::TJHTTPObject*>(h.vObject())->Client().SliceMilliseconds = 100;
  return h;
}

TJValue RequestHeader(const TJValue& h) { return Get(h, "requestHeader"); }
TJValue ResponseHeader(const TJValue& h) { return Get(h, "responseHeader"); }

// Runs a handler under the name and records the event names in the order they came, a run of the
// same name counting once.
void RecordEvents(HostEngine& e, const TJValue& h, std::vector<std::string>& seen) {
  for (const char* name : {"onStatus", "onRequest", "onConnect", "onDisconnect", "onError", "onFailure", "onRead",
                           "onWrite", "onResponse", "onSuccess"}) {
    if (std::string(name) == "onStatus") continue;
    e.handlers[name] = [&seen, name, h](TJValueList* args, TJValue&) {
      EXPECT_EQ((*args)[0].vObject(), h.vObject()) << name;  // the object itself comes first
      if (seen.empty() || seen.back() != name) seen.push_back(name);
    };
    Put(h, name, S(name));
  }
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(HTTPObject, StartsWithTheClientDefaults) {
  HostEngine e;
  TJValue h = e.New("HTTP");
  EXPECT_EQ(Text(Get(h, "version")), "1.0");
  EXPECT_EQ(Get(h, "length").vInteger(), -1);
  EXPECT_EQ(Get(h, "timeout").vInteger(), 30);
  EXPECT_FALSE(Get(h, "autoRedirect").vBool());
  EXPECT_FALSE(Get(h, "debug").vBool());
  EXPECT_EQ(Text(Get(h, "proxy")), "");
  EXPECT_EQ(Get(h, "bytesRead").vInteger(), 0);
  EXPECT_EQ(Text(Call(h, "toString")), "[object HTTP]");
  EXPECT_EQ(Names(Call(h, "getEvents")),
            (std::vector<std::string>{"onConnect", "onDisconnect", "onError", "onFailure", "onRead", "onRequest",
                                      "onResponse", "onStatus", "onSuccess", "onWrite"}));
  EXPECT_EQ(Text(Call(RequestHeader(h), "toString")), "");
  EXPECT_EQ(Get(h, "requestHeader").vObject(), Get(h, "requestHeader").vObject());

  Put(h, "timeout", I(5));
  Put(h, "autoRedirect", B(true));
  Put(h, "version", S("1.1"));
  EXPECT_EQ(Get(h, "timeout").vInteger(), 5);
  EXPECT_TRUE(Get(h, "autoRedirect").vBool());
  EXPECT_EQ(Text(Get(h, "version")), "1.1");

  // Missing arguments do nothing and answer the default result.
  EXPECT_EQ(Call(h, "get").ValueType(), vtUndefined);
  EXPECT_EQ(Call(h, "post", {S("http://127.0.0.1:9/")}).ValueType(), vtUndefined);
  EXPECT_EQ(Call(h, "head").vObject(), h.vObject());
  EXPECT_EQ(Call(h, "request", {S("GET")}).vObject(), h.vObject());
  EXPECT_EQ(Call(h, "getFile", {S("http://127.0.0.1:9/")}).vObject(), h.vObject());
  EXPECT_EQ(Get(h, "bytesWrote").vInteger(), 0);
}

TEST(HTTPObject, RequestHeaderMembersGoOutWithEveryRequest) {
  HttpServers& s = HttpServers::Get();
  HostEngine e;
  TJValue h = NewHttp(e);
  TJValue req = RequestHeader(h);
  IndexPut(req, "X-Test", S("one"));
  IndexPut(req, "X-Other", S("two"));
  std::string first = Text(Call(h, "get", {S(s.echoUrl("/headers"))}));
  EXPECT_TRUE(Contains(first, "GET /headers HTTP/1.0\n")) << first;
  EXPECT_TRUE(Contains(first, "X-Test: one\n")) << first;
  EXPECT_TRUE(Contains(first, "X-Other: two\n")) << first;
  EXPECT_TRUE(Contains(first, "Accept: */*\n")) << first;

  // The members stay; one that stops holding a string is withdrawn.
  IndexPut(req, "X-Test", I(5));
  std::string second = Text(Call(h, "get", {S(s.echoUrl("/again"))}));
  EXPECT_FALSE(Contains(second, "X-Test")) << second;
  EXPECT_TRUE(Contains(second, "X-Other: two\n")) << second;
  EXPECT_EQ(Text(Call(req, "toString")), "X-Other: two");
  std::vector<std::string> listed;
  req.vObject()->GetPropertyList(listed);  // for-in: the string members only
  EXPECT_EQ(listed, (std::vector<std::string>{"X-Other"}));

  // A header the script gives cannot carry a line break onto the wire.
  IndexPut(req, "X-Bad", S("a\r\nInjected: yes"));
  EXPECT_EQ(ErrorOf([&] { Call(h, "get", {S(s.echoUrl("/bad"))}); }), "ESocketError:HTTP.get error");
}

TEST(HTTPObject, ResponseIsCopiedAfterEachSuccess) {
  HttpServers& s = HttpServers::Get();
  HostEngine e;
  TJValue h = NewHttp(e);
  std::string body = Text(Call(h, "post", {S(s.echoUrl("/rank")), S("name=a&score=1")}));
  EXPECT_EQ(body, "POST /rank\napplication/x-www-form-urlencoded|14\nname=a&score=1");
  TJValue res = ResponseHeader(h);
  EXPECT_EQ(Get(res, "code").vInteger(), 200);
  EXPECT_EQ(Text(Get(res, "text")), "OK");
  EXPECT_EQ(Text(Get(res, "version")), "1.0");
  EXPECT_EQ(Text(Index(res, "content-type")), "text/plain");
  EXPECT_EQ(Text(Index(res, "content-length")), std::to_string(body.size()));
  EXPECT_EQ(Get(h, "length").vInteger(), int32_t(body.size()));
  std::string text = Text(Call(res, "toString"));
  EXPECT_TRUE(text.starts_with("HTTP/1.0 200 OK\r\n")) << text;
  EXPECT_TRUE(Contains(text, "\r\ncontent-type: text/plain")) << text;
  EXPECT_NE(text.back(), '\n');
  std::vector<std::string> listed;
  res.vObject()->GetPropertyList(listed);
  EXPECT_NE(std::find(listed.begin(), listed.end(), "content-type"), listed.end());
  EXPECT_EQ(std::find(listed.begin(), listed.end(), "code"), listed.end());
  EXPECT_GT(Get(h, "bytesRead").vInteger(), int32_t(body.size()));
  EXPECT_GT(Get(h, "bytesWrote").vInteger(), 14);

  // A response without a field drops the field the previous one had.
  Call(h, "head", {S(s.nginxUrl("/index.html"))});
  EXPECT_EQ(Get(res, "code").vInteger(), 200);
  EXPECT_EQ(Text(Index(res, "content-type")), "text/html");
  EXPECT_EQ(Text(Index(res, "content-length")), "19");
}

TEST(HTTPObject, FailuresBecomeOneScriptError) {
  HttpServers& s = HttpServers::Get();
  HostEngine e;
  TJValue h = NewHttp(e);
  TJValue res = ResponseHeader(h);

  // After a failing get, getFile, post or head the response tells what came back: an error status
  // with its fields, or, when nothing came, code 999 and nothing of the response before. request,
  // write and writeln leave it as it was.
  constexpr int kAsBefore = -1;
  std::string unused = "http://127.0.0.1:" + std::to_string(nettest::UnusedPort()) + "/";
  struct Case {
    const char* method;
    std::vector<TJValue> args;
    const char* error;
    int code;
  } cases[] = {
      {"get", {S(s.nginxUrl("/teapot"))}, "ESocketError:HTTP.get error", 418},
      {"get", {S(unused)}, "ESocketError:HTTP.get error", 999},
      {"getFile", {S(s.nginxUrl("/teapot")), S(s.folder + "/teapot.txt")}, "ESocketError:HTTP.get error", 418},
      {"post", {S(s.nginxUrl("/teapot")), S("a=1")}, "ESocketError:HTTP.post error", 418},
      {"head", {S(unused)}, "ESocketError:HTTP.head error", 999},
      {"request", {S("GET"), S(unused)}, "ESocketError:HTTP.request error", kAsBefore},
      {"write", {S("x")}, "ESocketError:HTTP.write error", kAsBefore},
      {"writeln", {}, "ESocketError:HTTP.writeln error", kAsBefore},
  };
  for (auto& c : cases) {
    Call(h, "get", {S(s.nginxUrl("/cookie"))});
    ASSERT_EQ(Get(res, "code").vInteger(), 200);
    EXPECT_EQ(ErrorOf([&] {
                TJValue f, result;
                h.vObject()->GetMember(c.method, false, nullptr, f);
                TJValueList list;
                for (auto& a : c.args) list.Add(a);
                CallNative(f.vFunction(), &list, result);
              }),
              c.error)
        << c.method;
    std::vector<std::string> fields;
    res.vObject()->GetPropertyList(fields);
    TJValue cookie = Get(res, "cookie");
    switch (c.code) {
      case kAsBefore:
        EXPECT_EQ(Get(res, "code").vInteger(), 200) << c.method;
        EXPECT_EQ(Get(cookie, "length").vInteger(), 2) << c.method;
        break;
      case 999:
        EXPECT_EQ(Get(res, "code").vInteger(), 999) << c.method;
        EXPECT_EQ(Text(Get(res, "text")), "") << c.method;
        EXPECT_EQ(Text(Get(res, "version")), "") << c.method;
        EXPECT_TRUE(fields.empty()) << c.method;
        EXPECT_EQ(Get(cookie, "length").vInteger(), 0) << c.method;
        break;
      default:
        EXPECT_EQ(Get(res, "code").vInteger(), c.code) << c.method;
        EXPECT_EQ(Text(Get(res, "version")), "1.1") << c.method;
        EXPECT_EQ(Text(Index(res, "content-length")), "3") << c.method;
        EXPECT_EQ(Get(cookie, "length").vInteger(), 0) << c.method;
    }
  }

  // Read through request and response, a 418 raises and is there to see.
  Call(h, "request", {S("GET"), S(s.nginxUrl("/teapot"))});
  EXPECT_EQ(ErrorOf([&] { Call(h, "response"); }), "ESocketError:HTTP.response error");
  EXPECT_EQ(Get(res, "code").vInteger(), 418);
  EXPECT_EQ(Text(Call(h, "read")), "no\n");
  Call(h, "close");
}

TEST(HTTPObject, RequestResponseAndRawReads) {
  HttpServers& s = HttpServers::Get();
  HostEngine e;
  TJValue h = NewHttp(e);
  IndexPut(RequestHeader(h), "X-Raw", S("1"));
  Call(h, "request", {S("PUT"), S(s.echoUrl("/put")), S("abc")});
  Call(h, "response");
  TJValue res = ResponseHeader(h);
  EXPECT_EQ(Get(res, "code").vInteger(), 200);
  EXPECT_EQ(Text(Call(h, "readln")), "PUT /put");
  EXPECT_EQ(Text(Call(h, "read", {I(4)})), "appl");
  EXPECT_EQ(Text(Call(h, "read")), "ication/x-www-form-urlencoded|3\nabc");
  Call(h, "disconnect");

  // capture: everything until the server closes, into a file.
  std::string file = s.folder + "/captured.txt";
  Call(h, "request", {S("GET"), S(s.nginxUrl("/index.html"))});
  Call(h, "capture", {S(file)});
  std::ifstream in(file, std::ios::binary);
  std::string captured((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(captured.starts_with("HTTP/1.1 200 OK\r\n")) << captured;
  EXPECT_TRUE(captured.ends_with("\r\n\r\n<html>hello</html>\n")) << captured;
}

TEST(HTTPObject, RedirectsAndCookies) {
  HttpServers& s = HttpServers::Get();
  HostEngine e;
  TJValue h = NewHttp(e);
  TJValue res = ResponseHeader(h);
  Call(h, "get", {S(s.nginxUrl("/redir"))});
  EXPECT_EQ(Get(res, "code").vInteger(), 302);
  EXPECT_TRUE(Text(Index(res, "location")).ends_with("/index.html"));

  Put(h, "autoRedirect", B(true));
  EXPECT_EQ(Text(Call(h, "get", {S(s.nginxUrl("/redir"))})), "<html>hello</html>\n");
  EXPECT_EQ(Get(res, "code").vInteger(), 200);
  EXPECT_EQ(ErrorOf([&] { Call(h, "get", {S(s.nginxUrl("/loop"))}); }), "ESocketError:HTTP.get error");

  Call(h, "get", {S(s.nginxUrl("/cookie"))});
  TJValue cookie = Get(res, "cookie");
  EXPECT_EQ(Text(Index(cookie, "id")), "42");
  EXPECT_EQ(Text(Index(cookie, "b")), "2");
  EXPECT_EQ(Text(Get(cookie, "path")), "/cookie");  // the attributes of the last Set-Cookie line
  EXPECT_EQ(Get(cookie, "length").vInteger(), 2);
  // The response's cookie object stays the same object; its values follow the last response.
  Call(h, "get", {S(s.nginxUrl("/index.html"))});
  EXPECT_EQ(Get(res, "cookie").vObject(), cookie.vObject());
  EXPECT_EQ(Get(cookie, "length").vInteger(), 0);

  // A cookie the script sends goes out as a request header.
  IndexPut(RequestHeader(h), "Cookie", S("sid=7"));
  EXPECT_TRUE(Contains(Text(Call(h, "get", {S(s.echoUrl("/c"))})), "Cookie: sid=7\n"));
}

TEST(HTTPObject, EventsReachTheHandlersInOrder) {
  HttpServers& s = HttpServers::Get();
  HostEngine e;
  TJValue h = NewHttp(e);
  std::vector<std::string> seen;
  RecordEvents(e, h, seen);
  Call(h, "get", {S(s.nginxUrl("/index.html"))});
  EXPECT_EQ(seen, (std::vector<std::string>{"onRequest", "onConnect", "onWrite", "onRead", "onResponse", "onRead",
                                            "onDisconnect", "onSuccess"}));

  seen.clear();
  std::string unused = "http://127.0.0.1:" + std::to_string(nettest::UnusedPort()) + "/";
  std::vector<std::string> errors;
  e.handlers["onError"] = [&](TJValueList* args, TJValue&) {
    errors.push_back(Text((*args)[1]) + " " + Text((*args)[2]));
  };
  EXPECT_EQ(ErrorOf([&] { Call(h, "get", {S(unused)}); }), "ESocketError:HTTP.get error");
  EXPECT_EQ(errors, (std::vector<std::string>{"10061 WSAECONNREFUSED"}));
  EXPECT_EQ(seen.front(), "onRequest");
  EXPECT_EQ(seen.back(), "onFailure");

  // No events outside a run that allows them.
  seen.clear();
  e.EventLoopAllowed = false;
  Call(h, "get", {S(s.nginxUrl("/index.html"))});
  EXPECT_TRUE(seen.empty());
}

TEST(HTTPObject, StatusLinesGoToTheHandlerAndTheDebugSink) {
  HttpServers& s = HttpServers::Get();
  HostEngine e;
  TJValue h = NewHttp(e);
  auto* http = static_cast<host::TJHTTPObject*>(h.vObject());
  std::vector<std::string> printed, status;
  http->PrintHook = [&](const std::string& text) { printed.push_back(text); };
  e.handlers["status"] = [&](TJValueList* args, TJValue&) { status.push_back(Text((*args)[1])); };
  Put(h, "onStatus", S("status"));

  std::string url = s.nginxUrl("/index.html");
  Call(h, "get", {S(url)});
  ASSERT_GE(status.size(), 6u);
  EXPECT_EQ(status.front(), "nfo>" + url + "をgetします");
  EXPECT_EQ(status.back(), "nfo>" + url + "のget正常終了");
  for (const char* line : {"rtn>サーバへリクエスト送信", "cmd>GET /index.html HTTP/1.0", "rtn>サーバからのレスポンス",
                           "res>HTTP/1.1 200 OK"})
    EXPECT_NE(std::find(status.begin(), status.end(), line), status.end()) << line;
  EXPECT_TRUE(printed.empty());  // debug is off

  status.clear();
  Put(h, "debug", B(true));
  Call(h, "get", {S(url)});
  EXPECT_EQ(printed, status);
  EXPECT_FALSE(printed.empty());
}

TEST(HTTPObject, CancelFromReadAbandonsTheTransfer) {
  HttpServers& s = HttpServers::Get();
  HostEngine e;
  TJValue h = NewHttp(e);
  int reads = 0;
  bool failed = false;
  e.handlers["read"] = [&](TJValueList* args, TJValue&) {
    ++reads;
    EXPECT_GT(AsInteger(&(*args)[1]), 0);
    auto* box = static_cast<stdlib::TJBooleanObject*>((*args)[2].vObject());
    EXPECT_FALSE(box->Bool());
    box->SetBool(true);
  };
  e.handlers["failure"] = [&](TJValueList*, TJValue&) { failed = true; };
  Put(h, "onRead", S("read"));
  Put(h, "onFailure", S("failure"));
  EXPECT_EQ(ErrorOf([&] { Call(h, "get", {S(s.nginxUrl("/large.bin"))}); }), "ESocketError:HTTP.get error");
  EXPECT_EQ(reads, 1);
  EXPECT_TRUE(failed);

  // A handler that raises a script error fails the method the same way.
  e.handlers["read"] = [&](TJValueList*, TJValue&) { ThrowError("EUser", "from the handler"); };
  EXPECT_EQ(ErrorOf([&] { Call(h, "get", {S(s.nginxUrl("/index.html"))}); }), "ESocketError:HTTP.get error");
}

TEST(HTTPObject, AbortAndExitFromHandlersPassThrough) {
  HttpServers& s = HttpServers::Get();
  std::string url = s.nginxUrl("/index.html");
  for (const char* event : {"onRead", "onConnect", "onStatus"}) {
    HostEngine e;
    TJValue h = NewHttp(e);
    e.handlers["abort"] = [](TJValueList*, TJValue&) { throw EJAbort(); };
    Put(h, event, S("abort"));
    EXPECT_THROW(Call(h, "get", {S(url)}), EJAbort) << event;

    e.handlers["exit"] = [](TJValueList*, TJValue&) { throw EJExit(3); };
    Put(h, event, S("exit"));
    try {
      Call(h, "get", {S(url)});
      ADD_FAILURE() << event << ": no exit";
    } catch (const EJExit& x) {
      EXPECT_EQ(x.ExitCode, 3) << event;
    }
    // The object is usable again afterwards.
    Put(h, event, TJValue());
    EXPECT_EQ(Text(Call(h, "get", {S(url)})), "<html>hello</html>\n") << event;
  }
}

TEST(HTTPObject, HandlersCannotReenterOrPullTheObjectAway) {
  HttpServers& s = HttpServers::Get();
  std::string url = s.nginxUrl("/index.html");
  HostEngine e;
  TJValue h = NewHttp(e);
  std::string inner;
  e.handlers["connect"] = [&](TJValueList*, TJValue&) { inner = ErrorOf([&] { Call(h, "get", {S(url)}); }); };
  Put(h, "onConnect", S("connect"));
  EXPECT_EQ(Text(Call(h, "get", {S(url)})), "<html>hello</html>\n");
  EXPECT_EQ(inner, "ESocketError:HTTP.get error");

  // The script's last reference goes while the object is inside a call.
  TJValue other = NewHttp(e);
  TJValue f;
  other.vObject()->GetMember("get", false, nullptr, f);
  e.handlers["drop"] = [&](TJValueList*, TJValue&) { other.Clear(); };
  Put(other, "onRequest", S("drop"));
  size_t before = e.Factory().Objects().Count();
  TJValueList args{S(url)};
  TJValue result;
  CallNative(f.vFunction(), &args, result);
  EXPECT_EQ(Text(result), "<html>hello</html>\n");
  EXPECT_LT(e.Factory().Objects().Count(), before);  // freed once the call was over
}

TEST(HTTPObject, EngineClearReleasesTheClientQuietly) {
  HttpServers& s = HttpServers::Get();
  HostEngine e;
  TJValue h = NewHttp(e);
  int disconnects = 0;
  e.handlers["gone"] = [&](TJValueList*, TJValue&) { ++disconnects; };
  Put(h, "onDisconnect", S("gone"));
  Call(h, "request", {S("GET"), S(s.nginxUrl("/index.html"))});  // the connection stays open
  e.Factory().ClearObjects();
  EXPECT_EQ(h.ValueType(), vtUndefined);
  EXPECT_EQ(disconnects, 0);
}

// A server that reads the request and closes without a word has not answered: "get" raises and
// "onFailure" runs, never "onSuccess".
TEST(HTTPObject, ServerClosingWithoutAnAnswerIsAFailure) {
  HostEngine e;
  for (const std::string answer : {"", "garbage\r\n\r\nnot a body"}) {
    nettest::LoopbackPeer silent([answer](int fd) {
      nettest::ReadUntil(fd, "\r\n\r\n");
      nettest::SendAll(fd, answer);
    });
    TJValue h = NewHttp(e);
    std::vector<std::string> seen;
    RecordEvents(e, h, seen);
    std::string url = "http://127.0.0.1:" + std::to_string(silent.port()) + "/";
    EXPECT_EQ(ErrorOf([&] { Call(h, "get", {S(url)}); }), "ESocketError:HTTP.get error") << answer;
    EXPECT_NE(std::find(seen.begin(), seen.end(), "onFailure"), seen.end()) << answer;
    EXPECT_EQ(std::find(seen.begin(), seen.end(), "onSuccess"), seen.end()) << answer;
  }
}

// A body read into the script's text arrives whole, with its length announced (sized at once) and
// without (grown as it comes), and read in parts.
TEST(HTTPObject, LargeBodiesArriveWholeIntoTheText) {
  HostEngine e;
  HttpServers& s = HttpServers::Get();
  TJValue h = NewHttp(e);
  EXPECT_EQ(Text(Call(h, "get", {S(s.nginxUrl("/large.bin"))})), s.largeContent);
  EXPECT_EQ(Get(h, "length").vInteger(), static_cast<int32_t>(s.largeContent.size()));

  std::string body;
  for (int i = 0; body.size() < (5u << 20); ++i) body += "chunk " + std::to_string(i) + "\n";
  for (int round = 0; round < 2; ++round) {
    nettest::LoopbackPeer unannounced([&body](int fd) {
      nettest::ReadUntil(fd, "\r\n\r\n");
      nettest::SendAll(fd, "HTTP/1.0 200 OK\r\n\r\n" + body);
    });
    std::string url = "http://127.0.0.1:" + std::to_string(unannounced.port()) + "/";
    if (round == 0) {
      EXPECT_EQ(Text(Call(h, "get", {S(url)})), body);
      EXPECT_EQ(Get(h, "length").vInteger(), -1);
    } else {
      Call(h, "request", {S("GET"), S(url)});
      Call(h, "response");
      std::string parts = Text(Call(h, "read", {I(10)}));
      EXPECT_EQ(parts, body.substr(0, 10));
      parts += Text(Call(h, "read"));
      EXPECT_EQ(parts, body);
    }
  }
}

// The response and `length` describe the answer to the request sent last: a redirect followed to a
// server that does not answer, or a server that closes without a status line, leaves no answer to see.
TEST(HTTPObject, ResponseAfterAFailureIsTheLastAnswer) {
  HttpServers& s = HttpServers::Get();
  HostEngine e;
  std::string refused = "http://127.0.0.1:" + std::to_string(nettest::UnusedPort()) + "/";
  nettest::LoopbackPeer redirecting([refused](int fd) {
    nettest::ReadUntil(fd, "\r\n\r\n");
    nettest::SendAll(fd, "HTTP/1.0 302 Found\r\nLocation: " + refused + "\r\nSet-Cookie: a=1\r\n\r\n");
  });
  nettest::LoopbackPeer silent([](int fd) { nettest::ReadUntil(fd, "\r\n\r\n"); });
  nettest::LoopbackPeer missing([](int fd) {
    nettest::ReadUntil(fd, "\r\n\r\n");
    nettest::SendAll(fd, "HTTP/1.0 404 Not Found\r\nX-Why: gone\r\nContent-Length: 9\r\n\r\nnot here\n");
  });
  auto local = [](const nettest::LoopbackPeer& peer) { return "http://127.0.0.1:" + std::to_string(peer.port()) + "/"; };

  TJValue h = NewHttp(e);
  TJValue res = ResponseHeader(h);
  Put(h, "autoRedirect", B(true));
  Call(h, "get", {S(s.nginxUrl("/index.html"))});
  EXPECT_EQ(ErrorOf([&] { Call(h, "get", {S(local(redirecting))}); }), "ESocketError:HTTP.get error");
  EXPECT_EQ(Get(res, "code").vInteger(), 999);
  EXPECT_EQ(Get(Get(res, "cookie"), "length").vInteger(), 0);
  EXPECT_EQ(Get(h, "length").vInteger(), -1);

  Call(h, "get", {S(s.nginxUrl("/index.html"))});
  EXPECT_EQ(ErrorOf([&] { Call(h, "post", {S(local(silent)), S("a=1")}); }), "ESocketError:HTTP.post error");
  EXPECT_EQ(Get(res, "code").vInteger(), 999);
  EXPECT_EQ(Text(Call(res, "toString")), "HTTP/ 999");
  EXPECT_EQ(Get(h, "length").vInteger(), -1);

  EXPECT_EQ(ErrorOf([&] { Call(h, "get", {S(local(missing))}); }), "ESocketError:HTTP.get error");
  EXPECT_EQ(Text(Index(res, "x-why")), "gone");
  EXPECT_EQ(Text(Get(res, "text")), "Not Found");
  EXPECT_EQ(Get(h, "length").vInteger(), 9);

  Call(h, "head", {S(s.nginxUrl("/index.html"))});
  EXPECT_EQ(Get(h, "length").vInteger(), 19);
  EXPECT_EQ(ErrorOf([&] { Call(h, "head", {S(refused)}); }), "ESocketError:HTTP.head error");
  EXPECT_EQ(Get(h, "length").vInteger(), -1);
}
