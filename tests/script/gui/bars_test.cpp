// Timers, and the bar-shaped controls, driven by scripts against the framework's models.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/fw/form.h"
#include "platform/fw/form_text.h"
#include "platform/fw/timer.h"
#include "script/gui/caster.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using guitest::TGuiScript;

TEST(GuiTimer, ScriptTimerTicksWhileEnabledAndStopsWhenReleased) {
  TGuiScript s;
  s.AllowEvents(true);
  auto r = s.Run(R"(
    var ticks = 0;
    var t = new VCLTimer();
    t.Interval = 100;
    t.Enabled = true;
    println(t.VCLclassName + " " + t.Interval + " " + t.Enabled);
    t.onTimer = function(sender) {
      ticks++;
      println("tick " + ticks + " " + (sender === t));
      if (ticks == 2) { t.Enabled = false; }
      if (ticks == 4) { t = null; }
    };
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out, "TTimer 100 true\r\n");
  EXPECT_EQ(s.Timers().Running(), 1);
  s.Timers().Advance(350);
  // Disabled from its own handler at the second tick: it stops counting.
  EXPECT_EQ(s.Out(), "TTimer 100 true\r\ntick 1 true\r\ntick 2 true\r\n");
  EXPECT_EQ(s.Timers().Running(), 0);
  fw::Application()->ProcessMessages();
}

TEST(GuiTimer, DroppedTimerStopsCounting) {
  TGuiScript s;
  s.AllowEvents(true);
  auto r = s.Run(R"(
    var ticks = 0;
    var t = new VCLTimer();
    t.Interval = 50;
    t.onTimer = function(sender) { ticks++; println("tick " + ticks); if (ticks == 2) t = null; };
  )");
  ASSERT_EQ(r.err, "");
  s.Timers().Advance(120);
  fw::Application()->ProcessMessages();
  // The wrapper let go of the timer it made once its handler was over: nothing counts any more.
  EXPECT_EQ(s.Timers().Running(), 0);
  s.Timers().Advance(500);
  EXPECT_EQ(s.Out(), "tick 1\r\ntick 2\r\n");
}

TEST(GuiTimer, TimerFromADescriptionIsWrappedAndKeepsItsSettings) {
  TGuiScript s;
  s.AllowEvents(true);
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.loadFromText("object F: TForm\n object T1: TTimer\n Interval = 40\n end\nend\n");
    var n = 0;
    println(f.T1.VCLclassName + " " + f.T1.Interval + " " + f.T1.Enabled + " " + (f.T1 === f.components(0)));
    println(f.saveToText().indexOf("Interval = 40") >= 0);
    f.T1.onTimer = function() { n++; println("tick " + n); };
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out, "TTimer 40 true true\r\ntrue\r\n");
  s.Timers().Advance(100);
  EXPECT_EQ(s.Out(), "TTimer 40 true true\r\ntrue\r\ntick 1\r\ntick 2\r\n");
}

