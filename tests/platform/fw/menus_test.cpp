// Menus: the item tree, separators and accelerators, finding items, change notification,
// merging main menus, popups, and menus in form descriptions.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/fw/errors.h"
#include "platform/fw/form.h"
#include "platform/fw/form_text.h"
#include "platform/fw/menus.h"
#include "platform/fw/registration.h"

namespace {

fw::TMenuItem* NewItem(fw::TComponent* owner, const std::string& caption) {
  auto* item = new fw::TMenuItem(owner);
  item->SetCaption(caption);
  return item;
}

std::vector<std::string> Captions(const fw::TMenuItem* parent) {
  std::vector<std::string> out;
  for (int i = 0; i < parent->Count(); ++i)
    out.push_back(parent->Items(i)->Caption() + (parent->Items(i)->Visible() ? "" : "(hidden)"));
  return out;
}

struct TChanges {
  std::vector<std::string> lines;
  void Change(fw::TObject*, fw::TMenuItem* source, bool rebuild) {
    lines.push_back((source ? source->Caption() : std::string("nil")) + (rebuild ? " rebuild" : ""));
  }
  void Click(fw::TObject* sender) { lines.push_back("click " + static_cast<fw::TMenuItem*>(sender)->Caption()); }
  void Popup(fw::TObject*) { lines.push_back("popup"); }
};

TEST(Menus, TreeOperationsKeepParentsAndIndexes) {
  fw::TMainMenu menu(nullptr);
  fw::TMenuItem* root = menu.Items();
  auto* file = NewItem(nullptr, "&File");
  auto* edit = NewItem(nullptr, "&Edit");
  root->Add(std::vector<fw::TMenuItem*>{file, edit});
  auto* open = NewItem(nullptr, "Open");
  file->Add(open);
  EXPECT_EQ(Captions(root), (std::vector<std::string>{"&File", "&Edit"}));
  EXPECT_EQ(open->Parent(), file);
  EXPECT_EQ(open->GetParentMenu(), &menu);
  EXPECT_EQ(edit->MenuIndex(), 1);
  edit->SetMenuIndex(0);
  EXPECT_EQ(Captions(root), (std::vector<std::string>{"&Edit", "&File"}));
  edit->SetMenuIndex(99);  // kept within the siblings
  EXPECT_EQ(edit->MenuIndex(), 1);

  // An item goes into one place only, and never into itself.
  EXPECT_THROW(root->Add(open), fw::EMenuError);
  EXPECT_THROW(open->Add(file), fw::EMenuError);
  EXPECT_THROW(root->Insert(5, NewItem(&menu, "x")), fw::EMenuError);
  try {
    file->Insert(0, file);
    FAIL();
  } catch (const fw::EMenuError& e) {
    EXPECT_EQ(e.message(), "Menu inserted twice");
  }
  // A batch with one bad item adds none.
  auto* extra = NewItem(&menu, "Extra");
  EXPECT_THROW(root->Add(std::vector<fw::TMenuItem*>{extra, open}), fw::EMenuError);
  EXPECT_EQ(extra->Parent(), nullptr);

  root->Remove(file);
  EXPECT_EQ(file->Parent(), nullptr);
  EXPECT_EQ(file->GetParentMenu(), nullptr);
  EXPECT_THROW(root->Remove(file), fw::EMenuError);
  EXPECT_THROW(root->Delete(3), fw::EListError);
  delete file;  // takes its child with it
  delete extra;
  // Freeing an item takes it out of its parent.
  delete root->Items(0);
  EXPECT_EQ(root->Count(), 0);
}

TEST(Menus, SeparatorsAndTheirTidying) {
  fw::TPopupMenu menu(nullptr);
  fw::TMenuItem* root = menu.Items();
  auto* a = NewItem(&menu, "A");
  auto* b = NewItem(&menu, "B");
  root->Add(std::vector<fw::TMenuItem*>{a, b});
  EXPECT_EQ(root->NewTopLine(), 0);
  EXPECT_EQ(root->InsertNewLineAfter(a), 2);
  EXPECT_EQ(root->InsertNewLineBefore(b), 3);
  EXPECT_EQ(root->NewBottomLine(), 5);
  EXPECT_EQ(root->InsertNewLineBefore(NewItem(&menu, "stranger")), -1);
  EXPECT_EQ(Captions(root), (std::vector<std::string>{"-", "A", "-", "-", "B", "-"}));
  EXPECT_TRUE(root->Items(0)->IsLine());
  EXPECT_FALSE(a->IsLine());
  EXPECT_TRUE(root->RethinkLines());
  EXPECT_EQ(Captions(root), (std::vector<std::string>{"-(hidden)", "A", "-", "-(hidden)", "B", "-(hidden)"}));
  EXPECT_FALSE(root->RethinkLines());
  // Deleting a line the menu made frees it; clearing frees the rest.
  root->Delete(0);
  EXPECT_EQ(root->Count(), 5);
  root->Clear();
  EXPECT_EQ(root->Count(), 0);
}

TEST(Menus, HotkeysAreMadeUniqueAndFindIgnoresThem) {
  fw::TMainMenu menu(nullptr);
  fw::TMenuItem* root = menu.Items();
  root->Add(std::vector<fw::TMenuItem*>{NewItem(&menu, "&Save"), NewItem(&menu, "&Search"),
                                        NewItem(&menu, "Print && Preview"), NewItem(&menu, "-"),
                                        NewItem(&menu, "日本")});
  EXPECT_TRUE(root->RethinkHotkeys());
  EXPECT_EQ(Captions(root), (std::vector<std::string>{"&Save", "S&earch", "&Print && Preview", "-", "日本"}));
  EXPECT_FALSE(root->RethinkHotkeys());
  EXPECT_EQ(root->Find("search"), root->Items(1));
  EXPECT_EQ(root->Find("PRINT && preview"), root->Items(2));
  EXPECT_EQ(root->Find("Nothing"), nullptr);
  EXPECT_EQ(fw::StripHotkey("a&&b&c&"), "a&bc");
}

TEST(Menus, RadioItemsAutoCheckAndDisabledClicks) {
  fw::TPopupMenu menu(nullptr);
  TChanges log;
  auto* one = NewItem(&menu, "one");
  auto* two = NewItem(&menu, "two");
  auto* other = NewItem(&menu, "other");
  for (auto* i : {one, two}) i->SetRadioItem(true);
  other->SetRadioItem(true);
  other->SetGroupIndex(2);
  menu.Items()->Add(std::vector<fw::TMenuItem*>{one, two, other});
  other->SetChecked(true);
  one->SetChecked(true);
  two->SetChecked(true);
  EXPECT_FALSE(one->Checked());
  EXPECT_TRUE(two->Checked());
  EXPECT_TRUE(other->Checked());  // another group

  auto* toggle = NewItem(&menu, "toggle");
  toggle->SetAutoCheck(true);
  toggle->OnClick = fw::TNotifyEvent::bind<&TChanges::Click>(&log);
  menu.Items()->Add(toggle);
  toggle->Click();
  EXPECT_TRUE(toggle->Checked());
  toggle->SetEnabled(false);
  toggle->Click();
  EXPECT_TRUE(toggle->Checked());
  EXPECT_EQ(log.lines, (std::vector<std::string>{"click toggle"}));
}

TEST(Menus, ItemsAreFoundByCommandHandleAndShortCut) {
  fw::TMainMenu menu(nullptr);
  TChanges log;
  auto* file = NewItem(&menu, "File");
  auto* open = NewItem(&menu, "Open");
  auto* quit = NewItem(&menu, "Quit");
  menu.Items()->Add(file);
  file->Add(std::vector<fw::TMenuItem*>{open, quit});
  quit->SetShortCut(0x4000 | 'Q');
  quit->SetHelpContext(42);
  for (auto* i : {file, open, quit}) i->OnClick = fw::TNotifyEvent::bind<&TChanges::Click>(&log);

  EXPECT_NE(open->Command(), 0);
  EXPECT_NE(open->Command(), quit->Command());
  EXPECT_EQ(menu.FindItem(quit->Command(), fw::fkCommand), quit);
  EXPECT_EQ(menu.FindItem(0x4000 | 'Q', fw::fkShortCut), quit);
  EXPECT_EQ(menu.FindItem(0, fw::fkShortCut), nullptr);  // no short cut is no match
  EXPECT_EQ(menu.FindItem(int32_t(file->Handle()), fw::fkHandle), file);
  EXPECT_EQ(menu.FindItem(int32_t(open->Handle()) + 1000, fw::fkHandle), nullptr);
  EXPECT_EQ(menu.GetHelpContext(quit->Command(), true), 42);
  EXPECT_EQ(menu.GetHelpContext(int32_t(file->Handle()), false), 0);

  EXPECT_TRUE(menu.DispatchCommand(open->Command()));
  EXPECT_FALSE(menu.DispatchCommand(0));
  EXPECT_TRUE(menu.DispatchPopup(file->Handle()));
  EXPECT_FALSE(menu.DispatchPopup(0));
  EXPECT_EQ(log.lines, (std::vector<std::string>{"click Open", "click File"}));

  // A freed item's command is free again and found no more.
  const uint16_t command = open->Command();
  delete open;
  EXPECT_EQ(menu.FindItem(command, fw::fkCommand), nullptr);
}

TEST(Menus, ChangesReachTheMenuAndItsViews) {
  fw::TMainMenu menu(nullptr);
  TChanges log;
  menu.OnChange = fw::TMenuChangeEvent::bind<&TChanges::Change>(&log);
  std::vector<std::string> seen;
  int id = menu.AddView([&](fw::TMenuItem* source, bool rebuild) {
    seen.push_back((source ? source->Caption() : "nil") + (rebuild ? " rebuild" : ""));
  });
  auto* file = NewItem(&menu, "File");
  menu.Items()->Add(file);
  file->SetEnabled(false);
  auto* open = NewItem(&menu, "Open");
  file->Add(open);
  open->SetCaption("-");  // becoming a line changes the shape
  menu.RemoveView(id);
  file->SetVisible(false);
  EXPECT_EQ(log.lines,
            (std::vector<std::string>{"nil rebuild", "File", "File rebuild", "- rebuild", "File"}));
  EXPECT_EQ(seen, (std::vector<std::string>{"nil rebuild", "File", "File rebuild", "- rebuild"}));
}

TEST(Menus, MergedMenusShareTheBarByGroup) {
  fw::TMainMenu mainMenu(nullptr);
  auto* other = new fw::TMainMenu(nullptr);
  auto add = [](fw::TMainMenu* m, const std::string& caption, uint8_t group) {
    auto* item = NewItem(m, caption);
    item->SetGroupIndex(group);
    m->Items()->Add(item);
  };
  add(&mainMenu, "File", 0);
  add(&mainMenu, "Edit", 1);
  add(&mainMenu, "Help", 9);
  add(other, "Window", 5);
  add(other, "Edit2", 1);
  auto captions = [&] {
    std::string s;
    for (fw::TMenuItem* i : mainMenu.BarItems()) s += i->Caption() + " ";
    return s;
  };
  int rebuilds = 0;
  mainMenu.AddView([&](fw::TMenuItem*, bool rebuild) { rebuilds += rebuild; });
  mainMenu.Merge(other);
  mainMenu.Merge(other);
  mainMenu.Merge(&mainMenu);
  mainMenu.Merge(nullptr);
  EXPECT_EQ(rebuilds, 1);
  EXPECT_EQ(captions(), "File Edit2 Window Help ");
  EXPECT_EQ(mainMenu.Items()->Count(), 3);  // the menu's own items stay
  mainMenu.Unmerge(other);
  EXPECT_EQ(captions(), "File Edit Help ");
  mainMenu.Merge(other);
  delete other;  // a freed menu leaves the bar
  EXPECT_EQ(captions(), "File Edit Help ");
}

struct TRecordingPopups : fw::IPopupMenuService {
  std::vector<std::string> shown;
  void Popup(fw::TPopupMenu& menu, int32_t x, int32_t y) override {
    shown.push_back(menu.Name() + " " + std::to_string(x) + "," + std::to_string(y));
  }
};

TEST(Menus, PopupFiresOnPopupThenShowsAtThePoint) {
  TRecordingPopups popups;
  fw::SetPopupMenuService(&popups);
  auto* form = new fw::TForm(nullptr);
  auto* menu = new fw::TPopupMenu(form);
  menu->SetName("Popup1");
  TChanges log;
  menu->OnPopup = fw::TNotifyEvent::bind<&TChanges::Popup>(&log);
  menu->SetPopupComponent(form);
  menu->Popup(30, 40);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"popup"}));
  EXPECT_EQ(popups.shown, (std::vector<std::string>{"Popup1 30,40"}));
  EXPECT_EQ(menu->PopupPoint().X, 30);
  auto* other = new fw::TForm(nullptr);
  menu->SetPopupComponent(other);
  other->Free();
  EXPECT_EQ(menu->PopupComponent(), nullptr);
  form->Free();
  fw::SetPopupMenuService(nullptr);
}

