#include "platform/fw/tree_view.h"

#include "platform/fw/warm_sort.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <algorithm>
#include <cstring>

#include "platform/fw/dispatch.h"
#include "platform/fw/errors.h"
#include "platform/fw/font.h"
#include "platform/fw/keys.h"
#include "platform/fw/reader.h"
#include "platform/fw/writer.h"
#include "platform/rt/utf8.h"

namespace fw {

namespace {

rt::MethodParam param(const char* name, const char* type, bool var = false) { return rt::MethodParam{name, type, var}; }

const rt::MethodType& NodeEventType() {
  static const rt::MethodType type{"TTVExpandedEvent", {param("Sender", "TObject"), param("Node", "TTreeNode")}};
  return type;
}
const rt::MethodType& ChangingEventType() {
  static const rt::MethodType type{"TTVChangingEvent", {param("Sender", "TObject"), param("Node", "TTreeNode"),
                                                        param("AllowChange", "Boolean", true)}};
  return type;
}
const rt::MethodType& CollapsingEventType() {
  static const rt::MethodType type{"TTVCollapsingEvent", {param("Sender", "TObject"), param("Node", "TTreeNode"),
                                                          param("AllowCollapse", "Boolean", true)}};
  return type;
}
const rt::MethodType& ExpandingEventType() {
  static const rt::MethodType type{"TTVExpandingEvent", {param("Sender", "TObject"), param("Node", "TTreeNode"),
                                                         param("AllowExpansion", "Boolean", true)}};
  return type;
}
const rt::MethodType& EditingEventType() {
  static const rt::MethodType type{"TTVEditingEvent", {param("Sender", "TObject"), param("Node", "TTreeNode"),
                                                       param("AllowEdit", "Boolean", true)}};
  return type;
}
const rt::MethodType& EditedEventType() {
  static const rt::MethodType type{
      "TTVEditedEvent", {param("Sender", "TObject"), param("Node", "TTreeNode"), param("S", "String", true)}};
  return type;
}
const rt::MethodType& CompareEventType() {
  static const rt::MethodType type{"TTVCompareEvent",
                                   {param("Sender", "TObject"), param("Node1", "TTreeNode"), param("Node2", "TTreeNode"),
                                    param("Data", "Integer"), param("Compare", "Integer", true)}};
  return type;
}
const rt::MethodType& CustomDrawEventType() {
  static const rt::MethodType type{
      "TTVCustomDrawEvent", {param("Sender", "TObject"), param("ARect", "TRect"), param("DefaultDraw", "Boolean", true)}};
  return type;
}
const rt::MethodType& CustomDrawItemEventType() {
  static const rt::MethodType type{"TTVCustomDrawItemEvent",
                                   {param("Sender", "TObject"), param("Node", "TTreeNode"),
                                    param("State", "TCustomDrawState"), param("DefaultDraw", "Boolean", true)}};
  return type;
}
const rt::MethodType& AdvancedCustomDrawEventType() {
  static const rt::MethodType type{"TTVAdvancedCustomDrawEvent",
                                   {param("Sender", "TObject"), param("ARect", "TRect"),
                                    param("Stage", "TCustomDrawStage"), param("DefaultDraw", "Boolean", true)}};
  return type;
}
const rt::MethodType& AdvancedCustomDrawItemEventType() {
  static const rt::MethodType type{
      "TTVAdvancedCustomDrawItemEvent",
      {param("Sender", "TObject"), param("Node", "TTreeNode"), param("State", "TCustomDrawState"),
       param("Stage", "TCustomDrawStage"), param("PaintImages", "Boolean", true), param("DefaultDraw", "Boolean", true)}};
  return type;
}

// Texts in order, ignoring ASCII case (bytes otherwise).
int32_t CompareText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

void writeInt(TStream& s, int32_t v) { s.WriteBuffer(&v, 4); }
int32_t readInt(TStream& s) {
  int32_t v = 0;
  s.ReadBuffer(&v, 4);
  return v;
}

}  // namespace

// ---- TTreeNode ----

const rt::ClassInfo& TTreeNode::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TTreeNode>("TTreeNode", &TPersistent::StaticClassInfo()).build();
  return info;
}

TTreeNode::TTreeNode(TTreeNodes* owner) : owner_(owner) {}

namespace {
void (*nodeBridgeRelease)(void* link) = nullptr;
}  // namespace

void SetTreeNodeBridgeRelease(void (*release)(void* link)) { nodeBridgeRelease = release; }

TTreeNode::~TTreeNode() {
  for (TTreeNode* child : children_) delete child;
  if (itemId_) ReleaseHandle(HWND(itemId_));
  alive_.reset();
  if (void* link = bridgeLink_) {
    bridgeLink_ = nullptr;
    if (nodeBridgeRelease) nodeBridgeRelease(link);
  }
}

std::weak_ptr<const void> TTreeNode::LivenessToken() const {
  if (deleted_) return {};
  if (!alive_) alive_ = std::make_shared<int>(0);
  return alive_;
}

TCustomTreeView* TTreeNode::TreeView() const { return owner_ ? owner_->Owner() : nullptr; }

TTreeNode* TTreeNode::Parent() const {
  return parent_ && owner_ && parent_ != owner_->Root() ? parent_ : nullptr;
}

int32_t TTreeNode::Level() const {
  int32_t level = 0;
  for (TTreeNode* p = Parent(); p; p = p->Parent()) ++level;
  return level;
}

int32_t TTreeNode::AbsoluteIndex() const {
  int32_t index = 0;
  for (const TTreeNode* n = GetPrev(); n; n = n->GetPrev()) ++index;
  return index;
}