TEST(GuiTimer, TimerFreedWithItsFormStopsAndLeavesItsWrapperUnbound) {
  TGuiScript s;
  s.AllowEvents(true);
  auto r = s.Run(R"(
    var calls = 0;
    var f = new VCLForm();
    f.loadFromText("object F: TForm\n object T1: TTimer\n Interval = 10\n end\nend\n");
    var t = f.T1;
    t.onTimer = function() { calls++; println("tick " + calls); if (calls == 2) f = null; };
    println(t.Owner === f);
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(s.Timers().Running(), 1);
  s.Timers().Advance(25);
  fw::Application()->ProcessMessages();
  EXPECT_EQ(s.Timers().Running(), 0);
  s.Timers().Advance(100);
  EXPECT_EQ(s.Out(), "true\r\ntick 1\r\ntick 2\r\n") << s.Err();
  EXPECT_EQ(s.Timers().Running(), 0);
}

TEST(GuiTabControl, TabsLayoutAndHitTestsFollowTheModel) {
  TGuiScript s;
  auto r = s.Run(R"(
    var t = new VCLTabControl();
    t.Width = 200; t.Height = 100; t.TabWidth = 60; t.TabHeight = 18;
    t.tabs.add("One"); t.tabs.add("Two"); t.tabs.add("Three"); t.tabs.add("Four");
    println(t.tabs === t.tabs);
    println(t.tabs.count + " " + t.TabIndex + " " + t.RowCount);
    var r = t.tabRect(1);
    println(r.left + "," + r.top + "," + r.right + "," + r.bottom);
    println(t.indexOfTabAt(70, 5) + " " + t.indexOfTabAt(70, 50) + " " + t.indexOfTabAt(-5, 5));
    println(t.getHitTestInfoAt(70, 5) + " " + t.getHitTestInfoAt(70, 50) + " " + t.getHitTestInfoAt(-1, 500));
    var d = t.DisplayRect;
    println(d.left + "," + d.top + "," + d.right + "," + d.bottom + " " + (d !== t.DisplayRect));
    t.MultiLine = true;
    println(t.RowCount + " " + t.tabRect(3).top);
    t.MultiLine = false;
    println(t.scrollTabs(2) === t);
    println(t.indexOfTabAt(5, 5) + " " + t.tabRect(0).right);
    t.scrollTabs(100);
    println(t.indexOfTabAt(5, 5));
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "true\r\n4 -1 1\r\n62,0,122,18\r\n1 -1 -1\r\nhtOnItem htNowhere htBelow,htToLeft\r\n"
            "4,22,196,96 true\r\n2 18\r\ntrue\r\n2 -58\r\n3\r\n");
}

TEST(GuiTabControl, ChangingMayRefuseAndTabIndexFollowsTheTabs) {
  TGuiScript s;
  s.AllowEvents(true);
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.loadFromText("object F: TForm\n object T1: TTabControl\n Tabs.Strings = (\n 'a'\n 'b'\n 'c')\n TabIndex = 2\n end\nend\n");
    var t = f.T1;
    var log = "";
    var allow = false;
    t.onChanging = function(sender, allowChange) { log += "changing" + t.TabIndex + ";"; allowChange.bool = allow; };
    t.onChange = function(sender) { log += "change" + t.TabIndex + ";"; };
    t.onResize = function(sender) { log += "resize" + t.Width + ";"; };
    t.Width = 150;
    println(t.VCLclassName + " " + t.tabs.count + " " + t.TabIndex + " " + t.tabs.text.length);
    t.TabIndex = 7;
    println(t.TabIndex);
    t.TabIndex = 0;
    println(t.TabIndex + " " + log);
    t.tabs.clear();
    println(t.TabIndex);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "TTabControl 3 2 9\r\n2\r\n0 resize150;\r\n-1\r\n");
}

TEST(GuiTabControl, TabsAndTimersTravelThroughBinaryAndTextDescriptions) {
  namespace fsys = std::filesystem;
  fsys::path dir = fsys::temp_directory_path() / ("gui_bars_" + std::to_string(::getpid()));
  fsys::create_directories(dir);
  const std::string binPath = (dir / "tabs.dfm").string();
  {
    std::ofstream bin(binPath, std::ios::binary);
    bin << fw::ObjectTextToBinary(
        "object F: TForm\n  object T1: TTabControl\n    TabWidth = 50\n    Tabs.Strings = (\n      'a'\n      'b')\n"
        "    TabIndex = 1\n  end\n  object Tm: TTimer\n    Enabled = False\n    Interval = 30\n  end\nend\n");
  }
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.loadFromFile(")" + binPath + R"(");
    println(f.T1.tabs.commaText + " " + f.T1.TabIndex + " " + f.T1.TabWidth + " " + f.Tm.Interval + " " + f.Tm.Enabled);
    var text = f.saveToText();
    var g = new VCLForm();
    g.loadFromText(text);
    println(g.T1.tabs.commaText + " " + g.T1.TabIndex + " " + (g.saveToText() == text));
    print(text);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.substr(0, r.out.find("object")), "a,b 1 50 30 false\r\na,b 1 true\r\n");
  EXPECT_NE(r.out.find("TabIndex = 1"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Interval = 30"), std::string::npos) << r.out;
  fsys::remove_all(dir);
}

}  // namespace
