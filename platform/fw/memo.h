// Multi-line edits. The memo's text is the truth (lines end with CR LF); Lines is a view of it
// as a string list, so reading a text back gives exactly what was stored.
#pragma once

#include <memory>
#include <string>

#include "platform/fw/edit.h"
#include "platform/fw/strings.h"

namespace fw {

FW_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)

class TCustomMemo;

// The lines of a memo: a string list over the memo's text.
class TMemoStrings : public TStrings {
  RT_CLASS(TMemoStrings)
 public:
  explicit TMemoStrings(TCustomMemo& memo) : memo_(memo) {}

  // A last line that is empty (the text ends with a line break) is not counted.
  int Count() const override;
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  // Sets the memo's text as it is.
  void SetText(std::string_view text) override;
  TPersistent* GetOwner() const override;

 private:
  TCustomMemo& memo_;
};

class TCustomMemo : public TCustomEdit {
  RT_CLASS(TCustomMemo)
 public:
  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override;

  TStrings* Lines() const { return lines_.get(); }
  void SetLines(TStrings* lines) { lines_->Assign(lines); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle s);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool v) { wantReturns_ = v; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool v) { wantTabs_ = v; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  // The caret as a column (byte offset in its line) and a line.
  TPoint CaretPos() const;

  bool WantsKey(uint16_t key) const override;

 private:
  std::unique_ptr<TMemoStrings> lines_;
  TAlignment alignment_ = taLeftJustify;
  TScrollStyle scrollBars_ = ssNone;
  bool wantReturns_ = true, wantTabs_ = false, wordWrap_ = true;

  friend class TMemoStrings;
};

class TMemo : public TCustomMemo {
  RT_CLASS(TMemo)
 public:
  using TCustomMemo::TCustomMemo;
};

// The lines of a text: split at CR LF, LF or CR; an empty last line after a final break is not
// one of them.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace fw
