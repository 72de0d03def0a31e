// Status bars: a strip along the bottom of a form, divided into panels laid out left to right,
// each Width wide, the last one reaching to the right edge. With SimplePanel the bar shows
// SimpleText alone instead. A panel whose Style is psOwnerDraw is drawn by OnDrawPanel.
#pragma once

#include <cstdint>
#include <string>

#include "platform/fw/collection.h"
#include "platform/fw/control.h"
#include "platform/fw/events.h"

namespace fw {

FW_ENUM(TStatusPanelStyle, psText, psOwnerDraw)
FW_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)

class TStatusBar;
class TStatusPanels;

class TStatusPanel : public TCollectionItem {
  RT_CLASS(TStatusPanel)
 public:
  explicit TStatusPanel(TCollection* collection);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel v);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode v);
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool v);
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle v);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& v);
  int32_t Width() const { return width_; }
  void SetWidth(int32_t v);

  void Assign(const TPersistent* source) override;
  std::string DisplayName() const override;

 private:
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelBevel bevel_ = pbLowered;
  TBiDiMode biDiMode_ = bdLeftToRight;
  bool parentBiDiMode_ = true;
  TStatusPanelStyle style_ = psText;
  std::string text_;
  int32_t width_ = 50;
};

class TStatusPanels : public TCollection {
  RT_CLASS(TStatusPanels)
 public:
  explicit TStatusPanels(TStatusBar* bar);
  TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TStatusBar* Bar() const { return bar_; }

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TStatusBar* bar_;
};

using TDrawPanelEvent = rt::Event<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;
const rt::MethodType& DrawPanelEventType();

class TStatusBar : public TWinControl {
  RT_CLASS(TStatusBar)
 public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;

  TStatusPanels* Panels() const { return panels_; }
  void SetPanels(TStatusPanels* panels) { panels_->Assign(panels); }
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool v);
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& v);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool v);
  bool AutoHint() const { return autoHint_; }
  void SetAutoHint(bool v);
  bool UseSystemFont() const { return useSystemFont_; }
  void SetUseSystemFont(bool v) { useSystemFont_ = v; }

  // Where the panel stands in the client area (empty for an index outside the panels, and for
  // every panel while SimplePanel hides them).
  TRect PanelRect(int32_t index) const;
  // The panel under a client point; -1 when none.
  int32_t PanelAt(int32_t x, int32_t y) const;
  // An owner-drawn panel needs drawing: OnDrawPanel.
  void DrawPanel(TStatusPanel* panel, const TRect& rect);
  // The hint of the control under the mouse changed (empty: none). OnHint hears it; without a
  // handler (or when the handler declines it) an AutoHint bar shows it in place of its text,
  // leaving the stored texts alone. True when the bar took it.
  bool ExecuteHint(const std::string& hint);
  // Called by an OnHint handler that leaves the hint to the bar after all.
  void DeclineHint() { hintDeclined_ = true; }
  // The hint an AutoHint bar shows now (empty when none).
  const std::string& ShownHint() const { return shownHint_; }

  TDrawPanelEvent OnDrawPanel;
  TNotifyEvent OnHint;

 private:
  friend class TStatusPanels;
  void PanelsChanged() { PeerChanged(TPeerChange::Content); }

  TStatusPanels* panels_;
  bool simplePanel_ = false;
  std::string simpleText_;
  bool sizeGrip_ = true;
  bool autoHint_ = false;
  bool useSystemFont_ = true;
  std::string shownHint_;
  bool hintDeclined_ = false;
};

}  // namespace fw
