// Prints every name a script can reach, one "Class<TAB>kind<TAB>name" line each: the constructors
// and ready-made objects given as arguments ("Name:class" or "Name:instance"), the methods,
// properties and events of an object of each, and the same of the objects their properties hold
// and of the objects that only a call hands out (made below). A class this script cannot make
// prints "Class<TAB>unmade<TAB>error".
var seen = {};
var windows = !isConsole();
var form = 0;
if (windows) form = new VCLForm(true);

// A label names the section the reference gives the object: its class name.
function labelOf(object) { return nameOf(object); }

function walk(object, depth) {
  var label = labelOf(object);
  if (seen.hasKey(label)) return;
  seen[label] = true;
  var kinds = ["method", "property", "event"];
  var lists = [[], [], []];
  try {
    lists = [object.getMethods(), object.getProperties(), object.getEvents()];
  } catch (e) {
    println(label + "\tunlisted\t" + e);
    return;
  }
  for (var k = 0; k < 3; k++) {
    var names = lists[k];
    for (var i = 0; i < names.length; i++) println(label + "\t" + kinds[k] + "\t" + names[i]);
  }
  if (depth >= 3) return;
  var properties = lists[1];
  for (var i = 0; i < properties.length; i++) {
    var value = null;
    try { value = object[properties[i]]; } catch (e) { continue; }
    if ((typeof value) == "object" && !isNull(value) && !isNull(nameOf(value))) walk(value, depth + 1);
  }
}

// How to make the classes that take arguments, and the objects only a call hands out.
var tempFolder = new Directory(".").path;
var makers = {
  Ini: function () { return new Ini(tempFolder + "/walk.ini"); },
  RegIni: function () { return new RegIni("Software\\BRScriptReferenceWalk"); },
  Enumerator: function () { return new Enumerator(new ActiveXObject()); }
};
var handedOut = [
  function () { var p = new HtmlParser(); p.parse("<a href=x>y</a>"); return p[0]; },
  function () { return WScript.Arguments.Named; },
  function () { return WScript.Arguments.Unnamed; },
  function () { return WScript.StdIn; },
  function () { return WScript.StdErr; }
];
if (windows) {
  handedOut = handedOut.concat([
    function () { return new VCLListView(form).items.add(); },
    function () { return new VCLListView(form).column.add(); },
    function () { return new VCLTreeView(form).Items.add(null, "node"); },
    function () { return new VCLStatusBar(form).panels.add(); },
    function () { var m = new VCLMainMenu(form); var i = new VCLMenuItem(); m.items.add(i); return m.items; },
    function () { var bar = new VCLCoolBar(form); return bar.Bands; },
    function () { return new VCLToolBar(form); }
  ]);
}

for (var a = 0; a < arguments.length; a++) {
  var parts = arguments[a].split(":");
  var name = parts[0];
  var kind = parts[1];
  println(name + "\t" + (kind == "instance" ? "instance" : "constructor") + "\t" + name);
  var object = null;
  try {
    if (kind == "instance") object = eval(name);
    else if (makers.hasKey(name)) object = makers[name]();
    else object = eval("new " + name + "()");
  } catch (e) {
    println(name + "\tunmade\t" + e);
    continue;
  }
  walk(object, 0);
}
for (var h = 0; h < handedOut.length; h++) {
  try {
    var made = handedOut[h]();
    if ((typeof made) == "object" && !isNull(made) && !isNull(nameOf(made))) walk(made, 0);
    else println("handed-out-" + h + "\tunmade\tnot an object: " + made);
  } catch (e) {
    println("handed-out-" + h + "\tunmade\t" + e);
  }
}
