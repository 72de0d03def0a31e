// Arguments and results of every width through the project's test library, and libc and libm.
var dc = new DynaCall();
var lib = "libbrs_dynatest.so";
dc.register(lib, "dt_char", "i=c", "r=c");
println(dc.dt_char("A"));        // the character code of "A" plus one
println(dc.dt_char(255));        // a byte wraps
dc.register(lib, "dt_short", "i=tt", "r=t");
println(dc.dt_short(-300, 100)); // 16 bits: -30000
dc.register(lib, "dt_long", "i=ll", "r=l");
println(dc.dt_long(5, 12));
dc.register(lib, "dt_unsigned", "i=u", "r=u");
println(dc.dt_unsigned(3));
dc.register(lib, "dt_bool", "i=b", "r=b");
println(dc.dt_bool(42)); println(dc.dt_bool(1));
dc.register(lib, "dt_int64", "i=ii", "r=i");
println(dc.dt_int64(100000, 300000));  // past 32 bits
dc.register(lib, "dt_float", "i=ff", "r=f");
println(dc.dt_float(1, 4));
dc.register(lib, "dt_double", "i=dd", "f=8", "r=d");
println(dc.dt_double(1, 8));
dc.register(lib, "dt_mixed", "i=ctlifd", "r=d");
println(dc.dt_mixed(1, 2, 3, 4, 0.5, 0.25));
dc.register(lib, "dt_sum", "i=lllll", "r=l");  // a variadic function, with every argument declared
println(dc.dt_sum(4, 1, 2, 3, 4));
dc.register(lib, "dt_name", "i=l", "r=l");     // found as dt_nameA
println(dc.dt_name(1));
dc.register(lib, "dt_strlen", "I=S", "R=L");   // signature letters ignore case
println(dc.dt_strlen("日本"));                 // the bytes of the UTF-8 text
println(dc.dt_strlen(null));                   // a null pointer
println(dc.dt_strlen());                       // a missing argument counts as null
dc.register(lib, "dt_greeting", "r=s");
println(dc.dt_greeting());
dc.register(lib, "dt_null_text", "r=s");
println(dc.dt_null_text() == "");
dc.register(lib, "dt_wcslen", "i=w", "r=l");
println(dc.dt_wcslen("wide é"));               // characters, not bytes
dc.register(lib, "dt_wide", "r=w");
println(dc.dt_wide());
dc.register(lib, "dt_identity", "i=p", "r=p");
println(dc.dt_identity(5000000000));           // a 64-bit address travels as a number
dc.register(lib, "dt_long", "i=ll");           // no result letter: null
println(dc.dt_long(1, 2));

dc.register("libc.so.6", "strlen", "i=s", "r=l");
println(dc.strlen("four"));
dc.register("libm.so.6", "pow", "i=dd", "r=d");
println(dc.pow(2, 10));
