// Setters change one field, never carry, and leave the date as it was (answering undefined) when
// the new field does not fit.
function fields(d) {
  return d.getFullYear() + "-" + (d.getMonth() + 1) + "-" + d.getDate() + " " + d.getHours() + ":" +
         d.getMinutes() + ":" + d.getSeconds() + "." + d.getMilliseconds();
}
function tryIt(name, value) {
  d = new Date("2001/04/10 10:20:30");
  d.setMilliseconds(400);
  before = d.getTime();
  r = d[name](value);
  if ((typeof r) == "undefined") println(name + "(" + value + "): unchanged " + (d.getTime() == before));
  else println(name + "(" + value + "): " + fields(d) + " answers " + (r == d.getTime()));
}
tryIt("setMonth", 11);
tryIt("setMonth", 12);
tryIt("setMonth", 0);
tryIt("setDate", 31);
tryIt("setDate", 30);
tryIt("setDate", 65537);
tryIt("setFullYear", 2004);
tryIt("setFullYear", 70000);
tryIt("setFullYear", 0);
tryIt("setYear", 5);
tryIt("setYear", 1999);
tryIt("setHours", 24);
tryIt("setHours", 23);
tryIt("setMinutes", 5.5);
tryIt("setMinutes", 60);
tryIt("setSeconds", -1);
tryIt("setSeconds", 59);
tryIt("setMilliseconds", 999);
tryIt("setMilliseconds", 1000);
tryIt("setUTCHours", 20);
tryIt("setUTCDate", 1);
tryIt("setUTCMonth", -1);
tryIt("setUTCFullYear", 1999);
tryIt("setUTCYear", 99);
tryIt("setUTCMinutes", 0);
tryIt("setUTCSeconds", 0);
tryIt("setUTCMilliseconds", 0);

// Without an argument nothing changes; further arguments are ignored.
// (Operands are evaluated right to left, so each call gets a statement of its own.)
d = new Date("2001/04/10 10:20:30");
r = d.setHours();
println(((typeof r) == "undefined") + " " + fields(d));
r = d.setHours(23, 59);
println(r + " " + fields(d));

// setTime takes milliseconds (rounded); getYear counts from 1900 before 2000.
d = new Date(0);
r1 = d.setTime(1.5);
r2 = d.setTime(981368430000);
r3 = d.setTime(1e20);
println(r1 + " " + r2 + " " + ((typeof r3) == "undefined") + " " + d.getTime());
d = new Date("1999/06/01");
println(d.getYear() + " " + d.getUTCYear() + " " + new Date("2005/06/01").getYear() + " " + new Date("1899/06/01").getYear());
