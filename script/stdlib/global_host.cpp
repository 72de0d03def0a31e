// The global functions that reach the host: message boxes and input dialogs (through the host's
// dialogs), the console flag, the event loop and sleeping.
#include <algorithm>

#include "platform/rt/clock.h"
#include "script/core/engine.h"
#include "script/stdlib/global_natives.h"
#include "script/stdlib/host_ui.h"

namespace stdlib {

using namespace engine;

namespace {

constexpr int kAlertFlags = 48;    // exclamation icon, OK
constexpr int kConfirmFlags = 33;  // question icon, OK and Cancel
constexpr int kMinDialogSize = 200;

const TJValue* Arg(TJValueList* args, int32_t index) { return index < ArgCount(args) ? &(*args)[index] : nullptr; }

// The caption argument, or the application's title when it is missing or empty.
std::string Caption(TJValueList* args, int32_t index) {
  std::string caption = AsString(Arg(args, index));
  return caption.empty() ? HostUI().ApplicationTitle() : caption;
}

// A size argument: 0 (the dialog's own) unless above 0, and then at least the smallest size.
int DialogSize(TJValueList* args, int32_t index) {
  int32_t size = AsInteger(Arg(args, index));
  return size > 0 ? std::max(size, kMinDialogSize) : 0;
}

}  // namespace

// alert(text, caption): a message box with an OK button; answers the Global object.
void DoAlert(TJGlobalObject& self, TJValueList* args, TJValue& result) {
  if (IsParam1(args)) HostUI().MessageBox(AsString(Arg(args, 0)), Caption(args, 1), kAlertFlags);
  result.SetObject(&self);
}

// confirm(text, caption): OK and Cancel; true unless Cancel was chosen.
void DoConfirm(TJGlobalObject&, TJValueList* args, TJValue& result) {
  result.SetBool(HostUI().MessageBox(AsString(Arg(args, 0)), Caption(args, 1), kConfirmFlags) != idCancel);
}

// msgBox(text, flags, caption): the identifier of the chosen button.
void DoMsgBox(TJGlobalObject&, TJValueList* args, TJValue& result) {
  result.SetInteger(HostUI().MessageBox(AsString(Arg(args, 0)), Caption(args, 2), AsInteger(Arg(args, 1))));
}

// prompt(message, default, passwordChar, caption, width): the entered line, null when cancelled.
void DoPrompt(TJGlobalObject&, TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
    return;
  }
  std::string text = AsString(Arg(args, 1));
  int32_t passwordChar = Arg(args, 2) ? AsChar(Arg(args, 2)) : 0;
  if (HostUI().InputLine(AsString(Arg(args, 0)), text, char32_t(uint32_t(passwordChar)), Caption(args, 3),
                         DialogSize(args, 4)))
    result.SetString(text);
  else
    result.SetNull();
}

// textArea(message, text, caption, width, height): the entered text, null when cancelled.
void DoTextArea(TJGlobalObject&, TJValueList* args, TJValue& result) {
  std::string text = AsString(Arg(args, 1));
  if (HostUI().InputText(AsString(Arg(args, 0)), text, Caption(args, 2), DialogSize(args, 3), DialogSize(args, 4)))
    result.SetString(text);
  else
    result.SetNull();
}

void DoIsConsole(TJGlobalObject&, TJValueList*, TJValue& result) { result.SetBool(ConsoleApplication()); }

// eventLoop(): the engine keeps delivering events after the program body, until terminate().
void DoEventLoop(TJGlobalObject& self, TJValueList*, TJValue& result) {
  self.StartEventLoop();
  result.Clear();
}

void DoTerminate(TJGlobalObject& self, TJValueList*, TJValue& result) {
  self.Terminate();
  result.Clear();
}

// doEvents(): one pass of the message loop; false when the loop should stop or without an engine.
void DoDoEvents(TJGlobalObject& self, TJValueList*, TJValue& result) {
  TJEngine* engine = dynamic_cast<TJEngine*>(self.Engine());
  result.SetBool(engine && engine->DoEvents());
}

// sleep(ms): waits that long (nothing for 0 or less); answers the Global object.
void DoSleep(TJGlobalObject& self, TJValueList* args, TJValue& result) {
  int32_t ms = AsInteger(Arg(args, 0));
  if (ms > 0) rt::Sleep(uint32_t(ms));
  result.SetObject(&self);
}

}  // namespace stdlib
