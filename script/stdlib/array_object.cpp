#include "script/stdlib/array_object.h"

#include <algorithm>
#include <vector>

#include "platform/rt/persistent.h"
#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/exceptions.h"

namespace stdlib {

using namespace engine;

namespace {

// The arrays whose text is being made right now, innermost last: an array that holds itself
// (directly or further down) would otherwise make its text for ever.
std::vector<const TJArrayObject*>& JoiningArrays() {
  static std::vector<const TJArrayObject*> arrays;
  return arrays;
}

// Nesting deeper than this is refused rather than run off the end of the stack.
constexpr size_t kMaxJoinDepth = 1000;

class JoinGuard {
 public:
  explicit JoinGuard(const TJArrayObject* array) { JoiningArrays().push_back(array); }
  ~JoinGuard() { JoiningArrays().pop_back(); }
  JoinGuard(const JoinGuard&) = delete;
  JoinGuard& operator=(const JoinGuard&) = delete;
};

[[noreturn]] void IndexError(std::string message = {}) { ThrowError(jeIndex, {message}); }

int Compare(int32_t a, int32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

// Asks for the text of an item ahead of its comparison: the texts of a long list lie all over
// memory, and the comparer's call leaves time enough for the fetch. (A null address, for any
// other item, fetches nothing and never faults.)
inline void Prefetch(const TJValue& item) { __builtin_prefetch(item.vStringRep()); }
template <class T>
void Prefetch(const T&) {}  // keys worked out ahead lie together already

// The stable merge sort of the runtime's lists: top down, the middle at hi div 2 + lo div 2, and
// the right item taken only when compare(left, right) > 0, so equal items keep their order. Each
// level merges from one list into the other, and no merge is copied back: SortTo leaves the
// sorted items in `to`, SortIn in `items`; the other list serves as room meanwhile.

template <class T, class Compare>
void MergeInto(std::vector<T>& from, std::vector<T>& to, size_t lo, size_t mid, size_t hi, Compare& compare) {
  size_t i = lo, j = mid + 1, k = lo;
  while (i <= mid && j <= hi) {
    // One of the next pair is new: the one after whichever item this comparison takes.
    if (i < mid) Prefetch(from[i + 1]);
    if (j < hi) Prefetch(from[j + 1]);
    if (compare(from[i], from[j]) > 0)
      to[k++] = std::move(from[j++]);
    else
      to[k++] = std::move(from[i++]);
  }
  while (i <= mid) to[k++] = std::move(from[i++]);
  while (j <= hi) to[k++] = std::move(from[j++]);
}

template <class T, class Compare>
void SortIn(std::vector<T>& items, std::vector<T>& room, size_t lo, size_t hi, Compare& compare);

// Single items are reached in the order of the list, each once, and always in `items`: one a
// few places on is asked for as each is reached, for its first comparison.
constexpr size_t kFetchAhead = 8;

template <class T, class Compare>
void SortTo(std::vector<T>& items, std::vector<T>& to, size_t lo, size_t hi, Compare& compare) {
  if (lo >= hi) {
    if (lo + kFetchAhead < items.size()) Prefetch(items[lo + kFetchAhead]);
    to[lo] = std::move(items[lo]);
    return;
  }
  size_t mid = hi / 2 + lo / 2;
  SortIn(items, to, lo, mid, compare);
  SortIn(items, to, mid + 1, hi, compare);
  MergeInto(items, to, lo, mid, hi, compare);
}

template <class T, class Compare>
void SortIn(std::vector<T>& items, std::vector<T>& room, size_t lo, size_t hi, Compare& compare) {
  if (lo >= hi) {
    if (lo + kFetchAhead < items.size()) Prefetch(items[lo + kFetchAhead]);
    return;
  }
  size_t mid = hi / 2 + lo / 2;
  SortTo(items, room, lo, mid, compare);
  SortTo(items, room, mid + 1, hi, compare);
  MergeInto(room, items, lo, mid, hi, compare);
}

}  // namespace

const rt::ClassInfo& TJArrayObject::StaticClassInfo() {
  static const rt::ClassInfo& info = [&]() -> const rt::ClassInfo& {
    const rt::ClassInfo& built = rt::ClassBuilder<TJArrayObject>("TJArrayObject", &TJObject::StaticClassInfo())
                                     .property("length", &TJArrayObject::length, &TJArrayObject::setLength)
                                     .build();
    RegisterKnownClass(TJKnownClass::Array, built);
    return built;
  }();
  return info;
}

TJArrayObject::TJArrayObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Array");
  int32_t count = ArgCount(param);
  if (count == 1 && IsNumber(&(*param)[0])) {
    SetLength(AsInteger(&(*param)[0]));
  } else {
    for (int32_t i = 0; i < count; ++i) items_.Add((*param)[i]);
  }
}

void TJArrayObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("delete", &TJArrayObject::DoDelete);
  RegistMethod("clear", &TJArrayObject::DoClear);
  RegistMethod("add", &TJArrayObject::DoAdd);
  RegistMethod("sort", &TJArrayObject::DoSort);
  RegistMethod("concat", &TJArrayObject::DoConcat);
  RegistMethod("join", &TJArrayObject::DoJoin);
  RegistMethod("pop", &TJArrayObject::DoPop);
  RegistMethod("push", &TJArrayObject::DoPush);
  RegistMethod("reverse", &TJArrayObject::DoReverse);
  RegistMethod("shift", &TJArrayObject::DoShift);
  RegistMethod("slice", &TJArrayObject::DoSlice);
  RegistMethod("splice", &TJArrayObject::DoSplice);
  RegistMethod("toString", &TJObject::DoToString);
  RegistMethod("unshift", &TJArrayObject::DoUnshift);
  RegistMethod("assign", &TJArrayObject::DoAssign);
}

