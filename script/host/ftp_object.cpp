#include "script/host/ftp_object.h"

#include <vector>

#include "net/http_date.h"
#include "platform/rt/persistent.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/host/strings_object.h"
#include "script/stdlib/array_object.h"
#include "script/stdlib/boolean_object.h"
#include "script/stdlib/date_object.h"

namespace host {

using namespace engine;

namespace {

constexpr int kFtpBufferSize = 65536;

constexpr const char* kEventNames[] = {"onStatus", "onConnect", "onDisconnect", "onError",
                                       "onFailure", "onRead",    "onWrite",      "onSuccess"};

// A missing argument fails inside the guard, like a failing client call.
std::string Arg(const TJValueList* args, int index) {
  if (!args || index >= args->Count()) throw net::ELocalError("missing argument");
  return AsString(&(*args)[index]);
}

}  // namespace

// --- FileProperty ---

const rt::ClassInfo& TJFtpFilePropertyObject::StaticClassInfo() {
  using T = TJFtpFilePropertyObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJFtpFilePropertyObject", &TJObject::StaticClassInfo())
                                         .property("fileType", &T::FileType)
                                         .property("size", &T::Size)
                                         .property("length", &T::Size)
                                         .property("name", &T::FileName)
                                         .property("lastModified", &T::LastModified)
                                         .property("attribute", &T::Attribute)
                                         .build();
  return info;
}

TJFtpFilePropertyObject::TJFtpFilePropertyObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("FileProperty");
}

std::string TJFtpFilePropertyObject::FileType() const {
  switch (entry_.FileType) {
    case net::kFtpDirectory: return "d";
    case net::kFtpFile: return "-";
    case net::kFtpLink: return "l";
    default: return "";
  }
}

TJObject* TJFtpFilePropertyObject::LastModified() const {
  auto* date = TJObject::Create<stdlib::TJDateObject>(Engine());
  date->SetLocalDateTime(entry_.Modified);
  return date;
}

std::string TJFtpFilePropertyObject::ToString(const TJValue*) { return entry_.Line; }

// --- FTP ---

const rt::ClassInfo& TJFtpObject::StaticClassInfo() {
  using T = TJFtpObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJFtpObject", &TJBaseSocketObject::StaticClassInfo())
                                         .property("host", &T::Host, &T::SetHost)
                                         .property("port", &T::Port, &T::SetPort)
                                         .property("userid", &T::UserId, &T::SetUserId)
                                         .property("password", &T::Password, &T::SetPassword)
                                         .property("passiveMode", &T::PassiveMode, &T::SetPassiveMode)
                                         .property("proxy", &T::Proxy, &T::SetProxy)
                                         .property("currentDir", &T::CurrentDir)
                                         .property("length", &T::Length)
                                         .build();
  return info;
}

TJFtpObject::TJFtpObject(TJBaseEngine* engine, TJValueList* param) : TJBaseSocketObject(engine, param) {
  RegistName("FTP");
  for (const char* name : kEventNames) RegistEventName(name);
}

TJFtpObject::~TJFtpObject() { ReleaseClient(); }

void TJFtpObject::AfterCreate(TJValueList* param) {
  if (param && param->Count() >= 1) Client().Host = AsString(&(*param)[0]);
  if (param && param->Count() >= 2) Client().Port = static_cast<uint16_t>(AsInteger(&(*param)[1]));
}

void TJFtpObject::Dispose() {
  ReleaseClient();
  TJBaseSocketObject::Dispose();
}

