#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>

#include "script/core/exceptions.h"
#include "script/core/value.h"

using namespace engine;

namespace {

using Maker = std::function<TJValue()>;

Maker I(int32_t i) { return [i] { return TJValue::Integer(i); }; }
Maker D(double d) { return [d] { return TJValue::Double(d); }; }
Maker S(const char* s) { return [s] { return TJValue::String(s); }; }
Maker B(bool b) { return [b] { return TJValue::Bool(b); }; }
Maker Undef() { return [] { return TJValue(); }; }
Maker Null() { return [] { return TJValue::Null(); }; }
Maker Inf(bool neg) { return [neg] { TJValue v; v.SetInfinity(neg); return v; }; }
Maker NaN() { return [] { TJValue v; v.SetNaN(); return v; }; }
Maker Re(const char* src, const char* flags) { return [=] { TJValue v; v.SetRegExp(src, flags); return v; }; }
Maker Fn(const char* name) {
  return [name] {
    TJValue v;
    IJFunction* f = NewFunction();
    f->SetName(name);
    v.SetFunction(f);
    return v;
  };
}

// An expected outcome: a tag and its text, or an error type and message.
struct Expect {
  TJValueType tag;
  std::string text;
  std::string error;  // non-empty: the operation raises this error type with `text` as message
};
Expect Is(TJValueType tag, std::string text) { return {tag, std::move(text), {}}; }
Expect Raises(std::string type, std::string message) { return {vtUndefined, std::move(message), std::move(type)}; }

struct BinaryCase {
  Maker left;
  int op;
  Maker right;
  Expect expect;
  const char* what;
};

void check(const std::function<void(TJValue&)>& run, const Expect& e, const char* what) {
  TJValue result;
  if (!e.error.empty()) {
    try {
      run(result);
      ADD_FAILURE() << what << ": no error";
    } catch (const EJThrow& ex) {
      EXPECT_EQ(ex.ErrorType, e.error) << what;
      EXPECT_EQ(ex.message(), e.text) << what;
    }
    return;
  }
  run(result);
  EXPECT_EQ(result.ValueType(), e.tag) << what << ": " << ValueTypeName(result.ValueType());
  EXPECT_EQ(AsString(&result), e.text) << what;
}

}  // namespace

