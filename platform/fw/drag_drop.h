// Drag and drop with other programs. A TDragDropTarget makes one window control accept files and
// text dropped on it and reports them through its events (positions in the control's client
// coordinates); a TDragDropSource starts a drag of files or of a text out of the program. The
// window system's side is a service the host installs; without it targets register nothing and
// drags do not start.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fw/component.h"
#include "platform/fw/events.h"
#include "platform/fw/strings.h"

namespace fw {

class TWinControl;

using TDragDropFilesEvent = rt::Event<void(TObject* Sender, int32_t X, int32_t Y, TStrings* Files)>;
using TDragDropTextEvent = rt::Event<void(TObject* Sender, int32_t X, int32_t Y, const std::string& Text)>;
using TDragDropOverEvent = rt::Event<void(TObject* Sender, int32_t X, int32_t Y, bool& Accept)>;
const rt::MethodType& DragDropFilesEventType();
const rt::MethodType& DragDropTextEventType();
const rt::MethodType& DragDropOverEventType();

// What a drag carries: files (full names) or a text.
struct TDragData {
  std::vector<std::string> Files;
  std::string Text;
  bool IsFiles = false;
};

// The effect a drag shows over a target.
enum class TDropEffect : uint8_t { None, Copy, Link };

class TDragDropTarget : public TComponent {
  RT_CLASS(TDragDropTarget)
 public:
  explicit TDragDropTarget(TComponent* owner);
  ~TDragDropTarget() override;

  TWinControl* Target() const { return target_; }
  // Registers the control's window for drops (the old target's registration ends). Null ends it.
  void SetTarget(TWinControl* control);

  // From the window system, in the target's client coordinates. DragEnter answers the effect for
  // what is offered (files copy, text links); DragOver asks OnDragDropOver and answers none when
  // it refused; Drop reports files (when at least one) or else text.
  TDropEffect DragEnter(const TDragData& data);
  TDropEffect DragOver(int32_t x, int32_t y);
  void Drop(const TDragData& data, int32_t x, int32_t y);

  void Notification(TComponent* component, TOperation operation) override;

  TDragDropFilesEvent OnDragDropFiles;
  TDragDropTextEvent OnDragDropText;
  TDragDropOverEvent OnDragDropOver;

 private:
  TWinControl* target_ = nullptr;
  TDropEffect effect_ = TDropEffect::None;
};

class TDragDropSource : public TComponent {
  RT_CLASS(TDragDropSource)
 public:
  explicit TDragDropSource(TComponent* owner) : TComponent(owner) {}

  // Drags the files of `folder` that exist (each entry's file-name part within the folder; an
  // empty folder means the folder of the first file). Nothing starts when none exists. True when
  // a drag ran.
  bool DoDragFiles(const std::string& folder, const TStrings& files);
  // Drags the text (offered as a link).
  bool DoDragText(const std::string& text);
};

// The window system's drag and drop.
class IDragDropService {
 public:
  virtual ~IDragDropService() = default;
  // The control's window accepts drops for its target (called again when the window is remade).
  virtual void Register(TWinControl& control) = 0;
  virtual void Revoke(TWinControl& control) = 0;
  // Runs a drag from the program until it drops or is cancelled; true when it dropped.
  virtual bool StartDrag(const TDragData& data, TDropEffect allowed) = 0;
};

IDragDropService* DragDropService();
void SetDragDropService(IDragDropService* service);

// The files DoDragFiles would drag: `folder` (or the first file's folder when empty) joined with
// each entry's file-name part, kept when that file exists, in order.
std::vector<std::string> ExistingDragFiles(const std::string& folder, const std::vector<std::string>& files);

}  // namespace fw
