#include "script/stdlib/date_object.h"

#include <gtest/gtest.h>

#include "tests/script/stdlib/stdlib_fixture.h"

using namespace stdlibtest;
using stdlib::TJDateObject;

namespace {

const int64_t kNow = UtcMs(2024, 6, 15, 3, 4, 5, 678);  // 12:04:05.678 in Japan

double timeOf(const TJValue& d) { return Call(d, "getTime").vDouble(); }

std::vector<int> localFields(const TJValue& d) {
  std::vector<int> out;
  for (const char* g : {"getFullYear", "getMonth", "getDate", "getHours", "getMinutes", "getSeconds",
                        "getMilliseconds", "getDay"})
    out.push_back(Int(Call(d, g)));
  return out;
}

std::vector<int> utcFields(const TJValue& d) {
  std::vector<int> out;
  for (const char* g : {"getUTCFullYear", "getUTCMonth", "getUTCDate", "getUTCHours", "getUTCMinutes",
                        "getUTCSeconds", "getUTCMilliseconds", "getUTCDay"})
    out.push_back(Int(Call(d, g)));
  return out;
}

}  // namespace

TEST(DateObject, ConstructionForms) {
  ScopedZone zone("JST-9");
  ScopedClock clock(kNow);
  StdEngine e;
  struct Case {
    std::vector<TJValue> args;
    double time;
  } cases[] = {
      {{}, double(kNow)},
      {{I(0)}, 0},
      {{D(1.9)}, 1},
      {{D(-1.9)}, -1},
      {{S("2001")}, 2001},         // a numeric text is milliseconds
      {{D(1e20)}, double(kNow)},   // beyond the range of dates: now
      {{S("2001/02/05 10:20:30")}, double(UtcMs(2001, 2, 5, 10, 20, 30))},  // a UTC date-time
      {{S("Feb 5, 2001 10:20:30")}, double(UtcMs(2001, 2, 5, 10, 20, 30))},
      {{S("Jan 5")}, double(kNow)},
      // Several arguments are UTC fields; those not given come from now.
      {{I(2000), I(0), I(1)}, double(UtcMs(2000, 1, 1, 3, 4, 5, 678))},
      {{I(2000), I(0), I(1), I(0), I(0), I(0), I(0)}, 946684800000.0},
      {{I(2000), I(11), I(31), I(23), I(59), I(59), I(999)}, double(UtcMs(2000, 12, 31, 23, 59, 59, 999))},
      {{I(2000), I(1), I(30)}, double(kNow)},                      // impossible date: now
      {{I(2000), I(0), I(1), I(24)}, double(UtcMs(2000, 1, 1))},   // impossible time: midnight
      {{I(70000), I(0), I(1)}, double(kNow)},                      // no 16-bit wrap into year 4464
      {{I(2000), I(65536), I(1)}, double(kNow)},
  };
  for (auto& c : cases) {
    TJValueList list;
    for (auto& a : c.args) list.Add(a);
    TJValue d = TJValue::Object(e.MakeObject("Date", c.args.empty() ? nullptr : &list));
    EXPECT_EQ(timeOf(d), c.time) << (c.args.empty() ? "()" : AsString(&c.args[0]));
  }
}

TEST(DateObject, CopyKeepsTheMomentToTheMillisecond) {
  ScopedZone zone("JST-9");
  StdEngine e;
  TJValue a = e.New("Date", {D(981368430123.0)});
  TJValue b = e.New("Date", {a});
  EXPECT_EQ(timeOf(b), 981368430123.0);
  EXPECT_EQ(localFields(b), localFields(a));
}

TEST(DateObject, LocalAndUtcFieldsAcrossTheDateLine) {
  StdEngine e;
  struct Case {
    const char* zone;
    int64_t utc;
    std::vector<int> local;
    int offset;
  } cases[] = {
      // Sunday 20:00 UTC is Monday 05:00 in Japan.
      {"JST-9", UtcMs(2001, 2, 4, 20), {2001, 1, 5, 5, 0, 0, 0, 1}, -540},
      {"IST-5:30", UtcMs(2001, 2, 4, 20), {2001, 1, 5, 1, 30, 0, 0, 1}, -330},
      {"EST5EDT,M3.2.0,M11.1.0", UtcMs(2001, 2, 4, 20), {2001, 1, 4, 15, 0, 0, 0, 0}, 300},
      {"EST5EDT,M3.2.0,M11.1.0", UtcMs(2001, 7, 1, 2, 0, 0, 7), {2001, 5, 30, 22, 0, 0, 7, 6}, 240},
      {"UTC0", UtcMs(1969, 12, 31, 23, 59, 59, 999), {1969, 11, 31, 23, 59, 59, 999, 3}, 0},
  };
  for (auto& c : cases) {
    ScopedZone zone(c.zone);
    TJValue d = e.New("Date", {D(double(c.utc))});
    EXPECT_EQ(localFields(d), c.local) << c.zone;
    stdlib::TDateFields u = stdlib::SplitMs(c.utc);
    EXPECT_EQ(utcFields(d), (std::vector<int>{u.year, u.month - 1, u.day, u.hour, u.minute, u.second,
                                               u.millisecond, u.dayOfWeek}));
    EXPECT_EQ(Show(Call(d, "getTimezoneOffset")), "vtInteger " + std::to_string(c.offset)) << c.zone;
  }
}

