// Only indexed objects can be assigned.
[1].assign(new Object());
