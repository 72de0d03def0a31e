#include "net/http_header.h"

#include "platform/rt/utf8.h"
#include "support/base64.h"

namespace net {

TRequestHeader::TRequestHeader() { Clear(); }

void TRequestHeader::Clear() {
  headers_.Clear();
  SetAccept("*/*");
  SetConnection("close");
}

void TRequestHeader::SetValue(const std::string& name, const std::string& value) {
  headers_.PutString(name, value);
}

std::string TRequestHeader::GetValue(const std::string& name) const { return headers_.GetString(name); }

bool TRequestHeader::HasValue(const std::string& name) const { return headers_.HasKey(name); }

void TRequestHeader::Remove(const std::string& name) { headers_.Remove(name); }

void TRequestHeader::SetBasicAuth(const std::string& user, const std::string& password) {
  if (user.empty() && password.empty()) return;
  SetAuthorization("Basic " + support::EncodeBase64(user + ":" + password));
  User = user;
  Password = password;
}

void TRequestHeader::GetLines(std::vector<std::string>& lines) const {
  lines.clear();
  headers_.ForEach([&](const auto& item) {
    if (item.Value.empty()) return;
    if (!SendAllHeaders && rt::sameText(item.Key, "Range") && item.Value == "bytes=0-") return;
    lines.push_back(item.Key + ": " + item.Value);
  });
}

void TResponseHeader::Clear() {
  headers_.Clear();
  Cookie.Clear();
}

std::string TResponseHeader::GetValue(const std::string& name) const { return headers_.GetString(name); }

bool TResponseHeader::HasValue(const std::string& name) const { return headers_.HasKey(name); }

void TResponseHeader::SetValue(const std::string& name, const std::string& value) {
  headers_.PutString(rt::lowerCase(name), value);
}

}  // namespace net
