// CheckListBox driven by scripts, answered by a host whose check-list dialog is a C++ responder.
#include "script/host/check_list_box.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "script/stdlib/host_ui.h"
#include "tests/script/host/script_runner.h"

namespace {

struct Shown {
  std::string caption, text;
  std::vector<std::string> items;
  std::vector<bool> marks;
  int32_t index = 0;
  int width = 0, height = 0;
};

// Records what the dialog was given and answers through `answer`.
class ResponderUI : public stdlib::TQuietHostUI {
 public:
  std::vector<Shown> shown;
  std::function<bool(std::vector<bool>& marks, int32_t& index)> answer;
  bool CheckList(const std::string& caption, const std::string& text, const std::vector<std::string>& items,
                 std::vector<bool>& marks, int32_t& index, int width, int height) override {
    shown.push_back({caption, text, items, marks, index, width, height});
    return answer ? answer(marks, index) : false;
  }
};

class CheckListBoxScript : public testing::Test {
 protected:
  void SetUp() override { stdlib::SetHostUI(ui); }
  void TearDown() override { stdlib::SetHostUI(std::make_shared<stdlib::TQuietHostUI>()); }
  std::string Run(const std::string& source) {
    hosttest::ScriptOutcome o = hosttest::RunScriptText(source);
    return o.out + (o.err.empty() ? "" : "ERR:" + o.err);
  }
  std::shared_ptr<ResponderUI> ui = std::make_shared<ResponderUI>();
};

TEST_F(CheckListBoxScript, MarksTravelWithTheirItems) {
  EXPECT_EQ(Run("var c = new CheckListBox();\n"
                "c.items.add('pear'); c.items.add('apple'); c.items.add('fig');\n"
                "c.setChecked(0, true); c.setChecked(2, 1);\n"
                "function marks() { var s = ''; for (var i = 0; i < c.count; i++) s += c.items[i] + (c.getChecked(i) ? '+ ' : '- '); println(s); }\n"
                "marks();\n"
                "c.items.add('kiwi'); marks();\n"          // a new item has no mark
                "c.items.insert(0, 'lime'); marks();\n"    // the marks move down with their items
                "c.items.sort(); marks();\n"
                "c.items.delete(1); marks();\n"            // 'fig' goes; the others keep their marks
                "c.setChecked(0, false); marks();\n"
                "println(c.setChecked(0) === c);\n"),
            "pear+ apple- fig+ \n"
            "pear+ apple- fig+ kiwi- \n"
            "lime- pear+ apple- fig+ kiwi- \n"
            "apple- fig+ kiwi- lime- pear+ \n"
            "apple- kiwi- lime- pear+ \n"
            "apple- kiwi- lime- pear+ \n"
            "true\n");
}

TEST_F(CheckListBoxScript, IndexErrorsAndDefaults) {
  EXPECT_EQ(Run("var c = new CheckListBox();\n"
                "println(c.index); println(c.count); println(c.getChecked());\n"
                "c.items.add('a'); c.items.add('b'); c.items.add('c');\n"
                "try { c.getChecked(3); } catch (e) { println(e); }\n"
                "try { c.setChecked(-1, true); } catch (e) { println(e); }\n"
                "c.getChecked(5);\n"),
            "-1\n0\nfalse\nEIndexError\nEIndexError\n"
            "ERR:Exception: EIndexError(6) => CheckListBox.getChecked Index Error\n");
}

TEST_F(CheckListBoxScript, ExecuteShowsItemsAndTakesBackMarksOnlyOnOK) {
  ui->answer = [](std::vector<bool>& marks, int32_t& index) {
    marks = {false, true, true};
    index = 2;
    return true;
  };
  EXPECT_EQ(Run("var c = new CheckListBox();\n"
                "c.items.add('a'); c.items.add('b'); c.items.add('c'); c.setChecked(0, true);\n"
                "println(c.execute('Pick', 'Which ones?', 1, 300, 50));\n"
                "println(c.index); println(c.getChecked(0)); println(c.getChecked(1)); println(c.getChecked(2));\n"),
            "true\n2\nfalse\ntrue\ntrue\n");
  ASSERT_EQ(ui->shown.size(), 1u);
  const Shown& s = ui->shown[0];
  EXPECT_EQ(s.caption, "Pick");
  EXPECT_EQ(s.text, "Which ones?");
  EXPECT_EQ(s.items, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(s.marks, (std::vector<bool>{true, false, false}));
  EXPECT_EQ(s.index, 1);
  EXPECT_EQ(s.width, 300);
  EXPECT_EQ(s.height, 50);

  // Cancel: the marks stay, the index still follows the dialog.
  ui->answer = [](std::vector<bool>& marks, int32_t& index) {
    marks = {true, true};
    index = 1;
    return false;
  };
  EXPECT_EQ(Run("var c = new CheckListBox();\n"
                "c.items.add('a'); c.items.add('b');\n"
                "println(c.execute());\n"
                "println(c.index); println(c.getChecked(0)); println(c.getChecked(1));\n"),
            "false\n1\nfalse\nfalse\n");
  EXPECT_EQ(ui->shown.back().caption, "");
  EXPECT_EQ(ui->shown.back().index, 0);
}

}  // namespace
