#include <gtest/gtest.h>

#include "platform/rt/persistent.h"

namespace demo {

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
const rt::EnumType& enumTypeOf(TAlign) {
  static const rt::EnumType t("TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"});
  return t;
}
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
const rt::MethodType& NotifyEventType() {
  static const rt::MethodType t{"TNotifyEvent", {{"Sender", "TObject", false}}};
  return t;
}
const rt::MethodType& KeyEventType() {
  static const rt::MethodType t{"TKeyEvent", {{"Sender", "TObject", false}, {"Key", "Word", true}}};
  return t;
}
const rt::IdentMap& ColorIdents() {
  static const rt::IdentMap m("TColor", {{"clBlack", 0}, {"clWhite", 0xFFFFFF}});
  return m;
}

class TBase : public rt::TPersistent {
  RT_CLASS(TBase)
 public:
  int32_t Tag = 0;
  std::string Name;
  bool Visible() const { return visible_; }
  void setVisible(bool v) { visible_ = v; }

 private:
  bool visible_ = true;
};

class TChild : public TBase {
  RT_CLASS(TChild)
 public:
  TAlign Align = TAlign::alNone;
  TAnchors Anchors{TAnchorKind::akLeft, TAnchorKind::akTop};
  char PasswordChar = 0;
  double Ratio = 0;
  int64_t Big = 0;
  TBase* Buddy = nullptr;
  rt::Event<void(TBase*)> OnClick;
  rt::Event<void(TBase*, uint16_t&)> OnKey;
  int32_t Color = 0;
  int32_t color() const { return Color; }
  void setColor(int32_t c) { Color = c; }
  int32_t Count() const { return 7; }
  // Redeclared: the child's Name is read-only.
  std::string name() const { return "child:" + Name; }
  void Assign(const rt::TPersistent* src) override {
    if (auto* c = dynamic_cast<const TChild*>(src)) {
      Tag = c->Tag;
      return;
    }
    TBase::Assign(src);
  }
};

const rt::ClassInfo& TBase::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TBase>("TBase", &rt::TPersistent::StaticClassInfo())
      .property("Name", &TBase::Name)
      .property("Tag", &TBase::Tag).defaultValue(0)
      .property("Visible", &TBase::Visible, &TBase::setVisible).defaultValue(true)
      .create([](rt::TPersistent*) -> rt::TPersistent* { return new TBase; })
      .build();
  return info;
}

const rt::ClassInfo& TChild::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TChild>("TChild", &TBase::StaticClassInfo())
      .property("Align", &TChild::Align)
      .property("Anchors", &TChild::Anchors)
      .property("PasswordChar", &TChild::PasswordChar)
      .property("Ratio", &TChild::Ratio)
      .property("Big", &TChild::Big)
      .property("Buddy", &TChild::Buddy)
      .event("OnClick", NotifyEventType(), &TChild::OnClick)
      .event("OnKey", KeyEventType(), &TChild::OnKey)
      .integer("Color", ColorIdents(), &TChild::color, &TChild::setColor)
      .property("Count", &TChild::Count)
      .property("Name", &TChild::name).stored([](const TChild* c) { return !c->Name.empty(); })
      .build();
  return info;
}

struct Listener {
  int clicks = 0;
  void clicked(TBase*) { ++clicks; }
};

}  // namespace demo

using namespace demo;

TEST(TypeInfo, PropertiesComeBaseFirstInDeclarationOrderWithRedeclarationsInPlace) {
  std::vector<std::string> names;
  for (const rt::PropInfo* p : TChild::StaticClassInfo().properties()) names.push_back(p->name);
  const std::vector<std::string> expected = {"Name",  "Tag", "Visible", "Align", "Anchors", "PasswordChar", "Ratio",
                                             "Big",   "Buddy", "OnClick", "OnKey", "Color", "Count"};
  EXPECT_EQ(names, expected);
  // The base's list is untouched by the child's redeclaration.
  EXPECT_TRUE(TBase::StaticClassInfo().findProperty("name")->writable());
  EXPECT_FALSE(TChild::StaticClassInfo().findProperty("NAME")->writable());
}

