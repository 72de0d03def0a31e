#include "net/cookie.h"

#include <vector>

#include "net/url.h"
#include "platform/rt/utf8.h"
#include "regex/regexpr.h"

namespace net {

TCookie::TCookie() { Clear(); }

void TCookie::Clear() {
  values_.Clear();
  Domain.clear();
  Path = "/";
  Expires = 0;
  Secure = false;
}

void TCookie::Assign(const TCookie& other) {
  if (&other == this) return;
  Clear();
  Domain = other.Domain;
  Path = other.Path;
  Expires = other.Expires;
  Secure = other.Secure;
  other.values_.ForEach([this](const auto& item) { values_.PutString(item.Key, item.Value); });
}

std::string TCookie::GetValue(const std::string& name) const { return values_.GetString(name); }

void TCookie::SetValue(const std::string& name, const std::string& value) { values_.PutString(name, value); }

bool TCookie::HasValue(const std::string& name) const { return values_.HasKey(name); }

int TCookie::Count() const { return static_cast<int>(values_.Count()); }

void TCookie::GetNames(std::vector<std::string>& names) const { names = values_.KeyList(); }

std::string TCookie::GetCookieHeader() const {
  std::string header;
  values_.ForEach([&header](const auto& item) {
    if (!item.Value.empty()) header += item.Key + "=" + item.Value + ";";
  });
  return header;
}

std::string TCookie::GetText() const {
  std::string text;
  if (Expires != 0) text += "expires=" + FormatHttpDateTime(Expires) + ";";
  if (!Domain.empty()) text += "domain=" + Domain + ";";
  text += "path=" + (Path.empty() ? std::string("/") : Path) + ";";
  if (Secure) text += "secure;";
  values_.ForEach([&text](const auto& item) { text += item.Key + "=" + item.Value + ";"; });
  return text;
}

void TCookie::Parse(const std::string& url, const std::string& text) {
  if (url.empty()) {
    Domain.clear();
    Path = "/";
  } else {
    TUrlInfo info = ParseUrl(url);
    Domain = info.hostname;
    Path = info.path;
  }
  std::vector<std::string> pieces;
  regex::SplitByPattern(";", text, pieces);
  for (const std::string& piece : pieces) {
    size_t equals = piece.find('=');
    if (equals == std::string::npos) continue;  // "secure", "HttpOnly": flags are not kept
    std::string name = Trim(piece.substr(0, equals));
    std::string value = Trim(piece.substr(equals + 1));
    if (rt::sameText(name, "expires"))
      Expires = ParseHttpDate(value);
    else if (rt::sameText(name, "domain"))
      Domain = value;
    else if (rt::sameText(name, "path"))
      Path = value;
    else
      values_.PutString(name, value);
  }
}

void TCookie::ParseText(const std::string& text) { Parse("", text); }

}  // namespace net
