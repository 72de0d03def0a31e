// Lists of text lines. TStrings is the interface every line list shares (a memo's lines, a list
// box's items); TStringList keeps its lines itself, optionally sorted. Text joins lines with CR LF;
// reading text accepts CR LF, LF and CR.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fw/events.h"
#include "platform/fw/filer.h"
#include "platform/fw/object.h"

namespace fw {

class TStream;

class TStrings : public TPersistent, public IDefinesProperties {
  RT_CLASS(TStrings)
 public:
  ~TStrings() override;

  virtual int Count() const = 0;
  // Raise EStringListError "List index out of bounds (n)" for a bad index.
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& s);
  virtual TObject* GetObject(int index) const;
  virtual void PutObject(int index, TObject* object);
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual int Add(const std::string& s);
  virtual int IndexOf(std::string_view s) const;

  std::string Strings(int index) const { return Get(index); }
  std::string operator[](int index) const { return Get(index); }
  int AddObject(const std::string& s, TObject* object);
  void InsertObject(int index, const std::string& s, TObject* object);
  void Append(const std::string& s) { Add(s); }
  void AddStrings(const TStrings& strings);
  virtual void Exchange(int index1, int index2);
  virtual void Move(int curIndex, int newIndex);
  int IndexOfName(std::string_view name) const;
  int IndexOfObject(const TObject* object) const;
  bool Equals(const TStrings& other) const;

  // Every line followed by CR LF.
  virtual std::string Text() const;
  virtual void SetText(std::string_view text);
  std::string CommaText() const;
  void SetCommaText(std::string_view text);
  std::string DelimitedText() const;
  void SetDelimitedText(std::string_view text);
  char Delimiter = ',';
  char QuoteChar = '"';

  // "name=value" lines.
  std::string Names(int index) const;
  std::string Values(std::string_view name) const;
  void SetValue(std::string_view name, const std::string& value);
  std::string ValueFromIndex(int index) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  virtual void LoadFromStream(TStream& stream);
  virtual void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

  void Assign(const TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;
  std::weak_ptr<const void> LivenessToken() const;

 protected:
  // Called with true when the first update bracket opens, with false when the last one closes.
  virtual void SetUpdateState(bool updating) {}
  [[noreturn]] void IndexError(int index) const;

 private:
  int updateCount_ = 0;
  mutable std::shared_ptr<const void> alive_;
};

FW_ENUM(TDuplicates, dupIgnore, dupAccept, dupError)

class TStringList;
using TStringListSortCompare = std::function<int(TStringList& list, int index1, int index2)>;

class TStringList : public TStrings {
  RT_CLASS(TStringList)
 public:
  TStringList() = default;
  ~TStringList() override;

  int Count() const override { return int(items_.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  int Add(const std::string& s) override;
  int IndexOf(std::string_view s) const override;
  void Exchange(int index1, int index2) override;

  // Binary search of a sorted list: true when found; `index` is the place of the text.
  bool Find(std::string_view s, int& index) const;
  virtual void Sort();
  void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates d) { duplicates_ = d; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);
  // The list's comparison: byte order, ignoring ASCII case unless CaseSensitive.
  int CompareStrings(std::string_view a, std::string_view b) const;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  // Asks the cache for the first lines' storage (a sort is about to read them).
  void WarmLines() const {
    if (!items_.empty()) __builtin_prefetch(items_.data());
  }

 protected:
  void SetUpdateState(bool updating) override;
  virtual void Changed();
  virtual void Changing();

 private:
  struct Item {
    std::string text;
    TObject* object = nullptr;
  };
  void InsertItem(int index, const std::string& s, TObject* object);
  void QuickSort(int lo, int hi, const TStringListSortCompare& compare);

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
  bool updating_ = false;
};

}  // namespace fw