TEST(ValueAlgebra, BinaryOperators) {
  const BinaryCase cases[] = {
      {S("3"), opAdd, I(4), Is(vtString, "34"), "text plus integer concatenates"},
      {I(4), opAdd, S("3"), Is(vtString, "43"), "integer plus text"},
      {S("a"), opAdd, Null(), Is(vtString, "anull"), "text plus null"},
      {S("3"), opSub, I(1), Is(vtDouble, "2"), "text minus integer is a double"},
      {I(1), opAdd, I(2), Is(vtDouble, "3"), "integer sums are doubles"},
      {B(true), opAdd, I(1), Is(vtDouble, "2"), "Boolean in arithmetic"},
      {Null(), opAdd, I(1), Is(vtDouble, "1"), "null is 0"},
      {S("$1F"), opSub, I(0), Is(vtDouble, "31"), "hexadecimal text"},
      {D(0.1), opAdd, D(0.2), Is(vtDouble, "0.3"), "15 digits"},
      {I(6), opMul, D(0.5), Is(vtDouble, "3"), "product"},
      {I(7), opMod, I(0), Is(vtNaN, "NaN"), "remainder by zero"},
      {I(-7), opMod, I(3), Is(vtInteger, "-1"), "remainder keeps the left sign"},
      {D(7.5), opMod, I(2), Is(vtInteger, "0"), "remainder rounds its operands half to even (8 % 2)"},
      {I(INT_MIN), opMod, I(-1), Is(vtInteger, "0"), "INT_MIN % -1"},
      {I(1), opDiv, I(0), Is(vtInfinity, "infinity"), "1 / 0"},
      {I(-1), opDiv, I(0), Is(vtInfinity, "-infinity"), "-1 / 0"},
      {I(1), opDiv, D(-0.0), Is(vtInfinity, "infinity"), "sign from operands below 0 only"},
      {I(0), opDiv, I(0), Is(vtNaN, "NaN"), "0 / 0"},
      {I(1), opDiv, I(4), Is(vtDouble, "0.25"), "quotient"},
      {D(1e308), opDiv, D(1e-10), Is(vtInfinity, "infinity"), "quotient overflow"},
      {I(7), opIntDiv, I(0), Is(vtInfinity, "infinity"), "integer division by zero"},
      {I(-7), opIntDiv, I(0), Is(vtInfinity, "-infinity"), "negative integer division by zero"},
      {I(0), opIntDiv, I(0), Is(vtNaN, "NaN"), "0 div 0"},
      {I(-7), opIntDiv, I(2), Is(vtInteger, "-3"), "integer division truncates"},
      {I(INT_MIN), opIntDiv, I(-1), Is(vtInteger, "-2147483648"), "INT_MIN div -1 wraps"},
      {D(1e308), opMul, I(10), Is(vtInfinity, "infinity"), "product overflow"},
      {D(-1e308), opMul, I(10), Is(vtInfinity, "-infinity"), "negative product overflow"},
      {D(-1e308), opAdd, D(-1e308), Is(vtInfinity, "-infinity"), "sum overflow takes the left sign"},
      {D(1e308), opSub, D(-1e308), Is(vtInfinity, "infinity"), "difference overflow"},
      {I(-8), opShr, I(1), Is(vtInteger, "-4"), "arithmetic shift"},
      {I(-8), opUShr, I(1), Is(vtInteger, "2147483644"), "logical shift"},
      {I(-1), opUShr, I(0), Is(vtInteger, "-1"), "logical shift by 0 keeps the pattern"},
      {I(1), opShl, I(33), Is(vtInteger, "2"), "shift counts are taken mod 32"},
      {I(1), opShl, I(31), Is(vtInteger, "-2147483648"), "shift into the sign bit"},
      {D(1e10), opBitOr, I(0), Is(vtInteger, "1410065408"), "out-of-range doubles wrap"},
      {I(12), opBitAnd, I(10), Is(vtInteger, "8"), "and"},
      {I(12), opBitXor, I(10), Is(vtInteger, "6"), "xor"},
      {I(12), opBitOr, I(10), Is(vtInteger, "14"), "or"},
      {Undef(), opAdd, I(1), Raises("ENameError", ""), "undefined operand"},
      {I(1), opMul, Undef(), Raises("ENameError", ""), "undefined right operand"},
      {NaN(), opAdd, S("a"), Raises("ETypeError", "vtNaN - vtString"), "NaN before concatenation"},
      {I(1), opAdd, Fn("f"), Raises("ETypeError", "vtInteger - vtFunction"), "function operand"},
      {Inf(false), opSub, I(1), Raises("ETypeError", "vtInfinity - vtInteger"), "infinity operand"},
  };
  for (const auto& c : cases) {
    TJValue l = c.left(), r = c.right();
    check([&](TJValue& out) { CalcBinary(c.op, l, r, out); }, c.expect, c.what);
  }
}

TEST(ValueAlgebra, CompoundAssignmentMapsToBinary) {
  struct Case { int assign; Expect expect; };
  const Case cases[] = {
      {opMulAssign, Is(vtDouble, "12")}, {opDivAssign, Is(vtDouble, "3")},   {opAddAssign, Is(vtDouble, "8")},
      {opSubAssign, Is(vtDouble, "4")},  {opModAssign, Is(vtInteger, "0")},  {opShlAssign, Is(vtInteger, "24")},
      {opShrAssign, Is(vtInteger, "1")}, {opUShrAssign, Is(vtInteger, "1")}, {opAndAssign, Is(vtInteger, "2")},
      {opXorAssign, Is(vtInteger, "4")}, {opOrAssign, Is(vtInteger, "6")},   {8, Is(vtUndefined, "undefined")},
  };
  for (const auto& c : cases) {
    TJValue l = TJValue::Integer(6), r = TJValue::Integer(2);
    check([&](TJValue& out) { CalcAssign(c.assign, l, r, out); }, c.expect, "compound assignment");
  }
}

