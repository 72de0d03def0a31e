// Component streaming: writing components as form data and reading them back.
#include <gtest/gtest.h>

#include "platform/fw/collection.h"
#include "platform/fw/component.h"
#include "platform/fw/errors.h"
#include "platform/fw/form_text.h"
#include "platform/fw/method_table.h"
#include "platform/fw/reader.h"
#include "platform/fw/strings.h"
#include "platform/fw/writer.h"

namespace fwtest {

using namespace fw;

FW_ENUM(TKind, kdNone, kdRound, kdSquare)
FW_ENUM(TFlag, flA, flB, flC)
FW_SET(TFlags, TFlag)

const rt::IdentMap& ShadeIdents() {
  static const rt::IdentMap m("TShade", {{"shDark", 0}, {"shLight", 0xFFFFFF}});
  return m;
}

class TSub : public TPersistent {
  RT_CLASS(TSub)
 public:
  int32_t Size = 10;
  std::string Face = "Gothic";
  void Assign(const TPersistent* src) override {
    if (auto* s = dynamic_cast<const TSub*>(src)) {
      Size = s->Size;
      Face = s->Face;
      return;
    }
    TPersistent::Assign(src);
  }
};

class TPanelItem : public TCollectionItem {
  RT_CLASS(TPanelItem)
 public:
  using TCollectionItem::TCollectionItem;
  int32_t Width = 50;
  std::string Text;
};

class TThing : public TComponent {
  RT_CLASS(TThing)
 public:
  explicit TThing(TComponent* owner)
      : TComponent(owner), panels_([](TCollection* c) { return new TPanelItem(c); }, this) {}
  ~TThing() override { SetBuddy(nullptr); }
  int32_t Count = 0;
  std::string Caption;
  double Ratio = 0;
  TKind Kind = kdNone;
  TFlags Flags{flA};
  int32_t Shade = 0;
  int32_t ShadeValue() const { return Shade; }
  void SetShade(int32_t v) { Shade = v; }
  bool Enabled = true;
  char Mark = 0;
  int64_t Big = 0;
  TNotifyEvent OnClick;

  // (A property of the class's own type would make its description refer to itself while it is
  // being built, so the reference is typed as a component.)
  TComponent* Buddy() const { return buddy_; }
  void SetBuddy(TComponent* b) {
    if (buddy_) buddy_->RemoveFreeNotification(this);
    buddy_ = b;
    if (b) b->FreeNotification(this);
  }
  TStringList* Items() const { return const_cast<TStringList*>(&items_); }
  TSub* Sub() const { return const_cast<TSub*>(&sub_); }
  TCollection* Panels() const { return const_cast<TCollection*>(&panels_); }
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == buddy_) buddy_ = nullptr;
  }
  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    for (int i = 0; i < ComponentCount(); ++i) proc(Components(i));
  }
  TComponent* GetChildOwner() override { return this; }

  int clicks = 0;
  void ThingClick(TObject*) { ++clicks; }

 private:
  TComponent* buddy_ = nullptr;
  TStringList items_;
  TSub sub_;
  TCollection panels_;
};

const rt::ClassInfo& TSub::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TSub>("TSub", &TPersistent::StaticClassInfo())
                                         .property("Size", &TSub::Size)
                                         .defaultValue(10)
                                         .property("Face", &TSub::Face)
                                         .build();
  return info;
}

const rt::ClassInfo& TPanelItem::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TPanelItem>("TPanelItem", &TCollectionItem::StaticClassInfo())
                                         .property("Text", &TPanelItem::Text)
                                         .property("Width", &TPanelItem::Width)
                                         .defaultValue(50)
                                         .build();
  return info;
}

const rt::ClassInfo& TThing::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TThing>("TThing", &TComponent::StaticClassInfo())
          .property("Count", &TThing::Count)
          .defaultValue(0)
          .property("Caption", &TThing::Caption)
          .property("Ratio", &TThing::Ratio)
          .property("Kind", &TThing::Kind)
          .defaultValue(kdNone)
          .property("Flags", &TThing::Flags)
          .defaultValue(1)
          .integer("Shade", ShadeIdents(), &TThing::ShadeValue, &TThing::SetShade)
          .defaultValue(0)
          .property("Enabled", &TThing::Enabled)
          .defaultValue(true)
          .property("Mark", &TThing::Mark)
          .defaultValue(0)
          .property("Big", &TThing::Big)
          .property("Buddy", &TThing::Buddy, &TThing::SetBuddy)
          .property("Items", &TThing::Items)
          .property("Sub", &TThing::Sub)
          .property("Panels", &TThing::Panels)
          .event("OnClick", NotifyEventType(), &TThing::OnClick)
          .create([](TPersistent* owner) -> TPersistent* { return new TThing(dynamic_cast<TComponent*>(owner)); })
          .build();
  return info;
}

}  // namespace fwtest

