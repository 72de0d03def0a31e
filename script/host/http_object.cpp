#include "script/host/http_object.h"

#include "platform/rt/persistent.h"
#include "script/core/value_list.h"

namespace host {

using namespace engine;

namespace {

constexpr int kHttpBufferSize = 65536;

// The script events, registered with every HTTP object.
constexpr const char* kEventNames[] = {"onStatus", "onRequest", "onConnect", "onDisconnect", "onError",
                                       "onFailure", "onRead", "onWrite", "onResponse", "onSuccess"};

// The messages a failing method raises with "ESocketError".
constexpr const char kGetError[] = "HTTP.get error";
constexpr const char kPostError[] = "HTTP.post error";
constexpr const char kHeadError[] = "HTTP.head error";
constexpr const char kRequestError[] = "HTTP.request error";
constexpr const char kResponseError[] = "HTTP.response error";
constexpr const char kCaptureError[] = "HTTP.capture error";
constexpr const char kReadlnError[] = "HTTP.readln error";
constexpr const char kReadError[] = "HTTP.read error";
constexpr const char kWritelnError[] = "HTTP.writeln error";
constexpr const char kWriteError[] = "HTTP.write error";
constexpr const char kConnectError[] = "HTTP.connect error";
constexpr const char kDisconnectError[] = "HTTP.disconnect error";

std::string Arg(const TJValueList* args, int index) { return AsString(&(*args)[index]); }

}  // namespace

const rt::ClassInfo& TJHTTPObject::StaticClassInfo() {
  using T = TJHTTPObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJHTTPObject", &TJBaseSocketObject::StaticClassInfo())
                                         .property("requestHeader", &T::RequestHeader)
                                         .property("responseHeader", &T::ResponseHeader)
                                         .property("version", &T::Version, &T::SetVersion)
                                         .property("length", &T::Length)
                                         .property("autoRedirect", &T::AutoRedirect, &T::SetAutoRedirect)
                                         .property("proxy", &T::Proxy, &T::SetProxy)
                                         .build();
  return info;
}

TJHTTPObject::TJHTTPObject(TJBaseEngine* engine, TJValueList* param) : TJBaseSocketObject(engine, param) {
  RegistName("HTTP");
  for (const char* name : kEventNames) RegistEventName(name);
}

TJHTTPObject::~TJHTTPObject() { ReleaseClient(); }

void TJHTTPObject::AfterCreate(TJValueList*) {
  request_ = TJObject::Create<TJRequestObject>(Engine());
  response_ = TJObject::Create<TJResponseObject>(Engine());
}

void TJHTTPObject::Dispose() {
  ReleaseClient();
  request_.reset();
  response_.reset();
  TJBaseSocketObject::Dispose();
}

void TJHTTPObject::RegistMethods() {
  TJBaseSocketObject::RegistMethods();
  RegistMethod("get", &TJHTTPObject::DoGet);
  RegistMethod("getFile", &TJHTTPObject::DoGetFile);
  RegistMethod("post", &TJHTTPObject::DoPost);
  RegistMethod("head", &TJHTTPObject::DoHead);
  RegistMethod("request", &TJHTTPObject::DoRequest);
  RegistMethod("response", &TJHTTPObject::DoResponse);
  RegistMethod("capture", &TJHTTPObject::DoCapture);
  RegistMethod("readln", &TJHTTPObject::DoReadln);
  RegistMethod("read", &TJHTTPObject::DoRead);
  RegistMethod("writeln", &TJHTTPObject::DoWriteln);
  RegistMethod("write", &TJHTTPObject::DoWrite);
  RegistMethod("connect", &TJHTTPObject::DoConnect);
  RegistMethod("open", &TJHTTPObject::DoConnect);
  RegistMethod("disconnect", &TJHTTPObject::DoDisconnect);
  RegistMethod("close", &TJHTTPObject::DoDisconnect);
}

// --- the client ---

std::unique_ptr<net::TgHTTP> TJHTTPObject::CreateTransport() const {
  return std::make_unique<net::TgHTTP>(kHttpBufferSize);
}

net::TgHTTP& TJHTTPObject::Client() const {
  if (!client_) {
    auto* self = const_cast<TJHTTPObject*>(this);
    client_ = CreateTransport();
    net::TgHTTP& c = *client_;
    self->HookSocketEvents(c);
    c.OnRequest = [self](net::TgHTTP&, std::string&, support::TStringHashTable&, std::string&) {
      self->answered_ = false;
      self->FireEvent("onRequest");
    };
    c.OnFailure = [self](uint8_t) { self->FireEvent("onFailure"); };
    c.OnResponse = [self](net::TgHTTP&, const std::string&, support::TStringHashTable&, int&, std::string&,
                          const std::string&, const std::string&) {
      self->answered_ = true;
      self->FireEvent("onResponse");
    };
    c.OnSuccess = [self](uint8_t) { self->FireEvent("onSuccess"); };
  }
  return *client_;
}

// Every hook goes before the client does: whatever it reports while it shuts down reaches nobody.
void TJHTTPObject::ReleaseClient() {
  if (!client_) return;
  UnhookSocketEvents(*client_);
  client_->OnRequest = nullptr;
  client_->OnAuthenticate = nullptr;
  client_->OnFailure = nullptr;
  client_->OnRedirect = nullptr;
  client_->OnSuccess = nullptr;
  client_->OnResponse = nullptr;
  client_.reset();
}

// Header members survive from request to request; a member that no longer holds a string is not
// sent any more.
void TJHTTPObject::CopyRequestHeaders() {
  net::TgHTTP& c = Client();
  c.RequestHeader.Clear();
  if (!request_) return;
  std::vector<std::string> names;
  request_->GetHeaderNames(names);
  for (const std::string& name : names) {
    TJValue value;
    request_->GetMember(name, true, nullptr, value);
    c.RequestHeader.SetValue(name, AsString(&value));
  }
}

void TJHTTPObject::CopyResponse() {
  if (response_) response_->CopyFrom(Client());
}

// After a failure the response object still tells what came back to the request sent last: an
// error status is there to see with its fields and cookies, and a request that got no answer
// (no connection, a time-out) leaves nothing of an earlier response behind.
void TJHTTPObject::Exchange(const char* failure, const std::function<void()>& work) {
  Guarded(failure, [&] {
    CopyRequestHeaders();
    answered_ = false;
    try {
      work();
    } catch (...) {
      if (response_ && client_) {
        if (answered_)
          response_->CopyFrom(*client_);
        else
          response_->Forget();
      }
      throw;
    }
    CopyResponse();
  });
}

// --- methods ---

void TJHTTPObject::DoGet(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) return;
  std::string url = Arg(args, 0);
  TScriptTextReceiver body;
  Exchange(kGetError, [&] { Client().Get(url, body); });
  body.TakeInto(result);
}

