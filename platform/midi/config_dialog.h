// The music player's settings dialog: the volume and the SoundFont, applied when it closes with OK.
// A small form of ours, read from its form description like every window of the program.
#pragma once

#include <cstdint>

#include "platform/fw/button.h"
#include "platform/fw/edit.h"
#include "platform/fw/form.h"
#include "platform/midi/player.h"

namespace midi {

class TMusicSettingsForm : public fw::TForm {
  RT_CLASS(TMusicSettingsForm)
 public:
  // The edits start from the player's settings.
  TMusicSettingsForm(fw::TComponent* owner, Player& player);

  fw::TEdit* VolumeEdit = nullptr;
  fw::TEdit* SoundFontEdit = nullptr;
  fw::TButton* OkButton = nullptr;
  fw::TButton* CancelButton = nullptr;

  // Gives the player what the edits say: the volume (a number, held to 0..100; anything else keeps
  // the old one) and, when it changed, the SoundFont.
  void Apply();

 private:
  Player& player_;
};

// Shows the dialog modally and applies it when closed with OK (the music player's configuration
// call, installed with setConfigDialog).
void ShowConfigDialog(Player& player, intptr_t window);

}  // namespace midi
