// Number texts at the corners of the digit routine they share: zero of both signs, the edge of
// plain notation, the smallest subnormal, a sum that is not what it reads, and a large integer.
var values = [0.0, -0.0, 1e21, 5e-324, 0.1 + 0.2, 123456789012345680000, 2.5, -2.5, 0.125, 1.005];
for (var i = 0; i < values.length; i++) {
  var v = values[i];
  println(v + " | " + v.toFixed(2) + " | " + v.toFixed(0) + " | " + v.toExponential() + " | " + v.toExponential(3) +
          " | " + format("%.3f", v) + " " + format("%e", v) + " " + format("%g", v) + " | " + formatFloat("#,##0.00", v));
}
