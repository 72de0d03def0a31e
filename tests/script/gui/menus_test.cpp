// Menus and actions driven by scripts against the framework's models: menu item trees built and
// searched from scripts, one wrapper per item whatever the route, script-made items that stay
// with their handlers, menus from descriptions, actions linked to buttons and menu items, and
// actions updated when the application goes idle.
#include <gtest/gtest.h>

#include "platform/fw/application.h"
#include "platform/fw/menus.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using guitest::TGuiScript;

TEST(GuiMenus, ItemTreeFromScripts) {
  // One value per line: the operands of "+" are not evaluated left to right.
  TGuiScript s;
  auto r = s.Run(R"(
    var mm = new VCLMainMenu();
    var file = new VCLMenuItem(); file.Caption = "&File";
    var open = new VCLMenuItem(); open.Caption = "&Open";
    var quit = new VCLMenuItem(); quit.Caption = "&Quit";
    println(mm.items === mm.items);
    println(mm.items.add(file, 5, "x", null) === mm.items);
    file.add(open, quit);
    println([file.Count, file.indexOf(quit), file.indexOf(5), file.indexOf(mm.items)].join(" "));
    var names = [];
    for (var i = 0; i < file.Count; i++) names.push(file.items(i).Caption);
    println(names.join(","));
    // Wrappers reached through the tree are the items' own.
    println([file.items(0) === open, file.find("open") === open, open.Parent === file, file.Parent === mm.items].join(" "));
    println([mm.items.Parent === null, open.getParentMenu() === mm, open.getParentMenu().toString()].join(" "));
    println(file.newTopLine());
    println(file.newBottomLine());
    println(file.insertNewLineAfter(open));
    println(file.insertNewLineBefore(5));
    println([file.Count, file.items(0).isLine(), open.isLine()].join(" "));
    println(file.rethinkLines());
    println(file.rethinkLines());
    println(file.delete(-1) === file);
    file.delete(file.Count);
    file.delete(0);
    println(file.Count);
    println(open.MenuIndex);
    open.MenuIndex = 2;
    println(file.indexOf(open));
    println(file.remove(open).Count);
    println(open.Parent);
    file.insert(0, open);
    println(file.items(0).Caption);
    try { file.items(-1); } catch (e) { println(e); }
    try { file.insert(0, open); } catch (e) { println(e); }
    var hits = [];
    open.onClick = function(sender) { hits.push("open " + (sender === open)); };
    open.click();
    println(mm.dispatchCommand(open.Command));
    println(mm.dispatchCommand(0));
    println(hits.join(","));
    println([mm.findItem(open.Command, "fkCommand") === open, mm.findItem(open.Command, 0) === open,
             mm.findItem(open.Command, "fkNothing"), mm.findItem(open.Command, 7), mm.findItem(-5, "fkCommand")].join(" "));
    println(mm.merge(5) === mm);
    file.clear();
    println(file.Count);
    println(open.VCLclassName);
    open.click();
  )");
  EXPECT_EQ(r.out,
            "true\r\ntrue\r\n2 1 -1 -1\r\n&Open,&Quit\r\ntrue true true true\r\n"
            "true true [object VCLMainMenu]\r\n0\r\n3\r\n2\r\n-1\r\n5 true false\r\ntrue\r\nfalse\r\ntrue\r\n"
            "4\r\n0\r\n2\r\n3\r\nnull\r\n&Open\r\nEVCLError\r\nEVCLError\r\n"
            "true\r\nfalse\r\nopen true,open true\r\ntrue true   \r\ntrue\r\n"
            "0\r\nTMenuItem\r\n");
  EXPECT_NE(r.err.find("TMenuItem - VCL is null"), std::string::npos) << r.err;
}

TEST(GuiMenus, ErrorsNameTheItemClass) {
  TGuiScript s;
  auto r = s.Run(R"(
    var file = new VCLMenuItem();
    var open = new VCLMenuItem();
    file.add(open);
    file.insert(0, open);
  )");
  EXPECT_NE(r.err.find("TMenuItem - Menu inserted twice"), std::string::npos) << r.err;
  r = s.Run(R"(
    var file = new VCLMenuItem();
    file.items(0);
  )");
  EXPECT_NE(r.err.find("TMenuItem - arguments error"), std::string::npos) << r.err;
}

TEST(GuiMenus, ScriptMadeItemsStayWithTheirHandlers) {
  TGuiScript s;
  s.AllowEvents(true);
  auto r = s.Run(R"(
    var mm = new VCLMainMenu();
    function build() {
      var top = new VCLMenuItem(); top.Caption = "Top";
      var child = new VCLMenuItem(); child.Caption = "Child";
      child.onClick = function() { println("child clicked"); };
      top.add(child);
      mm.items.add(top);
    }
    build();
    // The handler set in the function is there: the item lives on in the menu.
    mm.items.items(0).items(0).click();
    var kept = mm.items.items(0).items(0);
    mm.items.items(0).remove(kept);
    kept.click();
    kept = null;
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "child clicked\r\nchild clicked\r\n");
}

TEST(GuiMenus, ChangeAndPopupEvents) {
  TGuiScript s;
  auto r = s.Run(R"(
    var pm = new VCLPopupMenu();
    var lines = [];
    pm.onChange = function(sender, item, rebuild) {
      var what = "none";
      try { what = item.Caption + " of " + item.Count; } catch (e) { what = e; }
      lines.push((sender === pm) + " " + what + " " + rebuild);
    };
    pm.onPopup = function(sender) { lines.push("popup " + (sender === pm)); };
    var a = new VCLMenuItem();
    pm.items.add(a);
    a.Caption = "A";
    pm.popup(10, 20);
    println(lines.join("|"));
    var f = new VCLForm();
    pm.PopupComponent = f;
    println(pm.PopupComponent === f);
    pm.PopupComponent = null;
    println(pm.PopupComponent === f);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "true EVCLError true|true A of 0 false|popup true\r\ntrue\r\ntrue\r\n");
}

