// List views: items with a caption, sub-item texts, image indexes and a check mark, shown as large
// icons, small icons, a list or a report with columns. The view lays its items out itself, so what
// GetItemAt, DisplayRect and the other geometry questions answer is what the peer draws:
//
//   report: rows of RowHeight below a header of HeaderHeight (when ShowColumnHeaders), counted
//   from TopIndex; a row spans the columns, which may be scrolled sideways;
//   list: columns of ListColumnWidth holding as many rows as fit, left to right;
//   small icons and icons: cells of ListColumnWidth x RowHeight or IconCellWidth x IconCellHeight
//   in lines along the edge the last arrangement named (by default rows from the top edge,
//   wrapping at the client width), except the items given a place of their own.
//
// Scrolling moves the view's origin over that layout: in pixels both ways in the icon styles,
// sideways in pixels in the report and list styles, and down in whole rows in the report style.
//
// Owner data: the view keeps no items, only a count; every item the view or a caller needs is made
// on the spot and filled by OnData. Selection and focus of an owner-data list are kept by index.
//
// Paints: the peer brackets every paint with a TPaintScope. Changes of the item list asked for
// while a paint is running (a custom-draw or data handler adding, deleting, clearing, sorting or
// recounting) are kept and carried out once the outermost paint is over, so a paint never sees
// its list change under it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/fw/collection.h"
#include "platform/fw/control.h"
#include "platform/fw/custom_draw.h"
#include "platform/fw/filer.h"
#include "platform/fw/form.h"
#include "platform/fw/strings.h"
#include "platform/fw/tab_control.h"

namespace fw {

FW_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport)
FW_ENUM(TItemChange, ctText, ctImage, ctState)
FW_ENUM(TItemState, isNone, isCut, isDropHilited, isFocused, isSelected, isActivating)
FW_SET(TItemStates, TItemState)
FW_ENUM(TSearchDirection, sdLeft, sdRight, sdAbove, sdBelow, sdAll)
FW_ENUM(TListArrangement, arAlignBottom, arAlignLeft, arAlignRight, arAlignTop, arDefault, arSnapToGrid)
FW_ENUM(TDisplayCode, drBounds, drIcon, drLabel, drSelectBounds)
FW_ENUM(TItemFind, ifData, ifPartialString, ifExactString, ifNearest)

class TCustomListView;
class TListColumn;
class TListItem;
class TListItems;

using TLVCustomDrawEvent = rt::Event<void(TCustomListView* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TLVAdvancedCustomDrawEvent =
    rt::Event<void(TCustomListView* Sender, const TRect& ARect, TCustomDrawStage Stage, bool& DefaultDraw)>;
using TLVCustomDrawItemEvent =
    rt::Event<void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)>;
using TLVAdvancedCustomDrawItemEvent = rt::Event<void(TCustomListView* Sender, TListItem* Item,
                                                      TCustomDrawState State, TCustomDrawStage Stage,
                                                      bool& DefaultDraw)>;
using TLVCustomDrawSubItemEvent = rt::Event<void(TCustomListView* Sender, TListItem* Item, int32_t SubItem,
                                                 TCustomDrawState State, bool& DefaultDraw)>;
using TLVAdvancedCustomDrawSubItemEvent =
    rt::Event<void(TCustomListView* Sender, TListItem* Item, int32_t SubItem, TCustomDrawState State,
                   TCustomDrawStage Stage, bool& DefaultDraw)>;
using TLVChangeEvent = rt::Event<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVChangingEvent = rt::Event<void(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange)>;
using TLVColumnClickEvent = rt::Event<void(TObject* Sender, TListColumn* Column)>;
using TLVColumnRClickEvent = rt::Event<void(TObject* Sender, TListColumn* Column, TPoint Point)>;
using TLVCompareEvent =
    rt::Event<void(TObject* Sender, TListItem* Item1, TListItem* Item2, int32_t Data, int32_t& Compare)>;
