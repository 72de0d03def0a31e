var count = 0;
function bump() { count++; return count; }
