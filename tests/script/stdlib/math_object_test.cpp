#include "script/stdlib/math_object.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "platform/rt/random.h"
#include "tests/script/stdlib/stdlib_fixture.h"

using namespace stdlibtest;

namespace {

TJValue inf(bool negative = false) {
  TJValue v;
  v.SetInfinity(negative);
  return v;
}

TJValue nan() {
  TJValue v;
  v.SetNaN();
  return v;
}

}  // namespace

TEST(MathObject, FunctionsAndTheirResultKinds) {
  StdEngine e;
  TJValue m = e.New("Math");
  struct Case {
    const char* fn;
    std::vector<TJValue> args;
    const char* result;
  } cases[] = {
      {"abs", {I(-5)}, "vtInteger 5"},
      {"abs", {D(-2.5)}, "vtDouble 2.5"},
      {"abs", {S("-3")}, "vtInteger 3"},
      {"abs", {S("2.5")}, "vtInteger 0"},  // a text counts by its integer conversion
      {"abs", {B(true)}, "vtInteger 1"},
      {"abs", {I(INT_MIN)}, "vtDouble 2147483648"},
      {"abs", {inf(true)}, "vtInfinity infinity"},
      {"abs", {}, "vtUndefined undefined"},
      {"round", {D(2.5)}, "vtInteger 2"},
      {"round", {D(3.5)}, "vtInteger 4"},
      {"round", {D(-2.5)}, "vtInteger -2"},
      {"round", {D(0.5)}, "vtInteger 0"},
      {"round", {D(1e10)}, "vtDouble 10000000000"},
      {"ceil", {D(1.2)}, "vtInteger 2"},
      {"ceil", {I(3)}, "vtInteger 3"},
      {"floor", {D(-1.2)}, "vtInteger -2"},
      {"floor", {nan()}, "vtNaN NaN"},
      {"max", {}, "vtInfinity -infinity"},
      {"min", {}, "vtInfinity infinity"},
      {"max", {I(1), I(3), I(2)}, "vtDouble 3"},
      {"min", {I(3), I(1), I(2)}, "vtDouble 1"},
      {"max", {S("5"), I(2)}, "vtDouble 5"},
      {"max", {I(1), S("x")}, "vtNaN NaN"},
      {"max", {S("x"), I(1)}, "vtNaN NaN"},
      {"min", {I(1), nan()}, "vtNaN NaN"},
      {"max", {I(1), inf()}, "vtInfinity infinity"},
      {"min", {I(1), inf(true)}, "vtInfinity -infinity"},
      {"pow", {I(2), I(10)}, "vtDouble 1024"},
      {"pow", {I(2)}, "vtUndefined undefined"},
      {"pow", {I(10), I(400)}, "vtInfinity infinity"},
      {"atan2", {I(1)}, "vtUndefined undefined"},
      {"atan2", {I(0), I(-1)}, "vtDouble 3.14159265358979"},
      {"atan", {I(1)}, "vtDouble 0.785398163397448"},
      {"log", {I(0)}, "vtInfinity -infinity"},
      {"sqrt", {I(-1)}, "vtNaN NaN"},
      {"sqrt", {nan()}, "vtNaN NaN"},
      {"sqrt", {S("16")}, "vtDouble 4"},
      {"exp", {inf()}, "vtInfinity infinity"},
      {"exp", {I(0)}, "vtDouble 1"},
      {"sin", {I(0)}, "vtDouble 0"},
      {"cos", {I(0)}, "vtDouble 1"},
      {"tan", {}, "vtUndefined undefined"},
      {"asin", {I(1)}, "vtDouble 1.5707963267949"},
      {"acos", {I(2)}, "vtNaN NaN"},
  };
  for (auto& c : cases) {
    TJValue f, result;
    m.vObject()->GetMember(c.fn, false, nullptr, f);
    TJValueList list;
    for (auto& a : c.args) list.Add(a);
    CallNative(f.vFunction(), c.args.empty() ? nullptr : &list, result);
    EXPECT_EQ(Show(result), c.result) << c.fn << "(" << (c.args.empty() ? "" : AsString(&c.args[0])) << ")";
  }
}

TEST(MathObject, ConstantsAreReadOnly) {
  StdEngine e;
  TJValue m = e.New("Math");
  EXPECT_EQ(Get(m, "E").vDouble(), 2.718281828459045);
  EXPECT_EQ(Get(m, "PI").vDouble(), 3.141592653589793);
  EXPECT_EQ(Get(m, "LN2").vDouble(), std::log(2.0));
  EXPECT_EQ(Get(m, "LN10").vDouble(), std::log(10.0));
  EXPECT_EQ(Get(m, "LOG2E").vDouble(), 1 / std::log(2.0));
  EXPECT_EQ(Get(m, "LOG10E").vDouble(), 1 / std::log(10.0));
  EXPECT_EQ(Get(m, "SQRT1_2").vDouble(), std::sqrt(0.5));
  EXPECT_EQ(Get(m, "SQRT2").vDouble(), std::sqrt(2.0));
  Put(m, "PI", I(3));
  EXPECT_EQ(Get(m, "pi").vDouble(), 3.141592653589793);
  std::vector<std::string> members;
  m.vObject()->GetMemberNames(members, 0, TypeBit(vtFunction));
  EXPECT_TRUE(members.empty());
}

TEST(MathObject, RandomUsesTheRuntimeGenerator) {
  StdEngine e;
  rt::RandSeed = 12345;
  TJValue m = e.New("Math");
  EXPECT_NE(rt::RandSeed, 12345u);  // every Math object restarts the generator from the clock

  rt::RandSeed = 42;
  TJValue drawn = Call(m, "random", {I(100)});
  rt::RandSeed = 42;
  EXPECT_EQ(Show(drawn), "vtInteger " + std::to_string(rt::Random(100)));

  bool seen[6] = {};
  for (int i = 0; i < 600; ++i) {
    TJValue r = Call(m, "random", {I(6)});
    ASSERT_EQ(r.ValueType(), vtInteger);
    ASSERT_GE(r.vInteger(), 0);
    ASSERT_LT(r.vInteger(), 6);
    seen[r.vInteger()] = true;
    TJValue d = Call(m, "random");
    ASSERT_EQ(d.ValueType(), vtDouble);
    ASSERT_GE(d.vDouble(), 0);
    ASSERT_LT(d.vDouble(), 1);
  }
  for (bool s : seen) EXPECT_TRUE(s);
  EXPECT_EQ(Show(Call(m, "random", {I(0)})), "vtInteger 0");
  EXPECT_EQ(Show(Call(m, "random", {I(-4)})), "vtInteger 0");
}
