#include "platform/fw/list_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fw/errors.h"
#include "platform/fw/radio_button.h"
#include "platform/fw/registration.h"

namespace fw {
namespace {

std::vector<std::string> Texts(const TCustomListBox& box) {
  std::vector<std::string> out;
  for (int i = 0; i < box.Items()->Count(); ++i) out.push_back(box.Items()->Get(i));
  return out;
}

// Counts the events a list box fires.
struct Counter {
  int clicks = 0, checks = 0;
  void Click(TObject*) { ++clicks; }
  void Check(TObject*) { ++checks; }
};

class ListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box = new TListBox(nullptr);
    box->OnClick = TNotifyEvent::bind<&Counter::Click>(&counter);
    for (const char* s : {"a", "b", "c", "d"}) box->Items()->Add(s);
  }
  void TearDown() override { box->Free(); }
  TListBox* box = nullptr;
  Counter counter;
};

TEST_F(ListBoxTest, SingleSelectionFollowsItsItem) {
  box->SetItemIndex(1);
  box->Items()->Insert(0, "first");
  EXPECT_EQ(box->ItemIndex(), 2);
  EXPECT_EQ(box->Items()->Get(box->ItemIndex()), "b");
  box->Items()->Delete(4);  // after it: no move
  EXPECT_EQ(box->ItemIndex(), 2);
  box->Items()->Move(2, 0);
  EXPECT_EQ(box->ItemIndex(), 0);
  box->Items()->Exchange(0, 3);
  EXPECT_EQ(box->Items()->Get(box->ItemIndex()), "b");
  box->Items()->Delete(box->ItemIndex());  // the selected item goes: nothing is selected
  EXPECT_EQ(box->ItemIndex(), -1);
  box->SetItemIndex(0);
  box->Clear();
  EXPECT_EQ(box->ItemIndex(), -1);
  EXPECT_EQ(counter.clicks, 0);  // nothing of this fires OnClick
}

TEST_F(ListBoxTest, SingleSelectionFromCode) {
  box->SetItemIndex(7);
  EXPECT_EQ(box->ItemIndex(), -1);
  box->SetSelected(2, true);
  EXPECT_EQ(box->ItemIndex(), 2);
  EXPECT_TRUE(box->Selected(2));
  EXPECT_FALSE(box->Selected(1));
  EXPECT_EQ(box->SelCount(), -1);
  box->SetSelected(1, false);  // deselecting any item clears the single selection
  EXPECT_EQ(box->ItemIndex(), -1);
  box->SetItemIndex(3);
  box->DeleteSelected();
  EXPECT_EQ(Texts(*box), (std::vector<std::string>{"a", "b", "c"}));
  box->SetItemIndex(0);
  box->ClearSelection();
  EXPECT_EQ(box->ItemIndex(), -1);
  box->SelectAll();  // single selection: nothing to do
  EXPECT_EQ(box->ItemIndex(), -1);
  EXPECT_EQ(counter.clicks, 0);
}

TEST_F(ListBoxTest, BadIndexesRaiseTheListError) {
  try {
    box->Selected(4);
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_EQ(e.message(), "List index out of bounds (4)");
  }
  EXPECT_THROW(box->SetSelected(-1, true), EListError);
  EXPECT_THROW(box->Items()->Get(9), EStringListError);
  EXPECT_THROW(box->Items()->Insert(6, "x"), EStringListError);
  EXPECT_EQ(box->Items()->Count(), 4);
}

TEST_F(ListBoxTest, MultipleSelection) {
  box->SetItemIndex(2);
  box->SetMultiSelect(true);
  EXPECT_TRUE(box->Selected(2));  // the single selection carries over
  box->SetSelected(0, true);
  box->SetSelected(3, true);
  EXPECT_EQ(box->SelCount(), 3);
  box->SetItemIndex(1);  // moves the focus only
  EXPECT_FALSE(box->Selected(1));
  EXPECT_EQ(box->SelCount(), 3);
  box->DeleteSelected();
  EXPECT_EQ(Texts(*box), (std::vector<std::string>{"b"}));
  EXPECT_EQ(box->SelCount(), 0);
  box->Items()->Add("e");
  box->SelectAll();
  EXPECT_EQ(box->SelCount(), 2);
  box->ClearSelection();
  EXPECT_EQ(box->SelCount(), 0);
  box->SetSelected(0, true);
  box->SetItemIndex(1);
  box->SetMultiSelect(false);  // the focused item is no selected one: no selection
  EXPECT_EQ(box->ItemIndex(), -1);
  box->SetMultiSelect(true);
  box->SetItemIndex(1);
  box->SetSelected(1, true);
  box->SetMultiSelect(false);  // the focused, selected item stays the selection
  EXPECT_EQ(box->ItemIndex(), 1);
  EXPECT_EQ(box->SelCount(), -1);
}