namespace fwtest {
namespace {

struct Registered {
  Registered() {
    rt::RegisterClass(TThing::StaticClassInfo());
    RegisterMethod(TThing::StaticClassInfo(), "ThingClick", MethodCode<&TThing::ThingClick>());
  }
};
const Registered registered;

std::string SaveText(TComponent* root) {
  TStringStream bin;
  TWriter w(bin);
  w.WriteDescendent(root);
  return ObjectBinaryToText(bin.DataString());
}

void LoadText(TComponent* root, const std::string& text) {
  TStringStream bin(ObjectTextToBinary(text));
  TReader r(bin);
  r.ReadRootComponent(root);
}

TThing* BuildTree() {
  auto* root = new TThing(nullptr);
  root->SetName("Root");
  root->Caption = "It's\r\n日本";
  root->Ratio = 0.25;
  root->Kind = kdSquare;
  root->Flags = TFlags{flB, flC};
  root->Shade = 0xFFFFFF;
  root->Enabled = false;
  root->Mark = '*';
  root->Big = 1LL << 40;
  root->Items()->SetText("one\ntwo");
  root->Sub()->Face = "Mincho";
  root->Sub()->Size = 12;
  auto* p = static_cast<TPanelItem*>(root->Panels()->Add());
  p->Text = "left";
  static_cast<TPanelItem*>(root->Panels()->Add())->Width = 80;
  root->OnClick = TNotifyEvent::bind<&TThing::ThingClick>(root);
  auto* a = new TThing(root);
  a->SetName("A");
  a->Count = -5;
  a->Shade = 1234;
  auto* b = new TThing(root);
  b->SetName("B");
  a->SetBuddy(b);
  b->SetBuddy(root);
  return root;
}

TEST(Streaming, WrittenTextHasTheExpectedShape) {
  TThing* root = BuildTree();
  std::string text = SaveText(root);
  const char* expected =
      "object Root: TThing\r\n"
      "  Caption = 'It'#39's'#13#10'日本'\r\n"
      "  Ratio = 0.25\r\n"
      "  Kind = kdSquare\r\n"
      "  Flags = [flB, flC]\r\n"
      "  Shade = shLight\r\n"
      "  Enabled = False\r\n"
      "  Mark = '*'\r\n"
      "  Big = 1099511627776\r\n"
      "  Items.Strings = (\r\n"
      "    'one'\r\n"
      "    'two')\r\n"
      "  Sub.Size = 12\r\n"
      "  Sub.Face = 'Mincho'\r\n"
      "  Panels = <\r\n"
      "    item\r\n"
      "      Text = 'left'\r\n"
      "    end\r\n"
      "    item\r\n"
      "      Width = 80\r\n"
      "    end>\r\n"
      "  OnClick = ThingClick\r\n"
      "  object A: TThing\r\n"
      "    Count = -5\r\n"
      "    Shade = 1234\r\n"
      "    Buddy = B\r\n"
      "    Sub.Face = 'Gothic'\r\n"
      "    Panels = <>\r\n"
      "  end\r\n"
      "  object B: TThing\r\n"
      "    Buddy = Root\r\n"
      "    Sub.Face = 'Gothic'\r\n"
      "    Panels = <>\r\n"
      "  end\r\n"
      "end\r\n";
  EXPECT_EQ(text, expected);
  root->Free();
}

TEST(Streaming, TextReadsBackToTheSameTree) {
  TThing* root = BuildTree();
  std::string text = SaveText(root);
  root->Free();

  auto* copy = new TThing(nullptr);
  LoadText(copy, text);
  EXPECT_EQ(copy->Name(), "Root");
  EXPECT_EQ(copy->Caption, "It's\r\n日本");
  EXPECT_EQ(copy->Flags, (TFlags{flB, flC}));
  EXPECT_EQ(copy->Items()->Count(), 2);
  EXPECT_EQ(copy->Panels()->Count(), 2);
  ASSERT_EQ(copy->ComponentCount(), 2);
  auto* a = dynamic_cast<TThing*>(copy->FindComponent("A"));
  auto* b = dynamic_cast<TThing*>(copy->FindComponent("B"));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->Buddy(), b);
  EXPECT_EQ(b->Buddy(), copy);
  ASSERT_TRUE(bool(copy->OnClick));
  copy->OnClick(copy);
  EXPECT_EQ(copy->clicks, 1);
  EXPECT_FALSE(copy->HasState(csLoading));
  EXPECT_FALSE(a->HasState(csLoading));
  EXPECT_EQ(SaveText(copy), text);
  copy->Free();
}

TEST(Streaming, ReferencesToMissingComponentsStayUnset) {
  auto* root = new TThing(nullptr);
  LoadText(root, "object R: TThing\n  Buddy = Nowhere\n  object A: TThing\n    Buddy = R\n  end\nend");
  EXPECT_EQ(root->Buddy(), nullptr);
  EXPECT_EQ(static_cast<TThing*>(root->FindComponent("A"))->Buddy(), root);
  root->Free();
}

TEST(Streaming, ReadingErrorsNameTheComponentAndProperty) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"object R: TThing\n  Foo = 1\nend", "Error reading R.Foo: Property Foo does not exist"},
      {"object R: TThing\n  Sub.Nope = 1\nend", "Error reading R.Sub.Nope: Property Nope does not exist"},
      {"object R: TThing\n  Kind = kdOval\nend", "Error reading R.Kind: Invalid property value"},
      {"object R: TThing\n  Count = 'x'\nend", "Error reading R.Count: Invalid property value"},
      {"object R: TThing\n  Flags = [flA, flZ]\nend", "Error reading R.Flags: Invalid property value"},
      {"object R: TThing\n  OnClick = Missing\nend", "Error reading R.OnClick: Invalid property value"},
      {"object R: TThing\n  Panels = <item Wide = 1 end>\nend",
       "Error reading R.Panels: Property Wide does not exist"},
      {"object R: TThing\n  object X: TNoSuchClass\n  end\nend", "Class TNoSuchClass not found"},
      {"object R: TThing\n  object X: TThing\n  end\n  object x: TThing\n  end\nend",
       "A component named x already exists"},
      {"object R: TThing\n  object X: TThing\n    Shade = shNone\n  end\nend",
       "Error reading X.Shade: Invalid property value"},
  };
  for (auto& c : cases) {
    auto* root = new TThing(nullptr);
    try {
      LoadText(root, c.text);
      ADD_FAILURE() << "no error: " << c.text;
    } catch (const rt::Exception& e) {
      EXPECT_EQ(e.message(), c.message) << c.text;
    }
    // Whatever was read stays owned by the root and goes with it.
    EXPECT_FALSE(root->HasState(csReading));
    root->Free();
  }
}