const char* kMenuForm =
    "object MenuForm: TForm\n"
    "  Left = 0\n"
    "  Top = 0\n"
    "  Width = 208\n"
    "  Height = 173\n"
    "  Caption = 'Menus'\n"
    "  ClientHeight = 120\n"
    "  ClientWidth = 200\n"
    "  Menu = MainMenu1\n"
    "  object MainMenu1: TMainMenu\n"
    "    Left = 8\n"
    "    Top = 8\n"
    "    object File1: TMenuItem\n"
    "      Caption = '&File'\n"
    "      object Open1: TMenuItem\n"
    "        Action = Action1\n"
    "      end\n"
    "      object N1: TMenuItem\n"
    "        Caption = '-'\n"
    "      end\n"
    "      object Exit1: TMenuItem\n"
    "        Caption = 'E&xit'\n"
    "        ShortCut = 16465\n"
    "      end\n"
    "    end\n"
    "    object Help1: TMenuItem\n"
    "      Caption = '&Help'\n"
    "      GroupIndex = 9\n"
    "    end\n"
    "  end\n"
    "  object ActionList1: TActionList\n"
    "    object Action1: TAction\n"
    "      Caption = '&Open...'\n"
    "      Hint = 'Opens a file'\n"
    "    end\n"
    "  end\n"
    "  object PopupMenu1: TPopupMenu\n"
    "    AutoPopup = False\n"
    "    object Copy1: TMenuItem\n"
    "      Caption = 'Copy'\n"
    "      Checked = True\n"
    "      RadioItem = True\n"
    "    end\n"
    "  end\n"
    "end\n";

