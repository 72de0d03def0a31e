#include "script/host/reg_ini_object.h"

#include "platform/rt/persistent.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/host/guarded.h"

namespace host {

using namespace engine;

const rt::ClassInfo& TJRegIniObject::StaticClassInfo() {
  using T = TJRegIniObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJRegIniObject", &TJBaseIniObject::StaticClassInfo())
                                         .property("key", &T::Key)
                                         .property("rootKey", &T::RootKey)
                                         .build();
  return info;
}

TJRegIniObject::TJRegIniObject(TJBaseEngine* engine, TJValueList* param) : TJBaseIniObject(engine, param) {
  RegistName("RegIni");
}

void TJRegIniObject::AfterCreate(TJValueList* param) {
  if (!IsParam1(param)) ThrowError("EIniError", "ini create error");
  std::string key = AsString(&(*param)[0]);
  reg_ = Guarded("EIniError", "ini create error", [&] { return std::make_unique<registry::TRegIniFile>(key); });
}

void TJRegIniObject::Dispose() {
  reg_.reset();
  TJBaseIniObject::Dispose();
}

registry::TRegIniFile& TJRegIniObject::reg() {
  if (!reg_) throw std::runtime_error("no registry key");
  return *reg_;
}

bool TJRegIniObject::SectionExists(const std::string& section) { return reg().SectionExists(section); }
std::string TJRegIniObject::ReadString(const std::string& section, const std::string& key, const std::string& dflt) {
  return reg().ReadString(section, key, dflt);
}
void TJRegIniObject::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  reg().WriteString(section, key, value);
}
void TJRegIniObject::DeleteKey(const std::string& section, const std::string& key) { reg().DeleteKey(section, key); }
void TJRegIniObject::EraseSection(const std::string& section) { reg().EraseSection(section); }
std::vector<std::string> TJRegIniObject::ReadSection(const std::string& section) { return reg().ReadSection(section); }
std::vector<std::string> TJRegIniObject::ReadSections() { return reg().ReadSections(); }

}  // namespace host
