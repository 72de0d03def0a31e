#include "script/gui/registration.h"

#include <string_view>

#include "platform/fw/registration.h"
#include "platform/rt/typeinfo.h"
#include "script/core/base_engine.h"
#include "script/core/component.h"
#include "script/core/factory.h"
#include "script/gui/action_wrapper.h"
#include "script/gui/button_wrapper.h"
#include "script/gui/caster.h"
#include "script/gui/class_names.h"
#include "script/gui/dialog_wrapper.h"
#include "script/gui/edit_wrapper.h"
#include "script/gui/form_wrapper.h"
#include "script/gui/list_wrapper.h"
#include "script/gui/menu_wrapper.h"
#include "script/gui/list_view_wrapper.h"
#include "script/gui/page_wrapper.h"
#include "script/gui/status_wrapper.h"
#include "script/gui/container_wrapper.h"
#include "script/gui/tab_wrapper.h"
#include "script/gui/timer_wrapper.h"
#include "script/gui/tool_wrapper.h"
#include "script/gui/tree_wrapper.h"

namespace gui {

using namespace engine;

namespace {

// The classes built so far, by script name; the other names of kVCLClassNames register as their
// families are built.
const TJClass* ClassFor(std::string_view name) {
  if (name == "VCLForm") return &ClassOf<TJVCLForm>();
  if (name == "VCLEdit") return &ClassOf<TJVCLEdit>();
  if (name == "VCLButton") return &ClassOf<TJVCLButton>();
  if (name == "VCLMemo") return &ClassOf<TJVCLMemo>();
  if (name == "VCLLabel") return &ClassOf<TJVCLLabel>();
  if (name == "VCLCheckBox") return &ClassOf<TJVCLCheckBox>();
  if (name == "VCLRadioButton") return &ClassOf<TJVCLRadioButton>();
  if (name == "VCLListBox") return &ClassOf<TJVCLListBox>();
  if (name == "VCLCheckListBox") return &ClassOf<TJVCLCheckListBox>();
  if (name == "VCLComboBox") return &ClassOf<TJVCLComboBox>();
  if (name == "VCLRadioGroup") return &ClassOf<TJVCLRadioGroup>();
  if (name == "VCLGroupBox") return &ClassOf<TJVCLGroupBox>();
  if (name == "VCLPanel") return &ClassOf<TJVCLPanel>();
  if (name == "VCLSplitter") return &ClassOf<TJVCLSplitter>();
  if (name == "VCLImage") return &ClassOf<TJVCLImage>();
  if (name == "VCLProgressBar") return &ClassOf<TJVCLProgressBar>();
  if (name == "VCLTimer") return &ClassOf<TJVCLTimer>();
  if (name == "VCLTabControl") return &ClassOf<TJVCLTabControl>();
  if (name == "VCLMenuItem") return &ClassOf<TJVCLMenuItem>();
  if (name == "VCLMainMenu") return &ClassOf<TJVCLMainMenu>();
  if (name == "VCLPopupMenu") return &ClassOf<TJVCLPopupMenu>();
  if (name == "VCLAction") return &ClassOf<TJVCLAction>();
  if (name == "VCLListView") return &ClassOf<TJVCLListView>();
  if (name == "VCLToolButton") return &ClassOf<TJVCLToolButton>();
  if (name == "VCLToolBar") return &ClassOf<TJVCLToolBar>();
  if (name == "VCLCoolBar") return &ClassOf<TJVCLCoolBar>();
  if (name == "VCLSpinEdit") return &ClassOf<TJVCLSpinEdit>();
  if (name == "VCLUpDown") return &ClassOf<TJVCLUpDown>();
  if (name == "VCLOpenDialog") return &ClassOf<TJVCLOpenDialog>();
  if (name == "VCLSaveDialog") return &ClassOf<TJVCLSaveDialog>();
  if (name == "VCLFontDialog") return &ClassOf<TJVCLFontDialog>();
  if (name == "VCLFindDialog") return &ClassOf<TJVCLFindDialog>();
  if (name == "VCLReplaceDialog") return &ClassOf<TJVCLReplaceDialog>();
  if (name == "VCLTreeView") return &ClassOf<TJVCLTreeView>();
  if (name == "VCLTabSheet") return &ClassOf<TJVCLTabSheet>();
  if (name == "VCLPageControl") return &ClassOf<TJVCLPageControl>();
  if (name == "VCLStatusBar") return &ClassOf<TJVCLStatusBar>();
  return nullptr;
}

}  // namespace

void RegisterVCLObjects(TJBaseEngine& engine) {
  for (const char* name : kVCLClassNames)
    if (const TJClass* cls = ClassFor(name)) engine.ImportObject(name, *cls);
}

void RegisterVCLStreamClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  fw::RegisterFrameworkClasses();
  for (const rt::ClassInfo* cls : {&fw::TForm::StaticClassInfo(), &fw::TEdit::StaticClassInfo(),
                                   &fw::TButton::StaticClassInfo(), &fw::TMemo::StaticClassInfo(),
                                   &fw::TLabel::StaticClassInfo(), &fw::TCheckBox::StaticClassInfo(),
                                   &fw::TRadioButton::StaticClassInfo(), &fw::TListBox::StaticClassInfo(),
                                   &fw::TCheckListBox::StaticClassInfo(), &fw::TComboBox::StaticClassInfo(),
                                   &fw::TGroupBox::StaticClassInfo(), &fw::TRadioGroup::StaticClassInfo(),
                                   &fw::TPanel::StaticClassInfo(), &fw::TImage::StaticClassInfo(),
                                   &fw::TSplitter::StaticClassInfo(), &fw::TProgressBar::StaticClassInfo(),
                                   &fw::TTimer::StaticClassInfo(), &fw::TTabControl::StaticClassInfo(),
                                   &fw::TMenuItem::StaticClassInfo(), &fw::TMainMenu::StaticClassInfo(),
                                   &fw::TPopupMenu::StaticClassInfo(), &fw::TAction::StaticClassInfo(),
                                   &fw::TActionList::StaticClassInfo(),
                                   &fw::TListView::StaticClassInfo(),
                                   &fw::TToolButton::StaticClassInfo(), &fw::TToolBar::StaticClassInfo(),
                                   &fw::TCoolBar::StaticClassInfo(), &fw::TSpinEdit::StaticClassInfo(),
                                   &fw::TUpDown::StaticClassInfo(),
                                   &fw::TOpenDialog::StaticClassInfo(), &fw::TSaveDialog::StaticClassInfo(),
                                   &fw::TFontDialog::StaticClassInfo(), &fw::TFindDialog::StaticClassInfo(),
                                   &fw::TReplaceDialog::StaticClassInfo(),
                                   &fw::TTabSheet::StaticClassInfo(), &fw::TPageControl::StaticClassInfo(),
                                   &fw::TStatusBar::StaticClassInfo(),
                                   &fw::TTreeView::StaticClassInfo()})
    rt::RegisterClass(*cls);
}

void Install() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  RegisterVCLStreamClasses();
  GetCaster();
  HostRegistrations().push_back([](TJEngine& engine) { RegisterVCLObjects(engine); });
}

}  // namespace gui
