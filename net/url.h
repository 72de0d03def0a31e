// The URL record and the routines that take URLs apart, put them together and resolve relative
// references, plus the proxy setting reader.
#pragma once

#include <string>

namespace net {

struct TUrlInfo {
  std::string url;        // the text as given
  std::string protocol;   // scheme, lower-cased; empty without "://"
  std::string username;
  std::string password;
  std::string hostname;   // lower-cased
  std::string port;       // decimal text, empty when absent or not a port number
  std::string path;       // from the first "/" after the host, query included; "/" at least
  std::string directory;  // path through its last "/" (query excluded)
  std::string filename;   // path after its last "/" (query excluded)
  std::string query;      // from the last "?" on; empty for ftp and without "?"
};

TUrlInfo ParseUrl(const std::string& url);
// protocol "://" [username ":" password "@"] hostname [":" port] path; the port is written only for
// http, ftp and https when it is not their default.
std::string BuildUrl(const TUrlInfo& info);
// The absolute URL of `relative` read against `base`.
std::string CombineUrl(const std::string& base, const std::string& relative);
// hostname, or hostname ":" port when the URL names a port: the value of the HTTP Host header.
std::string UrlHostPort(const std::string& url);
// Reads a proxy setting "host[:port]" or a chain "host:port+host2:port2+..."; the hops after the
// first are put in front of `path` in the chained form the proxies understand.
void ParseProxy(const std::string& proxy, std::string& path, std::string& host, std::string& port);

// The text without leading and trailing blanks and control characters.
std::string Trim(const std::string& text);

}  // namespace net
