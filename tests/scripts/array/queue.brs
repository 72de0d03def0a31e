// shift and unshift at scale, mixed with every other way of reading and changing the array: the
// items stay in order and nothing is lost or repeated.
var q = [];
for (var i = 0; i < 3000; i++) { q.push(i); }
var s = 0;
for (var i = 0; i < 1000; i++) { s += q.shift(); }
println(s + " " + q.length + " " + q[0] + " " + q[q.length - 1]);
q.unshift(-1, -2);
println(q.length + " " + q[0] + " " + q[1] + " " + q[2] + " " + q.slice(0, 4).join(","));
for (var i = 0; i < 500; i++) { q.unshift(i); }
println(q.length + " " + q[0] + " " + q[499] + " " + q[500] + " " + q[502]);
q.splice(1, 2);
q.sort(function (a, b) { return a - b; });
println(q.length + " " + q[0] + " " + q[1] + " " + q[q.length - 1]);
var t = 0;
while (q.length > 10) { t += q.shift(); q[0] = q[0] + 0; }
println(t + " " + q.join(","));
for (var k in q) { if (k == 0) { q.shift(); } }
println(q.length + " " + q.concat([7]).length + " " + q.reverse().join(","));
q.length = 0;
q.unshift("a");
println(q.length + " " + q[0]);
var first = q.shift();
println(first + " " + q.length);
