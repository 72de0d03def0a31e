// The list view's layout without a window: places given while the view is scrolled, moves
// between neighbours and hit tests along every edge an arrangement names, bringing items into
// view in every style, owner-data hints while scrolling, and columns that keep their texts when
// they are moved or when another column goes.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/fw/list_view.h"

namespace {

using namespace fw;

void Fill(TListView& lv, int count) {
  for (int i = 0; i < count; ++i) lv.Items()->Add()->SetCaption("n" + std::to_string(i));
}

TPoint At(TListView& lv, int index) { return lv.Items()->Item(index)->Position(); }

TEST(ListViewLayout, PlacesGivenWhileScrolledStayWhereTheyWereAsked) {
  TListView lv(nullptr);
  lv.SetBounds(0, 0, 100, 150);  // icons one to a row
  Fill(lv, 10);
  lv.Scroll(0, 70);
  TListItem* item = lv.Items()->Item(3);
  item->SetPosition({10, 20});
  EXPECT_EQ(item->Position(), (TPoint{10, 20}));
  EXPECT_EQ(lv.GetItemAt(15, 25), item);
  lv.Scroll(0, -70);
  EXPECT_EQ(item->Position(), (TPoint{10, 90}));
  // Its old cell stays empty; the items around it keep theirs.
  EXPECT_EQ(lv.GetItemAt(5, 3 * TCustomListView::IconCellHeight + 5), nullptr);
  EXPECT_EQ(At(lv, 4).Y, 4 * TCustomListView::IconCellHeight);
}

// Each edge: where the second item lies from the first, the moves of GetNextItem (which end at
// the end of a line) and the hit test agreeing with the places.
TEST(ListViewLayout, NeighboursAndHitsFollowTheArrangedEdge) {
  struct Case {
    TListArrangement code;
    TSearchDirection towardSecond;
  } cases[] = {{arAlignTop, sdRight}, {arAlignLeft, sdBelow}, {arAlignBottom, sdRight}, {arAlignRight, sdBelow}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.code));
    TListView lv(nullptr);
    lv.SetViewStyle(vsSmallIcon);
    lv.SetBounds(0, 0, 250, 60);  // two cells a row, three a column
    Fill(lv, 7);
    lv.Arrange(c.code);
    for (int i = 0; i < 7; ++i) {
      lv.Items()->Item(i)->MakeVisible(false);  // the last lines lie beyond the view
      const TPoint p = At(lv, i);
      EXPECT_EQ(lv.IndexAt(p.X + 3, p.Y + 3), i);
    }
    lv.Items()->Item(0)->MakeVisible(false);
    TListItem* first = lv.Items()->Item(0);
    EXPECT_EQ(lv.GetNextItem(first, c.towardSecond, TItemStates{}), lv.Items()->Item(1));
    // Every move lands on the item lying that way of the start.
    for (TSearchDirection d : {sdLeft, sdRight, sdAbove, sdBelow}) {
      for (int i = 0; i < 7; ++i) {
        const int next = lv.NeighbourIndex(i, d);
        if (next < 0) continue;
        const TPoint a = At(lv, i), b = At(lv, next);
        const bool ok = d == sdLeft ? b.X < a.X && b.Y == a.Y
                        : d == sdRight ? b.X > a.X && b.Y == a.Y
                        : d == sdAbove ? b.Y < a.Y && b.X == a.X
                                       : b.Y > a.Y && b.X == a.X;
        EXPECT_TRUE(ok) << "from " << i << " toward " << int(d) << " to " << next;
      }
    }
  }
}

