#include "script/gui/form_wrapper.h"

#include <charconv>

#include "platform/fw/application.h"
#include "platform/fw/errors.h"
#include "platform/fw/form_text.h"
#include "platform/fw/menus.h"
#include "platform/fw/reader.h"
#include "platform/fw/services.h"
#include "platform/fw/writer.h"
#include "script/core/engine.h"
#include "script/core/global_base.h"
#include "script/core/value_list.h"

namespace gui {

using namespace engine;

const rt::ClassInfo& TJVCLBaseForm::StaticClassInfo() {
  using T = TJVCLBaseForm;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseForm", &TJVCLWinControl::StaticClassInfo())
                                         .property("main", &T::GetMain, &T::SetMain)
                                         .property("Active", &T::GetActive)
                                         .build();
  return info;
}

const rt::ClassInfo& TJVCLForm::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJVCLForm>("TJVCLForm", &TJVCLBaseForm::StaticClassInfo()).build();
  return info;
}

void TJVCLForm::CreateVCL() {
  auto* form = new fw::TForm(nullptr);
  form->AfterConstruction();
  AttachVCL(form, true);
}

TJVCLBaseForm::TJVCLBaseForm(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLForm");
}

TJVCLBaseForm::~TJVCLBaseForm() { dragSource_.reset(); }

const rt::ClassInfo& TJVCLBaseForm::VCLClass() const { return fw::TForm::StaticClassInfo(); }

void TJVCLBaseForm::RegistMethods() {
  TJVCLWinControl::RegistMethods();
  RegistMethod("showModal", &TJVCLBaseForm::DoShowModal);
  RegistMethod("close", &TJVCLBaseForm::DoClose);
  RegistMethod("closeQuery", &TJVCLBaseForm::DoCloseQuery);
  RegistMethod("focusControl", &TJVCLBaseForm::DoFocusControl);
  RegistMethod("hide", &TJVCLBaseForm::DoHide);
  RegistMethod("print", &TJVCLBaseForm::DoPrint);
  RegistMethod("release", &TJVCLBaseForm::DoRelease);
  RegistMethod("sendCancelMode", &TJVCLBaseForm::DoSendCancelMode);
  RegistMethod("setFocusedControl", &TJVCLBaseForm::DoSetFocusedControl);
  RegistMethod("show", &TJVCLBaseForm::DoShow);
  RegistMethod("arrangeIcons", &TJVCLBaseForm::DoArrange);
  RegistMethod("cascade", &TJVCLBaseForm::DoArrange);
  RegistMethod("next", &TJVCLBaseForm::DoArrange);
  RegistMethod("previous", &TJVCLBaseForm::DoArrange);
  RegistMethod("tile", &TJVCLBaseForm::DoArrange);
  RegistMethod("loadFromFile", &TJVCLBaseForm::DoLoadFromFile);
  RegistMethod("saveToFile", &TJVCLBaseForm::DoSaveToFile);
  RegistMethod("loadFromText", &TJVCLBaseForm::DoLoadFromText);
  RegistMethod("saveToText", &TJVCLBaseForm::DoSaveToText);
  RegistMethod("doDragDropFiles", &TJVCLBaseForm::DoDragDropFiles);
  RegistMethod("doDragDropText", &TJVCLBaseForm::DoDragDropText);
}

void TJVCLBaseForm::AfterCreate(TJValueList* param) {
  TJVCLWinControl::AfterCreate(param);
  if (ArgCount(param) >= 1 && (*param)[0].ValueType() == vtBool) main_ = (*param)[0].vBool();
}

void TJVCLBaseForm::HookEvents() {
  TJVCLWinControl::HookEvents();
  fw::TForm* f = Form();
  Hook<konActivate>(f->OnActivate);
  Hook<konCreate>(f->OnCreate);
  Hook<konDeactivate>(f->OnDeactivate);
  f->OnDestroy = fw::TNotifyEvent(&DestroyThunk, static_cast<TJVCLComponent*>(this));
  Hook<konHide>(f->OnHide);
  Hook<konPaint>(f->OnPaint);
  Hook<konResize>(f->OnResize);
  Hook<konShow>(f->OnShow);
  f->OnCanResize = fw::TCanResizeEvent(&HandleCanResize, static_cast<TJVCLControl*>(this));
  f->OnConstrainedResize = fw::TConstrainedResizeEvent(&HandleConstrainedResize, static_cast<TJVCLControl*>(this));
  HookWheelEvents();
  f->OnClose = fw::TCloseEvent(&HandleClose, this);
  f->OnCloseQuery = fw::TCloseQueryEvent(&HandleCloseQuery, this);
  f->OnHelp = fw::THelpEvent(&HandleHelp, this);
}

