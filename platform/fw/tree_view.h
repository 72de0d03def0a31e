// Tree views: a hierarchy of text nodes the user expands, collapses, selects and edits in place.
//
// The nodes belong to the view's TTreeNodes. Every node keeps its children in order; "depth-first
// order" (TTreeNodes::Item, AbsoluteIndex, GetNext) visits a node before its children. A node is
// visible when all its ancestors are expanded; the visible nodes form the rows the view shows,
// ItemHeight pixels each from TopItem down, indented by Indent pixels per level.
//
// Expanding and collapsing (from code or from the user) ask OnExpanding/OnCollapsing first and
// tell OnExpanded/OnCollapsed after; selecting asks OnChanging and tells OnChange; editing a
// label asks OnEditing and hands the new text to OnEdited, which may change it. Deleting a node
// tells OnDeletion while the node is still whole (Deleting reads true).
//
// Painting: the peer paints through Paint, which fires the custom-draw events around its drawing
// of each row. Script handlers run there; a node deleted from one of them leaves the tree at once
// but its memory stays until the paint is over, so the rows being drawn never reach freed nodes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/fw/control.h"
#include "platform/fw/custom_draw.h"
#include "platform/fw/events.h"
#include "platform/fw/filer.h"
#include "platform/fw/form.h"
#include "platform/fw/tab_control.h"

namespace fw {

FW_ENUM(TNodeAttachMode, naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert)

class TTreeNode;
class TTreeNodes;
class TCustomTreeView;

using TTVChangedEvent = rt::Event<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandedEvent = rt::Event<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = rt::Event<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVCollapsingEvent = rt::Event<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandingEvent = rt::Event<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVEditingEvent = rt::Event<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = rt::Event<void(TObject* Sender, TTreeNode* Node, std::string& S)>;
using TTVCompareEvent =
    rt::Event<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, int32_t Data, int32_t& Compare)>;