void TJHTTPObject::DoGetFile(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  if (!IsParam2(args)) return;
  std::string url = Arg(args, 0), file = Arg(args, 1);
  LocalFile(file, kGetError);
  Exchange(kGetError, [&] { Client().GetFile(url, file); });
}

void TJHTTPObject::DoPost(TJValueList* args, TJValue& result) {
  if (!IsParam2(args)) return;
  std::string url = Arg(args, 0), body = Arg(args, 1);
  TScriptTextReceiver answer;
  Exchange(kPostError, [&] { Client().Post(url, body, answer); });
  answer.TakeInto(result);
}

void TJHTTPObject::DoHead(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  if (!IsParam1(args)) return;
  std::string url = Arg(args, 0);
  Exchange(kHeadError, [&] { Client().Head(url); });
}

void TJHTTPObject::DoRequest(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  if (!IsParam2(args)) return;
  std::string method = Arg(args, 0), url = Arg(args, 1);
  std::string body = IsParam3(args) ? Arg(args, 2) : std::string();
  Guarded(kRequestError, [&] {
    CopyRequestHeaders();
    Client().SendRequest(method, url, body);
  });
}

// The response object is refreshed also when reading failed: a 404 read here raises, and the
// status is there to see.
void TJHTTPObject::DoResponse(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded(kResponseError, [&] {
    try {
      Client().ReadResponse();
    } catch (...) {
      CopyResponse();
      throw;
    }
    CopyResponse();
  });
}

void TJHTTPObject::DoCapture(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  if (!IsParam1(args)) return;
  std::string file = Arg(args, 0);
  LocalFile(file, kCaptureError);
  Guarded(kCaptureError, [&] { Client().ReceiveToFile(file); });
}

void TJHTTPObject::DoReadln(TJValueList*, TJValue& result) {
  std::string line;
  Guarded(kReadlnError, [&] { Client().ReadLine(line); });
  result.SetString(line);
}

void TJHTTPObject::DoRead(TJValueList* args, TJValue& result) {
  int64_t count = IsParam1(args) ? AsInteger(&(*args)[0]) : -1;
  TScriptTextReceiver text;
  Guarded(kReadError, [&] { Client().ReceiveToBuffer(text, count); });
  text.TakeInto(result);
}

void TJHTTPObject::DoWriteln(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  std::string text = IsParam1(args) ? Arg(args, 0) : std::string();
  Guarded(kWritelnError, [&] { Client().SendLine(text); });
}

void TJHTTPObject::DoWrite(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  if (!IsParam1(args)) return;
  std::string text = Arg(args, 0);
  Guarded(kWriteError, [&] { Client().SendString(text); });
}

void TJHTTPObject::DoConnect(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded(kConnectError, [&] { Client().Connect(); });
}

void TJHTTPObject::DoDisconnect(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded(kDisconnectError, [&] { Client().Disconnect(); });
}

}  // namespace host
