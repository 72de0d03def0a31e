// The script classes "Mail", "POP3" and "SMTP".
//
// A Mail object wraps one message: published `number`, `length`, `attachments` (a Strings object
// of the saved attachment files), `header`, `body` and `message` (the text), and the header fields
// as members: `mail.Subject` reads the field, `mail.Subject = "x"` writes it, for-in and getKeys
// name the fields. A member read looks at the published properties, then the object's own members
// (so `clear` is reachable), then the fields; a field that is not there raises "ENameError"
// (dotted) or "EKeyError" (bracket) with its name. A field named like a published property
// (`message`, `body`, `header`, `number`, `length`, `attachments`) cannot be reached as a member.
//
// POP3 and SMTP objects each own their library client and one Mail object: POP3's `getMail` and
// `getSummary` fill it with the message read, SMTP's `sendMail` sends what it holds. Their methods
// run under the socket guard; a failure raises "ESocketError" with the class and method name
// ("POP3.connect", "SMTP.sendMail").
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/mail_clients.h"
#include "net/mail_message.h"
#include "script/core/object.h"
#include "script/core/value.h"
#include "script/host/base_socket_object.h"
#include "script/host/strings_object.h"

namespace host {

class TJMailObject : public engine::TJObject {
  RT_CLASS(TJMailObject)
 public:
  TJMailObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  net::TMailMessage& Message() { return message_; }

  // Published properties.
  int32_t Number() const { return message_.Number; }
  int32_t Length() const { return message_.Size; }
  // The attachment list as a Strings object. It is refilled from the message whenever the
  // message's list changed (a mail read, clear); otherwise it keeps what the script put in, which
  // is what SMTP's sendMail attaches.
  TJStringsObject* Attachments() const;
  // The message's attachment list := the lines of the Strings object.
  void TakeAttachmentLines();
  std::string Header() const { return message_.HeaderText(); }
  std::string Body() const { return message_.BodyText(); }
  std::string Text() const { return message_.Body; }
  void SetText(std::string value) { message_.Body = std::move(value); }

  void RegistMethods() override;
  void AfterCreate(engine::TJValueList* param) override;
  void Dispose() override;
  bool GetValue(std::string_view name, engine::TJValue& value, engine::TJValueList* param) override;
  bool SetValue(std::string_view name, const engine::TJValue& value, engine::TJValueList* param) override;
  bool HasKey(std::string_view name) override;
  bool RemoveKey(std::string_view name) override;
  // The header field names.
  void GetPropertyList(std::vector<std::string>& names) override;

  void DoClear(engine::TJValueList* args, engine::TJValue& result);
  void DoGetKeys(engine::TJValueList* args, engine::TJValue& result);

 private:
  net::TMailMessage message_;
  engine::TJRef<TJStringsObject> attachments_;
  mutable std::vector<std::string> shown_;  // the message's list when the Strings object was filled
};

// What POP3 and SMTP share: the Mail object, host and port, and the client's life.
class TJMailClientObject : public TJBaseSocketObject {
  RT_CLASS(TJMailClientObject)
 public:
  TJMailClientObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  TJMailObject* Mail() const { return mail_.get(); }
  std::string Host() const { return Socket().Host; }
  void SetHost(std::string value) { Socket().Host = std::move(value); }
  int32_t Port() const { return Socket().Port; }
  // An unsigned 16-bit number: larger values keep their low 16 bits.
  void SetPort(int32_t value) { Socket().Port = static_cast<uint16_t>(value); }

  int32_t GetTimeout() const override { return Socket().Timeout; }
  void SetTimeout(int32_t seconds) override { Socket().Timeout = seconds; }
  int32_t GetBytesRead() const override { return Clamp32(Socket().BytesRead); }
  int32_t GetBytesTotal() const override { return Clamp32(Socket().BytesTotal); }
  int32_t GetBytesWrote() const override { return Clamp32(Socket().BytesWritten); }

  void AfterCreate(engine::TJValueList* param) override;
  void Dispose() override;

 protected:
  virtual net::TgSocket& Socket() const = 0;
  // Unhooks every event of the client, then frees it.
  virtual void ReleaseClient() = 0;
  engine::TJRef<TJMailObject> mail_;
};

class TJPOP3Object : public TJMailClientObject {
  RT_CLASS(TJPOP3Object)
 public:
  // new POP3([host [, port]])
  TJPOP3Object(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJPOP3Object() override;

  // The client, made on first use.
  net::TgPOP3& Client() const;

  std::string UserId() const { return Client().User; }
  void SetUserId(std::string value) { Client().User = std::move(value); }
  std::string Password() const { return Client().Password; }
  void SetPassword(std::string value) { Client().Password = std::move(value); }
  std::string AttachPath() const { return Client().AttachPath; }
  void SetAttachPath(std::string value) { Client().AttachPath = std::move(value); }
  bool DeleteOnRead() const { return Client().DeleteOnRead; }
  void SetDeleteOnRead(bool value) { Client().DeleteOnRead = value; }
  int32_t MailCount() const { return Client().MailCount; }

  void RegistMethods() override;

  void DoConnect(engine::TJValueList* args, engine::TJValue& result);
  void DoDisconnect(engine::TJValueList* args, engine::TJValue& result);
  void DoGetMail(engine::TJValueList* args, engine::TJValue& result);
  void DoGetSummary(engine::TJValueList* args, engine::TJValue& result);
  void DoDelete(engine::TJValueList* args, engine::TJValue& result);

 protected:
  net::TgSocket& Socket() const override { return Client(); }
  void ReleaseClient() override;

 private:
  mutable std::unique_ptr<net::TgPOP3> client_;
};

class TJSMTPObject : public TJMailClientObject {
  RT_CLASS(TJSMTPObject)
 public:
  // new SMTP([host [, port]])
  TJSMTPObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJSMTPObject() override;

  // The client, made on first use.
  net::TgSMTP& Client() const;

  void RegistMethods() override;

  void DoConnect(engine::TJValueList* args, engine::TJValue& result);
  void DoDisconnect(engine::TJValueList* args, engine::TJValue& result);
  void DoSendMail(engine::TJValueList* args, engine::TJValue& result);

 protected:
  net::TgSocket& Socket() const override { return Client(); }
  void ReleaseClient() override;

 private:
  mutable std::unique_ptr<net::TgSMTP> client_;
};

}  // namespace host
