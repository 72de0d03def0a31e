// A window with two edits and two buttons; the buttons' handlers write into a label.
// Run it with:  brsw examples/hello_form.brs
var form = new VCLForm(true);          // true: the main form; closing it ends the script
form.Caption = "Hello";
form.ClientWidth = 280;
form.ClientHeight = 150;
form.Position = "poScreenCenter";

var first = new VCLEdit(form);
first.setBounds(10, 10, 120, 24);
first.Text = "Ada";
var last = new VCLEdit(form);
last.setBounds(140, 10, 130, 24);
last.Text = "Lovelace";

var greet = new VCLButton(form);
greet.setBounds(10, 45, 120, 28);
greet.Caption = "Greet";
var clear = new VCLButton(form);
clear.setBounds(140, 45, 130, 28);
clear.Caption = "Clear";

var answer = new VCLLabel(form);
answer.setBounds(10, 90, 260, 20);
answer.Caption = "Type a name and press Greet.";

greet.onClick = function(sender) {
  answer.Caption = "Hello, " + first.Text + " " + last.Text + "!";
};
clear.onClick = function(sender) {
  first.clear();
  last.clear();
  answer.Caption = "Cleared.";
  first.setFocus();
};
// Enter in the second edit greets as well (key 13 is Enter).
last.onKeyDown = function(sender, key, shift) {
  if (key.int == 13) greet.click();
};

form.show();
eventLoop();                            // handle events until the main form closes