void TJFtpObject::RegistMethods() {
  TJBaseSocketObject::RegistMethods();
  RegistMethod("connect", &TJFtpObject::DoConnect);
  RegistMethod("disconnect", &TJFtpObject::DoDisconnect);
  RegistMethod("abort", &TJFtpObject::DoAbort);
  RegistMethod("changeDir", &TJFtpObject::DoChangeDir);
  RegistMethod("delete", &TJFtpObject::DoDelete);
  RegistMethod("download", &TJFtpObject::DoDownload);
  RegistMethod("downloadRestore", &TJFtpObject::DoDownloadRestore);
  RegistMethod("list", &TJFtpObject::DoList);
  RegistMethod("nlist", &TJFtpObject::DoNList);
  RegistMethod("makeDir", &TJFtpObject::DoMakeDir);
  RegistMethod("reinitialize", &TJFtpObject::DoReinitialize);
  RegistMethod("removeDir", &TJFtpObject::DoRemoveDir);
  RegistMethod("rename", &TJFtpObject::DoRename);
  RegistMethod("upload", &TJFtpObject::DoUpload);
  RegistMethod("uploadAppend", &TJFtpObject::DoUploadAppend);
  RegistMethod("uploadRestore", &TJFtpObject::DoUploadRestore);
  RegistMethod("uploadUnique", &TJFtpObject::DoUploadUnique);
  RegistMethod("printWorkDir", &TJFtpObject::DoPrintWorkDir);
  RegistMethod("findFiles", &TJFtpObject::DoFindFiles);
  RegistMethod("login", &TJFtpObject::DoLogin);
  RegistMethod("quit", &TJFtpObject::DoQuit);
  RegistMethod("type", &TJFtpObject::DoType);
  RegistMethod("command", &TJFtpObject::DoCommand);
}

net::TgFTP& TJFtpObject::Client() const {
  if (!client_) {
    auto* self = const_cast<TJFtpObject*>(this);
    client_ = std::make_unique<net::TgFTP>(kFtpBufferSize);
    net::TgFTP& c = *client_;
    self->HookSocketEvents(c);
    c.OnFailure = [self](bool& ignore, net::TFTPCmdType cmd) { self->FireFailure(ignore, cmd); };
    c.OnSuccess = [self](net::TFTPCmdType cmd) {
      self->FireEvent("onSuccess", {TJValue::String(net::FtpCmdName(cmd))});
    };
  }
  return *client_;
}

void TJFtpObject::ReleaseClient() {
  if (!client_) return;
  UnhookSocketEvents(*client_);
  client_->OnFailure = nullptr;
  client_->OnSuccess = nullptr;
  client_.reset();
}

// The handler gets a Boolean object holding ignore; what it holds afterwards is the answer.
void TJFtpObject::FireFailure(bool& ignore, net::TFTPCmdType cmd) {
  ignore = false;
  if (IsDisposed() || !IsCallEvent("onFailure")) return;
  TJValueList init;
  init.AddBool(false);
  auto* box = TJObject::Create<stdlib::TJBooleanObject>(Engine(), &init);
  TJValueList args;
  args.AddObject(this);
  args.AddObject(box);
  args.Add(TJValue::String(net::FtpCmdName(cmd)));
  TJValue result;
  CallEvent("", "onFailure", &args, result);
  ignore = box->Bool();
}

TJObject* TJFtpObject::ListArray() {
  auto* array = TJObject::Create<stdlib::TJArrayObject>(Engine());
  const net::TFTPDirectoryList& list = Client().DirectoryList;
  for (int i = 0; i < list.Count(); ++i) {
    auto* entry = TJObject::Create<TJFtpFilePropertyObject>(Engine());
    entry->SetEntry(list.GetItem(i));
    TJValue v;
    v.SetObject(entry);
    array->Add(v);
  }
  return array;
}

// --- methods ---

void TJFtpObject::DoConnect(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.connect error", [&] { Client().Connect(); });
}

void TJFtpObject::DoDisconnect(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.disconnect error", [&] { Client().Disconnect(); });
}

void TJFtpObject::DoQuit(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.disconnect error", [&] { Client().Disconnect(); });
}

void TJFtpObject::DoAbort(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.abort error", [&] { Client().Abort(); });
}

void TJFtpObject::DoChangeDir(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.changeDir error", [&] { Client().ChangeDir(Arg(args, 0)); });
}

void TJFtpObject::DoDelete(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.delete error", [&] { Client().Delete(Arg(args, 0)); });
}

