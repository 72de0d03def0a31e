// Scripts driving the common dialogs, answered by the test's scripted dialog service: what
// "execute" answers, the events a dialog raises while it is up (a refused onCanClose keeps it
// open), modeless find and replace dialogs whose searches arrive after "execute" returned, the
// wrapper of each dialog class, and dialogs kept in form descriptions.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/fw/common_dialogs.h"
#include "platform/fw/form.h"
#include "platform/fw/form_text.h"
#include "script/gui/caster.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using guitest::TGuiScript;

TEST(GuiDialogs, OpenDialogEventsAndARefusedChoice) {
  TGuiScript s;
  s.Dialogs().OnFileDialog = [](fw::TOpenDialog& d) {
    d.FolderChanged();
    d.SelectionChanged();
    d.TypeChanged(2);
    if (d.Choose({"/tmp/first.txt"})) return true;
    return d.Choose({"/tmp/second.txt", "/tmp/third.txt"});
  };
  auto r = s.Run(R"(
    var od = new VCLOpenDialog();
    println(od + " " + od.VCLclassName + " " + od.FilterIndex + " [" + od.Options + "]");
    od.Title = "Open a text";
    od.Filter = "Text|*.txt|All|*.*";
    od.Options = "ofAllowMultiSelect,ofFileMustExist";
    var log = "";
    od.onShow = function(sender) { log += "show(" + (sender === od) + ") "; };
    od.onFolderChange = function(sender) { log += "folder "; };
    od.onSelectionChange = function(sender) { log += "selection "; };
    od.onTypeChange = function(sender) { log += "type" + sender.FilterIndex + " "; };
    od.onCanClose = function(sender, canClose) {
      log += "canClose(" + sender.FileName + "," + canClose.bool + ") ";
      if (sender.FileName == "/tmp/first.txt") canClose.bool = false;
    };
    od.onClose = function(sender) { log += "close"; };
    var ok = od.execute();
    println(log);
    println(ok + " " + od.FileName + " " + od.Files.count + " " + od.Files.commaText);
    od.onCanClose = null;
    ok = od.execute();
    println(ok + " " + od.FileName);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "[object VCLOpenDialog] TOpenDialog 1 [ofHideReadOnly,ofEnableSizing]\r\n"
            "show(true) folder selection type2 canClose(/tmp/first.txt,true) "
            "canClose(/tmp/second.txt,true) close\r\n"
            "true /tmp/second.txt 2 /tmp/second.txt,/tmp/third.txt\r\n"
            "true /tmp/first.txt\r\n");
  ASSERT_EQ(s.Dialogs().Log.size(), 2u);
  EXPECT_EQ(s.Dialogs().Log[0].kind, "open");
  EXPECT_EQ(s.Dialogs().Log[0].caption, "Open a text");
}

TEST(GuiDialogs, SaveDialogIsAnOpenDialogThatSaves) {
  TGuiScript s;
  s.Dialogs().OnFileDialog = [](fw::TOpenDialog& d) {
    d.FolderChanged();
    d.SelectionChanged();
    d.TypeChanged(1);
    return d.Choose({"/tmp/report"}) || d.Choose({"/tmp/report2"});
  };
  auto r = s.Run(R"(
    var sd = new VCLSaveDialog();
    sd.DefaultExt = "csv";
    var log = [];
    sd.onFolderChange = function(s) { log.push("folder"); };
    sd.onSelectionChange = function(s) { log.push("selection"); };
    sd.onTypeChange = function(s) { log.push("type"); };
    sd.onCanClose = function(s, c) { log.push(s.FileName); c.bool = s.FileName != "/tmp/report.csv"; };
    var ok = sd.execute();
    println(sd + " " + ok + " " + sd.FileName + " " + log.join(","));
    // Refused both times now: the dialog is left with Cancel and the earlier name stays.
    sd.onCanClose = function(s, c) { c.bool = false; };
    ok = sd.execute();
    println(ok + " " + sd.FileName);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "[object VCLSaveDialog] true /tmp/report2.csv folder,selection,type,/tmp/report.csv,/tmp/report2.csv\r\n"
            "false /tmp/report2.csv\r\n");
  ASSERT_EQ(s.Dialogs().Log.size(), 2u);
  EXPECT_EQ(s.Dialogs().Log[1].kind, "save");
}