using TTVCustomDrawEvent = rt::Event<void(TObject* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TTVCustomDrawItemEvent =
    rt::Event<void(TObject* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw)>;
using TTVAdvancedCustomDrawEvent =
    rt::Event<void(TObject* Sender, const TRect& ARect, TCustomDrawStage Stage, bool& DefaultDraw)>;
using TTVAdvancedCustomDrawItemEvent = rt::Event<void(TObject* Sender, TTreeNode* Node, TCustomDrawState State,
                                                      TCustomDrawStage Stage, bool& PaintImages, bool& DefaultDraw)>;

class TTreeNode : public TPersistent {
  RT_CLASS(TTreeNode)
 public:
  explicit TTreeNode(TTreeNodes* owner);
  ~TTreeNode() override;

  TTreeNodes* Owner() const { return owner_; }
  TCustomTreeView* TreeView() const;
  // Null at the top level.
  TTreeNode* Parent() const;
  int32_t Level() const;
  // Position among the siblings.
  int32_t Index() const { return index_; }
  // Position in depth-first order over the whole tree.
  int32_t AbsoluteIndex() const;
  int32_t Count() const { return int32_t(children_.size()); }
  // The child at `index`; EListError outside 0..Count - 1.
  TTreeNode* Item(int32_t index) const;

  TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
  TTreeNode* GetLastChild() const { return children_.empty() ? nullptr : children_.back(); }
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // Depth-first neighbours.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  // Neighbours among the visible nodes.
  TTreeNode* GetNextVisible() const;
  TTreeNode* GetPrevVisible() const;
  // The child after or before `value` (null when `value` is no child of this node).
  TTreeNode* GetNextChild(const TTreeNode* value) const;
  TTreeNode* GetPrevChild(const TTreeNode* value) const;
  bool HasAsParent(const TTreeNode* value) const;
  // The position of the child `value`, -1 when it is none.
  int32_t IndexOf(const TTreeNode* value) const;
  bool IsVisible() const;

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  // The program's pointer; the bridge keeps its own in BridgeLink, which is neither copied by
  // Assign nor streamed.
  void* Data() const { return data_; }
  void SetData(void* data) { data_ = data; }
  void* BridgeLink() const { return bridgeLink_; }
  void SetBridgeLink(void* link) { bridgeLink_ = link; }

  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t v);
  int32_t SelectedIndex() const { return selectedIndex_; }
  void SetSelectedIndex(int32_t v);
  int32_t StateIndex() const { return stateIndex_; }
  void SetStateIndex(int32_t v);
  int32_t OverlayIndex() const { return overlayIndex_; }
  void SetOverlayIndex(int32_t v);

  bool Expanded() const { return expanded_; }
  void SetExpanded(bool value);
  bool Cut() const { return cut_; }
  void SetCut(bool value);
  bool DropTarget() const;
  void SetDropTarget(bool value);
  bool Focused() const { return focused_; }
  void SetFocused(bool value);
  bool Selected() const;
  void SetSelected(bool value);
  // True when the node has children or was told it has (a node filled on expansion).
  bool HasChildren() const { return hasChildren_ || !children_.empty(); }
  void SetHasChildren(bool value);
  bool Deleting() const { return deleting_; }

  // The node's handle in the control: a number unique among live nodes, never 0.
  int32_t ItemId() const;
  HWND Handle() const;

  // Expanding asks OnExpanding and tells OnExpanded (collapsing likewise); `recurse` does the
  // same to every descendant. A node without children does not expand.
  void Expand(bool recurse);
  void Collapse(bool recurse);
  void Delete();
  void DeleteChildren();
  // Moves the node (with its subtree) next to or under `destination` (null: the top level).
  // EInvalidOperation when the destination is the node itself or one of its descendants.
  void MoveTo(TTreeNode* destination, TNodeAttachMode mode);
  // Sorts the children by text (or through the view's OnCompare); `recurse` sorts every level.
  bool AlphaSort(bool recurse = false);
  // The node's row in client coordinates (its text only when `textOnly`); empty when the node
  // is not visible.
  TRect DisplayRect(bool textOnly) const;
  bool EditText();
  void EndEdit(bool cancel);
  // Expands every ancestor and scrolls the node into view.
  void MakeVisible();

  // Copies text, Data, image indexes, focused, drop target, cut and has-children (not children,
  // not the bridge link). A source that is no node raises EConvertError.
  void Assign(const TPersistent* source) override;

  // Expired once the node is deleted (also while a handler still stands on its memory).
  std::weak_ptr<const void> LivenessToken() const;
  // Taken out of its tree: nothing is to be done with it any more.
  bool Deleted() const { return deleted_; }

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  static void AttachPoint(TTreeNode* root, TTreeNode* relative, TNodeAttachMode mode, TTreeNode*& parent,
                          int32_t& index);

  TTreeNodes* owner_;
  TTreeNode* parent_ = nullptr;  // the nodes' hidden root for top-level nodes
  std::vector<TTreeNode*> children_;
  int32_t index_ = 0;
  std::string text_;
  void* data_ = nullptr;
  void* bridgeLink_ = nullptr;
  int32_t imageIndex_ = -1, selectedIndex_ = -1, stateIndex_ = -1, overlayIndex_ = -1;
  bool expanded_ = false, cut_ = false, focused_ = false, hasChildren_ = false, deleting_ = false;
  bool deleted_ = false;  // out of the tree, its memory not yet freed
  mutable int32_t itemId_ = 0;
  mutable int32_t row_ = -1;  // the row while the view's rows are current
  mutable std::shared_ptr<const void> alive_;
};

class TTreeNodes : public TPersistent, public IDefinesProperties {
  RT_CLASS(TTreeNodes)
 public:
  explicit TTreeNodes(TCustomTreeView* owner);
  ~TTreeNodes() override;

  TCustomTreeView* Owner() const { return owner_; }
  TPersistent* GetOwner() const override;
  int32_t Count() const { return count_; }
  // The node at `index` in depth-first order; EListError outside 0..Count - 1.
  TTreeNode* Item(int32_t index) const;
  TTreeNode* GetFirstNode() const;
  // The node whose ItemId is `itemId`, null for none.
  TTreeNode* GetNode(int32_t itemId) const;
  HWND Handle() const;

