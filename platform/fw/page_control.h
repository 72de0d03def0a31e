// Page controls: a tab control whose tabs are its pages (tab sheets, its child controls). Each
// page fills the area inside the tabs; only the active page is visible. A page whose TabVisible is
// false keeps its place among the pages but shows no tab. Choosing a tab as the user does asks
// OnChanging and tells OnChange; setting ActivePage or ActivePageIndex from code fires neither
// (the pages' OnHide and OnShow fire in both cases).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fw/tab_control.h"

namespace fw {

class TPageControl;

class TTabSheet : public TWinControl {
  RT_CLASS(TTabSheet)
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return pageControl_; }
  // Moves the sheet into `pageControl`'s pages, at the end (null takes it out).
  void SetPageControl(TPageControl* pageControl);
  // The sheet's place among its page control's pages; -1 without one.
  int32_t PageIndex() const;
  void SetPageIndex(int32_t index);
  // The sheet's place among the tabs shown; -1 when its tab is hidden or it has no page control.
  int32_t TabIndex() const;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t v);
  bool Highlighted() const { return highlighted_; }
  void SetHighlighted(bool v);

  void SetParent(TWinControl* parent) override;

  TNotifyEvent OnHide;
  TNotifyEvent OnShow;

 protected:
  void TextChanged() override;

 private:
  friend class TPageControl;
  // Shows or hides the sheet as its page control makes it active or not.
  void SetActive(bool active);

  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
  int32_t imageIndex_ = -1;
  bool highlighted_ = false;
};

class TPageControl : public TCustomTabControl {
  RT_CLASS(TPageControl)
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int32_t PageCount() const { return int32_t(pages_.size()); }
  // Raises EListError for an index outside 0..PageCount - 1.
  TTabSheet* Pages(int32_t index) const;
  int32_t IndexOfPage(const TTabSheet* page) const;

  TTabSheet* ActivePage() const { return activePage_; }
  // A sheet of another page control is ignored; null makes no page active.
  void SetActivePage(TTabSheet* page);
  // -1 without an active page; an index outside the pages makes none active.
  int32_t ActivePageIndex() const;
  void SetActivePageIndex(int32_t index);

  // The page after (or before) `current`, going round; only pages with a visible tab when
  // `checkTabVisible`. With `current` not a page of this control the search starts from the end
  // (or the start). Null when no page qualifies.
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
  // Activates the next (or previous) page as the user would: OnChanging may refuse.
  void SelectNextPage(bool goForward, bool checkTabVisible = true);

  // Tabs are the pages whose tab is visible.
  int32_t TabIndex() const override;
  int32_t TabCount() const override;
  std::string TabText(int32_t index) const override;
  // The page shown under a tab; null for an index outside the tabs.
  TTabSheet* PageOfTab(int32_t tabIndex) const;
  bool SelectTab(int32_t index) override;

  void Loaded() override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

 protected:
  void TabSelected(int32_t index) override;
  void TabLayoutChanged() override;
  void Resize() override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int32_t index);
  // Sets the active page and shows it, hiding the one before.
  void ChangeActivePage(TTabSheet* page);
  // Places every page in the area inside the tabs.
  void LayoutPages();
  // A sheet's tab appeared, vanished or changed its text.
  void PageTabChanged();

  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
  bool destroying_ = false;
};

}  // namespace fw
