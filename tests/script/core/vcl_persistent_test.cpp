#include <gtest/gtest.h>

#include "script/core/published.h"
#include "script/core/vcl_persistent.h"
#include "tests/script/core/test_engine.h"

using namespace engine;
using namespace enginetest;

namespace vcltest {

enum class TAnchorKind { akLeft, akTop, akRight, akBottom };
const rt::EnumType& enumTypeOf(TAnchorKind) {
  static const rt::EnumType t("TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"});
  return t;
}
using TAnchors = rt::SetOf<TAnchorKind>;
const rt::SetType& setTypeOf(TAnchors) {
  static const rt::SetType t("TAnchors", enumTypeOf(TAnchorKind{}));
  return t;
}
const rt::MethodType& NotifyEvent() {
  static const rt::MethodType t{"TNotifyEvent", {}};
  return t;
}

class TFont : public rt::TPersistent {
  RT_CLASS(TFont)
 public:
  int32_t Size = 9;
};

class TWidget : public rt::TPersistent {
  RT_CLASS(TWidget)
 public:
  TWidget() { ++live; }
  ~TWidget() override { --live; }
  std::string Caption;
  bool Enabled = true;
  TAnchors Anchors;
  TFont* Font() const { return font_; }
  void setFont(TFont* f) { if (f) font_->Size = f->Size; }
  int64_t Big = 0;
  std::string ReadOnly() const { return "ro"; }
  rt::Event<void(rt::TPersistent*)> OnClick;
  void Assign(const rt::TPersistent* src) override {
    if (auto* w = dynamic_cast<const TWidget*>(src)) {
      Caption = w->Caption;
      return;
    }
    rt::TPersistent::Assign(src);
  }
  static inline int live = 0;
  TFont* font_ = &ownFont_;
  TFont ownFont_;
};

class TJVCLWidget : public TJVCLPersistent {
  RT_CLASS(TJVCLWidget)
 public:
  using TJVCLPersistent::TJVCLPersistent;
  const rt::ClassInfo& VCLClass() const override { return TWidget::StaticClassInfo(); }
  void CreateVCL() override { AttachVCL(new TWidget, true); }
};

class TJVCLFont : public TJVCLPersistent {
  RT_CLASS(TJVCLFont)
 public:
  using TJVCLPersistent::TJVCLPersistent;
  const rt::ClassInfo& VCLClass() const override { return TFont::StaticClassInfo(); }
};

int castCount = 0;
TJObject* caster(rt::TPersistent* object, TJBaseEngine* engine) {
  ++castCount;
  auto* w = TJObject::Create<TJVCLFont>(engine);
  w->AttachVCL(object, false);
  return w;
}

}  // namespace vcltest

using namespace vcltest;

const rt::ClassInfo& TFont::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TFont>("TFont", &rt::TPersistent::StaticClassInfo()).property("Size", &TFont::Size).build();
  return info;
}
const rt::ClassInfo& TWidget::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TWidget>("TWidget", &rt::TPersistent::StaticClassInfo())
                                         .property("Caption", &TWidget::Caption)
                                         .property("Enabled", &TWidget::Enabled)
                                         .property("Anchors", &TWidget::Anchors)
                                         .property("Font", &TWidget::Font, &TWidget::setFont)
                                         .property("Big", &TWidget::Big)
                                         .property("ReadOnly", &TWidget::ReadOnly)
                                         .event("OnClick", NotifyEvent(), &TWidget::OnClick)
                                         .build();
  return info;
}
const rt::ClassInfo& TJVCLWidget::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TJVCLWidget>("TJVCLWidget", &TJVCLPersistent::StaticClassInfo()).build();
  return info;
}
const rt::ClassInfo& TJVCLFont::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TJVCLFont>("TJVCLFont", &TJVCLPersistent::StaticClassInfo()).build();
  return info;
}

