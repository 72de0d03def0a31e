// The script class "Ini": section/key/value settings in an ini file held in memory. The file is
// read when the object is made; changes stay in memory until `update` writes the whole file back
// (through a temporary file and a rename, so an interrupted update leaves the old file whole).
// Freeing the object drops unwritten changes. There is no global instance: a script writes
// `new Ini(fileName)`.
//
// TJBaseIniObject holds what "Ini" and "RegIni" share: the method names, their argument checks
// and their messages ("EIniError", "<method> error: " and the file name or key path). Every
// failure of the file or the registry reaches the script as that error.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "script/core/object.h"
#include "script/core/value.h"
#include "support/ini_file.h"

namespace host {

class TJBaseIniObject : public engine::TJObject {
  RT_CLASS(TJBaseIniObject)
 public:
  using TJObject::TJObject;
  static bool IsMakeGlobalInstance() { return false; }

  void RegistMethods() override;

  // deleteKey(section, key)
  void DoDeleteKey(engine::TJValueList* args, engine::TJValue& result);
  // eraseSection(section)
  void DoEraseSection(engine::TJValueList* args, engine::TJValue& result);
  // readSection(section): the key names as a new Strings object.
  void DoReadSection(engine::TJValueList* args, engine::TJValue& result);
  // readSections(): the section names as a new Strings object.
  void DoReadSections(engine::TJValueList* args, engine::TJValue& result);
  // sectionExists(section); false without an argument.
  void DoSectionExists(engine::TJValueList* args, engine::TJValue& result);
  // write(section, key, value): stores the value's string form.
  void DoWrite(engine::TJValueList* args, engine::TJValue& result);
  // read(section, key, default): the default is required.
  void DoRead(engine::TJValueList* args, engine::TJValue& result);

 protected:
  // The file name or key path the messages name.
  virtual std::string StoreName() const = 0;
  virtual bool SectionExists(const std::string& section) = 0;
  virtual std::string ReadString(const std::string& section, const std::string& key, const std::string& dflt) = 0;
  virtual void WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
  virtual void DeleteKey(const std::string& section, const std::string& key) = 0;
  virtual void EraseSection(const std::string& section) = 0;
  virtual std::vector<std::string> ReadSection(const std::string& section) = 0;
  virtual std::vector<std::string> ReadSections() = 0;
  // Raises "EIniError" with "<method> error: " and the store's name.
  [[noreturn]] void Fail(const char* method) const;
  // Runs f; any failure is Fail(method).
  template <class F>
  auto Run(const char* method, F&& f) -> decltype(f());
};

class TJIniObject : public TJBaseIniObject {
  RT_CLASS(TJIniObject)
 public:
  TJIniObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  std::string FileName() const { return ini_ ? ini_->FileName() : std::string(); }

  void RegistMethods() override;
  void AfterCreate(engine::TJValueList* param) override;
  void Dispose() override;

  // update(): writes the content to the file.
  void DoUpdate(engine::TJValueList* args, engine::TJValue& result);

 protected:
  std::string StoreName() const override { return FileName(); }
  bool SectionExists(const std::string& section) override;
  std::string ReadString(const std::string& section, const std::string& key, const std::string& dflt) override;
  void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
  void DeleteKey(const std::string& section, const std::string& key) override;
  void EraseSection(const std::string& section) override;
  std::vector<std::string> ReadSection(const std::string& section) override;
  std::vector<std::string> ReadSections() override;

 private:
  support::TMemIniFile& ini();
  std::unique_ptr<support::TMemIniFile> ini_;
};

}  // namespace host