// MakeVisible scrolls whichever way the item lies: down in report and icon styles, sideways in
// list style, and not at all when partly in sight is enough.
TEST(ListViewLayout, MakeVisibleScrollsTheWayTheItemLies) {
  TListView lv(nullptr);
  lv.SetBounds(0, 0, 200, 100);
  Fill(lv, 40);
  auto inSight = [&](int index) {
    const TRect r = lv.Items()->Item(index)->DisplayRect(drBounds), area = lv.ItemArea();
    return r.Left >= area.Left && r.Right <= area.Right && r.Top >= area.Top && r.Bottom <= area.Bottom;
  };
  for (TViewStyle style : {vsList, vsReport, vsSmallIcon, vsIcon}) {
    SCOPED_TRACE(int(style));
    lv.SetViewStyle(style);
    if (style == vsReport) lv.Columns()->Add()->SetWidth(150);
    ASSERT_FALSE(inSight(39));
    lv.Items()->Item(39)->MakeVisible(false);
    EXPECT_TRUE(inSight(39));
    lv.Items()->Item(0)->MakeVisible(false);
    EXPECT_TRUE(inSight(0));
    EXPECT_EQ(lv.ViewOrigin(), (TPoint{0, 0}));
  }
  lv.SetViewStyle(vsList);
  lv.Scroll(60, 0);  // the first column half out of sight
  const TPoint before = lv.ViewOrigin();
  lv.Items()->Item(0)->MakeVisible(true);
  EXPECT_EQ(lv.ViewOrigin(), before);
  lv.Items()->Item(0)->MakeVisible(false);
  EXPECT_EQ(lv.ViewOrigin().X, 0);
}

struct THints {
  std::vector<std::pair<int, int>> ranges;
  void Hint(TObject*, int32_t first, int32_t last) { ranges.emplace_back(first, last); }
};

TEST(ListViewLayout, OwnerDataHintsFollowScrollingInEveryStyle) {
  TListView lv(nullptr);
  lv.SetBounds(0, 0, 240, 100);
  lv.SetOwnerData(true);
  lv.Items()->SetCount(1000);
  THints hints;
  lv.OnDataHint = TLVOwnerDataHintEvent::bind<&THints::Hint>(&hints);
  lv.SetViewStyle(vsList);
  lv.Scroll(2 * TCustomListView::ListColumnWidth, 0);
  ASSERT_EQ(hints.ranges.size(), 1u);
  const int rows = 100 / TCustomListView::RowHeight;
  EXPECT_EQ(hints.ranges[0], std::make_pair(2 * rows, 4 * rows - 1));
  lv.SetViewStyle(vsSmallIcon);
  lv.Scroll(0, 10 * TCustomListView::RowHeight);
  ASSERT_EQ(hints.ranges.size(), 2u);
  EXPECT_EQ(hints.ranges[1].first, 20);  // two cells a row, from the tenth row
  const std::vector<int32_t> sight = lv.IndexesInSight();
  ASSERT_FALSE(sight.empty());
  EXPECT_EQ(hints.ranges[1].second, sight.back());
}

// Columns keep the texts they show: moved by a drag, or when a column before them goes.
TEST(ListViewLayout, ColumnsKeepTheirTextsWhenMovedOrWhenAnotherGoes) {
  TListView lv(nullptr);
  lv.SetViewStyle(vsReport);
  lv.SetBounds(0, 0, 400, 100);
  for (const char* name : {"Name", "Size", "Type", "Date"}) {
    TListColumn* c = lv.Columns()->Add();
    c->SetCaption(name);
    c->SetWidth(60);
  }
  int dragged = 0;
  lv.OnColumnDragged = TNotifyEvent([](void* n, TObject*) { ++*static_cast<int*>(n); }, &dragged);
  lv.UserColumnDrag(0, 2);
  EXPECT_EQ(dragged, 0);  // FullDrag is off
  lv.SetFullDrag(true);
  lv.UserColumnDrag(0, 2);
  lv.UserColumnDrag(1, 1);
  EXPECT_EQ(dragged, 1);
  std::string order;
  for (int i = 0; i < lv.Columns()->Count(); ++i)
    order += lv.Columns()->Items(i)->Caption() + std::to_string(lv.Columns()->Items(i)->DataIndex()) + " ";
  EXPECT_EQ(order, "Size1 Type2 Name0 Date3 ");
  Fill(lv, 1);
  EXPECT_EQ(lv.Items()->Item(0)->DisplayRect(drLabel).Left, 120);
  delete lv.Columns()->Items(0);  // Size
  order.clear();
  for (int i = 0; i < lv.Columns()->Count(); ++i)
    order += lv.Columns()->Items(i)->Caption() + std::to_string(lv.Columns()->Items(i)->DataIndex()) + " ";
  EXPECT_EQ(order, "Type1 Name0 Date2 ");
  EXPECT_EQ(lv.SubItemRect(0, 2).Left, 120);
  EXPECT_EQ(lv.ColumnOfSubItem(3), -1);
}

}  // namespace
