#include "platform/midi/config_dialog.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include "platform/fw/application.h"
#include "platform/fw/dialogs.h"
#include "platform/audio/output.h"
#include "platform/midi/ggs.h"

namespace {

class ConfigDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "midi_config_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) app = new QGuiApplication(argc, argv);  // fonts for the form
  }
  static void TearDownTestSuite() {
    fw::DestroyApplication();  // the forms' fonts go before the font system does
    delete app;
    app = nullptr;
  }
  static QGuiApplication* app;
  audio::Mixer mixer;
  midi::Player player{mixer};
  fw::TScriptedDialogs dialogs;
  fw::TDialogServiceScope scope{&dialogs};
};
QGuiApplication* ConfigDialogTest::app = nullptr;

TEST_F(ConfigDialogTest, OkAppliesTheVolumeAndTheSoundFont) {
  player.setVolume(40);
  dialogs.OnModal = [](fw::TCustomForm& form) {
    auto& f = dynamic_cast<midi::TMusicSettingsForm&>(form);
    EXPECT_EQ(f.Caption(), "音楽の設定");
    EXPECT_EQ(f.VolumeEdit->Text(), "40");
    f.VolumeEdit->SetText("75");
    f.SoundFontEdit->SetText("/nonexistent.sf2");
    return fw::mrOk;
  };
  midi::ShowConfigDialog(player, 0);
  EXPECT_EQ(player.volume(), 75);
  EXPECT_EQ(player.soundFont(), "/nonexistent.sf2");
  EXPECT_FALSE(player.ready());
  ASSERT_EQ(dialogs.Log.size(), 1u);
  EXPECT_EQ(dialogs.Log[0].kind, "modal");
}

TEST_F(ConfigDialogTest, CancelOrNonsenseChangesNothing) {
  player.setVolume(40);
  dialogs.OnModal = [](fw::TCustomForm& form) {
    dynamic_cast<midi::TMusicSettingsForm&>(form).VolumeEdit->SetText("0");
    return fw::mrCancel;
  };
  midi::ShowConfigDialog(player, 0);
  EXPECT_EQ(player.volume(), 40);
  dialogs.OnModal = [](fw::TCustomForm& form) {
    dynamic_cast<midi::TMusicSettingsForm&>(form).VolumeEdit->SetText("loud");
    return fw::mrOk;
  };
  midi::ShowConfigDialog(player, 0);
  EXPECT_EQ(player.volume(), 40);
}

// The game reaches the dialog through the music player's configuration call.
TEST_F(ConfigDialogTest, TheConfigurationCallShowsIt) {
  audio::Output::instance().startPulled();
  midi::setConfigDialog(midi::ShowConfigDialog);
  dialogs.OnModal = [](fw::TCustomForm&) { return fw::mrCancel; };
  EXPECT_EQ(midi::GGSConfigDlg(0), midi::kGGSOk);
  EXPECT_EQ(dialogs.Log.size(), 1u);
  midi::setConfigDialog(nullptr);
  midi::GGSFree();
}

}  // namespace