TEST_F(ListBoxTest, UserSelectionFiresOnClick) {
  box->UserSelect(2);
  EXPECT_EQ(box->ItemIndex(), 2);
  EXPECT_EQ(counter.clicks, 1);
  box->UserSelect(9);  // below the items: nothing
  EXPECT_EQ(counter.clicks, 1);

  box->SetMultiSelect(true);
  box->UserSelect(0);  // extended selection: a plain click selects just that item
  EXPECT_EQ(box->SelCount(), 1);
  box->UserSelect(2, /*extend=*/true);  // Shift: the range from the anchor
  EXPECT_EQ(box->SelCount(), 3);
  EXPECT_TRUE(box->Selected(1));
  box->UserSelect(1, false, /*toggle=*/true);  // Ctrl flips one
  EXPECT_FALSE(box->Selected(1));
  EXPECT_EQ(box->SelCount(), 2);
  box->SetExtendedSelect(false);
  box->UserSelect(3);  // plain multiple selection: every click flips
  box->UserSelect(3);
  EXPECT_FALSE(box->Selected(3));
  EXPECT_EQ(counter.clicks, 6);
}

TEST_F(ListBoxTest, SortedListsKeepTheirOrder) {
  box->Clear();
  for (const char* s : {"pear", "Apple", "fig", "apple"}) box->Items()->Add(s);
  box->SetItemIndex(2);  // "fig"
  box->SetSorted(true);
  EXPECT_EQ(Texts(*box), (std::vector<std::string>{"Apple", "apple", "fig", "pear"}));
  EXPECT_EQ(box->Items()->Get(box->ItemIndex()), "fig");
  EXPECT_EQ(box->Items()->Add("Banana"), 2);
  EXPECT_EQ(box->Items()->Add("zz"), 5);
  box->Items()->Insert(0, "z-first");  // an insert at a place stays there
  EXPECT_EQ(box->Items()->Get(0), "z-first");
  // Assigning a list adds every line in order.
  TStringList other;
  other.SetText("c\r\nB\r\na\r\n");
  box->SetItems(&other);
  EXPECT_EQ(Texts(*box), (std::vector<std::string>{"a", "B", "c"}));
}

TEST_F(ListBoxTest, RowsAndPoints) {
  box->SetBounds(0, 0, 100, 40);  // three whole rows of 13
  EXPECT_EQ(box->ItemAtPos({5, 0}, true), 0);
  EXPECT_EQ(box->ItemAtPos({5, 14}, true), 1);
  EXPECT_EQ(box->ItemAtPos({5, 39}, true), 3);
  EXPECT_EQ(box->ItemAtPos({5, 40}, true), -1);  // outside the client area
  EXPECT_EQ(box->ItemAtPos({-1, 5}, false), -1);
  box->Items()->Delete(3);
  EXPECT_EQ(box->ItemAtPos({5, 39}, true), -1);  // below the last item
  EXPECT_EQ(box->ItemAtPos({5, 39}, false), 3);
  EXPECT_EQ(box->ItemRect(1), Rect(0, 13, 100, 26));
  EXPECT_EQ(box->ItemRect(3), Rect(0, 39, 100, 52));  // the row after the last
  EXPECT_EQ(box->ItemRect(4), TRect{});

  for (int i = 0; i < 7; ++i) box->Items()->Add("x" + std::to_string(i));  // 10 items
  box->SetTopIndex(4);
  EXPECT_EQ(box->TopIndex(), 4);
  EXPECT_EQ(box->ItemAtPos({5, 14}, true), 5);
  EXPECT_EQ(box->ItemRect(4), Rect(0, 0, 100, 13));
  box->SetTopIndex(50);  // no further than the last full page
  EXPECT_EQ(box->TopIndex(), 7);
  box->SetTopIndex(-3);
  EXPECT_EQ(box->TopIndex(), 0);
}

class CheckListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box = new TCheckListBox(nullptr);
    box->OnClickCheck = TNotifyEvent::bind<&Counter::Check>(&counter);
    box->OnClick = TNotifyEvent::bind<&Counter::Click>(&counter);
    for (const char* s : {"one", "two", "three"}) box->Items()->Add(s);
  }
  void TearDown() override { box->Free(); }
  TCheckListBox* box = nullptr;
  Counter counter;
};

TEST_F(CheckListBoxTest, MarksFromCodeFireNothing) {
  box->SetChecked(0, true);
  box->SetState(1, cbGrayed);
  EXPECT_TRUE(box->Checked(0));
  EXPECT_FALSE(box->Checked(1));  // a grey mark is no check mark
  EXPECT_EQ(box->State(1), cbGrayed);
  EXPECT_EQ(box->State(2), cbUnchecked);
  EXPECT_EQ(counter.checks, 0);
  EXPECT_THROW(box->Checked(3), EListError);
  EXPECT_THROW(box->SetState(-1, cbChecked), EListError);
  EXPECT_THROW(box->SetItemEnabled(3, false), EListError);
}