TEST(ValueAlgebra, UnaryOperators) {
  struct Case { int op; Maker v; Expect expect; const char* what; };
  const Case cases[] = {
      {opPlus, S("1.5"), Is(vtInteger, "0"), "unary plus takes the integer conversion of text"},
      {opPlus, B(true), Is(vtInteger, "1"), "unary plus on true"},
      {opPlus, D(2.5), Is(vtDouble, "2.5"), "unary plus keeps a double"},
      {opPlus, Inf(true), Is(vtInfinity, "-infinity"), "unary plus keeps an infinity"},
      {opMinus, D(2.5), Is(vtDouble, "-2.5"), "negated double"},
      {opMinus, Inf(false), Is(vtInfinity, "-infinity"), "negated infinity"},
      {opMinus, I(INT_MIN), Is(vtInteger, "-2147483648"), "negating INT_MIN wraps"},
      {opMinus, S("7"), Is(vtInteger, "-7"), "negated text"},
      {opBitNot, I(5), Is(vtInteger, "-6"), "complement"},
      {opBitNot, Inf(false), Raises("ETypeError", "vtInfinity"), "complement of infinity"},
      {opMinus, NaN(), Raises("ETypeError", "vtNaN"), "NaN operand"},
      {opPlus, Fn("f"), Raises("ETypeError", "vtFunction"), "function operand"},
      {opMinus, Undef(), Raises("ENameError", ""), "undefined operand"},
  };
  for (const auto& c : cases) {
    TJValue v = c.v();
    check([&](TJValue& out) { CalcUnary(c.op, v, out); }, c.expect, c.what);
  }
}

TEST(ValueAlgebra, LogicalAndComparisonOperators) {
  const BinaryCase cases[] = {
      {I(1), opEQ, S("1"), Is(vtBool, "true"), "1 == '1'"},
      {I(1), opSEQ, S("1"), Is(vtBool, "false"), "1 === '1'"},
      {I(1), opSNE, S("1"), Is(vtBool, "true"), "1 !== '1'"},
      {D(3), opSEQ, I(3), Is(vtBool, "true"), "numbers compare by value under ==="},
      {D(3.5), opSEQ, I(3), Is(vtBool, "false"), "different numbers"},
      {D(3), opEQ, I(3), Is(vtBool, "true"), "numbers compare by value under =="},
      {Null(), opEQ, Undef(), Is(vtBool, "true"), "null == undefined"},
      {Null(), opSEQ, Undef(), Is(vtBool, "false"), "null === undefined"},
      {NaN(), opEQ, NaN(), Is(vtBool, "false"), "NaN == NaN"},
      {NaN(), opNE, NaN(), Is(vtBool, "true"), "NaN != NaN"},
      {Undef(), opEQ, S("undefined"), Is(vtBool, "true"), "texts compared last"},
      {B(true), opEQ, S("1"), Is(vtBool, "true"), "numeric Boolean and text"},
      {Re("a", "g"), opEQ, Re("a", "g"), Is(vtBool, "false"), "regular expressions are never equal"},
      {Inf(true), opEQ, Inf(true), Is(vtBool, "true"), "infinities of one sign"},
      {S("10"), opLT, S("9"), Is(vtBool, "false"), "numeric texts compare as numbers"},
      {S("a"), opLT, S("b"), Is(vtBool, "true"), "texts compare by bytes"},
      {S("B"), opLT, S("a"), Is(vtBool, "true"), "byte order is case-sensitive"},
      {I(2), opGE, I(2), Is(vtBool, "true"), "integers"},
      {D(2.5), opLT, D(2.25), Is(vtBool, "false"), "doubles"},
      {I(2), opLT, D(2.5), Is(vtBool, "true"), "mixed numbers"},
      {I(2), opLT, B(true), Is(vtBool, "false"), "Boolean as number"},
      {Inf(false), opGT, I(1), Is(vtBool, "true"), "infinity above a number"},
      {Inf(true), opLT, I(1), Is(vtBool, "true"), "negative infinity below"},
      {I(1), opLT, Inf(false), Is(vtBool, "true"), "number below infinity"},
      {I(1), opGT, Inf(true), Is(vtBool, "true"), "number above negative infinity"},
      {Inf(true), opLT, Inf(false), Is(vtBool, "true"), "two infinities"},
      {Inf(false), opLE, Inf(false), Is(vtBool, "false"), "<= of two infinities is the left's sign"},
      {Inf(false), opGE, Inf(true), Is(vtBool, "true"), ">= of two infinities is the right's sign"},
      {NaN(), opLT, I(1), Is(vtBool, "false"), "NaN compares false"},
      {I(1), opGE, NaN(), Is(vtBool, "false"), "NaN compares false on the right"},
      {I(0), opLogOr, I(5), Is(vtBool, "true"), "or gives a Boolean"},
      {I(0), opLogAnd, I(5), Is(vtBool, "false"), "and gives a Boolean"},
      {S("0"), opLogAnd2, NaN(), Is(vtBool, "true"), "text 0 and NaN are true"},
      {D(0.5), opNot, Undef(), Is(vtBool, "true"), "0.5 is false"},
  };
  for (const auto& c : cases) {
    TJValue l = c.left(), r = c.right();
    check([&](TJValue& out) { CalcLogical(c.op, l, r, out); }, c.expect, c.what);
  }
}

