// The tree view model without the script side: form streaming of the nodes (the program's data
// pointers are never written and never come back), the bridge link that no copy carries, tree
// text in every line-break style, damaged stream data, node handles, and nodes deleted by
// handlers while the tree paints or sorts.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/fw/dispatch.h"
#include "platform/fw/errors.h"
#include "platform/fw/form.h"
#include "platform/fw/form_text.h"
#include "platform/fw/reader.h"
#include "platform/fw/registration.h"
#include "platform/fw/stream.h"
#include "platform/fw/tree_view.h"
#include "platform/fw/writer.h"

namespace {

using namespace fw;

std::string Shape(TTreeNodes* nodes) {
  std::string out;
  for (int i = 0; i < nodes->Count(); ++i) {
    TTreeNode* n = nodes->Item(i);
    out += std::to_string(n->Level()) + n->Text() + " ";
  }
  return out;
}

struct Registered {
  Registered() {
    RegisterFrameworkClasses();
    rt::RegisterClass(TTreeView::StaticClassInfo());
    rt::RegisterClass(TForm::StaticClassInfo());
  }
};

std::string SaveBinary(TComponent* root) {
  TStringStream bin;
  TWriter w(bin);
  w.WriteDescendent(root);
  return bin.DataString();
}

void LoadBinary(TComponent* root, const std::string& data) {
  TStringStream bin(data);
  TReader r(bin);
  r.ReadRootComponent(root);
}

TEST(TreeViewModel, DescriptionsCarryShapeAndIndexesButNoPointers) {
  static Registered registered;
  int marker = 0;
  std::unique_ptr<TForm> form(new TForm(nullptr));
  form->SetName("F");
  auto* tree = new TTreeView(form.get());
  tree->SetName("T");
  tree->SetParent(form.get());
  TTreeNode* a = tree->Items()->Add(nullptr, "a");
  a->SetData(&marker);
  a->SetBridgeLink(&marker);
  a->SetImageIndex(4);
  TTreeNode* a1 = tree->Items()->AddChild(a, "日本");
  a1->SetData(&marker);
  a1->SetStateIndex(2);
  tree->Items()->Add(nullptr, std::string(300, 'x'));
  const std::string binary = SaveBinary(form.get());
  // No byte of the description holds the address.
  const auto address = reinterpret_cast<uintptr_t>(&marker);
  const std::string low(reinterpret_cast<const char*>(&address), 4);
  EXPECT_EQ(binary.find(low), std::string::npos);
  const std::string text = ObjectBinaryToText(binary);
  EXPECT_NE(text.find("Items.NodeData = {"), std::string::npos);

  for (const std::string& data : {binary, ObjectTextToBinary(text)}) {
    std::unique_ptr<TForm> copy(new TForm(nullptr));
    LoadBinary(copy.get(), data);
    auto* t = dynamic_cast<TTreeView*>(copy->FindComponent("T"));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Shape(t->Items()), "0a 1日本 0" + std::string(300, 'x') + " ");
    TTreeNode* n = t->Items()->GetFirstNode();
    EXPECT_EQ(n->Data(), nullptr);
    EXPECT_EQ(n->BridgeLink(), nullptr);
    EXPECT_EQ(n->ImageIndex(), 4);
    EXPECT_EQ(n->GetFirstChild()->Data(), nullptr);
    EXPECT_EQ(n->GetFirstChild()->StateIndex(), 2);
  }

  // Short texts use the plain layout.
  tree->Items()->Item(2)->Delete();
  const std::string shortText = ObjectBinaryToText(SaveBinary(form.get()));
  EXPECT_NE(shortText.find("Items.Data = {"), std::string::npos);
  EXPECT_EQ(shortText.find("NodeData"), std::string::npos);
  std::unique_ptr<TForm> again(new TForm(nullptr));
  LoadBinary(again.get(), ObjectTextToBinary(shortText));
  EXPECT_EQ(Shape(dynamic_cast<TTreeView*>(again->FindComponent("T"))->Items()), "0a 1日本 ");
}

