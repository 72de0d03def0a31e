// Page controls and their tab sheets seen from scripts. A page control is array-like over its
// pages: indexing it, "pages"(i) and iteration give the pages' wrappers. Every page and page
// control is wrapped through the caster, so a script that reaches a page by index, through
// "findNextPage" or through a sheet's PageControl holds the same wrapper as everyone else, and
// the handlers it set keep firing.
#pragma once

#include "platform/fw/page_control.h"
#include "script/gui/tab_wrapper.h"

namespace gui {

class TJVCLBasePageControl : public TJVCLBaseTabControl {
  RT_CLASS(TJVCLBasePageControl)
 public:
  TJVCLBasePageControl(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TPageControl* PageControl() const { return static_cast<fw::TPageControl*>(VCL()); }
  void RegistMethods() override;

  static bool IsIndexedClass() { return true; }
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override;
  // The page's wrapper; an index outside the pages leaves the value as it was (undefined).
  void GetItem(int32_t index, engine::TJValue& value) override;
  // A numeric bracket key is an index: page[1] is "pages"(1).
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param,
                 engine::TJValue& value) override;

  // Published.
  int32_t GetActivePageIndex() const;
  void SetActivePageIndex(int32_t index);
  int32_t GetPageCount() const;
  // The tab texts of a page control are its pages' captions: there is no list to hand out.
  engine::TJObject* GetNoTabs() const;

  void DoFindNextPage(engine::TJValueList* args, engine::TJValue& result);
  void DoSelectNextPage(engine::TJValueList* args, engine::TJValue& result);
  void DoPages(engine::TJValueList* args, engine::TJValue& result);

 private:
  void Check() const { const_cast<TJVCLBasePageControl*>(this)->CheckVCL(nullptr, 0); }
};

class TJVCLBaseTabSheet : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseTabSheet)
 public:
  TJVCLBaseTabSheet(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TTabSheet* Sheet() const { return static_cast<fw::TTabSheet*>(VCL()); }
  void HookEvents() override;

  // Published: the sheet's page control (its one wrapper; an unbound page-control wrapper for a
  // sheet without one) and the sheet's place among the tabs shown.
  engine::TJVCLPersistent* GetPageControl() const;
  void SetPageControl(engine::TJVCLPersistent* pageControl);
  int32_t GetTabIndex() const;

 private:
  void Check() const { const_cast<TJVCLBaseTabSheet*>(this)->CheckVCL(nullptr, 0); }
};

BR_GUI_CREATING_CLASS(TJVCLPageControl, TJVCLBasePageControl, fw::TPageControl)
BR_GUI_CREATING_CLASS(TJVCLTabSheet, TJVCLBaseTabSheet, fw::TTabSheet)

}  // namespace gui