TEST(TypeInfo, KindsAreDeducedFromAccessorTypes) {
  const rt::ClassInfo& ci = TChild::StaticClassInfo();
  struct Case { const char* name; rt::TypeKind kind; };
  const Case cases[] = {
      {"Name", rt::TypeKind::String},       {"Tag", rt::TypeKind::Integer},     {"Visible", rt::TypeKind::Enumeration},
      {"Align", rt::TypeKind::Enumeration}, {"Anchors", rt::TypeKind::Set},     {"PasswordChar", rt::TypeKind::Char},
      {"Ratio", rt::TypeKind::Float},       {"Big", rt::TypeKind::Int64},       {"Buddy", rt::TypeKind::Class},
      {"OnClick", rt::TypeKind::Method},    {"Color", rt::TypeKind::Integer},
  };
  for (const auto& c : cases) {
    const rt::PropInfo* p = ci.findProperty(c.name);
    ASSERT_NE(p, nullptr) << c.name;
    EXPECT_EQ(p->kind, c.kind) << c.name;
    EXPECT_TRUE(p->readable()) << c.name;
  }
  EXPECT_TRUE(ci.findProperty("visible")->enumType->isBoolean());
  EXPECT_FALSE(ci.findProperty("align")->enumType->isBoolean());
  EXPECT_EQ(ci.findProperty("buddy")->classType, &TBase::StaticClassInfo());
  EXPECT_EQ(ci.findProperty("Anchors")->setType->byteSize(), 1);
  EXPECT_FALSE(ci.findProperty("Count")->writable());
  EXPECT_EQ(ci.findProperty("nothing"), nullptr);
}

TEST(TypeInfo, AccessorsReadAndWriteThroughTheTable) {
  TChild c;
  const rt::ClassInfo& ci = c.ClassType();
  ci.findProperty("align")->setOrd(&c, 5);
  EXPECT_EQ(c.Align, TAlign::alClient);
  EXPECT_EQ(ci.findProperty("ANCHORS")->getOrd(&c), 3);
  ci.findProperty("visible")->setOrd(&c, 0);
  EXPECT_FALSE(c.Visible());
  ci.findProperty("Ratio")->setFloat(&c, 2.5);
  EXPECT_EQ(c.Ratio, 2.5);
  ci.findProperty("Big")->setOrd(&c, int64_t(1) << 40);
  EXPECT_EQ(c.Big, int64_t(1) << 40);
  TBase other;
  ci.findProperty("Buddy")->setObject(&c, &other);
  EXPECT_EQ(ci.findProperty("Buddy")->getObject(&c), &other);
  c.Name = "x";
  EXPECT_EQ(ci.findProperty("Name")->getString(&c), "child:x");
  ci.findProperty("Color")->setOrd(&c, 0xFFFFFF);
  EXPECT_EQ(c.Color, 0xFFFFFF);
}

TEST(TypeInfo, EventPropertiesCarryMethodPointersWithTypeIdentity) {
  TChild c;
  Listener l;
  const rt::PropInfo* click = c.ClassType().findProperty("OnClick");
  const rt::PropInfo* key = c.ClassType().findProperty("OnKey");
  EXPECT_NE(click->methodType, key->methodType);
  EXPECT_TRUE(click->getMethod(&c).empty());
  c.OnClick = rt::Event<void(TBase*)>::bind<&Listener::clicked>(&l);
  rt::Method m = click->getMethod(&c);
  EXPECT_EQ(m.data, &l);
  click->setMethod(&c, rt::Method{});
  EXPECT_TRUE(c.OnClick.empty());
  click->setMethod(&c, m);
  c.OnClick(&c);
  c.OnClick(&c);
  EXPECT_EQ(l.clicks, 2);
}

