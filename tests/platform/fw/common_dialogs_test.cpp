// The common dialogs as the framework keeps them: what each user action does to the dialog's
// fields and events, the veto of the open dialog's OnCanClose, modeless find and replace dialogs
// and their closing, and the answers when no dialog service is installed.
#include "platform/fw/common_dialogs.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/fw/dialogs.h"

namespace fw {
namespace {

// Records the events of a dialog as one text.
struct TTrace {
  std::string text;
  void Add(const std::string& s) { text += s + ";"; }
};

template <const char* Name>
void noteThunk(void* self, TObject*) {
  static_cast<TTrace*>(self)->Add(Name);
}
constexpr char kShow[] = "show", kClose[] = "close", kFolder[] = "folder", kSelection[] = "selection",
               kType[] = "type", kFind[] = "find", kReplace[] = "replace";

void traceCommon(TCommonDialog& d, TTrace& t) {
  d.OnShow = TNotifyEvent(&noteThunk<kShow>, &t);
  d.OnClose = TNotifyEvent(&noteThunk<kClose>, &t);
}

struct TCanClose {
  TTrace* trace;
  std::vector<bool> answers;  // one per call, then true
  TOpenDialog* dialog;
  static void Call(void* self, TObject*, bool& canClose) {
    auto* c = static_cast<TCanClose*>(self);
    c->trace->Add("canClose " + c->dialog->FileName() + " " + std::to_string(c->dialog->Files()->Count()));
    if (!c->answers.empty()) {
      canClose = c->answers.front();
      c->answers.erase(c->answers.begin());
    }
  }
};

TEST(OpenDialog, UserActionsRaiseTheirEventsAndCanCloseVetoesAChoice) {
  TScriptedDialogs scripted;
  TDialogServiceScope scope(&scripted);
  TOpenDialog d(nullptr);
  TTrace t;
  traceCommon(d, t);
  d.OnFolderChange = TNotifyEvent(&noteThunk<kFolder>, &t);
  d.OnSelectionChange = TNotifyEvent(&noteThunk<kSelection>, &t);
  d.OnTypeChange = TNotifyEvent(&noteThunk<kType>, &t);
  TCanClose veto{&t, {false}, &d};
  d.OnCanClose = TCloseQueryEvent(&TCanClose::Call, &veto);
  d.SetFileName("/old.txt");
  d.SetTitle("Pick");
  d.SetFilter("Text|*.txt|All|*.*");
  HWND during = 0;
  scripted.OnFileDialog = [&](TOpenDialog& dialog) {
    during = dialog.Handle();
    EXPECT_EQ(FindHandleObject(during), &dialog);
    EXPECT_TRUE(dialog.Executing());
    dialog.FolderChanged();
    dialog.SelectionChanged();
    dialog.TypeChanged(2);
    EXPECT_FALSE(dialog.Choose({}));  // nothing chosen: OK does nothing
    EXPECT_FALSE(dialog.Choose({"/a.txt"}));
    EXPECT_EQ(dialog.FileName(), "/old.txt");  // the veto leaves the dialog as it was
    EXPECT_EQ(dialog.Files()->Count(), 0);
    return dialog.Choose({"/b.txt", "/c.txt"});
  };
  EXPECT_TRUE(d.Execute());
  EXPECT_EQ(t.text, "show;folder;selection;type;canClose /a.txt 1;canClose /b.txt 1;close;");
  EXPECT_EQ(d.FileName(), "/b.txt");
  EXPECT_EQ(d.Files()->Text(), "/b.txt\r\n");  // one file without ofAllowMultiSelect
  EXPECT_EQ(d.FilterIndex(), 2);
  EXPECT_NE(during, 0u);
  EXPECT_EQ(d.Handle(), 0u);
  EXPECT_EQ(FindHandleObject(during), nullptr);
  EXPECT_FALSE(d.Executing());
  ASSERT_EQ(scripted.Log.size(), 1u);
  EXPECT_EQ(scripted.Log[0].kind, "open");
  EXPECT_EQ(scripted.Log[0].caption, "Pick");
  EXPECT_EQ(scripted.Log[0].result, mrOk);
}

TEST(OpenDialog, MultiSelectDefaultExtensionAndSaveDialogs) {
  TScriptedDialogs scripted;
  TDialogServiceScope scope(&scripted);
  TSaveDialog d(nullptr);
  d.SetDefaultExt("txt");
  TOpenOptions o = d.Options();
  EXPECT_TRUE(o.has(ofHideReadOnly) && o.has(ofEnableSizing));
  d.SetOptions(o.include(ofAllowMultiSelect));
  scripted.OnFileDialog = [](TOpenDialog& dialog) {
    return dialog.Choose({"/d/notes", "/d/x.log", "", "/d.v/readme", "/d/.profile"});
  };
  EXPECT_TRUE(d.Execute());
  EXPECT_EQ(d.FileName(), "/d/notes.txt");
  EXPECT_EQ(d.Files()->Text(), "/d/notes.txt\r\n/d/x.log\r\n/d.v/readme.txt\r\n/d/.profile.txt\r\n");
  ASSERT_EQ(scripted.Log.size(), 1u);
  EXPECT_EQ(scripted.Log[0].kind, "save");

  // Cancelled: the result is false and the fields keep the earlier choice.
  scripted.OnFileDialog = [](TOpenDialog&) { return false; };
  EXPECT_FALSE(d.Execute());
  EXPECT_EQ(d.FileName(), "/d/notes.txt");
}

TEST(OpenDialog, ErrorsInHandlersLeaveTheDialogClosedAndUnchanged) {
  TScriptedDialogs scripted;
  TDialogServiceScope scope(&scripted);
  TOpenDialog d(nullptr);
  TTrace t;
  traceCommon(d, t);
  d.SetFileName("/keep");
  d.OnCanClose = TCloseQueryEvent(
      +[](void*, TObject*, bool&) { throw std::runtime_error("handler failed"); }, nullptr);
  int nested = -1;
  scripted.OnFileDialog = [&](TOpenDialog& dialog) {
    nested = dialog.Execute() ? 1 : 0;  // a second execute while one runs is refused
    return dialog.Choose({"/new"});
  };
  EXPECT_THROW(d.Execute(), std::runtime_error);
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(d.FileName(), "/keep");
  EXPECT_EQ(t.text, "show;close;");
  EXPECT_EQ(d.Handle(), 0u);
  EXPECT_FALSE(d.Executing());
  // And it runs again afterwards.
  d.OnCanClose = {};
  EXPECT_TRUE(d.Execute());
  EXPECT_EQ(d.FileName(), "/new");
}

TEST(CommonDialogs, WithoutAServiceEveryDialogIsCancelled) {
  TDialogServiceScope none(nullptr);
  TOpenDialog open(nullptr);
  TFontDialog font(nullptr);
  TFindDialog find(nullptr);
  TTrace t;
  traceCommon(open, t);
  traceCommon(find, t);
  EXPECT_FALSE(open.Execute());
  EXPECT_FALSE(font.Execute());
  EXPECT_FALSE(find.Execute());
  EXPECT_FALSE(find.Visible());
  EXPECT_EQ(t.text, "show;close;show;close;");
  TCommonDialog base(nullptr);
  EXPECT_FALSE(base.Execute());
}

TEST(FontDialog, ApplyTakesTheFontAndPassesTheWindowHandle) {
  TScriptedDialogs scripted;
  TDialogServiceScope scope(&scripted);
  TFontDialog d(nullptr);
  struct TApply {
    std::string seen;
    HWND wnd = 0;
    static void Call(void* self, TObject* sender, HWND wnd) {
      auto* a = static_cast<TApply*>(self);
      a->wnd = wnd;
      a->seen = static_cast<TFontDialog*>(sender)->Font()->Name();
    }
  } apply;
  d.OnApply = TFDApplyEvent(&TApply::Call, &apply);
  EXPECT_TRUE(d.Options().has(fdEffects));
  scripted.OnFontDialog = [&](TFontDialog& dialog) {
    TFont f;
    f.SetName("Serif");
    f.SetSize(14);
    dialog.Apply(f);
    EXPECT_EQ(FindHandleObject(apply.wnd), &dialog);
    f.SetName("Mono");
    dialog.Font()->Assign(&f);
    return true;
  };
  EXPECT_TRUE(d.Execute());
  EXPECT_EQ(apply.seen, "Serif");
  EXPECT_EQ(d.Font()->Name(), "Mono");
  EXPECT_EQ(d.Font()->Size(), 14);
  ASSERT_EQ(scripted.Log.size(), 1u);
  EXPECT_EQ(scripted.Log[0].kind, "font");

  EXPECT_TRUE(d.SizeAllowed(3));
  d.SetMinFontSize(8);
  d.SetMaxFontSize(12);
  EXPECT_TRUE(d.SizeAllowed(3));  // limits count only with fdLimitSize
  d.SetOptions(TFontDialogOptions{fdLimitSize});
  EXPECT_FALSE(d.SizeAllowed(7));
  EXPECT_TRUE(d.SizeAllowed(8));
  EXPECT_TRUE(d.SizeAllowed(12));
  EXPECT_FALSE(d.SizeAllowed(13));
  d.SetMaxFontSize(0);
  EXPECT_TRUE(d.SizeAllowed(400));
}

TEST(FindDialog, StaysUpFindsAndClosesOnce) {
  TScriptedDialogs scripted;
  TDialogServiceScope scope(&scripted);
  TFindDialog d(nullptr);
  TTrace t;
  traceCommon(d, t);
  d.OnFind = TNotifyEvent(&noteThunk<kFind>, &t);
  scripted.OnFindDialog = [](TFindDialog&) { return true; };
  d.SetFindText("abc");
  EXPECT_TRUE(d.Options().has(frDown));
  EXPECT_TRUE(d.Execute());
  EXPECT_TRUE(d.Visible());
  EXPECT_TRUE(d.Execute());  // up already: brought to the front, no second OnShow
  d.Find("needle", TFindOptions{frMatchCase, frReplace, frReplaceAll});
  EXPECT_EQ(d.FindText(), "needle");
  EXPECT_EQ(d.Options().bits, (TFindOptions{frMatchCase, frFindNext}.bits));
  d.CloseDialog();
  d.CloseDialog();  // closed already: nothing
  d.UserClosed();
  EXPECT_FALSE(d.Visible());
  EXPECT_EQ(t.text, "show;find;close;");
  ASSERT_EQ(scripted.Log.size(), 3u);
  EXPECT_EQ(scripted.Log[0].kind, "find");
  EXPECT_EQ(scripted.Log[0].text, "abc");
  EXPECT_EQ(scripted.Log[2].kind, "close");

  // Closed by its user this time.
  EXPECT_TRUE(d.Execute());
  d.UserClosed();
  EXPECT_EQ(t.text, "show;find;close;show;close;");
  EXPECT_EQ(scripted.Log.size(), 4u);  // the user's close is no request of the program
}

TEST(ReplaceDialog, ReplaceSetsItsFlagsAndAFreedDialogTakesItsWindowAlong) {
  TScriptedDialogs scripted;
  TDialogServiceScope scope(&scripted);
  TTrace t;
  {
    TReplaceDialog d(nullptr);
    traceCommon(d, t);
    d.OnFind = TNotifyEvent(&noteThunk<kFind>, &t);
    d.OnReplace = TNotifyEvent(&noteThunk<kReplace>, &t);
    scripted.OnFindDialog = [](TFindDialog& dialog) {
      EXPECT_TRUE(dialog.IsReplaceDialog());
      return true;
    };
    EXPECT_TRUE(d.Execute());
    d.Replace("a", "b", TFindOptions{frFindNext, frWholeWord}, false);
    EXPECT_EQ(d.FindText() + d.ReplaceText(), "ab");
    EXPECT_EQ(d.Options().bits, (TFindOptions{frWholeWord, frReplace}.bits));
    d.Replace("a", "c", d.Options(), true);
    EXPECT_EQ(d.Options().bits, (TFindOptions{frWholeWord, frReplaceAll}.bits));
    d.Find("a", d.Options());
    EXPECT_EQ(d.Options().bits, (TFindOptions{frWholeWord, frFindNext}.bits));
  }
  EXPECT_EQ(t.text, "show;replace;replace;find;");  // no OnClose from a dialog being freed
  ASSERT_EQ(scripted.Log.size(), 2u);
  EXPECT_EQ(scripted.Log[0].kind, "replace");
  EXPECT_EQ(scripted.Log[1].kind, "close");
}

}  // namespace
}  // namespace fw