void TJArrayObject::InsertItem(int32_t index, const TJValue& value) {
  if (index < 0 || index > items_.Count()) IndexError();
  items_.Insert(index, value);
}

void TJArrayObject::DeleteItem(int32_t index) {
  if (!items_.Delete(index)) IndexError();
}

void TJArrayObject::Clear() {
  TJObject::Clear();
  items_.Clear();
}

void TJArrayObject::Dispose() {
  // The items may hold objects that hold this array: letting go of them breaks such cycles.
  TJValueList items;
  items.Items().swap(items_.Items());
  TJObject::Dispose();
}

void TJArrayObject::GetItem(int32_t index, TJValue& value) {
  if (index < 0 || index >= items_.Count()) IndexError(std::to_string(index));
  value = items_[index];
}

void TJArrayObject::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  int32_t index;
  if (bracketAccess && TextToInteger(name, index)) {
    if (index < 0) IndexError(std::string(name));
    if (IsDisposed()) {  // a cleared engine's array holds nothing and grows no more
      value.Clear();
      return;
    }
    readAt(index, value);
    return;
  }
  TJObject::GetMember(name, bracketAccess, param, value);
}

namespace {

// The item a number key names, when its text would be an integer text of at least 0.
bool ItemIndex(const TJValue& key, int32_t& index) {
  if (key.ValueType() == vtInteger) {
    index = key.vInteger();
    return index >= 0;
  }
  if (key.ValueType() != vtDouble) return false;
  double d = key.vDouble();
  if (!(d >= 0 && d <= 2147483647.0) || d != double(int32_t(d))) return false;
  index = int32_t(d);
  return true;
}

}  // namespace

void TJArrayObject::readAt(int32_t index, TJValue& value) {
  if (index >= items_.Count()) SetLength(int64_t(index) + 1);
  value = items_[index];
}

void TJArrayObject::writeAt(int32_t index, const TJValue& value) {
  TJValue copy(value);  // the value may be an item that growing or replacing lets go of
  if (index >= items_.Count()) SetLength(int64_t(index) + 1);
  items_.Put(index, copy);
}

bool TJArrayObject::ReadItem(const TJValue& key, TJValue& value) {
  int32_t index;
  if (IsDisposed() || !ItemIndex(key, index)) return false;
  readAt(index, value);
  return true;
}

bool TJArrayObject::WriteItem(const TJValue& key, const TJValue& value) {
  int32_t index;
  if (IsDisposed() || !ItemIndex(key, index)) return false;
  writeAt(index, value);
  return true;
}

void TJArrayObject::PutMember(std::string_view name, const TJValue& value, bool bracketAccess, TJValueList* param) {
  int32_t index;
  if (bracketAccess && TextToInteger(name, index)) {
    if (index < 0) IndexError(std::string(name));
    if (!IsDisposed()) writeAt(index, value);
    return;
  }
  TJObject::PutMember(name, value, bracketAccess, param);
}

