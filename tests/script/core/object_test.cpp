#include <gtest/gtest.h>

#include "script/core/factory.h"
#include "script/core/hash.h"
#include "script/core/prototype.h"
#include "tests/script/core/test_engine.h"

using namespace engine;
using namespace enginetest;

const rt::ClassInfo& TestArray::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TestArray>("TestArray", &TJObject::StaticClassInfo()).build();
  return info;
}
const rt::ClassInfo& Probe::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<Probe>("Probe", &TJObject::StaticClassInfo()).build();
  return info;
}

namespace {

// A script object with a published property and a native of its own.
class Counter : public TJObject {
  RT_CLASS(Counter)
 public:
  Counter(TJBaseEngine* e, TJValueList* p) : TJObject(e, p) { RegistName("Counter"); }
  int32_t count() const { return count_; }
  void setCount(int32_t c) { count_ = c; }
  bool flag() const { return flag_; }
  void setFlag(bool f) { flag_ = f; }
  void RegistMethods() override {
    TJObject::RegistMethods();
    RegistMethod("bump", &Counter::DoBump);
    RegistMethod("toString", &Counter::DoBump);  // a later registration replaces the earlier
  }
  void RegistProperties() override { RegistProperty("LIMIT", TJValue::Integer(10)); }
  void DoBump(TJValueList* args, TJValue& result) {
    count_ += IsParam1(args) ? AsInteger(&(*args)[0]) : 1;
    result.SetInteger(count_);
  }

 private:
  int32_t count_ = 0;
  bool flag_ = false;
};

}  // namespace

const rt::ClassInfo& Counter::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<Counter>("Counter", &TJObject::StaticClassInfo())
                                         .property("Count", &Counter::count, &Counter::setCount)
                                         .property("Flag", &Counter::flag, &Counter::setFlag)
                                         .build();
  return info;
}

namespace {

TJValue call(TJObject* o, const char* name, TJValueList* args = nullptr) {
  TJValue f, result;
  o->GetMember(name, false, nullptr, f);
  CallNative(f.vFunction(), args, result);
  return result;
}


}  // namespace

TEST(ScriptObject, NewObjectListsTheBaseNativesInTableOrder) {
  TestEngine engine;
  TJValue o = TJValue::Object(engine.MakeObject("Object", nullptr));
  TJValue keys = call(o.vObject(), "getKeys");
  std::vector<std::string> expected = {"hasKey", "hasOwnProperty", "removeKey", "toString", "getKeys",
                                       "getProperties", "getMethods", "valueOf", "getEvents"};
  SortInTableOrder(expected, 23);
  EXPECT_EQ(ArrayTexts(keys), expected);
  EXPECT_EQ(o.vObject()->ToString(nullptr), "[object Object]");
  EXPECT_EQ(ArrayTexts(call(o.vObject(), "getProperties")), std::vector<std::string>{});
  // Natives read twice are the same function value.
  TJValue a, b;
  o.vObject()->GetMember("valueOf", false, nullptr, a);
  o.vObject()->GetMember("valueOf", false, nullptr, b);
  EXPECT_TRUE(SameFunction(&a, &b));
}

