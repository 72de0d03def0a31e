// for-in walks an object, an array or a collection; a number is none of them.
for (x in 5) { println(x); }
