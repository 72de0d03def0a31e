#include "script/host/ini_object.h"

#include "platform/rt/persistent.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/host/file_name.h"
#include "script/host/guarded.h"
#include "script/host/strings_object.h"

namespace host {

using namespace engine;

namespace {
constexpr const char* kIniError = "EIniError";
}

// ---------------------------------------------------------------------------------------------
// What Ini and RegIni share

const rt::ClassInfo& TJBaseIniObject::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJBaseIniObject>("TJBaseIniObject", &TJObject::StaticClassInfo()).build();
  return info;
}

void TJBaseIniObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("deleteKey", &TJBaseIniObject::DoDeleteKey);
  RegistMethod("eraseSection", &TJBaseIniObject::DoEraseSection);
  RegistMethod("readSection", &TJBaseIniObject::DoReadSection);
  RegistMethod("readSections", &TJBaseIniObject::DoReadSections);
  RegistMethod("sectionExists", &TJBaseIniObject::DoSectionExists);
  RegistMethod("write", &TJBaseIniObject::DoWrite);
  RegistMethod("read", &TJBaseIniObject::DoRead);
}

void TJBaseIniObject::Fail(const char* method) const {
  ThrowError(kIniError, std::string(method) + " error: " + StoreName());
}

template <class F>
auto TJBaseIniObject::Run(const char* method, F&& f) -> decltype(f()) {
  return Guarded(kIniError, std::string(method) + " error: " + StoreName(), std::forward<F>(f));
}

void TJBaseIniObject::DoDeleteKey(TJValueList* args, TJValue& result) {
  if (!IsParam2(args)) Fail("deleteKey");
  std::string section = AsString(&(*args)[0]), key = AsString(&(*args)[1]);
  Run("deleteKey", [&] { DeleteKey(section, key); });
  result.SetObject(this);
}

void TJBaseIniObject::DoEraseSection(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) Fail("eraseSection");
  std::string section = AsString(&(*args)[0]);
  Run("eraseSection", [&] { EraseSection(section); });
  result.SetObject(this);
}

void TJBaseIniObject::DoReadSection(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) Fail("readSection");
  std::string section = AsString(&(*args)[0]);
  std::vector<std::string> keys = Run("readSection", [&] { return ReadSection(section); });
  result.SetObject(NewStringsObject(Engine(), keys));
}

void TJBaseIniObject::DoReadSections(TJValueList*, TJValue& result) {
  std::vector<std::string> sections = Run("readSections", [&] { return ReadSections(); });
  result.SetObject(NewStringsObject(Engine(), sections));
}

void TJBaseIniObject::DoSectionExists(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.SetBool(false);
    return;
  }
  std::string section = AsString(&(*args)[0]);
  result.SetBool(Run("sectionExists", [&] { return SectionExists(section); }));
}

void TJBaseIniObject::DoWrite(TJValueList* args, TJValue& result) {
  if (!IsParam3(args)) Fail("write");
  std::string section = AsString(&(*args)[0]), key = AsString(&(*args)[1]), value = AsString(&(*args)[2]);
  Run("write", [&] { WriteString(section, key, value); });
  result.SetObject(this);
}

void TJBaseIniObject::DoRead(TJValueList* args, TJValue& result) {
  if (!IsParam3(args)) Fail("read");
  std::string section = AsString(&(*args)[0]), key = AsString(&(*args)[1]), dflt = AsString(&(*args)[2]);
  result.SetString(Run("read", [&] { return ReadString(section, key, dflt); }));
}

// ---------------------------------------------------------------------------------------------
// Ini

const rt::ClassInfo& TJIniObject::StaticClassInfo() {
  using T = TJIniObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJIniObject", &TJBaseIniObject::StaticClassInfo())
                                         .property("filename", &T::FileName)
                                         .build();
  return info;
}

TJIniObject::TJIniObject(TJBaseEngine* engine, TJValueList* param) : TJBaseIniObject(engine, param) {
  RegistName("Ini");
}

void TJIniObject::AfterCreate(TJValueList* param) {
  if (!IsParam1(param)) ThrowError(kIniError, "ini create error");
  std::string fileName = AsString(&(*param)[0]);
  SystemPath(fileName, kIniError, "ini create error");
  ini_ = Guarded(kIniError, "ini create error", [&] { return std::make_unique<support::TMemIniFile>(fileName); });
}

void TJIniObject::Dispose() {
  ini_.reset();  // unwritten changes go with it
  TJBaseIniObject::Dispose();
}

void TJIniObject::RegistMethods() {
  TJBaseIniObject::RegistMethods();
  RegistMethod("update", &TJIniObject::DoUpdate);
}

support::TMemIniFile& TJIniObject::ini() {
  if (!ini_) throw std::runtime_error("no ini file");
  return *ini_;
}

bool TJIniObject::SectionExists(const std::string& section) { return ini().SectionExists(section); }
std::string TJIniObject::ReadString(const std::string& section, const std::string& key, const std::string& dflt) {
  return ini().ReadString(section, key, dflt);
}
void TJIniObject::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  ini().WriteString(section, key, value);
}
void TJIniObject::DeleteKey(const std::string& section, const std::string& key) { ini().DeleteKey(section, key); }
void TJIniObject::EraseSection(const std::string& section) { ini().EraseSection(section); }
std::vector<std::string> TJIniObject::ReadSection(const std::string& section) { return ini().ReadSection(section); }
std::vector<std::string> TJIniObject::ReadSections() { return ini().ReadSections(); }

void TJIniObject::DoUpdate(TJValueList*, TJValue& result) {
  Run("update", [&] { ini().UpdateFile(); });
  result.SetObject(this);
}

}  // namespace host
