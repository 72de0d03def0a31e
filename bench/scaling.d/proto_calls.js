var N = __N__;
function P(x) { this.x = x; }
P.prototype.get = function () { return this.x; };
var t = 0;
for (var i = 0; i < N; i++) { var p = new P(i); t += p.get(); }
print("proto_calls " + t);