  // `relative` null means the top level.
  TTreeNode* Add(TTreeNode* sibling, const std::string& s) { return AddNode(sibling, s, nullptr, naAdd); }
  TTreeNode* AddFirst(TTreeNode* sibling, const std::string& s) { return AddNode(sibling, s, nullptr, naAddFirst); }
  TTreeNode* AddChild(TTreeNode* parent, const std::string& s) { return AddNode(parent, s, nullptr, naAddChild); }
  TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& s) {
    return AddNode(parent, s, nullptr, naAddChildFirst);
  }
  TTreeNode* Insert(TTreeNode* sibling, const std::string& s) { return AddNode(sibling, s, nullptr, naInsert); }
  TTreeNode* AddNode(TTreeNode* relative, const std::string& s, void* data, TNodeAttachMode mode);

  void Delete(TTreeNode* node);
  void Clear();
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updateCount_ > 0; }

  // Replaces the nodes with copies of another collection's (shape, texts, indexes; not Data).
  void Assign(const TPersistent* source) override;

  // Tree text: one line per node in depth-first order, a tab per level, then the text and CR LF.
  void WriteText(TStream& stream) const;
  // Clears, then reads tree text (tabs or spaces give the level). A line more than one level
  // deeper than the one before raises ETreeViewError; the nodes read so far stay.
  void ReadText(TStream& stream);

  void DefineProperties(TFiler& filer) override;

 private:
  friend class TTreeNode;
  friend class TCustomTreeView;

  TTreeNode* Root() const { return root_.get(); }
  // Inserts a new node as child of `parent` at `index`.
  TTreeNode* InsertAt(TTreeNode* parent, int32_t index, const std::string& s, void* data);
  void Link(TTreeNode* node, TTreeNode* parent, int32_t index);
  void Unlink(TTreeNode* node);
  // Fires OnDeletion for the node and its subtree, unlinks and frees (or keeps until the paint
  // is over).
  void DeleteNode(TTreeNode* node);
  void Renumber(TTreeNode* parent, int32_t from);
  void Changed();
  void ForgetNode(TTreeNode* node);
  void ReadData(TStream& stream, bool wide);
  void WriteData(TStream& stream, bool wide) const;
  bool NeedsWide() const;

  TCustomTreeView* owner_;
  std::unique_ptr<TTreeNode> root_;
  int32_t count_ = 0;
  int32_t updateCount_ = 0;
  mutable int32_t cacheIndex_ = -1;
  mutable TTreeNode* cacheNode_ = nullptr;
  mutable std::unordered_map<int32_t, TTreeNode*> ids_;
};

class ETreeViewError : public rt::Exception {
 public:
  using rt::Exception::Exception;
  const char* className() const override { return "ETreeViewError"; }
};

class TCustomTreeView : public TWinControl {
  RT_CLASS(TCustomTreeView)
 public:
  explicit TCustomTreeView(TComponent* owner);
  ~TCustomTreeView() override;

  TTreeNodes* Items() const { return items_.get(); }
  void SetItems(TTreeNodes* items) { items_->Assign(items); }

  TTreeNode* Selected() const { return selected_; }
  // Asks OnChanging, then tells OnChange; the ancestors of the new node expand. Null clears it.
  void SetSelected(TTreeNode* node);
  TTreeNode* DropTarget() const { return dropTarget_; }
  void SetDropTarget(TTreeNode* node);
  // The first visible row.
  TTreeNode* TopItem() const;
  void SetTopItem(TTreeNode* node);

  bool AlphaSort(bool recurse = true);
  void FullExpand();
  void FullCollapse();
  THitTests GetHitTestInfoAt(int32_t x, int32_t y) const;
  TTreeNode* GetNodeAt(int32_t x, int32_t y) const;
  bool IsEditing() const { return editing_ != nullptr; }
  TTreeNode* EditingNode() const { return editing_; }
  // The text in the label editor while editing.
  const std::string& EditorText() const { return editorText_; }
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

  bool AutoExpand() const { return autoExpand_; }
  void SetAutoExpand(bool v) { autoExpand_ = v; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  int32_t ChangeDelay() const { return changeDelay_; }
  void SetChangeDelay(int32_t v) { changeDelay_ = v; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool v) { hotTrack_ = v; }
  int32_t Indent() const { return indent_; }
  void SetIndent(int32_t v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool RightClickSelect() const { return rightClickSelect_; }
  void SetRightClickSelect(bool v) { rightClickSelect_ = v; }
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool v);
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool v);
  bool ShowLines() const { return showLines_; }
  void SetShowLines(bool v);
  bool ShowRoot() const { return showRoot_; }
  void SetShowRoot(bool v);
  TSortType SortType() const { return sortType_; }
  // A sorting type other than stNone sorts the tree at once and keeps new nodes in order.
  void SetSortType(TSortType v);
  bool ToolTips() const { return toolTips_; }
  void SetToolTips(bool v) { toolTips_ = v; }

  // Row geometry (fixed metrics, shared with the peer).
  static constexpr int32_t ItemHeight = 16;
  static constexpr int32_t TextMargin = 2;
  // The visible nodes in row order, rebuilt when the tree or an expansion changed.
  int32_t VisibleCount() const;
  TTreeNode* VisibleNode(int32_t row) const;
  // The row of a visible node, -1 for any other.
  int32_t RowOf(const TTreeNode* node) const;
  int32_t TopRow() const;
  void SetTopRow(int32_t row);
  int32_t PageRows() const;
  // Where the node's text starts, in client coordinates.
  int32_t TextLeft(const TTreeNode* node) const;
  int32_t TextWidth(const std::string& text) const;

