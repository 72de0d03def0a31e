function down(n) { return down(n + 1); }
try { down(0); } catch (e) { println("caught " + e); }
down(0);