void TJVCLBaseForm::Dispose() {
  dragSource_.reset();
  TJVCLWinControl::Dispose();
}

bool TJVCLBaseForm::GetActive() const {
  const_cast<TJVCLBaseForm*>(this)->CheckVCL(nullptr, 0);
  return Form()->Active();
}

void TJVCLBaseForm::HandleClose(void* data, fw::TObject* sender, fw::TCloseAction& action) {
  auto* w = static_cast<TJVCLBaseForm*>(data);
  if (w->main_) {
    // The script's event loop ends once this event is over, handler or not.
    if (auto* e = dynamic_cast<TJEngine*>(w->Engine()))
      if (TJGlobalBase* global = e->Global()) global->Terminate();
    // A popup the script's body waits on would go on waiting for a user who has closed the program.
    if (fw::IPopupMenuService* popups = fw::PopupMenuService()) popups->CancelPopups();
    if (fw::IMessagePump* pump = fw::MessagePump()) pump->Wake();
  }
  w->Fire(konClose, sender, [&](TJValueList& a) { a.AddObject(NewStringBox(w->Engine(), EnumText(action))); },
          [&](TJValueList& a) {
            std::string text = StringBoxValue(a[1]);
            int ordinal = -1;
            auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), ordinal);
            if (ec != std::errc() || end != text.data() + text.size())
              ordinal = enumTypeOf(fw::TCloseAction{}).valueOf(text);
            if (ordinal >= fw::caNone && ordinal <= fw::caMinimize) action = fw::TCloseAction(ordinal);
          });
}

void TJVCLBaseForm::HandleCloseQuery(void* data, fw::TObject* sender, bool& canClose) {
  auto* w = static_cast<TJVCLBaseForm*>(data);
  w->Fire("onCloseQuery", sender, [&](TJValueList& a) { a.AddObject(NewBooleanBox(w->Engine(), canClose)); },
          [&](TJValueList& a) { canClose = BooleanBoxValue(a[1], canClose); });
}

bool TJVCLBaseForm::HandleHelp(void* data, uint16_t command, int32_t helpData, bool& callHelp) {
  auto* w = static_cast<TJVCLBaseForm*>(data);
  return w->FireWithoutSender("onHelp", [&](TJValueList& a) {
    a.AddInteger(command);
    a.AddInteger(helpData);
    a.AddObject(NewBooleanBox(w->Engine(), callHelp));
  }, [&](TJValueList& a) { callHelp = BooleanBoxValue(a[2], callHelp); });
}

// ---- natives ----

void TJVCLBaseForm::DoShowModal(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetInteger(0);
  Guard([&] { result.SetInteger(Form()->ShowModal()); });
}

void TJVCLBaseForm::DoClose(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  TJKeepAlive keep(this);
  Guard([&] { Form()->Close(); });
}

void TJVCLBaseForm::DoCloseQuery(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetBool(false);
  Guard([&] { result.SetBool(Form()->CloseQuery()); });
}

void TJVCLBaseForm::DoFocusControl(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  auto* control = ArgCount(args) > 0 ? dynamic_cast<TJVCLWinControl*>((*args)[0].vObject()) : nullptr;
  if (!control || !control->WinControl()) RaiseArgumentsError();
  Guard([&] { Form()->FocusControl(control->WinControl()); });
}

void TJVCLBaseForm::DoHide(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Form()->Hide(); });
}

void TJVCLBaseForm::DoPrint(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  // No printer service exists on this system.
  RaiseVCLError("There is no default printer currently selected");
}

void TJVCLBaseForm::DoRelease(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Form()->Release(); });
}

void TJVCLBaseForm::DoSendCancelMode(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  auto* control = ArgCount(args) > 0 ? dynamic_cast<TJVCLControl*>((*args)[0].vObject()) : nullptr;
  if (!control || !control->Control()) RaiseArgumentsError();
  Guard([&] { Form()->SendCancelMode(control->Control()); });
}

