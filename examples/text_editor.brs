// A small text editor: a memo, a file name, and buttons that open and save the file.
// Run it with:  brsw examples/text_editor.brs [FILE]
var form = new VCLForm(true);
form.Caption = "Text editor";
form.ClientWidth = 480;
form.ClientHeight = 360;

var fileName = new VCLEdit(form);
fileName.setBounds(8, 8, 260, 24);
fileName.Text = arguments.length > 0 ? arguments[0] : "notes.txt";
var open = new VCLButton(form);
open.setBounds(276, 6, 95, 28);
open.Caption = "Open";
var save = new VCLButton(form);
save.setBounds(377, 6, 95, 28);
save.Caption = "Save";
var memo = new VCLMemo(form);
memo.setBounds(8, 42, 464, 288);
memo.ScrollBars = "ssVertical";
var status = new VCLLabel(form);
status.setBounds(8, 336, 464, 20);

open.onClick = function(sender) {
  try {
    memo.lines.loadFromFile(fileName.Text);
    memo.Modified = false;
    status.Caption = "Opened " + fileName.Text + " (" + memo.lines.count + " lines)";
  } catch (e) {
    status.Caption = "Cannot open " + fileName.Text;
  }
};
save.onClick = function(sender) {
  try {
    memo.lines.saveToFile(fileName.Text);
    memo.Modified = false;
    status.Caption = "Saved " + fileName.Text;
  } catch (e) {
    status.Caption = "Cannot save " + fileName.Text;
  }
};
memo.onChange = function(sender) { status.Caption = "Modified"; };
// Unsaved changes: ask before the window closes.
form.onCloseQuery = function(sender, canClose) {
  if (memo.Modified)
    canClose.bool = msgBox("Close without saving?", 4, "Text editor") == 6;  // 4: Yes and No; 6: Yes
};

form.show();
eventLoop();
