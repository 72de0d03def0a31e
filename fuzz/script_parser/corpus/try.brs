try { throw "x"; } catch (e) { print(e); } finally { done(); }
with (o) { p = 1; }
