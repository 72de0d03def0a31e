@set @VERSION7 = true
@set @SHORT_CIRCUIT = 0
x = a || b && !c;
y = typeof z + void 0;
delete o.p;
