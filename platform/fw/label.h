// Labels: a caption drawn in the label's font, aligned in its box; AutoSize fits the box to the
// text; "&x" marks an accelerator (shown underlined, "&&" is one ampersand) unless
// ShowAccelChar is off.
#pragma once

#include "platform/fw/control.h"

namespace fw {

FW_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)

class TLabel : public TGraphicControl {
  RT_CLASS(TLabel)
 public:
  explicit TLabel(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* c);

  // The caption as shown (accelerator marks taken out).
  std::string DisplayText() const;
  // Fits the size to the caption (when AutoSize; needs the font system).
  void AdjustBounds();

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void TextChanged() override;
  void FontChanged() override;

 private:
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = true;
  TTextLayout layout_ = tlTop;
  bool transparent_ = false, wordWrap_ = false, showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
};

// "&File" -> "File"; "&&" -> "&".
std::string StripAccelChars(std::string_view text);

}  // namespace fw