using TLVOwnerDataEvent = rt::Event<void(TObject* Sender, TListItem* Item)>;
using TLVOwnerDataFindEvent = rt::Event<void(TObject* Sender, TItemFind Find, const std::string& FindString,
                                             const TPoint& FindPosition, int32_t FindData, int32_t StartIndex,
                                             TSearchDirection Direction, bool Wrap, int32_t& Index)>;
using TLVOwnerDataHintEvent = rt::Event<void(TObject* Sender, int32_t StartIndex, int32_t EndIndex)>;
using TLVOwnerDataStateChangeEvent = rt::Event<void(TObject* Sender, int32_t StartIndex, int32_t EndIndex,
                                                    TItemStates OldState, TItemStates NewState)>;
using TLVDeletedEvent = rt::Event<void(TObject* Sender, TListItem* Item)>;
using TLVDrawItemEvent =
    rt::Event<void(TCustomListView* Sender, TListItem* Item, TRect Rect, TOwnerDrawState State)>;
using TLVEditedEvent = rt::Event<void(TObject* Sender, TListItem* Item, std::string& S)>;
using TLVEditingEvent = rt::Event<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVSubItemImageEvent =
    rt::Event<void(TObject* Sender, TListItem* Item, int32_t SubItem, int32_t& ImageIndex)>;
using TLVInfoTipEvent = rt::Event<void(TObject* Sender, TListItem* Item, std::string& InfoTip)>;
using TLVSelectItemEvent = rt::Event<void(TObject* Sender, TListItem* Item, bool Selected)>;

// ---- columns ----

class TListColumn : public TCollectionItem {
  RT_CLASS(TListColumn)
 public:
  explicit TListColumn(TCollection* collection);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& s);
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t v);
  int32_t MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int32_t v);
  int32_t MinWidth() const { return minWidth_; }
  void SetMinWidth(int32_t v);
  int32_t Tag() const { return tag_; }
  void SetTag(int32_t v) { tag_ = v; }
  // Kept between MinWidth and MaxWidth (when they are set).
  int32_t Width() const { return width_; }
  void SetWidth(int32_t v);
  // Which of the item's texts the column shows: 0 the caption, n the sub-item n - 1. A column
  // shows the texts of the place it was added at, wherever it is moved to later.
  int32_t DataIndex() const { return dataIndex_; }
  std::string DisplayName() const override;
  void Assign(const TPersistent* source) override;
  ~TListColumn() override;

 private:
  int32_t dataIndex_ = 0;
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = false;
  std::string caption_;
  int32_t imageIndex_ = -1;
  int32_t maxWidth_ = 0, minWidth_ = 0;
  int32_t tag_ = 0;
  int32_t width_ = 50;
};

class TListColumns : public TCollection {
  RT_CLASS(TListColumns)
 public:
  explicit TListColumns(TCustomListView* owner);
  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }
  TCustomListView* Owner() const { return owner_; }

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TCustomListView* owner_;
};

// ---- items ----

class TListItem : public TPersistent {
  RT_CLASS(TListItem)
 public:
  explicit TListItem(TListItems* owner);
  ~TListItem() override;

