// showModal runs until a button with a modal result is pressed, or the window is closed.
var f = new VCLForm();
f.Caption = "Ask";
var ok = new VCLButton(f);
ok.Caption = "OK";
ok.ModalResult = 1;
var shows = 0;
f.onShow = function(sender) {
  shows++;
  if (shows == 1) ok.click(); else f.close();
};
println("first " + f.showModal() + " visible " + f.Visible);
println("second " + f.showModal());
f.onShow = null;
f.show();
try { f.showModal(); } catch (e) { println("visible form: " + e); }
f.hide();
f.onCloseQuery = function(sender, canClose) { canClose.bool = false; };
f.onShow = function(sender) { f.close(); ok.click(); };
println("refused close, then OK: " + f.showModal());
