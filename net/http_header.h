// The header maps of an HTTP request and response. Both keep their fields in a case-insensitive
// 13-bucket table; the request's key order is the order of the header lines on the wire.
#pragma once

#include <string>
#include <vector>

#include "net/cookie.h"
#include "support/hash_table.h"

namespace net {

class TRequestHeader {
 public:
  TRequestHeader();
  TRequestHeader(const TRequestHeader&) = delete;
  TRequestHeader& operator=(const TRequestHeader&) = delete;

  // Empties the map, then Accept "*/*" and Connection "close".
  void Clear();
  void SetAccept(const std::string& value) { SetValue("Accept", value); }
  void SetAuthorization(const std::string& value) { SetValue("Authorization", value); }
  void SetConnection(const std::string& value) { SetValue("Connection", value); }
  void SetContentLength(const std::string& value) { SetValue("Content-Length", value); }
  void SetContentType(const std::string& value) { SetValue("Content-Type", value); }
  void SetHost(const std::string& value) { SetValue("Host", value); }
  // The name keeps the letter case of this call.
  void SetValue(const std::string& name, const std::string& value);
  std::string GetValue(const std::string& name) const;
  bool HasValue(const std::string& name) const;
  void Remove(const std::string& name);
  // Authorization "Basic " + Base64(user ":" password); nothing when both are empty.
  void SetBasicAuth(const std::string& user, const std::string& password);
  // "Name: value" for every field that has a value, in key order.
  void GetLines(std::vector<std::string>& lines) const;

  support::TStringHashTable& Headers() { return headers_; }
  const support::TStringHashTable& Headers() const { return headers_; }

  std::string Password;
  std::string User;
  // When false, "Range: bytes=0-" (asking for the whole body anyway) is left out.
  bool SendAllHeaders = true;

 private:
  support::TStringHashTable headers_{13, true};
};

class TResponseHeader {
 public:
  TResponseHeader() = default;
  TResponseHeader(const TResponseHeader&) = delete;
  TResponseHeader& operator=(const TResponseHeader&) = delete;

  void Clear();
  std::string GetValue(const std::string& name) const;
  bool HasValue(const std::string& name) const;
  void SetValue(const std::string& name, const std::string& value);

  support::TStringHashTable& Headers() { return headers_; }
  const support::TStringHashTable& Headers() const { return headers_; }

  TCookie Cookie;       // every Set-Cookie of the response
  std::string Version;  // "1.1" of "HTTP/1.1 200 OK"

 private:
  support::TStringHashTable headers_{13, true};
};

}  // namespace net
