// mirufen: the game. The program block: the application with its title "霧の灯台", the window, and
// the message loop.
#include <string>

#include "game/main_form.h"
#include "platform/fw/application.h"
#include "platform/midi/config_dialog.h"
#include "platform/midi/ggs.h"
#include "platform/qt/host.h"
#include "script/host/dialogs/form_host_ui.h"

int main(int argc, char** argv) {
  qtfw::TQtHost host(argc, argv);
  game::TForm1::FirstArgument() = argc > 1 ? argv[1] : "";
  midi::setConfigDialog(midi::ShowConfigDialog);
  hostdlg::InstallFormHostUI();  // the ranking script's dialogs are windows too

  fw::TApplication* application = fw::Application();
  application->Initialize();
  application->SetTitle("霧の灯台");
  game::TForm1* Form1 = nullptr;
  try {
    application->CreateForm(Form1);
  } catch (...) {
    // A start-up that failed halfway (a data file that cannot be read) is reported, and the
    // window still opens with what could be made.
    application->HandleException(application);
    if (Form1 && !application->MainForm()) application->SetMainForm(Form1);
  }
  application->Run();
  fw::DestroyApplication();
  return 0;
}
