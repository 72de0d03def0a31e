#include "script/gui/edit_wrapper.h"

#include "platform/fw/clipboard.h"
#include <algorithm>

#include "platform/rt/utf8.h"
#include "script/gui/values.h"
#include "script/host/strings_object.h"

namespace gui {

using namespace engine;

namespace {

int32_t charsBefore(const std::string& text, int32_t byteOffset) {
  return int32_t(rt::utf8::charIndex(text, size_t(std::clamp<int32_t>(byteOffset, 0, int32_t(text.size())))));
}

int32_t bytesOf(const std::string& text, int32_t charIndex) {
  return int32_t(rt::utf8::byteOffset(text, size_t(std::max(charIndex, 0))));
}

}  // namespace

// ---- edit ----

const rt::ClassInfo& TJVCLBaseEdit::StaticClassInfo() {
  using T = TJVCLBaseEdit;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseEdit", &TJVCLWinControl::StaticClassInfo())
                                         .property("CanUndo", &T::GetCanUndo)
                                         .property("Modified", &T::GetModified, &T::SetModified)
                                         .property("SelLength", &T::GetSelLength, &T::SetSelLength)
                                         .property("SelStart", &T::GetSelStart, &T::SetSelStart)
                                         .property("SelText", &T::GetSelText, &T::SetSelText)
                                         .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLEdit, TJVCLBaseEdit)

TJVCLBaseEdit::TJVCLBaseEdit(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLEdit");
}

const rt::ClassInfo& TJVCLBaseEdit::VCLClass() const { return fw::TEdit::StaticClassInfo(); }

void TJVCLBaseEdit::RegistMethods() {
  TJVCLWinControl::RegistMethods();
  RegistMethod("clear", &TJVCLBaseEdit::DoClear);
  RegistMethod("clearSelection", &TJVCLBaseEdit::DoClearSelection);
  RegistMethod("copyToClipboard", &TJVCLBaseEdit::DoCopyToClipboard);
  RegistMethod("cutToClipboard", &TJVCLBaseEdit::DoCutToClipboard);
  RegistMethod("pasteFromClipboard", &TJVCLBaseEdit::DoPasteFromClipboard);
  RegistMethod("undo", &TJVCLBaseEdit::DoUndo);
  RegistMethod("clearUndo", &TJVCLBaseEdit::DoClearUndo);
  RegistMethod("selectAll", &TJVCLBaseEdit::DoSelectAll);
}

void TJVCLBaseEdit::HookEvents() {
  TJVCLWinControl::HookEvents();
  Hook<konChange>(Edit()->OnChange);
}

bool TJVCLBaseEdit::GetCanUndo() const {
  Check();
  return Edit()->CanUndo();
}

bool TJVCLBaseEdit::GetModified() const {
  Check();
  return Edit()->Modified();
}

void TJVCLBaseEdit::SetModified(bool value) {
  Check();
  Edit()->SetModified(value);
}

int32_t TJVCLBaseEdit::GetSelStart() const {
  Check();
  return charsBefore(Edit()->Text(), Edit()->SelStart());
}

void TJVCLBaseEdit::SetSelStart(int32_t start) {
  Check();
  Edit()->SetSelStart(bytesOf(Edit()->Text(), start));
}

int32_t TJVCLBaseEdit::GetSelLength() const {
  Check();
  std::string text = Edit()->Text();
  return charsBefore(text, Edit()->SelStart() + Edit()->SelLength()) - charsBefore(text, Edit()->SelStart());
}

void TJVCLBaseEdit::SetSelLength(int32_t length) {
  Check();
  std::string text = Edit()->Text();
  int32_t startChars = charsBefore(text, Edit()->SelStart());
  Edit()->SetSelLength(bytesOf(text, startChars + std::max(length, 0)) - Edit()->SelStart());
}

std::string TJVCLBaseEdit::GetSelText() const {
  Check();
  return Edit()->SelText();
}

void TJVCLBaseEdit::SetSelText(std::string text) {
  Check();
  Guard([&] { Edit()->SetSelText(text); });
}

void TJVCLBaseEdit::DoClear(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Edit()->Clear(); });
}

