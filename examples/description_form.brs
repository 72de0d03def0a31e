// A window read from a form description (greeting.dfm, found beside this script): its controls
// are properties of the form under their names.
// Run it with:  brsw examples/description_form.brs
var form = new VCLForm(true);
form.loadFromFile("greeting.dfm");
form.HelloButton.onClick = function(sender) {
  form.Answer.Caption = "Hello, " + form.NameEdit.Text + "!";
};
form.show();
eventLoop();