TEST(TreeViewModel, DamagedNodeDataIsAReadError) {
  TTreeView tree(nullptr);
  auto read = [&](const std::string& bytes) {
    TStringStream s(bytes);
    TReader r(s);
    r.SetRoot(&tree);
    // The collection reads its data through its defined property, as the reader calls it.
    struct TFeed : TFiler {
      std::string bytes;
      void DefineProperty(const std::string&, const TReaderProc&, const TWriterProc&, bool) override {}
      void DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc&,
                                bool) override {
        if (name != "Data") return;
        TStringStream data(bytes);
        readData(data);
      }
    } feed;
    feed.bytes = bytes;
    tree.Items()->DefineProperties(feed);
  };
  auto le = [](int32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  // A count of nodes far beyond the bytes there are.
  EXPECT_THROW(read(le(1000000)), EReadError);
  // A node that claims more children than follow.
  EXPECT_THROW(read(le(1) + le(30) + le(0) + le(0) + le(0) + le(0) + le(0) + le(7) + std::string("\x01z", 2)),
               EReadError);
  EXPECT_THROW(read(le(-3)), EReadError);
}

TEST(TreeViewModel, AssignCopiesNodeStateButNotTheBridgeLink) {
  TTreeView tree(nullptr);
  int data = 0, link = 0;
  TTreeNode* a = tree.Items()->Add(nullptr, "a");
  TTreeNode* b = tree.Items()->Add(nullptr, "b");
  a->SetData(&data);
  a->SetBridgeLink(&link);
  a->SetOverlayIndex(3);
  a->SetCut(true);
  a->SetHasChildren(true);
  b->Assign(a);
  EXPECT_EQ(b->Text(), "a");
  EXPECT_EQ(b->Data(), &data);
  EXPECT_EQ(b->BridgeLink(), nullptr);
  EXPECT_EQ(b->OverlayIndex(), 3);
  EXPECT_TRUE(b->Cut());
  EXPECT_TRUE(b->HasChildren());
  EXPECT_THROW(b->Assign(&tree), rt::EConvertError);
  a->SetBridgeLink(nullptr);
}

TEST(TreeViewModel, TreeTextInEveryLineBreakStyle) {
  TTreeView tree(nullptr);
  for (const std::string text : {"a\r\n\tb\r\n\t\tc\r\nd\r\n", "a\n\tb\n\t\tc\nd", "a\r\tb\r\t\tc\rd\r"}) {
    TStringStream s(text);
    tree.Items()->ReadText(s);
    EXPECT_EQ(Shape(tree.Items()), "0a 1b 2c 0d ");
    TStringStream out;
    tree.Items()->WriteText(out);
    EXPECT_EQ(out.DataString(), "a\r\n\tb\r\n\t\tc\r\nd\r\n");
  }
}

TEST(TreeViewModel, ItemIdsFindTheirNodesWhileTheyLive) {
  TTreeView tree(nullptr);
  TTreeNode* a = tree.Items()->Add(nullptr, "a");
  TTreeNode* b = tree.Items()->AddChild(a, "b");
  const int32_t ia = a->ItemId(), ib = b->ItemId();
  EXPECT_NE(ia, 0);
  EXPECT_NE(ia, ib);
  EXPECT_EQ(a->ItemId(), ia);
  EXPECT_EQ(tree.Items()->GetNode(ib), b);
  b->Delete();
  EXPECT_EQ(tree.Items()->GetNode(ib), nullptr);
  EXPECT_EQ(tree.Items()->GetNode(ia), a);
  EXPECT_EQ(tree.Items()->GetNode(12345), nullptr);
}

// Handlers that change the tree in the middle of a paint or a sort: nothing freed is touched
// (the sanitizer build checks), and the tree ends up consistent.
struct TMutator {
  TCustomTreeView* tree;
  int deletions = 0;
  void DrawItem(TObject*, TTreeNode* node, TCustomDrawState, bool&) {
    if (node->GetNextSibling()) {
      node->GetNextSibling()->Delete();
      ++deletions;
    }
  }
  void Compare(TObject*, TTreeNode* a, TTreeNode*, int32_t, int32_t& result) {
    if (tree->Items()->Count() > 2) tree->Items()->GetFirstNode()->Delete();
    result = 0;
  }
};

