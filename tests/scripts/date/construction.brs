// The forms of new Date, in Japan (UTC+9).
function near(a, b) { return Math.abs(a - b) < 60000; }
now = new Date().getTime();
d = new Date(0);
println(d.getTime() + " " + d.getUTCHours() + " " + d.getHours() + " " + d.getTimezoneOffset() + " " + d);
// One number is milliseconds since 1970 UTC, truncated; a numeric text counts as a number.
println(new Date(1.9).getTime() + " " + new Date(-1.9).getTime() + " " + new Date("2001").getTime() + " " + new Date(true).getTime());
// One text is a local date and time.
d = new Date("2001/02/05 10:20:30");
println(d.getTime() + " " + d.getHours() + " " + d.getUTCHours() + " " + d);
d = new Date("Feb 5, 2001 10:20:30");
println(d.getTime() + " " + d);
// A copy keeps the moment to the millisecond.
a = new Date(981368430123);
b = new Date(a);
println(b.getTime() + " " + b.getMilliseconds() + " " + (b - a));
// Several numbers are UTC fields (month from 0); fields not given are the current UTC ones.
println(new Date(2000, 0, 1, 0, 0, 0, 0).getTime() + " " + new Date(2000, 11, 31, 23, 59, 59, 999).getTime());
d = new Date(2000, 0, 1);
println(d.getUTCFullYear() + " " + d.getUTCMonth() + " " + d.getUTCDate() + " " + (d.getUTCHours() == new Date().getUTCHours() || d.getUTCHours() == (new Date().getUTCHours() + 23) % 24));
// An impossible date gives now; an impossible time the date at midnight; no wrapping of big fields.
println(near(new Date(2000, 1, 30).getTime(), now) + " " + near(new Date(70000, 0, 1).getTime(), now) + " " +
        near(new Date(2000, 65536, 1).getTime(), now) + " " + new Date(2000, 0, 1, 24).getTime());
// A number beyond the range of dates gives now, as does a text that names no date.
println(near(new Date(1e20).getTime(), now) + " " + near(new Date("Jan 5").getTime(), now) + " " + near(new Date().getTime(), now));
// Dates subtract as milliseconds and are objects.
println((new Date(5000) - new Date(2000)) + " " + (typeof new Date()) + " " + (typeof Date) + " " + new Date(86400000).valueOf());
