#include "platform/fw/strings.h"

#include <algorithm>

#include "platform/fw/errors.h"
#include "platform/fw/reader.h"
#include "platform/fw/stream.h"
#include "platform/fw/writer.h"
#include "platform/rt/utf8.h"

namespace fw {

// --- TStrings ---

const rt::ClassInfo& TStrings::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TStrings>("TStrings", &TPersistent::StaticClassInfo()).build();
  return info;
}

TStrings::~TStrings() { alive_.reset(); }

std::weak_ptr<const void> TStrings::LivenessToken() const {
  if (!alive_) alive_ = std::make_shared<int>(0);
  return alive_;
}

void TStrings::IndexError(int index) const { raise<EStringListError>(msg::ListIndexError, {std::to_string(index)}); }

void TStrings::Put(int index, const std::string& s) {
  TObject* object = GetObject(index);
  BeginUpdate();
  try {
    Delete(index);
    InsertObject(index, s, object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& s) {
  int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const std::string& s, TObject* object) {
  int index = Add(s);
  PutObject(index, object);
  return index;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* object) {
  Insert(index, s);
  PutObject(index, object);
}

void TStrings::AddStrings(const TStrings& strings) {
  BeginUpdate();
  try {
    for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Exchange(int index1, int index2) {
  BeginUpdate();
  try {
    std::string s = Get(index1);
    TObject* o = GetObject(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, s);
    PutObject(index2, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  BeginUpdate();
  try {
    std::string s = Get(curIndex);
    TObject* o = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const {
  for (int i = 0; i < Count(); ++i)
    if (rt::sameText(Get(i), s)) return i;
  return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    size_t eq = s.find('=');
    if (eq != std::string::npos && rt::sameText(std::string_view(s).substr(0, eq), name)) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

std::string TStrings::Text() const {
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    out += Get(i);
    out += "\r\n";
  }
  return out;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = text.find_first_of("\r\n", pos);
      if (end == std::string_view::npos) {
        Add(std::string(text.substr(pos)));
        break;
      }
      Add(std::string(text.substr(pos, end - pos)));
      pos = end + 1;
      if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::DelimitedText() const {
  if (Count() == 1 && Get(0).empty()) return std::string(2, QuoteChar);
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    bool quote = false;
    for (char c : s)
      if (uint8_t(c) <= ' ' || c == QuoteChar || c == Delimiter) {
        quote = true;
        break;
      }
    if (quote) {
      std::string q(1, QuoteChar);
      for (char c : s) {
        q += c;
        if (c == QuoteChar) q += c;
      }
      q += QuoteChar;
      s = q;
    }
    if (i > 0) out += Delimiter;
    out += s;
  }
  return out;
}

void TStrings::SetDelimitedText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    size_t p = 0;
    auto blank = [&](size_t i) { return i < text.size() && uint8_t(text[i]) >= 1 && uint8_t(text[i]) <= ' '; };
    while (blank(p)) ++p;
    while (p < text.size()) {
      std::string s;
      if (text[p] == QuoteChar) {
        ++p;
        while (p < text.size()) {
          if (text[p] == QuoteChar) {
            if (p + 1 < text.size() && text[p + 1] == QuoteChar) {
              s += QuoteChar;
              p += 2;
              continue;
            }
            ++p;
            break;
          }
          s += text[p++];
        }
      } else {
        size_t start = p;
        while (p < text.size() && uint8_t(text[p]) > ' ' && text[p] != Delimiter) ++p;
        s = std::string(text.substr(start, p - start));
      }
      Add(s);
      while (blank(p)) ++p;
      if (p < text.size() && text[p] == Delimiter) {
        if (p + 1 >= text.size()) Add("");
        do {
          ++p;
        } while (blank(p));
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  TStrings* self = const_cast<TStrings*>(this);
  char d = self->Delimiter, q = self->QuoteChar;
  self->Delimiter = ',';
  self->QuoteChar = '"';
  std::string s = DelimitedText();
  self->Delimiter = d;
  self->QuoteChar = q;
  return s;
}

void TStrings::SetCommaText(std::string_view text) {
  char d = Delimiter, q = QuoteChar;
  Delimiter = ',';
  QuoteChar = '"';
  try {
    SetDelimitedText(text);
  } catch (...) {
    Delimiter = d;
    QuoteChar = q;
    throw;
  }
  Delimiter = d;
  QuoteChar = q;
}

std::string TStrings::Names(int index) const {
  std::string s = Get(index);
  size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Values(std::string_view name) const {
  int i = IndexOfName(name);
  if (i < 0) return {};
  std::string s = Get(i);
  return s.substr(s.find('=') + 1);
}

std::string TStrings::ValueFromIndex(int index) const {
  std::string s = Get(index);
  size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

void TStrings::SetValue(std::string_view name, const std::string& value) {
  int i = IndexOfName(name);
  if (!value.empty()) {
    std::string line = std::string(name) + "=" + value;
    if (i < 0) {
      Add(line);
    } else {
      Put(i, line);
    }
  } else if (i >= 0) {
    Delete(i);
  }
}

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::LoadFromStream(TStream& stream) { SetText(stream.ReadRest()); }

void TStrings::SaveToStream(TStream& stream) const {
  std::string text = Text();
  stream.WriteBuffer(text.data(), int64_t(text.size()));
}

void TStrings::LoadFromFile(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(f);
}

void TStrings::SaveToFile(const std::string& fileName) const {
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
}

void TStrings::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TStrings*>(source)) {
    if (other == this) return;
    BeginUpdate();
    try {
      Clear();
      AddStrings(*other);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TStrings::DefineProperties(TFiler& filer) {
  filer.DefineProperty(
      "Strings",
      [this](TReader& r) {
        r.ReadListBegin();
        BeginUpdate();
        try {
          Clear();
          while (!r.EndOfList()) Add(r.ReadString());
        } catch (...) {
          EndUpdate();
          throw;
        }
        EndUpdate();
        r.ReadListEnd();
      },
      [this](TWriter& w) {
        w.WriteListBegin();
        for (int i = 0; i < Count(); ++i) w.WriteString(Get(i));
        w.WriteListEnd();
      },
      Count() > 0);
}

// --- TStringList ---

const rt::ClassInfo& TStringList::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TStringList>("TStringList", &TStrings::StaticClassInfo())
          .create([](TPersistent*) -> TPersistent* { return new TStringList; })
          .build();
  return info;
}

TStringList::~TStringList() {
  OnChange = {};
  OnChanging = {};
}

std::string TStringList::Get(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[size_t(index)].text;
}

void TStringList::Put(int index, const std::string& s) {
  if (sorted_) raise<EStringListError>(msg::SortedListError);
  if (index < 0 || index >= Count()) IndexError(index);
  Changing();
  items_[size_t(index)].text = s;
  Changed();
}

TObject* TStringList::GetObject(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[size_t(index)].object;
}

void TStringList::PutObject(int index, TObject* object) {
  if (index < 0 || index >= Count()) IndexError(index);
  Changing();
  items_[size_t(index)].object = object;
  Changed();
}

void TStringList::Insert(int index, const std::string& s) {
  if (sorted_) raise<EStringListError>(msg::SortedListError);
  if (index < 0 || index > Count()) IndexError(index);
  InsertItem(index, s, nullptr);
}

void TStringList::InsertItem(int index, const std::string& s, TObject* object) {
  Changing();
  items_.insert(items_.begin() + index, Item{s, object});
  Changed();
}

int TStringList::Add(const std::string& s) {
  int index;
  if (!sorted_) {
    index = Count();
  } else if (Find(s, index)) {
    switch (duplicates_) {
      case dupIgnore: return index;
      case dupError: raise<EStringListError>(msg::DuplicateString);
      case dupAccept: break;
    }
  }
  InsertItem(index, s, nullptr);
  return index;
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) IndexError(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  if (index1 < 0 || index1 >= Count()) IndexError(index1);
  if (index2 < 0 || index2 >= Count()) IndexError(index2);
  Changing();
  std::swap(items_[size_t(index1)], items_[size_t(index2)]);
  Changed();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
  if (caseSensitive_) return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
  return rt::compareText(a, b);
}

int TStringList::IndexOf(std::string_view s) const {
  if (!sorted_) {
    for (int i = 0; i < Count(); ++i)
      if (CompareStrings(items_[size_t(i)].text, s) == 0) return i;
    return -1;
  }
  int index;
  return Find(s, index) ? index : -1;
}

bool TStringList::Find(std::string_view s, int& index) const {
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareStrings(items_[size_t(mid)].text, s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != dupAccept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

void TStringList::QuickSort(int lo, int hi, const TStringListSortCompare& compare) {
  while (lo < hi) {
    int i = lo, j = hi, p = (lo + hi) / 2;
    do {
      while (compare(*this, i, p) < 0) ++i;
      while (compare(*this, j, p) > 0) --j;
      if (i <= j) {
        std::swap(items_[size_t(i)], items_[size_t(j)]);
        if (p == i) {
          p = j;
        } else if (p == j) {
          p = i;
        }
        ++i;
        --j;
      }
    } while (i <= j);
    if (lo < j) QuickSort(lo, j, compare);
    lo = i;
  }
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (Count() <= 1) return;
  Changing();
  QuickSort(0, Count() - 1, compare);
  Changed();
}

void TStringList::Sort() {
  CustomSort([](TStringList& list, int a, int b) {
    return list.CompareStrings(list.items_[size_t(a)].text, list.items_[size_t(b)].text);
  });
}

void TStringList::SetSorted(bool sorted) {
  if (sorted_ == sorted) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool value) {
  if (caseSensitive_ == value) return;
  caseSensitive_ = value;
  if (sorted_) Sort();
}

void TStringList::SetUpdateState(bool updating) {
  updating_ = updating;
  if (updating) {
    Changing();
  } else {
    Changed();
  }
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

}  // namespace fw