std::string TJArrayObject::Join(std::string_view separator) {
  auto& joining = JoiningArrays();
  if (std::find(joining.begin(), joining.end(), this) != joining.end()) return {};
  if (joining.size() >= kMaxJoinDepth) ThrowError(jeStackOverflow);
  TJKeepAlive keep(this);
  JoinGuard guard(this);
  // A snapshot: an item's text may run script code that changes the array.
  std::vector<TJValue> items(items_.Items());
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += separator;
    if (!IsNullOrUndefined(&items[i])) text += AsString(&items[i]);
  }
  return text;
}

std::string TJArrayObject::ToString(const TJValue*) { return Join(","); }

void TJArrayObject::ValueOf(TJValue& value) { value.SetString(Join(",")); }

TJArrayObject* TJArrayObject::NewArray() { return TJObject::Create<TJArrayObject>(Engine(), nullptr, Engine() != nullptr); }

// --- natives ---

void TJArrayObject::DoDelete(TJValueList* args, TJValue& result) {
  if (IsParam1(args)) DeleteItem(AsInteger(&(*args)[0]));
  result.SetObject(this);
}

void TJArrayObject::DoClear(TJValueList*, TJValue& result) {
  Clear();
  result.SetObject(this);
}

void TJArrayObject::DoAdd(TJValueList* args, TJValue& result) {
  int32_t count = ArgCount(args);
  if (count == 0) {
    result.Clear();
    return;
  }
  int32_t last = 0;
  for (int32_t i = 0; i < count; ++i) last = items_.Add((*args)[i]);
  result.SetInteger(last);
}

void TJArrayObject::DoSort(TJValueList* args, TJValue& result) {
  TJKeepAlive keep(this);
  TJValue comparer;
  TJEngine* engine = nullptr;
  if (IsParam1(args)) {
    comparer = (*args)[0];
    engine = dynamic_cast<TJEngine*>(Engine());
    if (!IsScriptFunction(&comparer) || !engine) ThrowError(jeSortCompare);
  }
  // The items are sorted as a copy, put back at the end: a comparer that raises leaves the array
  // as it was, and one that changes the array cannot pull items from under the sort.
  std::vector<TJValue> items(items_.Items());
  if (items.size() > 1) {
    std::vector<TJValue> work(items.size());
    if (!engine && std::none_of(items.begin(), items.end(), [](const TJValue& v) { return v.ValueType() == vtObject; })) {
      // Without objects the keys cannot change while sorting: each item's key is worked out once,
      // and the same merges run on (key, place) pairs.
      std::vector<std::pair<int32_t, size_t>> keyed(items.size()), spare(items.size());
      for (size_t i = 0; i < items.size(); ++i) keyed[i] = {AsInteger(&items[i]), i};
      auto compare = [](const std::pair<int32_t, size_t>& a, const std::pair<int32_t, size_t>& b) {
        return Compare(a.first, b.first);
      };
      SortIn(keyed, spare, 0, keyed.size() - 1, compare);
      for (size_t i = 0; i < keyed.size(); ++i) work[i] = std::move(items[keyed[i].second]);
      items.swap(work);
    } else if (!engine) {
      auto compare = [](const TJValue& a, const TJValue& b) { return Compare(AsInteger(&a), AsInteger(&b)); };
      SortIn(items, work, 0, items.size() - 1, compare);
    } else {
      // Each call gets its own copies of the pair in its parameters: a comparer may sort again, or
      // change what it was given.
      auto compare = [&](const TJValue& a, const TJValue& b) {
        const TJValue* pair[2] = {&a, &b};
        TJValue answer;
        engine->CallFunction(comparer, pair, 2, answer, this);
        return answer.ValueType() == vtInteger ? answer.vInteger() : AsInteger(&answer);
      };
      SortIn(items, work, 0, items.size() - 1, compare);
    }
  }
  if (!IsDisposed()) items_.Items().swap(items);
  result.SetObject(this);
}

void TJArrayObject::DoConcat(TJValueList* args, TJValue& result) {
  int32_t count = ArgCount(args);
  if (count == 0) {
    result.Clear();
    return;
  }
  TJArrayObject* joined = NewArray();
  result.SetObject(joined);
  joined->items_.Assign(&items_);
  for (int32_t i = 0; i < count; ++i) {
    const TJValue& arg = (*args)[i];
    if (IsIndexedObject(&arg)) {
      TJObject* other = arg.vObject();
      TJKeepAlive keepOther(other);
      for (int32_t j = 0; j < other->GetCount(); ++j) {
        TJValue item;
        other->GetItem(j, item);
        joined->items_.Add(std::move(item));
      }
    } else {
      joined->items_.Add(arg);
    }
  }
}

