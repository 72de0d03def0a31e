// Tool windows and what is built on them: tool bars holding tool buttons, and cool bars holding
// bands. A tool bar lays its buttons out itself (left to right from Indent, each ButtonWidth wide
// and ButtonHeight high, separators as wide as they are; a new row where a button asks for it with
// Wrap or, with Wrapable, where the next one would pass the right edge), so the bounds the peers
// show are the model's. A tool button's place in its bar is its place among the bar's child
// controls; a description writes the buttons in that order and reads them back in it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/fw/collection.h"
#include "platform/fw/control.h"
#include "platform/fw/events.h"
#include "platform/fw/form.h"

namespace fw {

FW_ENUM(TEdgeBorder, ebLeft, ebTop, ebRight, ebBottom)
FW_SET(TEdgeBorders, TEdgeBorder)
FW_ENUM(TEdgeStyle, esNone, esRaised, esLowered)
FW_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider)
FW_ENUM(TCoolBandMaximize, bmNone, bmClick, bmDblClick)

// The frame shared by tool bars and cool bars: which edges are drawn, and how.
class TToolWindow : public TWinControl {
  RT_CLASS(TToolWindow)
 public:
  explicit TToolWindow(TComponent* owner);

  TEdgeBorders EdgeBorders() const { return edgeBorders_; }
  void SetEdgeBorders(TEdgeBorders v);
  TEdgeStyle EdgeInner() const { return edgeInner_; }
  void SetEdgeInner(TEdgeStyle v);
  TEdgeStyle EdgeOuter() const { return edgeOuter_; }
  void SetEdgeOuter(TEdgeStyle v);
  // Pixels the drawn edges take from each side.
  TRect EdgeMargins() const;
  TRect AlignRect() const override;

 protected:
  virtual void EdgesChanged();

 private:
  TEdgeBorders edgeBorders_{ebLeft, ebTop, ebRight, ebBottom};
  TEdgeStyle edgeInner_ = esRaised, edgeOuter_ = esLowered;
};

class TToolBar;
class TPopupMenu;

class TToolButton : public TGraphicControl {
  RT_CLASS(TToolButton)
 public:
  explicit TToolButton(TComponent* owner);
  ~TToolButton() override;

  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle v);
  // Check buttons stay down after a click. A grouped check button going down raises the other
  // grouped check buttons next to it; one of a group cannot be raised unless AllowAllUp.
  bool Down() const { return down_; }
  void SetDown(bool v);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool v) { grouped_ = v; }
  bool Indeterminate() const { return indeterminate_; }
  void SetIndeterminate(bool v);
  bool Marked() const { return marked_; }
  void SetMarked(bool v);
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t v);
  // Starts a new row after this button.
  bool Wrap() const { return wrap_; }
  void SetWrap(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v) { autoSize_ = v; }
  bool IsSeparator() const { return style_ == tbsSeparator || style_ == tbsDivider; }
  // The menu the bar shows below the button (TrackMenu); cleared when that menu goes.
  TPopupMenu* DropdownMenu() const { return dropdownAlive_.expired() ? nullptr : dropdownMenu_; }
  void SetDropdownMenu(TPopupMenu* menu);
  void Notification(TComponent* component, TOperation operation) override;

  // The bar the button sits on (its parent, when that is a tool bar).
  TToolBar* ToolBar() const;
  // Its place among the bar's buttons; -1 outside a bar.
  int32_t Index() const;

  void SetParent(TWinControl* parent) override;
  void Click() override;

 protected:
  void TextChanged() override;

 private:
  void RaiseGroupOthers();

  TToolButtonStyle style_ = tbsButton;
  bool down_ = false, allowAllUp_ = false, grouped_ = false, indeterminate_ = false, marked_ = false;
  bool wrap_ = false, autoSize_ = false;
  int32_t imageIndex_ = -1;
  TPopupMenu* dropdownMenu_ = nullptr;
  // The menu's own links may drop the free notification the button shares with it (a menu forgets
  // the component that popped it up): whether the menu still lives is told by its token.
  std::weak_ptr<const void> dropdownAlive_;
};

class TToolBar : public TToolWindow {
  RT_CLASS(TToolBar)
 public:
  explicit TToolBar(TComponent* owner);

  int32_t ButtonCount() const;
  // Raises EListError for an index outside 0..ButtonCount - 1.
  TToolButton* Buttons(int32_t index) const;
  int32_t IndexOfButton(const TToolButton* button) const;
  int32_t RowCount() const;

