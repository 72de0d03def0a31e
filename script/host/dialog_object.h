// The script class "Dialog" (a global instance under its name): the file-open, file-save and folder
// dialogs, through the framework's file-dialog service (real dialogs in a windowed host; cancelled
// where nobody can be asked). `filters` is a Strings object whose lines make the filter: each line
// one or more description|pattern pairs, the trimmed lines joined with "|".
#pragma once

#include <string>

#include "platform/fw/file_dialogs.h"
#include "script/core/object.h"
#include "script/core/value.h"
#include "script/host/strings_object.h"

namespace host {

class TJDialogObject : public engine::TJObject {
  RT_CLASS(TJDialogObject)
 public:
  TJDialogObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  TJStringsObject* Filters() const { return filters_.get(); }
  // The filter text the dialogs get.
  std::string FilterText() const;

  void RegistMethods() override;
  void AfterCreate(engine::TJValueList* param) override;
  void Dispose() override;

  // openFile([title [, fileName]]): the chosen path, or null when cancelled.
  void DoOpenFile(engine::TJValueList* args, engine::TJValue& result);
  // openFiles([title [, fileName]]): a new Strings object with the chosen paths (empty when cancelled).
  void DoOpenFiles(engine::TJValueList* args, engine::TJValue& result);
  // saveFile([title [, fileName]]): the chosen path, or null.
  void DoSaveFile(engine::TJValueList* args, engine::TJValue& result);
  // openFolder([title [, initialFolder]]): the chosen folder, or null.
  void DoOpenFolder(engine::TJValueList* args, engine::TJValue& result);

 private:
  fw::TFileDialogRequest request(fw::TFileDialogKind kind, engine::TJValueList* args) const;
  engine::TJRef<TJStringsObject> filters_;
};

}  // namespace host
