#include "platform/qt/host.h"

#include <QApplication>
#include <QScreen>

#include "platform/fw/cursor.h"
#include "platform/fw/dialogs.h"
#include "platform/fw/file_dialogs.h"
#include "platform/fw/keys.h"
#include "platform/fw/registration.h"
#include "platform/fw/services.h"
#include "platform/qt/bar_peers.h"
#include "platform/qt/choice_peers.h"
#include "platform/qt/list_peers.h"
#include "platform/qt/menus.h"
#include "platform/qt/list_view_peer.h"
#include "platform/qt/tree_view_widget.h"
#include "platform/qt/clipboard.h"
#include "platform/qt/controls.h"
#include "platform/qt/drag_drop.h"
#include "platform/qt/file_dialogs.h"
#include "platform/qt/peer.h"
#include "platform/qt/services.h"
#include "platform/qt/tool_peers.h"
#include "platform/qt/x11_key_state.h"
#include "support/file_system.h"

namespace qtfw {

namespace {

// Deletes that are not silent (a script emptying a folder) ask first, as the desktop would.
bool ConfirmDelete(intptr_t, const std::vector<std::string>& paths, bool toTrash) {
  std::string what = paths.size() == 1 ? "\"" + paths.front() + "\"" : std::to_string(paths.size()) + " items";
  std::string text = toTrash ? "Move " + what + " to the trash?" : "Delete " + what + " for good?";
  return fw::MessageDlg(text, fw::mtConfirmation, {fw::mbYes, fw::mbNo}, 0) == fw::mrYes;
}

}  // namespace

struct TQtHost::Impl {
  std::unique_ptr<QApplication> app;
  TQtMessagePump pump;
  TQtTimerService timers;
  TQtPeerFactory peers;
  TQtDialogService dialogs;
  TQtFileDialogs fileDialogs;
  TQtPopupMenuService popups;
  TKeyStateFilter keys;
  TQtDragDropService drops;
  // The X server's key state, connected to at the first question.
  std::unique_ptr<TX11KeyState> x11Keys;
  bool x11Asked = false;

  std::optional<bool> LiveKey(int virtualKey) {
    if (!x11Asked) {
      x11Asked = true;
      x11Keys = TX11KeyState::Open();
    }
    return x11Keys ? x11Keys->IsDown(virtualKey) : std::nullopt;
  }
};

TQtHost::TQtHost(int& argc, char** argv) : impl_(new Impl) {
  if (!QCoreApplication::instance()) impl_->app = std::make_unique<QApplication>(argc, argv);
  QCoreApplication::instance()->installEventFilter(&impl_->keys);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect r = screen->geometry();
    fw::SetScreenMetrics({r.width(), r.height()});
  }
  fw::RegisterFrameworkClasses();
  RegisterStandardPeers();
  RegisterChoicePeers();
  RegisterListPeers();
  RegisterBarPeers();
  RegisterListViewPeer();
  RegisterToolPeers();
  RegisterTreePeers();
  fw::SetClipboardService(std::make_shared<TQtClipboard>());
  fw::SetMessagePump(&impl_->pump);
  fw::SetTimerService(&impl_->timers);
  fw::SetPeerFactory(&impl_->peers);
  fw::SetDialogService(&impl_->dialogs);
  fw::SetDragDropService(&impl_->drops);
  fw::SetFileDialogService(&impl_->fileDialogs);
  fw::SetPopupMenuService(&impl_->popups);
  InstallCursorSource();
  // On X11 the keys held now are the server's, whichever window has the keyboard; elsewhere
  // (offscreen, Wayland) the table the event filter keeps is all there is.
  if (QGuiApplication::platformName() == QLatin1String("xcb"))
    fw::SetLiveKeySource([impl = impl_.get()](int virtualKey) { return impl->LiveKey(virtualKey); });
  support::SetShellDeleteConfirm(&ConfirmDelete);
}

TQtHost::~TQtHost() {
  support::SetShellDeleteConfirm(nullptr);
  fw::SetLiveKeySource(nullptr);
  fw::SetCursorSource(nullptr);
  fw::SetPopupMenuService(nullptr);
  fw::SetFileDialogService(nullptr);
  fw::SetDragDropService(nullptr);
  fw::SetDialogService(nullptr);
  fw::SetClipboardService(nullptr);
  fw::SetPeerFactory(nullptr);
  fw::SetTimerService(nullptr);
  fw::SetMessagePump(nullptr);
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(&impl_->keys);
}

}  // namespace qtfw
