// Splitters resizing their neighbour (limits, a refusing or size-changing handler, the side it
// works on) and progress bars keeping their position in range.
#include <gtest/gtest.h>

#include "platform/fw/form.h"
#include "platform/fw/panel.h"
#include "platform/fw/registration.h"
#include "platform/fw/splitter.h"

namespace fw {
namespace {

struct SplitterTest : ::testing::Test {
  SplitterTest() {
    form = new TForm(nullptr);
    form->SetClientSize(400, 300);
    left = new TPanel(form);
    left->SetParent(form);
    left->SetWidth(100);
    left->SetAlign(alLeft);
    splitter = new TSplitter(form);
    splitter->SetParent(form);
    splitter->SetLeft(200);
    splitter->SetAlign(alLeft);
  }
  ~SplitterTest() override { form->Free(); }
  TForm* form;
  TPanel* left;
  TSplitter* splitter;
};

struct Query {
  int32_t forced = -1;
  bool refuse = false;
  int calls = 0, moved = 0;
  void CanResize(TObject*, int32_t& size, bool& accept) {
    ++calls;
    if (forced >= 0) size = forced;
    if (refuse) accept = false;
  }
  void Moved(TObject*) { ++moved; }
};

TEST_F(SplitterTest, DragResizesTheNeighbourWithinLimits) {
  ASSERT_EQ(splitter->Left(), 100);
  EXPECT_EQ(splitter->ResizeControl(), left);
  Query q;
  splitter->OnMoved = TNotifyEvent::bind<&Query::Moved>(&q);
  EXPECT_TRUE(splitter->UserMoveBy(40));
  EXPECT_EQ(left->Width(), 140);
  EXPECT_EQ(splitter->Left(), 140);
  EXPECT_TRUE(splitter->UserMoveBy(-1000));
  EXPECT_EQ(left->Width(), splitter->MinSize());
  EXPECT_TRUE(splitter->UserMoveBy(5000));
  EXPECT_EQ(left->Width(), 400 - 3 - splitter->MinSize());
  EXPECT_EQ(q.moved, 3);
  EXPECT_FALSE(splitter->UserMoveBy(0));
}

TEST_F(SplitterTest, TheHandlerMayChangeOrRefuseTheSize) {
  Query q;
  splitter->OnCanResizeSize = TCanResizeSizeEvent::bind<&Query::CanResize>(&q);
  splitter->OnMoved = TNotifyEvent::bind<&Query::Moved>(&q);
  q.forced = 50;
  EXPECT_TRUE(splitter->UserMoveBy(80));
  EXPECT_EQ(left->Width(), 50);
  q.forced = -1;
  q.refuse = true;
  EXPECT_FALSE(splitter->UserMoveBy(80));
  EXPECT_EQ(left->Width(), 50);
  EXPECT_EQ(q.calls, 2);
  EXPECT_EQ(q.moved, 1);
}

TEST_F(SplitterTest, NoNeighbourNothingResized) {
  left->SetAlign(alRight);
  EXPECT_EQ(splitter->ResizeControl(), nullptr);
  EXPECT_FALSE(splitter->UserMoveBy(20));
}

TEST(ProgressBar, PositionStaysInRange) {
  TProgressBar bar(nullptr);
  bar.SetPosition(150);
  EXPECT_EQ(bar.Position(), 100);
  bar.StepBy(-5);
  EXPECT_EQ(bar.Position(), 95);
  bar.StepIt();  // past the end: starts over
  EXPECT_EQ(bar.Position(), 0);
  bar.StepIt();
  EXPECT_EQ(bar.Position(), 10);
  bar.StepBy(-1000);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetMin(20);
  EXPECT_EQ(bar.Position(), 20);
  bar.SetMax(10);  // the range never turns over
  EXPECT_EQ(bar.Min(), 10);
  EXPECT_EQ(bar.Position(), 10);
}

TEST(ProgressBar, DescriptionsKeepTheRangeWhateverTheOrder) {
  RegisterFrameworkClasses();
  auto* form = new TForm(nullptr);
  ReadComponentText(form, R"(object F: TForm
  object Bar: TProgressBar
    Position = 250
    Max = 300
    Min = 200
    Step = 5
  end
  object Split: TSplitter
    MinSize = 12
    Beveled = True
  end
end
)");
  auto* bar = dynamic_cast<TProgressBar*>(form->FindComponent("Bar"));
  auto* split = dynamic_cast<TSplitter*>(form->FindComponent("Split"));
  ASSERT_TRUE(bar && split);
  EXPECT_EQ(bar->Position(), 250);
  EXPECT_EQ(bar->Min(), 200);
  EXPECT_EQ(split->MinSize(), 12);
  const std::string written = WriteComponentText(form);
  auto* again = new TForm(nullptr);
  ReadComponentText(again, written);
  EXPECT_EQ(WriteComponentText(again), written);
  again->Free();
  form->Free();
}

}  // namespace
}  // namespace fw
