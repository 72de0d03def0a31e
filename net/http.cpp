#include "net/http.h"

#include <algorithm>
#include <string_view>

#include "net/replacing_file.h"
#include "net/text_routines.h"
#include "net/url.h"
#include "net/url_escape.h"
#include "platform/rt/numtext.h"
#include "platform/rt/utf8.h"
#include "regex/regexpr.h"

namespace net {

namespace {

bool SendsBody(const std::string& method) { return method == "POST" || method == "PUT" || method == "TRACE"; }

bool HasLineBreakOrNul(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos; }

// Blanks and control bytes would end or split the request line: they travel %-escaped.
std::string EscapeRequestTarget(const std::string& target) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : target) {
    auto c = static_cast<unsigned char>(ch);
    if (c <= 0x20 || c == 0x7F) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

// "http", hostname and port with the scheme's default filled in: where a request really goes.
std::string Origin(const std::string& url) {
  TUrlInfo info = ParseUrl(url);
  std::string scheme = info.protocol.empty() ? "http" : info.protocol;
  std::string port = info.port;
  if (port.empty()) port = scheme == "https" ? "443" : scheme == "ftp" ? "21" : "80";
  return scheme + "://" + info.hostname + ":" + port;
}

// The most room an announced Content-Length makes ready in advance.
constexpr int64_t kMaxReserve = int64_t(256) << 20;

int IntegerOr(const std::string& text, int fallback) {
  int32_t value;
  return rt::TryStrToInt(text, value) ? value : fallback;
}

}  // namespace

TgHTTP::TgHTTP(int bufferSize) : TgSocket(bufferSize) { Port = 80; }

void TgHTTP::Get(const std::string& url, std::string& result) {
  TStringReceiveBuffer buffer(result);
  Get(url, buffer);
}

void TgHTTP::Get(const std::string& url, TReceiveBuffer& result) {
  Run(kHttpGet, "GET", "get", url, "", BodyTarget::Text, &result, nullptr);
}

void TgHTTP::GetFile(const std::string& url, const std::string& fileName) {
  Run(kHttpGet, "GET", "get", url, "", BodyTarget::File, nullptr, &fileName);
}

void TgHTTP::Head(const std::string& url) { Run(kHttpHead, "HEAD", "head", url, "", BodyTarget::None, nullptr, nullptr); }

void TgHTTP::Post(const std::string& url, const std::string& body, std::string& result) {
  TStringReceiveBuffer buffer(result);
  Post(url, body, buffer);
}

void TgHTTP::Post(const std::string& url, const std::string& body, TReceiveBuffer& result) {
  Run(kHttpPost, "POST", "post", url, body, BodyTarget::Text, &result, nullptr);
}

void TgHTTP::Run(uint8_t kind, const char* verb, const char* name, std::string url, std::string body,
                 BodyTarget target, TReceiveBuffer* text, const std::string* fileName) {
  Log("nfo>" + url + "を" + name + "します", kLogNotice);
  std::string method = verb;
  int redirects = 0;
  try {
    for (;;) {
      bool stop = true;
      SendRequest(method, url, body);
      ReadResponse();
      // Only a redirect status leads elsewhere: a Location on a 201, or a Content-Location on a
      // 200, describes the answer that came.
      if (!RedirectURL.empty() && ReplyCode >= 300 && ReplyCode <= 399) {
        if (kind != kHttpHead && AutoRedirect)
          stop = false;
        else if (OnRedirect)
          OnRedirect(*this, stop, RedirectURL);
      }
      if (stop) break;
      if (++redirects > kMaxRedirects) throw EProtocolError(ReplyCode, "http", "too many redirects");
      std::string next = RedirectURL;
      // A redirect to another kind of server (ftp:, file:, mailto:...) is not fetched over HTTP.
      std::string scheme = ParseUrl(next).protocol;
      if (!scheme.empty() && !FollowsScheme(scheme)) {
        throw EProtocolError(ReplyCode, "http", "redirect to a " + scheme + " URL refused: " + next);
      }
      ForgetCredentialsForOtherOrigin(url, next);
      // After 303 the target is fetched; after 301 and 302 a form is not posted a second time.
      if ((ReplyCode == 303 && method != "HEAD") || (method == "POST" && (ReplyCode == 301 || ReplyCode == 302))) {
        method = "GET";
        body.clear();
        RequestHeader.Remove("Content-Type");
        RequestHeader.Remove("Content-Length");
      }
      url = next;
      Log("nfo>" + url + "にredirectします", kLogNotice);
      Disconnect();
    }
    if (target == BodyTarget::Text) {
      // An announced length makes the room for the body at once instead of step by step.
      if (int64_t left = BodyLeft(); left > 0) text->Expect(static_cast<size_t>(std::min(left, kMaxReserve)));
      ReceiveToBuffer(*text, -1);
    }
    else if (target == BodyTarget::File)
      ReceiveToFile(*fileName);
    Disconnect();
  } catch (...) {
    try {
      Disconnect();
    } catch (...) {
      // The failure that ended the operation is the one to report.
    }
    Log("nfo>" + url + "の" + name + "異常終了", kLogNotice);
    if (OnFailure) OnFailure(kind);
    throw;
  }
  if (OnSuccess) OnSuccess(kind);
  Log("nfo>" + url + "の" + name + "正常終了", kLogNotice);
}

// Credentials meant for one server are not handed to another one a redirect names.
void TgHTTP::ForgetCredentialsForOtherOrigin(const std::string& from, const std::string& to) {
  if (Origin(from) == Origin(to)) return;
  RequestHeader.Remove("Authorization");
  RequestHeader.Remove("Cookie");
  RequestHeader.User.clear();
  RequestHeader.Password.clear();
}

void TgHTTP::SendRequest(const std::string& methodText, const std::string& urlText, const std::string& body) {
  std::string url = urlText;
  RequestURL = url;
  std::string method = methodText.empty() ? "GET" : methodText;
  Cancelled = false;
  TimedOut = false;

  TUrlInfo info = ParseUrl(url);
  RequestHeader.SetHost(UrlHostPort(url));
  if (!info.username.empty() || !info.password.empty()) RequestHeader.SetBasicAuth(info.username, info.password);
  bool withBody = SendsBody(method) && !body.empty();
  if (withBody) {
    RequestHeader.SetContentType("application/x-www-form-urlencoded");
    RequestHeader.SetContentLength(std::to_string(body.size()));
  }

  if (OnRequest) OnRequest(*this, url, RequestHeader.Headers(), Proxy);
  RequestURL = url;
  info = ParseUrl(url);

  std::string path = info.path;
  if (EncodePath && !IsUrlEncoded(path)) path = EncodeURI(path);

  std::string target, host, port;
  Route(info, path, target, host, port);
  if (target.empty()) target = "/";

  // The request is checked before anything is sent: no text may carry a line break onto the wire.
  std::vector<std::string> lines;
  RequestHeader.GetLines(lines);
  lines.insert(lines.begin(), method + " " + EscapeRequestTarget(target) + " HTTP/" + HttpVersion);
  for (const std::string& line : lines) {
    if (HasLineBreakOrNul(line)) throw EProtocolError(0, "http", "line break in request header");
  }
  if (method.find(' ') != std::string::npos) throw EProtocolError(0, "http", "blank in request method");

  Host = host;
  int portNumber = IntegerOr(port, 80);
  Port = static_cast<uint16_t>(portNumber >= 0 && portNumber <= 0xFFFF ? portNumber : 80);
  method_ = method;
  bodyPending_ = false;
  Connect();

  Log("rtn>サーバへリクエスト送信", kLogNormal);
  std::string request;
  for (const std::string& line : lines) {
    request += line;
    request += "\r\n";
  }
  request += "\r\n";
  SendString(request);
  for (const std::string& line : lines) SendCommand(line, true);
  if (withBody) SendString(body);
}

void TgHTTP::Route(const TUrlInfo& info, const std::string& path, std::string& target, std::string& host,
                   std::string& port) {
  if (!Proxy.empty()) {
    target = (info.protocol.empty() ? std::string("http") : info.protocol) + "://";
    if (ProxyAuthInUrl && (!RequestHeader.User.empty() || !RequestHeader.Password.empty())) {
      target += RequestHeader.User + ":" + RequestHeader.Password + "@";
    }
    target += info.hostname;
    if (!info.port.empty()) target += ":" + info.port;
    target += path;
    ParseProxy(Proxy, target, host, port);
    if (port.empty()) port = "8080";
  } else {
    target = path;
    host = info.hostname;
    port = info.port.empty() ? "80" : info.port;
  }
}

void TgHTTP::ReadStatusLine(const std::string& line) {
  size_t blank = line.find(' ');
  std::string rest = blank == std::string::npos ? line : line.substr(blank + 1);
  size_t next = rest.find(' ');
  if (next == std::string::npos) {
    ReplyCode = IntegerOr(rest, 999);
    ReplyText.clear();
  } else {
    ReplyCode = IntegerOr(rest.substr(0, next), 999);
    ReplyText = rest.substr(next + 1);
  }
  ResponseHeader.Version = line.size() > 5 ? line.substr(5, 3) : std::string();
}

void TgHTTP::ReadResponse() {
  Log("rtn>サーバからのレスポンス", kLogNormal);
  ResponseHeader.Clear();
  RedirectURL.clear();
  RawHeader.clear();
  ContentFileName.clear();
  ReplyCode = 0;
  ContentLength = -1;

  for (bool first = true;; first = false) {
    std::string line;
    ReadReply(line);
    RawHeader += line;
    RawHeader += "\r\n";
    LastReply = RawHeader;
    if (RawHeader.size() > kMaxResponseHeader) throw EProtocolError(0, "http", "response header too long");
    // An answer must begin with its status line: a server that closes without a word, or answers
    // with something else, has not answered, and what it sent is no body.
    if (first && line.compare(0, 4, "HTTP") != 0) {
      Log("err>no status line", kLogNormal);
      throw EProtocolError(0, "http", line.empty() ? "no response" : "no status line: " + line.substr(0, 80));
    }
    if (line.compare(0, 4, "HTTP") == 0) {
      ReadStatusLine(line);
    } else if (size_t colon = line.find(':'); colon != std::string::npos) {
      std::string name = rt::lowerCase(line.substr(0, colon));
      std::string value = Trim(line.substr(colon + 1));
      if (name == "set-cookie")
        ResponseHeader.Cookie.Parse(RequestURL, value);
      else
        ResponseHeader.SetValue(name, value);
    }
    if (line.empty() || IsClosed(Handle)) break;
  }

  if (OnResponse) OnResponse(*this, RequestURL, ResponseHeader.Headers(), ReplyCode, RedirectURL, ReplyText, Proxy);

  const TResponseHeader& h = ResponseHeader;
  if (h.HasValue("content-location")) RedirectURL = CombineUrl(RequestURL, h.GetValue("content-location"));
  if (h.HasValue("location")) RedirectURL = CombineUrl(RequestURL, h.GetValue("location"));
  if (h.HasValue("content-length")) {
    int64_t length;
    ContentLength = rt::TryStrToInt64(h.GetValue("content-length"), length) ? length : 0;
  }
  if (h.HasValue("content-range") && ContentLength == -1) {
    std::string range = h.GetValue("content-range");
    range.erase(0, 6);
    size_t dash = range.find('-');
    size_t slash = range.find('/');
    int64_t first, total;
    if (!rt::TryStrToInt64(range.substr(0, dash), first)) first = 0;
    if (slash == std::string::npos || !rt::TryStrToInt64(range.substr(slash + 1), total)) total = 0;
    if (total != 0) ContentLength = total - first;
  }
  if (h.HasValue("content-disposition")) {
    std::vector<std::string> pieces;
    regex::SplitByPattern("[;]+", h.GetValue("content-disposition"), pieces);
    for (const std::string& piece : pieces) {
      std::string part = Trim(piece);
      size_t equals = part.find('=');
      if (equals != std::string::npos && rt::sameText(part.substr(0, equals), "filename")) {
        ContentFileName = DequoteText(part.substr(equals + 1), '"');
        break;
      }
    }
  }
  // What follows the header is the body: 204, 304, 1xx and the answer to HEAD have none.
  bodyPending_ = true;
  bodyStart_ = BytesRead;
  if (method_ == "HEAD" || ReplyCode == 204 || ReplyCode == 304 || (ReplyCode >= 100 && ReplyCode < 200))
    bodyLength_ = 0;
  else if (int64_t length; h.HasValue("content-length") && rt::TryStrToInt64(h.GetValue("content-length"), length))
    bodyLength_ = length;
  else
    bodyLength_ = -1;  // no length, or one that is not a number: the body ends when the server closes
  if (ReplyCode == 401 && OnAuthenticate) OnAuthenticate(*this);
  if (ReplyCode >= 400) throw EProtocolError(ReplyCode, "http", ReplyText);
}

int64_t TgHTTP::BodyLeft() const {
  if (!bodyPending_ || bodyLength_ < 0) return -1;
  return std::max<int64_t>(0, bodyLength_ - (BytesRead - bodyStart_));
}

void TgHTTP::CheckBodyComplete(int64_t left) {
  if (left < 0) return;
  int64_t got = BytesRead - bodyStart_;
  if (got < bodyLength_) {
    Log("err>body ended after " + std::to_string(got) + " of " + std::to_string(bodyLength_) + " bytes", kLogNormal);
    throw EProtocolError(0, "http", "connection closed before the whole body arrived (" + std::to_string(got) +
                                        " of " + std::to_string(bodyLength_) + " bytes)");
  }
}

// Reading the rest of the body stops at its announced length: what a server sends after it is not
// part of this answer, and a server that keeps the connection open is not waited for.
void TgHTTP::ReceiveToBuffer(TReceiveBuffer& buffer, int64_t count) {
  int64_t left = count < 0 ? BodyLeft() : -1;
  TgSocket::ReceiveToBuffer(buffer, left >= 0 ? left : count);
  CheckBodyComplete(left);
}

void TgHTTP::ReceiveToFile(const std::string& fileName) {
  CheckReadable();
  int64_t left = BodyLeft();
  TReplacingFile file(fileName);
  ReceiveToStream(file.Stream(), left);
  CheckBodyComplete(left);
  file.Commit();
}

}  // namespace net
