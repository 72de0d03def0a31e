// The names scripts see for the framework classes behind every GUI constructor, and the size,
// wheel and help events driven through the framework's models (no windows): who asks first, what
// the handlers' boxes change, and what a refusal leaves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fw/application.h"
#include "platform/fw/edit.h"
#include "platform/fw/form.h"
#include "platform/fw/keys.h"
#include "platform/fw/panel.h"
#include "script/gui/class_names.h"
#include "script/gui/component_wrapper.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using guitest::TGuiScript;

fw::TCustomForm* FormNamed(const std::string& name) {
  for (int i = 0; i < fw::Screen()->FormCount(); ++i)
    if (fw::Screen()->Forms(i)->Name() == name) return fw::Screen()->Forms(i);
  return nullptr;
}

// Each constructor "VCLThing" makes a TThing, and its wrapper names TThing in VCLclassName and
// in every error it raises, once unbound too.
TEST(GuiClassNames, EveryConstructorNamesItsOwnFrameworkClass) {
  TGuiScript s;
  std::vector<engine::TJRef<engine::TJObject>> made;
  s.Component().SetOnNewObject([&](engine::TBrindle*, engine::TJObject* o) {
    if (dynamic_cast<gui::TJVCLComponent*>(o)) made.emplace_back(o);
  });
  for (const char* constructor : gui::kVCLClassNames) {
    const std::string expected = "T" + std::string(constructor).substr(3);
    made.clear();
    auto r = s.Run("var w = new " + std::string(constructor) + "(); println(w.VCLclassName);");
    EXPECT_EQ(r.err, "") << constructor;
    EXPECT_EQ(r.out, expected + "\r\n") << constructor;
    gui::TJVCLComponent* wrapper = nullptr;
    for (auto& o : made)
      if (o->Name() == constructor) wrapper = static_cast<gui::TJVCLComponent*>(o.get());
    ASSERT_NE(wrapper, nullptr) << constructor;
    wrapper->ReleaseVCL();
    try {
      wrapper->CheckVCL(nullptr, 0);
      ADD_FAILURE() << constructor << ": no error";
    } catch (const engine::EJThrow& e) {
      EXPECT_EQ(e.ErrorType, "EVCLError");
      EXPECT_EQ(e.message(), expected + " - VCL is null");
    }
  }
  s.Component().SetOnNewObject(nullptr);
}

TEST(GuiResize, EverySizeChangeAsksCanResizeThenTheLimits) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    var p = new VCLPanel(f);
    p.setBounds(0, 0, 100, 50);
    p.onCanResize = function(sender, w, h, resize) {
      println("panel asks " + w.int + "x" + h.int + " " + (sender === p) + " " + resize.bool);
      if (w.int > 300) resize.bool = false;
      if (w.int == 150) { w.int = 160; h.int = 70; }
    };
    p.Width = 400;
    println(p.Width + "x" + p.Height);
    p.Width = 150;
    println(p.Width + "x" + p.Height);
    // A refused size keeps the size; the move still happens.
    p.setBounds(5, 6, 500, 500);
    println(p.Left + "," + p.Top + " " + p.Width + "x" + p.Height);
    // A move alone asks nothing.
    p.Left = 9;
    f.onCanResize = function(sender, w, h, resize) { println("form asks " + w.int + "x" + h.int); };
    f.onConstrainedResize = function(sender, minWidth, minHeight, maxHeight, maxWidth) {
      println("limits " + minWidth.int + " " + minHeight.int + " " + maxHeight.int + " " + maxWidth.int);
      minWidth.int = 250;
      maxHeight.int = 200;
    };
    f.onResize = function() { println("resized " + f.Width + "x" + f.Height); };
    f.Width = 100;
    f.Height = 900;
    // A handler that raises stops the change; the error reaches the script that made it.
    f.onConstrainedResize = function(sender, minWidth, minHeight, maxHeight, maxWidth) { maxWidth.int = 260; throw "no"; };
    try { f.Width = 400; } catch (e) { println("caught " + e); }
    println(f.Width);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "panel asks 400x50 true true\r\n100x50\r\n"
            "panel asks 150x50 true true\r\n160x70\r\n"
            "panel asks 500x500 true true\r\n5,6 160x70\r\n"
            "form asks 100x271\r\nlimits 0 0 0 0\r\nresized 250x200\r\n"
            "form asks 250x900\r\nlimits 0 0 0 0\r\n"
            "form asks 400x200\r\ncaught no\r\n250\r\n");
}

