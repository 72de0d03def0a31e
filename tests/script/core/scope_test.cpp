#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <initializer_list>
#include <vector>

#include "script/core/activation.h"
#include "script/core/function.h"
#include "script/core/symbols.h"
#include "script/core/tree.h"
#include "script/core/value_list.h"
#include "tests/script/core/test_engine.h"

using namespace engine;
using namespace enginetest;

namespace {
int32_t lookup(TJLocalSymbolTable* t, const char* name) {
  TJValue v;
  return t->FindName(name, v) ? AsInteger(&v) : -999;
}

// Parameter records of a function, chained in order.
class Parameters {
 public:
  const TJStatement* Chain(std::initializer_list<const char*> names) {
    TJStatement* first = nullptr;
    TJStatement* last = nullptr;
    for (const char* n : names) {
      TJExpr& name = names_.emplace_back();
      name.Code = ecIdentifier;
      name.Symbol = n;
      TJStatement& p = records_.emplace_back();
      p.Kind = skParameter;
      p.Expr = &name;
      if (last) last->Next = &p; else first = &p;
      last = &p;
    }
    return first;
  }

 private:
  std::deque<TJExpr> names_;
  std::deque<TJStatement> records_;
};
}  // namespace

TEST(Scopes, WithObjectTakesOnlyTheNamesItHas) {
  TestEngine engine;
  TJRootSymbolTable root;
  TJLocalSymbolTable* module = root.AddModule("__MAIN__", nullptr);
  module->SetLocal("x", TJValue::Integer(1));
  TJValue o = TJValue::Object(engine.MakeObject("Object", nullptr));
  o.vObject()->PutMember("x", TJValue::Integer(5), false, nullptr);
  TJLocalSymbolTable* block = module->NewChild(nullptr, o.vObject());
  EXPECT_EQ(lookup(block, "x"), 5);
  block->Assign("x", TJValue::Integer(6), 0);  // the object has the key: it takes the write
  TJValue v;
  o.vObject()->GetMember("x", false, nullptr, v);
  EXPECT_EQ(AsInteger(&v), 6);
  module->Variables().GetValue("x", v);
  EXPECT_EQ(AsInteger(&v), 1);
  EXPECT_EQ(lookup(module, "x"), 6);  // a lookup from outside sees the active block first
  block->Assign("y", TJValue::Integer(7), 0);  // no key: the enclosing module gets it
  EXPECT_FALSE(o.vObject()->HasKey("y"));
  EXPECT_EQ(lookup(module, "y"), 7);
  // The with object is not kept alive by the scope.
  EXPECT_EQ(o.vObject()->RefCount(), 1);
  o.Clear();
  EXPECT_EQ(block->OwnWithObject(), nullptr);
  EXPECT_EQ(lookup(block, "x"), 1);
  module->DeleteFirstChild();
  EXPECT_EQ(module->ChildCount(), 0u);
}

TEST(Scopes, DeclarationKindsChooseTheScope) {
  TJRootSymbolTable root;
  TJLocalSymbolTable* module = root.AddModule("m", nullptr);
  int stmt = 0;
  auto* fnTable = root.GetFunctionTable(nullptr, reinterpret_cast<const TJStatement*>(&stmt));
  fnTable->SetParent(module);
  TJLocalSymbolTable* call = fnTable->NewChild(nullptr, nullptr);
  TJLocalSymbolTable* block = call->NewChild(nullptr, nullptr);

  block->Assign("a", TJValue::Integer(1), 1);
  EXPECT_TRUE(block->Variables().HasKey("a"));
  fnTable->SetLocal("s", TJValue::Integer(9));
  block->Assign("s2", TJValue::Integer(2), 2);
  EXPECT_TRUE(fnTable->Variables().HasKey("s2"));
  block->SetFunctionLocal("s", TJValue::Integer(3));  // an existing name keeps its value
  EXPECT_EQ(lookup(fnTable, "s"), 9);
  block->Assign("g", TJValue::Integer(4), 0);
  EXPECT_TRUE(module->Variables().HasKey("g"));
  EXPECT_EQ(block->GetFunctionTable(), fnTable);
  EXPECT_EQ(block->GetGlobalTable(), module);
  EXPECT_EQ(root.GetFunctionTable(nullptr, reinterpret_cast<const TJStatement*>(&stmt)), fnTable);
}

