// Members read and written through this: own members, the prototype's, the natives, and a member
// named prototype, which never hides the class's prototype; outside a method this is null.
function T(v) { this.v = v; this.prototype = "own"; this.v = this.v + 1; }
T.prototype.shared = "shared";
T.prototype.show = function() {
  return this.v + " " + this.shared + " " + typeof(this.hasKey) + " " + typeof(this.prototype) + " " +
         this.hasKey("prototype");
};
T.prototype.missing = function() { return this.nothing; };
var t = new T(1);
println(t.show());
t.v = "changed";
println(t.show());
try { t.missing(); } catch (e) { println("missing: " + e); }
var a = [3, 4];
a.total = function() { return this[0] + this[1] + this.length; };
println(a.total());
try { println(this.anything); } catch (e) { println("outside: " + e); }