TEST(Published, ReadAndWriteEveryKindThroughScriptValues) {
  TWidget w;
  TJValue v;
  ASSERT_TRUE(GetPublishedProperty(&w, "enabled", v, nullptr));
  EXPECT_EQ(v.ValueType(), vtBool);
  EXPECT_TRUE(SetPublishedProperty(&w, "Enabled", TJValue::Integer(0)));
  EXPECT_FALSE(w.Enabled);
  EXPECT_FALSE(SetPublishedProperty(&w, "Enabled", TJValue::Integer(7)));  // no such ordinal
  EXPECT_TRUE(SetPublishedProperty(&w, "Anchors", TJValue::String("[akLeft,akTop]")));
  EXPECT_EQ(w.Anchors.bits, 3u);
  GetPublishedProperty(&w, "anchors", v, nullptr);
  EXPECT_EQ(AsString(&v), "akLeft,akTop");
  EXPECT_FALSE(SetPublishedProperty(&w, "Anchors", TJValue::String("")));
  TestEngine engine;
  TJValue o = TJValue::Object(engine.MakeObject("Object", nullptr));
  o.vObject()->PutMember("akRight", TJValue::Bool(true), false, nullptr);
  o.vObject()->PutMember("akTop", TJValue::Integer(1), false, nullptr);
  o.vObject()->PutMember("akLeft", TJValue::Bool(false), false, nullptr);
  EXPECT_TRUE(SetPublishedProperty(&w, "Anchors", o));
  EXPECT_EQ(w.Anchors.bits, 6u);
  EXPECT_TRUE(SetPublishedProperty(&w, "Big", TJValue::Double(1e12)));
  GetPublishedProperty(&w, "Big", v, nullptr);
  EXPECT_EQ(v.ValueType(), vtDouble);
  EXPECT_EQ(AsString(&v), "1000000000000");
  EXPECT_FALSE(SetPublishedProperty(&w, "ReadOnly", TJValue::String("x")));
  EXPECT_FALSE(SetPublishedProperty(&w, "Missing", TJValue::String("x")));
  // Events: an event value of another type is refused, null clears.
  TJValue ev;
  ev.SetEvent(rt::Method{reinterpret_cast<rt::Method::Code>(&castCount), &w});
  EXPECT_FALSE(SetPublishedProperty(&w, "OnClick", ev));
  EXPECT_TRUE(SetPublishedProperty(&w, "OnClick", ev, &NotifyEvent()));
  EXPECT_FALSE(w.OnClick.empty());
  GetPublishedProperty(&w, "OnClick", v, nullptr);
  EXPECT_EQ(v.ValueType(), vtEvent);
  ClearEventProperties(&w);
  EXPECT_TRUE(w.OnClick.empty());
  std::vector<std::string> names;
  GetPublishedNames(&w, names, true);
  EXPECT_EQ(names, std::vector<std::string>{"OnClick"});
  // A framework object without a caster is not converted.
  SetCaster(nullptr);
  EXPECT_FALSE(GetPublishedProperty(&w, "Font", v, nullptr));
}

TEST(WrappedObject, AttachReleaseAndPassThrough) {
  TestEngine engine;
  SetCaster(&caster);
  castCount = 0;
  TWidget::live = 0;
  TJValue h = TJValue::Object(TJObject::Create<TJVCLWidget>(&engine));
  auto* wrapper = static_cast<TJVCLWidget*>(h.vObject());
  EXPECT_EQ(TWidget::live, 1);
  TJValue v;
  wrapper->GetMember("VCLclassName", false, nullptr, v);
  EXPECT_EQ(AsString(&v), "TWidget");
  wrapper->PutMember("caption", TJValue::String("Hello"), false, nullptr);
  EXPECT_EQ(static_cast<TWidget*>(wrapper->VCL())->Caption, "Hello");
  EXPECT_EQ(ErrorOf([&] { wrapper->PutMember("Enabled", TJValue::String("maybe"), false, nullptr); }),
            "EVCLError:TWidget - Invalid property value: Enabled");
  EXPECT_FALSE(wrapper->HasKey("Enabled") && !wrapper->HasPublishedName("Enabled"));
  wrapper->GetMember("Enabled", false, nullptr, v);
  EXPECT_EQ(v.ValueType(), vtBool);

  // The same framework object answers the same wrapper.
  TJValue f1, f2;
  wrapper->GetMember("Font", false, nullptr, f1);
  wrapper->GetMember("font", false, nullptr, f2);
  EXPECT_EQ(f1.vObject(), f2.vObject());
  EXPECT_EQ(castCount, 1);
  std::vector<std::string> props;
  wrapper->GetPropertyList(props);
  EXPECT_EQ(props, (std::vector<std::string>{"Anchors", "Big", "Caption", "Enabled", "Font", "ReadOnly", "VCLclassName"}));

  // Attaching a wrong object is refused and keeps the current one.
  TFont font;
  EXPECT_FALSE(wrapper->AttachVCL(&font, false));
  EXPECT_EQ(TWidget::live, 1);
  EXPECT_TRUE(wrapper->AttachVCL(wrapper->VCL(), true));
  EXPECT_EQ(TWidget::live, 1);

  // assign copies through the framework.
  TJValue other = TJValue::Object(TJObject::Create<TJVCLWidget>(&engine));
  TJValueList args{h};
  TJValue r;
  static_cast<TJVCLWidget*>(other.vObject())->DoAssign(&args, r);
  EXPECT_EQ(static_cast<TWidget*>(static_cast<TJVCLWidget*>(other.vObject())->VCL())->Caption, "Hello");
  EXPECT_EQ(r.vObject(), other.vObject());

  wrapper->ReleaseVCL();
  EXPECT_EQ(TWidget::live, 1);
  EXPECT_FALSE(wrapper->HasKey("Caption"));
  EXPECT_EQ(ErrorOf([&] { wrapper->CheckVCL(nullptr, 0); }), "EVCLError:TWidget - VCL is null");
  EXPECT_EQ(ErrorOf([&] { static_cast<TJVCLWidget*>(other.vObject())->CheckVCL(nullptr, 1); }),
            "EVCLError:TWidget - arguments error");
  h.Clear();
  other.Clear();
  engine.Factory().ClearObjects();
  EXPECT_EQ(TWidget::live, 0);
  SetCaster(nullptr);
}