TEST(ScriptObject, MembersPublishedPropertiesAndNatives) {
  TestEngine engine;
  TJValue holder = TJValue::Object(TJObject::Create<Counter>(&engine));
  TJObject* c = holder.vObject();
  c->PutMember("x", TJValue::Integer(1), false, nullptr);
  TJValueList name{TJValue::String("x")};
  EXPECT_TRUE(call(c, "hasKey", &name).vBool());
  EXPECT_TRUE(call(c, "removeKey", &name).vBool());
  EXPECT_FALSE(call(c, "removeKey", &name).vBool());
  TJValueList ts{TJValue::String("toString")};
  EXPECT_TRUE(call(c, "hasOwnProperty", &ts).vBool());
  EXPECT_EQ(ErrorOf([&] { TJValue v; c->GetMember("nope", false, nullptr, v); }), "ENameError:nope");
  EXPECT_EQ(ErrorOf([&] { TJValue v; c->GetMember("nope", true, nullptr, v); }), "EKeyError:nope");

  // Published names match without regard to case; a member cannot shadow them.
  c->PutMember("count", TJValue::Integer(5), false, nullptr);
  TJValue v;
  c->GetMember("COUNT", false, nullptr, v);
  EXPECT_EQ(v.ValueType(), vtInteger);
  EXPECT_EQ(AsInteger(&v), 5);
  c->PutMember("flag", TJValue::String("bogus"), false, nullptr);  // refused, and no member appears
  c->GetMember("Flag", false, nullptr, v);
  EXPECT_EQ(v.ValueType(), vtBool);
  EXPECT_FALSE(v.vBool());
  c->PutMember("flag", TJValue::String("TRUE"), false, nullptr);
  c->GetMember("flag", false, nullptr, v);
  EXPECT_TRUE(v.vBool());

  // The class's natives, with later registrations winning.
  EXPECT_EQ(AsInteger(&(v = call(c, "bump"))), 6);
  EXPECT_EQ(AsInteger(&(v = call(c, "toString"))), 7);
  EXPECT_EQ(AsInteger(&(v = c->ToString(nullptr).empty() ? TJValue() : TJValue::Integer(1))), 1);
  std::vector<std::string> props;
  c->GetPropertyList(props);
  EXPECT_EQ(props, (std::vector<std::string>{"LIMIT", "Count", "Flag"}));

  // Clear drops script members and brings back natives and registered constants.
  c->PutMember("y", TJValue::Integer(2), false, nullptr);
  c->RemoveKey("bump");
  EXPECT_FALSE(c->HasKey("bump"));
  c->Clear();
  EXPECT_FALSE(c->HasKey("y"));
  EXPECT_TRUE(c->HasKey("bump"));
  EXPECT_TRUE(c->HasKey("LIMIT"));
  c->ClearMembers();
  EXPECT_FALSE(c->HasKey("bump"));
  EXPECT_TRUE(c->HasKey("Count"));
}

TEST(ScriptObject, ReplacingANativeAndEnumeratingMethods) {
  TestEngine engine;
  TJValue o = TJValue::Object(engine.MakeObject("Object", nullptr));
  o.vObject()->PutMember("toString", TJValue::Integer(3), false, nullptr);
  std::vector<std::string> methods, props;
  o.vObject()->GetMethodList(methods);
  o.vObject()->GetPropertyList(props);
  EXPECT_EQ(methods.size(), 8u);
  EXPECT_EQ(props, std::vector<std::string>{"toString"});
  o.vObject()->RemoveKey("toString");
  EXPECT_FALSE(o.vObject()->HasKey("toString"));
}

TEST(ScriptObject, ReferencesKeepObjectsAliveAndDeepChainsFreeIteratively) {
  TestEngine engine;
  Probe::live = 0;
  {
    TJValue head;
    for (int i = 0; i < 100000; ++i) {
      TJObject* node = TJObject::Create<Probe>(&engine, nullptr, false);
      node->PutMember("next", head, false, nullptr);
      head.SetObject(node);
    }
    EXPECT_EQ(Probe::live, 100000);
  }
  EXPECT_EQ(Probe::live, 0);

  TJValue keep;
  {
    TJValue a = TJValue::Object(TJObject::Create<Probe>(&engine, nullptr, false));
    keep = a;
  }
  EXPECT_EQ(Probe::live, 1);
  keep.Clear();
  EXPECT_EQ(Probe::live, 0);
}