TEST(Scopes, LookupsFromOutsideSeeTheNewestActivation) {
  TJRootSymbolTable root;
  TJLocalSymbolTable* module = root.AddModule("m", nullptr);
  int s1 = 0, s2 = 0;
  auto* outer = root.GetFunctionTable(nullptr, reinterpret_cast<const TJStatement*>(&s1));
  outer->SetParent(module);
  auto* inner = root.GetFunctionTable(reinterpret_cast<const TJStatement*>(&s1), reinterpret_cast<const TJStatement*>(&s2));
  EXPECT_EQ(inner->Parent(), outer);
  TJLocalSymbolTable* first = outer->NewChild(nullptr, nullptr);
  first->SetLocal("v", TJValue::Integer(1));
  TJLocalSymbolTable* second = outer->NewChild(nullptr, nullptr);
  second->SetLocal("v", TJValue::Integer(2));
  TJLocalSymbolTable* innerCall = inner->NewChild(nullptr, nullptr);
  EXPECT_EQ(lookup(innerCall, "v"), 2);
  innerCall->Assign("v", TJValue::Integer(3), 0);
  EXPECT_EQ(lookup(second, "v"), 3);
  EXPECT_EQ(lookup(first, "v"), 1);
  outer->DeleteFirstChild();
  EXPECT_EQ(lookup(innerCall, "v"), 1);
}

TEST(Scopes, ModulesCopiesAndClear) {
  TJRootSymbolTable root;
  int a = 0, b = 0;
  TJLocalSymbolTable* m1 = root.AddModule("lib", reinterpret_cast<const TJStatement*>(&a));
  TJLocalSymbolTable* m2 = root.AddModule("lib", reinterpret_cast<const TJStatement*>(&b));
  EXPECT_EQ(root.GetModule("lib"), m1);
  EXPECT_EQ(root.FindFunctionTable(reinterpret_cast<const TJStatement*>(&b)), m2);
  try {
    root.GetModule("nothing");
    FAIL();
  } catch (const EJThrow& e) {
    EXPECT_EQ(e.ErrorType, "ENameError");
    EXPECT_EQ(e.message(), "namespace not found: nothing");
  }
  m1->SetLocal("k", TJValue::Integer(1));
  m2->SetLocal("k", TJValue::Integer(2));
  m2->SetLocal("only", TJValue::Integer(3));
  m1->CopyFrom(m2);
  EXPECT_EQ(lookup(m1, "k"), 1);
  EXPECT_EQ(lookup(m1, "only"), 3);
  root.Clear();
  EXPECT_EQ(root.FindFunctionTable(reinterpret_cast<const TJStatement*>(&a)), nullptr);
}

TEST(FunctionValues, AssignCopiesTheCapturedScopeAndBinding) {
  TestEngine engine;
  TJRootSymbolTable root;
  TJValue self = TJValue::Object(engine.MakeObject("Object", nullptr));
  TJFunctionRef f(NewFunction());
  f->SetName("f");
  f->SetThisObject(self.vObject());
  f->SetParentTable(&root);
  auto* captured = new TJLocalSymbolTable(nullptr);
  captured->SetLocal("c", TJValue::Integer(8));
  f->SetLocalTable(captured);
  TJFunctionRef g(NewFunction());
  g->Assign(f.get());
  g->SetCallType(ctCall);
  EXPECT_EQ(f->GetCallType(), ctPlain);  // the copy's mode is its own
  EXPECT_EQ(g->GetName(), "f");
  EXPECT_EQ(g->GetThisObject(), self.vObject());
  EXPECT_EQ(g->GetParentTable(), &root);
  ASSERT_NE(g->GetLocalTable(), nullptr);
  EXPECT_NE(g->GetLocalTable(), captured);
  EXPECT_EQ(lookup(g->GetLocalTable(), "c"), 8);
  self.Clear();
  engine.Factory().ClearObjects();
  EXPECT_EQ(f->GetThisObject(), nullptr);
}

