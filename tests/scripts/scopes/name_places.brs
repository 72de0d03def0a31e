// Names read and written over and over from the same place keep finding the variable the scopes
// hold at that moment, wherever in the call's variables it sits.
// A conditional declaration puts a variable at another place from call to call.
function placed(first, n) {
  if (first) { var a = "a"; }
  var b = "b" + n;
  var c = "c" + n;
  var r = "";
  for (var i = 0; i < 2; i++) { r += b + c; c = c + "!"; b = i; }
  return r + b + c;
}
var log = "";
for (var k = 0; k < 3; k++) log += placed(k % 2 == 0, k) + " ";
println(log);
// The same read finds the module's variable until the call declares its own.
var shared = "module";
function shadowLater() {
  var r = "";
  for (var i = 0; i < 3; i++) {
    r += shared + ",";
    if (i == 1) { var shared = "local"; }
  }
  return r;
}
println(shadowLater() + " " + shadowLater() + " " + shared);
// Calls of different functions one after the other reuse scopes: their names never mix.
function one(x) { var p = x + 1; var q = p * 2; return q; }
function two(y) { var q = y - 1; var p = q * 3; return p + "/" + q; }
var mixed = "";
for (var k = 0; k < 3; k++) mixed += one(k) + ":" + two(k) + " ";
println(mixed);
// Recursion: every level reads its own variables.
function depth(n) { var here = n; if (n > 0) { var below = depth(n - 1); return here + "," + below; } return "" + here; }
println(depth(5));
// Many variables in one call, with names alike in length and letters.
function many() {
  var ab = 1, ba = 2, aab = 3, aba = 4, baa = 5, abab = 6, baba = 7, aabb = 8, bbaa = 9, abba = 10;
  var a1 = 11, a2 = 12, a3 = 13, a4 = 14, a5 = 15, a6 = 16, a7 = 17, a8 = 18, a9 = 19, a0 = 20;
  var b1 = 21, b2 = 22, b3 = 23, b4 = 24, b5 = 25, b6 = 26, b7 = 27, b8 = 28, b9 = 29, b0 = 30;
  var c1 = 31, c2 = 32, c3 = 33, c4 = 34, c5 = 35, c6 = 36, c7 = 37, c8 = 38, c9 = 39, c0 = 40;
  var d1 = 41, d2 = 42, d3 = 43, d4 = 44, d5 = 45, d6 = 46, d7 = 47, d8 = 48, d9 = 49, d0 = 50;
  var e1 = 51, e2 = 52, e3 = 53, e4 = 54, e5 = 55, e6 = 56, e7 = 57, e8 = 58, e9 = 59, e0 = 60;
  var f1 = 61, f2 = 62, f3 = 63, f4 = 64, f5 = 65, f6 = 66, f7 = 67, f8 = 68, f9 = 69, f0 = 70;
  return ab + ba + aab + aba + baa + abab + baba + aabb + bbaa + abba + a0 + b9 + c8 + d7 + e6 + f5 + a1 + f0 + typeof missing;
}
var missing = "m";
println(many() + " " + many());
// Counting in place: integers, doubles, texts and module variables, before and after.
function counts() {
  var i = 5, d = 1.5, s = "7", o = {n: -1};
  var r = [i++, ++i, i--, --i, d++, d, s++, s, ++o.n == 0];
  counter++;
  ++counter;
  return r.join(",") + " " + i + " " + counter;
}
var counter = 2147483647;
println(counts());
// for-in over a function's own variable and over a module variable.
function keys(o) { var k; var r = ""; for (k in o) r += k; for (var j in o) r += j; return r + k + j; }
var kk;
for (kk in {x: 1, y: 2}) {}
println(keys({p: 1, q: 2}) + " " + kk);
// A name missing everywhere still raises, from a function and from the module.
function reads() { return nowhere; }
try { reads(); } catch (e) { println("read: " + e); }
try { nowhere++; } catch (e) { println("count: " + e); }
// Closures read the variables of their creator's newest running call.
function outer(n) {
  var v = "v" + n;
  var get = function() { return v; };
  if (n > 0) return outer(n - 1) + get();
  return get();
}
println(outer(3));
// What eval assigns is what the next read finds.
var z = "module z";
function evals(code) { var r = ""; for (var i = 0; i < 2; i++) { r += z + ";"; if (code) eval(code); } return r; }
println(evals("") + " " + evals("z = 'set z'") + " " + z);
// Inside with, the object's member comes before the call's own variable of that name.
function within(o) { var w = "own"; var r = ""; for (var i = 0; i < 2; i++) { with (o) { r += w; } r += w; } return r; }
println(within({w: "member"}) + " " + within({}));
