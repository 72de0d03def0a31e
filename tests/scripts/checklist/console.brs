// On the console nobody can tick boxes: execute answers false and changes nothing.
var c = new CheckListBox();
c.items.text = "one\ntwo";
c.setChecked(1, true);
println(c.execute("Pick", "Which?", 1));
println(c.index + " " + c.count + " " + c.getChecked(0) + " " + c.getChecked(1));
println(CheckListBox.count);