TEST(ScriptObject, EngineClearDisposesWhateverHoldsTheObjects) {
  TestEngine engine;
  Probe::live = 0;
  TJValue outside = TJValue::Object(engine.MakeObject("Probe", nullptr));
  TJValue holder = TJValue::Object(engine.MakeObject("Object", nullptr));
  holder.vObject()->PutMember("p", outside, false, nullptr);
  TJObject* cyc = engine.MakeObject("Probe", nullptr);
  cyc->PutMember("self", TJValue::Object(cyc), false, nullptr);  // a cycle only the clear breaks
  EXPECT_EQ(Probe::live, 2);
  EXPECT_EQ(engine.made, (std::vector<std::string>{"Probe", "Object", "Probe"}));
  engine.Factory().ClearObjects();
  EXPECT_EQ(Probe::live, 1);  // the one a value outside still holds, disposed
  EXPECT_EQ(outside.ValueType(), vtUndefined);
  EXPECT_EQ(outside.vObject(), nullptr);
  EXPECT_EQ(engine.Factory().Objects().Count(), 0u);
  outside.Clear();
  EXPECT_EQ(Probe::live, 0);
}

TEST(ScriptObject, FreedObjectsLeaveTheFactoryList) {
  TestEngine engine;
  TJValue a = TJValue::Object(engine.MakeObject("Probe", nullptr));
  TJValue b = TJValue::Object(engine.MakeObject("Probe", nullptr));
  EXPECT_EQ(engine.Factory().Objects().Count(), 2u);
  a.Clear();
  EXPECT_EQ(engine.Factory().Objects().Count(), 1u);
}

TEST(ScriptObject, PrototypesAreSharedAndCyclesRefused) {
  TestEngine engine;
  TJValue x = TJValue::Object(engine.MakeObject("Probe", nullptr));
  TJObject* proto = engine.Factory().GetPrototype("Probe");
  EXPECT_EQ(proto, engine.Factory().GetPrototype("Probe"));
  proto->PutMember("shared", TJValue::Integer(42), false, nullptr);
  TJValue v;
  x.vObject()->GetMember("shared", false, nullptr, v);
  EXPECT_EQ(AsInteger(&v), 42);

  // A replacement prototype: members of the replacement object are found.
  TJValue a = TJValue::Object(engine.MakeObject("Object", nullptr));
  a.vObject()->RegistName("A");
  a.vObject()->PutMember("fromA", TJValue::Integer(1), false, nullptr);
  EXPECT_TRUE(engine.Factory().SetPrototype("Probe", a.vObject()));
  x.vObject()->GetMember("fromA", false, nullptr, v);
  EXPECT_EQ(AsInteger(&v), 1);

  // B's prototype is a Probe instance; making A's prototype a B closes a cycle: refused.
  TJValue b = TJValue::Object(engine.MakeObject("Object", nullptr));
  b.vObject()->RegistName("B");
  EXPECT_TRUE(engine.Factory().SetPrototype("B", x.vObject()));
  EXPECT_FALSE(engine.Factory().SetPrototype("A", b.vObject()));
  // An object as its own class's prototype is refused too.
  TJValue foo = TJValue::Object(engine.MakeObject("Object", nullptr));
  foo.vObject()->RegistName("Foo");
  EXPECT_FALSE(engine.Factory().SetPrototype("Foo", foo.vObject()));
  EXPECT_EQ(ErrorOf([&] { foo.vObject()->GetMember("missing", false, nullptr, v); }), "ENameError:missing");
  EXPECT_EQ(ErrorOf([&] { x.vObject()->GetMember("missing", false, nullptr, v); }), "ENameError:missing");
}