TEST(DateObject, YearsBefore2000CountFrom1900) {
  ScopedZone zone("UTC0");
  StdEngine e;
  TJValue d = e.New("Date", {S("1999/06/01")});
  EXPECT_EQ(Int(Call(d, "getYear")), 99);
  EXPECT_EQ(Int(Call(d, "getUTCYear")), 99);
  Call(d, "setYear", {I(2005)});
  EXPECT_EQ(Int(Call(d, "getYear")), 2005);
  Call(d, "setYear", {I(5)});
  EXPECT_EQ(Int(Call(d, "getFullYear")), 1905);
  Call(d, "setUTCYear", {I(99)});
  EXPECT_EQ(Int(Call(d, "getUTCFullYear")), 1999);
}

TEST(DateObject, SettersChangeOneFieldOrNothing) {
  ScopedZone zone("JST-9");
  StdEngine e;
  const double start = double(UtcMs(2001, 4, 10, 1, 20, 30, 400));  // 10:20:30.400 on 10 April, local
  struct Case {
    const char* setter;
    std::vector<TJValue> args;
    std::vector<int> local;  // after the call; empty: unchanged and undefined
  } cases[] = {
      {"setMonth", {I(11)}, {2001, 11, 10, 10, 20, 30, 400, 1}},
      {"setMonth", {I(12)}, {}},
      {"setDate", {I(31)}, {}},  // April has 30 days
      {"setDate", {I(30)}, {2001, 3, 30, 10, 20, 30, 400, 1}},
      {"setDate", {I(65537)}, {}},
      {"setFullYear", {I(70000)}, {}},
      {"setFullYear", {I(2004)}, {2004, 3, 10, 10, 20, 30, 400, 6}},
      {"setHours", {I(24)}, {}},  // the time of day is kept, not reset to midnight
      {"setHours", {I(23), I(59)}, {2001, 3, 10, 23, 20, 30, 400, 2}},  // further arguments are ignored
      {"setMinutes", {D(5.5)}, {2001, 3, 10, 10, 6, 30, 400, 2}},
      {"setSeconds", {I(-1)}, {}},
      {"setMilliseconds", {I(999)}, {2001, 3, 10, 10, 20, 30, 999, 2}},
      {"setHours", {}, {}},
      {"setUTCHours", {I(20)}, {2001, 3, 11, 5, 20, 30, 400, 3}},
      {"setUTCDate", {I(1)}, {2001, 3, 1, 10, 20, 30, 400, 0}},
      {"setUTCMonth", {I(-1)}, {}},
      {"setUTCMinutes", {I(60)}, {}},
      {"setUTCMilliseconds", {I(0)}, {2001, 3, 10, 10, 20, 30, 0, 2}},
      {"setUTCSeconds", {I(0)}, {2001, 3, 10, 10, 20, 0, 400, 2}},
      {"setUTCFullYear", {I(1999)}, {1999, 3, 10, 10, 20, 30, 400, 6}},
  };
  for (auto& c : cases) {
    TJValue d = e.New("Date", {D(start)});
    TJValue result;
    {
      TJValue f;
      d.vObject()->GetMember(c.setter, false, nullptr, f);
      TJValueList list;
      for (auto& a : c.args) list.Add(a);
      CallNative(f.vFunction(), c.args.empty() ? nullptr : &list, result);
    }
    if (c.local.empty()) {
      EXPECT_EQ(result.ValueType(), vtUndefined) << c.setter;
      EXPECT_EQ(timeOf(d), start) << c.setter;
    } else {
      EXPECT_EQ(localFields(d), c.local) << c.setter;
      EXPECT_EQ(Show(result), Show(Call(d, "getTime"))) << c.setter;
    }
  }
}

