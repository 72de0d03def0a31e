#include "platform/fw/list_view.h"

#include "platform/fw/warm_sort.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <algorithm>
#include <cstring>
#include <tuple>
#include <utility>

#include "platform/fw/application.h"
#include "platform/fw/dispatch.h"
#include "platform/fw/errors.h"
#include "platform/fw/reader.h"
#include "platform/fw/writer.h"
#include "platform/rt/utf8.h"

namespace fw {

namespace {

int compareText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

bool startsWithText(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && compareText(text.substr(0, prefix.size()), prefix) == 0;
}

rt::MethodParam sender() { return rt::MethodParam{"Sender", "TObject", false}; }
rt::MethodParam param(const char* name, const char* type, bool var = false) {
  return rt::MethodParam{name, type, var};
}

}  // namespace

// ---- event types ----

#define FW_LV_EVENT_TYPE(Fn, Name, ...)                              \
  const rt::MethodType& Fn() {                                        \
    static const rt::MethodType type{Name, {__VA_ARGS__}};            \
    return type;                                                      \
  }
FW_LV_EVENT_TYPE(LVCustomDrawEventType, "TLVCustomDrawEvent", param("Sender", "TCustomListView"),
                 param("ARect", "TRect"), param("DefaultDraw", "Boolean", true))
FW_LV_EVENT_TYPE(LVAdvancedCustomDrawEventType, "TLVAdvancedCustomDrawEvent", param("Sender", "TCustomListView"),
                 param("ARect", "TRect"), param("Stage", "TCustomDrawStage"), param("DefaultDraw", "Boolean", true))
FW_LV_EVENT_TYPE(LVCustomDrawItemEventType, "TLVCustomDrawItemEvent", param("Sender", "TCustomListView"),
                 param("Item", "TListItem"), param("State", "TCustomDrawState"),
                 param("DefaultDraw", "Boolean", true))
FW_LV_EVENT_TYPE(LVAdvancedCustomDrawItemEventType, "TLVAdvancedCustomDrawItemEvent",
                 param("Sender", "TCustomListView"), param("Item", "TListItem"), param("State", "TCustomDrawState"),
                 param("Stage", "TCustomDrawStage"), param("DefaultDraw", "Boolean", true))
FW_LV_EVENT_TYPE(LVCustomDrawSubItemEventType, "TLVCustomDrawSubItemEvent", param("Sender", "TCustomListView"),
                 param("Item", "TListItem"), param("SubItem", "Integer"), param("State", "TCustomDrawState"),
                 param("DefaultDraw", "Boolean", true))
FW_LV_EVENT_TYPE(LVAdvancedCustomDrawSubItemEventType, "TLVAdvancedCustomDrawSubItemEvent",
                 param("Sender", "TCustomListView"), param("Item", "TListItem"), param("SubItem", "Integer"),
                 param("State", "TCustomDrawState"), param("Stage", "TCustomDrawStage"),
                 param("DefaultDraw", "Boolean", true))
FW_LV_EVENT_TYPE(LVChangeEventType, "TLVChangeEvent", sender(), param("Item", "TListItem"),
                 param("Change", "TItemChange"))
FW_LV_EVENT_TYPE(LVChangingEventType, "TLVChangingEvent", sender(), param("Item", "TListItem"),
                 param("Change", "TItemChange"), param("AllowChange", "Boolean", true))
FW_LV_EVENT_TYPE(LVColumnClickEventType, "TLVColumnClickEvent", sender(), param("Column", "TListColumn"))
FW_LV_EVENT_TYPE(LVColumnRClickEventType, "TLVColumnRClickEvent", sender(), param("Column", "TListColumn"),
                 param("Point", "TPoint"))
FW_LV_EVENT_TYPE(LVCompareEventType, "TLVCompareEvent", sender(), param("Item1", "TListItem"),
                 param("Item2", "TListItem"), param("Data", "Integer"), param("Compare", "Integer", true))
FW_LV_EVENT_TYPE(LVOwnerDataEventType, "TLVOwnerDataEvent", sender(), param("Item", "TListItem"))
FW_LV_EVENT_TYPE(LVOwnerDataFindEventType, "TLVOwnerDataFindEvent", sender(), param("Find", "TItemFind"),
                 param("FindString", "string"), param("FindPosition", "TPoint"), param("FindData", "Pointer"),
                 param("StartIndex", "Integer"), param("Direction", "TSearchDirection"), param("Wrap", "Boolean"),
                 param("Index", "Integer", true))
FW_LV_EVENT_TYPE(LVOwnerDataHintEventType, "TLVOwnerDataHintEvent", sender(), param("StartIndex", "Integer"),
                 param("EndIndex", "Integer"))
FW_LV_EVENT_TYPE(LVOwnerDataStateChangeEventType, "TLVOwnerDataStateChangeEvent", sender(),
                 param("StartIndex", "Integer"), param("EndIndex", "Integer"), param("OldState", "TItemStates"),
                 param("NewState", "TItemStates"))
FW_LV_EVENT_TYPE(LVDeletedEventType, "TLVDeletedEvent", sender(), param("Item", "TListItem"))
FW_LV_EVENT_TYPE(LVDrawItemEventType, "TLVDrawItemEvent", param("Sender", "TCustomListView"),
                 param("Item", "TListItem"), param("Rect", "TRect"), param("State", "TOwnerDrawState"))
FW_LV_EVENT_TYPE(LVEditedEventType, "TLVEditedEvent", sender(), param("Item", "TListItem"),
                 param("S", "string", true))
FW_LV_EVENT_TYPE(LVEditingEventType, "TLVEditingEvent", sender(), param("Item", "TListItem"),
                 param("AllowEdit", "Boolean", true))
FW_LV_EVENT_TYPE(LVSubItemImageEventType, "TLVSubItemImageEvent", sender(), param("Item", "TListItem"),
                 param("SubItem", "Integer"), param("ImageIndex", "Integer", true))
FW_LV_EVENT_TYPE(LVInfoTipEventType, "TLVInfoTipEvent", sender(), param("Item", "TListItem"),
                 param("InfoTip", "string", true))
FW_LV_EVENT_TYPE(LVSelectItemEventType, "TLVSelectItemEvent", sender(), param("Item", "TListItem"),
                 param("Selected", "Boolean"))
#undef FW_LV_EVENT_TYPE

// ---- TListColumn ----

const rt::ClassInfo& TListColumn::StaticClassInfo() {
  using T = TListColumn;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TListColumn", &TCollectionItem::StaticClassInfo())
          .property("Alignment", &T::Alignment, &T::SetAlignment).defaultValue(taLeftJustify)
          .property("AutoSize", &T::AutoSize, &T::SetAutoSize).defaultValue(false)
          .property("Caption", &T::Caption, &T::SetCaption)
          .property("ImageIndex", &T::ImageIndex, &T::SetImageIndex).defaultValue(-1)
          .property("MaxWidth", &T::MaxWidth, &T::SetMaxWidth).defaultValue(0)
          .property("MinWidth", &T::MinWidth, &T::SetMinWidth).defaultValue(0)
          .property("Tag", &T::Tag, &T::SetTag).defaultValue(0)
          .property("Width", &T::Width, &T::SetWidth).defaultValue(50)
          .build();
  return info;
}

TListColumn::TListColumn(TCollection* collection) : TCollectionItem(collection) { dataIndex_ = std::max(0, Index()); }

// The columns after this one in the order of the item's texts show the texts one place earlier,
// as the texts of a removed column go with it.
TListColumn::~TListColumn() {
  if (TCollection* c = Collection())
    for (int i = 0; i < c->Count(); ++i) {
      auto* other = static_cast<TListColumn*>(c->Items(i));
      if (other != this && other->dataIndex_ > dataIndex_) --other->dataIndex_;
    }
}

void TListColumn::SetAlignment(TAlignment a) {
  alignment_ = a;
  Changed(false);
}
void TListColumn::SetAutoSize(bool v) {
  autoSize_ = v;
  Changed(false);
}
void TListColumn::SetCaption(const std::string& s) {
  caption_ = s;
  Changed(false);
}
void TListColumn::SetImageIndex(int32_t v) {
  imageIndex_ = v;
  Changed(false);
}
void TListColumn::SetMaxWidth(int32_t v) {
  maxWidth_ = std::max(0, v);
  SetWidth(width_);
}
void TListColumn::SetMinWidth(int32_t v) {
  minWidth_ = std::max(0, v);
  SetWidth(width_);
}
void TListColumn::SetWidth(int32_t v) {
  if (minWidth_ > 0) v = std::max(v, minWidth_);
  if (maxWidth_ > 0) v = std::min(v, maxWidth_);
  width_ = std::max(0, v);
  Changed(false);
}

std::string TListColumn::DisplayName() const { return caption_.empty() ? TCollectionItem::DisplayName() : caption_; }

void TListColumn::Assign(const TPersistent* source) {
  auto* c = dynamic_cast<const TListColumn*>(source);
  if (!c) return TCollectionItem::Assign(source);
  alignment_ = c->alignment_;
  autoSize_ = c->autoSize_;
  caption_ = c->caption_;
  imageIndex_ = c->imageIndex_;
  maxWidth_ = c->maxWidth_;
  minWidth_ = c->minWidth_;
  tag_ = c->tag_;
  width_ = c->width_;
  Changed(false);
}

const rt::ClassInfo& TListColumns::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TListColumns>("TListColumns", &TCollection::StaticClassInfo()).build();
  return info;
}

TListColumns::TListColumns(TCustomListView* owner)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TListColumn(c); }, owner), owner_(owner) {}

