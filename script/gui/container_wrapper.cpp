#include "script/gui/container_wrapper.h"

#include "script/gui/values.h"

namespace gui {

using namespace engine;

#define BR_GUI_BASE_CLASS_INFO(Class, Parent)                                                    \
  const rt::ClassInfo& Class::StaticClassInfo() {                                                \
    static const rt::ClassInfo& info = rt::ClassBuilder<Class>(#Class, &Parent::StaticClassInfo()).build(); \
    return info;                                                                                 \
  }

BR_GUI_BASE_CLASS_INFO(TJVCLBaseGroupBox, TJVCLWinControl)
BR_GUI_BASE_CLASS_INFO(TJVCLBasePanel, TJVCLWinControl)
BR_GUI_BASE_CLASS_INFO(TJVCLBaseSplitter, TJVCLControl)
BR_GUI_BASE_CLASS_INFO(TJVCLBaseImage, TJVCLControl)
BR_GUI_BASE_CLASS_INFO(TJVCLBaseProgressBar, TJVCLWinControl)
BR_GUI_CREATING_CLASS_INFO(TJVCLGroupBox, TJVCLBaseGroupBox)
BR_GUI_CREATING_CLASS_INFO(TJVCLPanel, TJVCLBasePanel)
BR_GUI_CREATING_CLASS_INFO(TJVCLSplitter, TJVCLBaseSplitter)
BR_GUI_CREATING_CLASS_INFO(TJVCLImage, TJVCLBaseImage)
BR_GUI_CREATING_CLASS_INFO(TJVCLProgressBar, TJVCLBaseProgressBar)

namespace {
void clearKeys(fw::TWinControl* c) {
  c->OnKeyDown = {};
  c->OnKeyUp = {};
  c->OnKeyPress = {};
}
}  // namespace

// ---- group box and panel ----

TJVCLBaseGroupBox::TJVCLBaseGroupBox(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLGroupBox");
}

const rt::ClassInfo& TJVCLBaseGroupBox::VCLClass() const { return fw::TGroupBox::StaticClassInfo(); }

void TJVCLBaseGroupBox::HookEvents() {
  TJVCLComponent::HookEvents();
  HookControlEvents(true, true);
  HookWinControlEvents(false);
  // A group box tells its script no keys.
  clearKeys(WinControl());
}

TJVCLBasePanel::TJVCLBasePanel(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLPanel");
}

const rt::ClassInfo& TJVCLBasePanel::VCLClass() const { return fw::TPanel::StaticClassInfo(); }

void TJVCLBasePanel::HookEvents() {
  TJVCLComponent::HookEvents();
  HookControlEvents(true, true);
  HookWinControlEvents(false);
  clearKeys(WinControl());
  fw::TControl* c = Control();
  c->OnCanResize = fw::TCanResizeEvent(&TJVCLControl::HandleCanResize, this);
  Hook<konResize>(c->OnResize);
}

// ---- splitter ----

TJVCLBaseSplitter::TJVCLBaseSplitter(TJBaseEngine* engine, TJValueList* param) : TJVCLControl(engine, param) {
  RegistName("VCLSplitter");
}

const rt::ClassInfo& TJVCLBaseSplitter::VCLClass() const { return fw::TSplitter::StaticClassInfo(); }

void TJVCLBaseSplitter::HookEvents() {
  TJVCLComponent::HookEvents();
  fw::TSplitter* s = Splitter();
  s->OnCanResizeSize = fw::TCanResizeSizeEvent(&HandleCanResize, this);
  Hook<konMoved>(s->OnMoved);
  Hook<konPaint>(s->OnPaint);
}

void TJVCLBaseSplitter::HandleCanResize(void* data, fw::TObject* sender, int32_t& newSize, bool& accept) {
  auto* w = static_cast<TJVCLBaseSplitter*>(data);
  w->Fire("onCanResize", sender, [&](TJValueList& a) {
    a.AddObject(NewNumberBox(w->Engine(), newSize));
    a.AddObject(NewBooleanBox(w->Engine(), accept));
  }, [&](TJValueList& a) {
    newSize = NumberBoxValue(a[1], newSize);
    accept = BooleanBoxValue(a[2], accept);
  });
}

// ---- image ----

TJVCLBaseImage::TJVCLBaseImage(TJBaseEngine* engine, TJValueList* param) : TJVCLControl(engine, param) {
  RegistName("VCLImage");
}

const rt::ClassInfo& TJVCLBaseImage::VCLClass() const { return fw::TImage::StaticClassInfo(); }

void TJVCLBaseImage::HookEvents() {
  TJVCLComponent::HookEvents();
  HookControlEvents(true, true);
  Image()->OnProgress = fw::TProgressEvent(&HandleProgress, this);
}

void TJVCLBaseImage::HandleProgress(void* data, fw::TObject* sender, fw::TProgressStage stage, uint8_t percent,
                                    bool redrawNow, const fw::TRect& rect, const std::string& message) {
  auto* w = static_cast<TJVCLBaseImage*>(data);
  w->Fire("onProgress", sender, [&](TJValueList& a) {
    TJValue v;
    v.SetString(EnumText(stage));
    a.Add(v);
    v.SetInteger(percent);
    a.Add(v);
    v.SetBool(redrawNow);
    a.Add(v);
    a.AddObject(NewRect(w->Engine(), rect));
    v.SetString(message);
    a.Add(v);
  }, [](TJValueList&) {});
}

// ---- progress bar ----

TJVCLBaseProgressBar::TJVCLBaseProgressBar(TJBaseEngine* engine, TJValueList* param)
    : TJVCLWinControl(engine, param) {
  RegistName("VCLProgressBar");
}

const rt::ClassInfo& TJVCLBaseProgressBar::VCLClass() const { return fw::TProgressBar::StaticClassInfo(); }

void TJVCLBaseProgressBar::RegistMethods() {
  TJVCLWinControl::RegistMethods();
  RegistMethod("stepIt", &TJVCLBaseProgressBar::DoStepIt);
  RegistMethod("stepBy", &TJVCLBaseProgressBar::DoStepBy);
}

void TJVCLBaseProgressBar::HookEvents() {
  TJVCLComponent::HookEvents();
  HookControlEvents(false, false);
  HookWinControlEvents(false);
  clearKeys(WinControl());
}

void TJVCLBaseProgressBar::DoStepIt(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Bar()->StepIt(); });
}

void TJVCLBaseProgressBar::DoStepBy(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  const int32_t delta = AsInteger(&(*args)[0]);
  Guard([&] { Bar()->StepBy(delta); });
}

}  // namespace gui