TEST(DateObject, LocalSettersUseTheOffsetOfTheNewMoment) {
  ScopedZone zone("EST5EDT,M3.2.0,M11.1.0");
  StdEngine e;
  TJValue d = e.New("Date", {D(double(UtcMs(2021, 1, 15, 15)))});  // 10:00 EST
  Call(d, "setMonth", {I(6)});
  EXPECT_EQ(Int(Call(d, "getHours")), 10);
  EXPECT_EQ(timeOf(d), double(UtcMs(2021, 7, 15, 14)));  // 10:00 EDT
  EXPECT_EQ(Int(Call(d, "getTimezoneOffset")), 240);
}

TEST(DateObject, TimeParseAndUtc) {
  ScopedZone zone("JST-9");
  ScopedClock clock(kNow);
  StdEngine e;
  TJValue d = e.New("Date", {I(0)});
  EXPECT_EQ(Show(Call(d, "setTime", {D(1.5)})), "vtDouble 2");
  EXPECT_EQ(Show(Call(d, "setTime", {D(1e20)})), "vtUndefined undefined");
  EXPECT_EQ(Show(Call(d, "setTime")), "vtUndefined undefined");
  TJValue notANumber;
  notANumber.SetNaN();
  EXPECT_EQ(Show(Call(d, "setTime", {notANumber})), "vtUndefined undefined");
  EXPECT_EQ(timeOf(d), 2);
  EXPECT_EQ(Call(d, "parse").vDouble(), double(kNow));
  EXPECT_EQ(Call(d, "UTC", {I(2000), I(0), I(1), I(0), I(0), I(0), I(0)}).vDouble(), 946684800000.0);
  EXPECT_EQ(Call(d, "parse", {S("Feb 5, 2001 10:20:30:250")}).vDouble(), double(UtcMs(2001, 2, 5, 10, 20, 30, 250)));
  EXPECT_EQ(Call(d, "UTC", {S("2001/02/05")}).vDouble(), double(UtcMs(2001, 2, 5)));
  EXPECT_EQ(timeOf(d), 2);  // parse and UTC leave the object alone
  // A date's own text is local time: read back as UTC it lies the zone's nine hours later.
  TJValue again = e.New("Date", {S("2001/02/05 10:20:30")});
  EXPECT_EQ(Call(d, "parse", {TJValue::String(AsString(&again))}).vDouble(), timeOf(again) + 9 * 3600000.0);
}

TEST(DateObject, FormattingAndConversions) {
  ScopedZone zone("JST-9");
  StdEngine e;
  TJValue d = e.New("Date", {I(0)});
  EXPECT_EQ(AsString(&d), "1970/01/01 9:00:00");
  EXPECT_EQ(Text(Call(d, "toLocaleString")), "1970/01/01 9:00:00");
  EXPECT_EQ(Text(Call(d, "toGMTString")), "1970/01/01");
  EXPECT_EQ(Text(Call(d, "toUTCString")), "1970/01/01");
  Put(d, "format", S("yyyy-mm-dd hh:nn:ss.zzz dddd"));
  EXPECT_EQ(Text(Get(d, "format")), "yyyy-mm-dd hh:nn:ss.zzz dddd");
  EXPECT_EQ(Text(Call(d, "toString")), "1970-01-01 09:00:00.000 \xe6\x9c\xa8\xe6\x9b\x9c\xe6\x97\xa5");
  EXPECT_EQ(Text(Call(d, "toUTCString")), "1970-01-01 00:00:00.000 \xe6\x9c\xa8\xe6\x9b\x9c\xe6\x97\xa5");
  Call(d, "setTime", {I(1500)});
  EXPECT_EQ(AsDouble(&d), 1500);
  EXPECT_EQ(Show(Call(d, "valueOf")), "vtDouble 1500");
  EXPECT_TRUE(AsBool(&d));
  EXPECT_TRUE(IsKnownClass(d.vObject(), TJKnownClass::Date));
  EXPECT_FALSE(IsNumeric(&d));
}

TEST(DateObject, DateTimeValuesForTheHostObjects) {
  ScopedZone zone("JST-9");
  StdEngine e;
  TJValue v = e.New("Date");
  auto* d = static_cast<TJDateObject*>(v.vObject());
  d->SetLocalDateTime(36927.5);  // 2001-02-05 12:00 local
  EXPECT_EQ(d->Time(), UtcMs(2001, 2, 5, 3));
  EXPECT_DOUBLE_EQ(d->GetLocalDateTime(), 36927.5);
  EXPECT_DOUBLE_EQ(d->GetUTCDateTime(), 36927.125);
  d->SetUTCDateTime(36927.5);
  EXPECT_EQ(Int(Call(v, "getHours")), 21);
  d->SetUTCDateTime(1e300);  // held to the range of dates
  EXPECT_EQ(d->Time(), int64_t(8.64e15));
}