void TJArrayObject::DoJoin(TJValueList* args, TJValue& result) {
  std::string separator = IsParam1(args) ? AsString(&(*args)[0]) : ",";
  result.SetString(Join(separator));
}

void TJArrayObject::DoPop(TJValueList*, TJValue& result) {
  int32_t count = items_.Count();
  if (count == 0) {
    result.Clear();
    return;
  }
  // The value keeps its own reference, so an object the array held alone survives the removal.
  TJValue last = items_[count - 1];
  items_.Delete(count - 1);
  result = std::move(last);
}

void TJArrayObject::DoPush(TJValueList* args, TJValue& result) {
  for (int32_t i = 0; i < ArgCount(args); ++i) items_.Add((*args)[i]);
  result.SetInteger(items_.Count());
}

void TJArrayObject::DoReverse(TJValueList*, TJValue& result) {
  std::reverse(items_.Items().begin(), items_.Items().end());
  result.SetObject(this);
}

void TJArrayObject::DoShift(TJValueList*, TJValue& result) {
  if (items_.Count() == 0) {
    result.Clear();
    return;
  }
  TJValue first = items_[0];
  items_.Delete(0);
  result = std::move(first);
}

void TJArrayObject::DoSlice(TJValueList* args, TJValue& result) {
  int32_t count = items_.Count();
  int64_t start = IsParam1(args) ? AsInteger(&(*args)[0]) : 0;
  int64_t end = IsParam2(args) ? AsInteger(&(*args)[1]) : count;
  if (start < 0) start = std::max<int64_t>(start + count, 0);
  if (end < 0) end = std::max<int64_t>(end + count, 0);
  end = std::min<int64_t>(end, count);
  TJArrayObject* part = NewArray();
  result.SetObject(part);
  for (int64_t i = start; i < end; ++i) part->items_.Add(items_[int32_t(i)]);
}

void TJArrayObject::DoSplice(TJValueList* args, TJValue& result) {
  int32_t argc = ArgCount(args);
  if (argc < 2) {
    result.Clear();
    return;
  }
  int32_t count = items_.Count();
  int64_t start = AsInteger(&(*args)[0]);
  if (start < 0) start += count;
  int64_t removeCount = std::max<int32_t>(AsInteger(&(*args)[1]), 0);
  // The whole change is checked before anything moves: a bad range changes nothing.
  if (removeCount > 0 && (start < 0 || start + removeCount > count)) IndexError();
  if (argc > 2 && (start < 0 || start > count - removeCount)) IndexError();
  TJArrayObject* removed = NewArray();
  result.SetObject(removed);
  auto& items = items_.Items();
  if (removeCount > 0) {
    removed->items_.Items().assign(items.begin() + start, items.begin() + start + removeCount);
    items.erase(items.begin() + start, items.begin() + start + removeCount);
  }
  if (argc > 2) {
    std::vector<TJValue> inserted(args->Items().begin() + 2, args->Items().end());
    items.insert(items.begin() + start, inserted.begin(), inserted.end());
  }
}

void TJArrayObject::DoUnshift(TJValueList* args, TJValue& result) {
  int32_t argc = ArgCount(args);
  if (argc > 0) {
    std::vector<TJValue> inserted(args->Items().begin(), args->Items().end());
    items_.InsertFront(inserted);
  }
  result.SetObject(this);
}

void TJArrayObject::DoAssign(TJValueList* args, TJValue& result) {
  if (!IsParam1(args) || !IsIndexedObject(&(*args)[0])) ThrowError(jeArrayAssign);
  TJObject* source = (*args)[0].vObject();
  TJKeepAlive keepSource(source);
  // Read first: assigning an array to itself keeps its items.
  std::vector<TJValue> copied;
  for (int32_t i = 0; i < source->GetCount(); ++i) {
    TJValue item;
    source->GetItem(i, item);
    copied.push_back(std::move(item));
  }
  Clear();
  items_.Items() = std::move(copied);
  result.SetObject(this);
}

}  // namespace stdlib
