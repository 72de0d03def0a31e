#include "platform/fw/form_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/fw/errors.h"
#include "platform/fw/value_reader.h"
#include "platform/fw/value_writer.h"

namespace fw {
namespace {

std::string Bin(const std::string& text) { return ObjectTextToBinary(text); }
std::string Txt(const std::string& bin) { return ObjectBinaryToText(bin); }

// Text as the writer lays it out: text -> binary -> text gives it back byte for byte.
TEST(FormText, WriterLayoutRoundTrips) {
  const std::string cases[] = {
      "object Form1: TForm1\r\n  Left = 192\r\n  Caption = 'Form1'\r\n  Font.Style = []\r\nend\r\n",
      "object Form1: TForm1\r\n  Lines.Strings = (\r\n    'line 1'\r\n    'line 2')\r\n  Tag = -129\r\n"
      "  object Button1: TButton\r\n    Left = 8\r\n    OnClick = Button1Click\r\n  end\r\nend\r\n",
      "object F: TForm\r\n  Panels = <\r\n    item\r\n      Width = 50\r\n    end\r\n    item [3]\r\n"
      "      Text = 'abc'\r\n    end>\r\n  Empty = <>\r\n  List = ()\r\nend\r\n",
      "object F: TForm\r\n  Anchors = [akLeft, akTop]\r\n  A = True\r\n  B = False\r\n  C = nil\r\n  D = Null\r\n"
      "  E = Form2.Button1\r\nend\r\n",
      "inherited F: TForm\r\n  inline G: TFrame [2]\r\n  end\r\n  object TForm\r\n  end\r\nend\r\n",
      "object F: TForm\r\n  S = 'it'#39's'#13#10'x'\r\n  W = 'a'#12354'b'\r\n  J = '日本語'\r\n  E = ''\r\nend\r\n",
      "object F: TForm\r\n  X = 1.5\r\n  Y = 2E-05s\r\n  Z = 12.3400c\r\n  D = 44000.25d\r\n  N = -3.0\r\nend\r\n",
      "object F: TForm\r\n  Data = {\r\n    000102}\r\n  Nothing = {}\r\nend\r\n",
  };
  for (const auto& text : cases) {
    try {
      EXPECT_EQ(Txt(Bin(text)), text);
    } catch (const rt::Exception& e) {
      ADD_FAILURE() << e.message() << " in:\n" << text;
    }
  }
}

TEST(FormText, IntegersTakeTheSmallestForm) {
  struct Case {
    int64_t value;
    TValueType tag;
  } cases[] = {{-129, vaInt16}, {-128, vaInt8}, {127, vaInt8}, {128, vaInt16}, {32767, vaInt16},
               {32768, vaInt32}, {-32769, vaInt32}, {2147483647, vaInt32}, {2147483648LL, vaInt64}};
  for (auto c : cases) {
    std::string bin = Bin("object F: T\r\n  V = " + std::to_string(c.value) + "\r\nend\r\n");
    TStringStream s(bin);
    TValueReader r(s);
    r.ReadSignature();
    uint8_t flags;
    int32_t pos;
    r.ReadPrefix(flags, pos);
    EXPECT_EQ(r.ReadStr(), "T");
    EXPECT_EQ(r.ReadStr(), "F");
    EXPECT_EQ(r.ReadStr(), "V");
    EXPECT_EQ(r.NextValue(), c.tag) << c.value;
    EXPECT_EQ(r.ReadInt64(), c.value);
    EXPECT_EQ(Txt(bin), "object F: T\r\n  V = " + std::to_string(c.value) + "\r\nend\r\n");
  }
}

TEST(FormText, LongStringsAreCutIntoPiecesAndReadBack) {
  std::string s200(200, 'x'), s300(300, 'y');
  std::string text = "object F: T\r\n  A = '" + s200 + "'\r\n  B = '" + s300 + "'\r\nend\r\n";
  std::string bin = Bin(text);
  std::string out = Txt(bin);
  EXPECT_NE(out.find("  A = \r\n    '" + std::string(64, 'x') + "' +\r\n    '"), std::string::npos) << out;
  EXPECT_EQ(Bin(out), bin);
  // The 300-byte text is a long string.
  EXPECT_NE(bin.find(std::string(1, char(vaLString)) + std::string("\x2C\x01\x00\x00", 4)), std::string::npos);
}

TEST(FormText, HexAndBinaryForms) {
  std::string bin = Bin("object F: T\r\n  C = $FF\r\n  M = $FFFFFFFF\r\n  H = {\r\n   0a Ff\r\n  }\r\nend");
  std::string out = Txt(bin);
  EXPECT_NE(out.find("C = 255"), std::string::npos);
  EXPECT_NE(out.find("M = -1"), std::string::npos);
  EXPECT_NE(out.find("H = {\r\n    0AFF}"), std::string::npos) << out;
  std::string bytes(33, '\x5A');
  TStringStream s;
  TValueWriter w(s);
  w.WriteSignature();
  w.WriteStr("T");
  w.WriteStr("");
  w.WriteStr("B");
  w.WriteBinary(bytes);
  w.WriteListEnd();
  w.WriteListEnd();
  std::string text = Txt(s.DataString());
  std::string line;
  for (int i = 0; i < 32; ++i) line += "5A";
  EXPECT_EQ(text, "object T\r\n  B = {\r\n    " + line + "\r\n    5A}\r\nend\r\n");
  EXPECT_EQ(Bin(text), s.DataString());
}

TEST(FormText, ValuesSurviveBinaryRoundTrip) {
  // Values built directly in binary, including forms the text writer never produces on its own.
  TStringStream s;
  TValueWriter w(s);
  w.WriteSignature();
  w.WritePrefix(ffChildPos, 5);
  w.WriteStr("TX");
  w.WriteStr("X1");
  w.WriteStr("F");
  w.WriteFloat(0.1);
  w.WriteStr("W");
  w.WriteWideString("é€\xF0\x9F\x98\x80 and bad \xFF byte");
  w.WriteStr("I64");
  w.WriteInteger(-5000000000LL);
  w.WriteStr("Cur");
  w.WriteCurrency(-15);
  w.WriteListEnd();
  w.WriteListEnd();
  std::string text = Txt(s.DataString());
  EXPECT_EQ(Bin(text), s.DataString()) << text;
  EXPECT_NE(text.find("Cur = -0.0015c"), std::string::npos) << text;
  EXPECT_NE(text.find("object X1: TX [5]"), std::string::npos);
}

TEST(FormText, ExtendedFloatsConvert) {
  const double values[] = {0.0, 1.0, -2.5, 1e300, 5e-324, 3.141592653589793, -0.0, 44100.0};
  for (double v : values) {
    uint8_t b[10];
    DoubleToExtended(v, b);
    double back = ExtendedToDouble(b);
    EXPECT_EQ(back, v);
    EXPECT_EQ(std::signbit(back), std::signbit(v));
  }
  uint8_t one[10];
  DoubleToExtended(1.0, one);
  const uint8_t expect[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
  EXPECT_EQ(0, memcmp(one, expect, 10));
}

TEST(FormText, MalformedTextReportsMessageAndLine) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"", "OBJECT expected on line 1"},
      {"TPF0", "OBJECT expected on line 1"},
      {"object F: T\r\n  A = \r\n)\r\nend", "Invalid property value on line 3"},
      {"object F: T\n  A = 'abc\nend", "Invalid string constant on line 2"},
      {"object F: T\n\n  A 5\nend", "'=' expected on line 3"},
      {"object F: T\n  A = (1 2\n", "')' expected on line 3"},
      {"object F: T\n  A = 1\n", "END expected on line 3"},
      {"object F: T\n  A = {0G}\nend", "Invalid binary value on line 2"},
      {"object F: T\n  A = {0}\nend", "Invalid binary value on line 2"},
      {"object F: T\n  A = <\n  x\n  >\nend", "item expected on line 3"},
      {"object F: T\n  A = [a b]\nend", "',' expected on line 2"},
      {"object : T\nend", "Identifier expected on line 1"},
      {"object F: T\n  A = 'x' + 5\nend", "String expected on line 2"},
      {"object F: T\n  A = #\nend", "Invalid string constant on line 2"},
      {"object F: T\n  A = 99999999999999999999\nend", "Invalid numeric value on line 2"},
  };
  for (auto c : cases) {
    try {
      Bin(c.text);
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const EParserError& e) {
      EXPECT_EQ(e.message(), c.message) << c.text;
    }
  }
}

