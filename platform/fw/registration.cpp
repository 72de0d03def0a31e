#include "platform/fw/registration.h"

#include "platform/fw/actions.h"
#include "platform/fw/application.h"
#include "platform/fw/bitmap.h"
#include "platform/fw/button.h"
#include "platform/fw/check_box.h"
#include "platform/fw/combo_box.h"
#include "platform/fw/common_dialogs.h"
#include "platform/fw/group_box.h"
#include "platform/fw/component.h"
#include "platform/fw/edit.h"
#include "platform/fw/form.h"
#include "platform/fw/image.h"
#include "platform/fw/label.h"
#include "platform/fw/list_box.h"
#include "platform/fw/list_view.h"
#include "platform/fw/memo.h"
#include "platform/fw/menus.h"
#include "platform/fw/panel.h"
#include "platform/fw/radio_button.h"
#include "platform/fw/splitter.h"
#include "platform/fw/timer.h"
#include "platform/rt/typeinfo.h"

namespace fw {

void RegisterFrameworkClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  for (const rt::ClassInfo* cls :
       {&TComponent::StaticClassInfo(), &TControl::StaticClassInfo(), &TWinControl::StaticClassInfo(),
        &TForm::StaticClassInfo(), &TPanel::StaticClassInfo(), &TLabel::StaticClassInfo(),
        &TEdit::StaticClassInfo(), &TMemo::StaticClassInfo(), &TButton::StaticClassInfo(),
        &TCheckBox::StaticClassInfo(), &TImage::StaticClassInfo(), &TTimer::StaticClassInfo(),
        &TApplicationEvents::StaticClassInfo(), &TBitmap::StaticClassInfo(),
        &TRadioButton::StaticClassInfo(), &TListBox::StaticClassInfo(), &TCheckListBox::StaticClassInfo(),
        &TComboBox::StaticClassInfo(), &TGroupBox::StaticClassInfo(), &TRadioGroup::StaticClassInfo(),
        &TSplitter::StaticClassInfo(), &TProgressBar::StaticClassInfo(),
        &TMenuItem::StaticClassInfo(), &TMainMenu::StaticClassInfo(), &TPopupMenu::StaticClassInfo(),
        &TAction::StaticClassInfo(), &TActionList::StaticClassInfo(),
        &TOpenDialog::StaticClassInfo(), &TSaveDialog::StaticClassInfo(), &TFontDialog::StaticClassInfo(),
        &TFindDialog::StaticClassInfo(), &TReplaceDialog::StaticClassInfo(), &TListView::StaticClassInfo()})
    rt::RegisterClass(*cls);
}

}  // namespace fw
