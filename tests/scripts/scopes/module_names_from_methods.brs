// Module variables read from methods and callbacks, whose this is some other object than Global.
var count = 0, label = "module";
function tick() { count = count + 1; return label + count; }
var o = {tick: tick};
var seen = [];
for (var i = 0; i < 4; i++) {
  seen.push(o.tick());
  if (i == 1) o.label = "own";  // from now on this has the name: it takes it
  if (i == 2) o.count = 100;
}
println(seen.join(" ") + " | " + count + " " + o.count + " " + label);
// A callback of replace (this: the pattern) and of sort (this: the array) read module variables.
var hits = 0, text = "";
"a1b2c3".replace(/\d/g, function (d) { hits += 1; text += d; return d; });
var calls = 0;
[5, 3, 9, 1].sort(function (a, b) { calls++; return a - b; });
println(hits + " " + text + " " + (calls > 0));
// The same method called on objects that have the name and objects that lack it, in turn.
var shade = "module";
function look() { return shade; }
var plain = {look: look}, shaded = {look: look, shade: "member"};
var both = [];
for (var i = 0; i < 3; i++) both.push(plain.look(), shaded.look(), look());
println(both.join(","));