TTreeNode* TTreeNode::Item(int32_t index) const {
  if (index < 0 || index >= Count()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  return children_[size_t(index)];
}

TTreeNode* TTreeNode::GetNextSibling() const {
  if (!parent_ || index_ + 1 >= parent_->Count()) return nullptr;
  return parent_->children_[size_t(index_ + 1)];
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  if (!parent_ || index_ <= 0) return nullptr;
  return parent_->children_[size_t(index_ - 1)];
}

TTreeNode* TTreeNode::GetNext() const {
  if (!children_.empty()) return children_.front();
  for (const TTreeNode* n = this; n && n->parent_; n = n->parent_) {
    if (TTreeNode* s = n->GetNextSibling()) return s;
  }
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* prev = GetPrevSibling();
  if (!prev) return Parent();
  while (!prev->children_.empty()) prev = prev->children_.back();
  return prev;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (!IsVisible()) return nullptr;
  if (expanded_ && !children_.empty()) return children_.front();
  for (const TTreeNode* n = this; n && n->parent_; n = n->parent_) {
    if (TTreeNode* s = n->GetNextSibling()) return s;
  }
  return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
  if (!IsVisible()) return nullptr;
  TTreeNode* prev = GetPrevSibling();
  if (!prev) return Parent();
  while (prev->expanded_ && !prev->children_.empty()) prev = prev->children_.back();
  return prev;
}

TTreeNode* TTreeNode::GetNextChild(const TTreeNode* value) const {
  return value && value->parent_ == this ? value->GetNextSibling() : nullptr;
}

TTreeNode* TTreeNode::GetPrevChild(const TTreeNode* value) const {
  return value && value->parent_ == this ? value->GetPrevSibling() : nullptr;
}

bool TTreeNode::HasAsParent(const TTreeNode* value) const {
  if (!value) return false;
  for (TTreeNode* p = Parent(); p; p = p->Parent())
    if (p == value) return true;
  return false;
}

int32_t TTreeNode::IndexOf(const TTreeNode* value) const {
  return value && value->parent_ == this ? value->index_ : -1;
}

bool TTreeNode::IsVisible() const {
  if (!parent_) return false;
  for (TTreeNode* p = Parent(); p; p = p->Parent())
    if (!p->expanded_) return false;
  return true;
}

void TTreeNode::SetText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  TCustomTreeView* view = TreeView();
  if (!view) return;
  if (view->SortType() == stText || view->SortType() == stBoth) {
    TTreeNode* p = parent_;
    if (p) {
      const int32_t place = view->SortedPlace(p, text_, this);
      if (place != index_) {
        owner_->Unlink(this);
        owner_->Link(this, p, std::min(place, p->Count()));
        view->TreeChanged();
        return;
      }
    }
  }
  view->NodeChanged();
}

void TTreeNode::SetImageIndex(int32_t v) {
  imageIndex_ = v;
  if (TreeView()) TreeView()->NodeChanged();
}

void TTreeNode::SetSelectedIndex(int32_t v) {
  selectedIndex_ = v;
  if (TreeView()) TreeView()->NodeChanged();
}

void TTreeNode::SetStateIndex(int32_t v) {
  stateIndex_ = v;
  if (TreeView()) TreeView()->NodeChanged();
}

void TTreeNode::SetOverlayIndex(int32_t v) {
  overlayIndex_ = v;
  if (TreeView()) TreeView()->NodeChanged();
}

void TTreeNode::SetExpanded(bool value) {
  if (value) Expand(false);
  else Collapse(false);
}

void TTreeNode::SetCut(bool value) {
  cut_ = value;
  if (TreeView()) TreeView()->NodeChanged();
}

bool TTreeNode::DropTarget() const { return TreeView() && TreeView()->DropTarget() == this; }

void TTreeNode::SetDropTarget(bool value) {
  TCustomTreeView* view = TreeView();
  if (!view) return;
  if (value) view->SetDropTarget(this);
  else if (view->DropTarget() == this) view->SetDropTarget(nullptr);
}

void TTreeNode::SetFocused(bool value) {
  focused_ = value;
  if (TreeView()) TreeView()->NodeChanged();
}

bool TTreeNode::Selected() const { return TreeView() && TreeView()->Selected() == this; }

void TTreeNode::SetSelected(bool value) {
  TCustomTreeView* view = TreeView();
  if (!view) return;
  if (value) view->SetSelected(this);
  else if (view->Selected() == this) view->SetSelected(nullptr);
}

void TTreeNode::SetHasChildren(bool value) {
  hasChildren_ = value;
  if (TreeView()) TreeView()->NodeChanged();
}

int32_t TTreeNode::ItemId() const {
  if (!itemId_) {
    itemId_ = int32_t(AllocateHandle(const_cast<TTreeNode*>(this)));
    if (owner_) owner_->ids_[itemId_] = const_cast<TTreeNode*>(this);
  }
  return itemId_;
}

HWND TTreeNode::Handle() const { return owner_ ? owner_->Handle() : 0; }

void TTreeNode::Expand(bool recurse) {
  TCustomTreeView* view = TreeView();
  auto alive = LivenessToken();
  if (!expanded_ && HasChildren() && view && view->CanExpand(this)) {
    if (alive.expired() || deleting_) return;
    expanded_ = true;
    view->TreeChanged();
    if (view->OnExpanded) view->OnExpanded(view, this);
    if (alive.expired()) return;
  }
  if (!recurse) return;
  for (size_t i = 0; i < children_.size(); ++i) {
    children_[i]->Expand(true);
    if (alive.expired()) return;
  }
}

void TTreeNode::Collapse(bool recurse) {
  TCustomTreeView* view = TreeView();
  auto alive = LivenessToken();
  if (expanded_ && view && view->CanCollapse(this)) {
    if (alive.expired() || deleting_) return;
    expanded_ = false;
    // A selection inside the collapsed part moves to the node.
    if (view->Selected() && view->Selected()->HasAsParent(this)) view->selected_ = this;
    view->TreeChanged();
    if (view->OnCollapsed) view->OnCollapsed(view, this);
    if (alive.expired()) return;
  }
  if (!recurse) return;
  for (size_t i = 0; i < children_.size(); ++i) {
    children_[i]->Collapse(true);
    if (alive.expired()) return;
  }
}

void TTreeNode::Delete() {
  if (owner_) owner_->Delete(this);
}

void TTreeNode::DeleteChildren() {
  if (!owner_) return;
  while (!children_.empty()) {
    const size_t before = children_.size();
    owner_->DeleteNode(children_.back());
    if (children_.size() >= before) break;
  }
  if (TreeView()) TreeView()->TreeChanged();
}