// Parameters bound by place in a reused activation: another function's names give way, a missing
// argument reads undefined although the last call had a value there, and a list the caller gives
// up hands its values over without a count lost or left behind.
TEST(Scopes, ParametersBindByPlaceInAReusedActivation) {
  TJRootSymbolTable root;
  TJScopes scopes(root);
  TJFunctionScope owner(root.AddModule("m", nullptr));
  Parameters records;
  const TJStatement* xyz = records.Chain({"x", "y", "z"});
  const TJStatement* yx = records.Chain({"y", "x"});
  auto* object = TJObject::Create<TJObject>(nullptr, nullptr, false);
  TJValue held = TJValue::Object(object);

  TJActivation* a = scopes.Acquire();
  a->Open(&owner, nullptr, nullptr, nullptr);
  TJValueList three{TJValue::Integer(1), TJValue::Integer(2), held};
  a->BindParameters(xyz, &three, 3, true, false);
  EXPECT_EQ(AsInteger(a->Slot("x")), 1);
  EXPECT_EQ(AsInteger(a->Slot("y")), 2);
  EXPECT_EQ(a->Slot("z")->vObject(), object);
  EXPECT_EQ(three[2].vObject(), object);  // copied: the caller's list keeps its values
  EXPECT_EQ(object->RefCount(), 3);
  three.Clear();
  scopes.Release(a);
  EXPECT_EQ(object->RefCount(), 1);

  TJActivation* b = scopes.Acquire();
  ASSERT_EQ(b, a);  // the same entries, named x, y, z by the last call
  b->Open(&owner, nullptr, nullptr, nullptr);
  TJValueList one{held};
  b->BindParameters(yx, &one, 1, true, true);
  EXPECT_EQ(b->Slot("y")->vObject(), object);
  ASSERT_NE(b->Slot("x"), nullptr);
  EXPECT_EQ(b->Slot("x")->ValueType(), vtUndefined);
  EXPECT_EQ(b->Slot("z"), nullptr);
  EXPECT_EQ(b->ParameterValue(1).vObject(), object);
  EXPECT_EQ(one[0].ValueType(), vtUndefined);  // taken
  EXPECT_EQ(object->RefCount(), 2);
  scopes.Release(b);
  EXPECT_EQ(object->RefCount(), 1);

  // A name given twice: the later argument, in one variable.
  TJActivation* c = scopes.Acquire();
  c->Open(&owner, nullptr, nullptr, nullptr);
  TJValueList two{TJValue::Integer(5), TJValue::Integer(6)};
  c->BindParameters(records.Chain({"q", "q"}), &two, 2, false, false);
  EXPECT_EQ(AsInteger(c->Slot("q")), 6);
  scopes.Release(c);
}

// A function value knows whether its parameters can be bound by place.
TEST(FunctionValues, ParametersAreDistinctOnlyWithoutARepeatedName) {
  Parameters records;
  TJFunctionRef f(NewFunction());
  f->SetParameter(records.Chain({"a", "b", "c"}));
  EXPECT_TRUE(f->GetFuncData().DistinctParameters);
  f->SetParameter(nullptr);
  EXPECT_TRUE(f->GetFuncData().DistinctParameters);
  f->SetParameter(records.Chain({"a", "b", "a"}));
  EXPECT_FALSE(f->GetFuncData().DistinctParameters);
  TJFunctionRef copy(NewFunction());
  copy->Assign(f.get());
  EXPECT_FALSE(copy->GetFuncData().DistinctParameters);
}

TEST(ValueList, CountsPaddingSortAndForgetting) {
  TestEngine engine;
  TJValueList list;
  list.SetCount(3);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list[2].ValueType(), vtUndefined);
  list.SetCount(-5);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(list.SetCount(int64_t(1) << 40), EJThrow);
  TJValue out = TJValue::Integer(1);
  list.Get(7, out);
  EXPECT_EQ(out.ValueType(), vtUndefined);

  // A list keeps an object alive; a disposed one reads as undefined in place.
  Probe::live = 0;
  list.AddObject(engine.MakeObject("Probe", nullptr));
  list.AddObject(list[0].vObject());
  list.AddInteger(5);
  EXPECT_EQ(Probe::live, 1);
  engine.Factory().ClearObjects();
  EXPECT_EQ(list[0].ValueType(), vtUndefined);
  EXPECT_EQ(list[1].ValueType(), vtUndefined);
  EXPECT_EQ(list.Count(), 3);
  list.Clear();
  EXPECT_EQ(Probe::live, 0);

  // Stable sort, even with a comparer that changes the list under it.
  TJValueList s;
  const int keys[] = {3, 1, 2, 1, 3};
  for (int i = 0; i < 5; ++i) s.AddString(std::to_string(keys[i]) + char('a' + i));
  s.Sort([&](const TJValue& a, const TJValue& b) {
    if (s.Count()) s.Clear();
    return int(a.vString()[0]) - int(b.vString()[0]);
  });
  std::vector<std::string> got;
  for (const auto& v : s.Items()) got.emplace_back(v.vString());
  EXPECT_EQ(got, (std::vector<std::string>{"1b", "1d", "2c", "3a", "3e"}));
  // A comparer that raises leaves the list as it was.
  EXPECT_THROW(s.Sort([](const TJValue&, const TJValue&) -> int { ThrowError("EThrow", ""); }), EJThrow);
  EXPECT_EQ(s[0].vString(), "1b");
}

