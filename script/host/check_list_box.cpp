#include "script/host/check_list_box.h"

#include "platform/rt/persistent.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/stdlib/host_ui.h"

namespace host {

using namespace engine;

namespace {

// The mark an item carries as its list object: the list moves it with the item wherever the item
// goes. Only its address is used.
class TCheckMark : public rt::TPersistent {
  RT_CLASS(TCheckMark)
};

}  // namespace

const rt::ClassInfo& TCheckMark::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TCheckMark>("TCheckMark", &rt::TPersistent::StaticClassInfo()).build();
  return info;
}

namespace {

fw::TObject* Checked() {
  static TCheckMark mark;
  return &mark;
}

}  // namespace

const rt::ClassInfo& TJCheckListBox::StaticClassInfo() {
  using T = TJCheckListBox;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJCheckListBox", &TJObject::StaticClassInfo())
                                         .property("items", &T::Items)
                                         .property("index", &T::Index)
                                         .property("count", &T::Count)
                                         .build();
  return info;
}

TJCheckListBox::TJCheckListBox(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("CheckListBox");
}

void TJCheckListBox::AfterCreate(TJValueList*) { items_ = NewStringsObject(Engine()); }

void TJCheckListBox::Dispose() {
  items_.reset();
  TJObject::Dispose();
}

void TJCheckListBox::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("getChecked", &TJCheckListBox::DoGetChecked);
  RegistMethod("setChecked", &TJCheckListBox::DoSetChecked);
  RegistMethod("execute", &TJCheckListBox::DoExecute);
}

int32_t TJCheckListBox::Count() const { return list() ? list()->Count() : 0; }

std::vector<bool> TJCheckListBox::Marks() const {
  std::vector<bool> marks;
  for (int i = 0; i < Count(); ++i) marks.push_back(list()->GetObject(i) == Checked());
  return marks;
}

// getChecked(index): the item's mark; false without an argument.
void TJCheckListBox::DoGetChecked(TJValueList* args, TJValue& result) {
  if (ArgCount(args) == 0) {
    result.SetBool(false);
    return;
  }
  int32_t i = AsInteger(&(*args)[0]);
  if (i < 0 || i >= Count()) ThrowError("EIndexError", "CheckListBox.getChecked Index Error");
  result.SetBool(list()->GetObject(i) == Checked());
}

// setChecked(index, value)
void TJCheckListBox::DoSetChecked(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  if (ArgCount(args) < 2) return;
  int32_t i = AsInteger(&(*args)[0]);
  if (i < 0 || i >= Count()) ThrowError("EIndexError", "CheckListBox.setChecked Index Error");
  list()->PutObject(i, AsBool(&(*args)[1]) ? Checked() : nullptr);
}

// execute([caption [, text [, index [, width [, height]]]]]): true after OK.
void TJCheckListBox::DoExecute(TJValueList* args, TJValue& result) {
  int32_t n = ArgCount(args);
  std::string caption = n > 0 ? AsString(&(*args)[0]) : std::string();
  std::string text = n > 1 ? AsString(&(*args)[1]) : std::string();
  int32_t index = n > 2 ? AsInteger(&(*args)[2]) : 0;
  int32_t width = n > 3 ? AsInteger(&(*args)[3]) : 0;
  int32_t height = n > 4 ? AsInteger(&(*args)[4]) : 0;
  std::vector<std::string> items;
  for (int i = 0; i < Count(); ++i) items.push_back(list()->Get(i));
  std::vector<bool> marks = Marks();
  bool ok = stdlib::HostUI().CheckList(caption, text, items, marks, index, width, height);
  index_ = index;
  if (ok) {
    // The dialog showed these very items: its marks go back to them in order.
    for (int i = 0; i < Count() && size_t(i) < marks.size(); ++i) list()->PutObject(i, marks[size_t(i)] ? Checked() : nullptr);
  }
  result.SetBool(ok);
}

}  // namespace host
