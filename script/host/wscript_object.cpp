#include "script/host/wscript_object.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/rt/clock.h"
#include "platform/rt/paths.h"
#include "platform/rt/persistent.h"
#include "script/core/engine.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/host/activex_object.h"
#include "script/stdlib/host_ui.h"

namespace host {

using namespace engine;

namespace {

std::function<void(const std::string&)>& EchoHandler() {
  static std::function<void(const std::string&)> handler;
  return handler;
}

std::string FilePart(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The process's parameters (the program first), as the system handed them over.
std::vector<std::string> ProcessParameters() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t at = all.find('\0'); at != std::string::npos; at = all.find('\0', start)) {
    out.push_back(all.substr(start, at - start));
    start = at + 1;
  }
  return out;
}

}  // namespace

bool SplitNamedArgument(std::string_view text, std::string& name, std::string& value) {
  for (size_t slash = text.find('/'); slash != std::string_view::npos; slash = text.find('/', slash + 1)) {
    size_t colon = text.find(':', slash + 1);
    if (colon == std::string_view::npos) return false;  // no later slash has a colon after it either
    if (colon == slash + 1) continue;
    name = std::string(text.substr(slash + 1, colon - slash - 1));
    value = std::string(text.substr(colon + 1));
    return true;
  }
  return false;
}

void SetEchoHandler(std::function<void(const std::string&)> handler) { EchoHandler() = std::move(handler); }

// ---------------------------------------------------------------------------------------------
// WshNamed, WshUnnamed, WshArguments

const rt::ClassInfo& TJWshNamedObject::StaticClassInfo() {
  using T = TJWshNamedObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJWshNamedObject", &TJObject::StaticClassInfo())
                                         .property("Count", &T::Count)
                                         .property("Length", &T::Count)
                                         .build();
  return info;
}

TJWshNamedObject::TJWshNamedObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("WshNamed");
}

void TJWshNamedObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("Exists", &TJWshNamedObject::DoExists);
  RegistMethod("Item", &TJWshNamedObject::DoItem);
}

void TJWshNamedObject::GetPropertyList(std::vector<std::string>& names) {
  GetMemberNames(names, TypeBit(vtString), 0);
}

int32_t TJWshNamedObject::Count() const {
  std::vector<std::string> names;
  const_cast<TJWshNamedObject*>(this)->GetPropertyList(names);
  return int32_t(names.size());
}

void TJWshNamedObject::DoExists(TJValueList* args, TJValue& result) {
  if (ArgCount(args) == 0) {
    result.SetBool(false);
    return;
  }
  std::string name = AsString(&(*args)[0]);
  TJValue found;
  result.SetBool(FindMember(name, found) || HasPublishedName(name));
}

void TJWshNamedObject::DoItem(TJValueList* args, TJValue& result) {
  if (ArgCount(args) == 0) {
    result.SetNull();
    return;
  }
  GetMember(AsString(&(*args)[0]), true, nullptr, result);
}

const rt::ClassInfo& TJWshUnnamedObject::StaticClassInfo() {
  using T = TJWshUnnamedObject;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TJWshUnnamedObject", &stdlib::TJArrayObject::StaticClassInfo()).property("Count", &T::Count).build();
  return info;
}

TJWshUnnamedObject::TJWshUnnamedObject(TJBaseEngine* engine, TJValueList* param) : TJArrayObject(engine, nullptr) {
  RegistName("WshUnnamed");
}

void TJWshUnnamedObject::RegistMethods() {
  TJArrayObject::RegistMethods();
  RegistMethod("Item", &TJWshUnnamedObject::DoItem);
}

void TJWshUnnamedObject::DoItem(TJValueList* args, TJValue& result) {
  if (ArgCount(args) == 0) {
    result.SetNull();
    return;
  }
  GetMember(AsString(&(*args)[0]), true, nullptr, result);
}

