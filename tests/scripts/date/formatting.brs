// toString and its kin format with the pattern in `format`; empty means "c": the short date, and
// the long time unless it is midnight. toGMTString and toUTCString show the UTC moment.
d = new Date("2001/02/05 14:07:09");
d.setMilliseconds(45);
println(d + " | " + d.toString() + " | " + d.toLocaleString() + " | " + d.toGMTString() + " | " + d.toUTCString());
println(new Date("2001/02/05") + " | " + new Date("2001/02/05").toUTCString());
function show(p) {
  d.format = p;
  println("[" + p + "] " + d);
}
show("yyyy/mm/dd hh:nn:ss.zzz");
show("y yy yyy yyyy");
show("d dd ddd dddd ddddd dddddd");
show("aaa aaaa");
show("m mm mmm mmmm");
show("h:m hh:mm 'at' h 'o''clock' mm");
show("hh:nn mm");
show("h:nn am/pm|h:nn AM/PM|h a/p|h ampm|h 'am/pm'");
show("t|tt|c|C");
show("z zzz");
show("g e ee");
show("x-\"quoted\"-'single'");
d.format = "yyyy-mm-dd hh:nn";
println(d.format + " => " + d.toUTCString());