TEST(ValueConversions, IntegerCharDoubleAndBool) {
  struct Case { Maker v; int32_t asInt; int32_t asChar; double asDouble; bool asBool; };
  const Case cases[] = {
      {D(2.5), 2, 2, 2.5, true},          {D(3.5), 4, 3, 3.5, true},       {D(-2.5), -2, -2, -2.5, true},
      {D(0.5), 0, 0, 0.5, false},         {D(-0.7), -1, 0, -0.7, false},   {D(1e10), 1410065408, 1410065408, 1e10, true},
      {D(-1e20), -1661992960, -1661992960, -1e20, true},
      {S("$1F"), 31, '$', 31, true},      {S(" 12"), 12, ' ', 12, true},   {S("12abc"), 0, '1', 0, true},
      {S("1.5"), 0, '1', 1.5, true},      {S(""), 0, 0, 0, false},          {S("0"), 0, '0', 0, true},
      {B(true), 1, 1, 1, true},           {Null(), 0, 0, 0, false},         {Undef(), 0, 0, 0, false},
      {NaN(), 0, 0, 0, true},             {Inf(false), 0, 0, 0, true},      {Fn("f"), 0, 0, 0, true},
      {Re("x", ""), 0, 0, 0, true},
  };
  for (const auto& c : cases) {
    TJValue v = c.v();
    SCOPED_TRACE(AsString(&v));
    EXPECT_EQ(AsInteger(&v), c.asInt);
    EXPECT_EQ(AsChar(&v), c.asChar);
    EXPECT_EQ(AsDouble(&v), c.asDouble);
    EXPECT_EQ(AsBool(&v), c.asBool);
  }
  EXPECT_EQ(AsInteger(nullptr), 0);
  EXPECT_EQ(AsString(nullptr), "");
  EXPECT_FALSE(AsBool(nullptr));
}

TEST(ValueConversions, TextAndTypeOfForEveryTag) {
  struct Case { Maker v; const char* text; const char* type; };
  const Case cases[] = {
      {Undef(), "undefined", "undefined"}, {Null(), "null", "null"},          {I(-5), "-5", "number"},
      {D(1e15), "1E15", "number"},        {D(0.00001), "1E-5", "number"},     {S("abc"), "abc", "string"},
      {B(false), "false", "boolean"},     {Fn("go"), "function go", "function"},
      {Inf(true), "-infinity", "number"}, {NaN(), "NaN", "number"},            {Re("a.b", "gi"), "/a.b/gi", "regexp"},
      {[] { TJValue v; v.SetEvent({}); return v; }, "", "event"},
  };
  for (const auto& c : cases) {
    TJValue v = c.v();
    EXPECT_EQ(AsString(&v), c.text);
    EXPECT_EQ(TypeOf(&v), c.type) << c.text;
  }
  TJValue d;
  d.SetDispatch(nullptr);
  EXPECT_EQ(AsString(&d), "dispatch0");
  EXPECT_EQ(TypeOf(&d), "dispatch");
}