TEST(GuiMenus, ItemsWrapperLetsGoWithItsMenu) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.loadFromText("object F: TForm\n Menu = M1\n object M1: TMainMenu\n  object File1: TMenuItem\n   Caption = '&File'\n   object Quit1: TMenuItem\n    Caption = 'Quit'\n   end\n  end\n end\nend\n");
    var items = f.M1.items;
    println(items.Count + " " + items.items(0).Caption + " " + (f.File1 === items.items(0)) + " " + (f.Menu === f.M1));
    println(f.saveToText().indexOf("Menu = M1") >= 0);
    println(f.M1.Handle != 0);
    f.M1.WindowHandle = 77;
    println(f.M1.WindowHandle);
    println(f.M1.getHelpContext(f.Quit1.Command, true) + " " + (f.Quit1.Handle > 0));
    var q = f.Quit1;
    f = null;
    try { items.Count; } catch (e) { println(e); }
    q.Count;
  )");
  EXPECT_EQ(r.out, "1 &File true true\r\ntrue\r\ntrue\r\n77\r\n0 true\r\nEVCLError\r\n");
  EXPECT_NE(r.err.find("TMenuItem - VCL is null"), std::string::npos) << r.err;
}

TEST(GuiActions, ExecuteUpdateAndLinkedClients) {
  TGuiScript s;
  auto r = s.Run(R"(
    var a = new VCLAction();
    println([a.toString(), a.VCLclassName].join(" "));
    var log = [];
    a.onExecute = function(sender) { log.push("execute " + (sender === a)); };
    a.onUpdate = function(sender) { log.push("update"); };
    println(a.execute());
    println(a.update());
    println(log.join(","));
    var f = new VCLForm();
    var b = new VCLButton(f);
    b.onClick = function() { log.push("button"); };
    var item = new VCLMenuItem();
    item.onClick = function() { log.push("item"); };
    a.Caption = "Go";
    b.action = a;
    item.action = a;
    println([b.action === a, item.action === a, b.Caption, item.Caption].join(" "));
    log = [];
    b.click();
    item.click();
    println(log.join(","));
    a.Enabled = false;
    println([b.Enabled, item.Enabled, a.execute()].join(" "));
    a.Enabled = true;
    b.action = null;
    log = [];
    b.click();
    println(b.action);
    println(log.join(","));
    a = null;
    println(item.action === null);
    try { b.action = item; } catch (e) { println(e); }
  )");
  EXPECT_EQ(r.out,
            "[object VCLAction] TAction\r\ntrue\r\ntrue\r\nupdate,execute true,update\r\n"
            "true true Go Go\r\nupdate,execute true,update,execute true\r\nfalse false false\r\n"
            "null\r\nbutton\r\nfalse\r\nEVCLError\r\n");
}

TEST(GuiActions, ItemFromADescriptionWithAnActionKeepsItsOwnClick) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.loadFromText("object F: TForm\n object M1: TPopupMenu\n  object Open1: TMenuItem\n   Action = A1\n  end\n end\n object L1: TActionList\n  object A1: TAction\n   Caption = 'Open'\n   Category = 'File'\n  end\n end\nend\n");
    var log = [];
    f.Open1.onClick = function() { log.push("item"); };
    f.A1.onExecute = function() { log.push("action"); };
    f.Open1.click();
    println(f.Open1.Caption + " " + (f.Open1.action === f.A1) + " " + f.A1.VCLclassName + " " + log.join(","));
    println(f.A1.Category);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "Open true TBasicAction action\r\nFile\r\n");
}

TEST(GuiActions, HintHandlerGetsNoSenderAndChangesTheHint) {
  TGuiScript s;
  s.AllowEvents(true);
  auto r = s.Run(R"(
    var f = new VCLForm();
    var b = new VCLButton(f);
    var a = new VCLAction();
    a.Hint = "Saves the file";
    a.onHint = function(hint, handled) {
      println(arguments.length + " " + hint.text);
      hint.text = "Save, Ctrl+S";
    };
    b.action = a;
  )");
  EXPECT_EQ(r.err, "");
  engine::TJValue v;
  std::string hint;
  auto* form = fw::Screen()->Forms(fw::Screen()->FormCount() - 1);
  auto* button = form->Controls(0);
  EXPECT_TRUE(button->HintToShow(hint));
  EXPECT_EQ(hint, "Save, Ctrl+S");
  EXPECT_EQ(s.Out(), "2 Saves the file\r\n");
}

TEST(GuiActions, IdleUpdateDisablesTheLinkedItem) {
  TGuiScript s;
  s.AllowEvents(true);
  auto r = s.Run(R"(
    var f = new VCLForm();
    var mm = new VCLMainMenu();
    var save = new VCLMenuItem(); save.Caption = "Save";
    mm.items.add(save);
    f.Menu = mm;
    var dirty = false;
    var a = new VCLAction();
    a.onUpdate = function(sender) { sender.Enabled = dirty; println("update " + dirty); };
    save.action = a;
    f.show();
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(fw::Application()->Idle());
  EXPECT_EQ(s.Out(), "update false\r\n");
  auto* form = fw::Screen()->Forms(fw::Screen()->FormCount() - 1);
  ASSERT_NE(form->Menu(), nullptr);
  EXPECT_FALSE(form->Menu()->Items()->Items(0)->Enabled());
  s.Component().Engine().EventLoopAllowed = false;
}

}  // namespace
