// TCookie: the cookie values one response set (or a script built), with their common attributes.
#pragma once

#include <string>
#include <vector>

#include "net/http_date.h"
#include "support/hash_table.h"

namespace net {

class TCookie {
 public:
  TCookie();
  TCookie(const TCookie&) = delete;
  TCookie& operator=(const TCookie&) = delete;

  // No values; Domain empty, Path "/", no expiry, not secure.
  void Clear();
  void Assign(const TCookie& other);

  std::string GetValue(const std::string& name) const;
  void SetValue(const std::string& name, const std::string& value);
  bool HasValue(const std::string& name) const;
  int Count() const;
  void GetNames(std::vector<std::string>& names) const;

  // "a=1;b=2;": every value that is not empty, for a Cookie request header.
  std::string GetCookieHeader() const;
  // The attributes ("expires=...;domain=...;path=...;secure;") then every name=value pair.
  std::string GetText() const;
  // Reads a Set-Cookie value. Domain and path start as the URL's host and path; the attributes
  // expires, domain and path are taken, every other name=value pair is stored, existing values stay.
  void Parse(const std::string& url, const std::string& text);
  void ParseText(const std::string& text);

  std::string Domain;
  std::string Path = "/";
  TDateTime Expires = 0;  // local time; 0 for none
  bool Secure = false;

 private:
  support::TStringHashTable values_{101, false};
};

}  // namespace net