// Where a node goes when attached in `mode` beside or under `relative` (none: the top level).
void TTreeNode::AttachPoint(TTreeNode* root, TTreeNode* relative, TNodeAttachMode mode, TTreeNode*& parent,
                            int32_t& index) {
  switch (mode) {
    case naAdd:
      parent = relative ? relative->parent_ : root;
      index = parent->Count();
      break;
    case naAddFirst:
      parent = relative ? relative->parent_ : root;
      index = 0;
      break;
    case naAddChild:
      parent = relative ? relative : root;
      index = parent->Count();
      break;
    case naAddChildFirst:
      parent = relative ? relative : root;
      index = 0;
      break;
    default:
      parent = relative ? relative->parent_ : root;
      index = relative ? relative->index_ : parent->Count();
      break;
  }
}

void TTreeNode::MoveTo(TTreeNode* destination, TNodeAttachMode mode) {
  if (!owner_ || !parent_) return;
  if (destination == this || (destination && destination->HasAsParent(this)))
    raise<EInvalidOperation>("Cannot move a node into itself or its descendants");
  if (destination && destination->owner_ != owner_) raise<EInvalidOperation>("Cannot move a node to another tree");
  TTreeNode* parent;
  int32_t index;
  AttachPoint(owner_->Root(), destination, mode, parent, index);
  // A node put under one whose deletion runs would go unseen by it and stay behind.
  if (!parent || (parent->deleting_ && parent != parent_)) raise<EInvalidOperation>("Node is being deleted");
  // The position counts without the node itself when it stays under the same parent.
  if (parent == parent_ && index > index_) --index;
  owner_->Unlink(this);
  owner_->Link(this, parent, std::clamp(index, 0, parent->Count()));
  if (TCustomTreeView* view = TreeView()) view->TreeChanged();
}

bool TTreeNode::AlphaSort(bool recurse) {
  TCustomTreeView* view = TreeView();
  if (!view) return false;
  view->SortChildren(this, recurse);
  view->TreeChanged();
  return true;
}

TRect TTreeNode::DisplayRect(bool textOnly) const {
  TCustomTreeView* view = TreeView();
  if (!view) return {};
  const int32_t row = view->RowOf(this);
  if (row < 0) return {};
  const int32_t top = (row - view->TopRow()) * TCustomTreeView::ItemHeight;
  if (!textOnly) return {0, top, view->ClientWidth(), top + TCustomTreeView::ItemHeight};
  const int32_t left = view->TextLeft(this);
  return {left, top, left + view->TextWidth(text_) + 2 * TCustomTreeView::TextMargin,
          top + TCustomTreeView::ItemHeight};
}

bool TTreeNode::EditText() {
  TCustomTreeView* view = TreeView();
  return view && view->StartEdit(this);
}

void TTreeNode::EndEdit(bool cancel) {
  TCustomTreeView* view = TreeView();
  if (view && view->EditingNode() == this) view->FinishEdit(cancel);
}

void TTreeNode::MakeVisible() {
  TCustomTreeView* view = TreeView();
  if (!view) return;
  auto alive = LivenessToken();
  std::vector<TTreeNode*> chain;
  for (TTreeNode* p = Parent(); p; p = p->Parent()) chain.push_back(p);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    (*it)->Expand(false);
    if (alive.expired()) return;
  }
  const int32_t row = view->RowOf(this);
  if (row < 0) return;
  if (row < view->TopRow()) view->SetTopRow(row);
  else if (row >= view->TopRow() + view->PageRows()) view->SetTopRow(row - view->PageRows() + 1);
}

void TTreeNode::Assign(const TPersistent* source) {
  auto* node = dynamic_cast<const TTreeNode*>(source);
  if (!node) {
    TPersistent::Assign(source);
    return;
  }
  text_ = node->text_;
  data_ = node->data_;
  imageIndex_ = node->imageIndex_;
  selectedIndex_ = node->selectedIndex_;
  stateIndex_ = node->stateIndex_;
  overlayIndex_ = node->overlayIndex_;
  focused_ = node->focused_;
  cut_ = node->cut_;
  hasChildren_ = node->hasChildren_;
  if (TCustomTreeView* view = TreeView()) {
    if (node->DropTarget()) view->SetDropTarget(this);
    view->NodeChanged();
  }
}

// ---- TTreeNodes ----

const rt::ClassInfo& TTreeNodes::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TTreeNodes>("TTreeNodes", &TPersistent::StaticClassInfo()).build();
  return info;
}

TTreeNodes::TTreeNodes(TCustomTreeView* owner) : owner_(owner), root_(std::make_unique<TTreeNode>(this)) {
  root_->expanded_ = true;
}

TTreeNodes::~TTreeNodes() = default;

TPersistent* TTreeNodes::GetOwner() const { return owner_; }

HWND TTreeNodes::Handle() const { return owner_ ? owner_->Handle() : 0; }

TTreeNode* TTreeNodes::GetFirstNode() const { return root_->GetFirstChild(); }

TTreeNode* TTreeNodes::Item(int32_t index) const {
  if (index < 0 || index >= count_) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  // Walks on from the node asked for last when that is on the way (loops over every index).
  TTreeNode* node;
  int32_t at;
  if (cacheNode_ && cacheIndex_ >= 0 && cacheIndex_ <= index) {
    node = cacheNode_;
    at = cacheIndex_;
  } else {
    node = GetFirstNode();
    at = 0;
  }
  while (node && at < index) {
    node = node->GetNext();
    ++at;
  }
  cacheNode_ = node;
  cacheIndex_ = at;
  return node;
}

TTreeNode* TTreeNodes::GetNode(int32_t itemId) const {
  auto it = ids_.find(itemId);
  return it == ids_.end() ? nullptr : it->second;
}

void TTreeNodes::Renumber(TTreeNode* parent, int32_t from) {
  for (size_t i = size_t(std::max(from, 0)); i < parent->children_.size(); ++i) parent->children_[i]->index_ = int32_t(i);
}