  int32_t ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int32_t v);
  int32_t ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int32_t v);
  int32_t Indent() const { return indent_; }
  void SetIndent(int32_t v);
  bool Wrapable() const { return wrapable_; }
  void SetWrapable(bool v);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool List() const { return list_; }
  void SetList(bool v);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);

  // Shows a button's DropdownMenu below it and answers whether one was shown (false for a button
  // without one, or one on another bar).
  bool TrackMenu(TToolButton* button);

  // Places the buttons (and, with AutoSize, fits the bar's height to the rows).
  void ArrangeButtons();

  void Loaded() override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

 protected:
  void Resize() override;
  void EdgesChanged() override;

 private:
  int32_t Arrange(bool apply);

  int32_t buttonHeight_ = 22, buttonWidth_ = 23, indent_ = 0;
  bool wrapable_ = true, flat_ = false, list_ = false, showCaptions_ = false, autoSize_ = false;
  bool transparent_ = false;
  bool arranging_ = false;
};

class TCoolBar;

// One band of a cool bar: a grip, its text and the control it holds.
class TCoolBand : public TCollectionItem {
  RT_CLASS(TCoolBand)
 public:
  explicit TCoolBand(TCollection* collection);
  ~TCoolBand() override;

  const std::string& Text() const { return text_; }
  void SetText(const std::string& v);
  int32_t Width() const { return width_; }
  void SetWidth(int32_t v);
  int32_t MinWidth() const { return minWidth_; }
  void SetMinWidth(int32_t v);
  int32_t MinHeight() const { return minHeight_; }
  void SetMinHeight(int32_t v);
  // Starts a new row with this band.
  bool Break() const { return break_; }
  void SetBreak(bool v);
  bool FixedSize() const { return fixedSize_; }
  void SetFixedSize(bool v) { fixedSize_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  // The control the band holds; it is moved into the cool bar.
  TWinControl* Control() const { return control_; }
  void SetControl(TWinControl* control);

  TCoolBar* CoolBar() const;
  std::string DisplayName() const override;
  void Assign(const TPersistent* source) override;
  // Where the band lies in the bar (set by the bar's layout).
  TRect BandRect() const { return rect_; }

 private:
  friend class TCoolBar;
  std::string text_;
  int32_t width_ = 100, minWidth_ = 0, minHeight_ = 25;
  bool break_ = true, fixedSize_ = false, visible_ = true;
  TWinControl* control_ = nullptr;
  TRect rect_;
};

class TCoolBands : public TCollection {
  RT_CLASS(TCoolBands)
 public:
  explicit TCoolBands(TCoolBar* bar);
  TCoolBand* Items(int index) const { return static_cast<TCoolBand*>(TCollection::Items(index)); }
  TCoolBand* Add() { return static_cast<TCoolBand*>(TCollection::Add()); }
  // The band holding `control`; null when none does.
  TCoolBand* FindBand(const TControl* control) const;

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TCoolBar* bar_;
};

class TCoolBar : public TToolWindow {
  RT_CLASS(TCoolBar)
 public:
  explicit TCoolBar(TComponent* owner);
  ~TCoolBar() override;

  TCoolBands* Bands() const { return bands_; }
  void SetBands(TCoolBands* bands) { bands_->Assign(bands); }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  TBorderStyle BandBorderStyle() const { return bandBorderStyle_; }
  void SetBandBorderStyle(TBorderStyle v);
  TCoolBandMaximize BandMaximize() const { return bandMaximize_; }
  void SetBandMaximize(TCoolBandMaximize v) { bandMaximize_ = v; }
  bool FixedOrder() const { return fixedOrder_; }
  void SetFixedOrder(bool v) { fixedOrder_ = v; }
  bool FixedSize() const { return fixedSize_; }
  void SetFixedSize(bool v) { fixedSize_ = v; }
  bool ShowText() const { return showText_; }
  void SetShowText(bool v);
  bool Vertical() const { return vertical_; }
  void SetVertical(bool v);

  // Lays the bands out in rows and places their controls.
  void ArrangeBands();
  int32_t RowCount() const;
  // Input from the peer: the user dragged the grip of band `index` by `delta` pixels; the band
  // before it on the row takes the difference (kept at least its MinWidth). OnChange follows.
  bool UserResizeBand(int32_t index, int32_t delta);

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

  TNotifyEvent OnChange;

 protected:
  void Resize() override;
  void EdgesChanged() override { ArrangeBands(); }

 private:
  friend class TCoolBands;
  friend class TCoolBand;
  void BandsChanged();
  int32_t TextExtent(const TCoolBand* band) const;

  TCoolBands* bands_;
  bool autoSize_ = false, fixedOrder_ = false, fixedSize_ = false, showText_ = true, vertical_ = false;
  TBorderStyle bandBorderStyle_ = TBorderStyle::bsSingle;
  TCoolBandMaximize bandMaximize_ = bmClick;
  bool arranging_ = false;
  int32_t rows_ = 0;
};

}  // namespace fw
