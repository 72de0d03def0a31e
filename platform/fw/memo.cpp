#include "platform/fw/memo.h"

#include "platform/fw/errors.h"
#include "platform/fw/keys.h"
#include "platform/rt/persistent.h"

namespace fw {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

namespace {

std::string joinLines(const std::vector<std::string>& lines) {
  std::string s;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) s += "\r\n";
    s += lines[i];
  }
  return s;
}

}  // namespace

// ---- TMemoStrings ----

const rt::ClassInfo& TMemoStrings::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TMemoStrings>("TMemoStrings", &TStrings::StaticClassInfo()).build();
  return info;
}

int TMemoStrings::Count() const { return int(SplitLines(memo_.GetText()).size()); }

std::string TMemoStrings::Get(int index) const {
  auto lines = SplitLines(memo_.GetText());
  if (index < 0 || index >= int(lines.size())) IndexError(index);
  return lines[index];
}

void TMemoStrings::Put(int index, const std::string& s) {
  auto lines = SplitLines(memo_.GetText());
  if (index < 0 || index >= int(lines.size())) IndexError(index);
  lines[index] = s;
  memo_.SetText(joinLines(lines));
}

void TMemoStrings::Insert(int index, const std::string& s) {
  const std::string text = memo_.GetText();
  auto lines = SplitLines(text);
  if (index < 0 || index > int(lines.size())) IndexError(index);
  lines.insert(lines.begin() + index, s);
  memo_.SetText(joinLines(lines));
}

void TMemoStrings::Delete(int index) {
  auto lines = SplitLines(memo_.GetText());
  if (index < 0 || index >= int(lines.size())) IndexError(index);
  lines.erase(lines.begin() + index);
  memo_.SetText(joinLines(lines));
}

void TMemoStrings::Clear() { memo_.SetText(""); }

void TMemoStrings::SetText(std::string_view text) { memo_.SetText(std::string(text)); }

TPersistent* TMemoStrings::GetOwner() const { return &memo_; }

// ---- TCustomMemo ----

const rt::ClassInfo& TCustomMemo::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TCustomMemo>("TCustomMemo", &TCustomEdit::StaticClassInfo())
          .property("Alignment", &TCustomMemo::Alignment, &TCustomMemo::SetAlignment).defaultValue(taLeftJustify)
          .property("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines)
          .property("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars).defaultValue(ssNone)
          .property("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns).defaultValue(true)
          .property("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs).defaultValue(false)
          .property("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap).defaultValue(true)
          .build();
  return info;
}

const rt::ClassInfo& TMemo::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TMemo>("TMemo", &TCustomMemo::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TMemo(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(new TMemoStrings(*this)) {
  SetAutoSize(false);
  SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetAlignment(TAlignment a) {
  alignment_ = a;
  PeerChanged(TPeerChange::State);
}

void TCustomMemo::SetScrollBars(TScrollStyle s) {
  scrollBars_ = s;
  PeerChanged(TPeerChange::State);
}

void TCustomMemo::SetWordWrap(bool v) {
  wordWrap_ = v;
  PeerChanged(TPeerChange::State);
}

TPoint TCustomMemo::CaretPos() const {
  const std::string text = GetText();
  int32_t pos = std::min<int32_t>(SelStart(), int32_t(text.size()));
  int32_t line = 0, lineStart = 0;
  for (int32_t i = 0; i < pos; ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < pos && text[i + 1] == '\n') ++i;
      ++line;
      lineStart = i + 1;
    }
  }
  return {pos - lineStart, line};
}

bool TCustomMemo::WantsKey(uint16_t key) const {
  return (key == VK_RETURN && wantReturns_) || (key == VK_TAB && wantTabs_);
}

}  // namespace fw
