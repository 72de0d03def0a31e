// isFinite: numbers, Booleans and numeric texts; not infinity, NaN or other texts.
println(isFinite(1) + " " + isFinite(1.5) + " " + isFinite("12") + " " + isFinite(true) + " " + isFinite());
println(isFinite("abc") + " " + isFinite(1 / 0) + " " + isFinite(NaN) + " " + isFinite(null) + " " + isFinite(new Number(3)));

// isNaN: only NaN itself; undefined without an argument.
println(isNaN(NaN) + " " + isNaN(0 / 0) + " " + isNaN("abc") + " " + isNaN(1) + " " + typeof isNaN());

// parseInt: numeric values only; a text must be an integer text, a double rounds half to even.
println(parseInt("12") + " " + parseInt("1.5") + " " + parseInt(1.5) + " " + parseInt(2.5) + " " + parseInt(-1.5));
println(parseInt("$1F") + " " + parseInt(true) + " " + isNaN(parseInt("abc")) + " " + isNaN(parseInt("12abc")) + " " + typeof parseInt());
// Plain digit texts (read at once) and their neighbours (read the general way) agree.
var texts = ["0", "-0", "-12", "999999999", "1234567890", "-2147483648", "007", " 5", "5 ", "-", "", "1e3", "12a"];
var read = [];
for (var i = 0; i < texts.length; i++) { var v = parseInt(texts[i]); read.push(isNaN(v) ? "NaN" : v); }
println(read.join(" "));
println(format("%d %d", parseInt(7), parseInt("7")) + " " + isNaN(parseInt(null)) + " " + isNaN(parseInt(1 / 0)));

// parseFloat: the whole text must be a number.
println(parseFloat("1.5") + " " + isNaN(parseFloat("12abc")) + " " + parseFloat("-2e3") + " " + parseFloat(3) + " " + typeof parseFloat());
println(format("%.1f", parseFloat("2")) + " " + parseFloat(" 7 ") + " " + isNaN(parseFloat("")));
