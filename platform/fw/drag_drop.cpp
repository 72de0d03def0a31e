#include "platform/fw/drag_drop.h"

#include <filesystem>

#include "platform/fw/control.h"

namespace fw {

namespace {
using P = rt::MethodParam;
IDragDropService* gService = nullptr;
}  // namespace

const rt::MethodType& DragDropFilesEventType() {
  static const rt::MethodType type{"TDragDropFilesEvent",
                                   {P{"Sender", "TObject"}, P{"X", "Integer"}, P{"Y", "Integer"}, P{"Files", "TStrings"}}};
  return type;
}
const rt::MethodType& DragDropTextEventType() {
  static const rt::MethodType type{"TDragDropTextEvent",
                                   {P{"Sender", "TObject"}, P{"X", "Integer"}, P{"Y", "Integer"}, P{"Text", "String"}}};
  return type;
}
const rt::MethodType& DragDropOverEventType() {
  static const rt::MethodType type{
      "TDragDropOverEvent", {P{"Sender", "TObject"}, P{"X", "Integer"}, P{"Y", "Integer"}, P{"Accept", "Boolean", true}}};
  return type;
}

IDragDropService* DragDropService() { return gService; }
void SetDragDropService(IDragDropService* service) { gService = service; }

const rt::ClassInfo& TDragDropTarget::StaticClassInfo() {
  using T = TDragDropTarget;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TDragDropTarget", &TComponent::StaticClassInfo())
                                         .property("Target", &T::Target, &T::SetTarget)
                                         .event("OnDragDropFiles", DragDropFilesEventType(), &T::OnDragDropFiles)
                                         .event("OnDragDropText", DragDropTextEventType(), &T::OnDragDropText)
                                         .event("OnDragDropOver", DragDropOverEventType(), &T::OnDragDropOver)
                                         .create([](rt::TPersistent* owner) -> rt::TPersistent* {
                                           return new T(static_cast<TComponent*>(owner));
                                         })
                                         .build();
  return info;
}

const rt::ClassInfo& TDragDropSource::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TDragDropSource>("TDragDropSource", &TComponent::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TDragDropSource(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TDragDropTarget::TDragDropTarget(TComponent* owner) : TComponent(owner) {}

TDragDropTarget::~TDragDropTarget() { SetTarget(nullptr); }

void TDragDropTarget::SetTarget(TWinControl* control) {
  if (control == target_) return;
  if (TWinControl* old = target_) {
    target_ = nullptr;
    RemoveFreeNotification(old);
    if (old->dropTarget_ == this) old->dropTarget_ = nullptr;
    if (gService) gService->Revoke(*old);
  }
  if (!control) return;
  // One target per window: a control that had another target gives it up.
  if (TDragDropTarget* other = control->dropTarget_) other->SetTarget(nullptr);
  target_ = control;
  control->dropTarget_ = this;
  FreeNotification(control);
  if (gService) gService->Register(*control);
}

void TDragDropTarget::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == target_) {
    target_->dropTarget_ = nullptr;
    target_ = nullptr;
  }
}

TDropEffect TDragDropTarget::DragEnter(const TDragData& data) {
  effect_ = data.IsFiles ? TDropEffect::Copy : TDropEffect::Link;
  return effect_;
}

TDropEffect TDragDropTarget::DragOver(int32_t x, int32_t y) {
  bool accept = true;
  if (OnDragDropOver) OnDragDropOver(target_, x, y, accept);
  return accept ? effect_ : TDropEffect::None;
}

void TDragDropTarget::Drop(const TDragData& data, int32_t x, int32_t y) {
  auto alive = LivenessToken();
  if (data.IsFiles) {
    if (!OnDragDropFiles || data.Files.empty()) return;
    TStringList files;
    for (const std::string& f : data.Files) files.Add(f);
    OnDragDropFiles(target_, x, y, &files);
    return;
  }
  if (OnDragDropText && !alive.expired()) OnDragDropText(target_, x, y, data.Text);
}

std::vector<std::string> ExistingDragFiles(const std::string& folder, const std::vector<std::string>& files) {
  namespace fs = std::filesystem;
  std::vector<std::string> result;
  if (files.empty()) return result;
  fs::path dir = folder.empty() ? fs::path(files.front()).parent_path() : fs::path(folder);
  for (const std::string& entry : files) {
    fs::path name = fs::path(entry).filename();
    if (name.empty()) continue;
    fs::path full = dir / name;
    std::error_code ec;
    if (fs::is_regular_file(full, ec)) result.push_back(full.string());
  }
  return result;
}

bool TDragDropSource::DoDragFiles(const std::string& folder, const TStrings& files) {
  std::vector<std::string> names;
  for (int i = 0; i < files.Count(); ++i) names.push_back(files.Get(i));
  TDragData data;
  data.IsFiles = true;
  data.Files = ExistingDragFiles(folder, names);
  if (data.Files.empty() || !gService) return false;
  return gService->StartDrag(data, TDropEffect::Copy);
}

bool TDragDropSource::DoDragText(const std::string& text) {
  if (!gService) return false;
  TDragData data;
  data.Text = text;
  return gService->StartDrag(data, TDropEffect::Link);
}

}  // namespace fw
