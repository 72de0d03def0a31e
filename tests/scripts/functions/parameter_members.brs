// Members read through parameters: own members, missing ones, prototypes, other kinds of value.
function P(x) { this.x = x; }
P.prototype.kind = "P";
function get(o) { return o.x; }
function kind(o) { return o.kind; }
function proto(o) { return typeof(o.prototype); }
function len(o) { return o.length; }
println(get(new P(4)) + " " + get({x: "lit"}) + " " + kind(new P(1)) + " " + proto(new P(1)));
println(len("text") + " " + len([1, 2]) + " " + kind({kind: "own"}));
try { println(get({y: 1})); } catch (e) { println(e); }
try { println(get("text")); } catch (e) { println(e); }
try { println(get(null)); } catch (e) { println(e); }
function del(o) { delete o.x; return o.hasKey("x"); }
println(del({x: 1}));
