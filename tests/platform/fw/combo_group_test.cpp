// Combo boxes, group boxes and radio groups: selection and text, the events the user's input
// fires (and code does not), item changes that would leave a dangling selection, and form
// descriptions in both formats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fw/combo_box.h"
#include "platform/fw/form.h"
#include "platform/fw/form_text.h"
#include "platform/fw/group_box.h"
#include "platform/fw/registration.h"

namespace fw {
namespace {

struct Log {
  std::vector<std::string> events;
  void Change(TObject*) { events.push_back("change"); }
  void Click(TObject*) { events.push_back("click"); }
  void Select(TObject*) { events.push_back("select"); }
  void Drop(TObject*) { events.push_back("drop"); }
  void Close(TObject*) { events.push_back("close"); }
};

struct ComboBoxTest : ::testing::Test {
  ComboBoxTest() : box(new TComboBox(nullptr)) {
    for (const char* s : {"red", "green", "blue"}) box->Items()->Add(s);
    box->OnChange = TNotifyEvent::bind<&Log::Change>(&log);
    box->OnClick = TNotifyEvent::bind<&Log::Click>(&log);
    box->OnDropDown = TNotifyEvent::bind<&Log::Drop>(&log);
    box->OnCloseUp = TNotifyEvent::bind<&Log::Close>(&log);
  }
  ~ComboBoxTest() override { box->Free(); }
  Log log;
  TComboBox* box;
};

TEST_F(ComboBoxTest, ItemIndexFromCodeSetsTheTextQuietly) {
  box->SetItemIndex(1);
  EXPECT_EQ(box->GetText(), "green");
  EXPECT_EQ(box->ItemIndex(), 1);
  box->SetItemIndex(7);
  EXPECT_EQ(box->ItemIndex(), -1);
  EXPECT_EQ(box->GetText(), "");
  box->SetText("blue");
  EXPECT_EQ(box->ItemIndex(), 2);
  box->SetText("purple");
  EXPECT_EQ(box->ItemIndex(), -1);
  EXPECT_EQ(box->GetText(), "purple");
  EXPECT_TRUE(log.events.empty());
}

TEST_F(ComboBoxTest, UserPicksAndEditsFireTheirEvents) {
  box->UserSelect(2);
  EXPECT_EQ(box->GetText(), "blue");
  EXPECT_EQ(log.events, (std::vector<std::string>{"click", "change"}));
  log.events.clear();
  box->OnSelect = TNotifyEvent::bind<&Log::Select>(&log);
  box->UserSelect(0);
  EXPECT_EQ(log.events, (std::vector<std::string>{"click", "select"}));
  log.events.clear();
  box->UserEdit("gre");
  EXPECT_EQ(box->ItemIndex(), -1);
  box->UserEdit("green");
  EXPECT_EQ(box->ItemIndex(), 1);
  EXPECT_EQ(log.events, (std::vector<std::string>{"change", "change"}));
  box->UserSelect(9);  // nothing there
  EXPECT_EQ(box->ItemIndex(), 1);
}

TEST_F(ComboBoxTest, DeletingTheSelectedItemLeavesNoDanglingIndex) {
  box->SetItemIndex(2);
  box->Items()->Delete(2);
  EXPECT_EQ(box->ItemIndex(), -1);
  box->SetItemIndex(0);
  box->Clear();
  EXPECT_EQ(box->Items()->Count(), 0);
  EXPECT_EQ(box->GetText(), "");
  EXPECT_EQ(box->ItemIndex(), -1);
}

TEST_F(ComboBoxTest, CharCaseSelectionAndDropDown) {
  box->SetText("Mixed Text");
  box->SetCharCase(ecUpperCase);
  EXPECT_EQ(box->GetText(), "MIXED TEXT");
  box->SetSelStart(6);
  box->SetSelLength(100);
  EXPECT_EQ(box->SelText(), "TEXT");
  box->SetSelText("case");
  EXPECT_EQ(box->GetText(), "MIXED CASE");
  box->SelectAll();
  EXPECT_EQ(box->SelLength(), 10);
  box->SetDroppedDown(true);
  box->SetDroppedDown(true);
  box->SetDroppedDown(false);
  EXPECT_EQ(log.events, (std::vector<std::string>{"change", "drop", "close"}));
}

TEST_F(ComboBoxTest, DropDownListTakesOnlyItemTexts) {
  box->SetStyle(csDropDownList);
  box->SetText("green");
  EXPECT_EQ(box->ItemIndex(), 1);
  box->SetText("nothing");
  EXPECT_EQ(box->ItemIndex(), -1);
  EXPECT_EQ(box->GetText(), "");
  box->UserEdit("typed");
  EXPECT_EQ(box->GetText(), "");
}

TEST_F(ComboBoxTest, SortingKeepsTheSelectedItem) {
  box->SetItemIndex(0);  // red
  box->SetSorted(true);
  EXPECT_EQ(box->Items()->Get(0), "blue");
  EXPECT_EQ(box->ItemIndex(), 2);
  EXPECT_EQ(box->Items()->Get(box->ItemIndex()), "red");
}

TEST(RadioGroup, ItemIndexChecksOneItemAndClicks) {
  auto* group = new TRadioGroup(nullptr);
  Log log;
  group->OnClick = TNotifyEvent::bind<&Log::Click>(&log);
  group->Items()->SetText("one\ntwo\nthree\n");
  EXPECT_EQ(group->ItemIndex(), -1);
  group->SetItemIndex(1);
  group->SetItemIndex(1);  // no change, no click
  group->SetItemIndex(5);  // outside: nothing checked
  EXPECT_EQ(group->ItemIndex(), -1);
  group->UserClick(2);
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_EQ(log.events.size(), 2u);
  group->Items()->Delete(2);
  EXPECT_EQ(group->ItemIndex(), -1);
  group->SetEnabled(false);
  group->UserClick(0);
  EXPECT_EQ(group->ItemIndex(), -1);
  group->Free();
}

TEST(RadioGroup, ButtonsFillColumnsAndAnswerPoints) {
  auto* group = new TRadioGroup(nullptr);
  group->SetBounds(0, 0, 204, 116);
  group->SetColumns(2);
  group->Items()->SetText("a\nb\nc\nd\n");
  const TRect a = group->ButtonRect(0), b = group->ButtonRect(1), c = group->ButtonRect(2);
  EXPECT_EQ(a.Left, b.Left);
  EXPECT_LT(a.Top, b.Top);
  EXPECT_GT(c.Left, a.Left);
  EXPECT_EQ(c.Top, a.Top);
  EXPECT_EQ(group->ItemAtPos({c.Left + 2, c.Top + 2}), 2);
  EXPECT_EQ(group->ItemAtPos({-5, -5}), -1);
  const TRect none = group->ButtonRect(4);
  EXPECT_EQ(none.Right - none.Left, 0);
  group->SetColumns(0);
  EXPECT_EQ(group->Columns(), 1);
  group->SetColumns(40);
  EXPECT_EQ(group->Columns(), 16);
  group->Free();
}

constexpr const char* kLists = R"(object Lists: TForm
  Caption = 'lists'
  object Colour: TComboBox
    Left = 8
    Top = 8
    Style = csDropDownList
    Items.Strings = (
      'red'
      '緑')
    ItemIndex = 1
    TabOrder = 0
  end
  object Frame: TGroupBox
    Left = 8
    Top = 40
    Caption = 'frame'
    TabOrder = 1
    object Size: TRadioGroup
      Left = 4
      Top = 20
      Columns = 2
      ItemIndex = 2
      Items.Strings = (
        'S'
        'M'
        'L')
      TabOrder = 0
    end
  end
end
)";

TEST(ListFamilies, FormDescriptionsReadAndWriteBackInBothFormats) {
  RegisterFrameworkClasses();
  auto* form = new TForm(nullptr);
  ReadComponentText(form, kLists);
  auto* colour = dynamic_cast<TComboBox*>(form->FindComponent("Colour"));
  auto* frame = dynamic_cast<TGroupBox*>(form->FindComponent("Frame"));
  auto* size = dynamic_cast<TRadioGroup*>(form->FindComponent("Size"));
  ASSERT_TRUE(colour && frame && size);
  // The selections name items read after them.
  EXPECT_EQ(colour->ItemIndex(), 1);
  EXPECT_EQ(colour->GetText(), "緑");
  EXPECT_EQ(colour->Style(), csDropDownList);
  EXPECT_EQ(size->ItemIndex(), 2);
  EXPECT_EQ(size->Columns(), 2);
  EXPECT_EQ(size->Parent(), frame);
  EXPECT_EQ(frame->Caption(), "frame");

  const std::string written = WriteComponentText(form);
  const std::string binary = ObjectTextToBinary(written);
  EXPECT_EQ(ObjectBinaryToText(binary), written);
  auto* again = new TForm(nullptr);
  ReadComponentText(again, written);
  EXPECT_EQ(WriteComponentText(again), written);
  auto* size2 = dynamic_cast<TRadioGroup*>(again->FindComponent("Size"));
  ASSERT_TRUE(size2);
  EXPECT_EQ(size2->Items()->Get(2), "L");
  EXPECT_EQ(size2->ItemIndex(), 2);
  again->Free();
  form->Free();
}

}  // namespace
}  // namespace fw
