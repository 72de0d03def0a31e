// TgHTTP: an HTTP/1.0 client on TgSocket. One request per connection; the answer's body is read
// until the server closes. It carries the request header map, the last response's header map and
// cookies, proxy support (chains included), Basic authorisation from the URL, and redirects followed
// by a switch or by asking an event.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "net/http_header.h"
#include "net/socket.h"
#include "net/url.h"

namespace net {

class TgHTTP;

using THttpRequestEvent =
    std::function<void(TgHTTP& sender, std::string& url, support::TStringHashTable& headers, std::string& proxy)>;
using THttpResponseEvent =
    std::function<void(TgHTTP& sender, const std::string& url, support::TStringHashTable& headers, int& statusCode,
                       std::string& redirectUrl, const std::string& reason, const std::string& proxy)>;
using THttpRedirectEvent = std::function<void(TgHTTP& sender, bool& stop, const std::string& redirectUrl)>;
using THttpKindEvent = std::function<void(uint8_t kind)>;

// The operation kinds OnSuccess and OnFailure report.
constexpr uint8_t kHttpGet = 0;
constexpr uint8_t kHttpHead = 2;
constexpr uint8_t kHttpPost = 5;

// How many redirects one operation follows before it gives up.
constexpr int kMaxRedirects = 10;
// The largest response header read; a longer one fails the request.
constexpr size_t kMaxResponseHeader = 64 * 1024;

class TgHTTP : public TgSocket {
 public:
  explicit TgHTTP(int bufferSize);

  TRequestHeader RequestHeader;
  TResponseHeader ResponseHeader;
  std::string HttpVersion = "1.0";
  std::string RawHeader;
  std::string RedirectURL;
  bool EncodePath = false;
  // The path is sent as UTF-8: our texts already are, so this changes nothing.
  bool UseUtf8Path = false;
  std::string RequestURL;
  int64_t ContentLength = -1;
  std::string ContentFileName;
  bool AutoRedirect = false;
  bool ProxyAuthInUrl = false;

  THttpRequestEvent OnRequest;
  TSocketNotifyEvent OnAuthenticate;
  THttpKindEvent OnFailure;
  THttpRedirectEvent OnRedirect;
  THttpKindEvent OnSuccess;
  THttpResponseEvent OnResponse;

  // The body is appended to `result`.
  void Get(const std::string& url, std::string& result);
  void Get(const std::string& url, TReceiveBuffer& result);
  // The body goes into the file (created, or truncated when it exists).
  void GetFile(const std::string& url, const std::string& fileName);
  void Head(const std::string& url);
  // Sends `body` as a form; the answer is appended to `result`.
  void Post(const std::string& url, const std::string& body, std::string& result);
  void Post(const std::string& url, const std::string& body, TReceiveBuffer& result);

  // Connects and sends one request; the answer is read with ReadResponse and the socket's reads.
  virtual void SendRequest(const std::string& method, const std::string& url, const std::string& body);
  // Reads the status line and the header lines; raises EProtocolError for a status of 400 and above.
  virtual void ReadResponse();

  // After a response: the rest of its body. A body that ends before its Content-Length is an
  // EProtocolError; the file is replaced only when the body is whole.
  void ReceiveToFile(const std::string& fileName) override;
  void ReceiveToBuffer(TReceiveBuffer& buffer, int64_t count) override;

 protected:
  // Where a request for the URL goes: the request target, and the host and port to connect to.
  virtual void Route(const TUrlInfo& info, const std::string& path, std::string& target, std::string& host,
                     std::string& port);
  // Whether a redirect to a URL of this scheme can be followed.
  virtual bool FollowsScheme(const std::string& scheme) const { return scheme == "http"; }

 private:
  enum class BodyTarget { Text, File, None };
  void Run(uint8_t kind, const char* verb, const char* name, std::string url, std::string body, BodyTarget target,
           TReceiveBuffer* text, const std::string* fileName);
  void ForgetCredentialsForOtherOrigin(const std::string& from, const std::string& to);
  void ReadStatusLine(const std::string& line);
  // The bytes of the current response's body still to come; -1 when unknown (read until close).
  int64_t BodyLeft() const;
  // Raises when a body announced with its length came short.
  void CheckBodyComplete(int64_t left);

  bool bodyPending_ = false;   // a response header was read and its body not yet
  int64_t bodyLength_ = -1;    // what that body should hold, -1 when unknown
  int64_t bodyStart_ = 0;      // BytesRead where it began
  std::string method_;         // of the last request
};

}  // namespace net
