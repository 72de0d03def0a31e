#include "script/gui/caster.h"

#include "platform/fw/button.h"
#include "platform/fw/check_box.h"
#include "platform/fw/component.h"
#include "platform/fw/control.h"
#include "platform/fw/edit.h"
#include "platform/fw/form.h"
#include "platform/fw/label.h"
#include "platform/fw/memo.h"
#include "platform/fw/radio_button.h"
#include "script/core/published.h"
#include "script/gui/action_wrapper.h"
#include "script/gui/control_wrapper.h"
#include "script/gui/dialog_wrapper.h"
#include "script/gui/edit_wrapper.h"
#include "script/gui/button_wrapper.h"
#include "script/gui/form_wrapper.h"
#include "script/gui/list_wrapper.h"
#include "script/gui/menu_wrapper.h"
#include "script/gui/list_view_wrapper.h"
#include "script/gui/container_wrapper.h"
#include "script/gui/page_wrapper.h"
#include "script/gui/status_wrapper.h"
#include "script/gui/tab_wrapper.h"
#include "script/gui/timer_wrapper.h"
#include "script/gui/tool_wrapper.h"
#include "script/gui/tree_wrapper.h"

namespace gui {

using namespace engine;

namespace {

template <class W>
TJObject* make(TJBaseEngine* engine) {
  return TJObject::Create<W>(engine, nullptr, true);
}

struct TClassTest {
  const rt::ClassInfo& (*cls)();
  TJObject* (*create)(TJBaseEngine*);
};

// The framework classes with a wrapper family, descendants before their ancestors. Families of
// classes the framework does not have yet join this list as they are built.
const std::vector<TClassTest>& ClassTests() {
  static const std::vector<TClassTest> tests = {
      {&fw::TMenuItem::StaticClassInfo, &make<TJVCLBaseMenuItem>},
      {&fw::TBasicAction::StaticClassInfo, &make<TJVCLBaseAction>},
      {&fw::TPopupMenu::StaticClassInfo, &make<TJVCLBasePopupMenu>},
      {&fw::TMainMenu::StaticClassInfo, &make<TJVCLBaseMainMenu>},
      {&fw::TLabel::StaticClassInfo, &make<TJVCLBaseLabel>},
      {&fw::TToolButton::StaticClassInfo, &make<TJVCLBaseToolButton>},
      {&fw::TSpinEdit::StaticClassInfo, &make<TJVCLBaseSpinEdit>},
      {&fw::TCoolBar::StaticClassInfo, &make<TJVCLBaseCoolBar>},
      {&fw::TToolBar::StaticClassInfo, &make<TJVCLBaseToolBar>},
      {&fw::TUpDown::StaticClassInfo, &make<TJVCLBaseUpDown>},
      {&fw::TCheckListBox::StaticClassInfo, &make<TJVCLBaseCheckListBox>},
      {&fw::TListBox::StaticClassInfo, &make<TJVCLBaseListBox>},
      {&fw::TComboBox::StaticClassInfo, &make<TJVCLBaseComboBox>},
      {&fw::TRadioGroup::StaticClassInfo, &make<TJVCLBaseRadioGroup>},
      {&fw::TGroupBox::StaticClassInfo, &make<TJVCLBaseGroupBox>},
      {&fw::TPanel::StaticClassInfo, &make<TJVCLBasePanel>},
      {&fw::TSplitter::StaticClassInfo, &make<TJVCLBaseSplitter>},
      {&fw::TImage::StaticClassInfo, &make<TJVCLBaseImage>},
      {&fw::TProgressBar::StaticClassInfo, &make<TJVCLBaseProgressBar>},
      {&fw::TMemo::StaticClassInfo, &make<TJVCLBaseMemo>},
      {&fw::TEdit::StaticClassInfo, &make<TJVCLBaseEdit>},
      {&fw::TCheckBox::StaticClassInfo, &make<TJVCLBaseCheckBox>},
      {&fw::TRadioButton::StaticClassInfo, &make<TJVCLBaseRadioButton>},
      {&fw::TButton::StaticClassInfo, &make<TJVCLBaseButton>},
      {&fw::TForm::StaticClassInfo, &make<TJVCLBaseForm>},
      {&fw::TStatusBar::StaticClassInfo, &make<TJVCLBaseStatusBar>},
      {&fw::TPageControl::StaticClassInfo, &make<TJVCLBasePageControl>},
      {&fw::TTabSheet::StaticClassInfo, &make<TJVCLBaseTabSheet>},
      {&fw::TTabControl::StaticClassInfo, &make<TJVCLBaseTabControl>},
      {&fw::TListItem::StaticClassInfo, &make<TJVCLBaseListItem>},
      {&fw::TListItems::StaticClassInfo, &make<TJVCLBaseListItems>},
      {&fw::TListColumns::StaticClassInfo, &make<TJVCLBaseListColumns>},
      {&fw::TListView::StaticClassInfo, &make<TJVCLBaseListView>},
      {&fw::TTreeNode::StaticClassInfo, &make<TJVCLBaseTreeNode>},
      {&fw::TTreeNodes::StaticClassInfo, &make<TJVCLBaseTreeNodes>},
      {&fw::TTreeView::StaticClassInfo, &make<TJVCLBaseTreeView>},
      {&fw::TStatusPanels::StaticClassInfo, &make<TJVCLBaseStatusPanels>},
      {&fw::TWinControl::StaticClassInfo, &make<TJVCLWinControl>},
      {&fw::TControl::StaticClassInfo, &make<TJVCLControl>},
      {&fw::TTimer::StaticClassInfo, &make<TJVCLBaseTimer>},
      {&fw::TSaveDialog::StaticClassInfo, &make<TJVCLBaseSaveDialog>},
      {&fw::TOpenDialog::StaticClassInfo, &make<TJVCLBaseOpenDialog>},
      {&fw::TFontDialog::StaticClassInfo, &make<TJVCLBaseFontDialog>},
      {&fw::TReplaceDialog::StaticClassInfo, &make<TJVCLBaseReplaceDialog>},
      {&fw::TFindDialog::StaticClassInfo, &make<TJVCLBaseFindDialog>},
      {&fw::TComponent::StaticClassInfo, &make<TJVCLComponent>},
  };
  return tests;
}

TJObject* castHook(rt::TPersistent* object, TJBaseEngine* engine) { return GetCaster().Cast(object, engine); }

}  // namespace

TJObject* CreateVCLWrapper(rt::TPersistent* object, TJBaseEngine* engine) {
  if (!object) return nullptr;
  for (const TClassTest& test : ClassTests())
    if (object->InheritsFrom(test.cls())) return test.create(engine);
  return make<TJVCLPersistent>(engine);
}

TJVCLCaster::TJVCLCaster() { factories_.push_back(&CreateVCLWrapper); }

int TJVCLCaster::AddFactory(TJVCLWrapperFactory factory) {
  factories_.push_back(factory);
  return int(factories_.size()) - 1;
}

TJObject* TJVCLCaster::Cast(rt::TPersistent* object, TJBaseEngine* engine) {
  if (!object) return nullptr;
  auto* component = dynamic_cast<fw::TComponent*>(object);
  if (component && component->BridgeLink()) {
    auto* wrapper = static_cast<TJVCLComponent*>(component->BridgeLink());
    if (!wrapper->IsDisposed()) return wrapper;
  }
  for (auto it = factories_.rbegin(); it != factories_.rend(); ++it) {
    TJObject* made = (*it)(object, engine);
    if (!made) continue;
    auto* wrapper = dynamic_cast<TJVCLPersistent*>(made);
    TJKeepAlive keep(made);
    if (!wrapper || !wrapper->AttachVCL(object, false)) continue;
    return made;
  }
  return nullptr;
}

TJVCLCaster& GetCaster() {
  static TJVCLCaster* caster = [] {
    auto* c = new TJVCLCaster;
    SetCaster(&castHook);
    return c;
  }();
  return *caster;
}

}  // namespace gui