TEST(ValueConversions, NonFiniteDoublesBecomeTheirOwnTags) {
  TJValue v;
  v.SetDouble(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(v.ValueType(), vtNaN);
  v.SetDouble(-std::numeric_limits<double>::infinity());
  EXPECT_EQ(v.ValueType(), vtInfinity);
  EXPECT_TRUE(v.vNegative());
  EXPECT_EQ(DoubleToInteger(std::numeric_limits<double>::infinity()), 0);
}

TEST(ValueKinds, TestsAndNumericTexts) {
  TJValue num = TJValue::String("1e3"), text = TJValue::String("x1"), blank = TJValue::String("");
  EXPECT_TRUE(IsNumeric(&num));
  EXPECT_FALSE(IsNumeric(&text));
  EXPECT_FALSE(IsNumeric(&blank));
  TJValue n;
  n.SetObject(nullptr);
  EXPECT_TRUE(IsNull(&n));  // a nil object builds null
  EXPECT_TRUE(IsNullOrUndefined(nullptr));
  EXPECT_FALSE(IsUndefined(nullptr));
  TJValue f1 = Fn("a")(), f2 = f1, f3 = Fn("a")();
  EXPECT_TRUE(SameFunction(&f1, &f2));
  EXPECT_FALSE(SameFunction(&f1, &f3));
  EXPECT_TRUE(IsScriptFunction(&f1));
  f1.vFunction()->SetFuncType(ftClass);
  EXPECT_TRUE(IsClassFunction(&f2));
  EXPECT_TRUE(SameType(&f1, &f3));
  EXPECT_FALSE(SameType(&f1, nullptr));
}

TEST(ValueRecord, CopiesShareTextAndCountReferences) {
  TJValue a = TJValue::String("shared text");
  TJValue b = a;
  EXPECT_EQ(a.vString().data(), b.vString().data());
  EXPECT_EQ(a.vStringRep()->refs, 2);
  b = TJValue::Integer(1);
  EXPECT_EQ(a.vStringRep()->refs, 1);
  TJValue moved = std::move(a);
  EXPECT_EQ(a.ValueType(), vtUndefined);
  EXPECT_EQ(moved.vString(), "shared text");
  TJValue f = Fn("f")();
  IJFunction* fn = f.vFunction();
  {
    TJValue g = f;
    EXPECT_EQ(fn->RefCount(), 2);
  }
  EXPECT_EQ(fn->RefCount(), 1);
  TJValue re;
  re.SetRegExp("ab", "gimgimgx");
  EXPECT_EQ(re.vRegExpFlags(), "gimgimg");
}

TEST(Automation, VariantsConvertBothWays) {
  TJValue v;
  VariantToValue(rt::Variant::Int(7), nullptr, v);
  EXPECT_EQ(v.ValueType(), vtInteger);
  VariantToValue(rt::Variant::Str("x"), nullptr, v);
  EXPECT_EQ(AsString(&v), "x");
  rt::Variant date;
  date.vt = rt::VT_DATE;
  VariantToValue(date, nullptr, v);
  EXPECT_EQ(v.ValueType(), vtUndefined);
  VariantToValue(rt::Variant::Null(), nullptr, v);
  EXPECT_EQ(v.ValueType(), vtNull);
  rt::Variant out;
  ValueToVariant(TJValue::Double(2.5), out);
  EXPECT_EQ(out.vt, rt::VT_R8);
  ValueToVariant(TJValue::String("t"), out);
  EXPECT_EQ(out.vt, rt::VT_BSTR);
  EXPECT_EQ(out.text, "t");
  TJValue nan;
  nan.SetNaN();
  ValueToVariant(nan, out);
  EXPECT_EQ(out.vt, rt::VT_EMPTY);
  EXPECT_STREQ(DispatchKindName(2), "DISPATCH_PROPERTYPUT");
  EXPECT_STREQ(DispatchKindName(9), "DISPATCH_METHOD");
  EXPECT_EQ(DispatchInvokeFlags(2), 4);
  EXPECT_EQ(DispatchInvokeFlags(1), 3);
}

TEST(Exceptions, FieldsAndMessages) {
  TJValue five = TJValue::Integer(5);
  EJThrow t("EThrow", "", &five);
  EXPECT_EQ(t.ErrorType, "EThrow");
  EXPECT_EQ(AsInteger(&t.Value), 5);
  EJThrow bare("ENameError", "x");
  EXPECT_EQ(bare.Value.ValueType(), vtNull);
  EJSyntaxError s(12, "bad");
  EXPECT_EQ(s.ErrorType, "ESyntaxError");
  EXPECT_EQ(s.Line, 12);
  EXPECT_EQ(EJBreak().message(), "break");
  EXPECT_EQ(EJContinue().message(), "continue");
  EXPECT_EQ(EJAbort().message(), "script abort");
  EXPECT_EQ(EJReturn(five).message(), "return");
  EXPECT_EQ(EJExit(3).ExitCode, 3);
  EXPECT_EQ(EJExit(3).message(), "");
  // A script catch takes runtime errors only.
  auto catches = [](auto&& raise) {
    try {
      raise();
    } catch (const EJRuntimeError&) {
      return true;
    } catch (const EJException&) {
      return false;
    }
    return false;
  };
  EXPECT_TRUE(catches([] { throw EJSyntaxError(1, "x"); }));
  EXPECT_TRUE(catches([] { ThrowError("ETypeError", "y"); }));
  EXPECT_FALSE(catches([] { throw EJExit(1); }));
  EXPECT_FALSE(catches([] { throw EJAbort(); }));
}