TEST(Scopes, ActivationsComeBackInAnyOrderAndForgetTheirValues) {
  TJRootSymbolTable root;
  TJScopes scopes(root);
  TJFunctionScope owner(root.AddModule("m", nullptr));
  auto* object = TJObject::Create<TJObject>(nullptr, nullptr, false);
  TJValue held = TJValue::Object(object);
  TJActivation* a = scopes.Acquire();
  TJActivation* b = scopes.Acquire();
  TJActivation* c = scopes.Acquire();
  EXPECT_TRUE(a != b && b != c && a != c);
  for (TJActivation* x : {a, b, c}) x->Open(&owner, nullptr, nullptr, nullptr);
  b->Declare("o", held);
  a->Declare("n", TJValue::Integer(1));
  EXPECT_EQ(object->RefCount(), 2);
  // The middle one first: the others stay usable and the next call does not get one in use.
  scopes.Release(b);
  EXPECT_EQ(object->RefCount(), 1);
  TJActivation* d = scopes.Acquire();
  EXPECT_TRUE(d != a && d != c);
  d->Open(&owner, nullptr, nullptr, nullptr);
  EXPECT_EQ(d->Slot("o"), nullptr);
  ASSERT_NE(a->Slot("n"), nullptr);
  EXPECT_EQ(AsInteger(a->Slot("n")), 1);
  for (TJActivation* x : {d, c, a}) scopes.Release(x);
  // Reused for another variable: the old name is gone with its value.
  TJActivation* e = scopes.Acquire();
  e->Open(&owner, nullptr, nullptr, nullptr);
  e->Declare("m", TJValue::Integer(7));
  EXPECT_EQ(e->Slot("n"), nullptr);
  EXPECT_EQ(AsInteger(e->Slot("m")), 7);
  scopes.Release(e);
}

// A deep recursion that comes back again and again keeps its activations; once the pool has gone
// unused beyond its spare entries for long enough, it gives the rest back.
TEST(Scopes, PoolKeepsWhatRecursionUsesAgainAndTrimsWhatItNoLongerUses) {
  TJRootSymbolTable root;
  TJScopes scopes(root);
  TJFunctionScope owner(root.AddModule("m", nullptr));
  const size_t deep = TJScopes::kPoolLimit * 4;
  std::vector<TJActivation*> stack;
  auto recurse = [&](size_t depth) {
    for (size_t i = 0; i < depth; ++i) {
      stack.push_back(scopes.Acquire());
      stack.back()->Open(&owner, nullptr, nullptr, nullptr);
    }
    while (!stack.empty()) {
      scopes.Release(stack.back());
      stack.pop_back();
    }
  };
  recurse(deep);
  EXPECT_EQ(scopes.PoolSize(), deep);
  std::vector<const TJActivation*> first;
  for (size_t round = 0; round < 3; ++round) {
    // The same activations again: nothing made, nothing freed.
    stack.reserve(deep);
    for (size_t i = 0; i < deep; ++i) stack.push_back(scopes.Acquire());
    if (round == 0) first.assign(stack.begin(), stack.end());
    EXPECT_TRUE(std::equal(first.begin(), first.end(), stack.begin())) << round;
    while (!stack.empty()) {
      scopes.Release(stack.back());
      stack.pop_back();
    }
    EXPECT_EQ(scopes.PoolSize(), deep);
  }
  // Shallow calls only, for long: the spare beyond the limit goes at a return.
  for (size_t i = 0; i < deep * 5; ++i) recurse(2);
  EXPECT_EQ(scopes.PoolSize(), TJScopes::kPoolLimit);
  // And a deep recursion makes them again.
  recurse(deep + 10);
  EXPECT_EQ(scopes.PoolSize(), deep + 10);
}