TEST(ScriptObject, EventsAndHandlers) {
  TestEngine engine;
  TJValue c = TJValue::Object(TJObject::Create<Counter>(&engine));
  c.vObject()->RegistEventName("onTick");
  c.vObject()->RegistEventName("ONTICK");
  c.vObject()->RegistEventName("onDone");
  std::vector<std::string> events;
  c.vObject()->GetEventList(events);
  EXPECT_EQ(events, (std::vector<std::string>{"onDone", "onTick"}));
  EXPECT_FALSE(c.vObject()->IsCallEvent("bump"));  // the event loop is not running
  engine.EventLoopAllowed = true;
  EXPECT_TRUE(c.vObject()->IsCallEvent("bump"));
  EXPECT_FALSE(c.vObject()->IsCallEvent(""));
  TJValue r;
  TJValueList args{TJValue::Integer(5)};
  c.vObject()->CallEvent("", "bump", &args, r);
  EXPECT_EQ(AsInteger(&r), 5);
  EXPECT_EQ(ErrorOf([&] { c.vObject()->CallEvent("", "onTick", nullptr, r); }), "EKeyError:onTick");
}

TEST(ScriptObject, BoundNativesForgetTheirObject) {
  TestEngine engine;
  TJValue f;
  {
    TJValue c = TJValue::Object(TJObject::Create<Counter>(&engine, nullptr, false));
    c.vObject()->GetMember("bump", false, nullptr, f);
    EXPECT_EQ(f.vFunction()->GetThisObject(), c.vObject());
  }
  EXPECT_EQ(f.vFunction()->GetThisObject(), nullptr);
  TJValue r;
  EXPECT_EQ(ErrorOf([&] { CallNative(f.vFunction(), nullptr, r); }), "ECallError:object of bump is gone");
}

namespace {

// A class with more natives than a native table's first index holds: even names answer 0, odd
// names 1, and "m5" is registered again (as even) after the others.
class Wide : public TJObject {
  RT_CLASS(Wide)
 public:
  static constexpr int kNatives = 100;
  Wide(TJBaseEngine* e, TJValueList* p) : TJObject(e, p) { RegistName("Wide"); }
  void RegistMethods() override {
    TJObject::RegistMethods();
    for (int i = 0; i < kNatives; ++i) {
      std::string name = "m" + std::to_string(i);  // a name that does not outlive the call
      if (i % 2)
        RegistMethod(name, &Wide::DoOdd);
      else
        RegistMethod(name, &Wide::DoEven);
    }
    RegistMethod("m5", &Wide::DoEven);
  }
  void DoEven(TJValueList*, TJValue& result) { result.SetInteger(0); }
  void DoOdd(TJValueList*, TJValue& result) { result.SetInteger(1); }
};

}  // namespace

const rt::ClassInfo& Wide::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<Wide>("Wide", &TJObject::StaticClassInfo()).build();
  return info;
}

// The natives of a class are one table for all its instances: what one instance does to its own
// members (add, replace, remove, clear, dispose) shows in no other instance, made before or after.
TEST(ScriptObject, InstancesShareTheClassNativesButNotTheirChanges) {
  TestEngine engine;
  TJValue a = TJValue::Object(TJObject::Create<Wide>(&engine));
  TJValue b = TJValue::Object(TJObject::Create<Wide>(&engine));
  for (int i = 0; i < Wide::kNatives; ++i) {
    std::string name = "m" + std::to_string(i);
    TJValue r = call(b.vObject(), name.c_str());
    EXPECT_EQ(AsInteger(&r), i == 5 ? 0 : i % 2) << name;
  }
  TJValue keysBefore = call(b.vObject(), "getKeys");
  EXPECT_EQ(ArrayTexts(keysBefore).size(), size_t(9 + Wide::kNatives));  // "m5" once

  a.vObject()->PutMember("m3", TJValue::Integer(42), false, nullptr);
  a.vObject()->PutMember("extra", TJValue::Integer(7), false, nullptr);
  EXPECT_TRUE(a.vObject()->RemoveKey("m4"));
  TJValue v;
  a.vObject()->GetMember("m3", false, nullptr, v);
  EXPECT_EQ(AsInteger(&v), 42);
  EXPECT_FALSE(a.vObject()->HasKey("m4"));

  TJValue c = TJValue::Object(TJObject::Create<Wide>(&engine));
  for (TJObject* other : {b.vObject(), c.vObject()}) {
    EXPECT_EQ(AsInteger(&(v = call(other, "m3"))), 1);
    EXPECT_EQ(AsInteger(&(v = call(other, "m4"))), 0);
    EXPECT_FALSE(other->HasKey("extra"));
    EXPECT_EQ(ArrayTexts(call(other, "getKeys")), ArrayTexts(keysBefore));
  }

  // An instance that loses all its members, or is disposed, leaves the others whole.
  a.vObject()->ClearMembers();
  EXPECT_FALSE(a.vObject()->HasKey("m7"));
  TJObject* disposed = b.vObject();  // b still counts it
  disposed->Dispose();
  EXPECT_FALSE(disposed->HasKey("m7"));
  EXPECT_TRUE(c.vObject()->HasKey("m7"));
  EXPECT_EQ(AsInteger(&(v = call(c.vObject(), "m7"))), 1);
  TJValue d = TJValue::Object(TJObject::Create<Wide>(&engine));
  EXPECT_EQ(ArrayTexts(call(d.vObject(), "getKeys")), ArrayTexts(keysBefore));
}

