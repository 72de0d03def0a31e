// The GUI bridge driven by scripts against the framework's models (no windows): wrapper identity,
// binding and unbinding, events and their arguments, the form's close protocol and descriptions,
// the edit and memo surface, and the faults the bridge guards against.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/fw/button.h"
#include "platform/fw/drag_drop.h"
#include "platform/fw/form.h"
#include "platform/fw/form_text.h"
#include "script/gui/caster.h"
#include "script/gui/component_wrapper.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using guitest::TGuiScript;

TEST(GuiBridge, OneWrapperPerComponentWhateverTheRoute) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.loadFromText("object F: TForm\n object B1: TButton\n Caption = 'x'\n end\nend\n");
    var b = f.B1;
    println((b === f.components(0)) + " " + (b === f.controls(0)) + " " + (b.parent === f) + " " + (b.Owner === f));
    println(b.VCLclassName + " " + f.VCLclassName + " " + b.ComponentIndex + " " + f.ComponentCount);
    // A wrapper reached another way does not take the events of the one the script holds.
    var hits = 0;
    b.onClick = function() { hits++; };
    var again = f.findChildControl("B1");
    again.click();
    println(hits + " " + (again === b));
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "true true true true\r\nTButton TForm 0 1\r\n1 true\r\n");
}

TEST(GuiBridge, CasterPicksTheNearestListedClass) {
  TGuiScript s;
  auto& engine = s.Component().Engine();
  fw::TForm form(nullptr);
  auto* scroll = new fw::TWinControl(&form);  // a window control no family claims
  auto* graphic = new fw::TGraphicControl(&form);
  auto* button = new fw::TButton(&form);
  gui::TJVCLCaster& caster = gui::GetCaster();
  engine::TJRef<engine::TJObject> w1(caster.Cast(scroll, &engine));
  engine::TJRef<engine::TJObject> w2(caster.Cast(graphic, &engine));
  engine::TJRef<engine::TJObject> w3(caster.Cast(button, &engine));
  engine::TJRef<engine::TJObject> w4(caster.Cast(form.Font(), &engine));
  EXPECT_EQ(w1->Name(), "VCLWinControl");
  EXPECT_EQ(w2->Name(), "VCLControl");
  EXPECT_EQ(w3->Name(), "VCLButton");
  EXPECT_EQ(w4->Name(), "VCL");
  EXPECT_EQ(caster.Cast(button, &engine), w3.get());
  EXPECT_EQ(caster.Cast(nullptr, &engine), nullptr);
}

TEST(GuiBridge, TagPassesThroughAndSurvivesUnbinding) {
  TGuiScript s;
  auto& engine = s.Component().Engine();
  fw::TForm form(nullptr);
  form.SetName("TagForm");
  auto* button = new fw::TButton(&form);
  button->SetName("Tagged");
  button->SetParent(&form);
  button->SetTag(7);
  {
    engine::TJRef<engine::TJObject> w(gui::GetCaster().Cast(button, &engine));
    auto* wrapper = static_cast<gui::TJVCLComponent*>(w.get());
    EXPECT_EQ(wrapper->GetTag(), 7);
    wrapper->SetTag(9);
    EXPECT_EQ(button->Tag(), 9);
    EXPECT_EQ(button->BridgeLink(), wrapper);
    wrapper->ReleaseVCL();
    EXPECT_EQ(button->BridgeLink(), nullptr);
    EXPECT_EQ(button->Tag(), 9);
  }
  // The description written never holds a wrapper's address.
  EXPECT_NE(fw::WriteComponentText(&form).find("Tag = 9"), std::string::npos);
}

TEST(GuiBridge, FreedComponentLeavesItsWrapperUnbound) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.loadFromText("object F: TForm\n object B1: TButton\n end\nend\n");
    var b = f.B1;
    f = null;
    println(b.ComponentCount + " " + b.ComponentIndex);
    b.click();
  )");
  EXPECT_EQ(r.out, "0 -1\r\n");
  EXPECT_NE(r.err.find("EVCLError"), std::string::npos);
  EXPECT_NE(r.err.find("TButton - VCL is null"), std::string::npos) << r.err;
}