  // Input from the peer. UserToggle expands or collapses as a click on the button does;
  // UserSelect selects as a click on the label does; UserKey handles the navigation keys
  // (answers whether it used the key). Editing: UserEditText follows the editor's text,
  // UserEndEdit ends it as Enter (keep) or Escape (cancel) do.
  void UserToggle(TTreeNode* node);
  void UserSelect(TTreeNode* node);
  bool UserKey(uint16_t key);
  void UserEditText(const std::string& text) { editorText_ = text; }
  void UserEndEdit(bool cancel);

  // The paint protocol. OnCustomDraw and OnAdvancedCustomDraw (pre-paint) for the whole
  // client area; when they leave DefaultDraw, for every row from TopItem down that fits:
  // OnGetImageIndex, OnGetSelectedIndex, OnCustomDrawItem and OnAdvancedCustomDrawItem, then
  // `drawRow` unless a handler cleared DefaultDraw; finally OnAdvancedCustomDraw (post-paint).
  // Nodes deleted by the handlers are freed when the paint is over.
  using TDrawRow = std::function<void(TTreeNode& node, int32_t y, TCustomDrawState state)>;
  void Paint(const TDrawRow& drawRow);
  bool Painting() const { return painting_ > 0; }

  TTVAdvancedCustomDrawEvent OnAdvancedCustomDraw;
  TTVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;
  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandedEvent OnCollapsed;
  TTVCollapsingEvent OnCollapsing;
  TTVCompareEvent OnCompare;
  TTVCustomDrawEvent OnCustomDraw;
  TTVCustomDrawItemEvent OnCustomDrawItem;
  TTVExpandedEvent OnDeletion;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVExpandedEvent OnExpanded;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnGetImageIndex;
  TTVExpandedEvent OnGetSelectedIndex;

 protected:
  bool DoKeyDown(uint16_t& key, TShiftState shift) override;

 private:
  friend class TTreeNode;
  friend class TTreeNodes;

  // The tree changed shape (nodes added, removed, moved, expanded or collapsed).
  void TreeChanged();
  void NodeChanged();
  void NodeRemoving(TTreeNode* node);
  bool CanExpand(TTreeNode* node);
  bool CanCollapse(TTreeNode* node);
  void RebuildRows() const;
  void ClampTop() const;
  // -1, 0 or 1 as OnCompare (or the texts without case) order two nodes.
  int32_t CompareNodes(TTreeNode* a, TTreeNode* b);
  void SortChildren(TTreeNode* parent, bool recurse);
  void SortLevel(TTreeNode* parent, bool recurse);
  static void WarmNode(const TTreeNode* node, int stage);
  int32_t SortedPlace(TTreeNode* parent, const std::string& s, TTreeNode* skip);
  bool StartEdit(TTreeNode* node);
  void FinishEdit(bool cancel);
  void FreeDeferred();

  std::unique_ptr<TTreeNodes> items_;
  TTreeNode* selected_ = nullptr;
  TTreeNode* dropTarget_ = nullptr;
  TTreeNode* editing_ = nullptr;
  std::string editorText_;
  mutable int32_t topRow_ = 0;
  mutable std::vector<TTreeNode*> rows_;
  mutable bool rowsValid_ = false;
  int32_t painting_ = 0;
  std::vector<TTreeNode*> deferred_;
  bool autoExpand_ = false;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  int32_t changeDelay_ = 0;
  bool hideSelection_ = true;
  bool hotTrack_ = false;
  int32_t indent_ = 19;
  bool readOnly_ = false;
  bool rightClickSelect_ = false;
  bool rowSelect_ = false;
  bool showButtons_ = true;
  bool showLines_ = true;
  bool showRoot_ = true;
  TSortType sortType_ = stNone;
  bool toolTips_ = true;
};

class TTreeView : public TCustomTreeView {
  RT_CLASS(TTreeView)
 public:
  using TCustomTreeView::TCustomTreeView;
};

// Tells the script bridge that a node still holding its link is being destroyed (installed once
// by the bridge; the node is no longer usable when it is called).
void SetTreeNodeBridgeRelease(void (*release)(void* link));
// Lets the script bridge warm what a script comparer will read of a node about to be compared:
// stage 1 the link's object, stage 2 what that object points to (see WarmStableSort).
void SetTreeNodeBridgeWarm(void (*warm)(void* link, int stage));

}  // namespace fw