TEST(GuiWheel, TheWheelReachesTheFormThroughTheControlUnderTheMouse) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.Name = "Wheel";
    var b = new VCLButton(f);
    b.Name = "B";
    f.onMouseWheel = function(sender, shift, delta, pos, handled) {
      println("wheel " + (sender === f) + " " + shift + " " + delta + " " + pos.x + "," + pos.y + " " + handled.bool);
      handled.bool = delta == -240;
    };
    f.onMouseWheelDown = function(sender, shift, pos, handled) { println("down " + shift + " " + pos.x + "," + pos.y); };
    f.onMouseWheelUp = function(sender, shift, pos, handled) { println("up"); handled.bool = true; };
    var names = "," + f.getEvents().join(",") + ",";
    var wanted = ["onCanResize", "onConstrainedResize", "onMouseWheel", "onMouseWheelDown", "onMouseWheelUp", "onHelp"];
    var all = true;
    for (var i = 0; i < wanted.length; i++) all = all && names.indexOf("," + wanted[i] + ",") >= 0;
    println(all);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "true\r\n");
  fw::TCustomForm* form = FormNamed("Wheel");
  ASSERT_NE(form, nullptr);
  fw::TControl* button = form->FindChildControl("B");
  ASSERT_NE(button, nullptr);
  s.AllowEvents(true);
  fw::TShiftState shift;
  shift.include(fw::ssShift);
  // Not handled by the wheel handler: one notch down, then the button's parent answers.
  EXPECT_FALSE(button->MouseWheel(shift, -120, {30, 40}));
  // Half notches add up; the handler that handles the notch stops it.
  EXPECT_FALSE(button->MouseWheel({}, 60, {1, 2}));
  EXPECT_TRUE(button->MouseWheel({}, 60, {1, 2}));
  // Handled by the wheel handler itself: no notch event.
  EXPECT_TRUE(button->MouseWheel({}, -240, {3, 4}));
  // A disabled control passes the wheel on as well.
  button->SetEnabled(false);
  EXPECT_FALSE(button->MouseWheel({}, -120, {5, 6}));
  s.AllowEvents(false);
  EXPECT_EQ(s.Out(),
            "true\r\n"
            "wheel true ssShift -120 30,40 false\r\ndown ssShift 30,40\r\n"
            "wheel true  60 1,2 false\r\nwheel true  60 1,2 false\r\nup\r\n"
            "wheel true  -240 3,4 false\r\n"
            "wheel true  -120 5,6 false\r\ndown  5,6\r\n");
}

TEST(GuiHelp, F1AsksTheFormWithTheNearestHelpContext) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.Name = "Helped";
    var p = new VCLPanel(f);
    p.HelpContext = 42;
    var e = new VCLEdit(p);
    e.Name = "E";
    f.onHelp = function(command, data, callHelp) {
      println(arguments.length + " " + command + " " + data + " " + callHelp.bool);
      callHelp.bool = false;
    };
  )");
  EXPECT_EQ(r.err, "");
  fw::TCustomForm* form = FormNamed("Helped");
  ASSERT_NE(form, nullptr);
  auto* panel = dynamic_cast<fw::TWinControl*>(form->Controls(0));
  ASSERT_NE(panel, nullptr);
  auto* edit = dynamic_cast<fw::TWinControl*>(panel->FindChildControl("E"));
  ASSERT_NE(edit, nullptr);
  s.AllowEvents(true);
  uint16_t key = fw::VK_F1;
  EXPECT_TRUE(edit->KeyDown(key, {}));
  edit->SetHelpContext(7);
  key = fw::VK_F1;
  EXPECT_TRUE(edit->KeyDown(key, {}));
  s.AllowEvents(false);
  EXPECT_EQ(s.Out(), "3 1 42 true\r\n3 1 7 true\r\n");
  // Without a handler the key goes on.
  fw::TForm plain(nullptr);
  auto* other = new fw::TEdit(&plain);
  other->SetParent(&plain);
  key = fw::VK_F1;
  EXPECT_FALSE(other->KeyDown(key, {}));
}

}  // namespace
