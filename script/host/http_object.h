// The script class "HTTP": an HTTP client for scripts. It owns one client of the internet library,
// a `requestHeader` object whose string members go out with every request, and a
// `responseHeader` object that receives the last response. The methods convert their arguments
// to strings, copy the request headers into the client, run the client call under the socket
// guard ("HTTP.get error" and so on) and copy the response back; the client's events reach the
// script handlers onStatus, onRequest, onConnect, onDisconnect, onError, onFailure, onRead,
// onWrite, onResponse and onSuccess.
//
// The client is made when the object first needs it, so the instance every module scope gets
// costs no buffer until a script uses it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "net/http.h"
#include "script/core/object.h"
#include "script/core/value.h"
#include "script/host/base_socket_object.h"
#include "script/host/request_object.h"
#include "script/host/response_object.h"

namespace host {

class TJHTTPObject : public TJBaseSocketObject {
  RT_CLASS(TJHTTPObject)
 public:
  TJHTTPObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJHTTPObject() override;

  // The client, made on first use.
  net::TgHTTP& Client() const;

  // Published properties.
  TJRequestObject* RequestHeader() const { return request_.get(); }
  TJResponseObject* ResponseHeader() const { return response_.get(); }
  std::string Version() const { return Client().HttpVersion; }
  void SetVersion(std::string value) { Client().HttpVersion = std::move(value); }
  // -1 also when the request sent last got no answer: the client still holds an older length.
  int32_t Length() const { return answered_ ? Clamp32(Client().ContentLength) : -1; }
  bool AutoRedirect() const { return Client().AutoRedirect; }
  void SetAutoRedirect(bool value) { Client().AutoRedirect = value; }
  std::string Proxy() const { return Client().Proxy; }
  void SetProxy(std::string value) { Client().Proxy = std::move(value); }

  int32_t GetTimeout() const override { return Client().Timeout; }
  void SetTimeout(int32_t seconds) override { Client().Timeout = seconds; }
  int32_t GetBytesRead() const override { return Clamp32(Client().BytesRead); }
  int32_t GetBytesTotal() const override { return Clamp32(Client().BytesTotal); }
  int32_t GetBytesWrote() const override { return Clamp32(Client().BytesWritten); }

  void RegistMethods() override;
  void AfterCreate(engine::TJValueList* param) override;
  void Dispose() override;

  void DoGet(engine::TJValueList* args, engine::TJValue& result);
  void DoGetFile(engine::TJValueList* args, engine::TJValue& result);
  void DoPost(engine::TJValueList* args, engine::TJValue& result);
  void DoHead(engine::TJValueList* args, engine::TJValue& result);
  void DoRequest(engine::TJValueList* args, engine::TJValue& result);
  void DoResponse(engine::TJValueList* args, engine::TJValue& result);
  void DoCapture(engine::TJValueList* args, engine::TJValue& result);
  void DoReadln(engine::TJValueList* args, engine::TJValue& result);
  void DoRead(engine::TJValueList* args, engine::TJValue& result);
  void DoWriteln(engine::TJValueList* args, engine::TJValue& result);
  void DoWrite(engine::TJValueList* args, engine::TJValue& result);
  void DoConnect(engine::TJValueList* args, engine::TJValue& result);
  void DoDisconnect(engine::TJValueList* args, engine::TJValue& result);

 protected:
  // Makes the client this class drives (HTTP: a plain client with a 64 KiB buffer).
  virtual std::unique_ptr<net::TgHTTP> CreateTransport() const;

 private:
  void CopyRequestHeaders();
  void CopyResponse();
  // One whole exchange (get, getFile, post, head) under the method's guard, the response
  // copied afterwards, also when the exchange failed.
  void Exchange(const char* failure, const std::function<void()>& work);
  void ReleaseClient();

  mutable std::unique_ptr<net::TgHTTP> client_;
  engine::TJRef<TJRequestObject> request_;
  engine::TJRef<TJResponseObject> response_;
  bool answered_ = false;  // a status line came back to the request sent last
};

}  // namespace host
