// The form wrapper: the windows scripts make ("new VCLForm(true)" makes the main form, whose
// closing ends the script's event loop), their window operations, their close protocol, form
// descriptions read from and written to files and texts (text or binary form data), and drags of
// files and text out of the form.
#pragma once

#include <memory>
#include <string>

#include "platform/fw/drag_drop.h"
#include "platform/fw/form.h"
#include "platform/fw/stream.h"
#include "script/gui/control_wrapper.h"

namespace gui {

class TJVCLBaseForm : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseForm)
 public:
  TJVCLBaseForm(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJVCLBaseForm() override;

  const rt::ClassInfo& VCLClass() const override;
  fw::TForm* Form() const { return static_cast<fw::TForm*>(VCL()); }

  void RegistMethods() override;
  // A first argument that is a Boolean sets `main`.
  void AfterCreate(engine::TJValueList* param) override;
  void HookEvents() override;
  void Dispose() override;

  // Reads a description (text or binary form data, from the stream's position) into the form and
  // wraps the components it made.
  virtual void LoadFromStream(fw::TStream& stream);
  // Writes the form's description as text.
  virtual void SaveToStream(fw::TStream& stream);

  // Published.
  bool GetMain() const { return main_; }
  void SetMain(bool main) { main_ = main; }
  bool GetActive() const;

  void DoShowModal(engine::TJValueList* args, engine::TJValue& result);
  void DoClose(engine::TJValueList* args, engine::TJValue& result);
  void DoCloseQuery(engine::TJValueList* args, engine::TJValue& result);
  void DoFocusControl(engine::TJValueList* args, engine::TJValue& result);
  void DoHide(engine::TJValueList* args, engine::TJValue& result);
  void DoPrint(engine::TJValueList* args, engine::TJValue& result);
  void DoRelease(engine::TJValueList* args, engine::TJValue& result);
  void DoSendCancelMode(engine::TJValueList* args, engine::TJValue& result);
  void DoSetFocusedControl(engine::TJValueList* args, engine::TJValue& result);
  void DoShow(engine::TJValueList* args, engine::TJValue& result);
  // The child-window arrangements: script forms are never frames of child windows, so these leave
  // everything where it is.
  void DoArrange(engine::TJValueList* args, engine::TJValue& result);
  void DoLoadFromFile(engine::TJValueList* args, engine::TJValue& result);
  void DoSaveToFile(engine::TJValueList* args, engine::TJValue& result);
  void DoLoadFromText(engine::TJValueList* args, engine::TJValue& result);
  void DoSaveToText(engine::TJValueList* args, engine::TJValue& result);
  void DoDragDropFiles(engine::TJValueList* args, engine::TJValue& result);
  void DoDragDropText(engine::TJValueList* args, engine::TJValue& result);

  static void HandleClose(void* self, fw::TObject* sender, fw::TCloseAction& action);
  static void HandleCloseQuery(void* self, fw::TObject* sender, bool& canClose);
  // A help request: the script's "onHelp" gets (command, data, callHelp box) and no sender; the
  // request counts as taken whenever the script has a handler.
  static bool HandleHelp(void* self, uint16_t command, int32_t data, bool& callHelp);

 private:
  fw::TDragDropSource& DragSource();

  bool main_ = false;
  std::unique_ptr<fw::TDragDropSource> dragSource_;
};

// "new VCLForm": an empty form of its own.
class TJVCLForm : public TJVCLBaseForm {
  RT_CLASS(TJVCLForm)
 public:
  using TJVCLBaseForm::TJVCLBaseForm;
  void CreateVCL() override;
};

}  // namespace gui