void TJFtpObject::DoDownload(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.download error", [&] {
    Client().Download(Arg(args, 0), LocalFile(Arg(args, 1), "FTP.download error"));
  });
}

void TJFtpObject::DoDownloadRestore(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.downloadRestore error", [&] {
    Client().DownloadRestore(Arg(args, 0), LocalFile(Arg(args, 1), "FTP.downloadRestore error"));
  });
}

void TJFtpObject::DoList(TJValueList*, TJValue& result) {
  TJObject* array = nullptr;
  Guarded("FTP.list error", [&] {
    Client().ReadDirectory();
    array = ListArray();
  });
  result.SetObject(array);
}

void TJFtpObject::DoNList(TJValueList*, TJValue& result) {
  TJObject* array = nullptr;
  Guarded("FTP.nlist error", [&] {
    Client().NList();
    array = ListArray();
  });
  result.SetObject(array);
}

void TJFtpObject::DoMakeDir(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.makeDir error", [&] { Client().MakeDir(Arg(args, 0)); });
}

void TJFtpObject::DoReinitialize(TJValueList*, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.reinitialize error", [&] { Client().Reinitialize(); });
}

void TJFtpObject::DoRemoveDir(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.removeDir error", [&] { Client().RemoveDir(Arg(args, 0)); });
}

void TJFtpObject::DoRename(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.rename error", [&] { Client().Rename(Arg(args, 0), Arg(args, 1)); });
}

void TJFtpObject::DoUpload(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.upload error", [&] { Client().Upload(LocalFile(Arg(args, 0), "FTP.upload error"), Arg(args, 1)); });
}

void TJFtpObject::DoUploadAppend(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.uploadAppend error", [&] {
    Client().UploadAppend(LocalFile(Arg(args, 0), "FTP.uploadAppend error"), Arg(args, 1));
  });
}

void TJFtpObject::DoUploadRestore(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.uploadRestore error", [&] {
    int64_t position = args && args->Count() >= 3 ? AsInteger(&(*args)[2]) : 0;
    Client().UploadRestore(LocalFile(Arg(args, 0), "FTP.uploadRestore error"), Arg(args, 1), position);
  });
}

void TJFtpObject::DoUploadUnique(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.uploadUnique error", [&] { Client().UploadUnique(LocalFile(Arg(args, 0), "FTP.uploadUnique error")); });
}

void TJFtpObject::DoPrintWorkDir(TJValueList*, TJValue& result) {
  std::string dir;
  Guarded("FTP.printWorkDir error", [&] {
    Client().PrintWorkDir();
    dir = Client().CurrentDir;
  });
  result.SetString(dir);
}

void TJFtpObject::DoFindFiles(TJValueList* args, TJValue& result) {
  std::vector<std::string> found;
  Guarded("FTP.findFiles error", [&] {
    std::string dir = Arg(args, 0);
    std::string mask = args->Count() >= 2 ? AsString(&(*args)[1]) : std::string("*.*");
    bool recursive = args->Count() >= 3 && AsBool(&(*args)[2]);
    Client().FindFiles(dir, mask, recursive, found);
  });
  result.SetObject(NewStringsObject(Engine(), found));
}

void TJFtpObject::DoLogin(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.login error", [&] {
    if (args && args->Count() >= 1) Client().User = AsString(&(*args)[0]);
    if (args && args->Count() >= 2) Client().Password = AsString(&(*args)[1]);
    Client().Connect();
  });
}

// "A" (any case) is text, "B" block, anything else image.
void TJFtpObject::DoType(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  Guarded("FTP.type error", [&] {
    std::string mode = Arg(args, 0);
    uint8_t type = mode == "A" || mode == "a" ? 0 : mode == "B" || mode == "b" ? 2 : 1;
    Client().SetMode(type);
  });
}

void TJFtpObject::DoCommand(TJValueList* args, TJValue& result) {
  std::string reply;
  Guarded("FTP.command error", [&] {
    Client().SendCommand(Arg(args, 0));
    Client().ReadFtpReply();
    reply = Client().LastReply;
  });
  result.SetString(reply);
}

}  // namespace host