TEST(GuiBridge, RefusedWriteIsAnErrorAndCreatesNoMember) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    try { f.BorderStyle = "bsBogus"; } catch (e) { println(e); }
    println(f.BorderStyle);
    f.BorderStyle = "bsDialog";
    println(f.BorderStyle);
    f.BorderStyle = 12345;
  )");
  EXPECT_EQ(r.out, "EVCLError\r\nbsSizeable\r\nbsDialog\r\n");
  EXPECT_NE(r.err.find("Invalid property value: BorderStyle"), std::string::npos) << r.err;
}

TEST(GuiBridge, HandlerThatFreesItsOwnFormDoesNotCrash) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    var b = new VCLButton(f);
    b.onClick = function(sender) { f = null; println("dropped " + sender.Caption); };
    b.Caption = "go";
    b.click();
    println("after " + b.Caption);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "dropped go\r\nafter go\r\n");
  // The form went once the event was over, its button with it.
  int forms = fw::Screen()->FormCount();
  auto r2 = s.Run(R"(
    var f = new VCLForm();
    var b = new VCLButton(f);
    b.onClick = function() { f = null; };
    b.click();
    println(b.Caption == "");
  )");
  EXPECT_EQ(r2.out, "true\r\n");
  EXPECT_EQ(fw::Screen()->FormCount(), forms);
}

TEST(GuiBridge, ControlsPlacedOnAFormStayWithTheirHandlers) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    function build() {
      var b = new VCLButton(f);
      b.Name = "Go";
      b.onClick = function() { println("still here"); };
    }
    build();
    f.controls(0).click();
    var moved = new VCLButton(5);
    println(moved.hasParent() + " " + f.ControlCount);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "still here\r\nfalse 1\r\n");
}

TEST(GuiBridge, BoxedArgumentsAreCopiedBackEvenWhenTheHandlerThrows) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.Name = "Boxes";
    f.onCloseQuery = function(sender, canClose) { canClose.bool = false; throw "stop"; };
    var closed = 0;
    f.onClose = function() { closed++; };
    // A script error raised inside a native's framework call arrives as the native's error.
    try { f.close(); } catch (e) { println("caught " + e + " " + closed); }
  )");
  EXPECT_EQ(r.out, "caught EVCLError 0\r\n");
  fw::TCustomForm* form = nullptr;
  for (int i = 0; i < fw::Screen()->FormCount(); ++i)
    if (fw::Screen()->Forms(i)->Name() == "Boxes") form = fw::Screen()->Forms(i);
  ASSERT_NE(form, nullptr);
  bool canClose = true;
  s.Component().Engine().MainFinished = false;  // errors in handlers reach the caller
  s.AllowEvents(true);
  EXPECT_THROW(form->OnCloseQuery(form, canClose), engine::EJThrow);
  s.AllowEvents(false);
  EXPECT_FALSE(canClose);
}

TEST(GuiBridge, KeyAndMouseEventsReachHandlersWithTheirArguments) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    var e = new VCLEdit(f);
    e.Name = "E";
    e.onKeyPress = function(sender, key) { if (key.int == 97) key.int = 0; else key.int = 66; };
    e.onKeyDown = function(sender, key, shift) { println("down " + key.int + " [" + shift + "]"); key.int = 0; };
    e.onMouseDown = function(sender, button, shift, x, y) { println(button + " [" + shift + "] " + x + "," + y + " " + (sender === e)); };
  )");
  EXPECT_EQ(r.err, "");
  // The handlers run from the framework's input calls, as a peer makes them.
  auto* form = dynamic_cast<fw::TForm*>(fw::Screen()->Forms(fw::Screen()->FormCount() - 1));
  ASSERT_NE(form, nullptr);
  auto* edit = dynamic_cast<fw::TWinControl*>(form->FindChildControl("E"));
  ASSERT_NE(edit, nullptr);
  s.AllowEvents(true);
  char a = 'a', z = 'z';
  edit->KeyPress(a);
  edit->KeyPress(z);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(z, 'B');
  uint16_t key = 0x41;
  EXPECT_TRUE(edit->KeyDown(key, fw::TShiftState{fw::ssShift, fw::ssCtrl}));
  EXPECT_EQ(key, 0);
  edit->MouseDown(fw::mbLeft, fw::TShiftState{fw::ssShift, fw::ssLeft}, 3, 4);
  s.AllowEvents(false);
  EXPECT_EQ(s.Out(), "down 65 [ssShift,ssCtrl]\r\nmbLeft [ssShift,ssLeft] 3,4 true\r\n");
  EXPECT_EQ(s.Err(), "");
}

