// Tab controls: a row (or, with MultiLine, rows) of tabs along one edge and the area they frame.
// The control lays its tabs out itself, so what TabRect and IndexOfTabAt answer is what the peer
// draws: every tab is TabHeight high (20 when 0) and TabWidth wide (when 0, wide enough for its
// text); a single row can be scrolled with ScrollTabs. Selecting a tab as the user does asks
// OnChanging first and tells OnChange after; setting TabIndex fires neither.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fw/control.h"
#include "platform/fw/events.h"
#include "platform/fw/strings.h"

namespace fw {

FW_ENUM(TTabPosition, tpTop, tpBottom, tpLeft, tpRight)
FW_ENUM(TTabStyle, tsTabs, tsButtons, tsFlatButtons)
FW_ENUM(THitTest, htAbove, htBelow, htNowhere, htOnItem, htOnButton, htOnIcon, htOnIndent, htOnLabel, htOnRight,
        htOnStateIcon, htToLeft, htToRight)
FW_SET(THitTests, THitTest)

using TTabChangingEvent = rt::Event<void(TObject* Sender, bool& AllowChange)>;
using TTabGetImageEvent = rt::Event<void(TObject* Sender, int32_t TabIndex, int32_t& ImageIndex)>;
const rt::MethodType& TabChangingEventType();
const rt::MethodType& TabGetImageEventType();

class TCustomTabControl : public TWinControl {
  RT_CLASS(TCustomTabControl)
 public:
  explicit TCustomTabControl(TComponent* owner);
  ~TCustomTabControl() override;

  TStrings* Tabs() const { return tabs_; }
  void SetTabs(TStrings* tabs) { tabs_->Assign(tabs); }
  // -1 when no tab is selected; an index outside the tabs leaves the selection as it is.
  virtual int32_t TabIndex() const { return tabIndex_; }
  void SetTabIndex(int32_t index);
  // The tabs shown: the tab texts of a tab control, the visible pages of a page control.
  virtual int32_t TabCount() const { return tabs_->Count(); }
  virtual std::string TabText(int32_t index) const { return tabs_->Get(index); }

  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool v);
  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition v);
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle v);
  int32_t TabHeight() const { return tabHeight_; }
  void SetTabHeight(int32_t v);
  int32_t TabWidth() const { return tabWidth_; }
  void SetTabWidth(int32_t v);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool v) { hotTrack_ = v; }

  // Layout.
  int32_t RowCount() const;
  TRect TabRect(int32_t index) const;
  int32_t IndexOfTabAt(int32_t x, int32_t y) const;
  THitTests GetHitTestInfoAt(int32_t x, int32_t y) const;
  // The client area inside the tabs and the frame.
  TRect DisplayRect() const;
  // Moves the first tab shown of a single row by `delta` (kept within the tabs).
  void ScrollTabs(int32_t delta);
  int32_t FirstTab() const { return firstTab_; }

  // The user picks a tab: OnChanging may refuse; OnChange follows a change. False when refused.
  virtual bool SelectTab(int32_t index);
  // The image of a tab: OnGetImageIndex's answer, the tab's own index without a handler.
  int32_t ImageIndexOf(int32_t tabIndex);

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  TTabGetImageEvent OnGetImageIndex;

 protected:
  virtual bool CanChange();
  virtual void Change();
  void TabsChanged();
  // Makes the tab the selected one (OnChanging allowed it; OnChange follows).
  virtual void TabSelected(int32_t index);
  // The tabs moved, or the band they stand in changed its size.
  virtual void TabLayoutChanged() {}

 private:
  struct Placed {
    TRect rect;
    int32_t row = 0;
  };
  std::vector<Placed> Layout(int32_t* rows) const;
  int32_t TabExtent(int32_t index) const;
  int32_t RowHeight() const { return tabHeight_ > 0 ? tabHeight_ : 20; }
  static void TabsChangedThunk(void* self, TObject*) { static_cast<TCustomTabControl*>(self)->TabsChanged(); }

  TStringList* tabs_;
  int32_t tabIndex_ = -1;
  int32_t firstTab_ = 0;
  bool multiLine_ = false;
  TTabPosition tabPosition_ = tpTop;
  TTabStyle style_ = tsTabs;
  int32_t tabHeight_ = 0;
  int32_t tabWidth_ = 0;
  bool hotTrack_ = false;
};

class TTabControl : public TCustomTabControl {
  RT_CLASS(TTabControl)
 public:
  using TCustomTabControl::TCustomTabControl;
};

}  // namespace fw