TEST_F(CheckListBoxTest, MarksTravelWithTheirItems) {
  box->SetChecked(0, true);
  box->SetItemEnabled(2, false);
  box->Items()->Add("four");  // a new item has no mark and is enabled
  EXPECT_FALSE(box->Checked(3));
  EXPECT_TRUE(box->ItemEnabled(3));
  box->Items()->Insert(0, "zero");
  EXPECT_TRUE(box->Checked(1));
  EXPECT_FALSE(box->ItemEnabled(3));
  box->Items()->Delete(0);
  box->Items()->Move(0, 2);  // "one" moves behind "three"
  EXPECT_EQ(box->Items()->Get(2), "one");
  EXPECT_TRUE(box->Checked(2));
  EXPECT_FALSE(box->ItemEnabled(1));
  box->SetSorted(true);  // four, one, three, two
  EXPECT_EQ(box->Items()->Get(1), "one");
  EXPECT_TRUE(box->Checked(1));
  EXPECT_FALSE(box->ItemEnabled(2));
  EXPECT_FALSE(box->Checked(0) || box->Checked(2) || box->Checked(3));
}

TEST_F(CheckListBoxTest, UserTogglesStepThroughTheStates) {
  box->UserToggle(0);
  EXPECT_EQ(box->State(0), cbChecked);
  box->UserToggle(0);
  EXPECT_EQ(box->State(0), cbUnchecked);
  box->SetAllowGrayed(true);
  box->UserToggle(0);
  EXPECT_EQ(box->State(0), cbGrayed);
  box->UserToggle(0);
  EXPECT_EQ(box->State(0), cbChecked);
  EXPECT_EQ(counter.checks, 4);
  box->SetItemEnabled(1, false);  // a disabled item keeps its mark
  box->UserToggle(1);
  box->UserToggle(5);
  EXPECT_EQ(box->State(1), cbUnchecked);
  EXPECT_EQ(counter.checks, 4);
  EXPECT_EQ(counter.clicks, 0);
}

}  // namespace
}  // namespace fw

namespace fw {
namespace {

const char* const kChoices = R"(object Choices: TForm
  Left = 0
  Top = 0
  Caption = 'Choices'
  ClientHeight = 200
  ClientWidth = 300
  object Fruit: TListBox
    Left = 8
    Top = 8
    Width = 120
    Height = 80
    ItemHeight = 16
    Items.Strings = (
      'pear'
      'Apple'
      'fig')
    MultiSelect = True
    Sorted = True
    TabOrder = 0
  end
  object Tasks: TCheckListBox
    Left = 8
    Top = 96
    Width = 120
    Height = 60
    AllowGrayed = True
    Items.Strings = (
      'wash'
      '洗う')
    TabOrder = 1
  end
  object Small: TRadioButton
    Left = 140
    Top = 8
    Caption = 'small'
    Checked = True
    TabOrder = 2
  end
  object Large: TRadioButton
    Left = 140
    Top = 30
    Caption = 'large'
    Checked = True
    TabOrder = 3
  end
end
)";

TEST(ChoiceControls, FormDescriptionsReadAndWriteBack) {
  RegisterFrameworkClasses();
  auto* form = new TForm(nullptr);
  ReadComponentText(form, kChoices);
  auto* fruit = dynamic_cast<TListBox*>(form->FindComponent("Fruit"));
  auto* tasks = dynamic_cast<TCheckListBox*>(form->FindComponent("Tasks"));
  auto* small = dynamic_cast<TRadioButton*>(form->FindComponent("Small"));
  auto* large = dynamic_cast<TRadioButton*>(form->FindComponent("Large"));
  ASSERT_TRUE(fruit && tasks && small && large);
  EXPECT_EQ(Texts(*fruit), (std::vector<std::string>{"Apple", "fig", "pear"}));
  EXPECT_TRUE(fruit->MultiSelect());
  EXPECT_EQ(fruit->ItemHeight(), 16);
  EXPECT_EQ(fruit->Parent(), form);
  EXPECT_TRUE(tasks->AllowGrayed());
  EXPECT_EQ(tasks->Items()->Get(1), "洗う");
  EXPECT_FALSE(small->Checked());  // the later one wins
  EXPECT_TRUE(large->Checked());

  const std::string written = WriteComponentText(form);
  auto* again = new TForm(nullptr);
  ReadComponentText(again, written);
  EXPECT_EQ(WriteComponentText(again), written);
  EXPECT_EQ(Texts(*dynamic_cast<TListBox*>(again->FindComponent("Fruit"))), Texts(*fruit));
  EXPECT_TRUE(dynamic_cast<TRadioButton*>(again->FindComponent("Large"))->Checked());
  again->Free();
  form->Free();
}

}  // namespace
}  // namespace fw
