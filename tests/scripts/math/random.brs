// random(n) draws integers 0..n-1; random() doubles in [0, 1).
seen = 0;
bad = 0;
for (i = 0; i < 3000; i++) {
  r = Math.random(6);
  if ((typeof r) != "number" || r < 0 || r > 5 || r != Math.floor(r)) bad++;
  else seen |= 1 << r;
  d = Math.random();
  if (d < 0 || d >= 1) bad++;
}
println("bad draws " + bad + ", faces drawn " + (seen == 63 ? "all" : seen));
println(Math.random(0) + " " + Math.random(-3));