TEST(Streaming, UnknownHandlersCanBeSkipped) {
  auto* root = new TThing(nullptr);
  TStringStream bin(ObjectTextToBinary("object R: TThing\n  OnClick = Missing\n  Count = 3\nend"));
  TReader r(bin);
  r.IgnoreUnknownMethods = true;
  r.ReadRootComponent(root);
  EXPECT_FALSE(bool(root->OnClick));
  EXPECT_EQ(root->Count, 3);
  root->Free();
}

TEST(Streaming, BuddyClearedWhenItGoes) {
  TThing* root = BuildTree();
  auto* a = static_cast<TThing*>(root->FindComponent("A"));
  root->FindComponent("B")->Free();
  EXPECT_EQ(a->Buddy(), nullptr);
  root->Free();
}

// A collection tells of a new item only once the item is whole: an update that reads the items (a
// list view measuring its columns) never meets one whose own constructor has not run.
TEST(Streaming, CollectionUpdatesSeeOnlyWholeItems) {
  TCollection panels([](TCollection* c) { return new TPanelItem(c); });
  int updates = 0, partial = 0;
  panels.OnUpdate = [&](TCollectionItem*) {
    ++updates;
    for (int i = 0; i < panels.Count(); ++i)
      if (!dynamic_cast<TPanelItem*>(panels.Items(i))) ++partial;
  };
  panels.Add();
  panels.Insert(0);
  panels.Add();
  EXPECT_EQ(panels.Count(), 3);
  EXPECT_GT(updates, 0);
  EXPECT_EQ(partial, 0);
}

}  // namespace
}  // namespace fwtest