TEST(GuiBridge, MainFormClosingEndsTheEventLoopAndCloseActionsApply) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm(true);
    var g = new VCLForm(1);
    println(f.main + " " + g.main + " " + new VCLForm().main);
    eventLoop();
    f.show();
    f.close();
    println("terminated " + terminated + " visible " + f.Visible);
    var h = new VCLForm();
    h.onClose = function(sender, action) { println("action " + action.text); action.text = "nonsense"; };
    h.show(); h.close();
    println("hidden " + !h.Visible);
    h.onClose = function(sender, action) { action.text = 0; };
    h.show(); h.close();
    println("kept " + h.Visible);
    h.onClose = function(sender, action) { action.text = "caFree"; };
    h.close();
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "true false false\r\nterminated true visible false\r\naction caHide\r\nhidden true\r\nkept true\r\n");
  // caFree: the form went once the event was over.
  auto r2 = s.Run(R"(
    var h = new VCLForm();
    h.onClose = function(sender, action) { action.text = 2; };
    h.close();
  )");
  EXPECT_EQ(r2.err, "");
}

TEST(GuiBridge, FormDescriptionsRoundTripThroughTextAndFiles) {
  namespace fsys = std::filesystem;
  fsys::path dir = fsys::temp_directory_path() / ("gui_bridge_" + std::to_string(::getpid()));
  fsys::create_directories(dir);
  std::string path = (dir / "saved.dfm").string();
  std::string binPath = (dir / "binary.dfm").string();
  {
    std::ofstream bin(binPath, std::ios::binary);
    bin << fw::ObjectTextToBinary("object F: TForm\n  Caption = 'From binary'\n  object L1: TLabel\n    Caption = 'hi'\n  end\nend\n");
  }
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.loadFromText("object Form1: TForm\n Caption = 'T'\n object Memo1: TMemo\n Left = 3\n end\n object Button1: TButton\n Caption = 'B'\n end\nend\n");
    f.saveToFile(")" + path + R"(");
    var g = new VCLForm();
    g.loadFromFile(")" + path + R"(");
    println(g.Caption + " " + g.Memo1.Left + " " + g.Button1.Caption + " " + (g.saveToText() == f.saveToText()));
    var b = new VCLForm();
    b.loadFromFile(")" + binPath + R"(");
    println(b.Caption + " " + b.L1.Caption);
    try { b.loadFromFile("no such file.dfm"); } catch (e) { println(e); }
    b.loadFromText("object X: TForm\n  Caption = \n");
  )");
  EXPECT_EQ(r.out, "T 3 B true\r\nFrom binary hi\r\nEVCLError\r\n");
  // Broken text reports the parser's own message with its line.
  EXPECT_NE(r.err.find("TForm - "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("line"), std::string::npos) << r.err;
  fsys::remove_all(dir);
}

TEST(GuiBridge, ScrollByMovesChildrenAndScaleByScales) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    var b = new VCLButton(f);
    b.setBounds(10, 20, 100, 30);
    f.scrollBy(5, -3);
    println(b.Left + " " + b.Top + " " + b.Width + " " + b.Height);
    f.scaleBy(2, 1);
    println(b.Left + " " + b.Top + " " + b.Width);
    f.scrollBy(0, 0);
    f.scaleBy(1, 0);
  )");
  EXPECT_EQ(r.out, "15 17 100 30\r\n30 34 200\r\n");
  EXPECT_NE(r.err.find("TForm - Division by zero"), std::string::npos) << r.err;
}