const rt::ClassInfo& TJWshArgumentsObject::StaticClassInfo() {
  using T = TJWshArgumentsObject;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TJWshArgumentsObject", &stdlib::TJArrayObject::StaticClassInfo())
          .property("Count", &T::Count)
          .property("Named", &T::Named)
          .property("Unnamed", &T::Unnamed)
          .build();
  return info;
}

TJWshArgumentsObject::TJWshArgumentsObject(TJBaseEngine* engine, TJValueList* param) : TJArrayObject(engine, nullptr) {
  RegistName("WshArguments");
  named_ = TJObject::Create<TJWshNamedObject>(engine, nullptr, false);
  unnamed_ = TJObject::Create<TJWshUnnamedObject>(engine, nullptr, false);
}

void TJWshArgumentsObject::RegistMethods() {
  TJArrayObject::RegistMethods();
  RegistMethod("Item", &TJWshArgumentsObject::DoItem);
  RegistMethod("ShowUsage", &TJWshArgumentsObject::DoShowUsage);
}

void TJWshArgumentsObject::Dispose() {
  named_.reset();
  unnamed_.reset();
  TJArrayObject::Dispose();
}

void TJWshArgumentsObject::ParseCommandArguments(const TJValueList* args) {
  Clear();
  if (!named_ || !unnamed_) return;
  named_->Clear();
  unnamed_->Clear();
  if (args && args->Count() > 0) {
    for (int32_t i = 0; i < args->Count(); ++i) Add((*args)[i]);
  } else {
    std::vector<std::string> params = ProcessParameters();
    for (size_t i = 2; i < params.size(); ++i) Add(TJValue::String(params[i]));
  }
  for (int32_t i = 0; i < Items().Count(); ++i) {
    const TJValue& item = Items()[i];
    std::string name, value;
    if (item.ValueType() == vtString && SplitNamedArgument(item.vString(), name, value))
      named_->PutMember(name, TJValue::String(value), false, nullptr);
    else
      unnamed_->Add(item);
  }
}

void TJWshArgumentsObject::DoItem(TJValueList* args, TJValue& result) {
  if (ArgCount(args) == 0) {
    result.SetNull();
    return;
  }
  GetMember(AsString(&(*args)[0]), true, nullptr, result);
}

void TJWshArgumentsObject::DoShowUsage(TJValueList*, TJValue& result) { result.Clear(); }

// ---------------------------------------------------------------------------------------------
// Streams

const rt::ClassInfo& TJWshStreamObject::StaticClassInfo() {
  using T = TJWshStreamObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJWshStreamObject", &TJObject::StaticClassInfo())
                                         .property("Column", &T::Column)
                                         .property("Line", &T::Line)
                                         .build();
  return info;
}

TJWshStreamObject::TJWshStreamObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("WshBaseStream");
}

void TJWshStreamObject::SetReader(ReadHandler reader) {
  reader_ = std::move(reader);
  RegistName("WshReadStream");
  RegistProperty("AtEndOfLine", TJValue::Bool(true));
  RegistMethod("Read", &TJWshStreamObject::DoRead);
  RegistMethod("ReadAll", &TJWshStreamObject::DoReadAll);
  RegistMethod("ReadLine", &TJWshStreamObject::DoReadLine);
  RegistMethod("Skip", &TJWshStreamObject::DoSkip);
  RegistMethod("SkipLine", &TJWshStreamObject::DoSkip);
}

void TJWshStreamObject::SetWriter(WriteHandler writer) {
  writer_ = std::move(writer);
  RegistName("WshWriteStream");
  RegistMethod("Write", &TJWshStreamObject::DoWrite);
  RegistMethod("WriteBlankLines", &TJWshStreamObject::DoWriteBlankLines);
  RegistMethod("WriteLine", &TJWshStreamObject::DoWriteLine);
}

void TJWshStreamObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("Close", &TJWshStreamObject::DoClose);
}

std::string TJWshStreamObject::read(int32_t count, bool line) {
  std::string text;
  bool success = false;
  if (reader_) reader_(text, success, count, line);
  if (!success) ThrowError("EFileError", "read error: STDIN");
  return text;
}