TEST(GuiDialogs, AFailingCanCloseHandlerReachesTheScript) {
  TGuiScript s;
  s.Dialogs().OnFileDialog = [](fw::TOpenDialog& d) { return d.Choose({"/x"}); };
  auto r = s.Run(R"(
    var od = new VCLOpenDialog();
    od.FileName = "/before";
    var closed = false;
    od.onClose = function(s) { closed = true; };
    od.onCanClose = function(s, c) { c.bool = true; throw "no"; };
    try { od.execute(); } catch (e) { println("caught " + e); }
    println(od.FileName + " " + closed);
    od.execute();
  )");
  EXPECT_EQ(r.out, "caught EVCLError\r\n/before true\r\n");
  EXPECT_NE(r.err.find("EVCLError"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("TOpenDialog - "), std::string::npos) << r.err;
}

TEST(GuiDialogs, FontDialogAppliesAndAnswersTheChosenFont) {
  TGuiScript s;
  s.Dialogs().OnFontDialog = [](fw::TFontDialog& d) {
    fw::TFont f;
    f.SetName("Serif");
    f.SetSize(20);
    f.SetStyle(fw::TFontStyles{fw::fsBold});
    d.Apply(f);
    return true;
  };
  auto r = s.Run(R"(
    var fd = new VCLFontDialog();
    fd.Options = "fdEffects,fdApplyButton";
    fd.Font.Name = "Mono";
    var seen = "";
    fd.onApply = function(sender, wnd) {
      seen = (sender === fd) + " " + (typeof wnd) + " " + (wnd > 0) + " " + sender.Font.Name;
    };
    var ok = fd.execute();
    println(fd + " " + ok + " " + seen);
    println(fd.Font.Name + " " + fd.Font.Size + " " + fd.Font.Style + " " + fd.Options);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "[object VCLFontDialog] true true number true Serif\r\n"
            "Serif 20 fsBold fdEffects,fdApplyButton\r\n");
  ASSERT_EQ(s.Dialogs().Log.size(), 1u);
  EXPECT_EQ(s.Dialogs().Log[0].text, "Mono");
}

TEST(GuiDialogs, FindAndReplaceDialogsReportSearchesAfterExecuteReturned) {
  TGuiScript s;
  fw::TFindDialog* shown = nullptr;
  s.Dialogs().OnFindDialog = [&](fw::TFindDialog& d) {
    shown = &d;
    return true;
  };
  auto r = s.Run(R"(
    var memo = "one two one";
    var fd = new VCLFindDialog();
    fd.FindText = "one";
    fd.onShow = function(s) { println("shown " + s.FindText); };
    fd.onFind = function(s) {
      var at = memo.indexOf(s.FindText);
      println("find " + s.FindText + " at " + at + " [" + s.Options + "]");
    };
    fd.onClose = function(s) { println("closed " + s); };
    println("execute " + fd.execute());
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "shown one\r\nexecute true\r\n");
  ASSERT_NE(shown, nullptr);
  EXPECT_FALSE(shown->IsReplaceDialog());
  // The user searches while the script waits for events.
  s.AllowEvents(true);
  shown->Find("two", fw::TFindOptions{fw::frDown, fw::frMatchCase});
  shown->UserClosed();
  EXPECT_EQ(s.Out(),
            "shown one\r\nexecute true\r\nfind two at 4 [frDown,frFindNext,frMatchCase]\r\nclosed [object VCLFindDialog]\r\n");

  // A replace dialog answered while it shows, then closed by the script.
  s.Dialogs().OnFindDialog = [](fw::TFindDialog& d) {
    auto& rd = static_cast<fw::TReplaceDialog&>(d);
    rd.Replace("a", "x", {}, false);
    rd.Find("b", {});
    rd.Replace("a", "y", {}, true);
    return true;
  };
  auto r2 = s.Run(R"(
    var rd = new VCLReplaceDialog();
    var text = "a-b-a";
    rd.onFind = function(s) { println("find " + s.FindText + " [" + s.Options + "]"); };
    rd.onReplace = function(s) {
      var all = s.Options.indexOf("frReplaceAll") >= 0;
      text = all ? text.split(s.FindText).join(s.ReplaceText) : text.replace(s.FindText, s.ReplaceText);
      println((all ? "all " : "one ") + text);
    };
    rd.onClose = function(s) { println("closed"); };
    var ok = rd.execute();
    println(rd + " " + ok);
    rd.closeDialog();
    rd.closeDialog();
    println(rd.FindText + " " + rd.ReplaceText + " " + rd.closeDialog().FindText);
  )");
  EXPECT_EQ(r2.err, "");
  EXPECT_EQ(r2.out,
            "one x-b-a\r\nfind b [frFindNext]\r\nall x-b-y\r\n[object VCLReplaceDialog] true\r\nclosed\r\n"
            "a y a\r\n");
  EXPECT_EQ(s.Dialogs().Log.back().kind, "close");
}

TEST(GuiDialogs, EveryDialogClassHasItsWrapperAndUnboundDialogsFail) {
  TGuiScript s;
  auto& engine = s.Component().Engine();
  fw::TForm form(nullptr);
  gui::TJVCLCaster& caster = gui::GetCaster();
  engine::TJRef<engine::TJObject> open(caster.Cast(new fw::TOpenDialog(&form), &engine)),
      save(caster.Cast(new fw::TSaveDialog(&form), &engine)), font(caster.Cast(new fw::TFontDialog(&form), &engine)),
      find(caster.Cast(new fw::TFindDialog(&form), &engine)),
      replace(caster.Cast(new fw::TReplaceDialog(&form), &engine));
  EXPECT_EQ(open->Name(), "VCLOpenDialog");
  EXPECT_EQ(save->Name(), "VCLSaveDialog");
  EXPECT_EQ(font->Name(), "VCLFontDialog");
  EXPECT_EQ(find->Name(), "VCLFindDialog");
  EXPECT_EQ(replace->Name(), "VCLReplaceDialog");

  auto r = s.Run(R"(
    var d = new VCLReplaceDialog();
    var o = new VCLOpenDialog();
    var t1 = typeof d.closeDialog;
    var t2 = typeof o.closeDialog;
    var t3 = typeof o.execute;
    println(t1 + " " + t2 + " " + t3 + " " + d.VCLclassName);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "function undefined function TReplaceDialog\r\n");
  // A form freed takes its dialog along; the files object then holds no list.
  auto r2 = s.Run(R"(
    var g = new VCLForm();
    g.loadFromText("object G: TForm\n  object FD: TFontDialog\n  end\nend\n");
    var fd = g.FD;
    var sd = new VCLSaveDialog();
    var files = sd.Files;
    sd = null;
    try { println(files.count); } catch (e) { println(e); }
    g = null;
    fd.execute();
  )");
  EXPECT_EQ(r2.out, "EStringsError\r\n");
  EXPECT_NE(r2.err.find("TFontDialog - VCL is null"), std::string::npos) << r2.err;
}

TEST(GuiDialogs, DialogsTravelThroughBinaryAndTextDescriptions) {
  namespace fsys = std::filesystem;
  fsys::path dir = fsys::temp_directory_path() / ("gui_dialogs_" + std::to_string(::getpid()));
  fsys::create_directories(dir);
  const std::string binPath = (dir / "dialogs.dfm").string();
  {
    std::ofstream bin(binPath, std::ios::binary);
    bin << fw::ObjectTextToBinary(
        "object F: TForm\n"
        "  object OD: TOpenDialog\n    DefaultExt = 'txt'\n    Filter = 'Text|*.txt|All|*.*'\n"
        "    FilterIndex = 2\n    Options = [ofAllowMultiSelect, ofFileMustExist]\n    Title = 'Pick'\n  end\n"
        "  object SD: TSaveDialog\n    Options = [ofOverwritePrompt]\n  end\n"
        "  object FontD: TFontDialog\n    Font.Name = 'Serif'\n    Font.Style = [fsItalic]\n"
        "    MinFontSize = 6\n    MaxFontSize = 30\n    Options = [fdLimitSize, fdApplyButton]\n  end\n"
        "  object FindD: TFindDialog\n    FindText = 'needle'\n    Options = [frDown, frMatchCase]\n  end\n"
        "  object RepD: TReplaceDialog\n    FindText = 'a'\n    ReplaceText = 'b'\n  end\n"
        "end\n");
  }
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.loadFromFile(")" + binPath + R"(");
    function show(f) {
      println(f.OD.VCLclassName + " " + f.OD.DefaultExt + " " + f.OD.Filter + " " + f.OD.FilterIndex + " " + f.OD.Options + " " + f.OD.Title);
      println(f.SD.VCLclassName + " " + f.SD.Options + " " + f.FontD.Font.Name + " " + f.FontD.Font.Style + " " + f.FontD.MinFontSize
              + " " + f.FontD.MaxFontSize + " " + f.FontD.Options);
      println(f.FindD.VCLclassName + " " + f.FindD.FindText + " " + f.FindD.Options + " " + f.RepD.VCLclassName + " " + f.RepD.FindText + f.RepD.ReplaceText);
    }
    show(f);
    var text = f.saveToText();
    var g = new VCLForm();
    g.loadFromText(text);
    show(g);
    println(g.saveToText() == text);
    print(text);
  )");
  EXPECT_EQ(r.err, "");
  const std::string shown =
      "TOpenDialog txt Text|*.txt|All|*.* 2 ofAllowMultiSelect,ofFileMustExist Pick\r\n"
      "TSaveDialog ofOverwritePrompt Serif fsItalic 6 30 fdLimitSize,fdApplyButton\r\n"
      "TFindDialog needle frDown,frMatchCase TReplaceDialog ab\r\n";
  EXPECT_EQ(r.out.substr(0, r.out.find("object")), shown + shown + "true\r\n");
  EXPECT_NE(r.out.find("object RepD: TReplaceDialog"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("Files"), std::string::npos) << r.out;
  fsys::remove_all(dir);
}

}  // namespace
