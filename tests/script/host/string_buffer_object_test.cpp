#include "script/host/string_buffer_object.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/script/host/host_fixture.h"

using namespace hosttest;

namespace {

struct FilesEngine : HostEngine {
  FilesEngine() { host::RegisterHostObjects(*this); }
};

host::TJStringBufferObject* Buffer(const TJValue& v) { return dynamic_cast<host::TJStringBufferObject*>(v.vObject()); }

}  // namespace

TEST(StringBufferObject, ConstructionAndLength) {
  FilesEngine e;
  EXPECT_EQ(Text(Get(e.New("StringBuffer"), "text")), "");
  EXPECT_EQ(Text(Get(e.New("StringBuffer", {I(3), I(65)}), "text")), "AAA");
  EXPECT_EQ(Text(Get(e.New("StringBuffer", {I(2), S("xy")}), "text")), "xx");
  EXPECT_EQ(Get(e.New("StringBuffer", {I(4)}), "text").vString(), std::string_view("\0\0\0\0", 4));
  EXPECT_EQ(Text(Get(e.New("StringBuffer", {B(true)}), "text")), "true");  // not a number: its text
  EXPECT_EQ(ErrorOf([&] { e.New("StringBuffer", {I(-1)}); }), "EStringError:length error -1");

  TJValue b = e.New("StringBuffer", {S("abc")});
  EXPECT_TRUE(IsString(&b));  // the engine takes a buffer for a string
  Put(b, "length", I(5));
  EXPECT_EQ(Get(b, "text").vString(), std::string_view("abc\0\0", 5));
  Put(b, "length", I(2));
  EXPECT_EQ(Text(b), "ab");
  EXPECT_EQ(ErrorOf([&] { Put(b, "length", I(-7)); }), "EStringError:length error -7");
  EXPECT_EQ(Text(b), "ab");
  // The bytes are one block with a NUL after the last, for code that writes into them.
  host::TJStringBufferObject* raw = Buffer(b);
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(raw->Size(), 2u);
  EXPECT_EQ(raw->Data()[2], '\0');
  std::memcpy(raw->Data(), "XY", 2);
  EXPECT_EQ(Text(Get(b, "text")), "XY");
}

TEST(StringBufferObject, BracketAccessIsBytesOnly) {
  FilesEngine e;
  TJValue b = e.New("StringBuffer", {S("abcdef")});
  EXPECT_EQ(Text(Index(b, "0")), "a");
  EXPECT_EQ(Text(Index(b, "-1")), "f");
  EXPECT_EQ(ErrorOf([&] { Index(b, "6"); }), "EIndexError:6");
  EXPECT_EQ(ErrorOf([&] { Index(b, "-7"); }), "EIndexError:-7");
  EXPECT_EQ(ErrorOf([&] { Index(b, "length"); }), "EIndexError:length");  // no ordinary member
  IndexPut(b, "1", I(66));
  IndexPut(b, "-1", S("Zz"));
  EXPECT_EQ(Text(b), "aBcdeZ");
  EXPECT_EQ(ErrorOf([&] { IndexPut(b, "x", S("q")); }), "EIndexError:x");
  // A byte of a multi-byte character is one item.
  TJValue u = e.New("StringBuffer", {S("\xE3\x81\x82")});
  EXPECT_EQ(u.vObject()->GetCount(), 3);
  EXPECT_EQ(Call(u, "charCodeAt", {I(0)}).vInteger(), 0xE3);
}

TEST(StringBufferObject, MethodsOnABuffer) {
  FilesEngine e;
  TJValue b = e.New("StringBuffer", {S("abcdef")});
  TJValue slice = Call(b, "slice", {I(-2)});
  ASSERT_NE(Buffer(slice), nullptr);  // a new buffer
  EXPECT_NE(slice.vObject(), b.vObject());
  EXPECT_EQ(Text(slice), "ef");
  EXPECT_EQ(Text(Call(b, "slice", {I(1), I(-1)})), "bcde");
  EXPECT_EQ(Text(Call(b, "slice", {I(4), I(2)})), "");
  EXPECT_EQ(Text(Call(b, "slice")), "");
  EXPECT_EQ(Text(Call(b, "substring", {I(4), I(1)})), "bcd");
  EXPECT_EQ(Text(Call(b, "substring", {I(-3), I(2)})), "ab");
  EXPECT_EQ(Text(Call(b, "substring", {I(3)})), "def");
  EXPECT_EQ(Text(Call(b, "substr", {I(2), I(2)})), "cd");
  EXPECT_EQ(Text(Call(b, "substr", {I(2)})), "cdef");
  EXPECT_EQ(Text(Call(b, "substr", {I(9)})), "");
  EXPECT_EQ(Text(Call(b, "substr")), "");
  EXPECT_EQ(Call(b, "indexOf", {S("c")}).vInteger(), 2);
  EXPECT_EQ(Call(b, "indexOf", {S("c"), I(3)}).vInteger(), -1);
  EXPECT_EQ(Call(b, "indexOf", {S("f"), I(100)}).vInteger(), 5);  // from is held to the length
  EXPECT_EQ(Call(b, "indexOf").vInteger(), -1);
  EXPECT_EQ(Call(b, "lastIndexOf", {S("z")}).vInteger(), -1);
  for (TJValue code : {Call(b, "charCodeAt", {I(10)}), Call(b, "charCodeAt"), Call(b, "charCodeAt", {I(-1)})})
    EXPECT_TRUE(IsNaN(&code));
  EXPECT_EQ(Call(b, "charCodeAt", {I(5)}).vInteger(), 'f');

  TJValue r = e.New("StringBuffer", {S("abcabc")});
  EXPECT_EQ(Call(r, "lastIndexOf", {S("bc")}).vInteger(), 4);
  EXPECT_EQ(Call(r, "lastIndexOf", {S("bc"), I(3)}).vInteger(), 1);
  EXPECT_EQ(Call(r, "lastIndexOf", {S("bc"), I(-5)}).vInteger(), -1);  // only the first byte
  EXPECT_EQ(Call(r, "lastIndexOf", {S("ab"), I(-5)}).vInteger(), 0);

  TJValue m = e.New("StringBuffer", {S("abcdef")});
  EXPECT_EQ(Call(m, "replace", {I(1), I(3), S("XY")}).vObject(), m.vObject());
  EXPECT_EQ(Text(m), "aXYdef");
  Call(m, "delete", {I(4)});
  EXPECT_EQ(Text(m), "aXYd");
  Call(m, "delete", {I(2), I(1)});  // end not above start: nothing
  EXPECT_EQ(Text(m), "aXYd");
  Call(m, "delete", {I(0), I(2)});
  EXPECT_EQ(Text(m), "Yd");
  Call(m, "insert", {I(1), S("--")});
  Call(m, "insert", {I(99), S("!")});
  EXPECT_EQ(Text(m), "Y--d!");
  Call(Call(m, "append", {S("a"), I(1)}), "append");
  EXPECT_EQ(Text(m), "Y--d!a1");
  Call(m, "fill", {S("*")});
  EXPECT_EQ(Text(m), "*******");
  Call(m, "fill");
  EXPECT_EQ(Get(m, "text").vString(), std::string_view("\0\0\0\0\0\0\0", 7));
  EXPECT_EQ(ErrorOf([&] { Call(m, "delete"); }), "EStringError:delete error");
  EXPECT_EQ(ErrorOf([&] { Call(m, "insert", {I(0)}); }), "EStringError:insert error");
  EXPECT_EQ(ErrorOf([&] { Call(m, "replace", {I(0), I(1)}); }), "EStringError:replace error");
}