TEST(Menus, FormDescriptionsWithMenusLoadAndSaveBack) {
  fw::RegisterFrameworkClasses();
  auto* form = new fw::TForm(nullptr);
  fw::ReadComponentText(form, kMenuForm);
  auto* menu = dynamic_cast<fw::TMainMenu*>(form->FindComponent("MainMenu1"));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(form->Menu(), menu);
  // The bar lies outside the client area.
  EXPECT_EQ(form->ClientHeight(), 120);
  EXPECT_EQ(form->Height(), 120 + form->CaptionHeight() + form->MenuBarHeight() + 2 * form->FrameWidth());
  EXPECT_EQ(Captions(menu->Items()), (std::vector<std::string>{"&File", "&Help"}));
  auto* file = menu->Items()->Items(0);
  EXPECT_EQ(Captions(file), (std::vector<std::string>{"&Open...", "-", "E&xit"}));
  auto* open = file->Items(0);
  ASSERT_NE(open->Action(), nullptr);
  EXPECT_EQ(open->Action()->Name(), "Action1");
  EXPECT_EQ(open->Hint(), "Opens a file");
  auto* list = dynamic_cast<fw::TActionList*>(form->FindComponent("ActionList1"));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->ActionCount(), 1);
  EXPECT_EQ(open->Owner(), form);
  EXPECT_EQ(menu->FindItem(16465, fw::fkShortCut)->Name(), "Exit1");

  // Written again: the text reads back into the same description.
  const std::string text = fw::WriteComponentText(form);
  auto* copy = new fw::TForm(nullptr);
  fw::ReadComponentText(copy, text);
  EXPECT_EQ(fw::WriteComponentText(copy), text);
  EXPECT_NE(text.find("object Open1: TMenuItem"), std::string::npos);
  EXPECT_NE(text.find("Menu = MainMenu1"), std::string::npos);
  EXPECT_NE(text.find("object Action1: TAction"), std::string::npos);
  auto* copyMenu = dynamic_cast<fw::TMainMenu*>(copy->FindComponent("MainMenu1"));
  ASSERT_NE(copyMenu, nullptr);
  EXPECT_EQ(copy->ClientHeight(), 120);
  EXPECT_EQ(copyMenu->Items()->Items(0)->Items(2)->ShortCut(), 16465);
  // The binary form holds the same: items nested under their menu and parent item.
  const std::string binary = fw::ObjectTextToBinary(text);
  EXPECT_EQ(binary.substr(0, 4), "TPF0");
  EXPECT_EQ(fw::ObjectBinaryToText(binary), text);

  // Freeing the form frees the items in whatever order; the form's bar goes with its menu.
  delete menu;
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(form->ClientHeight(), 120);
  form->Free();
  copy->Free();
}

}  // namespace