  TListItems* Owner() const { return owner_; }
  TCustomListView* ListView() const;
  // The place in the list (an owner-data item: the index it was made for).
  int32_t Index() const;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& s);
  TStrings* SubItems() const { return subItems_.get(); }
  void SetSubItems(TStrings* s) { subItems_->Assign(s); }
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t v);
  int32_t OverlayIndex() const { return overlayIndex_; }
  void SetOverlayIndex(int32_t v);
  int32_t StateIndex() const { return stateIndex_; }
  void SetStateIndex(int32_t v);
  int32_t Indent() const { return indent_; }
  void SetIndent(int32_t v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Cut() const { return cut_; }
  void SetCut(bool v);
  bool DropTarget() const;
  void SetDropTarget(bool v);
  bool Focused() const;
  void SetFocused(bool v);
  bool Selected() const;
  void SetSelected(bool v);
  // The program's own pointer. Streams write 0 for it and read nothing back.
  void* Data() const { return data_; }
  void SetData(void* p) { data_ = p; }
  // The image of sub-item `index` (0-based, -1 when not set); raises EListError outside the
  // sub-items.
  int32_t SubItemImages(int index) const;
  void SetSubItemImages(int index, int32_t image);

  // Where the item is: its top-left corner in client coordinates (its cell in icon views, its
  // row otherwise). Setting it moves an icon; in the other styles it changes nothing.
  TPoint Position() const;
  void SetPosition(TPoint p);
  int32_t Left() const { return Position().X; }
  void SetLeft(int32_t v) { SetPosition({v, Position().Y}); }
  int32_t Top() const { return Position().Y; }
  void SetTop(int32_t v) { SetPosition({Position().X, v}); }
  int32_t Handle() const;
  int32_t WorkArea() const { return -1; }

  void Delete();
  // Starts editing the caption (OnEditing may refuse); false when refused or read only.
  bool EditCaption();
  void CancelEdit();
  void MakeVisible(bool partialOK);
  void Update();
  // The rectangle of a part of the item in client coordinates.
  TRect DisplayRect(TDisplayCode code) const;

  // Copies caption, image indexes, indent, sub-items and their images, the check mark and the
  // program's pointer. The bridge's link stays where it is.
  void Assign(const TPersistent* source) override;

  // The slot the script bridge keeps its wrapper in: never copied, never streamed.
  void* BridgeLink() const { return bridge_; }
  void SetBridgeLink(void* link) { bridge_ = link; }
  // Expired once the item is deleted (also while a handler still stands on its memory).
  std::weak_ptr<const void> LivenessToken() const;
  // Taken out of its list: nothing is to be done with it any more.
  bool Deleted() const { return deleted_; }

 private:
  friend class TListItems;
  friend class TCustomListView;
  void changed(TItemChange change);
  // Asks OnChanging; false when refused.
  bool changing(TItemChange change);

  TListItems* owner_;
  std::string caption_;
  std::unique_ptr<TStringList> subItems_;
  std::vector<int32_t> subItemImages_;
  int32_t imageIndex_ = -1, overlayIndex_ = -1, stateIndex_ = -1, indent_ = 0;
  bool checked_ = false, cut_ = false, dropTarget_ = false, selected_ = false;
  TPoint position_{0, 0};  // icon views: the place of its own (when placed_) in content coordinates
  bool placed_ = false;
  void* data_ = nullptr;
  void* bridge_ = nullptr;
  int32_t index_ = -1;  // owner-data items: the index; list items: the cached place
  bool deleting_ = false;  // its OnDeletion runs: a deletion from inside leaves it to that one
  bool deleted_ = false;
  mutable std::shared_ptr<const void> alive_;
};

class TListItems : public TPersistent, public IDefinesProperties {
  RT_CLASS(TListItems)
 public:
  explicit TListItems(TCustomListView* owner);
  ~TListItems() override;

  TCustomListView* Owner() const { return owner_; }
  // Owner data: the count set. Otherwise the number of items.
  int32_t Count() const;
  // Owner data: sets the number of items (0 or more). Otherwise nothing changes.
  void SetCount(int32_t count);
  // A list item; in owner data an item made for the index and filled by OnData, which lives until
  // the next call. Raises EListError for a bad index.
  TListItem* Item(int32_t index);
  TListItem* operator[](int32_t index) { return Item(index); }
  TListItem* Add();
  TListItem* Insert(int32_t index);
  void Delete(int32_t index);
  void Clear();
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  // -1 for an item of another list or none.
  int32_t IndexOf(const TListItem* item) const;
  int32_t Handle() const;

