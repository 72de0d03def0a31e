#include "script/host/mail_objects.h"

#include "platform/fw/strings.h"
#include "platform/rt/persistent.h"
#include "script/core/value_list.h"

namespace host {

using namespace engine;

namespace {

constexpr int kMailBufferSize = 65536;

constexpr const char* kPop3Events[] = {"onStatus", "onConnect", "onDisconnect", "onError",
                                       "onFailure", "onRead",    "onWrite",      "onSuccess"};
constexpr const char* kSmtpEvents[] = {"onStatus", "onConnect", "onDisconnect", "onError", "onRead", "onWrite"};

// The messages of the failing methods, raised with "ESocketError".
constexpr char kPop3Connect[] = "POP3.connect";
constexpr char kPop3Disconnect[] = "POP3.disconnect";
constexpr char kPop3GetMail[] = "POP3.getMail";
constexpr char kPop3GetSummary[] = "POP3.getSummary";
constexpr char kPop3Delete[] = "POP3.delete";
constexpr char kSmtpConnect[] = "SMTP.connect";
constexpr char kSmtpDisconnect[] = "SMTP.disconnect";
constexpr char kSmtpSendMail[] = "SMTP.sendMail";

// new POP3/SMTP([host [, port]]).
void TakeHostAndPort(TJValueList* param, net::TgSocket& socket) {
  if (IsParam1(param)) socket.Host = AsString(&(*param)[0]);
  if (IsParam2(param)) socket.Port = static_cast<uint16_t>(AsInteger(&(*param)[1]));
}

}  // namespace

// --- Mail ---

const rt::ClassInfo& TJMailObject::StaticClassInfo() {
  using T = TJMailObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJMailObject", &TJObject::StaticClassInfo())
                                         .property("number", &T::Number)
                                         .property("length", &T::Length)
                                         .property("attachments", &T::Attachments)
                                         .property("header", &T::Header)
                                         .property("body", &T::Body)
                                         .property("message", &T::Text, &T::SetText)
                                         .build();
  return info;
}

TJMailObject::TJMailObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) { RegistName("Mail"); }

void TJMailObject::AfterCreate(TJValueList*) {
  if (Engine()) attachments_ = NewStringsObject(Engine());
}

void TJMailObject::Dispose() {
  attachments_.reset();
  TJObject::Dispose();
}

void TJMailObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("clear", &TJMailObject::DoClear);
  RegistMethod("getKeys", &TJMailObject::DoGetKeys);
}

TJStringsObject* TJMailObject::Attachments() const {
  if (!attachments_) return nullptr;
  fw::TStringList* list = attachments_->List();
  if (message_.Attachments != shown_) {
    list->Clear();
    for (const std::string& path : message_.Attachments) list->Add(path);
    shown_ = message_.Attachments;
  }
  return attachments_.get();
}

void TJMailObject::TakeAttachmentLines() {
  if (!attachments_) return;
  Attachments();  // a message read since the last look wins over the old lines
  fw::TStringList* list = attachments_->List();
  message_.Attachments.clear();
  for (int i = 0; i < list->Count(); ++i) message_.Attachments.push_back(list->Get(i));
  shown_ = message_.Attachments;
}

// Published properties, then the object's own members and its prototype, then the header fields.
bool TJMailObject::GetValue(std::string_view name, TJValue& value, TJValueList* param) {
  if (TJObject::GetValue(name, value, param)) return true;
  if (const std::string* field = message_.Headers.FindValue(name)) {
    value.SetString(*field);
    return true;
  }
  return false;
}

// A name that is no published property is a header field; the value is stored as text.
bool TJMailObject::SetValue(std::string_view name, const TJValue& value, TJValueList* param) {
  if (HasPublishedName(name)) return TJObject::SetValue(name, value, param);
  message_.Headers.Put(name, AsString(&value));
  return true;
}

bool TJMailObject::HasKey(std::string_view name) { return message_.Headers.HasKey(name) || TJObject::HasKey(name); }

bool TJMailObject::RemoveKey(std::string_view name) {
  if (message_.Headers.Remove(name)) return true;
  return TJObject::RemoveKey(name);
}

void TJMailObject::GetPropertyList(std::vector<std::string>& names) { names = message_.Headers.KeyList(); }

void TJMailObject::DoClear(TJValueList*, TJValue& result) {
  TJKeepAlive keep(this);
  Clear();
  message_.Clear();
  shown_.clear();
  if (attachments_) attachments_->List()->Clear();
  result.SetObject(this);
}

void TJMailObject::DoGetKeys(TJValueList*, TJValue& result) { BuildNameArray(message_.Headers.KeyList(), result); }

// --- what POP3 and SMTP share ---

const rt::ClassInfo& TJMailClientObject::StaticClassInfo() {
  using T = TJMailClientObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJMailClientObject", &TJBaseSocketObject::StaticClassInfo())
                                         .property("host", &T::Host, &T::SetHost)
                                         .property("port", &T::Port, &T::SetPort)
                                         .property("mail", &T::Mail)
                                         .build();
  return info;
}

TJMailClientObject::TJMailClientObject(TJBaseEngine* engine, TJValueList* param) : TJBaseSocketObject(engine, param) {}

void TJMailClientObject::AfterCreate(TJValueList*) {
  if (Engine()) mail_ = TJObject::Create<TJMailObject>(Engine());
}

void TJMailClientObject::Dispose() {
  ReleaseClient();
  mail_.reset();
  TJBaseSocketObject::Dispose();
}

// --- POP3 ---