TEST(TreeViewModel, HandlersChangingTheTreeDuringPaintsAndSorts) {
  TTreeView tree(nullptr);
  tree.SetBounds(0, 0, 100, 200);
  for (int i = 0; i < 10; ++i) tree.Items()->Add(nullptr, "n" + std::to_string(i));
  TMutator m{&tree};
  tree.OnCustomDrawItem = TTVCustomDrawItemEvent::bind<&TMutator::DrawItem>(&m);
  std::string drawn;
  tree.Paint([&](TTreeNode& node, int32_t, TCustomDrawState) { drawn += node.Text(); });
  EXPECT_EQ(drawn, "n0n2n4n6n8");
  EXPECT_EQ(m.deletions, 5);
  EXPECT_EQ(Shape(tree.Items()), "0n0 0n2 0n4 0n6 0n8 ");
  tree.OnCustomDrawItem = {};
  tree.OnCompare = TTVCompareEvent::bind<&TMutator::Compare>(&m);
  EXPECT_TRUE(tree.AlphaSort(true));
  EXPECT_EQ(tree.Items()->Count(), 2);
  EXPECT_EQ(tree.VisibleCount(), 2);
}

}  // namespace

// Sorting a long level: texts in order ignoring case, equal texts keeping their order, and every
// level of the tree sorted when the whole tree is.
TEST(TreeViewModel, SortsLongLevelsStablyAtEveryDepth) {
  TTreeView tree(nullptr);
  TTreeNodes* nodes = tree.Items();
  const char* texts[] = {"pear", "Apple", "fig", "apple", "Fig", "banana", "PEAR"};
  TTreeNode* folder = nodes->Add(nullptr, "folder");
  for (int i = 0; i < 700; ++i) {
    TTreeNode* n = nodes->Add(nullptr, texts[(i * 5) % 7]);
    n->SetData(reinterpret_cast<void*>(intptr_t(i)));
    nodes->AddChild(folder, texts[(i * 3) % 7]);
  }
  ASSERT_TRUE(tree.AlphaSort(true));
  auto sortedAndStable = [](TTreeNode* parent, TTreeNode* first) {
    int bad = 0;
    TTreeNode* prev = nullptr;
    for (TTreeNode* n = parent ? parent->GetFirstChild() : first; n; n = n->GetNextSibling()) {
      if (prev) {
        std::string a = prev->Text(), b = n->Text();
        for (char& c : a) c = char(std::tolower(c));
        for (char& c : b) c = char(std::tolower(c));
        if (a > b || (a == b && prev->Data() > n->Data())) ++bad;
      }
      prev = n;
    }
    return bad;
  };
  EXPECT_EQ(sortedAndStable(nullptr, nodes->GetFirstNode()), 0);
  EXPECT_EQ(sortedAndStable(folder, nullptr), 0);
  EXPECT_EQ(nodes->Count(), 1401);
  EXPECT_EQ(folder->Count(), 700);
  for (int i = 0; i < folder->Count(); ++i) EXPECT_EQ(folder->Item(i)->Index(), i);
}

// A comparer that moves nodes between levels: the level keeps the nodes the comparer left in
// it, each once, in the place the comparer left them; the node moved in stays and the node moved
// out lives only under its new parent.
struct TMover {
  TTreeNode* out = nullptr;
  TTreeNode* in = nullptr;
  TTreeNode* destination = nullptr;
  bool done = false;
  void Compare(TObject*, TTreeNode* a, TTreeNode* b, int32_t, int32_t& result) {
    if (!done) {
      done = true;
      out->MoveTo(destination, naAddChild);
      if (in) in->MoveTo(destination, naInsert);
    }
    result = a->Text() < b->Text() ? 1 : a->Text() > b->Text() ? -1 : 0;
  }
};

