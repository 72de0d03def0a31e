#include "platform/fw/radio_button.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fw {
namespace {

struct Clicks {
  std::vector<const TObject*> senders;
  void Click(TObject* sender) { senders.push_back(sender); }
};

TEST(RadioButton, OneCheckedPerParent) {
  auto* form = new TWinControl(nullptr);
  auto* group = new TWinControl(form);
  group->SetParent(form);
  Clicks clicks;
  TRadioButton* b[4];
  for (int i = 0; i < 4; ++i) {
    b[i] = new TRadioButton(form);
    b[i]->SetParent(i < 3 ? form : group);
    b[i]->OnClick = TNotifyEvent::bind<&Clicks::Click>(&clicks);
  }
  b[3]->SetChecked(true);  // alone in its parent
  b[0]->SetChecked(true);
  b[1]->SetChecked(true);
  EXPECT_FALSE(b[0]->Checked());
  EXPECT_TRUE(b[1]->Checked());
  EXPECT_TRUE(b[3]->Checked());  // another parent, another group
  EXPECT_TRUE(b[1]->TabStop());
  EXPECT_FALSE(b[0]->TabStop());
  // Checking fires OnClick; unchecking and checking again what is checked fire nothing.
  EXPECT_EQ(clicks.senders, (std::vector<const TObject*>{b[3], b[0], b[1]}));
  b[1]->UserClick();
  b[1]->SetChecked(false);
  EXPECT_EQ(clicks.senders.size(), 3u);
  EXPECT_FALSE(b[1]->Checked());
  b[2]->UserClick();
  EXPECT_EQ(clicks.senders.back(), b[2]);
  form->Free();
}

TEST(RadioButton, AButtonWithoutParentStandsAlone) {
  TRadioButton a(nullptr), b(nullptr);
  a.SetChecked(true);
  b.SetChecked(true);
  EXPECT_TRUE(a.Checked());
  EXPECT_TRUE(b.Checked());
}

}  // namespace
}  // namespace fw
