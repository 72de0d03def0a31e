#include "platform/fw/page_control.h"

#include <algorithm>

#include "platform/fw/errors.h"

namespace fw {

// ---- TTabSheet ----

const rt::ClassInfo& TTabSheet::StaticClassInfo() {
  using T = TTabSheet;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TTabSheet", &TWinControl::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TTabSheet(static_cast<TComponent*>(owner)); })
          // The page control places its pages and shows the active one: none of this is stored.
          .property("Left", &TControl::Left, &TControl::SetLeft).notStored()
          .property("Top", &TControl::Top, &TControl::SetTop).notStored()
          .property("Width", &TControl::Width, &TControl::SetWidth).notStored()
          .property("Height", &TControl::Height, &TControl::SetHeight).notStored()
          .property("Visible", &TControl::Visible, &TControl::SetVisible).notStored()
          .property("Caption", &TControl::Caption, &TControl::SetCaption)
          .property("Highlighted", &T::Highlighted, &T::SetHighlighted).defaultValue(false)
          .property("ImageIndex", &T::ImageIndex, &T::SetImageIndex).defaultValue(-1)
          .property("PageIndex", &T::PageIndex, &T::SetPageIndex).notStored()
          .property("TabVisible", &T::TabVisible, &T::SetTabVisible).defaultValue(true)
          .event("OnHide", NotifyEventType(), &T::OnHide)
          .event("OnShow", NotifyEventType(), &T::OnShow)
          .build();
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetBounds(0, 0, 100, 100);
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* parent) {
  auto* pc = dynamic_cast<TPageControl*>(parent);
  TPageControl* old = pageControl_;
  if (old && old != pc) old->RemovePage(this);
  TWinControl::SetParent(parent);
  if (pc && pc != old) pc->InsertPage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) { SetParent(pageControl); }

int32_t TTabSheet::PageIndex() const { return pageControl_ ? pageControl_->IndexOfPage(this) : -1; }

void TTabSheet::SetPageIndex(int32_t index) {
  if (pageControl_) pageControl_->MovePage(this, index);
}

int32_t TTabSheet::TabIndex() const {
  if (!pageControl_ || !tabVisible_) return -1;
  int32_t tab = 0;
  for (TTabSheet* p : pageControl_->pages_) {
    if (p == this) return tab;
    if (p->tabVisible_) ++tab;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool v) {
  if (v == tabVisible_) return;
  tabVisible_ = v;
  if (pageControl_) pageControl_->PageTabChanged();
}

void TTabSheet::SetImageIndex(int32_t v) {
  imageIndex_ = v;
  if (pageControl_) pageControl_->PeerChanged(TPeerChange::Content);
}

void TTabSheet::SetHighlighted(bool v) {
  highlighted_ = v;
  if (pageControl_) pageControl_->PeerChanged(TPeerChange::Content);
}

void TTabSheet::TextChanged() {
  TWinControl::TextChanged();
  if (pageControl_) pageControl_->PageTabChanged();
}

void TTabSheet::SetActive(bool active) {
  if (active == Visible()) return;
  auto alive = LivenessToken();
  SetVisible(active);
  if (alive.expired()) return;
  if (active) {
    if (OnShow) OnShow(this);
  } else if (OnHide) {
    OnHide(this);
  }
}

// ---- TPageControl ----

const rt::ClassInfo& TPageControl::StaticClassInfo() {
  using T = TPageControl;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TPageControl", &TCustomTabControl::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TPageControl(static_cast<TComponent*>(owner)); })
          .property("ActivePage", &T::ActivePage, &T::SetActivePage)
          .build();
  return info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
  // The pages go with the window (as its child controls); they no longer belong to it.
  destroying_ = true;
  for (TTabSheet* p : pages_) p->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

TTabSheet* TPageControl::Pages(int32_t index) const {
  if (index < 0 || index >= PageCount()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  return pages_[size_t(index)];
}

int32_t TPageControl::IndexOfPage(const TTabSheet* page) const {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  return it == pages_.end() ? -1 : int32_t(it - pages_.begin());
}

void TPageControl::InsertPage(TTabSheet* page) {
  if (IndexOfPage(page) >= 0) return;
  pages_.push_back(page);
  page->pageControl_ = this;
  if (page != activePage_ && !HasState(csLoading)) page->SetVisible(false);
  LayoutPages();
  PageTabChanged();
  // The first page of a control without an active page becomes the active one (not while a
  // description is read: its ActivePage says which).
  if (!activePage_ && !HasState(csLoading)) ChangeActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
  const int32_t index = IndexOfPage(page);
  if (index < 0) return;
  // The next page with a tab (going round) shows in place of an active page that leaves.
  TTabSheet* next = FindNextPage(page, true, true);
  if (next == page) next = nullptr;
  page->pageControl_ = nullptr;
  pages_.erase(pages_.begin() + index);
  if (page == activePage_) {
    activePage_ = nullptr;
    if (!destroying_ && !HasState(csDestroying)) ChangeActivePage(next);
  }
  if (!destroying_ && !HasState(csDestroying)) PageTabChanged();
}

void TPageControl::MovePage(TTabSheet* page, int32_t index) {
  const int32_t from = IndexOfPage(page);
  if (from < 0) return;
  index = std::clamp(index, 0, PageCount() - 1);
  if (index == from) return;
  pages_.erase(pages_.begin() + from);
  pages_.insert(pages_.begin() + index, page);
  PageTabChanged();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->PageControl() != this) return;  // a sheet of another page control
  if (HasState(csLoading)) {
    // Shown once the description is read (Loaded).
    activePage_ = page;
    return;
  }
  ChangeActivePage(page);
}

int32_t TPageControl::ActivePageIndex() const { return activePage_ ? IndexOfPage(activePage_) : -1; }

void TPageControl::SetActivePageIndex(int32_t index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[size_t(index)] : nullptr);
}

void TPageControl::ChangeActivePage(TTabSheet* page) {
  if (page == activePage_ && (!page || page->Visible())) return;
  TTabSheet* old = activePage_;
  activePage_ = page;
  auto alive = LivenessToken();
  if (page) LayoutPages();
  // The new page shows before the old one hides, so the area is never empty.
  if (page) page->SetActive(true);
  if (alive.expired()) return;
  if (old && old != page && old->pageControl_ == this) old->SetActive(false);
  if (alive.expired()) return;
  PeerChanged(TPeerChange::State);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
  const int32_t count = PageCount();
  if (count == 0) return nullptr;
  int32_t start = IndexOfPage(current);
  if (start < 0) start = goForward ? count - 1 : 0;
  int32_t i = start;
  do {
    i = goForward ? (i + 1) % count : (i + count - 1) % count;
    TTabSheet* page = pages_[size_t(i)];
    if (!checkTabVisible || page->TabVisible()) return page;
  } while (i != start);
  return nullptr;
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
  TTabSheet* page = FindNextPage(activePage_, goForward, checkTabVisible);
  if (!page || page == activePage_) return;
  auto alive = LivenessToken();
  if (!CanChange() || alive.expired()) return;
  if (page->PageControl() != this) return;  // the handler moved it away
  ChangeActivePage(page);
  if (alive.expired()) return;
  Change();
}

int32_t TPageControl::TabIndex() const { return activePage_ ? activePage_->TabIndex() : -1; }

int32_t TPageControl::TabCount() const {
  return int32_t(std::count_if(pages_.begin(), pages_.end(), [](TTabSheet* p) { return p->TabVisible(); }));
}

TTabSheet* TPageControl::PageOfTab(int32_t tabIndex) const {
  if (tabIndex < 0) return nullptr;
  for (TTabSheet* p : pages_)
    if (p->TabVisible() && tabIndex-- == 0) return p;
  return nullptr;
}

std::string TPageControl::TabText(int32_t index) const {
  TTabSheet* p = PageOfTab(index);
  return p ? p->Caption() : std::string();
}

bool TPageControl::SelectTab(int32_t index) {
  if (!PageOfTab(index)) return false;
  return TCustomTabControl::SelectTab(index);
}

void TPageControl::TabSelected(int32_t index) {
  if (TTabSheet* page = PageOfTab(index)) ChangeActivePage(page);
}

void TPageControl::PageTabChanged() {
  TabsChanged();  // re-lays the tabs out (and the pages with them)
}

void TPageControl::TabLayoutChanged() { LayoutPages(); }

void TPageControl::Resize() {
  LayoutPages();
  TCustomTabControl::Resize();
}

void TPageControl::LayoutPages() {
  if (HasState(csLoading) || destroying_) return;
  const TRect r = DisplayRect();
  for (TTabSheet* p : std::vector<TTabSheet*>(pages_)) p->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  LayoutPages();
  TTabSheet* page = activePage_;
  if (page && page->PageControl() != this) page = nullptr;
  if (!page && !pages_.empty()) page = pages_.front();
  activePage_ = nullptr;
  for (TTabSheet* p : pages_) p->SetVisible(false);
  ChangeActivePage(page);
}

void TPageControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  // The pages in page order, then any other child control.
  for (TTabSheet* p : std::vector<TTabSheet*>(pages_))
    if (p->Owner() == root) proc(p);
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!dynamic_cast<TTabSheet*>(c) && c->Owner() == root) proc(c);
  }
}

}  // namespace fw
