#include "script/stdlib/number_object.h"

#include <gtest/gtest.h>

#include "tests/script/stdlib/stdlib_fixture.h"

using namespace stdlibtest;

TEST(NumberObject, KeepsNumericValuesAsPassed) {
  StdEngine e;
  struct Case {
    std::vector<TJValue> args;
    const char* value;  // Show() of valueOf
  } cases[] = {
      {{}, "vtInteger 0"},
      {{I(5)}, "vtInteger 5"},
      {{D(1.5)}, "vtDouble 1.5"},
      {{S("12")}, "vtString 12"},
      {{S("0012")}, "vtString 0012"},
      {{S("abc")}, "vtInteger 0"},
      {{B(true)}, "vtBool true"},
      {{TJValue::Null()}, "vtInteger 0"},
  };
  for (auto& c : cases) {
    TJValueList list;
    for (auto& a : c.args) list.Add(a);
    TJValue n = TJValue::Object(e.MakeObject("Number", c.args.empty() ? nullptr : &list));
    EXPECT_EQ(Show(Call(n, "valueOf")), c.value);
    EXPECT_TRUE(IsNumber(&n));
    EXPECT_TRUE(IsNumeric(&n));
  }
  // A Number made from a Number shows the inner value.
  TJValue inner = e.New("Number", {I(7)});
  TJValue outer = e.New("Number", {inner});
  EXPECT_EQ(AsString(&outer), "7");
  EXPECT_EQ(AsDouble(&outer), 7);
}

TEST(NumberObject, ToStringWithRadix) {
  StdEngine e;
  struct Case {
    TJValue value;
    std::vector<TJValue> radix;
    const char* text;
  } cases[] = {
      {I(255), {I(16)}, "FF"},   {I(255), {I(10)}, "255"},       {I(255), {I(3)}, "255"},
      {I(255), {}, "255"},       {I(255), {I(2)}, "11111111"},   {I(255), {I(8)}, "377"},
      {I(-1), {I(16)}, "FFFFFFFF"}, {I(0), {I(16)}, "0"},         {D(255.9), {I(16)}, "100"},
      {S("0012"), {}, "0012"},   {S("12"), {I(16)}, "C"},        {B(true), {}, "true"},
      {D(0.1), {}, "0.1"},       {D(1e15), {}, "1E15"},
  };
  for (auto& c : cases) {
    TJValue n = e.New("Number", {c.value});
    TJValueList list;
    for (auto& a : c.radix) list.Add(a);
    TJValue f, result;
    n.vObject()->GetMember("toString", false, nullptr, f);
    CallNative(f.vFunction(), c.radix.empty() ? nullptr : &list, result);
    EXPECT_EQ(AsString(&result), c.text) << AsString(&c.value);
  }
}

TEST(NumberObject, FixedExponentAndPrecision) {
  StdEngine e;
  TJValue n = e.New("Number", {D(123.456)});
  EXPECT_EQ(Text(Call(n, "toFixed", {I(2)})), "123.46");
  EXPECT_EQ(Text(Call(n, "toPrecision", {I(2)})), "123.46");
  EXPECT_EQ(Text(Call(n, "toFixed")), "123");
  EXPECT_EQ(Text(Call(n, "toExponential", {I(2)})), "1.23E+2");
  EXPECT_EQ(Text(Call(n, "toExponential")), "1.23456E+2");
  TJValue text = e.New("Number", {S("2.5")});
  EXPECT_EQ(Text(Call(text, "toFixed", {I(1)})), "2.5");
  EXPECT_EQ(Text(Call(text, "toFixed", {I(0)})), "3");
}

TEST(NumberObject, PublishedPropertiesAndCharacters) {
  StdEngine e;
  TJValue n = e.New("Number", {I(65)});
  EXPECT_EQ(Show(Call(n, "toChar")), "vtString A");
  EXPECT_EQ(Show(Get(n, "asChar")), "vtString A");
  Put(n, "asChar", S("xyz"));  // only the first character counts
  EXPECT_EQ(Show(Call(n, "valueOf")), "vtInteger 120");
  Put(n, "asChar", S(""));
  EXPECT_EQ(Show(Call(n, "valueOf")), "vtInteger 0");
  Put(n, "asChar", S("\xe3\x81\x82"));  // あ
  EXPECT_EQ(Show(Get(n, "int")), "vtInteger 12354");
  EXPECT_EQ(Show(Call(n, "toChar")), "vtString \xe3\x81\x82");
  Put(n, "int", I(0xC3));  // a code above 127 is a character, not a stray byte
  EXPECT_EQ(Text(Get(n, "asChar")), "\xc3\x83");

  Put(n, "number", D(2.5));
  EXPECT_EQ(Show(Call(n, "valueOf")), "vtDouble 2.5");
  EXPECT_EQ(Show(Get(n, "int")), "vtInteger 2");  // halves to even
  Put(n, "int", S("7"));
  EXPECT_EQ(Show(Call(n, "valueOf")), "vtInteger 7");
  EXPECT_EQ(Show(Get(n, "number")), "vtDouble 7");
}

TEST(NumberObject, ConstantsSurviveClear) {
  StdEngine e;
  TJValue n = e.New("Number");
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(Show(Get(n, "NaN")), "vtNaN NaN");
    TJValue max = Get(n, "MAX_VALUE");
    EXPECT_EQ(max.vDouble(), 1.7E308);  // the runtime's MaxDouble constant
    EXPECT_EQ(AsString(&max), "1.7E308");
    EXPECT_EQ(Get(n, "MIN_VALUE").vDouble(), 4.9406564584124654e-324);
    EXPECT_EQ(Show(Get(n, "POSITIVE_INFINITY")), "vtInfinity infinity");
    EXPECT_EQ(Show(Get(n, "NEGATIVE_INFINITY")), "vtInfinity -infinity");
    n.vObject()->Clear();
  }
}

TEST(BooleanObject, TruthOfTheArgument) {
  StdEngine e;
  struct Case {
    std::vector<TJValue> args;
    bool value;
  } cases[] = {
      {{}, false}, {{S("")}, false}, {{S("0")}, true}, {{I(0)}, false}, {{I(2)}, true},
      {{D(0.5)}, false}, {{B(true)}, true}, {{TJValue::Null()}, false},
  };
  for (auto& c : cases) {
    TJValueList list;
    for (auto& a : c.args) list.Add(a);
    TJValue b = TJValue::Object(e.MakeObject("Boolean", c.args.empty() ? nullptr : &list));
    EXPECT_EQ(AsBool(&b), c.value);
    EXPECT_EQ(AsString(&b), c.value ? "true" : "false");
    EXPECT_EQ(Show(Call(b, "valueOf")), c.value ? "vtBool true" : "vtBool false");
    EXPECT_EQ(AsDouble(&b), c.value ? 1 : 0);
    EXPECT_EQ(AsChar(&b), c.value ? 1 : 0);
  }
  TJValue object = e.New("Object");
  TJValue b = e.New("Boolean", {object});
  EXPECT_TRUE(AsBool(&b));
  Put(b, "bool", B(false));
  EXPECT_EQ(Show(Get(b, "bool")), "vtBool false");
  EXPECT_EQ(AsString(&b), "false");
}