TEST(TypeInfo, EnumerationsSetsAndIdentsConvertToText) {
  const rt::EnumType& align = enumTypeOf(TAlign{});
  EXPECT_EQ(align.valueOf("ALCLIENT"), 5);
  EXPECT_EQ(align.valueOf("alMiddle"), -1);
  EXPECT_EQ(*align.nameOf(1), "alTop");
  EXPECT_EQ(align.nameOf(6), nullptr);
  EXPECT_EQ(align.nameOf(-1), nullptr);
  EXPECT_EQ(rt::EnumType::Boolean().valueOf("true"), 1);

  const rt::SetType& anchors = setTypeOf(TAnchors{});
  struct Case { const char* text; uint32_t bits; const char* back; };
  const Case cases[] = {
      {"[akLeft,akTop]", 3, "akLeft,akTop"}, {"akTop, akLeft", 3, "akLeft,akTop"}, {"[]", 0, ""},
      {"", 0, ""},  {"[akBottom,bogus,AKRIGHT]", 12, "akRight,akBottom"},  {"  [ akBottom ]", 8, "akBottom"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(anchors.fromText(c.text), c.bits) << c.text;
    EXPECT_EQ(anchors.toText(c.bits), c.back) << c.text;
  }
  int32_t v = -1;
  EXPECT_TRUE(ColorIdents().identToInt("CLWHITE", v));
  EXPECT_EQ(v, 0xFFFFFF);
  EXPECT_FALSE(ColorIdents().identToInt("clPink", v));
  EXPECT_EQ(*ColorIdents().intToIdent(0), "clBlack");
  EXPECT_EQ(ColorIdents().intToIdent(5), nullptr);

  std::vector<std::string> many;
  for (int i = 0; i < 33; ++i) many.push_back("m" + std::to_string(i));
  rt::EnumType wide("TWide", many);
  EXPECT_THROW(rt::SetType("TWides", wide), rt::Exception);
}

TEST(TypeInfo, DefaultsStoredFlagsAndInheritance) {
  TChild c;
  const rt::ClassInfo& ci = c.ClassType();
  EXPECT_TRUE(ci.findProperty("Visible")->hasDefault);
  EXPECT_EQ(ci.findProperty("Visible")->defaultOrd, 1);
  EXPECT_FALSE(ci.findProperty("Ratio")->hasDefault);
  EXPECT_FALSE(ci.findProperty("Name")->isStored(&c));
  c.Name = "n";
  EXPECT_TRUE(ci.findProperty("Name")->isStored(&c));
  EXPECT_TRUE(c.InheritsFrom(TBase::StaticClassInfo()));
  EXPECT_TRUE(c.InheritsFrom(rt::TPersistent::StaticClassInfo()));
  TBase b;
  EXPECT_FALSE(b.InheritsFrom(TChild::StaticClassInfo()));
  EXPECT_EQ(c.ClassName(), "TChild");
}

TEST(TypeInfo, RegistryFindsClassesByNameAndCreatesThem) {
  rt::RegisterClass(TBase::StaticClassInfo());
  rt::RegisterClass(TChild::StaticClassInfo());
  ASSERT_EQ(rt::FindClass("tbase"), &TBase::StaticClassInfo());
  std::unique_ptr<rt::TPersistent> made(rt::FindClass("TBase")->create(nullptr));
  EXPECT_EQ(made->ClassName(), "TBase");
  EXPECT_FALSE(rt::FindClass("TChild")->create);
  rt::UnregisterClass(TChild::StaticClassInfo());
  EXPECT_EQ(rt::FindClass("TChild"), nullptr);
  rt::UnregisterClass(TBase::StaticClassInfo());
}

TEST(TypeInfo, AssignCopiesKnownSourcesAndRefusesOthers) {
  TChild a, b;
  a.Tag = 9;
  b.Assign(&a);
  EXPECT_EQ(b.Tag, 9);
  TBase base;
  try {
    b.Assign(&base);
    FAIL();
  } catch (const rt::EConvertError& e) {
    EXPECT_EQ(e.message(), "Cannot assign a TBase to a TChild");
  }
  EXPECT_THROW(b.Assign(nullptr), rt::EConvertError);
}
