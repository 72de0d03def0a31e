#include "script/host/url_object.h"

#include "platform/rt/persistent.h"
#include "script/core/value_list.h"

namespace host {

using namespace engine;

const rt::ClassInfo& TJURLInfoObject::StaticClassInfo() {
  using T = TJURLInfoObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJURLInfoObject", &TJObject::StaticClassInfo())
                                         .property("url", &T::Url, &T::SetUrl)
                                         .property("uri", &T::Url, &T::SetUrl)
                                         .property("href", &T::Url, &T::SetUrl)
                                         .property("protocol", &T::Protocol, &T::SetProtocol)
                                         .property("scheme", &T::Protocol, &T::SetProtocol)
                                         .property("username", &T::Username, &T::SetUsername)
                                         .property("user", &T::Username, &T::SetUsername)
                                         .property("userid", &T::Username, &T::SetUsername)
                                         .property("password", &T::Password, &T::SetPassword)
                                         .property("pass", &T::Password, &T::SetPassword)
                                         .property("host", &T::Host, &T::SetHost)
                                         .property("hostname", &T::Hostname, &T::SetHostname)
                                         .property("port", &T::Port, &T::SetPort)
                                         .property("path", &T::Path, &T::SetPath)
                                         .property("directory", &T::Directory, &T::SetDirectory)
                                         .property("dir", &T::Directory, &T::SetDirectory)
                                         .property("filename", &T::Filename, &T::SetFilename)
                                         .property("query", &T::Query, &T::SetQuery)
                                         .property("search", &T::Query, &T::SetQuery)
                                         .build();
  return info;
}

TJURLInfoObject::TJURLInfoObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("URL");
  if (IsParam1(param)) info_ = net::ParseUrl(AsString(&(*param)[0]));
}

void TJURLInfoObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("expand", &TJURLInfoObject::DoExpand);
}

std::string TJURLInfoObject::Url() const { return net::BuildUrl(info_); }

void TJURLInfoObject::SetUrl(std::string value) { info_ = net::ParseUrl(value); }

std::string TJURLInfoObject::Host() const {
  return info_.port.empty() ? info_.hostname : info_.hostname + ":" + info_.port;
}

void TJURLInfoObject::SetHost(std::string value) {
  size_t colon = value.find(':');
  if (colon == std::string::npos) {
    info_.hostname = std::move(value);
    return;
  }
  info_.hostname = value.substr(0, colon);
  info_.port = value.substr(colon + 1);
}

std::string TJURLInfoObject::ToString(const TJValue*) { return info_.url; }

void TJURLInfoObject::DoExpand(TJValueList* args, TJValue& result) {
  if (IsParam1(args))
    result.SetString(net::CombineUrl(info_.url, AsString(&(*args)[0])));
  else
    result.SetString(info_.url);
}

}  // namespace host