void TJVCLBaseForm::DoSetFocusedControl(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetBool(false);
  auto* control = dynamic_cast<TJVCLWinControl*>((*args)[0].vObject());
  if (!control || !control->WinControl()) RaiseArgumentsError();
  Guard([&] {
    Form()->SetActiveControl(control->WinControl());
    result.SetBool(Form()->ActiveControl() == control->WinControl());
  });
}

void TJVCLBaseForm::DoShow(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Form()->Show(); });
}

void TJVCLBaseForm::DoArrange(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
}

void TJVCLBaseForm::LoadFromStream(fw::TStream& stream) {
  CheckVCL(nullptr, 0);
  fw::TStringStream binary;
  if (fw::TestStreamFormat(stream) == fw::sofBinary) {
    fw::TMemoryStream copy;
    copy.LoadFromStream(stream);
    std::string data(size_t(copy.Size()), '\0');
    copy.SetPosition(0);
    copy.Read(data.data(), int64_t(data.size()));
    binary.WriteString(data);
  } else {
    fw::ObjectTextToBinary(stream, binary);
  }
  binary.SetPosition(0);
  fw::TReader reader(binary);
  // Handler names in a description made for a program's own form mean nothing to a script.
  reader.IgnoreUnknownMethods = true;
  reader.ReadRootComponent(Form());
  UpdateChildren();
}

void TJVCLBaseForm::SaveToStream(fw::TStream& stream) {
  CheckVCL(nullptr, 0);
  fw::TStringStream binary;
  fw::TWriter writer(binary);
  writer.WriteDescendent(Form());
  binary.SetPosition(0);
  fw::ObjectBinaryToText(binary, stream);
}

void TJVCLBaseForm::DoLoadFromFile(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  std::string name = AsString(&(*args)[0]);
  std::string path;
  if (!Engine() || !Engine()->FindImportFile(name, path)) RaiseVCLError("read component error: " + name);
  try {
    fw::TFileStream file(path, fw::fmOpenRead);
    LoadFromStream(file);
  } catch (const EJStatement&) {
    throw;
  } catch (const rt::Exception& e) {
    RaiseVCLError("read component error: " + name);
  }
}

void TJVCLBaseForm::DoSaveToFile(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  std::string name = AsString(&(*args)[0]);
  try {
    fw::TFileStream file(name, fw::fmCreate);
    SaveToStream(file);
  } catch (const EJStatement&) {
    throw;
  } catch (const rt::Exception& e) {
    RaiseVCLError("write component error: " + name);
  }
}

void TJVCLBaseForm::DoLoadFromText(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  fw::TStringStream text(AsString(&(*args)[0]));
  Guard([&] { LoadFromStream(text); });
}

void TJVCLBaseForm::DoSaveToText(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetString("");
  fw::TStringStream text;
  Guard([&] { SaveToStream(text); });
  result.SetString(text.DataString());
}

fw::TDragDropSource& TJVCLBaseForm::DragSource() {
  if (!dragSource_) dragSource_ = std::make_unique<fw::TDragDropSource>(nullptr);
  return *dragSource_;
}

void TJVCLBaseForm::DoDragDropFiles(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  int32_t n = ArgCount(args);
  if (n < 1) RaiseArgumentsError();
  std::string folder = n >= 2 ? AsString(&(*args)[0]) : std::string();
  const TJValue& filesValue = (*args)[n >= 2 ? 1 : 0];
  fw::TStringList files;
  TJObject* object = filesValue.vObject();
  if (object && object->IsIndexed()) {
    for (int32_t i = 0, count = object->GetCount(); i < count; ++i) {
      TJValue item;
      object->GetItem(i, item);
      files.Add(AsString(&item));
    }
  } else {
    files.SetText(AsString(&filesValue));
  }
  Guard([&] { DragSource().DoDragFiles(folder, files); });
}

void TJVCLBaseForm::DoDragDropText(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  if (ArgCount(args) < 1) RaiseArgumentsError();
  std::string text = AsString(&(*args)[0]);
  Guard([&] { DragSource().DoDragText(text); });
}

}  // namespace gui