TEST(FormText, DeepNestingIsAnErrorNotACrash) {
  std::string text = "object F: T\n  A = " + std::string(5000, '(') + "\nend";
  EXPECT_THROW(Bin(text), EParserError);
  std::string objects;
  for (int i = 0; i < 5000; ++i) objects += "object T\n";
  EXPECT_THROW(Bin(objects), EParserError);
}

TEST(FormText, MalformedBinaryRaisesReadErrors) {
  std::string good = Bin("object F: T\r\n  A = 'abc'\r\n  L = (1 2)\r\nend\r\n");
  EXPECT_THROW(Txt("TPF1"), EReadError);
  for (size_t cut = 0; cut < good.size(); ++cut) EXPECT_THROW(Txt(good.substr(0, cut)), EReadError) << cut;
  std::string badTag = good;
  badTag[badTag.find('A') + 1] = char(0x40);
  EXPECT_THROW(Txt(badTag), EReadError);
  // A long string claiming more bytes than there are.
  std::string huge = std::string("TPF0\x01T\x00\x01V\x0C\xFF\xFF\xFF\x7F", 14);
  EXPECT_THROW(Txt(huge), EReadError);
}

TEST(FormText, StreamFormatIsDetected) {
  TStringStream bin(Bin("object F: T\nend"));
  EXPECT_EQ(TestStreamFormat(bin), sofBinary);
  TStringStream text("\xEF\xBB\xBF  \r\n Object F: T\nend");
  EXPECT_EQ(TestStreamFormat(text), sofText);
  EXPECT_EQ(text.Position(), 0);
  TStringStream other("hello");
  EXPECT_EQ(TestStreamFormat(other), sofUnknown);
}

}  // namespace
}  // namespace fw
