// The Array class seen from C++: the operations other objects use to hand lists to scripts, and
// what engine clears do to arrays.
#include "script/stdlib/array_object.h"

#include <gtest/gtest.h>

#include <functional>

#include "script/core/exceptions.h"
#include "stdlib_fixture.h"

using namespace stdlib;
using namespace stdlibtest;

namespace {

class ArrayEngine : public StdEngine {
 public:
  ArrayEngine() { ImportObject("Array", ClassOf<TJArrayObject>()); }
};

std::string ErrorTypeOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EJException& e) {
    return e.ErrorType + ":" + e.message();
  }
  return "no error";
}

}  // namespace

TEST(ArrayObject, ListOperationsRefuseMissingItemsWithoutChanges) {
  ArrayEngine engine;
  TJValue held = engine.New("Array", {I(1), I(2)});
  auto* a = dynamic_cast<TJArrayObject*>(held.vObject());
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(IsKnownClass(a, TJKnownClass::Array));
  EXPECT_EQ(a->Add(S("c")), 2);
  a->InsertItem(0, S("first"));
  a->InsertItem(4, S("last"));
  EXPECT_EQ(a->ToString(nullptr), "first,1,2,c,last");
  EXPECT_EQ(ErrorTypeOf([&] { a->InsertItem(6, S("x")); }), "EIndexError:");
  EXPECT_EQ(ErrorTypeOf([&] { a->InsertItem(-1, S("x")); }), "EIndexError:");
  a->DeleteItem(0);
  EXPECT_EQ(ErrorTypeOf([&] { a->DeleteItem(4); }), "EIndexError:");
  EXPECT_EQ(a->ToString(nullptr), "1,2,c,last");
  TJValue item;
  a->GetItem(3, item);
  EXPECT_EQ(Text(item), "last");
  EXPECT_EQ(ErrorTypeOf([&] { a->GetItem(4, item); }), "EIndexError:4");
  a->SetLength(-3);
  EXPECT_EQ(a->GetCount(), 0);
}

TEST(ArrayObject, MadeByTheEngineForListsOfValues) {
  ArrayEngine engine;
  TJValueList items{I(1), S("two"), TJValue::Null()};
  TJValue held = TJValue::Object(engine.MakeArray(items));
  ASSERT_EQ(held.vObject()->GetCount(), 3);
  EXPECT_EQ(Show(Get(held, "length")), "vtInteger 3");
  EXPECT_EQ(Show(Call(held, "join", {S("/")})), "vtString 1/two/");
  Put(held, "length", I(1));
  EXPECT_EQ(Show(Call(held, "valueOf")), "vtString 1");
}

TEST(ArrayObject, EngineClearLetsGoOfTheItemsSoCyclesEnd) {
  ArrayEngine engine;
  TJValue a = engine.New("Array");
  TJValue b = engine.New("Array", {a});
  Call(a, "push", {b, a});
  TJRef<TJObject> keepA(a.vObject()), keepB(b.vObject());
  int32_t refsOfB = keepB->RefCount();
  engine.Factory().ClearObjects();
  EXPECT_TRUE(keepA->IsDisposed());
  EXPECT_EQ(keepA->GetCount(), 0);
  EXPECT_EQ(keepB->GetCount(), 0);
  EXPECT_EQ(keepB->RefCount(), refsOfB - 1);  // a's hold on b is gone
  EXPECT_EQ(a.ValueType(), vtUndefined);
}

TEST(ArrayObject, PopAndShiftHandOverTheLastReference) {
  ArrayEngine engine;
  TJValue a = engine.New("Array");
  Call(a, "push", {engine.New("Date"), engine.New("Number", {I(5)})});
  TJValue popped = Call(a, "pop");
  TJValue shifted = Call(a, "shift");
  ASSERT_EQ(popped.ValueType(), vtObject);
  ASSERT_EQ(shifted.ValueType(), vtObject);
  EXPECT_EQ(popped.vObject()->RefCount(), 1);
  EXPECT_EQ(popped.vObject()->Name(), "Number");
  EXPECT_EQ(Text(popped), "5");
  EXPECT_EQ(shifted.vObject()->Name(), "Date");
  EXPECT_EQ(a.vObject()->GetCount(), 0);
}
