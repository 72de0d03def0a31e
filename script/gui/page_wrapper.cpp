#include "script/gui/page_wrapper.h"

#include "script/gui/caster.h"

namespace gui {

using namespace engine;

const rt::ClassInfo& TJVCLBasePageControl::StaticClassInfo() {
  using T = TJVCLBasePageControl;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TJVCLBasePageControl", &TJVCLBaseTabControl::StaticClassInfo())
          .property("tabs", &T::GetNoTabs)
          .property("ActivePageIndex", &T::GetActivePageIndex, &T::SetActivePageIndex)
          .property("PageCount", &T::GetPageCount)
          .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLPageControl, TJVCLBasePageControl)

const rt::ClassInfo& TJVCLBaseTabSheet::StaticClassInfo() {
  using T = TJVCLBaseTabSheet;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseTabSheet", &TJVCLWinControl::StaticClassInfo())
                                         .property("PageControl", &T::GetPageControl, &T::SetPageControl)
                                         .property("TabIndex", &T::GetTabIndex)
                                         .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLTabSheet, TJVCLBaseTabSheet)

// ---- page control ----

TJVCLBasePageControl::TJVCLBasePageControl(TJBaseEngine* engine, TJValueList* param)
    : TJVCLBaseTabControl(engine, param) {
  RegistName("VCLPageControl");
}

const rt::ClassInfo& TJVCLBasePageControl::VCLClass() const { return fw::TPageControl::StaticClassInfo(); }

void TJVCLBasePageControl::RegistMethods() {
  TJVCLBaseTabControl::RegistMethods();
  RegistMethod("findNextPage", &TJVCLBasePageControl::DoFindNextPage);
  RegistMethod("selectNextPage", &TJVCLBasePageControl::DoSelectNextPage);
  RegistMethod("pages", &TJVCLBasePageControl::DoPages);
}

int32_t TJVCLBasePageControl::GetCount() {
  CheckVCL(nullptr, 0);
  return PageControl()->PageCount();
}

void TJVCLBasePageControl::GetItem(int32_t index, TJValue& value) {
  CheckVCL(nullptr, 0);
  fw::TPageControl* pc = PageControl();
  if (index < 0 || index >= pc->PageCount()) return;
  Guard([&] {
    TJObject* wrapper = GetCaster().Cast(pc->Pages(index), Engine());
    if (wrapper) value.SetObject(wrapper); else value.SetNull();
  });
}

void TJVCLBasePageControl::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  int32_t index = 0;
  if (!bracketAccess || !TextToInteger(name, index)) {
    TJVCLBaseTabControl::GetMember(name, bracketAccess, param, value);
    return;
  }
  TJKeepAlive keep(this);
  value.Clear();
  GetItem(index, value);
}

int32_t TJVCLBasePageControl::GetActivePageIndex() const {
  Check();
  return PageControl()->ActivePageIndex();
}

void TJVCLBasePageControl::SetActivePageIndex(int32_t index) {
  Check();
  const_cast<TJVCLBasePageControl*>(this)->Guard([&] { PageControl()->SetActivePageIndex(index); });
}

int32_t TJVCLBasePageControl::GetPageCount() const {
  Check();
  return PageControl()->PageCount();
}

TJObject* TJVCLBasePageControl::GetNoTabs() const {
  Check();
  const_cast<TJVCLBasePageControl*>(this)->RaiseVCLError("tabs not available");
  return nullptr;
}

void TJVCLBasePageControl::DoFindNextPage(TJValueList* args, TJValue& result) {
  CheckVCL(args, 3);
  result.SetNull();
  auto* current = dynamic_cast<TJVCLBaseTabSheet*>((*args)[0].vObject());
  fw::TTabSheet* page = current && current->HasVCL() ? current->Sheet() : nullptr;
  const bool goForward = AsBool(&(*args)[1]);
  const bool checkTabVisible = AsBool(&(*args)[2]);
  Guard([&] {
    if (fw::TTabSheet* found = PageControl()->FindNextPage(page, goForward, checkTabVisible))
      if (TJObject* wrapper = GetCaster().Cast(found, Engine())) result.SetObject(wrapper);
  });
}

void TJVCLBasePageControl::DoSelectNextPage(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  const bool goForward = AsBool(&(*args)[0]);
  Guard([&] { PageControl()->SelectNextPage(goForward, true); });
}

void TJVCLBasePageControl::DoPages(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.Clear();
  GetItem(AsInteger(&(*args)[0]), result);
}

// ---- tab sheet ----

TJVCLBaseTabSheet::TJVCLBaseTabSheet(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLTabSheet");
}

const rt::ClassInfo& TJVCLBaseTabSheet::VCLClass() const { return fw::TTabSheet::StaticClassInfo(); }

void TJVCLBaseTabSheet::HookEvents() {
  TJVCLComponent::HookEvents();
  HookControlEvents(false, false);
  fw::TTabSheet* s = Sheet();
  Hook<konEnter>(s->OnEnter);
  Hook<konExit>(s->OnExit);
  Hook<konResize>(s->OnResize);
  Hook<konHide>(s->OnHide);
  Hook<konShow>(s->OnShow);
}

TJVCLPersistent* TJVCLBaseTabSheet::GetPageControl() const {
  Check();
  if (fw::TPageControl* pc = Sheet()->PageControl())
    return dynamic_cast<TJVCLPersistent*>(GetCaster().Cast(pc, Engine()));
  // A sheet on no page control: a page-control wrapper bound to nothing ("VCL is null" on use).
  return TJObject::Create<TJVCLBasePageControl>(Engine(), nullptr, true);
}

void TJVCLBaseTabSheet::SetPageControl(TJVCLPersistent* pageControl) {
  Check();
  auto* pc = dynamic_cast<TJVCLBasePageControl*>(pageControl);
  if (!pc || !pc->HasVCL()) return;
  const_cast<TJVCLBaseTabSheet*>(this)->Guard([&] { Sheet()->SetPageControl(pc->PageControl()); });
}

int32_t TJVCLBaseTabSheet::GetTabIndex() const {
  Check();
  return Sheet()->TabIndex();
}

}  // namespace gui