const rt::ClassInfo& TJPOP3Object::StaticClassInfo() {
  using T = TJPOP3Object;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJPOP3Object", &TJMailClientObject::StaticClassInfo())
                                         .property("userid", &T::UserId, &T::SetUserId)
                                         .property("password", &T::Password, &T::SetPassword)
                                         .property("attachPath", &T::AttachPath, &T::SetAttachPath)
                                         .property("deleteOnRead", &T::DeleteOnRead, &T::SetDeleteOnRead)
                                         .property("mailCount", &T::MailCount)
                                         .property("length", &T::MailCount)
                                         .build();
  return info;
}

TJPOP3Object::TJPOP3Object(TJBaseEngine* engine, TJValueList* param) : TJMailClientObject(engine, param) {
  RegistName("POP3");
  for (const char* name : kPop3Events) RegistEventName(name);
  if (IsParam1(param)) TakeHostAndPort(param, Client());
}

TJPOP3Object::~TJPOP3Object() { ReleaseClient(); }

net::TgPOP3& TJPOP3Object::Client() const {
  if (!client_) {
    auto* self = const_cast<TJPOP3Object*>(this);
    client_ = std::make_unique<net::TgPOP3>(kMailBufferSize);
    self->HookSocketEvents(*client_);
    client_->OnFailure = [self](net::TgPOP3&) { self->FireEvent("onFailure"); };
    client_->OnSuccess = [self](net::TgPOP3&) { self->FireEvent("onSuccess"); };
  }
  return *client_;
}

// Every hook goes first: what the client reports while it shuts down reaches nobody.
void TJPOP3Object::ReleaseClient() {
  if (!client_) return;
  UnhookSocketEvents(*client_);
  client_->OnLoginFailure = nullptr;
  client_->OnNeedUser = nullptr;
  client_->OnMailReceived = nullptr;
  client_->OnSuccess = nullptr;
  client_->OnFailure = nullptr;
  client_->OnMailStart = nullptr;
  client_.reset();
}

void TJPOP3Object::RegistMethods() {
  TJBaseSocketObject::RegistMethods();
  RegistMethod("connect", &TJPOP3Object::DoConnect);
  RegistMethod("open", &TJPOP3Object::DoConnect);
  RegistMethod("disconnect", &TJPOP3Object::DoDisconnect);
  RegistMethod("close", &TJPOP3Object::DoDisconnect);
  RegistMethod("getMail", &TJPOP3Object::DoGetMail);
  RegistMethod("getSummary", &TJPOP3Object::DoGetSummary);
  RegistMethod("delete", &TJPOP3Object::DoDelete);
}

void TJPOP3Object::DoConnect(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded(kPop3Connect, [&] { Client().Connect(); });
}

void TJPOP3Object::DoDisconnect(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded(kPop3Disconnect, [&] { Client().Disconnect(); });
}

void TJPOP3Object::DoGetMail(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) return;
  int32_t number = AsInteger(&(*args)[0]);
  LocalFile(Client().AttachPath, kPop3GetMail);
  Guarded(kPop3GetMail, [&] {
    Client().GetMail(number);
    if (mail_) mail_->Message().Assign(Client().Message);
  });
  result.SetObject(mail_.get());
}

void TJPOP3Object::DoGetSummary(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) return;
  int32_t number = AsInteger(&(*args)[0]);
  LocalFile(Client().AttachPath, kPop3GetSummary);
  Guarded(kPop3GetSummary, [&] {
    Client().GetSummary(number);
    if (mail_) mail_->Message().Assign(Client().Message);
  });
  result.SetObject(mail_.get());
}

void TJPOP3Object::DoDelete(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  if (!IsParam1(args)) return;
  int32_t number = AsInteger(&(*args)[0]);
  Guarded(kPop3Delete, [&] { Client().DeleteMail(number); });
}

// --- SMTP ---

const rt::ClassInfo& TJSMTPObject::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJSMTPObject>("TJSMTPObject", &TJMailClientObject::StaticClassInfo()).build();
  return info;
}

TJSMTPObject::TJSMTPObject(TJBaseEngine* engine, TJValueList* param) : TJMailClientObject(engine, param) {
  RegistName("SMTP");
  for (const char* name : kSmtpEvents) RegistEventName(name);
  if (IsParam1(param)) TakeHostAndPort(param, Client());
}

TJSMTPObject::~TJSMTPObject() { ReleaseClient(); }

net::TgSMTP& TJSMTPObject::Client() const {
  if (!client_) {
    client_ = std::make_unique<net::TgSMTP>(kMailBufferSize);
    const_cast<TJSMTPObject*>(this)->HookSocketEvents(*client_);
  }
  return *client_;
}

void TJSMTPObject::ReleaseClient() {
  if (!client_) return;
  UnhookSocketEvents(*client_);
  client_.reset();
}

void TJSMTPObject::RegistMethods() {
  TJBaseSocketObject::RegistMethods();
  RegistMethod("connect", &TJSMTPObject::DoConnect);
  RegistMethod("open", &TJSMTPObject::DoConnect);
  RegistMethod("disconnect", &TJSMTPObject::DoDisconnect);
  RegistMethod("close", &TJSMTPObject::DoDisconnect);
  RegistMethod("sendMail", &TJSMTPObject::DoSendMail);
}

void TJSMTPObject::DoConnect(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded(kSmtpConnect, [&] { Client().Connect(); });
}

void TJSMTPObject::DoDisconnect(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded(kSmtpDisconnect, [&] { Client().Disconnect(); });
}

void TJSMTPObject::DoSendMail(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded(kSmtpSendMail, [&] {
    if (mail_) {
      mail_->TakeAttachmentLines();
      for (const std::string& path : mail_->Message().Attachments) LocalFile(path, kSmtpSendMail);
      Client().Message.Assign(mail_->Message());
    }
    Client().SendMail();
  });
}

}  // namespace host