TEST(WrappedObject, BaseWrapperNamesItsAcceptedClass) {
  TestEngine engine;
  TJValue h = TJValue::Object(TJObject::Create<TJVCLPersistent>(&engine));
  TJValue v;
  h.vObject()->GetMember("VCLclassName", false, nullptr, v);
  EXPECT_EQ(AsString(&v), "TPersistent");
  EXPECT_TRUE(IsVCLObject(&h));
  EXPECT_EQ(h.vObject()->Name(), "VCL");
}

// Wrappers come by the thousand (a tree's nodes): those of one class over one framework class
// share a single list of published names, while what a script adds to one stays its own.
TEST(WrappedObject, WrappersShareTheirPublishedNamesButNotTheirMembers) {
  TestEngine engine;
  TWidget::live = 0;
  TJValue ha = TJValue::Object(TJObject::Create<TJVCLWidget>(&engine));
  TJValue hb = TJValue::Object(TJObject::Create<TJVCLWidget>(&engine));
  auto* a = static_cast<TJVCLWidget*>(ha.vObject());
  auto* b = static_cast<TJVCLWidget*>(hb.vObject());
  EXPECT_EQ(&a->PublishedNames(), &b->PublishedNames());
  EXPECT_TRUE(a->HasPublishedName("caption"));

  a->PutMember("extra", TJValue::Integer(1), false, nullptr);
  EXPECT_TRUE(a->HasKey("extra"));
  EXPECT_FALSE(b->HasKey("extra"));
  EXPECT_TRUE(b->RemoveKey("assign"));
  TJValue v;
  EXPECT_TRUE(a->FindMember("assign", v));
  EXPECT_FALSE(b->FindMember("assign", v));

  // Letting its object go changes the names of that wrapper alone.
  a->ReleaseVCL();
  EXPECT_EQ(TWidget::live, 1);
  EXPECT_FALSE(a->HasKey("Caption"));
  EXPECT_TRUE(b->HasKey("Caption"));
  b->PutMember("Caption", TJValue::String("kept"), false, nullptr);
  EXPECT_EQ(static_cast<TWidget*>(b->VCL())->Caption, "kept");
  EXPECT_FALSE(a->HasKey("Caption"));

  // A wrapper freed with its object frees it once; one whose holder freed the object first leaves it.
  ha.Clear();
  auto holder = std::make_shared<int>(0);
  TWidget held;
  TJValue hc = TJValue::Object(TJObject::Create<TJVCLWidget>(&engine));
  auto* c = static_cast<TJVCLWidget*>(hc.vObject());
  EXPECT_EQ(TWidget::live, 3);
  ASSERT_TRUE(c->AttachVCL(&held, false));
  EXPECT_EQ(TWidget::live, 2);
  c->TrackLiveness(holder);
  holder.reset();
  EXPECT_FALSE(c->HasVCL());
  hb.Clear();
  hc.Clear();
  engine.Factory().ClearObjects();
  EXPECT_EQ(TWidget::live, 1);  // `held` alone
}
