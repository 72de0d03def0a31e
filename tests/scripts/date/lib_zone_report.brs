// Shared by the zone tests: the same moments seen from the zone each test runs in.
function fields(d) {
  return d.getFullYear() + "-" + (d.getMonth() + 1) + "-" + d.getDate() + " " + d.getHours() + ":" +
         d.getMinutes() + ":" + d.getSeconds() + "." + d.getMilliseconds() + " day " + d.getDay() +
         " offset " + d.getTimezoneOffset();
}
function show(ms) {
  d = new Date(ms);
  println(ms + ": " + fields(d) + " | " + d + " | UTC " + d.toUTCString());
}
function report() {
  // Winter and summer in the north, and a Sunday evening in UTC that is Monday in Asia.
  show(1610712000000);
  show(1625140800000);
  show(981316800000);
  show(0);
  // A local setter takes the offset of the moment it lands on.
  d = new Date(1610712000000);
  d.setMonth(6);
  println("setMonth(6): " + fields(d) + " = " + d.getTime());
  // A date text names a UTC moment, the same in every zone; the local text of that moment, read
  // back, lies the zone's offset away.
  d = new Date("2021/07/01 12:00:00");
  println("parsed: " + fields(d) + " = " + d.getTime() + " back " + new Date(d.toString()).getTime());
  println("Date.parse " + Date.parse("Feb 5, 2001 10:20:30:250") + " Date.UTC " + Date.UTC("2001/02/05 10:20:30") +
          " new Date " + new Date("SEPTEMBER 9 1999 8:07:06:5").getTime());
}