void TTreeNodes::Link(TTreeNode* node, TTreeNode* parent, int32_t index) {
  node->parent_ = parent;
  parent->children_.insert(parent->children_.begin() + index, node);
  Renumber(parent, index);
  cacheNode_ = nullptr;
}

void TTreeNodes::Unlink(TTreeNode* node) {
  TTreeNode* parent = node->parent_;
  if (!parent) return;
  parent->children_.erase(parent->children_.begin() + node->index_);
  Renumber(parent, node->index_);
  node->parent_ = nullptr;
  cacheNode_ = nullptr;
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* parent, int32_t index, const std::string& s, void* data) {
  auto* node = new TTreeNode(this);
  node->text_ = s;
  node->data_ = data;
  Link(node, parent, index);
  ++count_;
  return node;
}

TTreeNode* TTreeNodes::AddNode(TTreeNode* relative, const std::string& s, void* data, TNodeAttachMode mode) {
  if (relative && relative->owner_ != this) raise<EInvalidOperation>("Node belongs to another tree");
  if (relative && !relative->parent_) raise<EInvalidOperation>("Node is being deleted");
  TTreeNode* parent;
  int32_t index;
  TTreeNode::AttachPoint(root_.get(), relative, mode, parent, index);
  if (parent->deleting_) raise<EInvalidOperation>("Node is being deleted");
  if (owner_ && (owner_->SortType() == stText || owner_->SortType() == stBoth))
    index = owner_->SortedPlace(parent, s, nullptr);
  TTreeNode* node = InsertAt(parent, index, s, data);
  Changed();
  return node;
}

void TTreeNodes::Changed() {
  if (owner_) owner_->TreeChanged();
}

void TTreeNodes::ForgetNode(TTreeNode* node) {
  if (node->itemId_) ids_.erase(node->itemId_);
  if (cacheNode_ == node) cacheNode_ = nullptr;
  if (owner_) owner_->NodeRemoving(node);
}

void TTreeNodes::DeleteNode(TTreeNode* node) {
  if (!node || node->deleting_ || !node->parent_) return;
  node->deleting_ = true;
  auto alive = node->LivenessToken();
  if (owner_ && owner_->OnDeletion) owner_->OnDeletion(owner_, node);
  if (alive.expired()) return;
  // A child whose deletion is already running (its handler deleted this node) is left to that
  // deletion; every other child goes with this node, or it would stay counted under a freed parent.
  for (;;) {
    TTreeNode* next = nullptr;
    for (auto it = node->children_.rbegin(); it != node->children_.rend() && !next; ++it)
      if (!(*it)->deleting_) next = *it;
    if (!next) break;
    DeleteNode(next);
  }
  if (!node->parent_) return;
  ForgetNode(node);
  Unlink(node);
  --count_;
  // Out of the tree and dead to everybody at once. The memory may still be on a row being painted
  // or under a running handler: it goes when neither is any more.
  node->deleted_ = true;
  node->alive_.reset();
  if (owner_ && owner_->Painting()) {
    owner_->deferred_.push_back(node);
    return;
  }
  ReleaseWhenIdle([node] { delete node; });
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node || node->owner_ != this) return;
  DeleteNode(node);
  Changed();
}

void TTreeNodes::Clear() {
  while (!root_->children_.empty()) {
    const size_t before = root_->children_.size();
    DeleteNode(root_->children_.back());
    if (root_->children_.size() >= before) break;
  }
  Changed();
}

void TTreeNodes::BeginUpdate() { ++updateCount_; }

void TTreeNodes::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TTreeNodes::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TTreeNodes*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  Clear();
  std::function<void(const TTreeNode*, TTreeNode*)> copy = [&](const TTreeNode* from, TTreeNode* to) {
    for (const TTreeNode* c : from->children_) {
      TTreeNode* n = InsertAt(to, to->Count(), c->text_, nullptr);
      n->imageIndex_ = c->imageIndex_;
      n->selectedIndex_ = c->selectedIndex_;
      n->stateIndex_ = c->stateIndex_;
      n->overlayIndex_ = c->overlayIndex_;
      n->hasChildren_ = c->hasChildren_;
      copy(c, n);
    }
  };
  copy(other->root_.get(), root_.get());
  EndUpdate();
}

void TTreeNodes::WriteText(TStream& stream) const {
  std::string out;
  for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext()) {
    out.append(size_t(n->Level()), '\t');
    out += n->text_;
    out += "\r\n";
  }
  if (!out.empty()) stream.WriteBuffer(out.data(), int64_t(out.size()));
}

void TTreeNodes::ReadText(TStream& stream) {
  const std::string text = stream.ReadRest();
  BeginUpdate();
  struct TEnd {
    TTreeNodes* nodes;
    ~TEnd() { nodes->EndUpdate(); }
  } end{this};
  Clear();
  TTreeNode* prev = nullptr;
  int32_t prevLevel = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eol = text.find_first_of("\r\n", pos);
    if (eol == std::string::npos) eol = text.size();
    std::string line = text.substr(pos, eol - pos);
    pos = eol;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n' && (pos == eol || text[pos - 1] == '\r')) ++pos;
    size_t lead = 0;
    while (lead < line.size() && (line[lead] == '\t' || line[lead] == ' ')) ++lead;
    const int32_t level = int32_t(lead);
    const std::string s = line.substr(lead);
    TTreeNode* root = root_.get();
    if (!prev) {
      prev = InsertAt(root, root->Count(), s, nullptr);
      prevLevel = 0;
      continue;
    }
    if (level == prevLevel) {
      prev = InsertAt(prev->parent_, prev->parent_->Count(), s, nullptr);
    } else if (level == prevLevel + 1) {
      prev = InsertAt(prev, prev->Count(), s, nullptr);
    } else if (level > prevLevel + 1) {
      throw ETreeViewError(format("Invalid level (%d) for item \"%s\"", {std::to_string(level), s}));
    } else {
      TTreeNode* ancestor = prev;
      for (int32_t l = prevLevel; l > level; --l) ancestor = ancestor->parent_;
      prev = InsertAt(ancestor->parent_, ancestor->parent_->Count(), s, nullptr);
    }
    prevLevel = level;
  }
}

