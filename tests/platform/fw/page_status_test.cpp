// Page controls (pages, the active page, tabs of hidden pages, the change protocol, pages that
// leave) and status bars (panel layout, owner drawing, hints), with their form descriptions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fw/button.h"
#include "platform/fw/errors.h"
#include "platform/fw/form.h"
#include "platform/fw/form_text.h"
#include "platform/fw/page_control.h"
#include "platform/fw/registration.h"
#include "platform/fw/status_bar.h"
#include "platform/rt/typeinfo.h"

namespace fw {
namespace {

struct Log {
  std::vector<std::string> lines;
  bool allow = true;
  TPageControl* pc = nullptr;
  void Changing(TObject*, bool& allowChange) {
    lines.push_back("changing " + std::to_string(pc->ActivePageIndex()));
    allowChange = allow;
  }
  void Change(TObject*) { lines.push_back("change " + std::to_string(pc->ActivePageIndex())); }
  void Show(TObject* s) { lines.push_back("show " + static_cast<TTabSheet*>(s)->Caption()); }
  void Hide(TObject* s) { lines.push_back("hide " + static_cast<TTabSheet*>(s)->Caption()); }
  std::string Take() {
    std::string out;
    for (auto& l : lines) out += (out.empty() ? "" : ";") + l;
    lines.clear();
    return out;
  }
};

struct PageTest : ::testing::Test {
  PageTest() {
    form = new TForm(nullptr);
    form->SetClientSize(400, 300);
    pc = new TPageControl(form);
    pc->SetParent(form);
    pc->SetBounds(0, 0, 300, 200);
    log.pc = pc;
    for (const char* caption : {"One", "Two", "Three"}) {
      auto* s = new TTabSheet(form);
      s->SetCaption(caption);
      s->OnShow = TNotifyEvent::bind<&Log::Show>(&log);
      s->OnHide = TNotifyEvent::bind<&Log::Hide>(&log);
      s->SetPageControl(pc);
      sheets.push_back(s);
    }
    pc->OnChanging = TTabChangingEvent::bind<&Log::Changing>(&log);
    pc->OnChange = TNotifyEvent::bind<&Log::Change>(&log);
    log.Take();
  }
  ~PageTest() override { form->Free(); }
  TForm* form;
  TPageControl* pc;
  std::vector<TTabSheet*> sheets;
  Log log;
};

TEST_F(PageTest, PagesFillTheAreaInsideTheTabsAndOnlyTheActiveOneShows) {
  ASSERT_EQ(pc->PageCount(), 3);
  EXPECT_EQ(pc->ActivePage(), sheets[0]);
  EXPECT_EQ(pc->ActivePageIndex(), 0);
  EXPECT_TRUE(sheets[0]->Visible());
  EXPECT_FALSE(sheets[1]->Visible());
  EXPECT_FALSE(sheets[2]->Visible());
  const TRect area = pc->DisplayRect();
  for (TTabSheet* s : sheets) EXPECT_EQ(s->BoundsRect(), area);
  EXPECT_EQ(pc->TabCount(), 3);
  EXPECT_EQ(pc->TabText(2), "Three");
  EXPECT_EQ(pc->TabIndex(), 0);
  // A resize carries the pages along.
  pc->SetBounds(0, 0, 360, 250);
  EXPECT_EQ(sheets[2]->BoundsRect(), pc->DisplayRect());
  EXPECT_NE(pc->DisplayRect(), area);
  // Renaming a sheet renames its tab (and widens it).
  const int32_t before = pc->TabRect(1).Width();
  sheets[1]->SetCaption("A much longer caption");
  EXPECT_EQ(pc->TabText(1), "A much longer caption");
  EXPECT_GT(pc->TabRect(1).Width(), before);
}

TEST_F(PageTest, SettingThePageFromCodeShowsAndHidesButAsksNobody) {
  pc->SetActivePageIndex(2);
  EXPECT_EQ(log.Take(), "show Three;hide One");
  EXPECT_EQ(pc->ActivePage(), sheets[2]);
  EXPECT_TRUE(sheets[2]->Visible());
  EXPECT_FALSE(sheets[0]->Visible());
  pc->SetActivePageIndex(2);
  EXPECT_EQ(log.Take(), "");
  // Out of range: no page is active.
  pc->SetActivePageIndex(7);
  EXPECT_EQ(pc->ActivePage(), nullptr);
  EXPECT_EQ(pc->ActivePageIndex(), -1);
  EXPECT_EQ(pc->TabIndex(), -1);
  EXPECT_EQ(log.Take(), "hide Three");
  // A sheet of another page control is not taken.
  auto* other = new TPageControl(form);
  auto* foreign = new TTabSheet(form);
  foreign->SetPageControl(other);
  pc->SetActivePage(foreign);
  EXPECT_EQ(pc->ActivePage(), nullptr);
  EXPECT_EQ(other->ActivePage(), foreign);
}

TEST_F(PageTest, TheUserChoosingATabIsAskedFirstAndMayBeRefused) {
  EXPECT_TRUE(pc->SelectTab(1));
  EXPECT_EQ(log.Take(), "changing 0;show Two;hide One;change 1");
  log.allow = false;
  EXPECT_FALSE(pc->SelectTab(2));
  EXPECT_EQ(log.Take(), "changing 1");
  EXPECT_EQ(pc->ActivePage(), sheets[1]);
  EXPECT_TRUE(sheets[1]->Visible());
  EXPECT_FALSE(sheets[2]->Visible());
  // The tab already chosen, and tabs that do not exist, ask nothing.
  log.allow = true;
  EXPECT_FALSE(pc->SelectTab(1));
  EXPECT_FALSE(pc->SelectTab(3));
  EXPECT_FALSE(pc->SelectTab(-1));
  EXPECT_EQ(log.Take(), "");
}

TEST_F(PageTest, HiddenTabsKeepTheirPageButLeaveTheTabRow) {
  sheets[1]->SetTabVisible(false);
  EXPECT_EQ(pc->TabCount(), 2);
  EXPECT_EQ(pc->TabText(1), "Three");
  EXPECT_EQ(sheets[1]->TabIndex(), -1);
  EXPECT_EQ(sheets[2]->TabIndex(), 1);
  EXPECT_EQ(sheets[1]->PageIndex(), 1);
  // Clicking the second tab shows the third page.
  EXPECT_TRUE(pc->SelectTab(1));
  EXPECT_EQ(pc->ActivePage(), sheets[2]);
  EXPECT_EQ(pc->TabIndex(), 1);
  // Going round skips the page without a tab unless told not to look.
  EXPECT_EQ(pc->FindNextPage(sheets[2], true, true), sheets[0]);
  EXPECT_EQ(pc->FindNextPage(sheets[0], true, true), sheets[2]);
  EXPECT_EQ(pc->FindNextPage(sheets[0], true, false), sheets[1]);
  EXPECT_EQ(pc->FindNextPage(sheets[0], false, true), sheets[2]);
  // No current page: forward starts at the first, backward at the last.
  EXPECT_EQ(pc->FindNextPage(nullptr, true, true), sheets[0]);
  EXPECT_EQ(pc->FindNextPage(nullptr, false, false), sheets[2]);
  for (TTabSheet* s : sheets) s->SetTabVisible(false);
  EXPECT_EQ(pc->FindNextPage(sheets[0], true, true), nullptr);
  EXPECT_EQ(pc->TabCount(), 0);
}

TEST_F(PageTest, SelectNextPageGoesRoundAsTheUserWouldAndMayBeRefused) {
  pc->SelectNextPage(false);
  EXPECT_EQ(pc->ActivePage(), sheets[2]);
  EXPECT_EQ(log.Take(), "changing 0;show Three;hide One;change 2");
  log.allow = false;
  pc->SelectNextPage(true);
  EXPECT_EQ(pc->ActivePage(), sheets[2]);
  EXPECT_EQ(log.Take(), "changing 2");
}

TEST_F(PageTest, PagesThatLeaveOrMoveKeepTheControlConsistent) {
  sheets[1]->SetPageIndex(0);
  EXPECT_EQ(pc->Pages(0), sheets[1]);
  EXPECT_EQ(pc->TabText(0), "Two");
  EXPECT_EQ(sheets[0]->PageIndex(), 1);
  sheets[1]->SetPageIndex(99);
  EXPECT_EQ(pc->Pages(2), sheets[1]);
  // Order now One, Three, Two; the active page One is freed: the next one shows.
  pc->SetActivePage(sheets[0]);
  log.Take();
  delete sheets[0];
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(pc->ActivePage(), sheets[2]);
  EXPECT_TRUE(sheets[2]->Visible());
  EXPECT_EQ(log.Take(), "show Three");
  // A sheet moved to another page control leaves this one.
  auto* other = new TPageControl(form);
  other->SetParent(form);
  sheets[1]->SetPageControl(other);
  EXPECT_EQ(pc->PageCount(), 1);
  EXPECT_EQ(other->PageCount(), 1);
  EXPECT_EQ(other->ActivePage(), sheets[1]);
  EXPECT_EQ(sheets[1]->Parent(), other);
  EXPECT_THROW(pc->Pages(1), EListError);
  // Taking the last page out leaves no active page; freeing a control with pages frees them.
  sheets[2]->SetPageControl(nullptr);
  EXPECT_EQ(pc->ActivePage(), nullptr);
  EXPECT_EQ(sheets[2]->PageControl(), nullptr);
  EXPECT_EQ(sheets[2]->PageIndex(), -1);
  const int before = form->ComponentCount();
  other->Free();
  EXPECT_EQ(form->ComponentCount(), before - 2);
}

TEST_F(PageTest, AHandlerThatFreesTheControlWhileChangingDoesNoHarm) {
  struct Freer {
    TPageControl* pc;
    void Changing(TObject*, bool&) { pc->Free(); }
  } freer{pc};
  pc->OnChanging = TTabChangingEvent::bind<&Freer::Changing>(&freer);
  EXPECT_FALSE(pc->SelectTab(1));
  // The control and its pages are gone; nothing was touched after.
  EXPECT_EQ(form->ComponentCount(), 0);
}

TEST(PageControl, AControlWithoutPagesAnswersNothingAndAsksNobody) {
  TPageControl pc(nullptr);
  Log log;
  log.pc = &pc;
  pc.OnChanging = TTabChangingEvent::bind<&Log::Changing>(&log);
  pc.OnChange = TNotifyEvent::bind<&Log::Change>(&log);
  EXPECT_EQ(pc.ActivePageIndex(), -1);
  EXPECT_EQ(pc.TabIndex(), -1);
  EXPECT_EQ(pc.FindNextPage(nullptr, true, false), nullptr);
  pc.SelectNextPage(true);
  pc.SetActivePageIndex(0);
  EXPECT_FALSE(pc.SelectTab(0));
  EXPECT_EQ(pc.PageOfTab(0), nullptr);
  EXPECT_EQ(log.Take(), "");
  // A single page: going round finds itself, and nothing changes.
  TTabSheet sheet(nullptr);
  sheet.SetPageControl(&pc);
  EXPECT_EQ(pc.FindNextPage(&sheet, true, true), &sheet);
  pc.SelectNextPage(true);
  EXPECT_EQ(log.Take(), "");
  EXPECT_EQ(pc.ActivePage(), &sheet);
}

TEST(PageStreaming, PageControlsWithSheetsAndStatusBarsTravelThroughDescriptions) {
  RegisterFrameworkClasses();
  for (const rt::ClassInfo* cls : {&TPageControl::StaticClassInfo(), &TTabSheet::StaticClassInfo(),
                                   &TStatusBar::StaticClassInfo()})
    rt::RegisterClass(*cls);
  const std::string text =
      "object F: TForm\n"
      "  Left = 0\n  Top = 0\n  Width = 400\n  Height = 300\n"
      "  object PC: TPageControl\n    Left = 0\n    Top = 0\n    Width = 300\n    Height = 200\n"
      "    ActivePage = TS2\n"
      "    object TS1: TTabSheet\n      Caption = 'First'\n"
      "      object B1: TButton\n        Left = 8\n        Top = 8\n        Width = 75\n        Height = 25\n"
      "        Caption = 'Go'\n      end\n    end\n"
      "    object TS2: TTabSheet\n      Caption = 'Second'\n      ImageIndex = 3\n"
      "      object B2: TButton\n        Left = 8\n        Top = 40\n        Width = 75\n        Height = 25\n"
      "      end\n    end\n"
      "    object TS3: TTabSheet\n      Caption = 'Third'\n      TabVisible = False\n    end\n"
      "  end\n"
      "  object SB: TStatusBar\n    Left = 0\n    Top = 281\n    Width = 400\n    Height = 19\n"
      "    Panels = <\n      item\n        Text = 'Ready'\n        Width = 120\n      end\n"
      "      item\n        Alignment = taCenter\n        Style = psOwnerDraw\n        Width = 80\n      end\n"
      "      item\n        Bevel = pbRaised\n        Text = 'x'\n      end>\n"
      "    SimpleText = 'simple'\n  end\nend\n";
  auto check = [](TForm* f) {
    auto* pc = static_cast<TPageControl*>(f->FindComponent("PC"));
    ASSERT_NE(pc, nullptr);
    ASSERT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->Pages(0)->Name(), "TS1");
    EXPECT_EQ(pc->Pages(2)->Name(), "TS3");
    EXPECT_EQ(pc->ActivePage()->Name(), "TS2");
    EXPECT_TRUE(pc->Pages(1)->Visible());
    EXPECT_FALSE(pc->Pages(0)->Visible());
    EXPECT_FALSE(pc->Pages(2)->TabVisible());
    EXPECT_EQ(pc->Pages(1)->ImageIndex(), 3);
    EXPECT_EQ(pc->TabCount(), 2);
    EXPECT_EQ(pc->Pages(0)->BoundsRect(), pc->DisplayRect());
    auto* b1 = static_cast<TButton*>(f->FindComponent("B1"));
    ASSERT_NE(b1, nullptr);
    EXPECT_EQ(b1->Parent(), pc->Pages(0));
    EXPECT_EQ(b1->Caption(), "Go");
    EXPECT_EQ(static_cast<TControl*>(f->FindComponent("B2"))->Parent(), pc->Pages(1));
    auto* sb = static_cast<TStatusBar*>(f->FindComponent("SB"));
    ASSERT_NE(sb, nullptr);
    ASSERT_EQ(sb->Panels()->Count(), 3);
    EXPECT_EQ(sb->Panels()->Items(0)->Text(), "Ready");
    EXPECT_EQ(sb->Panels()->Items(0)->Width(), 120);
    EXPECT_EQ(sb->Panels()->Items(1)->Style(), psOwnerDraw);
    EXPECT_EQ(sb->Panels()->Items(1)->Alignment(), taCenter);
    EXPECT_EQ(sb->Panels()->Items(2)->Bevel(), pbRaised);
    EXPECT_EQ(sb->SimpleText(), "simple");
    EXPECT_EQ(sb->Align(), alBottom);
  };
  TForm* a = new TForm(nullptr);
  ReadComponentText(a, text);
  check(a);
  const std::string saved = WriteComponentText(a);
  // Where the page control puts its pages and which one shows is its own business.
  EXPECT_EQ(saved.find(" Visible = False"), std::string::npos) << saved;
  EXPECT_NE(saved.find("ActivePage = TS2"), std::string::npos) << saved;
  EXPECT_NE(saved.find("TabVisible = False"), std::string::npos) << saved;
  TForm* b = new TForm(nullptr);
  ReadComponentText(b, saved);
  check(b);
  EXPECT_EQ(WriteComponentText(b), saved);
  // The binary form reads back the same.
  TForm* c = new TForm(nullptr);
  ReadComponentText(c, ObjectBinaryToText(ObjectTextToBinary(saved)));
  check(c);
  a->Free();
  b->Free();
  c->Free();
}

TEST(StatusBar, PanelsStandSideBySideAndTheLastReachesTheEdge) {
  TStatusBar bar(nullptr);
  bar.SetBounds(0, 0, 300, 20);
  EXPECT_EQ(bar.Align(), alBottom);
  EXPECT_EQ(bar.PanelRect(0), TRect{});
  bar.Panels()->Add()->SetWidth(100);
  bar.Panels()->Add()->SetWidth(50);
  TStatusPanel* last = bar.Panels()->Add();
  last->SetWidth(20);
  EXPECT_EQ(bar.PanelRect(0), (TRect{0, 0, 100, 20}));
  EXPECT_EQ(bar.PanelRect(1), (TRect{100, 0, 150, 20}));
  EXPECT_EQ(bar.PanelRect(2), (TRect{150, 0, 300, 20}));
  EXPECT_EQ(bar.PanelRect(3), TRect{});
  EXPECT_EQ(bar.PanelAt(120, 5), 1);
  EXPECT_EQ(bar.PanelAt(299, 5), 2);
  EXPECT_EQ(bar.PanelAt(300, 5), -1);
  // Wider than the bar: the last panel keeps no negative width.
  bar.Panels()->Items(0)->SetWidth(400);
  EXPECT_EQ(bar.PanelRect(2).Width(), 0);
  bar.Panels()->Items(0)->SetWidth(-5);
  EXPECT_EQ(bar.Panels()->Items(0)->Width(), 0);
  bar.SetSimplePanel(true);
  EXPECT_EQ(bar.PanelRect(0), TRect{});
  // Assign copies a panel's settings; anything else is refused.
  TStatusBar other(nullptr);
  TStatusPanel* p = other.Panels()->Add();
  p->SetText("copied");
  p->SetStyle(psOwnerDraw);
  p->SetWidth(77);
  bar.Panels()->Items(1)->Assign(p);
  EXPECT_EQ(bar.Panels()->Items(1)->Text(), "copied");
  EXPECT_EQ(bar.Panels()->Items(1)->Style(), psOwnerDraw);
  EXPECT_EQ(bar.Panels()->Items(1)->Width(), 77);
  EXPECT_THROW(bar.Panels()->Items(1)->Assign(&other), rt::Exception);
}

TEST(StatusBar, OwnerDrawingAndHintsReachTheHandlers) {
  struct H {
    std::vector<std::string> seen;
    void Draw(TStatusBar*, TStatusPanel* panel, const TRect& r) {
      seen.push_back("draw " + panel->Text() + " " + std::to_string(r.Left) + "-" + std::to_string(r.Right));
    }
    void Hint(TObject*) { seen.push_back("hint"); }
  } h;
  TStatusBar bar(nullptr);
  TStatusPanel* p = bar.Panels()->Add();
  p->SetText("p");
  bar.DrawPanel(p, {1, 1, 49, 18});
  EXPECT_TRUE(h.seen.empty());
  bar.OnDrawPanel = TDrawPanelEvent::bind<&H::Draw>(&h);
  bar.DrawPanel(p, {1, 1, 49, 18});
  ASSERT_EQ(h.seen.size(), 1u);
  EXPECT_EQ(h.seen[0], "draw p 1-49");
  // Hints: ignored by default, shown with AutoHint, handed to OnHint when it is set.
  EXPECT_FALSE(bar.ExecuteHint("tip"));
  EXPECT_EQ(bar.ShownHint(), "");
  bar.SetAutoHint(true);
  EXPECT_TRUE(bar.ExecuteHint("tip"));
  EXPECT_EQ(bar.ShownHint(), "tip");
  EXPECT_TRUE(bar.ExecuteHint(""));
  EXPECT_EQ(bar.ShownHint(), "");
  bar.OnHint = TNotifyEvent::bind<&H::Hint>(&h);
  EXPECT_TRUE(bar.ExecuteHint("other"));
  EXPECT_EQ(h.seen.back(), "hint");
  EXPECT_EQ(bar.ShownHint(), "");
  // A handler that declines leaves the hint to the bar.
  struct D {
    TStatusBar* bar;
    void Hint(TObject*) { bar->DeclineHint(); }
  } d{&bar};
  bar.OnHint = TNotifyEvent::bind<&D::Hint>(&d);
  EXPECT_TRUE(bar.ExecuteHint("declined"));
  EXPECT_EQ(bar.ShownHint(), "declined");
  bar.SetAutoHint(false);
  EXPECT_EQ(bar.ShownHint(), "");
  EXPECT_FALSE(bar.ExecuteHint("off"));
  EXPECT_EQ(bar.ShownHint(), "");
}

}  // namespace
}  // namespace fw
