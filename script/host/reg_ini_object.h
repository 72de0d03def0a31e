// The script class "RegIni": the same settings methods as "Ini" over a key of the current user's
// registry (sections are subkeys, keys are values), every write stored at once. There is no global
// instance: a script writes `new RegIni(keyPath)`. The key is made by the first write, not by
// making the object.
#pragma once

#include <memory>
#include <string>

#include "platform/registry/registry_store.h"
#include "script/host/ini_object.h"

namespace host {

class TJRegIniObject : public TJBaseIniObject {
  RT_CLASS(TJRegIniObject)
 public:
  TJRegIniObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  std::string Key() const { return reg_ ? reg_->Key() : std::string(); }
  std::string RootKey() const { return "HKEY_CURRENT_USER"; }

  void AfterCreate(engine::TJValueList* param) override;
  void Dispose() override;

 protected:
  std::string StoreName() const override { return Key(); }
  bool SectionExists(const std::string& section) override;
  std::string ReadString(const std::string& section, const std::string& key, const std::string& dflt) override;
  void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
  void DeleteKey(const std::string& section, const std::string& key) override;
  void EraseSection(const std::string& section) override;
  std::vector<std::string> ReadSection(const std::string& section) override;
  std::vector<std::string> ReadSections() override;

 private:
  registry::TRegIniFile& reg();
  std::unique_ptr<registry::TRegIniFile> reg_;
};

}  // namespace host