// Form streaming: "Data" holds the nodes in depth-first order, each as a record of its image
// indexes, a Data field (always 0: pointers mean nothing in a file), its child count and its
// text as a short string. Texts longer than 255 bytes go to "NodeData" instead, whose texts
// carry a 4-byte length. Both are read.
bool TTreeNodes::NeedsWide() const {
  for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext())
    if (n->text_.size() > 255) return true;
  return false;
}

void TTreeNodes::WriteData(TStream& stream, bool wide) const {
  writeInt(stream, root_->Count());
  std::function<void(const TTreeNode*)> write = [&](const TTreeNode* n) {
    const int32_t textBytes = int32_t(n->text_.size()) + (wide ? 4 : 1);
    writeInt(stream, 4 * 7 + textBytes);
    writeInt(stream, n->imageIndex_);
    writeInt(stream, n->selectedIndex_);
    writeInt(stream, n->stateIndex_);
    writeInt(stream, n->overlayIndex_);
    writeInt(stream, 0);
    writeInt(stream, n->Count());
    if (wide) {
      writeInt(stream, int32_t(n->text_.size()));
    } else {
      const uint8_t len = uint8_t(n->text_.size());
      stream.WriteBuffer(&len, 1);
    }
    stream.WriteBuffer(n->text_.data(), int64_t(n->text_.size()));
    for (const TTreeNode* c : n->children_) write(c);
  };
  for (const TTreeNode* n : root_->children_) write(n);
}

void TTreeNodes::ReadData(TStream& stream, bool wide) {
  BeginUpdate();
  struct TEnd {
    TTreeNodes* nodes;
    ~TEnd() { nodes->EndUpdate(); }
  } end{this};
  Clear();
  const int32_t top = readInt(stream);
  if (top < 0) raise<EReadError>(msg::ReadError);
  std::function<void(TTreeNode*, int32_t)> read = [&](TTreeNode* parent, int32_t depth) {
    if (depth > 2000) raise<EReadError>(msg::ReadError);
    readInt(stream);  // record size
    const int32_t image = readInt(stream), selected = readInt(stream), state = readInt(stream),
                  overlay = readInt(stream);
    readInt(stream);  // the Data field: never a pointer worth keeping
    const int32_t children = readInt(stream);
    if (children < 0) raise<EReadError>(msg::ReadError);
    int32_t len;
    if (wide) {
      len = readInt(stream);
      if (len < 0 || len > stream.Size() - stream.Position()) raise<EReadError>(msg::ReadError);
    } else {
      uint8_t b = 0;
      stream.ReadBuffer(&b, 1);
      len = b;
    }
    std::string text(size_t(len), '\0');
    if (len) stream.ReadBuffer(text.data(), len);
    TTreeNode* n = InsertAt(parent, parent->Count(), text, nullptr);
    n->imageIndex_ = image;
    n->selectedIndex_ = selected;
    n->stateIndex_ = state;
    n->overlayIndex_ = overlay;
    for (int32_t i = 0; i < children; ++i) read(n, depth + 1);
  };
  for (int32_t i = 0; i < top; ++i) read(root_.get(), 0);
}

void TTreeNodes::DefineProperties(TFiler& filer) {
  const bool any = count_ > 0;
  const bool wide = any && NeedsWide();
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s, false); }, [this](TStream& s) { WriteData(s, false); },
      any && !wide);
  filer.DefineBinaryProperty(
      "NodeData", [this](TStream& s) { ReadData(s, true); }, [this](TStream& s) { WriteData(s, true); }, wide);
}

// ---- TCustomTreeView ----

const rt::ClassInfo& TCustomTreeView::StaticClassInfo() {
  using T = TCustomTreeView;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TCustomTreeView", &TWinControl::StaticClassInfo())
          .property("AutoExpand", &T::AutoExpand, &T::SetAutoExpand).defaultValue(false)
          .property("BorderStyle", &T::BorderStyle, &T::SetBorderStyle).defaultValue(int(TBorderStyle::bsSingle))
          .property("ChangeDelay", &T::ChangeDelay, &T::SetChangeDelay).defaultValue(0)
          .property("HideSelection", &T::HideSelection, &T::SetHideSelection).defaultValue(true)
          .property("HotTrack", &T::HotTrack, &T::SetHotTrack).defaultValue(false)
          .property("Indent", &T::Indent, &T::SetIndent).defaultValue(19)
          .property("Items", &T::Items, &T::SetItems)
          .property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).defaultValue(false)
          .property("RightClickSelect", &T::RightClickSelect, &T::SetRightClickSelect).defaultValue(false)
          .property("RowSelect", &T::RowSelect, &T::SetRowSelect).defaultValue(false)
          .property("ShowButtons", &T::ShowButtons, &T::SetShowButtons).defaultValue(true)
          .property("ShowLines", &T::ShowLines, &T::SetShowLines).defaultValue(true)
          .property("ShowRoot", &T::ShowRoot, &T::SetShowRoot).defaultValue(true)
          .property("SortType", &T::SortType, &T::SetSortType).defaultValue(stNone)
          .property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).defaultValue(true)
          .property("ToolTips", &T::ToolTips, &T::SetToolTips).defaultValue(true)
          .event("OnAdvancedCustomDraw", AdvancedCustomDrawEventType(), &T::OnAdvancedCustomDraw)
          .event("OnAdvancedCustomDrawItem", AdvancedCustomDrawItemEventType(), &T::OnAdvancedCustomDrawItem)
          .event("OnChange", NodeEventType(), &T::OnChange)
          .event("OnChanging", ChangingEventType(), &T::OnChanging)
          .event("OnCollapsed", NodeEventType(), &T::OnCollapsed)
          .event("OnCollapsing", CollapsingEventType(), &T::OnCollapsing)
          .event("OnCompare", CompareEventType(), &T::OnCompare)
          .event("OnCustomDraw", CustomDrawEventType(), &T::OnCustomDraw)
          .event("OnCustomDrawItem", CustomDrawItemEventType(), &T::OnCustomDrawItem)
          .event("OnDeletion", NodeEventType(), &T::OnDeletion)
          .event("OnEdited", EditedEventType(), &T::OnEdited)
          .event("OnEditing", EditingEventType(), &T::OnEditing)
          .event("OnExpanded", NodeEventType(), &T::OnExpanded)
          .event("OnExpanding", ExpandingEventType(), &T::OnExpanding)
          .event("OnGetImageIndex", NodeEventType(), &T::OnGetImageIndex)
          .event("OnGetSelectedIndex", NodeEventType(), &T::OnGetSelectedIndex)
          .build();
  return info;
}