TEST(TreeViewModel, ComparersMovingNodesLeaveEveryNodeOnce) {
  for (bool swapIn : {false, true}) {
    SCOPED_TRACE(swapIn ? "one node out, another in" : "one node out");
    TTreeView tree(nullptr);
    TTreeNodes* nodes = tree.Items();
    TTreeNode* box = nodes->Add(nullptr, "box");
    TTreeNode* inner = nodes->AddChild(box, "inner");
    for (const char* t : {"d", "a", "c", "b"}) nodes->AddChild(box, t);
    TMover m{box->Item(2), swapIn ? nodes->Add(nullptr, "e") : nullptr, inner};
    tree.OnCompare = TTVCompareEvent::bind<&TMover::Compare>(&m);
    ASSERT_TRUE(box->AlphaSort(false));
    std::string level;
    for (TTreeNode* n = box->GetFirstChild(); n; n = n->GetNextSibling()) {
      EXPECT_EQ(n->Parent(), box);
      level += n->Text();
    }
    EXPECT_EQ(level, swapIn ? "einnerdcb" : "innerdcb");
    EXPECT_EQ(m.out->Parent(), inner);
    EXPECT_EQ(inner->Count(), 1);
    EXPECT_EQ(nodes->Count(), swapIn ? 7 : 6);
    if (swapIn) {
      EXPECT_EQ(m.in->Parent(), box);
    }
    for (int i = 0; i < box->Count(); ++i) EXPECT_EQ(box->Item(i)->Index(), i);
  }
}

// Deletion handlers that delete the node's parent, or try to hang new nodes under a node whose
// deletion runs: every node of the deleted branch goes and the count stays true. Each handler holds
// a dispatch scope, as the script bridge's do.
struct TParentDeleter {
  TTreeView* tree;
  std::vector<std::string> seen;
  std::vector<std::string> refused;
  void Deletion(TObject*, TTreeNode* node) {
    TDispatchScope scope;
    seen.push_back(node->Text());
    if (node->Parent()) node->Parent()->Delete();
  }
  void Adder(TObject*, TTreeNode* node) {
    TDispatchScope scope;
    seen.push_back(node->Text());
    if (!node->Parent()) return;
    try {
      tree->Items()->AddChild(node->Parent(), "late");
    } catch (const EInvalidOperation& e) {
      refused.push_back(e.message());
    }
    try {
      tree->Items()->GetFirstNode()->GetNextSibling()->MoveTo(node->Parent(), naAddChild);
    } catch (const EInvalidOperation& e) {
      refused.push_back(e.message());
    }
  }
};

TEST(TreeViewModel, DeletionHandlersDeletingTheParentLeaveNoNodeBehind) {
  TTreeView tree(nullptr);
  TTreeNodes* nodes = tree.Items();
  TTreeNode* a = nodes->Add(nullptr, "a");
  nodes->AddChild(a, "c1");
  TTreeNode* c2 = nodes->AddChild(a, "c2");
  nodes->AddChild(c2, "gc");
  nodes->AddChild(a, "c3");
  nodes->Add(nullptr, "b");
  TParentDeleter d{&tree, {}, {}};
  tree.OnDeletion = TTVExpandedEvent::bind<&TParentDeleter::Deletion>(&d);
  c2->Delete();
  EXPECT_EQ(Shape(nodes), "0b ");
  EXPECT_EQ(nodes->Count(), 1);
  EXPECT_EQ(d.seen.size(), 5u);
  tree.OnDeletion = {};

  TTreeNode* p = nodes->AddFirst(nodes->GetFirstNode(), "p");
  nodes->AddChild(p, "k");
  tree.OnDeletion = TTVExpandedEvent::bind<&TParentDeleter::Adder>(&d);
  d.seen.clear();
  p->Delete();
  EXPECT_EQ(Shape(nodes), "0b ");
  EXPECT_EQ(nodes->Count(), 1);
  EXPECT_EQ(d.refused, (std::vector<std::string>{"Node is being deleted", "Node is being deleted"}));
  tree.OnDeletion = {};
  nodes->Clear();
  EXPECT_EQ(nodes->Count(), 0);
  RunReleases();
}