void TListColumns::Update(TCollectionItem* item) {
  TCollection::Update(item);
  if (owner_) owner_->ItemsChanged();
}

// ---- TListItem ----

const rt::ClassInfo& TListItem::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TListItem>("TListItem", &TPersistent::StaticClassInfo()).build();
  return info;
}

TListItem::TListItem(TListItems* owner) : owner_(owner), subItems_(std::make_unique<TStringList>()) {
  subItems_->OnChange = TNotifyEvent([](void* self, TObject*) {
    static_cast<TListItem*>(self)->changed(ctText);
  }, this);
}

namespace {
void (*bridgeRelease)(void* link) = nullptr;
}  // namespace

void SetListItemBridgeRelease(void (*release)(void* link)) { bridgeRelease = release; }

namespace {
void (*bridgeWarm)(void* link, int stage) = nullptr;

// Brings what a comparer reads of the item into the cache, a stage at a time: the item, then its
// sub-items list and the bridge's wrapper, then the list's lines and what the wrapper holds.
void warmItem(const TListItem* item, int stage) {
  switch (stage) {
    case 0: WarmBytes(item, sizeof(TListItem)); break;
    case 1:
      WarmBytes(item->SubItems(), sizeof(TStringList));
      if (bridgeWarm && item->BridgeLink()) bridgeWarm(item->BridgeLink(), 1);
      break;
    default:
      static_cast<const TStringList*>(item->SubItems())->WarmLines();
      if (bridgeWarm && item->BridgeLink()) bridgeWarm(item->BridgeLink(), 2);
  }
}
}  // namespace

void SetListItemBridgeWarm(void (*warm)(void* link, int stage)) { bridgeWarm = warm; }

TListItem::~TListItem() {
  alive_.reset();
  subItems_->OnChange = {};
  if (void* link = bridge_) {
    bridge_ = nullptr;
    if (bridgeRelease) bridgeRelease(link);
  }
}

TCustomListView* TListItem::ListView() const { return owner_ ? owner_->Owner() : nullptr; }

int32_t TListItem::Index() const { return index_; }

std::weak_ptr<const void> TListItem::LivenessToken() const {
  if (deleted_) return {};
  if (!alive_) alive_ = std::make_shared<int>(0);
  return alive_;
}

bool TListItem::changing(TItemChange change) {
  TCustomListView* v = ListView();
  if (!v || v->OwnerData() || index_ < 0) return true;
  return v->fireChanging(this, change);
}

void TListItem::changed(TItemChange change) {
  TCustomListView* v = ListView();
  if (!v || index_ < 0) return;
  if (v->OwnerData()) {
    v->Invalidate();
    return;
  }
  if (change == ctText && v->sortsItself() && (v->SortType() == stText || v->SortType() == stBoth)) {
    TListItem* self = this;
    v->AfterPaint([v, self, alive = LivenessToken()] {
      if (alive.expired()) return;
      TListItems& items = *v->Items();
      const int32_t from = self->Index();
      if (from < 0 || from >= int32_t(items.items_.size()) || items.items_[size_t(from)] != self) return;
      items.items_.erase(items.items_.begin() + from);
      const int32_t to = v->sortedPlace(self);
      items.items_.insert(items.items_.begin() + to, self);
      items.renumber(size_t(std::min(from, to)));
      v->ItemsChanged();
    });
  }
  v->fireChange(this, change);
  v->ItemsChanged();
}

void TListItem::SetCaption(const std::string& s) {
  if (s == caption_) return;
  if (!changing(ctText)) return;
  caption_ = s;
  changed(ctText);
}

void TListItem::SetImageIndex(int32_t v) {
  if (v == imageIndex_ || !changing(ctImage)) return;
  imageIndex_ = v;
  changed(ctImage);
}
void TListItem::SetOverlayIndex(int32_t v) {
  if (v == overlayIndex_ || !changing(ctImage)) return;
  overlayIndex_ = v;
  changed(ctImage);
}
void TListItem::SetStateIndex(int32_t v) {
  if (v == stateIndex_ || !changing(ctImage)) return;
  stateIndex_ = v;
  changed(ctImage);
}
void TListItem::SetIndent(int32_t v) {
  if (v == indent_) return;
  indent_ = v;
  changed(ctState);
}
void TListItem::SetChecked(bool v) {
  if (v == checked_ || !changing(ctState)) return;
  checked_ = v;
  changed(ctState);
}
void TListItem::SetCut(bool v) {
  if (v == cut_ || !changing(ctState)) return;
  cut_ = v;
  changed(ctState);
}

bool TListItem::DropTarget() const {
  TCustomListView* v = ListView();
  return v && index_ >= 0 && v->DropTargetIndex() == index_;
}

void TListItem::SetDropTarget(bool value) {
  TCustomListView* v = ListView();
  if (!v || index_ < 0) return;
  if (value) v->SetDropTarget(this);
  else if (DropTarget()) v->SetDropTarget(nullptr);
}

bool TListItem::Focused() const {
  TCustomListView* v = ListView();
  return v && index_ >= 0 && v->FocusedIndex() == index_;
}

void TListItem::SetFocused(bool value) {
  TCustomListView* v = ListView();
  if (!v || index_ < 0) return;
  if (value) v->changeFocus(index_);
  else if (Focused()) v->changeFocus(-1);
}

bool TListItem::Selected() const {
  TCustomListView* v = ListView();
  return v && index_ >= 0 && v->IsSelected(index_);
}

void TListItem::SetSelected(bool value) {
  TCustomListView* v = ListView();
  if (!v || index_ < 0) return;
  v->SelectIndex(index_, value);
}