const rt::ClassInfo& TTreeView::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TTreeView>("TTreeView", &TCustomTreeView::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TTreeView(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
  tabStop_ = true;
  SetColor(clWindow);
  SetBounds(0, 0, 121, 97);
}

TCustomTreeView::~TCustomTreeView() {
  // The nodes go while the view is whole, so that OnDeletion still sees it.
  editing_ = nullptr;
  items_->Clear();
  FreeDeferred();
  DestroyPeer();
}

void TCustomTreeView::TreeChanged() {
  // The rows (and the first row shown, kept within them) are worked out again when next needed.
  rowsValid_ = false;
  if (items_ && items_->Updating()) return;
  PeerChanged(TPeerChange::Content);
}

void TCustomTreeView::NodeChanged() {
  if (items_ && items_->Updating()) return;
  PeerChanged(TPeerChange::State);
}

void TCustomTreeView::NodeRemoving(TTreeNode* node) {
  rowsValid_ = false;
  if (selected_ == node) selected_ = nullptr;
  if (dropTarget_ == node) dropTarget_ = nullptr;
  if (editing_ == node) {
    editing_ = nullptr;
    PeerChanged(TPeerChange::State);
  }
}

void TCustomTreeView::FreeDeferred() {
  std::vector<TTreeNode*> nodes;
  nodes.swap(deferred_);
  // The paint or sort is over, but a handler around it may still stand on one of them, or on a
  // child that goes with it (its own deletion running): they go once no handler runs.
  for (TTreeNode* n : nodes) ReleaseWhenIdle([n] { delete n; });
}

void TCustomTreeView::RebuildRows() const {
  if (rowsValid_) return;
  rows_.clear();
  TTreeNode* n = items_->GetFirstNode();
  while (n) {
    n->row_ = int32_t(rows_.size());
    rows_.push_back(n);
    if (n->expanded_ && !n->children_.empty()) {
      n = n->children_.front();
      continue;
    }
    while (n && !n->GetNextSibling()) {
      n = n->Parent();
    }
    if (n) n = n->GetNextSibling();
  }
  rowsValid_ = true;
  ClampTop();
}

int32_t TCustomTreeView::VisibleCount() const {
  RebuildRows();
  return int32_t(rows_.size());
}

TTreeNode* TCustomTreeView::VisibleNode(int32_t row) const {
  RebuildRows();
  return row >= 0 && row < int32_t(rows_.size()) ? rows_[size_t(row)] : nullptr;
}

int32_t TCustomTreeView::RowOf(const TTreeNode* node) const {
  if (!node || node->owner_ != items_.get() || !node->IsVisible()) return -1;
  RebuildRows();
  return node->row_;
}

int32_t TCustomTreeView::PageRows() const { return std::max(1, ClientHeight() / ItemHeight); }

void TCustomTreeView::ClampTop() const {
  const int32_t maxTop = std::max(0, int32_t(rows_.size()) - PageRows());
  topRow_ = std::clamp(topRow_, 0, maxTop);
}

int32_t TCustomTreeView::TopRow() const {
  RebuildRows();
  return topRow_;
}

void TCustomTreeView::SetTopRow(int32_t row) {
  RebuildRows();
  const int32_t before = topRow_;
  topRow_ = row;
  ClampTop();
  if (topRow_ != before) PeerChanged(TPeerChange::State);
}

TTreeNode* TCustomTreeView::TopItem() const { return VisibleNode(TopRow()); }

void TCustomTreeView::SetTopItem(TTreeNode* node) {
  const int32_t row = RowOf(node);
  if (row >= 0) SetTopRow(row);
}

int32_t TCustomTreeView::TextLeft(const TTreeNode* node) const {
  const int32_t levels = node->Level() + (showRoot_ ? 1 : 0);
  return levels * indent_ + TextMargin;
}

int32_t TCustomTreeView::TextWidth(const std::string& text) const {
  // Without a GUI application (the model alone) every character is 6 pixels wide.
  if (!QGuiApplication::instance()) return int32_t(rt::utf8::charCount(text)) * 6;
  QFontMetrics m(Font()->ToQFont());
  return int32_t(m.horizontalAdvance(QString::fromUtf8(text.data(), qsizetype(text.size()))));
}

void TCustomTreeView::SetBorderStyle(TBorderStyle v) {
  borderStyle_ = v;
  PeerChanged(TPeerChange::State);
}
void TCustomTreeView::SetHideSelection(bool v) {
  hideSelection_ = v;
  PeerChanged(TPeerChange::State);
}
void TCustomTreeView::SetIndent(int32_t v) {
  indent_ = std::max<int32_t>(v, 0);
  PeerChanged(TPeerChange::Content);
}
void TCustomTreeView::SetRowSelect(bool v) {
  rowSelect_ = v;
  PeerChanged(TPeerChange::State);
}
void TCustomTreeView::SetShowButtons(bool v) {
  showButtons_ = v;
  PeerChanged(TPeerChange::State);
}
void TCustomTreeView::SetShowLines(bool v) {
  showLines_ = v;
  PeerChanged(TPeerChange::State);
}
void TCustomTreeView::SetShowRoot(bool v) {
  showRoot_ = v;
  PeerChanged(TPeerChange::Content);
}

void TCustomTreeView::SetSortType(TSortType v) {
  sortType_ = v;
  if (v != stNone && !HasState(csLoading)) AlphaSort(true);
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
  if (node && node->owner_ != items_.get()) return;
  if (node == selected_) return;
  auto alive = LivenessToken();
  std::weak_ptr<const void> nodeAlive = node ? node->LivenessToken() : std::weak_ptr<const void>();
  if (OnChanging) {
    bool allow = true;
    OnChanging(this, node, allow);
    if (alive.expired() || !allow) return;
    if (node && (nodeAlive.expired() || node->deleting_ || !node->parent_)) return;
  }
  if (node) {
    node->MakeVisible();
    if (alive.expired() || nodeAlive.expired() || node->deleting_) return;
  }
  if (selected_) selected_->focused_ = false;
  selected_ = node;
  if (node) node->focused_ = true;
  PeerChanged(TPeerChange::State);
  if (OnChange) OnChange(this, node);
}

void TCustomTreeView::SetDropTarget(TTreeNode* node) {
  if (node && node->owner_ != items_.get()) return;
  dropTarget_ = node;
  PeerChanged(TPeerChange::State);
}

int32_t TCustomTreeView::CompareNodes(TTreeNode* a, TTreeNode* b) {
  // OnCompare starts from the texts' order, so a handler that leaves Compare alone (or a hooked
  // event without a handler behind it) still sorts alphabetically.
  int32_t result = CompareText(a->text_, b->text_);
  if (OnCompare) OnCompare(this, a, b, 0, result);
  return result < 0 ? -1 : result > 0 ? 1 : 0;
}

namespace {
void (*nodeBridgeWarm)(void* link, int stage) = nullptr;
}  // namespace

void SetTreeNodeBridgeWarm(void (*warm)(void* link, int stage)) { nodeBridgeWarm = warm; }

// Brings what a comparison reads into the cache ahead of it (see WarmStableSort): the node, then
// its text, its liveness block and the bridge's wrapper, then what the wrapper holds.
void TCustomTreeView::WarmNode(const TTreeNode* node, int stage) {
  switch (stage) {
    case 0: WarmBytes(node, sizeof(TTreeNode)); break;
    case 1:
      WarmBytes(node->text_.data(), std::min<size_t>(node->text_.size(), 64));
      if (node->alive_) WarmBytes(node->alive_.get(), 1);
      if (nodeBridgeWarm && node->bridgeLink_) nodeBridgeWarm(node->bridgeLink_, 1);
      break;
    default:
      if (nodeBridgeWarm && node->bridgeLink_) nodeBridgeWarm(node->bridgeLink_, 2);
  }
}

void TCustomTreeView::SortLevel(TTreeNode* parent, bool recurse) {
  auto alive = LivenessToken();
  // Sorted as a copy: a comparer that changes the tree cannot break the sort. Nodes it deletes
  // stay in memory until the sort is over (SortChildren), so their links can still be read.
  std::vector<TTreeNode*> order = parent->children_;
  WarmStableSort(order, [&](TTreeNode* a, TTreeNode* b) { return !alive.expired() && CompareNodes(a, b) < 0; },
                 &WarmNode);
  if (alive.expired()) return;
  // The new order stands only when the comparer left the same children under the parent;
  // otherwise nodes it deleted or moved are left where they are now.
  bool intact = order.size() == parent->children_.size();
  for (size_t i = 0; intact && i < order.size(); ++i) intact = order[i]->parent_ == parent;
  if (intact) {
    parent->children_ = std::move(order);
    items_->Renumber(parent, 0);
    items_->cacheNode_ = nullptr;
  }
  rowsValid_ = false;
  if (!recurse) return;
  std::vector<TTreeNode*> children = parent->children_;
  for (TTreeNode* c : children) {
    if (c->parent_ != parent || c->children_.empty()) continue;
    SortLevel(c, true);
    if (alive.expired()) return;
  }
}

int32_t TCustomTreeView::SortedPlace(TTreeNode* parent, const std::string& s, TTreeNode* skip) {
  int32_t place = 0;
  for (TTreeNode* c : parent->children_) {
    if (c == skip) continue;
    if (CompareText(c->text_, s) > 0) break;
    ++place;
  }
  return place;
}

bool TCustomTreeView::AlphaSort(bool recurse) {
  SortChildren(items_->Root(), recurse);
  TreeChanged();
  return true;
}

void TCustomTreeView::SortChildren(TTreeNode* parent, bool recurse) {
  // Nodes a comparer deletes stay in memory until the sort is over, like those of a paint.
  auto alive = LivenessToken();
  ++painting_;
  try {
    SortLevel(parent, recurse);
  } catch (...) {
    if (!alive.expired() && --painting_ == 0) FreeDeferred();
    throw;
  }
  if (!alive.expired() && --painting_ == 0) FreeDeferred();
}

void TCustomTreeView::FullExpand() {
  auto alive = LivenessToken();
  std::vector<TTreeNode*> top = items_->Root()->children_;
  for (TTreeNode* n : top) {
    if (n->parent_) n->Expand(true);
    if (alive.expired()) return;
  }
}

void TCustomTreeView::FullCollapse() {
  auto alive = LivenessToken();
  std::vector<TTreeNode*> top = items_->Root()->children_;
  for (TTreeNode* n : top) {
    if (n->parent_) n->Collapse(true);
    if (alive.expired()) return;
  }
}

bool TCustomTreeView::CanExpand(TTreeNode* node) {
  bool allow = true;
  if (OnExpanding) OnExpanding(this, node, allow);
  return allow;
}

bool TCustomTreeView::CanCollapse(TTreeNode* node) {
  bool allow = true;
  if (OnCollapsing) OnCollapsing(this, node, allow);
  return allow;
}

TTreeNode* TCustomTreeView::GetNodeAt(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return nullptr;
  return VisibleNode(TopRow() + y / ItemHeight);
}

THitTests TCustomTreeView::GetHitTestInfoAt(int32_t x, int32_t y) const {
  THitTests hits;
  if (x < 0) hits.include(htToLeft);
  else if (x >= ClientWidth()) hits.include(htToRight);
  if (y < 0) hits.include(htAbove);
  else if (y >= ClientHeight()) hits.include(htBelow);
  if (hits.bits) return hits;
  TTreeNode* node = GetNodeAt(x, y);
  if (!node) {
    hits.include(htNowhere);
    return hits;
  }
  const int32_t textLeft = TextLeft(node);
  const int32_t buttonLeft = textLeft - TextMargin - indent_;
  if (x >= textLeft && x < textLeft + TextWidth(node->text_) + 2 * TextMargin) {
    hits.include(htOnItem);
    hits.include(htOnLabel);
  } else if (x >= textLeft) {
    hits.include(htOnRight);
  } else if (x >= buttonLeft && showButtons_ && node->HasChildren() && (showRoot_ || node->Parent())) {
    hits.include(htOnButton);
  } else {
    hits.include(htOnIndent);
  }
  return hits;
}

void TCustomTreeView::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead);
  items_->ReadText(stream);
}