void TJWshStreamObject::write(const std::string& text) {
  if (writer_) writer_(text);
}

void TJWshStreamObject::DoClose(TJValueList*, TJValue& result) { result.Clear(); }

// Read([n]): the first n bytes read with count n; without n, everything there is.
void TJWshStreamObject::DoRead(TJValueList* args, TJValue& result) {
  if (ArgCount(args) > 0) {
    int32_t n = AsInteger(&(*args)[0]);
    std::string text = read(n, false);
    result.SetString(n >= 0 && size_t(n) < text.size() ? text.substr(0, size_t(n)) : text);
  } else {
    result.SetString(read(-1, false));
  }
}

void TJWshStreamObject::DoReadAll(TJValueList*, TJValue& result) { result.SetString(read(-1, false)); }

void TJWshStreamObject::DoReadLine(TJValueList*, TJValue& result) { result.SetString(read(-1, true)); }

void TJWshStreamObject::DoSkip(TJValueList*, TJValue& result) { result.Clear(); }

void TJWshStreamObject::DoWrite(TJValueList* args, TJValue& result) {
  result.Clear();
  std::string text = ArgCount(args) > 0 ? AsString(&(*args)[0]) : std::string();
  if (!text.empty()) write(text);
}

void TJWshStreamObject::DoWriteLine(TJValueList* args, TJValue& result) {
  result.Clear();
  write((ArgCount(args) > 0 ? AsString(&(*args)[0]) : std::string()) + "\r\n");
}

void TJWshStreamObject::DoWriteBlankLines(TJValueList* args, TJValue& result) {
  result.Clear();
  if (ArgCount(args) == 0) return;
  int32_t n = AsInteger(&(*args)[0]);
  if (n <= 0) {
    DoWrite(args, result);
    return;
  }
  // Written in pieces, so that any count is written whole without holding it all at once.
  const int32_t kPiece = 32768;
  std::string piece;
  for (int32_t i = 0; i < std::min(n, kPiece); ++i) piece += "\r\n";
  for (int32_t left = n; left > 0; left -= kPiece)
    write(left >= kPiece ? piece : piece.substr(0, size_t(left) * 2));
}

// ---------------------------------------------------------------------------------------------
// WScript

const rt::ClassInfo& TJWScriptObject::StaticClassInfo() {
  using T = TJWScriptObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJWScriptObject", &TJObject::StaticClassInfo())
                                         .property("Arguments", &T::Arguments)
                                         .property("FullName", &T::FullName)
                                         .property("Interactive", &T::Interactive, &T::SetInteractive)
                                         .property("Name", &T::Name)
                                         .property("Path", &T::Path)
                                         .property("ScriptFullName", &T::ScriptFullName)
                                         .property("ScriptName", &T::ScriptName)
                                         .property("StdErr", &T::StdErr)
                                         .property("StdIn", &T::StdIn)
                                         .property("StdOut", &T::StdOut)
                                         .property("Version", &T::Version)
                                         .build();
  return info;
}

TJWScriptObject::TJWScriptObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("WScript");
}

TJWScriptObject::~TJWScriptObject() = default;

void TJWScriptObject::AfterCreate(TJValueList*) {
  TJBaseEngine* e = Engine();
  arguments_ = TJObject::Create<TJWshArgumentsObject>(e, nullptr, false);
  stdErr_ = TJObject::Create<TJWshStreamObject>(e, nullptr, false);
  stdOut_ = TJObject::Create<TJWshStreamObject>(e, nullptr, false);
  stdIn_ = TJObject::Create<TJWshStreamObject>(e, nullptr, false);
  auto* engine = dynamic_cast<TJEngine*>(e);
  stdErr_->SetWriter([engine](const std::string& text) {
    if (engine) engine->WriteStderr(text);
  });
  stdOut_->SetWriter([engine](const std::string& text) {
    if (engine) engine->WriteStdout(text);
  });
  stdIn_->SetReader([engine](std::string& text, bool& success, int32_t count, bool line) {
    success = false;
    if (engine) engine->ReadStdin(text, success, count, line);
  });
}

