// The script classes "FTP" and "FileProperty". FTP drives the internet library's FTP client: every
// method converts its arguments, calls the client under the socket guard ("FTP.changeDir error"
// and so on) and answers the object, a text or a new list. Listings come back as Arrays of
// FileProperty objects, each a copy of one entry; findFiles answers a Strings object.
//
// Besides the socket events, "onFailure" gets (object, ignore, command name) where ignore is a
// Boolean object the handler may set to true to swallow the failure, and "onSuccess" gets
// (object, command name).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "net/ftp.h"
#include "script/core/object.h"
#include "script/core/value.h"
#include "script/host/base_socket_object.h"

namespace host {

class TJFtpFilePropertyObject : public engine::TJObject {
  RT_CLASS(TJFtpFilePropertyObject)
 public:
  TJFtpFilePropertyObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  void SetEntry(const net::TFTPFileProperty& entry) { entry_ = entry; }
  const net::TFTPFileProperty& Entry() const { return entry_; }

  // Published, read-only.
  std::string FileType() const;
  int32_t Size() const { return Clamp32(entry_.Size); }
  std::string FileName() const { return entry_.Name; }
  engine::TJObject* LastModified() const;
  int32_t Attribute() const { return net::PermissionToNumber(entry_); }

  // The listing line the entry came from.
  std::string ToString(const engine::TJValue* argument) override;

 private:
  static int32_t Clamp32(int64_t value) { return TJBaseSocketObject::Clamp32(value); }
  net::TFTPFileProperty entry_;
};

class TJFtpObject : public TJBaseSocketObject {
  RT_CLASS(TJFtpObject)
 public:
  TJFtpObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJFtpObject() override;

  net::TgFTP& Client() const;

  // Published properties.
  std::string Host() const { return Client().Host; }
  void SetHost(std::string value) { Client().Host = std::move(value); }
  int32_t Port() const { return Client().Port; }
  void SetPort(int32_t value) { Client().Port = static_cast<uint16_t>(value); }
  std::string UserId() const { return Client().User; }
  void SetUserId(std::string value) { Client().User = std::move(value); }
  std::string Password() const { return Client().Password; }
  void SetPassword(std::string value) { Client().Password = std::move(value); }
  bool PassiveMode() const { return Client().Passive; }
  void SetPassiveMode(bool value) { Client().Passive = value; }
  std::string Proxy() const { return Client().Proxy; }
  void SetProxy(std::string value) { Client().Proxy = std::move(value); }
  std::string CurrentDir() const { return Client().CurrentDir; }
  int32_t Length() const { return 0; }

  int32_t GetTimeout() const override { return Client().Timeout; }
  void SetTimeout(int32_t seconds) override { Client().Timeout = seconds; }
  int32_t GetBytesRead() const override { return Clamp32(Client().BytesRead); }
  int32_t GetBytesTotal() const override { return Clamp32(Client().BytesTotal); }
  int32_t GetBytesWrote() const override { return Clamp32(Client().BytesWritten); }

  void RegistMethods() override;
  void AfterCreate(engine::TJValueList* param) override;
  void Dispose() override;

  void DoConnect(engine::TJValueList* args, engine::TJValue& result);
  void DoDisconnect(engine::TJValueList* args, engine::TJValue& result);
  void DoAbort(engine::TJValueList* args, engine::TJValue& result);
  void DoChangeDir(engine::TJValueList* args, engine::TJValue& result);
  void DoDelete(engine::TJValueList* args, engine::TJValue& result);
  void DoDownload(engine::TJValueList* args, engine::TJValue& result);
  void DoDownloadRestore(engine::TJValueList* args, engine::TJValue& result);
  void DoList(engine::TJValueList* args, engine::TJValue& result);
  void DoNList(engine::TJValueList* args, engine::TJValue& result);
  void DoMakeDir(engine::TJValueList* args, engine::TJValue& result);
  void DoReinitialize(engine::TJValueList* args, engine::TJValue& result);
  void DoRemoveDir(engine::TJValueList* args, engine::TJValue& result);
  void DoRename(engine::TJValueList* args, engine::TJValue& result);
  void DoUpload(engine::TJValueList* args, engine::TJValue& result);
  void DoUploadAppend(engine::TJValueList* args, engine::TJValue& result);
  void DoUploadRestore(engine::TJValueList* args, engine::TJValue& result);
  void DoUploadUnique(engine::TJValueList* args, engine::TJValue& result);
  void DoPrintWorkDir(engine::TJValueList* args, engine::TJValue& result);
  void DoFindFiles(engine::TJValueList* args, engine::TJValue& result);
  void DoLogin(engine::TJValueList* args, engine::TJValue& result);
  void DoQuit(engine::TJValueList* args, engine::TJValue& result);
  void DoType(engine::TJValueList* args, engine::TJValue& result);
  void DoCommand(engine::TJValueList* args, engine::TJValue& result);

 private:
  void ReleaseClient();
  void FireFailure(bool& ignore, net::TFTPCmdType cmd);
  // A new Array with one FileProperty per entry of the client's directory list.
  engine::TJObject* ListArray();

  mutable std::unique_ptr<net::TgFTP> client_;
};

}  // namespace host
