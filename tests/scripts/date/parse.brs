// Date.parse and Date.UTC answer milliseconds and leave the object alone. One argument is a date
// text read as UTC; several are UTC fields.
function near(a, b) { return Math.abs(a - b) < 60000; }
function local(ms) { x = new Date(ms); x.format = "yyyy/mm/dd hh:nn:ss.zzz"; return x.toString(); }
now = new Date().getTime();
println(local(Date.parse("2001/02/05 10:20:30")) + " " + Date.parse("2001/02/05 10:20:30"));
println(local(Date.parse("2001/02/05")));
println(local(Date.parse("Feb 5, 2001 10:20:30")) + " " + local(Date.parse("SEPTEMBER 9 1999 8:07:06:5")));
println(local(Date.parse("Feb 5 2001 25:00")));
println(near(Date.parse("Feb 30 2001"), now) + " " + near(Date.parse("Jan 5"), now) + " " + near(Date.parse(""), now) + " " + near(Date.parse(), now));
// A time alone is today's (in UTC).
t = new Date(Date.parse("10:20"));
n = new Date();
println(t.getUTCHours() + ":" + t.getUTCMinutes() + " " + (t.getUTCDate() == n.getUTCDate()));
println(Date.UTC(2000, 0, 1, 0, 0, 0, 0) + " " + Date.parse(2000, 0, 1, 12, 0, 0, 0) + " " + Date.UTC(2000, 0, 1, 24, 0, 0, 0));
d = new Date(0);
u = d.UTC(2001, 1, 5, 0, 0, 0, 0);
println(u + " " + d.getTime());