void TJWScriptObject::Dispose() {
  stdIn_.reset();
  stdOut_.reset();
  stdErr_.reset();
  arguments_.reset();
  TJObject::Dispose();
}

void TJWScriptObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("CreateObject", &TJWScriptObject::DoCreateObject);
  RegistMethod("ConnectObject", &TJWScriptObject::DoConnectObject);
  RegistMethod("DisconnectObject", &TJWScriptObject::DoDisconnectObject);
  RegistMethod("Echo", &TJWScriptObject::DoEcho);
  RegistMethod("GetObject", &TJWScriptObject::DoGetObject);
  RegistMethod("Quit", &TJWScriptObject::DoQuit);
  RegistMethod("Sleep", &TJWScriptObject::DoSleep);
}

std::string TJWScriptObject::FullName() const { return rt::exePath(); }

std::string TJWScriptObject::Name() const { return FilePart(FullName()); }

std::string TJWScriptObject::Path() const {
  std::string full = FullName();
  size_t slash = full.find_last_of('/');
  return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

std::string TJWScriptObject::ScriptFullName() const {
  if (!Engine()) return {};
  std::string name = Engine()->GetScriptFileName();
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(name, ec);
  return ec ? name : full.lexically_normal().string();
}

std::string TJWScriptObject::ScriptName() const { return Engine() ? FilePart(Engine()->GetScriptFileName()) : std::string(); }

void TJWScriptObject::DoCreateObject(TJValueList* args, TJValue& result) {
  result.SetObject(TJObject::Create<TJActiveXObject>(Engine(), args, true));
}

void TJWScriptObject::DoConnectObject(TJValueList* args, TJValue& result) {
  result.Clear();
  auto* object = ArgCount(args) > 0 ? dynamic_cast<TJActiveXObject*>((*args)[0].vObject()) : nullptr;
  if (object && ArgCount(args) > 1) object->SetEventPrefix(AsString(&(*args)[1]));
}

void TJWScriptObject::DoDisconnectObject(TJValueList* args, TJValue& result) {
  result.Clear();
  if (auto* object = ArgCount(args) > 0 ? dynamic_cast<TJActiveXObject*>((*args)[0].vObject()) : nullptr)
    object->DisconnectEvents();
}

// Echo(a, b, ...): the arguments' texts, each followed by a blank, without the trailing blanks.
void TJWScriptObject::DoEcho(TJValueList* args, TJValue& result) {
  result.Clear();
  std::string text;
  for (int32_t i = 0; i < ArgCount(args); ++i) text += AsString(&(*args)[i]) + " ";
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.pop_back();
  if (EchoHandler()) {
    EchoHandler()(text);
    return;
  }
  stdlib::IHostUI& ui = stdlib::HostUI();
  ui.MessageBox(text, ui.ApplicationTitle(), stdlib::mbOK);
}

void TJWScriptObject::DoGetObject(TJValueList*, TJValue& result) { result.Clear(); }

void TJWScriptObject::DoQuit(TJValueList* args, TJValue&) { throw EJExit(ArgCount(args) > 0 ? AsInteger(&(*args)[0]) : 0); }

void TJWScriptObject::DoSleep(TJValueList* args, TJValue& result) {
  result.Clear();
  int32_t ms = ArgCount(args) > 0 ? AsInteger(&(*args)[0]) : 0;
  if (ms > 0) rt::Sleep(uint32_t(ms));
}

void InstallWScript() {
  TJEngineExtensions& ext = EngineExtensions();
  ext.MakeWScript = [](TJEngine& engine) -> TJObject* {
    return TJObject::Create<TJWScriptObject>(&engine, nullptr, false);
  };
  ext.SetWScriptArguments = [](TJEngine&, TJObject* wscript, const TJValueList* args) {
    if (auto* w = dynamic_cast<TJWScriptObject*>(wscript))
      if (TJWshArgumentsObject* arguments = w->Arguments()) arguments->ParseCommandArguments(args);
  };
}

}  // namespace host