TEST(GuiBridge, SubObjectWrapperDiesWithItsOwner) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    var font = f.Font;
    font.Size = 14;
    println(f.Font.Size + " " + (font === f.Font));
    f = null;
    font.Size = 3;
  )");
  EXPECT_EQ(r.out, "14 true\r\n");
  EXPECT_NE(r.err.find("VCL is null"), std::string::npos) << r.err;
}

TEST(GuiBridge, UnbindingAnAdoptedComponentClearsItsEvents) {
  TGuiScript s;
  auto& engine = s.Component().Engine();
  fw::TForm form(nullptr);
  auto* button = new fw::TButton(&form);
  {
    engine::TJRef<engine::TJObject> w(gui::GetCaster().Cast(button, &engine));
    EXPECT_TRUE(bool(button->OnClick));
    EXPECT_TRUE(bool(button->OnKeyDown));
    static_cast<gui::TJVCLComponent*>(w.get())->ReleaseVCL();
  }
  EXPECT_FALSE(bool(button->OnClick));
  EXPECT_FALSE(bool(button->OnKeyDown));
  EXPECT_FALSE(bool(button->OnMouseDown));
  button->Click();  // nothing left to call
}

TEST(GuiBridge, EventNamesComeFromThePublishedEvents) {
  TGuiScript s;
  auto r = s.Run(R"(
    var b = new VCLButton();
    var names = b.getEvents();
    var text = "," + names.join(",") + ",";
    println(text.indexOf(",onClick,") >= 0 && text.indexOf(",onKeyDown,") >= 0 && text.indexOf(",onStartDrag,") >= 0);
    println(text.indexOf(",onDragDropFiles,") >= 0 && text.indexOf(",OnClick,") < 0);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "true\r\ntrue\r\n");
}

TEST(GuiBridge, EditSelectionCountsCharactersAndMemoLinesFollowTheText) {
  TGuiScript s;
  auto r = s.Run(R"(
    var e = new VCLEdit();
    var changes = 0;
    e.onChange = function() { changes++; };
    e.Text = "日本語テキスト";
    e.SelStart = 2; e.SelLength = 3;
    println(e.SelText + " " + e.SelStart + " " + e.SelLength + " " + changes);
    e.SelText = "x";
    println(e.Text + " " + e.Modified + " " + e.CanUndo + " " + changes);
    e.undo();
    println(e.Text);
    var m = new VCLMemo();
    var lines = m.lines;
    m.text = "one\ntwo";
    println(lines.count + " " + lines[1] + " " + (lines === m.lines));
    m.SelStart = 5;
    var c = m.caretPos;
    println(c.x + "," + c.y + " " + (c === m.caretPos));
    m = null;
    lines.count;
  )");
  EXPECT_EQ(r.out,
            "語テキ 2 3 1\r\n日本xスト true true 2\r\n日本語テキスト\r\n2 two true\r\n0,1 true\r\n");
  EXPECT_NE(r.err.find("strings is null"), std::string::npos) << r.err;
  auto r2 = s.Run("var e = new VCLEdit(); e.ReleaseDummy = 1; var x = new VCLEdit(); x.SelText;");
  EXPECT_EQ(r2.err, "");
}

TEST(GuiBridge, UnboundWrapperMethodsSayVclIsNull) {
  TGuiScript s;
  auto& engine = s.Component().Engine();
  fw::TForm form(nullptr);
  auto* button = new fw::TButton(&form);
  engine::TJRef<engine::TJObject> w(gui::GetCaster().Cast(button, &engine));
  auto* wrapper = static_cast<gui::TJVCLComponent*>(w.get());
  wrapper->ReleaseVCL();
  try {
    wrapper->CheckVCL(nullptr, 0);
    ADD_FAILURE() << "no error";
  } catch (const engine::EJThrow& e) {
    EXPECT_EQ(e.ErrorType, "EVCLError");
    EXPECT_EQ(e.message(), "TButton - VCL is null");
  }
}

