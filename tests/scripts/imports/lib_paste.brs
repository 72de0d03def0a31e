pasted = "pasted text";
function shout(s) { return s + "!"; }
