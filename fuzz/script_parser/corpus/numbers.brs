x = 0x1F + 1.5e3 - 12345678901 + 1.e5 + RegExp.$& + o.if;
y = a / b / c;