void TCustomTreeView::SaveToFile(const std::string& fileName) const {
  TFileStream stream(fileName, fmCreate);
  items_->WriteText(stream);
}

bool TCustomTreeView::StartEdit(TTreeNode* node) {
  if (readOnly_ || !node || node->owner_ != items_.get() || node->deleting_) return false;
  if (editing_) FinishEdit(false);
  auto alive = LivenessToken();
  auto nodeAlive = node->LivenessToken();
  if (OnEditing) {
    bool allow = true;
    OnEditing(this, node, allow);
    if (alive.expired() || nodeAlive.expired() || !allow || node->deleting_) return false;
  }
  editing_ = node;
  editorText_ = node->text_;
  PeerChanged(TPeerChange::State);
  return true;
}

void TCustomTreeView::FinishEdit(bool cancel) {
  TTreeNode* node = editing_;
  if (!node) return;
  editing_ = nullptr;
  std::string text = editorText_;
  PeerChanged(TPeerChange::State);
  if (cancel) return;
  auto alive = LivenessToken();
  auto nodeAlive = node->LivenessToken();
  if (OnEdited) {
    OnEdited(this, node, text);
    if (alive.expired() || nodeAlive.expired() || node->deleting_) return;
  }
  node->SetText(text);
}

void TCustomTreeView::UserEndEdit(bool cancel) { FinishEdit(cancel); }