namespace {

// A class no other test makes: its natives are first asked for in the test below. Its constant
// "shadow" takes the name of one of its natives.
class Late : public TJObject {
  RT_CLASS(Late)
 public:
  Late(TJBaseEngine* e, TJValueList* p) : TJObject(e, p) { RegistName("Late"); }
  void RegistMethods() override {
    TJObject::RegistMethods();
    RegistMethod("ping", &Late::DoPing);
    RegistMethod("shadow", &Late::DoPing);
  }
  void RegistProperties() override { RegistProperty("shadow", TJValue::Integer(5)); }
  void DoPing(TJValueList*, TJValue& result) { result.SetString("pong"); }
};

}  // namespace

const rt::ClassInfo& Late::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<Late>("Late", &TJObject::StaticClassInfo()).build();
  return info;
}

// An object disposed before anything asked for its class's natives has none, and the next object
// of the class has them all; a constant registered under a native's name hides that native.
TEST(ScriptObject, NativesFirstAskedForAfterAnObjectOfTheClassWasDisposed) {
  TestEngine engine;
  TJValue first = TJValue::Object(TJObject::Create<Late>(&engine));
  TJObject* disposed = first.vObject();
  disposed->Dispose();
  EXPECT_FALSE(disposed->HasKey("ping"));
  std::vector<std::string> none;
  disposed->GetMethodList(none);
  EXPECT_TRUE(none.empty());

  TJValue second = TJValue::Object(TJObject::Create<Late>(&engine));
  TJValue v = call(second.vObject(), "ping");
  EXPECT_EQ(AsString(&v), "pong");
  second.vObject()->GetMember("shadow", false, nullptr, v);
  EXPECT_EQ(AsInteger(&v), 5);
  std::vector<std::string> methods, props;
  second.vObject()->GetMethodList(methods);
  second.vObject()->GetPropertyList(props);
  EXPECT_EQ(methods.size(), 10u);  // the 9 of every object and "ping"
  EXPECT_EQ(props, std::vector<std::string>{"shadow"});
}

TEST(MemberTable, SelectsByTypeInKeyOrder) {
  TJHash h(23, false);
  h.SetValue("b", TJValue::Integer(1));
  h.SetValue("a", TJValue::String("s"));
  h.SetValue("c", TJValue::Integer(2));
  std::vector<std::string> ints;
  h.GetKeysByTypes(ints, TypeBit(vtInteger), 0);
  std::vector<std::string> expected = {"b", "c"};
  SortInTableOrder(expected, 23);
  EXPECT_EQ(ints, expected);
  h.RemoveByTypes(0, TypeBit(vtInteger));
  EXPECT_FALSE(h.HasKey("a"));
  EXPECT_EQ(h.Count(), 2u);
  h.RemoveByTypes(0, 0);
  EXPECT_EQ(h.Count(), 0u);
}
