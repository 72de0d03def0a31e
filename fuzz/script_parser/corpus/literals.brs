o = {a: 1, "b": [1, 2, {c: 3}], 4: null};
s = "a\nb\t\"q\"" + 'raw\n';
r = /a\/b[c]/m;
