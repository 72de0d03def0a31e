// typeof(of) a member read: a missing member (also of a missing member's owner) gives
// "undefined"; other errors raised while reading still reach the script.
var o = {n: 1, s: "t", f: function() { return 1; }, inner: {deep: true}};
println(typeof(o.n) + " " + typeof(o.s) + " " + typeof(o.f) + " " + typeof(o.inner) + " " + typeof(o.inner.deep));
println(typeof(o.missing) + " " + typeof(o.inner.missing) + " " + typeof(o.hasKey) + " " + typeof(o.prototype));
var a = [1, 2];
println(typeof(a.length) + " " + typeof(a.LENGTH) + " " + typeof(a.push) + " " + typeof(a.missing));
println(typeof("text".length) + " " + typeof("text".missing) + " " + typeof((5).toString));
function P() { this.own = 1; }
P.prototype.shared = "s";
var p = new P();
println(typeof(p.own) + " " + typeof(p.shared) + " " + typeof(p.nothing));
try { println(typeof(o.missing.deeper)); } catch (e) { println("deeper: " + e); }
var n = null;
try { println(typeof(n.member)); } catch (e) { println("null: " + e); }
o.missing = 3;
println(typeof(o.missing));
