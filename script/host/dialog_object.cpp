#include "script/host/dialog_object.h"

#include "platform/rt/paths.h"
#include "platform/rt/persistent.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/host/guarded.h"

namespace host {

using namespace engine;

namespace {

constexpr const char* kDialogError = "EDialogError";

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

// The program file's name without its folder and extension.
std::string programTitle() {
  std::string path = rt::exePath();
  std::string name = path.substr(path.find_last_of('/') + 1);
  return rt::changeFileExt(name, "");
}

}  // namespace

const rt::ClassInfo& TJDialogObject::StaticClassInfo() {
  using T = TJDialogObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJDialogObject", &TJObject::StaticClassInfo())
                                         .property("filters", &T::Filters)
                                         .build();
  return info;
}

TJDialogObject::TJDialogObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Dialog");
}

void TJDialogObject::AfterCreate(TJValueList* param) {
  filters_ = NewStringsObject(Engine());
  for (int32_t i = 0; i < ArgCount(param); ++i) filters_->List()->Add(AsString(&(*param)[i]));
}

void TJDialogObject::Dispose() {
  filters_.reset();
  TJObject::Dispose();
}

void TJDialogObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("openFile", &TJDialogObject::DoOpenFile);
  RegistMethod("openFiles", &TJDialogObject::DoOpenFiles);
  RegistMethod("saveFile", &TJDialogObject::DoSaveFile);
  RegistMethod("openFolder", &TJDialogObject::DoOpenFolder);
}

std::string TJDialogObject::FilterText() const {
  std::string text;
  fw::TStringList* list = filters_ ? filters_->List() : nullptr;
  if (!list) return text;
  for (int32_t i = 0; i < list->Count(); ++i) {
    if (i) text += "|";
    text += trim(list->Get(i));
  }
  return text;
}

fw::TFileDialogRequest TJDialogObject::request(fw::TFileDialogKind kind, TJValueList* args) const {
  fw::TFileDialogRequest r;
  r.Kind = kind;
  r.Title = IsParam1(args) ? AsString(&(*args)[0]) : programTitle();
  if (IsParam2(args)) r.Initial = AsString(&(*args)[1]);
  if (kind != fw::TFileDialogKind::Folder)
    r.Filter = FilterText();
  else if (r.Initial.empty())
    r.Initial = rt::currentDir();
  return r;
}

void TJDialogObject::DoOpenFile(TJValueList* args, TJValue& result) {
  std::vector<std::string> chosen;
  fw::TFileDialogRequest r = request(fw::TFileDialogKind::Open, args);
  if (Guarded(kDialogError, "openFile error", [&] { return fw::RunFileDialog(r, chosen); }))
    result.SetString(chosen.front());
  else
    result.SetNull();
}

void TJDialogObject::DoOpenFiles(TJValueList* args, TJValue& result) {
  std::vector<std::string> chosen;
  fw::TFileDialogRequest r = request(fw::TFileDialogKind::OpenMany, args);
  Guarded(kDialogError, "openFiles error", [&] { return fw::RunFileDialog(r, chosen); });
  result.SetObject(NewStringsObject(Engine(), chosen));
}

void TJDialogObject::DoSaveFile(TJValueList* args, TJValue& result) {
  std::vector<std::string> chosen;
  fw::TFileDialogRequest r = request(fw::TFileDialogKind::Save, args);
  if (Guarded(kDialogError, "saveFile error", [&] { return fw::RunFileDialog(r, chosen); }))
    result.SetString(chosen.front());
  else
    result.SetNull();
}

void TJDialogObject::DoOpenFolder(TJValueList* args, TJValue& result) {
  std::vector<std::string> chosen;
  fw::TFileDialogRequest r = request(fw::TFileDialogKind::Folder, args);
  if (Guarded(kDialogError, "openFolder error", [&] { return fw::RunFileDialog(r, chosen); }))
    result.SetString(chosen.front());
  else
    result.SetNull();
}

}  // namespace host