  void Assign(const TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;
  TPersistent* GetOwner() const override;
  std::weak_ptr<const void> LivenessToken() const;

  // The items themselves (not in owner data).
  const std::vector<TListItem*>& List() const { return items_; }

 private:
  friend class TListItem;
  friend class TCustomListView;
  void insertNow(int32_t index, TListItem* item);
  void deleteNow(int32_t index);
  void clearNow();
  void renumber(size_t from);
  void readData(TStream& stream, bool longTexts);
  void writeData(TStream& stream, bool longTexts) const;
  bool needsLongTexts() const;

  TCustomListView* owner_;
  std::vector<TListItem*> items_;
  int32_t dataCount_ = 0;
  int updateCount_ = 0;
  std::unique_ptr<TListItem> dataItem_;
  mutable std::shared_ptr<const void> alive_;
};

// ---- the view ----

class TCustomListView : public TWinControl {
  RT_CLASS(TCustomListView)
 public:
  explicit TCustomListView(TComponent* owner);
  ~TCustomListView() override;

  TListColumns* Columns() const { return columns_; }
  void SetColumns(TListColumns* c) { columns_->Assign(c); }
  TListItems* Items() const { return items_; }
  void SetItems(TListItems* i) { items_->Assign(i); }

  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle v);
  bool OwnerData() const { return ownerData_; }
  // Switching clears the items.
  void SetOwnerData(bool v);
  TSortType SortType() const { return sortType_; }
  // Anything but stNone sorts at once and keeps new items in order.
  void SetSortType(TSortType v);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool v) { rowSelect_ = v; Invalidate(); }
  bool GridLines() const { return gridLines_; }
  void SetGridLines(bool v) { gridLines_ = v; Invalidate(); }
  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool v) { checkboxes_ = v; Invalidate(); }
  bool ColumnClick() const { return columnClick_; }
  void SetColumnClick(bool v) { columnClick_ = v; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v) { hideSelection_ = v; Invalidate(); }
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool v);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool v) { hotTrack_ = v; }
  int32_t HoverTime() const { return hoverTime_; }
  void SetHoverTime(int32_t v) { hoverTime_ = v; }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v) { ownerDraw_ = v; Invalidate(); }
  bool FlatScrollBars() const { return flatScrollBars_; }
  void SetFlatScrollBars(bool v) { flatScrollBars_ = v; }
  bool FullDrag() const { return fullDrag_; }
  void SetFullDrag(bool v) { fullDrag_ = v; }
  bool ShowWorkAreas() const { return showWorkAreas_; }
  void SetShowWorkAreas(bool v) { showWorkAreas_ = v; }
  int32_t AllocBy() const { return allocBy_; }
  void SetAllocBy(int32_t v) { allocBy_ = v; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v) { borderStyle_ = v; PeerChanged(TPeerChange::Content); }
  int32_t BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int32_t v) { borderWidth_ = v; }

  // Selection and focus. Setting them from code fires OnChanging/OnChange and OnSelectItem as the
  // user's clicks do.
  TListItem* Selected();
  void SetSelected(TListItem* item);
  TListItem* ItemFocused();
  void SetItemFocused(TListItem* item);
  TListItem* DropTarget();
  void SetDropTarget(TListItem* item);
  int32_t ItemIndex() const;
  void SetItemIndex(int32_t index);
  int32_t SelCount() const;
  void ClearSelection();
  // The index of the first selected item, the focused one and the drop target (-1 when none).
  int32_t SelectedIndex() const;
  int32_t FocusedIndex() const { return focused_; }
  int32_t DropTargetIndex() const { return dropTarget_; }
  bool IsSelected(int32_t index) const;
  void SelectIndex(int32_t index, bool selected);

  // Layout.
  static constexpr int32_t RowHeight = 17;
  static constexpr int32_t HeaderHeight = 20;
  static constexpr int32_t IconCellWidth = 76;
  static constexpr int32_t IconCellHeight = 64;
  static constexpr int32_t ListColumnWidth = 120;
  static constexpr int32_t CheckWidth = 16;
  // The first item in sight (report: the first row); setting it scrolls that item's row (line,
  // column) to the start of the view.
  int32_t TopIndex() const;
  void SetTopIndex(int32_t index);
  TListItem* TopItem();
  int32_t VisibleRowCount() const;
  // The client area the items are laid out in (below the header in report style).
  TRect ItemArea() const;
  // The origin of the view's scrolled contents.
  TPoint ViewOrigin() const;
  // The scroll bars' ranges: Min to Max are the positions, Page what a page shows. Sideways in
  // pixels; down in rows in report style and in pixels in the icon styles (the list style does
  // not scroll down).
  struct TScrollRange {
    int32_t Min = 0, Max = 0, Page = 0, Pos = 0;
  };
  TScrollRange HorzScrollRange() const;
  TScrollRange VertScrollRange() const;
  void SetHorzScrollPos(int32_t pos);
  void SetVertScrollPos(int32_t pos);
  // The indexes of the items in sight, in order.
  std::vector<int32_t> IndexesInSight() const;
  // The rectangle all items take together (in client coordinates).
  TRect BoundingRect() const;
  TRect ItemRect(int32_t index, TDisplayCode code) const;
  // Report style: the cell of an item's sub-item (1-based as in OnCustomDrawSubItem), empty when
  // no column shows it.
  TRect SubItemRect(int32_t index, int32_t subItem) const;
  // The place among the columns of the one showing sub-item `subItem` (0: the caption), -1 when none.
  int32_t ColumnOfSubItem(int32_t subItem) const;
  // The item's check box (empty without Checkboxes and in icon style).
  TRect CheckRect(int32_t index) const;
  int32_t IndexAt(int32_t x, int32_t y) const;
  TListItem* GetItemAt(int32_t x, int32_t y);
  THitTests GetHitTestInfoAt(int32_t x, int32_t y) const;
  TListItem* GetNearestItem(TPoint p, TSearchDirection direction);
  TListItem* GetNextItem(TListItem* start, TSearchDirection direction, TItemStates states);
  // The columns' left edges in report style (one more than there are columns: the right end), in
  // client coordinates.
  std::vector<int32_t> ColumnEdges() const;
  // Scrolls by dx, dy pixels (report style: dy in whole rows, so less than a row does nothing);
  // the view stops at the ends of its contents.
  void Scroll(int32_t dx, int32_t dy);
  // The index of the item next to `index` in a direction (sdAll: the next index), -1 when none.
  int32_t NeighbourIndex(int32_t index, TSearchDirection direction) const;
  // Icon styles: arAlignTop, arAlignLeft, arAlignBottom and arAlignRight lay every item out in
  // lines along that edge (and are kept for the items to come); arDefault lays them out along
  // the edge last named; both take back the places items were given. arSnapToGrid moves the items
  // that have a place of their own to the nearest point of the grid of cell spacing.
  void Arrange(TListArrangement code);
  int32_t StringWidth(const std::string& text) const;
  void UpdateItems(int32_t first, int32_t last);
  std::string SearchString() const { return searchString_; }
  void SetSearchString(const std::string& s) { searchString_ = s; }

  // Sorting: with an OnCompare handler it decides the order (a negative answer puts Item1 first),
  // else captions compare ignoring ASCII case. The sort is stable. False in owner data.
  bool AlphaSort();
  bool CustomSort(const std::function<int32_t(TListItem*, TListItem*)>& compare);
  // Caption search from `start`: exact or partial (a prefix, ignoring ASCII case); `inclusive`
  // tests the start item too; `wrap` goes round to the top. Owner data asks OnDataFind.
  TListItem* FindCaption(int32_t start, const std::string& value, bool partial, bool inclusive, bool wrap);

  // Editing.
  bool IsEditing() const { return editing_ >= 0; }
  int32_t EditingIndex() const { return editing_; }
  // Ends the edit: with `accept` OnEdited may change the text, which then becomes the caption.
  void FinishEdit(const std::string& text, bool accept);

  // Owner data: the item for an index, filled by OnData (also used while painting).
  TListItem* DataItem(int32_t index);

  // Paints. The peer opens a scope around every paint and asks the handlers through these.
  class TPaintScope {
   public:
    explicit TPaintScope(TCustomListView& view);
    ~TPaintScope();
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;

   private:
    TCustomListView& view_;
  };
  // Painting or sorting: changes of the item list wait.
  bool Painting() const { return painting_ > 0 || inSort_; }
  // Each answers whether the default drawing is wanted.
  bool CustomDraw(const TRect& r, TCustomDrawStage stage);
  bool CustomDrawItem(TListItem* item, TCustomDrawState state, TCustomDrawStage stage);
  bool CustomDrawSubItem(TListItem* item, int32_t subItem, TCustomDrawState state, TCustomDrawStage stage);
  void DrawItem(TListItem* item, const TRect& r, TOwnerDrawState state);
  TCustomDrawState DrawState(int32_t index) const;
  // One whole paint of the visible items as the peer paints them, with `drawItem` called for every
  // item the handlers leave to the default drawing (sub-item -1 is the item itself).
  void PaintItems(const std::function<void(int32_t index, TListItem& item, int32_t subItem)>& draw);
  // Runs `change` now, or after the paint or sort that is running.
  void AfterPaint(std::function<void()> change);

  // Input from the peer.
  void UserSelect(int32_t index, bool extend = false, bool toggle = false);
  void UserToggleCheck(int32_t index);
  void UserColumnClick(int32_t column);
  void UserColumnRightClick(int32_t column, TPoint p);
  void UserColumnResize(int32_t column, int32_t width);
  // The header of column `from` was dragged onto column `to`: with FullDrag the column moves
  // there (showing the same texts) and OnColumnDragged tells of it; else nothing changes.
  void UserColumnDrag(int32_t from, int32_t to);
  std::string InfoTip(int32_t index);

  bool HasSortHandler() const { return bool(OnCompare); }

  TLVAdvancedCustomDrawEvent OnAdvancedCustomDraw;
  TLVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;
  TLVAdvancedCustomDrawSubItemEvent OnAdvancedCustomDrawSubItem;
  TLVChangeEvent OnChange;
  TLVChangingEvent OnChanging;
  TLVColumnClickEvent OnColumnClick;
  TNotifyEvent OnColumnDragged;
  TLVColumnRClickEvent OnColumnRightClick;
  TLVCompareEvent OnCompare;
  TLVCustomDrawEvent OnCustomDraw;
  TLVCustomDrawItemEvent OnCustomDrawItem;
  TLVCustomDrawSubItemEvent OnCustomDrawSubItem;
  TLVOwnerDataEvent OnData;
  TLVOwnerDataFindEvent OnDataFind;
  TLVOwnerDataHintEvent OnDataHint;
  TLVOwnerDataStateChangeEvent OnDataStateChange;
  TLVDeletedEvent OnDeletion;
  TLVDrawItemEvent OnDrawItem;
  TLVEditedEvent OnEdited;
  TLVEditingEvent OnEditing;
  TLVOwnerDataEvent OnGetImageIndex;
  TLVSubItemImageEvent OnGetSubItemImage;
  TLVInfoTipEvent OnInfoTip;
  TLVDeletedEvent OnInsert;
  TLVSelectItemEvent OnSelectItem;

 protected:
  friend class TListItems;
  friend class TListItem;
  friend class TListColumns;
  void ItemsChanged();
  void itemInserted(TListItem* item);
  void itemDeleting(TListItem* item);
  // Index bookkeeping after an insertion or deletion at `index`.
  void indexesInserted(int32_t index);
  void indexesDeleted(int32_t index);
  bool changeSelection(int32_t index, bool selected);
  void changeFocus(int32_t index);
  void fireChange(TListItem* item, TItemChange change);
  bool fireChanging(TListItem* item, TItemChange change);
  struct TFlow;
  // How the items without a place of their own lie (every style but report).
  TFlow flow() const;
  int32_t Cols() const;  // icon cells in a row
  int32_t maxTopIndex() const;
  bool iconStyle() const { return viewStyle_ == vsIcon || viewStyle_ == vsSmallIcon; }
  // The index step of a move in a direction (0: none that way).
  int32_t stepOf(TSearchDirection direction) const;
  // The extent of the contents with the origin at 0, 0 (relative to the item area).
  TRect contentExtent() const;
  // The nearest origin to x, y that keeps the view within its contents.
  TPoint withinContents(int32_t x, int32_t y) const;
  // Moves the origin (kept within the contents); true when it moved.
  bool setOrigin(int32_t x, int32_t y);
  void clampOrigin();
  void makeVisible(int32_t index, bool partialOK);
  // Carries out the changes kept while the list was busy (painting or sorting).
  void runDeferred();
  bool sortsItself() const { return sortType_ != stNone && !ownerData_; }
  void sortNow();
  int32_t sortedPlace(TListItem* item);
  int32_t compare(TListItem* a, TListItem* b);
  void Resize() override;

 private:
  TListColumns* columns_;
  TListItems* items_;
  TViewStyle viewStyle_ = vsIcon;
  bool ownerData_ = false;
  TSortType sortType_ = stNone;
  bool multiSelect_ = false, readOnly_ = false, rowSelect_ = false, gridLines_ = false, checkboxes_ = false;
  bool columnClick_ = true, hideSelection_ = true, showColumnHeaders_ = true, hotTrack_ = false;
  bool ownerDraw_ = false, flatScrollBars_ = false, fullDrag_ = false, showWorkAreas_ = false;
  int32_t hoverTime_ = -1, allocBy_ = 0, borderWidth_ = 0;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  int32_t topIndex_ = 0;
  int32_t originX_ = 0, originY_ = 0;
  TListArrangement alignment_ = arAlignTop;
  bool handPlaced_ = false;  // some item may have a place of its own
  int32_t focused_ = -1, dropTarget_ = -1, anchor_ = -1, editing_ = -1;
  std::set<int32_t> dataSelected_;  // owner data: the selected indexes
  std::string searchString_;
  int painting_ = 0;
  std::vector<std::function<void()>> afterPaint_;
  bool inSort_ = false;
};