void TJVCLBaseEdit::DoClearSelection(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Edit()->ClearSelection(); });
}

void TJVCLBaseEdit::DoCopyToClipboard(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { fw::Clipboard()->SetAsText(Edit()->SelText()); });
}

void TJVCLBaseEdit::DoCutToClipboard(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] {
    fw::Clipboard()->SetAsText(Edit()->SelText());
    Edit()->ClearSelection();
  });
}

void TJVCLBaseEdit::DoPasteFromClipboard(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Edit()->SetSelText(fw::Clipboard()->AsText()); });
}

void TJVCLBaseEdit::DoUndo(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Edit()->Undo(); });
}

void TJVCLBaseEdit::DoClearUndo(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Edit()->ClearUndo(); });
}

void TJVCLBaseEdit::DoSelectAll(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Edit()->SelectAll(); });
}

// ---- memo ----

const rt::ClassInfo& TJVCLBaseMemo::StaticClassInfo() {
  using T = TJVCLBaseMemo;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseMemo", &TJVCLBaseEdit::StaticClassInfo())
                                         .property("lines", &T::GetLines)
                                         .property("caretPos", &T::GetCaretPos)
                                         .property("text", &T::GetText, &T::SetText)
                                         .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLMemo, TJVCLBaseMemo)

TJVCLBaseMemo::TJVCLBaseMemo(TJBaseEngine* engine, TJValueList* param) : TJVCLBaseEdit(engine, param) {
  RegistName("VCLMemo");
}

const rt::ClassInfo& TJVCLBaseMemo::VCLClass() const { return fw::TMemo::StaticClassInfo(); }

TJVCLBaseMemo::~TJVCLBaseMemo() {
  if (auto* lines = dynamic_cast<host::TJBaseStringsObject*>(lines_.get())) lines->SetStrings(nullptr);
}

void TJVCLBaseMemo::CreateObjects() {
  TJVCLBaseEdit::CreateObjects();
  if (!lines_) lines_ = TJRef<TJObject>(host::WrapStrings(Engine(), nullptr));
}

void TJVCLBaseMemo::ReleaseVCL() {
  TJVCLBaseEdit::ReleaseVCL();
  // The lines object never refers to a list freed with the memo.
  if (auto* lines = dynamic_cast<host::TJBaseStringsObject*>(lines_.get())) lines->SetStrings(nullptr);
}

TJObject* TJVCLBaseMemo::GetLines() const {
  Check();
  auto* lines = static_cast<host::TJBaseStringsObject*>(lines_.get());
  lines->SetStrings(Memo()->Lines());
  return lines;
}

void TJVCLBaseMemo::Dispose() {
  if (auto* lines = dynamic_cast<host::TJBaseStringsObject*>(lines_.get())) lines->SetStrings(nullptr);
  lines_.reset();
  caret_.reset();
  TJVCLBaseEdit::Dispose();
}

TJObject* TJVCLBaseMemo::GetCaretPos() const {
  Check();
  const std::string text = Memo()->Text();
  fw::TPoint bytes = Memo()->CaretPos();
  // The column in characters of its line.
  int32_t lineStart = Memo()->SelStart() - bytes.X;
  int32_t column = charsBefore(text, Memo()->SelStart()) - charsBefore(text, lineStart);
  fw::TPoint p{column, bytes.Y};
  if (!caret_) caret_ = TJRef<TJObject>(NewPoint(Engine(), p));
  else SetPoint(caret_.get(), p);
  return caret_.get();
}

std::string TJVCLBaseMemo::GetText() const {
  Check();
  return Memo()->Text();
}

void TJVCLBaseMemo::SetText(std::string text) {
  Check();
  Guard([&] { Memo()->SetText(text); });
}

}  // namespace gui