void TCustomTreeView::UserToggle(TTreeNode* node) {
  if (!node || node->owner_ != items_.get()) return;
  if (node->expanded_) node->Collapse(false);
  else node->Expand(false);
}

void TCustomTreeView::UserSelect(TTreeNode* node) { SetSelected(node); }

bool TCustomTreeView::UserKey(uint16_t key) {
  TTreeNode* current = selected_;
  auto select = [&](TTreeNode* n) {
    if (n) {
      SetSelected(n);
      if (n == selected_) n->MakeVisible();
    }
  };
  switch (key) {
    case VK_UP:
      select(current ? current->GetPrevVisible() : VisibleNode(0));
      return true;
    case VK_DOWN:
      select(current ? current->GetNextVisible() : VisibleNode(0));
      return true;
    case VK_HOME:
      select(VisibleNode(0));
      return true;
    case VK_END:
      select(VisibleNode(VisibleCount() - 1));
      return true;
    case VK_LEFT:
      if (!current) return true;
      if (current->expanded_) current->Collapse(false);
      else select(current->Parent());
      return true;
    case VK_RIGHT:
      if (!current) return true;
      if (!current->expanded_ && current->HasChildren()) current->Expand(false);
      else select(current->GetFirstChild());
      return true;
    case VK_ADD:
      if (current) current->Expand(false);
      return true;
    case VK_SUBTRACT:
      if (current) current->Collapse(false);
      return true;
    case VK_F1 + 1:  // F2
      if (current) StartEdit(current);
      return true;
    default:
      return false;
  }
}

bool TCustomTreeView::DoKeyDown(uint16_t& key, TShiftState) { return UserKey(key); }

void TCustomTreeView::Paint(const TDrawRow& drawRow) {
  auto alive = LivenessToken();
  ++painting_;
  struct TLeave {
    TCustomTreeView* view;
    std::weak_ptr<const void> alive;
    ~TLeave() {
      if (alive.expired()) return;
      if (--view->painting_ == 0) view->FreeDeferred();
    }
  } leave{this, alive};
  const TRect client = ClientRect();
  bool defaultDraw = true;
  if (OnCustomDraw) OnCustomDraw(this, client, defaultDraw);
  if (alive.expired()) return;
  if (defaultDraw && OnAdvancedCustomDraw) OnAdvancedCustomDraw(this, client, cdPrePaint, defaultDraw);
  if (alive.expired() || !defaultDraw) return;
  // The rows this paint covers, taken before any handler runs.
  std::vector<TTreeNode*> rows;
  for (int32_t r = TopRow(), y = 0; y < client.Bottom; ++r, y += ItemHeight) {
    TTreeNode* n = VisibleNode(r);
    if (!n) break;
    rows.push_back(n);
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    TTreeNode* n = rows[i];
    if (!n->parent_) continue;  // deleted by a handler of this paint
    TCustomDrawState state;
    if (n == selected_) state.include(cdsSelected);
    if (n->focused_) state.include(cdsFocused);
    if (!Enabled()) state.include(cdsDisabled);
    if (n == dropTarget_) state.include(cdsMarked);
    if (OnGetImageIndex) OnGetImageIndex(this, n);
    if (alive.expired()) return;
    if (OnGetSelectedIndex && n->parent_) OnGetSelectedIndex(this, n);
    if (alive.expired()) return;
    bool itemDefault = true, paintImages = true;
    if (OnCustomDrawItem && n->parent_) OnCustomDrawItem(this, n, state, itemDefault);
    if (alive.expired()) return;
    if (itemDefault && OnAdvancedCustomDrawItem && n->parent_)
      OnAdvancedCustomDrawItem(this, n, state, cdPrePaint, paintImages, itemDefault);
    if (alive.expired()) return;
    if (itemDefault && n->parent_ && drawRow) drawRow(*n, int32_t(i) * ItemHeight, state);
    if (alive.expired()) return;
  }
  bool after = true;
  if (OnAdvancedCustomDraw) OnAdvancedCustomDraw(this, client, cdPostPaint, after);
}

}  // namespace fw