TEST(GuiBridge, DroppedFilesAndTextReachTheScriptInClientCoordinates) {
  namespace fsys = std::filesystem;
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.Name = "DropForm";
    f.acceptDrop = true;
    println(f.acceptDrop);
    f.onDragDropFiles = function(sender, x, y, files) { println("files " + x + "," + y + " " + files.count + " " + files[1] + " " + (sender === f)); };
    f.onDragDropText = function(sender, x, y, text) { println("text " + x + "," + y + " " + text); };
  )");
  EXPECT_EQ(r.err, "");
  fw::TForm* form = nullptr;
  for (int i = 0; i < fw::Screen()->FormCount(); ++i)
    if (fw::Screen()->Forms(i)->Name() == "DropForm") form = dynamic_cast<fw::TForm*>(fw::Screen()->Forms(i));
  ASSERT_NE(form, nullptr);
  fw::TDragDropTarget* target = form->DropTarget();
  ASSERT_NE(target, nullptr);
  s.AllowEvents(true);
  fw::TDragData files;
  files.IsFiles = true;
  files.Files = {"/tmp/a.txt", "/tmp/b.txt"};
  EXPECT_EQ(target->DragEnter(files), fw::TDropEffect::Copy);
  target->Drop(files, 12, 34);
  fw::TDragData text;
  text.Text = "dropped";
  EXPECT_EQ(target->DragEnter(text), fw::TDropEffect::Link);
  target->Drop(text, 5, 6);
  s.AllowEvents(false);
  EXPECT_EQ(s.Out(), "true\r\nfiles 12,34 2 /tmp/b.txt true\r\ntext 5,6 dropped\r\n");
  EXPECT_EQ(s.Err(), "");
}

// A drag service that records what the program offers.
class TRecordingDrags : public fw::IDragDropService {
 public:
  void Register(fw::TWinControl&) override {}
  void Revoke(fw::TWinControl&) override {}
  bool StartDrag(const fw::TDragData& data, fw::TDropEffect allowed) override {
    drags.push_back(data);
    effects.push_back(allowed);
    return true;
  }
  std::vector<fw::TDragData> drags;
  std::vector<fw::TDropEffect> effects;
};

TEST(GuiBridge, DragsOutOfAFormCarryOnlyExistingFiles) {
  namespace fsys = std::filesystem;
  fsys::path dir = fsys::temp_directory_path() / ("gui_drag_" + std::to_string(::getpid()));
  fsys::create_directories(dir);
  std::ofstream(dir / "one.txt") << "1";
  std::ofstream(dir / "two.txt") << "2";
  TRecordingDrags drags;
  fw::SetDragDropService(&drags);
  TGuiScript s;
  std::string d = dir.string();
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.doDragDropFiles(")" + d + R"(", ["one.txt", "missing.txt", "two.txt"]);
    f.doDragDropFiles(")" + d + R"(/one.txt\n)" + d + R"(/two.txt");
    f.doDragDropFiles(")" + d + R"(", ["missing.txt"]);
    f.doDragDropText("some text");
    f.doDragDropText();
  )");
  fw::SetDragDropService(nullptr);
  EXPECT_NE(r.err.find("TForm - arguments error"), std::string::npos) << r.err;
  ASSERT_EQ(drags.drags.size(), 3u);
  EXPECT_EQ(drags.drags[0].Files, (std::vector<std::string>{d + "/one.txt", d + "/two.txt"}));
  EXPECT_EQ(drags.drags[1].Files.size(), 2u);
  EXPECT_EQ(drags.effects[0], fw::TDropEffect::Copy);
  EXPECT_EQ(drags.drags[2].Text, "some text");
  EXPECT_EQ(drags.effects[2], fw::TDropEffect::Link);
  fsys::remove_all(dir);
}

}  // namespace