class TListView : public TCustomListView {
  RT_CLASS(TListView)
 public:
  using TCustomListView::TCustomListView;
};

// The default order of items: their captions, ignoring ASCII case.
int32_t CompareCaptions(const TListItem* a, const TListItem* b);

// Tells the script bridge that an item still holding its link is being destroyed (installed once
// by the bridge; the item is no longer usable when it is called).
void SetListItemBridgeRelease(void (*release)(void* link));
// Lets the script bridge warm what a script comparer will read of an item about to be compared:
// stage 1 the link's object, stage 2 what that object points to (see WarmStableSort).
void SetListItemBridgeWarm(void (*warm)(void* link, int stage));

const rt::MethodType& LVCustomDrawEventType();
const rt::MethodType& LVAdvancedCustomDrawEventType();
const rt::MethodType& LVCustomDrawItemEventType();
const rt::MethodType& LVAdvancedCustomDrawItemEventType();
const rt::MethodType& LVCustomDrawSubItemEventType();
const rt::MethodType& LVAdvancedCustomDrawSubItemEventType();
const rt::MethodType& LVChangeEventType();
const rt::MethodType& LVChangingEventType();
const rt::MethodType& LVColumnClickEventType();
const rt::MethodType& LVColumnRClickEventType();
const rt::MethodType& LVCompareEventType();
const rt::MethodType& LVOwnerDataEventType();
const rt::MethodType& LVOwnerDataFindEventType();
const rt::MethodType& LVOwnerDataHintEventType();
const rt::MethodType& LVOwnerDataStateChangeEventType();
const rt::MethodType& LVDeletedEventType();
const rt::MethodType& LVDrawItemEventType();
const rt::MethodType& LVEditedEventType();
const rt::MethodType& LVEditingEventType();
const rt::MethodType& LVSubItemImageEventType();
const rt::MethodType& LVInfoTipEventType();
const rt::MethodType& LVSelectItemEventType();

}  // namespace fw
