#include "script/host/rect_object.h"

#include <gtest/gtest.h>

#include "script/host/point_object.h"
#include "tests/script/host/host_fixture.h"

using namespace hosttest;

TEST(PointObject, TextFormReadsBackAndIgnoresWhatItCannotRead) {
  HostEngine e;
  TJValue p = TJValue::Object(host::NewPoint(&e, fw::Point(0, 0)));
  EXPECT_EQ(Text(Get(p, "point")), "{x:0,y:0}");
  EXPECT_EQ(p.vObject()->Name(), "Point");
  Put(p, "point", S("{ X : 3 , Y : 4 }"));
  EXPECT_EQ(Get(p, "x").vInteger(), 3);
  EXPECT_EQ(Get(p, "y").vInteger(), 4);
  // The first group anywhere in the text counts.
  Put(p, "point", S("at {x:10,y:20} or {x:1,y:2}"));
  EXPECT_EQ(Text(Call(p, "toString")), "{x:10,y:20}");
  // Texts without a whole group change nothing and raise nothing.
  for (const char* bad : {"", "{x:1}", "{x:a,y:2}", "{x:1,y:2", "x:1,y:2", "{y:1,x:2}", "{x:1;y:2}"}) {
    Put(p, "point", S(bad));
    EXPECT_EQ(Text(Get(p, "point")), "{x:10,y:20}") << bad;
  }
  // Negative coordinates, which windows left of the first monitor have, read back as written.
  Put(p, "x", I(-5));
  std::string text = Text(Get(p, "point"));
  EXPECT_EQ(text, "{x:-5,y:20}");
  Put(p, "point", S("{x:0,y:0}"));
  Put(p, "point", S(text));
  EXPECT_EQ(Get(p, "x").vInteger(), -5);
  // A number too big for 32 bits reads as 0.
  Put(p, "point", S("{x:99999999999,y:7}"));
  EXPECT_EQ(Text(Get(p, "point")), "{x:0,y:7}");
  EXPECT_EQ(p.vObject()->ToString(nullptr), "{x:0,y:7}");
}

TEST(RectObject, FieldsCornersAndText) {
  HostEngine e;
  host::TJRect* rect = host::NewRect(&e, fw::Rect(1, 2, 3, 4));
  TJValue r = TJValue::Object(rect);
  EXPECT_EQ(r.vObject()->Name(), "Rect");
  EXPECT_EQ(Text(Get(r, "rect")), "{left:1,top:2,right:3,bottom:4}");
  EXPECT_EQ(Text(Call(r, "toString")), "{left:1,top:2,right:3,bottom:4}");

  // The corners are the rectangle's own points.
  TJValue topLeft = Get(r, "topLeft");
  Put(topLeft, "x", I(7));
  EXPECT_EQ(Get(r, "left").vInteger(), 7);
  EXPECT_EQ(Get(r, "topLeft").vObject(), topLeft.vObject());
  Put(r, "bottom", I(40));
  EXPECT_EQ(Get(Get(r, "bottomRight"), "y").vInteger(), 40);

  // Writing a corner copies x and y from any object.
  TJValue from = e.New("Object");
  Put(from, "x", I(-3));
  Put(from, "y", S("9"));
  Put(r, "bottomRight", from);
  EXPECT_EQ(rect->ToRect(), fw::Rect(7, 2, -3, 9));
  EXPECT_NE(Get(r, "bottomRight").vObject(), from.vObject());
  Put(r, "topLeft", TJValue::Null());  // nothing to copy from
  EXPECT_EQ(rect->ToRect(), fw::Rect(7, 2, -3, 9));
  // An object without y: x is taken, then the missing member is the error.
  TJValue half = e.New("Object");
  Put(half, "x", I(11));
  EXPECT_EQ(ErrorOf([&] { Put(r, "topLeft", half); }), "EKeyError:y");
  EXPECT_EQ(rect->ToRect(), fw::Rect(11, 2, -3, 9));

  // The text form, negative values included, reads back.
  std::string text = Text(Get(r, "rect"));
  EXPECT_EQ(text, "{left:11,top:2,right:-3,bottom:9}");
  rect->FromRect(fw::Rect(0, 0, 0, 0));
  Put(r, "rect", S(text));
  EXPECT_EQ(rect->ToRect(), fw::Rect(11, 2, -3, 9));
  Put(r, "rect", S("{ LEFT:1, Top:2, right:3 }"));  // a group short of bottom changes nothing
  EXPECT_EQ(rect->ToRect(), fw::Rect(11, 2, -3, 9));
}

TEST(RectObject, CornersOutliveTheirRectangleWhileHeld) {
  HostEngine e;
  TJValue corner;
  {
    TJValue r = TJValue::Object(host::NewRect(&e, fw::Rect(5, 6, 7, 8)));
    corner = Get(r, "bottomRight");
  }
  EXPECT_EQ(Text(Get(corner, "point")), "{x:7,y:8}");
}
