#include "net/url.h"

#include <string_view>

#include "platform/rt/utf8.h"

namespace net {

namespace {

bool IsSchemeChar(char c, bool first) {
  bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  if (first) return letter;
  return letter || (c >= '0' && c <= '9') || c == '+' || c == '.' || c == '-';
}

// Length of a scheme that starts the text and is followed by "://", else 0. A "://" further on (in
// a query, say) does not make a scheme.
size_t SchemeLength(std::string_view text) {
  size_t n = 0;
  while (n < text.size() && IsSchemeChar(text[n], n == 0)) ++n;
  if (n == 0 || text.substr(n, 3) != "://") return 0;
  return n;
}

// Port text: decimal digits that make a number from 0 to 65535; anything else gives "".
std::string PortText(const std::string& text) {
  if (text.empty() || text.size() > 5) return {};
  unsigned value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return {};
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value <= 0xFFFF ? text : std::string();
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string Trim(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return text.substr(b, e - b);
}

TUrlInfo ParseUrl(const std::string& url) {
  TUrlInfo info;
  info.url = url;
  std::string rest = Trim(url);

  if (size_t n = SchemeLength(rest)) {
    info.protocol = rt::lowerCase(rest.substr(0, n));
    rest.erase(0, n + 3);
  }

  std::string hostPart;
  size_t slash = rest.find('/');
  if (slash == std::string::npos) {
    hostPart = rest;
    info.path = "/";
  } else {
    hostPart = rest.substr(0, slash);
    info.path = rest.substr(slash);
  }

  size_t at = hostPart.find('@');
  if (at != std::string::npos) {
    std::string prefix = hostPart.substr(0, at);
    size_t colon = prefix.find(':');
    info.username = prefix.substr(0, colon);
    if (colon != std::string::npos) info.password = prefix.substr(colon + 1);
    hostPart.erase(0, at + 1);
  }

  size_t colon = hostPart.find(':');
  if (colon != std::string::npos) {
    info.port = PortText(Trim(hostPart.substr(colon + 1)));
    hostPart.erase(colon);
  }
  info.hostname = rt::lowerCase(hostPart);

  std::string file = info.path;
  size_t question = info.path.rfind('?');
  if (info.protocol != "ftp" && question != std::string::npos) {
    info.query = info.path.substr(question);
    file = info.path.substr(0, question);
  }
  size_t last = file.rfind('/');
  info.directory = file.substr(0, last + 1);
  info.filename = file.substr(last + 1);
  return info;
}

std::string BuildUrl(const TUrlInfo& info) {
  std::string host = info.hostname;
  if (!info.username.empty()) host = info.username + ":" + info.password + "@" + host;
  if (!info.port.empty()) {
    const std::string& p = info.protocol;
    if ((p == "http" && info.port != "80") || (p == "ftp" && info.port != "21") ||
        (p == "https" && info.port != "443")) {
      host += ":" + info.port;
    }
  }
  return info.protocol + "://" + host + info.path;
}

std::string CombineUrl(const std::string& base, const std::string& relativeText) {
  std::string relative = relativeText.substr(0, relativeText.find(';'));
  TUrlInfo info = ParseUrl(base);
  const std::string dir = info.directory;

  if (SchemeLength(relative) != 0) return relative;
  // A reference that names its own host keeps the base's scheme.
  if (StartsWith(relative, "//")) return (info.protocol.empty() ? "http" : info.protocol) + ":" + relative;
  if (StartsWith(relative, "/")) {
    info.path = relative;
    return BuildUrl(info);
  }
  // A query or a fragment alone belongs to the base document, not to its folder.
  if (StartsWith(relative, "?")) {
    info.path = info.path.substr(0, info.path.find('?')) + relative;
    return BuildUrl(info);
  }
  if (StartsWith(relative, "#")) {
    return base.substr(0, base.find('#')) + relative;
  }
  if (StartsWith(relative, "./")) {
    info.path = dir + relative.substr(2);
    return BuildUrl(info);
  }
  if (StartsWith(relative, "../")) {
    info.path = dir;
    std::string root = BuildUrl(info);
    root.pop_back();
    while (StartsWith(relative, "../")) {
      relative.erase(0, 3);
      size_t start = root.find("://");
      start = start == std::string::npos ? 0 : start + 3;
      size_t cut = root.rfind('/');
      if (cut != std::string::npos && cut >= start) root.erase(cut);
    }
    return root + "/" + relative;
  }
  info.path = dir + relative;
  return BuildUrl(info);
}

std::string UrlHostPort(const std::string& url) {
  TUrlInfo info = ParseUrl(url);
  return info.port.empty() ? info.hostname : info.hostname + ":" + info.port;
}

void ParseProxy(const std::string& proxy, std::string& path, std::string& host, std::string& port) {
  std::string setting = Trim(proxy);
  std::string first = setting;
  size_t plus = setting.find('+');
  if (plus != std::string::npos) {
    first = setting.substr(0, plus);
    std::string hops = setting.substr(plus + 1);
    std::string chained;
    for (char c : hops) {
      if (c == '+')
        chained += "/-_-http://";
      else
        chained += c;
    }
    path = "http://" + chained + "/-_-" + path;
  }
  // A setting written as a URL ("http://proxy:3128/") names the same proxy.
  if (rt::lowerCase(first.substr(0, 7)) == "http://") first.erase(0, 7);
  while (!first.empty() && first.back() == '/') first.pop_back();
  size_t colon = first.find(':');
  host = first.substr(0, colon);
  port = colon == std::string::npos ? std::string() : first.substr(colon + 1);
}

}  // namespace net