int32_t TListItem::SubItemImages(int index) const {
  if (index < 0 || index >= subItems_->Count()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  return size_t(index) < subItemImages_.size() ? subItemImages_[size_t(index)] : -1;
}

void TListItem::SetSubItemImages(int index, int32_t image) {
  if (index < 0 || index >= subItems_->Count()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  if (subItemImages_.size() <= size_t(index)) subItemImages_.resize(size_t(index) + 1, -1);
  subItemImages_[size_t(index)] = image;
  changed(ctImage);
}

TPoint TListItem::Position() const {
  TCustomListView* v = ListView();
  if (!v || index_ < 0) return {0, 0};
  const TRect r = v->ItemRect(index_, drBounds);
  return {r.Left, r.Top};
}

void TListItem::SetPosition(TPoint p) {
  TCustomListView* v = ListView();
  if (!v || index_ < 0 || v->OwnerData() || !v->iconStyle()) return;
  // Kept where the view's contents are, so that it stays put however the view scrolls.
  const TRect area = v->ItemArea();
  position_ = {p.X - area.Left + v->originX_, p.Y - area.Top + v->originY_};
  placed_ = true;
  v->handPlaced_ = true;
  v->ItemsChanged();
}

int32_t TListItem::Handle() const {
  TCustomListView* v = ListView();
  return v ? int32_t(v->Handle()) : 0;
}

void TListItem::Delete() {
  TCustomListView* v = ListView();
  if (!v || index_ < 0) return;
  if (v->OwnerData()) return;
  v->AfterPaint([v, self = this, alive = LivenessToken()] {
    if (alive.expired()) return;
    const int32_t i = v->Items()->IndexOf(self);
    if (i >= 0) v->Items()->deleteNow(i);
  });
}

bool TListItem::EditCaption() {
  TCustomListView* v = ListView();
  if (!v || index_ < 0 || v->ReadOnly()) return false;
  bool allow = true;
  if (v->OnEditing) v->OnEditing(v, this, allow);
  if (!allow) return false;
  v->editing_ = index_;
  v->PeerChanged(TPeerChange::State);
  return true;
}

void TListItem::CancelEdit() {
  TCustomListView* v = ListView();
  if (!v || v->editing_ != index_) return;
  v->editing_ = -1;
  v->PeerChanged(TPeerChange::State);
}

void TListItem::MakeVisible(bool partialOK) {
  TCustomListView* v = ListView();
  if (!v || index_ < 0) return;
  v->makeVisible(index_, partialOK);
}

void TListItem::Update() {
  if (TCustomListView* v = ListView()) v->Invalidate();
}

TRect TListItem::DisplayRect(TDisplayCode code) const {
  TCustomListView* v = ListView();
  if (!v || index_ < 0) return {};
  return v->ItemRect(index_, code);
}

void TListItem::Assign(const TPersistent* source) {
  auto* src = dynamic_cast<const TListItem*>(source);
  if (!src) return TPersistent::Assign(source);
  caption_ = src->caption_;
  data_ = src->data_;
  imageIndex_ = src->imageIndex_;
  indent_ = src->indent_;
  overlayIndex_ = src->overlayIndex_;
  stateIndex_ = src->stateIndex_;
  subItems_->Assign(src->subItems_.get());
  subItemImages_ = src->subItemImages_;
  checked_ = src->checked_;
  changed(ctText);
}

// ---- TListItems ----

const rt::ClassInfo& TListItems::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TListItems>("TListItems", &TPersistent::StaticClassInfo()).build();
  return info;
}

TListItems::TListItems(TCustomListView* owner) : owner_(owner) {}

TListItems::~TListItems() {
  alive_.reset();
  dataItem_.reset();
  for (TListItem* item : items_) delete item;
}

TPersistent* TListItems::GetOwner() const { return owner_; }

std::weak_ptr<const void> TListItems::LivenessToken() const {
  if (!alive_) alive_ = std::make_shared<int>(0);
  return alive_;
}

int32_t TListItems::Count() const { return owner_->OwnerData() ? dataCount_ : int32_t(items_.size()); }

void TListItems::SetCount(int32_t count) {
  if (!owner_->OwnerData()) return;
  count = std::max(0, count);
  owner_->AfterPaint([this, count] {
    if (count == dataCount_) return;
    dataCount_ = count;
    for (auto it = owner_->dataSelected_.begin(); it != owner_->dataSelected_.end();)
      it = *it >= count ? owner_->dataSelected_.erase(it) : std::next(it);
    for (int32_t* i : {&owner_->focused_, &owner_->anchor_, &owner_->dropTarget_, &owner_->editing_})
      if (*i >= count) *i = -1;
    owner_->topIndex_ = std::clamp(owner_->topIndex_, 0, std::max(0, count - 1));
    owner_->ItemsChanged();
  });
}

TListItem* TListItems::Item(int32_t index) {
  if (index < 0 || index >= Count()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  if (!owner_->OwnerData()) return items_[size_t(index)];
  dataItem_.reset(owner_->DataItem(index));
  return dataItem_.get();
}

void TListItems::renumber(size_t from) {
  for (size_t i = from; i < items_.size(); ++i) items_[i]->index_ = int32_t(i);
}

void TListItems::insertNow(int32_t index, TListItem* item) {
  if (owner_->sortsItself()) index = owner_->sortedPlace(item);
  index = std::clamp(index, 0, int32_t(items_.size()));
  items_.insert(items_.begin() + index, item);
  renumber(size_t(index));
  owner_->indexesInserted(index);
  owner_->itemInserted(item);
  owner_->ItemsChanged();
}

void TListItems::deleteNow(int32_t index) {
  TListItem* item = items_[size_t(index)];
  if (item->deleting_) return;
  item->deleting_ = true;
  auto alive = item->LivenessToken();
  try {
    owner_->itemDeleting(item);
  } catch (...) {
    if (!alive.expired()) item->deleting_ = false;
    throw;
  }
  if (alive.expired()) return;
  const int32_t now = IndexOf(item);
  if (now < 0) return;
  items_.erase(items_.begin() + now);
  renumber(size_t(now));
  owner_->indexesDeleted(now);
  item->index_ = -1;
  // Out of the list and dead to everybody at once; the memory goes when no handler stands on it.
  item->deleted_ = true;
  item->alive_.reset();
  item->owner_ = nullptr;
  ReleaseWhenIdle([item] { delete item; });
  owner_->ItemsChanged();
}

void TListItems::clearNow() {
  if (owner_->OwnerData()) {
    SetCount(0);
    return;
  }
  BeginUpdate();
  try {
    // From the last; those whose deletion is running already (the clear came from their
    // OnDeletion) are left to it.
    for (;;) {
      int32_t i = int32_t(items_.size()) - 1;
      while (i >= 0 && items_[size_t(i)]->deleting_) --i;
      if (i < 0) break;
      deleteNow(i);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  owner_->topIndex_ = 0;
  EndUpdate();
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int32_t index) {
  if (owner_->OwnerData()) raise<EInvalidOperation>("Owner data lists keep no items");
  if (index < 0 || index > Count()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  auto* item = new TListItem(this);
  if (!owner_->Painting()) {
    insertNow(index, item);
    return item;
  }
  // Added while a paint runs: the item exists at once and joins the list after the paint.
  auto pending = std::make_shared<std::unique_ptr<TListItem>>(item);
  owner_->AfterPaint([this, index, pending] {
    TListItem* it = pending->release();
    insertNow(std::min(index, int32_t(items_.size())), it);
  });
  return item;
}

void TListItems::Delete(int32_t index) {
  if (index < 0 || index >= Count()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  if (owner_->OwnerData()) return;
  items_[size_t(index)]->Delete();
}

void TListItems::Clear() {
  owner_->AfterPaint([this] { clearNow(); });
}

void TListItems::BeginUpdate() { ++updateCount_; }

void TListItems::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) owner_->ItemsChanged();
}

int32_t TListItems::IndexOf(const TListItem* item) const {
  if (!item || item->owner_ != this || owner_->OwnerData()) return -1;
  const int32_t i = item->index_;
  if (i >= 0 && size_t(i) < items_.size() && items_[size_t(i)] == item) return i;
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : int32_t(it - items_.begin());
}

int32_t TListItems::Handle() const { return int32_t(owner_->Handle()); }

void TListItems::Assign(const TPersistent* source) {
  auto* src = dynamic_cast<const TListItems*>(source);
  if (!src) return TPersistent::Assign(source);
  if (src == this) return;
  BeginUpdate();
  try {
    clearNow();
    for (TListItem* from : src->items_) {
      TListItem* item = Add();
      item->Assign(from);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// The stored form: a 4-byte size of the whole block and a 4-byte item count, then for each item
// its image, state and overlay indexes, its sub-item count and a data field (always 0: a program's
// pointer means nothing in a file), the caption and the sub-items, then one image index per
// sub-item. Texts are short strings (1-byte length) in "Data"; a list with a longer text is
// stored as "ItemData", whose texts have 4-byte lengths, so that nothing is cut.
bool TListItems::needsLongTexts() const {
  for (const TListItem* item : items_) {
    if (item->caption_.size() > 255) return true;
    for (int i = 0; i < item->subItems_->Count(); ++i)
      if (item->subItems_->Get(i).size() > 255) return true;
  }
  return false;
}

void TListItems::writeData(TStream& stream, bool longTexts) const {
  std::string out;
  auto put32 = [&](int32_t v) {
    char b[4];
    std::memcpy(b, &v, 4);
    out.append(b, 4);
  };
  auto putText = [&](const std::string& s) {
    if (longTexts) put32(int32_t(s.size()));
    else out.push_back(char(uint8_t(s.size())));
    out += s;
  };
  put32(0);
  put32(int32_t(items_.size()));
  for (const TListItem* item : items_) {
    put32(item->imageIndex_);
    put32(item->stateIndex_);
    put32(item->overlayIndex_);
    put32(item->subItems_->Count());
    put32(0);
    putText(item->caption_);
    for (int i = 0; i < item->subItems_->Count(); ++i) putText(item->subItems_->Get(i));
    for (int i = 0; i < item->subItems_->Count(); ++i)
      put32(size_t(i) < item->subItemImages_.size() ? item->subItemImages_[size_t(i)] : -1);
  }
  const int32_t size = int32_t(out.size());
  std::memcpy(out.data(), &size, 4);
  stream.WriteBuffer(out.data(), int64_t(out.size()));
}

void TListItems::readData(TStream& stream, bool longTexts) {
  const std::string in = stream.ReadRest();
  size_t pos = 0;
  auto need = [&](size_t n) {
    if (in.size() - pos < n) raise<EReadError>(msg::ReadError);
  };
  auto get32 = [&]() {
    need(4);
    int32_t v;
    std::memcpy(&v, in.data() + pos, 4);
    pos += 4;
    return v;
  };
  auto getText = [&]() {
    size_t n;
    if (longTexts) {
      const int32_t len = get32();
      if (len < 0) raise<EReadError>(msg::ReadError);
      n = size_t(len);
    } else {
      need(1);
      n = uint8_t(in[pos++]);
    }
    need(n);
    std::string s = in.substr(pos, n);
    pos += n;
    return s;
  };
  get32();  // the size
  const int32_t count = get32();
  if (count < 0) raise<EReadError>(msg::ReadError);
  BeginUpdate();
  try {
    clearNow();
    for (int32_t k = 0; k < count; ++k) {
      const int32_t image = get32(), state = get32(), overlay = get32(), subCount = get32();
      get32();  // the data field: never a pointer of ours
      if (subCount < 0) raise<EReadError>(msg::ReadError);
      TListItem* item = Add();
      item->imageIndex_ = image;
      item->stateIndex_ = state;
      item->overlayIndex_ = overlay;
      item->caption_ = getText();
      item->subItems_->BeginUpdate();
      for (int32_t i = 0; i < subCount; ++i) item->subItems_->Add(getText());
      item->subItems_->EndUpdate();
      item->subItemImages_.assign(size_t(subCount), -1);
      for (int32_t i = 0; i < subCount; ++i) item->subItemImages_[size_t(i)] = get32();
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TListItems::DefineProperties(TFiler& filer) {
  const bool any = !owner_->OwnerData() && !items_.empty();
  const bool longTexts = any && needsLongTexts();
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { readData(s, false); }, [this](TStream& s) { writeData(s, false); },
      any && !longTexts);
  filer.DefineBinaryProperty(
      "ItemData", [this](TStream& s) { readData(s, true); }, [this](TStream& s) { writeData(s, true); },
      longTexts);
}

// ---- TCustomListView ----

const rt::ClassInfo& TCustomListView::StaticClassInfo() {
  using T = TCustomListView;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TCustomListView", &TWinControl::StaticClassInfo())
          .property("AllocBy", &T::AllocBy, &T::SetAllocBy).defaultValue(0)
          .property("BorderStyle", &T::BorderStyle, &T::SetBorderStyle).defaultValue(int(TBorderStyle::bsSingle))
          .property("BorderWidth", &T::BorderWidth, &T::SetBorderWidth).defaultValue(0)
          .property("Checkboxes", &T::Checkboxes, &T::SetCheckboxes).defaultValue(false)
          .property("ColumnClick", &T::ColumnClick, &T::SetColumnClick).defaultValue(true)
          .property("Columns", &T::Columns, &T::SetColumns)
          .property("FlatScrollBars", &T::FlatScrollBars, &T::SetFlatScrollBars).defaultValue(false)
          .property("FullDrag", &T::FullDrag, &T::SetFullDrag).defaultValue(false)
          .property("GridLines", &T::GridLines, &T::SetGridLines).defaultValue(false)
          .property("HideSelection", &T::HideSelection, &T::SetHideSelection).defaultValue(true)
          .property("HotTrack", &T::HotTrack, &T::SetHotTrack).defaultValue(false)
          .property("HoverTime", &T::HoverTime, &T::SetHoverTime).defaultValue(-1)
          .property("Items", &T::Items, &T::SetItems)
          .property("MultiSelect", &T::MultiSelect, &T::SetMultiSelect).defaultValue(false)
          .property("OwnerData", &T::OwnerData, &T::SetOwnerData).defaultValue(false)
          .property("OwnerDraw", &T::OwnerDraw, &T::SetOwnerDraw).defaultValue(false)
          .property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).defaultValue(false)
          .property("RowSelect", &T::RowSelect, &T::SetRowSelect).defaultValue(false)
          .property("ShowColumnHeaders", &T::ShowColumnHeaders, &T::SetShowColumnHeaders).defaultValue(true)
          .property("ShowWorkAreas", &T::ShowWorkAreas, &T::SetShowWorkAreas).defaultValue(false)
          .property("SortType", &T::SortType, &T::SetSortType).defaultValue(stNone)
          .property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).defaultValue(true)
          .property("ViewStyle", &T::ViewStyle, &T::SetViewStyle).defaultValue(vsIcon)
          .event("OnAdvancedCustomDraw", LVAdvancedCustomDrawEventType(), &T::OnAdvancedCustomDraw)
          .event("OnAdvancedCustomDrawItem", LVAdvancedCustomDrawItemEventType(), &T::OnAdvancedCustomDrawItem)
          .event("OnAdvancedCustomDrawSubItem", LVAdvancedCustomDrawSubItemEventType(),
                 &T::OnAdvancedCustomDrawSubItem)
          .event("OnChange", LVChangeEventType(), &T::OnChange)
          .event("OnChanging", LVChangingEventType(), &T::OnChanging)
          .event("OnColumnClick", LVColumnClickEventType(), &T::OnColumnClick)
          .event("OnColumnDragged", NotifyEventType(), &T::OnColumnDragged)
          .event("OnColumnRightClick", LVColumnRClickEventType(), &T::OnColumnRightClick)
          .event("OnCompare", LVCompareEventType(), &T::OnCompare)
          .event("OnCustomDraw", LVCustomDrawEventType(), &T::OnCustomDraw)
          .event("OnCustomDrawItem", LVCustomDrawItemEventType(), &T::OnCustomDrawItem)
          .event("OnCustomDrawSubItem", LVCustomDrawSubItemEventType(), &T::OnCustomDrawSubItem)
          .event("OnData", LVOwnerDataEventType(), &T::OnData)
          .event("OnDataFind", LVOwnerDataFindEventType(), &T::OnDataFind)
          .event("OnDataHint", LVOwnerDataHintEventType(), &T::OnDataHint)
          .event("OnDataStateChange", LVOwnerDataStateChangeEventType(), &T::OnDataStateChange)
          .event("OnDeletion", LVDeletedEventType(), &T::OnDeletion)
          .event("OnDrawItem", LVDrawItemEventType(), &T::OnDrawItem)
          .event("OnEdited", LVEditedEventType(), &T::OnEdited)
          .event("OnEditing", LVEditingEventType(), &T::OnEditing)
          .event("OnGetImageIndex", LVOwnerDataEventType(), &T::OnGetImageIndex)
          .event("OnGetSubItemImage", LVSubItemImageEventType(), &T::OnGetSubItemImage)
          .event("OnInfoTip", LVInfoTipEventType(), &T::OnInfoTip)
          .event("OnInsert", LVDeletedEventType(), &T::OnInsert)
          .event("OnSelectItem", LVSelectItemEventType(), &T::OnSelectItem)
          .build();
  return info;
}

const rt::ClassInfo& TListView::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TListView>("TListView", &TCustomListView::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TListView(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner), columns_(new TListColumns(this)), items_(new TListItems(this)) {
  clickOnMouseUp_ = false;
  tabStop_ = true;
  SetColor(clWindow);
  SetBounds(0, 0, 250, 150);
}

TCustomListView::~TCustomListView() {
  DestroyPeer();
  afterPaint_.clear();
  // No handler hears about items that go with the view.
  OnDeletion = {};
  delete items_;
  delete columns_;
}

void TCustomListView::ItemsChanged() {
  if (!items_ || items_->UpdateCount() > 0) return;
  clampOrigin();
  PeerChanged(TPeerChange::Content);
}

void TCustomListView::Resize() {
  TWinControl::Resize();
  if (items_) clampOrigin();
  PeerChanged(TPeerChange::Content);
}

void TCustomListView::SetViewStyle(TViewStyle v) {
  if (v == viewStyle_) return;
  viewStyle_ = v;
  topIndex_ = originX_ = originY_ = 0;
  ItemsChanged();
}

void TCustomListView::SetOwnerData(bool v) {
  if (v == ownerData_) return;
  AfterPaint([this, v] {
    if (v == ownerData_) return;
    items_->clearNow();
    items_->dataItem_.reset();
    ownerData_ = v;
    items_->dataCount_ = 0;
    dataSelected_.clear();
    focused_ = anchor_ = dropTarget_ = editing_ = -1;
    topIndex_ = originX_ = originY_ = 0;
    ItemsChanged();
  });
}

void TCustomListView::SetSortType(TSortType v) {
  sortType_ = v;
  if (sortsItself()) AfterPaint([this] { sortNow(); });
}

void TCustomListView::SetMultiSelect(bool v) {
  if (v == multiSelect_) return;
  multiSelect_ = v;
  if (!v) {
    const int32_t keep = SelectedIndex();
    for (int32_t i = 0; i < items_->Count() && SelCount() > 1; ++i)
      if (i != keep) changeSelection(i, false);
  }
  Invalidate();
}

void TCustomListView::SetShowColumnHeaders(bool v) {
  showColumnHeaders_ = v;
  ItemsChanged();
}

// ---- selection ----

bool TCustomListView::IsSelected(int32_t index) const {
  if (ownerData_) return dataSelected_.count(index) > 0;
  return index >= 0 && size_t(index) < items_->items_.size() && items_->items_[size_t(index)]->selected_;
}

int32_t TCustomListView::SelectedIndex() const {
  if (ownerData_) return dataSelected_.empty() ? -1 : *dataSelected_.begin();
  for (size_t i = 0; i < items_->items_.size(); ++i)
    if (items_->items_[i]->selected_) return int32_t(i);
  return -1;
}

int32_t TCustomListView::SelCount() const {
  if (ownerData_) return int32_t(dataSelected_.size());
  int32_t n = 0;
  for (const TListItem* item : items_->items_) n += item->selected_ ? 1 : 0;
  return n;
}

void TCustomListView::fireChange(TListItem* item, TItemChange change) {
  if (OnChange) OnChange(this, item, change);
}

bool TCustomListView::fireChanging(TListItem* item, TItemChange change) {
  bool allow = true;
  if (OnChanging) OnChanging(this, item, change, allow);
  return allow;
}

// One item's selection changes as the list control reports it: OnChanging may refuse, then
// OnChange and OnSelectItem follow.
bool TCustomListView::changeSelection(int32_t index, bool selected) {
  if (index < 0 || index >= items_->Count() || IsSelected(index) == selected) return true;
  std::unique_ptr<TListItem> temp;
  TListItem* item;
  if (ownerData_) {
    temp.reset(DataItem(index));
    item = temp.get();
  } else {
    item = items_->items_[size_t(index)];
  }
  auto alive = item->LivenessToken();
  if (!fireChanging(item, ctState) || alive.expired()) return false;
  if (ownerData_) {
    if (selected) dataSelected_.insert(index);
    else dataSelected_.erase(index);
  } else {
    item->selected_ = selected;
  }
  PeerChanged(TPeerChange::State);
  fireChange(item, ctState);
  if (!alive.expired() && OnSelectItem) OnSelectItem(this, item, selected);
  return true;
}

void TCustomListView::changeFocus(int32_t index) {
  if (index == focused_) return;
  focused_ = index;
  PeerChanged(TPeerChange::State);
}

void TCustomListView::SelectIndex(int32_t index, bool selected) {
  if (index < 0 || index >= items_->Count()) return;
  if (selected && !multiSelect_) {
    for (int32_t other = SelectedIndex(); other >= 0 && other != index; other = SelectedIndex())
      if (!changeSelection(other, false)) return;
  }
  changeSelection(index, selected);
}

void TCustomListView::ClearSelection() {
  for (int32_t i = SelectedIndex(); i >= 0;) {
    if (!changeSelection(i, false)) return;
    i = SelectedIndex();
  }
}

TListItem* TCustomListView::Selected() {
  const int32_t i = SelectedIndex();
  return i < 0 ? nullptr : items_->Item(i);
}

void TCustomListView::SetSelected(TListItem* item) {
  const int32_t index = item ? (ownerData_ ? item->index_ : items_->IndexOf(item)) : -1;
  if (index < 0) {
    ClearSelection();
    return;
  }
  if (multiSelect_) ClearSelection();
  SelectIndex(index, true);
  changeFocus(index);
}

TListItem* TCustomListView::ItemFocused() { return focused_ < 0 || focused_ >= items_->Count() ? nullptr : items_->Item(focused_); }

void TCustomListView::SetItemFocused(TListItem* item) {
  changeFocus(item ? (ownerData_ ? item->index_ : items_->IndexOf(item)) : -1);
}

TListItem* TCustomListView::DropTarget() {
  return dropTarget_ < 0 || dropTarget_ >= items_->Count() ? nullptr : items_->Item(dropTarget_);
}

void TCustomListView::SetDropTarget(TListItem* item) {
  dropTarget_ = item ? (ownerData_ ? item->index_ : items_->IndexOf(item)) : -1;
  Invalidate();
}

int32_t TCustomListView::ItemIndex() const { return SelectedIndex(); }

void TCustomListView::SetItemIndex(int32_t index) {
  if (index < 0 || index >= items_->Count()) {
    ClearSelection();
    return;
  }
  SetSelected(items_->Item(index));
}

void TCustomListView::indexesInserted(int32_t index) {
  for (int32_t* i : {&focused_, &anchor_, &dropTarget_, &editing_})
    if (*i >= index) ++*i;
}

void TCustomListView::indexesDeleted(int32_t index) {
  for (int32_t* i : {&focused_, &anchor_, &dropTarget_, &editing_}) {
    if (*i == index) *i = -1;
    else if (*i > index) --*i;
  }
  topIndex_ = std::clamp(topIndex_, 0, std::max(0, items_->Count() - 1));
}

void TCustomListView::itemInserted(TListItem* item) {
  if (OnInsert) OnInsert(this, item);
}

void TCustomListView::itemDeleting(TListItem* item) {
  if (OnDeletion) OnDeletion(this, item);
}

// ---- owner data ----

TListItem* TCustomListView::DataItem(int32_t index) {
  auto* item = new TListItem(items_);
  item->index_ = index;
  std::unique_ptr<TListItem> guard(item);
  if (OnData) OnData(this, item);
  return guard.release();
}

// ---- layout ----

namespace {
// Division rounding toward minus infinity (positions left of or above the origin are negative).
int32_t floorDiv(int32_t a, int32_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
}  // namespace

// Lines of perLine cells: rows (one under the other) or, `down`, columns (one beside the other),
// the first line at the top or left edge of the item area or, `reversed`, at the bottom or right
// edge with the lines that follow going up or left. Coordinates are relative to the item area
// with the view not scrolled.
struct TCustomListView::TFlow {
  int32_t cellW = 0, cellH = 0, width = 0, height = 0, perLine = 1;
  bool down = false, reversed = false;

  int32_t step() const { return down ? cellW : cellH; }
  int32_t length() const { return down ? width : height; }
  TPoint Cell(int32_t index) const {
    const int32_t line = index / perLine, at = index % perLine;
    if (down) return {reversed ? width - (line + 1) * cellW : line * cellW, at * cellH};
    return {at * cellW, reversed ? height - (line + 1) * cellH : line * cellH};
  }
  // The lines whose cells reach into [a, b) on the axis the lines follow one another along.
  std::pair<int32_t, int32_t> Lines(int32_t a, int32_t b) const {
    if (reversed) std::tie(a, b) = std::make_pair(length() - b, length() - a);
    return {floorDiv(a, step()), floorDiv(b - 1, step())};
  }
  // The index whose cell holds the point, -1 when no cell does.
  int32_t IndexAt(TPoint p) const {
    int32_t along = down ? p.X : p.Y;
    const int32_t across = down ? p.Y : p.X;
    if (reversed) along = length() - 1 - along;
    if (along < 0 || across < 0) return -1;
    const int32_t at = across / (down ? cellH : cellW);
    if (at >= perLine) return -1;
    const int64_t index = int64_t(along / step()) * perLine + at;
    return index > INT32_MAX ? -1 : int32_t(index);
  }
  TRect Extent(int32_t count) const {
    if (count <= 0) return {};
    const int32_t lines = (count + perLine - 1) / perLine, across = std::min(count, perLine);
    if (down) {
      const int32_t w = lines * cellW;
      return {reversed ? width - w : 0, 0, reversed ? width : w, across * cellH};
    }
    const int32_t h = lines * cellH;
    return {0, reversed ? height - h : 0, across * cellW, reversed ? height : h};
  }
  // The index step of a move in a direction (0: no move that way).
  int32_t Step(TSearchDirection direction) const {
    const int32_t line = reversed ? -perLine : perLine;
    switch (direction) {
      case sdLeft: return down ? -line : -1;
      case sdRight: return down ? line : 1;
      case sdAbove: return down ? -1 : -line;
      case sdBelow: return down ? 1 : line;
      default: return 1;
    }
  }
};

TCustomListView::TFlow TCustomListView::flow() const {
  TFlow f;
  const TRect area = ItemArea();
  f.width = area.Width();
  f.height = area.Height();
  f.cellW = viewStyle_ == vsIcon ? IconCellWidth : ListColumnWidth;
  f.cellH = viewStyle_ == vsIcon ? IconCellHeight : RowHeight;
  const TListArrangement edge = viewStyle_ == vsList ? arAlignLeft : alignment_;
  f.down = edge == arAlignLeft || edge == arAlignRight;
  f.reversed = edge == arAlignBottom || edge == arAlignRight;
  f.perLine = f.down ? std::max(1, f.height / f.cellH) : std::max(1, f.width / f.cellW);
  return f;
}

TRect TCustomListView::ItemArea() const {
  TRect r = ClientRect();
  if (viewStyle_ == vsReport && showColumnHeaders_) r.Top = std::min(r.Bottom, r.Top + HeaderHeight);
  return r;
}

int32_t TCustomListView::Cols() const {
  const int32_t cell = viewStyle_ == vsIcon ? IconCellWidth : ListColumnWidth;
  return std::max(1, ClientWidth() / cell);
}

int32_t TCustomListView::VisibleRowCount() const {
  const TRect area = ItemArea();
  switch (viewStyle_) {
    case vsIcon: return std::max(1, (area.Height() + IconCellHeight - 1) / IconCellHeight) * Cols();
    case vsSmallIcon: return std::max(1, (area.Height() + RowHeight - 1) / RowHeight) * Cols();
    case vsList: return std::max(1, area.Height() / RowHeight) * std::max(1, (area.Width() + ListColumnWidth - 1) / ListColumnWidth);
    default: return std::max(0, area.Height() / RowHeight);
  }
}

// The last first row that still fills the view (report style).
int32_t TCustomListView::maxTopIndex() const {
  return std::max(0, items_->Count() - std::max(1, ItemArea().Height() / RowHeight));
}

TRect TCustomListView::contentExtent() const {
  const int32_t count = items_->Count();
  if (viewStyle_ == vsReport) {
    const std::vector<int32_t> edges = ColumnEdges();
    const int32_t width = columns_->Count() > 0 ? edges.back() - edges.front() : ItemArea().Width();
    return {0, 0, width, count * RowHeight};
  }
  TRect r = flow().Extent(count);
  if (handPlaced_ && !ownerData_ && iconStyle()) {
    const TFlow f = flow();
    for (const TListItem* item : items_->items_) {
      if (!item->placed_) continue;
      const TRect b = Bounds(item->position_.X, item->position_.Y, f.cellW, f.cellH);
      if (r.IsEmpty()) r = b;
      r = {std::min(r.Left, b.Left), std::min(r.Top, b.Top), std::max(r.Right, b.Right), std::max(r.Bottom, b.Bottom)};
    }
  }
  return r;
}

TCustomListView::TScrollRange TCustomListView::HorzScrollRange() const {
  const TRect area = ItemArea();
  const TRect c = contentExtent();
  TScrollRange r;
  r.Min = std::min(0, c.Left);
  r.Max = std::max(0, c.Right - area.Width());
  r.Page = area.Width();
  r.Pos = std::clamp(originX_, r.Min, r.Max);
  return r;
}

TCustomListView::TScrollRange TCustomListView::VertScrollRange() const {
  const TRect area = ItemArea();
  TScrollRange r;
  if (viewStyle_ == vsReport) {
    r.Max = maxTopIndex();
    r.Page = std::max(1, area.Height() / RowHeight);
    r.Pos = topIndex_;
  } else if (viewStyle_ != vsList) {
    const TRect c = contentExtent();
    r.Min = std::min(0, c.Top);
    r.Max = std::max(0, c.Bottom - area.Height());
    r.Page = area.Height();
    r.Pos = std::clamp(originY_, r.Min, r.Max);
  }
  return r;
}

TPoint TCustomListView::withinContents(int32_t x, int32_t y) const {
  const TScrollRange h = HorzScrollRange();
  TPoint p{std::clamp(x, h.Min, h.Max), 0};
  if (iconStyle()) {
    const TScrollRange v = VertScrollRange();
    p.Y = std::clamp(y, v.Min, v.Max);
  }
  return p;
}

bool TCustomListView::setOrigin(int32_t x, int32_t y) {
  const TPoint p = withinContents(x, y);
  if (p.X == originX_ && p.Y == originY_) return false;
  originX_ = p.X;
  originY_ = p.Y;
  if (viewStyle_ != vsReport && ownerData_ && OnDataHint && items_->Count() > 0) {
    const std::vector<int32_t> sight = IndexesInSight();
    if (!sight.empty()) OnDataHint(this, sight.front(), sight.back());
  }
  ItemsChanged();
  return true;
}

// The contents shrank or the view changed size: the origin stays within the contents.
void TCustomListView::clampOrigin() {
  if (viewStyle_ == vsReport) return;  // its sideways origin is kept within the columns as it is read
  const TPoint p = withinContents(originX_, originY_);
  originX_ = p.X;
  originY_ = p.Y;
}

void TCustomListView::SetHorzScrollPos(int32_t pos) { setOrigin(pos, originY_); }

void TCustomListView::SetVertScrollPos(int32_t pos) {
  if (viewStyle_ == vsReport) SetTopIndex(pos);
  else setOrigin(originX_, pos);
}

int32_t TCustomListView::TopIndex() const {
  if (viewStyle_ == vsReport) return topIndex_;
  const TFlow f = flow();
  const bool down = f.down;
  const int32_t from = down ? originX_ : originY_;
  const int32_t line = std::max(0, f.Lines(from, from + (down ? f.width : f.height)).first);
  return std::clamp(line * f.perLine, 0, std::max(0, items_->Count() - 1));
}

void TCustomListView::SetTopIndex(int32_t index) {
  if (viewStyle_ != vsReport) {
    const TFlow f = flow();
    const int32_t line = std::max(0, index) / f.perLine;
    const int32_t at = f.reversed ? f.length() - (line + 1) * f.step() : line * f.step();
    if (f.down) setOrigin(at, originY_);
    else setOrigin(originX_, at);
    return;
  }
  index = std::clamp(index, 0, maxTopIndex());
  if (index == topIndex_) return;
  topIndex_ = index;
  if (ownerData_ && OnDataHint && items_->Count() > 0)
    OnDataHint(this, topIndex_, std::min(items_->Count() - 1, topIndex_ + VisibleRowCount() - 1));
  ItemsChanged();
}

TListItem* TCustomListView::TopItem() {
  if (items_->Count() == 0) return nullptr;
  return items_->Item(std::min(TopIndex(), items_->Count() - 1));
}

TPoint TCustomListView::ViewOrigin() const {
  switch (viewStyle_) {
    case vsReport: return {ColumnEdges().front() * -1, topIndex_ * RowHeight};
    case vsList: return {originX_, 0};
    default: return {originX_, originY_};
  }
}

std::vector<int32_t> TCustomListView::ColumnEdges() const {
  std::vector<int32_t> edges{0};
  for (int i = 0; i < columns_->Count(); ++i) edges.push_back(edges.back() + columns_->Items(i)->Width());
  if (viewStyle_ != vsReport) return edges;
  // The sideways origin, kept within the columns however they changed since it was set.
  const int32_t shift = std::clamp(originX_, 0, std::max(0, edges.back() - ItemArea().Width()));
  for (int32_t& e : edges) e -= shift;
  return edges;
}

int32_t TCustomListView::ColumnOfSubItem(int32_t subItem) const {
  for (int i = 0; i < columns_->Count(); ++i)
    if (columns_->Items(i)->DataIndex() == subItem) return i;
  return -1;
}

TRect TCustomListView::SubItemRect(int32_t index, int32_t subItem) const {
  const int32_t column = ColumnOfSubItem(subItem);
  if (viewStyle_ != vsReport || column < 0 || index < 0 || index >= items_->Count()) return {};
  const std::vector<int32_t> edges = ColumnEdges();
  const int32_t y = ItemArea().Top + (index - topIndex_) * RowHeight;
  return {edges[size_t(column)], y, edges[size_t(column) + 1], y + RowHeight};
}

TRect TCustomListView::ItemRect(int32_t index, TDisplayCode code) const {
  if (index < 0 || index >= items_->Count()) return {};
  const TRect area = ItemArea();
  TRect bounds;
  int32_t captionLeft = 0, captionRight = 0;  // report style: the column showing the caption
  if (viewStyle_ == vsReport) {
    const int32_t y = area.Top + (index - topIndex_) * RowHeight;
    const std::vector<int32_t> edges = ColumnEdges();
    const int32_t right = columns_->Count() > 0 ? edges.back() : ClientWidth();
    bounds = {edges.front(), y, right, y + RowHeight};
    const int32_t column = ColumnOfSubItem(0);
    captionLeft = column >= 0 ? edges[size_t(column)] : bounds.Left;
    captionRight = column >= 0 ? edges[size_t(column) + 1] : bounds.Right;
  } else {
    const TFlow f = flow();
    const TListItem* item = ownerData_ ? nullptr : items_->items_[size_t(index)];
    const TPoint at = item && item->placed_ ? item->position_ : f.Cell(index);
    bounds = Bounds(area.Left + at.X - originX_, area.Top + at.Y - originY_, f.cellW, f.cellH);
  }
  const int32_t indent = ownerData_ ? 0 : items_->items_[size_t(index)]->indent_ * 16;
  const int32_t check = checkboxes_ ? CheckWidth : 0;
  if (viewStyle_ == vsIcon) {
    const TRect icon = Bounds(bounds.Left + (bounds.Width() - 32) / 2, bounds.Top + 2, 32, 32);
    const TRect label = {bounds.Left, icon.Bottom + 2, bounds.Right, bounds.Bottom};
    switch (code) {
      case drIcon: return icon;
      case drLabel: return label;
      case drSelectBounds: return {bounds.Left, icon.Top, bounds.Right, bounds.Bottom};
      default: return bounds;
    }
  }
  const bool report = viewStyle_ == vsReport;
  const int32_t iconLeft = (report ? captionLeft : bounds.Left) + check + (report ? indent : 0);
  const TRect icon = {iconLeft, bounds.Top, iconLeft, bounds.Bottom};
  const int32_t labelRight = report ? captionRight : bounds.Right;
  const TRect label = {icon.Right, bounds.Top, std::max(icon.Right, labelRight), bounds.Bottom};
  switch (code) {
    case drIcon: return icon;
    case drLabel: return label;
    case drSelectBounds: return rowSelect_ ? TRect{icon.Left, bounds.Top, bounds.Right, bounds.Bottom}
                                           : TRect{icon.Left, bounds.Top, label.Right, bounds.Bottom};
    default: return bounds;
  }
}

std::vector<int32_t> TCustomListView::IndexesInSight() const {
  const int32_t count = items_->Count();
  std::vector<int32_t> sight;
  if (viewStyle_ == vsReport) {
    for (int32_t i = topIndex_, last = std::min(count, topIndex_ + VisibleRowCount()); i < last; ++i) sight.push_back(i);
    return sight;
  }
  const TRect area = ItemArea();
  const TFlow f = flow();
  const int32_t from = f.down ? originX_ : originY_;
  const auto [first, last] = f.Lines(from, from + (f.down ? area.Width() : area.Height()));
  const int64_t lo = std::max<int64_t>(0, int64_t(first) * f.perLine);
  const int64_t hi = std::min<int64_t>(count, (int64_t(last) + 1) * f.perLine);
  TRect overlap;
  const bool placed = handPlaced_ && !ownerData_ && iconStyle();
  for (int64_t i = lo; i < hi; ++i) {
    if (placed && items_->items_[size_t(i)]->placed_) continue;
    if (IntersectRect(overlap, ItemRect(int32_t(i), drBounds), area)) sight.push_back(int32_t(i));
  }
  if (placed) {
    for (int32_t i = 0; i < count; ++i)
      if (items_->items_[size_t(i)]->placed_ && IntersectRect(overlap, ItemRect(i, drBounds), area)) sight.push_back(i);
    std::sort(sight.begin(), sight.end());
  }
  return sight;
}

int32_t TCustomListView::IndexAt(int32_t x, int32_t y) const {
  const TRect area = ItemArea();
  if (!area.Contains({x, y})) return -1;
  const int32_t count = items_->Count();
  int32_t index = -1;
  if (viewStyle_ == vsReport) {
    const int32_t right = columns_->Count() > 0 ? ColumnEdges().back() : ClientWidth();
    if (x >= right) return -1;
    index = topIndex_ + (y - area.Top) / RowHeight;
  } else {
    const bool placed = handPlaced_ && !ownerData_ && iconStyle();
    if (placed) {
      // Items placed by hand first, the topmost (last) one winning.
      for (int32_t i = count - 1; i >= 0; --i)
        if (items_->items_[size_t(i)]->placed_ && ItemRect(i, drBounds).Contains({x, y})) return i;
    }
    index = flow().IndexAt({x - area.Left + originX_, y - area.Top + originY_});
    if (placed && index >= 0 && index < count && items_->items_[size_t(index)]->placed_) return -1;
  }
  return index >= 0 && index < count ? index : -1;
}

TListItem* TCustomListView::GetItemAt(int32_t x, int32_t y) {
  const int32_t i = IndexAt(x, y);
  return i < 0 ? nullptr : items_->Item(i);
}

THitTests TCustomListView::GetHitTestInfoAt(int32_t x, int32_t y) const {
  THitTests hits;
  const TRect client = ClientRect();
  if (y < client.Top) hits.include(htAbove);
  if (y >= client.Bottom) hits.include(htBelow);
  if (x < client.Left) hits.include(htToLeft);
  if (x >= client.Right) hits.include(htToRight);
  if (!(hits.bits == 0)) return hits;
  const int32_t i = IndexAt(x, y);
  if (i < 0) {
    hits.include(htNowhere);
    return hits;
  }
  const TPoint p{x, y};
  if (CheckRect(i).Contains(p)) hits.include(htOnStateIcon);
  else if (ItemRect(i, drIcon).Contains(p)) hits.include(htOnIcon);
  else if (ItemRect(i, drLabel).Contains(p)) hits.include(htOnLabel);
  else hits.include(htOnItem);
  return hits;
}

TListItem* TCustomListView::GetNearestItem(TPoint p, TSearchDirection direction) {
  int32_t best = -1;
  int64_t bestDistance = 0;
  for (int32_t i = 0; i < items_->Count(); ++i) {
    const TRect r = ItemRect(i, drBounds);
    const int32_t cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    switch (direction) {
      case sdLeft: if (cx >= p.X) continue; break;
      case sdRight: if (cx <= p.X) continue; break;
      case sdAbove: if (cy >= p.Y) continue; break;
      case sdBelow: if (cy <= p.Y) continue; break;
      default: break;
    }
    const int64_t d = int64_t(cx - p.X) * (cx - p.X) + int64_t(cy - p.Y) * (cy - p.Y);
    if (best < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best < 0 ? nullptr : items_->Item(best);
}

TRect TCustomListView::CheckRect(int32_t index) const {
  if (!checkboxes_ || viewStyle_ == vsIcon || index < 0 || index >= items_->Count()) return {};
  const TRect icon = ItemRect(index, drIcon);
  const int32_t indent = viewStyle_ == vsReport && !ownerData_ ? items_->items_[size_t(index)]->indent_ * 16 : 0;
  const int32_t left = icon.Left - indent - CheckWidth;
  return {left, icon.Top, left + CheckWidth, icon.Bottom};
}

int32_t TCustomListView::stepOf(TSearchDirection direction) const {
  if (viewStyle_ != vsReport) return flow().Step(direction);
  return direction == sdAbove ? -1 : direction == sdLeft || direction == sdRight ? 0 : 1;
}

int32_t TCustomListView::NeighbourIndex(int32_t index, TSearchDirection direction) const {
  const int32_t step = stepOf(direction);
  const int64_t next = int64_t(index) + step;
  if (step == 0 || next < 0 || next >= items_->Count()) return -1;
  if (viewStyle_ != vsReport && direction != sdAll) {
    // A move along a line ends at the line's end.
    const TFlow f = flow();
    const bool alongLine = f.down ? direction == sdAbove || direction == sdBelow : direction == sdLeft || direction == sdRight;
    if (alongLine && next / f.perLine != index / f.perLine) return -1;
  }
  return int32_t(next);
}

TListItem* TCustomListView::GetNextItem(TListItem* start, TSearchDirection direction, TItemStates states) {
  const int32_t count = items_->Count();
  const int32_t from = start ? (ownerData_ ? start->index_ : items_->IndexOf(start)) : -1;
  auto matches = [&](int32_t i) {
    if (states.has(isSelected) && !IsSelected(i)) return false;
    if (states.has(isFocused) && focused_ != i) return false;
    if (states.has(isDropHilited) && dropTarget_ != i) return false;
    if (states.has(isCut) && (ownerData_ || !items_->items_[size_t(i)]->cut_)) return false;
    return true;
  };
  const int32_t step = stepOf(direction);
  if (step == 0) return nullptr;
  if (from < 0) {
    // No start: the first match from the end the direction leads away from.
    const bool backwards = step < 0;
    for (int32_t k = 0; k < count; ++k) {
      const int32_t i = backwards ? count - 1 - k : k;
      if (matches(i)) return items_->Item(i);
    }
    return nullptr;
  }
  for (int32_t i = NeighbourIndex(from, direction); i >= 0; i = NeighbourIndex(i, direction))
    if (matches(i)) return items_->Item(i);
  return nullptr;
}

TRect TCustomListView::BoundingRect() const {
  TRect r{};
  for (int32_t i = 0, n = items_->Count(); i < n; ++i) {
    const TRect b = ItemRect(i, drBounds);
    if (i == 0) r = b;
    r = {std::min(r.Left, b.Left), std::min(r.Top, b.Top), std::max(r.Right, b.Right), std::max(r.Bottom, b.Bottom)};
    if (viewStyle_ == vsReport && n > 1) {
      const TRect last = ItemRect(n - 1, drBounds);
      r = {r.Left, r.Top, std::max(r.Right, last.Right), last.Bottom};
      break;
    }
  }
  return r;
}

void TCustomListView::Scroll(int32_t dx, int32_t dy) {
  // Any distance is taken: the view stops at the ends of its contents.
  auto plus = [](int32_t a, int32_t b) { return int32_t(std::clamp<int64_t>(int64_t(a) + b, INT32_MIN, INT32_MAX)); };
  switch (viewStyle_) {
    case vsReport:
      setOrigin(plus(-ColumnEdges().front(), dx), 0);
      SetTopIndex(plus(topIndex_, dy / RowHeight));
      break;
    case vsList: setOrigin(plus(originX_, dx), 0); break;
    default: setOrigin(plus(originX_, dx), plus(originY_, dy));
  }
}

void TCustomListView::makeVisible(int32_t index, bool partialOK) {
  const TRect area = ItemArea();
  const TRect r = ItemRect(index, drBounds);
  if (viewStyle_ == vsReport) {
    if (r.Top >= area.Top && (r.Bottom <= area.Bottom || (partialOK && r.Top < area.Bottom))) return;
    const int32_t visible = std::max(1, area.Height() / RowHeight);
    SetTopIndex(index < topIndex_ ? index : index - visible + 1);
    return;
  }
  // How far the view moves on one axis to bring [lo, hi) into [areaLo, areaHi).
  auto needed = [partialOK](int32_t lo, int32_t hi, int32_t areaLo, int32_t areaHi) {
    if (lo >= areaLo && hi <= areaHi) return 0;
    if (partialOK && lo < areaHi && hi > areaLo) return 0;
    return lo < areaLo || hi - lo > areaHi - areaLo ? lo - areaLo : hi - areaHi;
  };
  setOrigin(originX_ + needed(r.Left, r.Right, area.Left, area.Right),
            originY_ + needed(r.Top, r.Bottom, area.Top, area.Bottom));
}

void TCustomListView::Arrange(TListArrangement code) {
  if (code == arSnapToGrid) {
    if (ownerData_) return;
    const TFlow f = flow();
    auto snap = [](int32_t v, int32_t cell) { return floorDiv(v + cell / 2, cell) * cell; };
    for (TListItem* item : items_->items_)
      if (item->placed_) item->position_ = {snap(item->position_.X, f.cellW), snap(item->position_.Y, f.cellH)};
  } else {
    if (code != arDefault) alignment_ = code;
    for (TListItem* item : items_->items_) item->placed_ = false;
    handPlaced_ = false;
    originX_ = originY_ = 0;
  }
  clampOrigin();
  ItemsChanged();
}

int32_t TCustomListView::StringWidth(const std::string& text) const {
  if (!QGuiApplication::instance()) return int32_t(rt::utf8::charIndex(text, text.size())) * 6;
  QFontMetrics metrics(Font()->ToQFont());
  return metrics.horizontalAdvance(QString::fromUtf8(text.data(), int(text.size())));
}

void TCustomListView::UpdateItems(int32_t first, int32_t last) {
  (void)first;
  (void)last;
  Invalidate();
}

// ---- sorting and finding ----

int32_t CompareCaptions(const TListItem* a, const TListItem* b) { return compareText(a->Caption(), b->Caption()); }

int32_t TCustomListView::compare(TListItem* a, TListItem* b) {
  if (!OnCompare) return compareText(a->caption_, b->caption_);
  int32_t result = 0;
  OnCompare(this, a, b, 0, result);
  return result;
}

int32_t TCustomListView::sortedPlace(TListItem* item) {
  auto& v = items_->items_;
  size_t lo = 0, hi = v.size();
  while (lo < hi) {
    const size_t mid = (lo + hi) / 2;
    if (v[mid] != item && compare(v[mid], item) <= 0) lo = mid + 1;
    else hi = mid;
  }
  return int32_t(lo);
}

bool TCustomListView::CustomSort(const std::function<int32_t(TListItem*, TListItem*)>& cmp) {
  if (ownerData_) return false;
  if (inSort_) return false;
  AfterPaint([this, cmp] {
    if (inSort_ || ownerData_) return;
    auto& v = items_->items_;
    const int32_t focused = focused_, anchor = anchor_, drop = dropTarget_, editing = editing_;
    TListItem* f = focused >= 0 && size_t(focused) < v.size() ? v[size_t(focused)] : nullptr;
    TListItem* a = anchor >= 0 && size_t(anchor) < v.size() ? v[size_t(anchor)] : nullptr;
    TListItem* d = drop >= 0 && size_t(drop) < v.size() ? v[size_t(drop)] : nullptr;
    TListItem* e = editing >= 0 && size_t(editing) < v.size() ? v[size_t(editing)] : nullptr;
    // The comparer may ask for changes of the list: they wait until the sort is over, like those
    // asked for during a paint.
    std::vector<TListItem*> order = v;
    inSort_ = true;
    try {
      WarmStableSort(order, [&](TListItem* x, TListItem* y) { return cmp(x, y) < 0; }, warmItem);
    } catch (...) {
      inSort_ = false;
      if (painting_ == 0) runDeferred();
      throw;
    }
    inSort_ = false;
    v = std::move(order);
    items_->renumber(0);
    focused_ = f ? items_->IndexOf(f) : -1;
    anchor_ = a ? items_->IndexOf(a) : -1;
    dropTarget_ = d ? items_->IndexOf(d) : -1;
    editing_ = e ? items_->IndexOf(e) : -1;
    ItemsChanged();
    if (painting_ == 0) runDeferred();
  });
  return true;
}

void TCustomListView::runDeferred() {
  while (!afterPaint_.empty()) {
    auto changes = std::move(afterPaint_);
    afterPaint_.clear();
    for (auto& change : changes) change();
  }
}

bool TCustomListView::AlphaSort() {
  return CustomSort([this](TListItem* a, TListItem* b) { return compare(a, b); });
}

void TCustomListView::sortNow() { AlphaSort(); }

TListItem* TCustomListView::FindCaption(int32_t start, const std::string& value, bool partial, bool inclusive,
                                        bool wrap) {
  const int32_t count = items_->Count();
  if (count == 0) return nullptr;
  if (ownerData_) {
    int32_t index = -1;
    if (OnDataFind)
      OnDataFind(this, partial ? ifPartialString : ifExactString, value, TPoint{0, 0}, 0, start, sdAll, wrap, index);
    return index >= 0 && index < count ? items_->Item(index) : nullptr;
  }
  auto matches = [&](int32_t i) {
    const std::string& c = items_->items_[size_t(i)]->caption_;
    return partial ? startsWithText(c, value) : compareText(c, value) == 0;
  };
  int32_t first = std::max(0, inclusive ? start : start + 1);
  for (int32_t i = first; i < count; ++i)
    if (matches(i)) return items_->items_[size_t(i)];
  if (wrap)
    for (int32_t i = 0; i < std::min(first, count); ++i)
      if (matches(i)) return items_->items_[size_t(i)];
  return nullptr;
}

// ---- editing ----

void TCustomListView::FinishEdit(const std::string& text, bool accept) {
  const int32_t index = editing_;
  editing_ = -1;
  PeerChanged(TPeerChange::State);
  if (index < 0 || index >= items_->Count() || !accept) return;
  std::unique_ptr<TListItem> temp;
  TListItem* item;
  if (ownerData_) {
    temp.reset(DataItem(index));
    item = temp.get();
  } else {
    item = items_->items_[size_t(index)];
  }
  std::string s = text;
  auto alive = item->LivenessToken();
  if (OnEdited) OnEdited(this, item, s);
  if (!alive.expired() && !ownerData_) item->SetCaption(s);
}

// ---- paints ----

TCustomListView::TPaintScope::TPaintScope(TCustomListView& view) : view_(view) { ++view_.painting_; }

TCustomListView::TPaintScope::~TPaintScope() {
  if (--view_.painting_ > 0 || view_.afterPaint_.empty()) return;
  auto changes = std::make_shared<std::vector<std::function<void()>>>(std::move(view_.afterPaint_));
  view_.afterPaint_.clear();
  TCustomListView* view = &view_;
  Application()->Post([view, changes, alive = view_.LivenessToken()] {
    for (auto& change : *changes) {
      if (alive.expired()) return;
      try {
        change();
      } catch (...) {
        Application()->HandleException(view);
      }
    }
  });
}

void TCustomListView::AfterPaint(std::function<void()> change) {
  if (painting_ > 0 || inSort_) afterPaint_.push_back(std::move(change));
  else change();
}

bool TCustomListView::CustomDraw(const TRect& r, TCustomDrawStage stage) {
  bool draw = true;
  if (stage == cdPrePaint && OnCustomDraw) OnCustomDraw(this, r, draw);
  if (OnAdvancedCustomDraw) OnAdvancedCustomDraw(this, r, stage, draw);
  return draw;
}

bool TCustomListView::CustomDrawItem(TListItem* item, TCustomDrawState state, TCustomDrawStage stage) {
  bool draw = true;
  if (stage == cdPrePaint && OnCustomDrawItem) OnCustomDrawItem(this, item, state, draw);
  if (OnAdvancedCustomDrawItem) OnAdvancedCustomDrawItem(this, item, state, stage, draw);
  return draw;
}

bool TCustomListView::CustomDrawSubItem(TListItem* item, int32_t subItem, TCustomDrawState state,
                                        TCustomDrawStage stage) {
  bool draw = true;
  if (stage == cdPrePaint && OnCustomDrawSubItem) OnCustomDrawSubItem(this, item, subItem, state, draw);
  if (OnAdvancedCustomDrawSubItem) OnAdvancedCustomDrawSubItem(this, item, subItem, state, stage, draw);
  return draw;
}

void TCustomListView::DrawItem(TListItem* item, const TRect& r, TOwnerDrawState state) {
  if (OnDrawItem) OnDrawItem(this, item, r, state);
}

TCustomDrawState TCustomListView::DrawState(int32_t index) const {
  TCustomDrawState state;
  if (IsSelected(index)) state.include(cdsSelected);
  if (focused_ == index) state.include(cdsFocused);
  if (!Enabled()) state.include(cdsDisabled);
  if (!ownerData_ && index >= 0 && size_t(index) < items_->items_.size() && items_->items_[size_t(index)]->checked_)
    state.include(cdsChecked);
  return state;
}

void TCustomListView::PaintItems(const std::function<void(int32_t, TListItem&, int32_t)>& draw) {
  TPaintScope scope(*this);
  auto alive = LivenessToken();
  const TRect client = ClientRect();
  if (!CustomDraw(client, cdPrePaint) || alive.expired()) return;
  const bool report = viewStyle_ == vsReport;
  for (const int32_t i : IndexesInSight()) {
    if (i >= items_->Count()) break;  // a recount waits for the paint; checked all the same
    std::unique_ptr<TListItem> temp;
    TListItem* item;
    if (ownerData_) {
      temp.reset(DataItem(i));
      item = temp.get();
    } else {
      item = items_->items_[size_t(i)];
    }
    if (alive.expired()) return;
    const TCustomDrawState state = DrawState(i);
    if (ownerDraw_ && report && OnDrawItem) {
      TOwnerDrawState od;
      if (state.has(cdsSelected)) od.include(odSelected);
      if (state.has(cdsFocused)) od.include(odFocused);
      DrawItem(item, ItemRect(i, drBounds), od);
      continue;
    }
    if (!CustomDrawItem(item, state, cdPrePaint) || alive.expired()) continue;
    // The images are asked for as they are drawn.
    if (OnGetImageIndex) OnGetImageIndex(this, item);
    if (alive.expired()) return;
    if (draw) draw(i, *item, -1);
    if (report) {
      // The sub-items in the order their columns stand in.
      for (int32_t column = 0; column < columns_->Count(); ++column) {
        const int32_t sub = columns_->Items(column)->DataIndex();
        if (sub == 0) continue;
        if (!CustomDrawSubItem(item, sub, state, cdPrePaint) || alive.expired()) continue;
        if (OnGetSubItemImage && sub <= item->SubItems()->Count()) {
          int32_t image = item->SubItemImages(sub - 1);
          OnGetSubItemImage(this, item, sub, image);
          if (alive.expired()) return;
        }
        if (draw) draw(i, *item, sub - 1);
      }
    }
    if (OnAdvancedCustomDrawItem) CustomDrawItem(item, state, cdPostPaint);
    if (alive.expired()) return;
  }
  CustomDraw(client, cdPostPaint);
}

// ---- input ----

void TCustomListView::UserSelect(int32_t index, bool extend, bool toggle) {
  if (index < 0 || index >= items_->Count()) return;
  auto alive = LivenessToken();
  if (multiSelect_ && toggle) {
    changeSelection(index, !IsSelected(index));
    anchor_ = index;
  } else if (multiSelect_ && extend && anchor_ >= 0) {
    const int32_t lo = std::min(anchor_, index), hi = std::max(anchor_, index);
    if (ownerData_) {
      // An owner-data list reports the new range at once.
      TItemStates oldState, newState;
      newState.include(isSelected);
      dataSelected_.clear();
      for (int32_t i = lo; i <= hi; ++i) dataSelected_.insert(i);
      PeerChanged(TPeerChange::State);
      if (OnDataStateChange) OnDataStateChange(this, lo, hi, oldState, newState);
    } else {
      for (int32_t i = 0; i < items_->Count() && !alive.expired(); ++i)
        if ((i < lo || i > hi) && IsSelected(i)) changeSelection(i, false);
      for (int32_t i = lo; i <= hi && !alive.expired(); ++i) changeSelection(i, true);
    }
  } else {
    for (int32_t other = SelectedIndex(); other >= 0 && other != index && !alive.expired();) {
      if (!changeSelection(other, false)) return;
      const int32_t next = SelectedIndex();
      if (next == other) break;
      other = next == index ? -1 : next;
      if (other < 0) {
        // Only the clicked item may still be selected; look past it.
        for (int32_t i = index + 1; i < items_->Count(); ++i)
          if (IsSelected(i)) {
            other = i;
            break;
          }
      }
    }
    if (alive.expired()) return;
    changeSelection(index, true);
    anchor_ = index;
  }
  if (alive.expired()) return;
  changeFocus(index);
  Click();
}

void TCustomListView::UserToggleCheck(int32_t index) {
  if (index < 0 || index >= items_->Count() || ownerData_ || !checkboxes_) return;
  TListItem* item = items_->items_[size_t(index)];
  item->SetChecked(!item->checked_);
}

void TCustomListView::UserColumnClick(int32_t column) {
  if (column < 0 || column >= columns_->Count() || !columnClick_) return;
  if (OnColumnClick) OnColumnClick(this, columns_->Items(column));
}

void TCustomListView::UserColumnRightClick(int32_t column, TPoint p) {
  if (column < 0 || column >= columns_->Count()) return;
  if (OnColumnRightClick) OnColumnRightClick(this, columns_->Items(column), p);
}

void TCustomListView::UserColumnResize(int32_t column, int32_t width) {
  if (column < 0 || column >= columns_->Count()) return;
  columns_->Items(column)->SetWidth(width);
}

void TCustomListView::UserColumnDrag(int32_t from, int32_t to) {
  const int32_t count = columns_->Count();
  if (!fullDrag_ || from < 0 || from >= count || to < 0 || to >= count || from == to) return;
  columns_->Items(from)->SetIndex(to);
  if (OnColumnDragged) OnColumnDragged(this);
}

std::string TCustomListView::InfoTip(int32_t index) {
  if (index < 0 || index >= items_->Count()) return {};
  std::unique_ptr<TListItem> temp;
  TListItem* item;
  if (ownerData_) {
    temp.reset(DataItem(index));
    item = temp.get();
  } else {
    item = items_->items_[size_t(index)];
  }
  std::string tip = item->caption_;
  if (OnInfoTip) OnInfoTip(this, item, tip);
  return tip;
}

}  // namespace fw
